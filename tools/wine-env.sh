# Sourced by the build scripts: a throwaway Wine prefix inside the build folder (32-bit, or 64-bit
# where the machine runs no 32-bit code: tools/target-arch.sh), the Dutch locale, quiet Wine.
#   usage: source tools/wine-env.sh <prefix-folder>
bran_prefix=$(realpath -m "$1")
export WINEPREFIX="$bran_prefix"
if [ "$(bash "$(dirname "${BASH_SOURCE[0]}")/target-arch.sh")" = i686 ]; then
  export WINEARCH=win32
else
  # A machine that runs no 32-bit code: a 64-bit prefix, and "wine" (also as Debian's "wine-stable",
  # which wineboot and winepath call) is the 64-bit loader, which needs no 32-bit half.
  export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
  bran_wine_bin="$bran_prefix-bin"
  mkdir -p "$bran_wine_bin"
  for bran_name in wine wine-stable; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' > "$bran_wine_bin/$bran_name"
    chmod +x "$bran_wine_bin/$bran_name"
  done
  case ":$PATH:" in *":$bran_wine_bin:"*) ;; *) export PATH="$bran_wine_bin:$PATH" ;; esac
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=nl_NL.UTF-8
unset LC_ALL
# A prefix made for the other architecture cannot be reused.
if [ -f "$WINEPREFIX/system.reg" ] && ! grep -q "^#arch=$WINEARCH" "$WINEPREFIX/system.reg"; then
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
fi
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
