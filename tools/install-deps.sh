#!/usr/bin/env bash
# Installs the cross toolchain, Wine, Xvfb and the independent checkers the tests use. Wine's TLS
# (Schannel) needs GnuTLS of Wine's own architecture, which Wine only recommends; openssl makes the
# certificates of the mail checks.
# Idempotent: does nothing when everything is already there.
# A mirror in mid-sync is survived: a failing index is retried and then done without, and an
# install that wants versions the incomplete indexes lack is tried again with the release's own.
set -euo pipefail

packages=(g++-mingw-w64-i686-posix libz-mingw-w64-dev googletest cmake make ccache
          wine wine64 xvfb xauth imagemagick x11-utils unzip zip python3 unrtf file openssl osslsigncode
          binutils-mingw-w64-i686 fonts-dejavu-core fonts-wine locales)
# The tests run 32-bit where the machine can, else built for 64-bit Windows (tools/target-arch.sh).
if [ "$(bash "$(dirname "$0")/target-arch.sh")" = i686 ]; then
  packages+=(wine32:i386 libgnutls30:i386)
else
  packages+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libgnutls30)
fi

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

# apt-get update, a few times with a pause when an index fails (a mirror syncing answers with files
# of the wrong size for a minute or two); then on with the indexes it has.
update_indexes() {
  local attempt log
  log=$(mktemp)
  for attempt in 1 2 3 4; do
    if $SUDO apt-get update -qq >"$log" 2>&1; then rm -f "$log"; return 0; fi
    [ "$attempt" -lt 4 ] && sleep $((attempt * 10))
  done
  echo "install-deps: apt-get update failed on an index ($(grep -m1 -o 'http[^ ]*' "$log" || echo 'see apt-get update')); going on with the indexes it has"
  rm -f "$log"
}

# Names the packages apt cannot install, each asked on its own.
unavailable_packages() {
  local p
  for p in "$@"; do
    $SUDO apt-get install -s -qq --no-install-recommends "$p" >/dev/null 2>&1 || printf ' %s' "$p"
  done
}

install_packages() {
  local release
  $SUDO apt-get install -y -qq --no-install-recommends "$@" >/dev/null && return 0
  # An index that could not be fetched (often the 32-bit security one) leaves the two architectures
  # at different versions; the release's own versions are the same for both.
  release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  if [ -n "$release" ]; then
    echo "install-deps: install failed; trying again with the versions of $release itself"
    $SUDO apt-get install -y -qq --no-install-recommends -t "$release" "$@" >/dev/null && return 0
  fi
  local names
  names=$(unavailable_packages "$@")
  echo "install-deps: cannot install:${names:- these packages together: $*}" >&2
  return 1
}

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if [ ${#missing[@]} -eq 0 ]; then ensure_locale; exit 0; fi

export DEBIAN_FRONTEND=noninteractive
if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
update_indexes
install_packages "${missing[@]}"
ensure_locale
