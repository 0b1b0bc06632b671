#!/usr/bin/env bash
# Every layer includes only headers of the layers below it:
#   core < platform < platform/gui < lib < Source (the program); mail stands on core and platform.
# Inside the program, each room of Source/Common includes only its own and lower rooms:
#   TechInfo < Catalogue < Helpdesk < Internet < Shell (Source/BranService.cpp stands above them all).
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
      if (path ~ /^Source\/Common\/TechInfo\//) return "techinfo"
      if (path ~ /^Source\/Common\/Catalogue\//) return "catalogue"
      if (path ~ /^Source\/Common\/Helpdesk\//) return "helpdesk"
      if (path ~ /^Source\/Common\/Internet\//) return "internet"
      if (path ~ /^Source\/Common\/Shell\//) return "shell"
      if (path ~ /^Source\/Common\//) return "unroomed"
      if (path ~ /^Source\//) return "program"
      return ""
    }
    BEGIN {
      may["core"] = " core "
      may["platform"] = " core platform "
      may["gui"] = " core platform gui "
      may["lib"] = " core platform gui lib "
      may["mail"] = " core platform mail "
      below = " core platform gui lib mail"
      may["techinfo"] = below " techinfo "
      may["catalogue"] = below " techinfo catalogue "
      may["helpdesk"] = below " techinfo catalogue helpdesk "
      may["internet"] = below " techinfo catalogue helpdesk internet "
      may["shell"] = below " techinfo catalogue helpdesk internet shell "
      may["program"] = below " techinfo catalogue helpdesk internet shell "
      may["unroomed"] = may["program"]
      bad = 0
    }
    FNR == 1 && layer(FILENAME) == "unroomed" {
      printf "not in a room: %s (Source/Common/<room>/ holds every module)\n", FILENAME
      bad = 1
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
