#!/usr/bin/env bash
# Which Windows the tests build for: "i686" (the program's own, 32-bit) where this machine runs
# 32-bit x86 code, else "x86_64". Some virtual machines run 64-bit user code only; there 32-bit Wine
# cannot start, and the tests run the same sources built for 64-bit Windows under 64-bit Wine (the
# program itself is still built and checked as 32-bit). BRAN_ARCH=i686 or x86_64 overrides.
#   usage: tools/target-arch.sh
set -euo pipefail
if [ -n "${BRAN_ARCH:-}" ]; then echo "$BRAN_ARCH"; exit 0; fi
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
# The smallest 32-bit Linux program: exit(0) through int 0x80.
printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' > "$probe"
chmod +x "$probe"
if "$probe" 2>/dev/null; then echo i686; else echo x86_64; fi
