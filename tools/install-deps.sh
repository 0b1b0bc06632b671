#!/usr/bin/env bash
# Installs the cross toolchain, Wine, Xvfb and the independent checkers the tests use.
# Idempotent: does nothing when everything is already there.
set -euo pipefail

packages=(g++-mingw-w64-i686-posix libz-mingw-w64-dev googletest cmake make
          wine wine32:i386 wine64 xvfb xauth imagemagick x11-utils unzip zip python3 unrtf file
          binutils-mingw-w64-i686 fonts-dejavu-core fonts-wine locales)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

ensure_locale() {
  # Wine takes the user's locale from LANG; the tests run with the Dutch one.
  locale -a 2>/dev/null | grep -qi '^nl_NL.utf-\?8$' && return 0
  $SUDO sed -i 's/^# *nl_NL.UTF-8 UTF-8/nl_NL.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^nl_NL.UTF-8 UTF-8' /etc/locale.gen || echo 'nl_NL.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
}

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if [ ${#missing[@]} -eq 0 ]; then ensure_locale; exit 0; fi

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
ensure_locale
