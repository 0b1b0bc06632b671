# Sourced by the build scripts: a throwaway 32-bit Wine prefix inside the build folder, the Dutch
# locale, quiet Wine.  usage: source tools/wine-env.sh <prefix-folder>
bran_prefix=$(realpath -m "$1")
export WINEPREFIX="$bran_prefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=nl_NL.UTF-8
unset LC_ALL
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 </dev/null || true
  wineserver -w
fi

# Wine draws caption buttons with Marlett and dialogs in Tahoma; it finds them reliably only in the
# prefix's own font folder.
if [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ] && [ -d /usr/share/wine/fonts ]; then
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi
