#!/usr/bin/env bash
# Every layer includes only headers of the layers below it:
#   core < platform < platform/gui < lib < Source (the program); mail stands on core and platform.
# Usage: layers.sh [build-folder] [source-tree]  (the build folder is ignored; the tree defaults to ours)
set -uo pipefail
tree=${2:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$tree" || exit 2

find core platform lib mail Source \( -name '*.h' -o -name '*.cpp' -o -name '*.c' \) -print0 2>/dev/null |
  xargs -0 awk '
    function layer(path) {
      if (path ~ /^core\//) return "core"
      if (path ~ /^platform\/gui\//) return "gui"
      if (path ~ /^platform\//) return "platform"
      if (path ~ /^lib\//) return "lib"
      if (path ~ /^mail\//) return "mail"
      if (path ~ /^Source\//) return "program"
      return ""
    }
    BEGIN {
      may["core"] = " core "
      may["platform"] = " core platform "
      may["gui"] = " core platform gui "
      may["lib"] = " core platform gui lib "
      may["mail"] = " core platform mail "
      may["program"] = " core platform gui lib mail program "
      bad = 0
    }
    /^[ \t]*#[ \t]*include[ \t]*"/ {
      inc = $0
      sub(/^[^"]*"/, "", inc); sub(/".*$/, "", inc)
      from = layer(FILENAME); to = layer(inc)
      if (to != "" && index(may[from], " " to " ") == 0) {
        printf "upward include: %s (%s) includes %s (%s)\n", FILENAME, from, inc, to
        bad = 1
      }
    }
    END {
      if (!bad) print "layers: every include points downward"
      exit bad
    }'
