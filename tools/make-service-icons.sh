#!/usr/bin/env bash
# Draws the service icons and the three view-button glyphs into resources/services/, the
# technical-information glyphs into resources/techinfo/. Each .ico holds the picture at the sizes the
# common screen densities ask for (96, 120, 144 and 192 pixels per inch): large icons 32, 40, 48 and
# 64, small icons and glyphs 16, 20, 24 and 32; the program loads the size of its screen. Run by hand when a picture should change; the results are committed.
#   usage: tools/make-service-icons.sh [output-folder]
#
# Same style as the lifebuoy of tools/make-icon.sh: flat fills from one small palette, a dark grey
# outline (1.5 pixels at 32, 1 pixel at 16), no shading. Each picture is drawn twice: once on a 32-unit
# grid and once, simplified rather than shrunk, on a 16-unit grid. Both are drawn at 8x and scaled
# down by averaging, which gives smooth edges while lines on half-unit positions stay sharp.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-resources/services}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

ink='#4a4a4a'     # outlines and dark details
paper='#f7f7f7'   # white surfaces
red='#d42a1e'     # the lifebuoy's red: accents
blue='#2f6db5'    # globe, book, title bars
sky='#a9cff0'     # lines on blue
green='#3a9a3a'   # arrows that bring something new
yellow='#f2c230'  # wood, pencils, bubbles
steel='#b4bcc6'   # metal parts
line='#9a9a9a'    # lines of text
brown='#b07a3c'   # the clipboard

L="stroke '$ink' stroke-width 1.5"  # outline at 32
S="stroke '$ink' stroke-width 1"    # outline at 16

# render <size> <grid> <mvg> <png>: draws the MVG (in units of one pixel of a <grid>-pixel picture, 0,0
# being the top left corner of the top left pixel) at 8x of <size> and averages it down. The drawing
# engine centres pixels on whole coordinates, hence the shift by half a fine pixel.
render() {
  local s=$1 big=$(($1 * 8)) zoom=$((8 * $1 / $2))
  convert -size ${big}x${big} xc:none -draw "translate -0.5,-0.5 scale $zoom,$zoom $3" -scale "${s}x${s}" -channel A -black-threshold 6% +channel "$4"
}

# icon <name> <mvg at 32> <mvg at 16>: the 32-unit drawing gives the large sizes and the 32-pixel
# small icon of 192 pixels per inch; the simplified 16-unit drawing the smaller small icons.
icon() {
  local s files=()
  for s in 64 48 40 32; do render $s 32 "$2" "$tmp/$s.png"; files+=("$tmp/$s.png"); done
  for s in 24 20 16; do render $s 16 "$3" "$tmp/$s.png"; files+=("$tmp/$s.png"); done
  convert "${files[@]}" "$out/$1.ico"
}

# glyph <name> <mvg at 16>
glyph() {
  local s files=()
  for s in 32 24 20 16; do render $s 16 "$2" "$tmp/$s.png"; files+=("$tmp/$s.png"); done
  convert "${files[@]}" "$out/$1.ico"
}

# Pixel-exact lettering at 16, where a font only blurs. pixels <x> <y> <colour> <row>...: one
# rectangle per '#' of each row, the rows going down from x,y.
pixels() {
  local x=$1 y=$2 colour=$3 row i
  shift 3
  printf "fill '%s' stroke none" "$colour"
  for row in "$@"; do
    for ((i = 0; i < ${#row}; i++)); do
      [ "${row:i:1}" = '#' ] && printf ' rectangle %s,%s %s,%s' $((x + i)) "$y" $((x + i + 1)) $((y + 1))
    done
    y=$((y + 1))
  done
  echo
}

# A globe of meridians and parallels. globe32/globe16 <cx> <cy> <r>
globe32() {
  local cx=$1 cy=$2 r=$3
  echo "fill '$blue' stroke none circle $cx,$cy $cx,$(echo "$cy - $r" | bc)
        fill none stroke '$sky' stroke-width 1
        ellipse $cx,$cy $(echo "$r * 0.45" | bc),$r 0,360
        line $(echo "$cx - $r" | bc),$cy $(echo "$cx + $r" | bc),$cy
        line $(echo "$cx - $r * 0.82" | bc),$(echo "$cy - $r * 0.5" | bc) $(echo "$cx + $r * 0.82" | bc),$(echo "$cy - $r * 0.5" | bc)
        line $(echo "$cx - $r * 0.82" | bc),$(echo "$cy + $r * 0.5" | bc) $(echo "$cx + $r * 0.82" | bc),$(echo "$cy + $r * 0.5" | bc)
        line $cx,$(echo "$cy - $r" | bc) $cx,$(echo "$cy + $r" | bc)
        fill none $L circle $cx,$cy $cx,$(echo "$cy - $r" | bc)"
}
globe16() {
  local cx=$1 cy=$2 r=$3
  echo "fill '$blue' stroke none circle $cx,$cy $cx,$(echo "$cy - $r" | bc)
        fill none stroke '$sky' stroke-width 1
        ellipse $cx,$cy $(echo "$r * 0.42" | bc),$r 0,360
        line $(echo "$cx - $r" | bc),$cy $(echo "$cx + $r" | bc),$cy
        fill none $S circle $cx,$cy $cx,$(echo "$cy - $r" | bc)"
}

# 0: problem solver, a wrench.
wrench='path "M -2.5,13 L -2.5,-2 A 6.5,6.5 0 0,1 -2.5,-14 L -2.5,-9 L 2.5,-9 L 2.5,-14
              A 6.5,6.5 0 0,1 2.5,-2 L 2.5,13 A 2.5,2.5 0 0,1 -2.5,13 Z"'
icon problem-solver \
  "push graphic-context translate 16,16 rotate 45 scale 1,1
     fill '$steel' $L $wrench
     fill '$ink' stroke none circle 0,10 0,11.2
   pop graphic-context" \
  "push graphic-context translate 8,8 rotate 45
     fill '$steel' $S path 'M -1.5,6.9 L -1.5,-0.08 A 4.1,4.1 0 0,1 -1.5,-7.72 L -1.5,-4.1 L 1.5,-4.1
                            L 1.5,-7.72 A 4.1,4.1 0 0,1 1.5,-0.08 L 1.5,6.9 A 1.5,1.5 0 0,1 -1.5,6.9 Z'
   pop graphic-context"

# 1: the maker's home page, a globe with a house.
icon homepage \
  "$(globe32 13.5 13.5 11.25)
   fill '$paper' $L rectangle 18.75,20.75 28.75,30.25
   fill '$red' $L polygon 16,21.5 23.75,13.75 31.25,21.5
   fill '$blue' stroke none rectangle 22,24 25.5,30" \
  "$(globe16 6.5 6.5 5.5)
   fill '$paper' $S rectangle 9.5,10.5 14.5,15.5
   fill '$red' $S polygon 7.5,11 12,6.5 16.5,11
   fill '$blue' stroke none rectangle 11,12 13,15"

# 2: the online helpdesk, a globe with a question in a speech bubble.
icon helpdesk-online \
  "$(globe32 13.5 13.5 11.25)
   fill '$paper' $L path 'M 17,15.75 L 29,15.75 Q 30.25,15.75 30.25,17 L 30.25,25 Q 30.25,26.25 29,26.25
                          L 22,26.25 L 18.5,30 L 19,26.25 L 17,26.25 Q 15.75,26.25 15.75,25 L 15.75,17 Q 15.75,15.75 17,15.75 Z'
   fill '$red' stroke none font DejaVu-Sans-Bold font-size 11 text-anchor middle text 23,25 '?'" \
  "$(globe16 6 6 5.5)
   fill '$paper' $S path 'M 6.5,5.5 L 15.5,5.5 L 15.5,12.5 L 11.5,12.5 L 8.5,15.5 L 8.5,12.5 L 6.5,12.5 Z'
   $(pixels 8 6 "$red" .####. '##..##' ...##. ..##.. ...... ..##..)"

# 3: the online shop, a shopping cart with goods.
icon shop \
  "fill '$red' $L rectangle 9.75,8.75 16.25,15.25
   fill '$yellow' $L rectangle 16.25,6.75 23.25,15.25
   fill none stroke '$ink' stroke-width 2 stroke-linecap round stroke-linejoin round
     polyline 1.5,4 5.5,4 9.5,21 26,21
   fill '$paper' $L polygon 6.75,11.75 29.25,11.75 27,19.25 8.5,19.25
   stroke '$line' stroke-width 1 line 12,12.5 12.5,18.5 line 17.75,12.5 17.75,18.5 line 23.5,12.5 23,18.5
   fill '$ink' stroke none circle 11.5,26 11.5,23.5 circle 24.5,26 24.5,23.5" \
  "fill '$red' $S rectangle 5.5,3.5 8.5,6.5
   fill '$yellow' $S rectangle 8.5,2.5 11.5,6.5
   fill none stroke '$ink' stroke-width 1.25 stroke-linecap round stroke-linejoin round
     polyline 0.75,1.75 2.75,1.75 4.75,10.5 13,10.5
   fill '$paper' $S polygon 3.5,5.5 14.5,5.5 13.5,9.5 4.5,9.5
   fill '$ink' stroke none circle 5.5,13 5.5,11.5 circle 12.5,13 12.5,11.5"

# 4: an update, a green arrow coming down into a tray.
icon update \
  "fill '$steel' $L path 'M 2.75,19.75 L 8.75,19.75 L 8.75,24.75 L 23.25,24.75 L 23.25,19.75 L 29.25,19.75 L 29.25,29.25 L 2.75,29.25 Z'
   fill '$green' $L polygon 12.75,1.75 19.25,1.75 19.25,11.75 24.75,11.75 16,22.25 7.25,11.75 12.75,11.75" \
  "fill '$steel' $S path 'M 0.5,9.5 L 3.5,9.5 L 3.5,12.5 L 12.5,12.5 L 12.5,9.5 L 15.5,9.5 L 15.5,15.5 L 0.5,15.5 Z'
   fill '$green' $S polygon 5.5,0.5 10.5,0.5 10.5,5.5 13.5,5.5 8,11.5 2.5,5.5 5.5,5.5"

# 5: change of address, an address card with a house and a pencil.
icon address-change \
  "fill '$paper' $L rectangle 1.75,5.75 27.25,25.25
   fill '$paper' $L rectangle 5.5,15 12.5,21.5
   fill '$red' $L polygon 3.75,15.5 9,10.25 14.25,15.5
   stroke '$line' stroke-width 1.5 line 16,11 24,11 line 16,15 24,15 line 16,19 21,19
   push graphic-context translate 24,22 rotate 45
     fill '$yellow' $L rectangle -2.25,-10 2.25,5
     fill '$red' $L rectangle -2.25,-12.5 2.25,-10
     fill '$paper' $L polygon -2.25,5 2.25,5 0,9.5
   pop graphic-context" \
  "fill '$paper' $S rectangle 0.5,2.5 15.5,13.5
   fill '$paper' $S rectangle 2.5,8.5 7.5,11.5
   fill '$red' $S polygon 1.5,8.5 5,5 8.5,8.5
   stroke '$ink' stroke-width 1 line 10,6.5 14,6.5 line 10,9.5 14,9.5"

# 6: e-mail news, a newspaper coming out of an envelope.
icon enews \
  "fill '$paper' $L rectangle 6.75,2.75 25.25,22
   fill '$red' stroke none rectangle 9,5 23,8.5
   stroke '$line' stroke-width 1.5 line 9,11.5 23,11.5 line 9,14.5 23,14.5
   fill '$paper' $L path 'M 1.75,13.75 L 16,22.5 L 30.25,13.75 L 30.25,29.25 L 1.75,29.25 Z'
   fill none $L polyline 1.75,29.25 13,20.5 line 30.25,29.25 19,20.5" \
  "fill '$paper' $S rectangle 3.5,0.5 12.5,10
   fill '$red' stroke none rectangle 5,2 11,4
   stroke '$line' stroke-width 1 line 5,5.5 11,5.5
   fill '$paper' $S path 'M 0.5,6.5 L 8,11 L 15.5,6.5 L 15.5,14.5 L 0.5,14.5 Z'
   fill none $S line 0.5,14.5 6,10 line 15.5,14.5 10,10"

# 7: help file, a blue book with a question mark.
icon helpfile \
  "fill '$paper' $L rectangle 7.75,4.75 27.25,29.25
   stroke '$line' stroke-width 1 line 25.5,7 25.5,27 line 23.5,7 23.5,27
   fill '$blue' $L path 'M 4.75,4.75 L 23.75,1.75 L 23.75,26.25 L 4.75,29.25 Z'
   fill none stroke '$sky' stroke-width 1 line 7.5,5 7.5,27.5
   fill '$paper' stroke none font DejaVu-Sans-Bold font-size 17 text 9.3,22 '?'" \
  "fill '$paper' $S rectangle 3.5,1.5 14.5,15.5
   fill '$blue' $S path 'M 1.5,2.5 L 12.5,0.5 L 12.5,13.5 L 1.5,15.5 Z'
   $(pixels 4 3 "$paper" .####. '##..##' ....## ...##. ..##.. ..##.. ...... ..##..)"

# 8: readme, a page of text with a folded corner.
icon readme \
  "fill '$paper' $L path 'M 5.75,1.75 L 19.75,1.75 L 26.25,8.25 L 26.25,30.25 L 5.75,30.25 Z'
   fill '$steel' $L polygon 19.75,1.75 19.75,8.25 26.25,8.25
   stroke '$blue' stroke-width 2 line 9,6.5 17,6.5
   stroke '$line' stroke-width 1.5 line 9,11.5 23,11.5 line 9,15.5 23,15.5 line 9,19.5 23,19.5 line 9,23.5 23,23.5 line 9,27 18,27" \
  "fill '$paper' $S path 'M 2.5,0.5 L 10.5,0.5 L 13.5,3.5 L 13.5,15.5 L 2.5,15.5 Z'
   fill '$steel' $S polygon 10.5,0.5 10.5,3.5 13.5,3.5
   stroke '$blue' stroke-width 1 line 4,3 9,3
   stroke '$line' stroke-width 1 line 4,6 12,6 line 4,8.5 12,8.5 line 4,11 12,11 line 4,13.5 10,13.5"

# 9: uninstall, a program window struck out in red.
xmark32="fill '$red' $L circle 22.5,22.5 22.5,15.5
         stroke '$paper' stroke-width 2.5 stroke-linecap round line 19.5,19.5 25.5,25.5 line 25.5,19.5 19.5,25.5"
icon uninstall \
  "fill '$paper' $L rectangle 1.75,3.75 27.25,24.25
   fill '$blue' $L rectangle 1.75,3.75 27.25,9.25
   stroke '$line' stroke-width 1.5 line 5,13.5 18,13.5 line 5,17.5 14,17.5
   $xmark32" \
  "fill '$paper' $S rectangle 0.5,1.5 13.5,12.5
   fill '$blue' $S rectangle 0.5,1.5 13.5,4.5
   fill '$red' $S circle 11.5,11.5 11.5,7
   stroke '$paper' stroke-width 1.5 line 9.75,9.75 13.25,13.25 line 13.25,9.75 9.75,13.25"

# 10: helpdesk report, a report on a clipboard with the lifebuoy.
buoy() { # <cx> <cy> <r> <stroke-width>
  local cx=$1 cy=$2 r=$3 w=$4
  echo "fill '$paper' stroke '$ink' stroke-width $w circle $cx,$cy $(echo "$cx + $r" | bc),$cy
        fill none stroke '$red' stroke-width $(echo "$r * 0.55" | bc) stroke-dasharray $(echo "$r * 0.55 * 0.785" | bc),$(echo "$r * 0.55 * 0.785" | bc)
        circle $cx,$cy $(echo "$cx + $r * 0.62" | bc),$cy
        stroke-dasharray none fill '$paper' stroke '$ink' stroke-width $w circle $cx,$cy $(echo "$cx + $r * 0.35" | bc),$cy
        fill none circle $cx,$cy $(echo "$cx + $r" | bc),$cy"
}
icon helpdesk-report \
  "fill '$brown' $L roundrectangle 3.75,3.75 24.25,30.25 2,2
   fill '$paper' $L rectangle 6.75,7.75 21.25,27.25
   fill '$steel' $L roundrectangle 9.75,1.75 18.25,6.25 1,1
   stroke '$line' stroke-width 1.5 line 9,12 19,12 line 9,16 19,16 line 9,20 15,20
   $(buoy 23.5 23.5 7.25 1.5)" \
  "fill '$brown' $S rectangle 0.5,1.5 11.5,15.5
   fill '$paper' stroke none rectangle 2,3 10,14
   fill '$steel' $S rectangle 3.5,0.5 8.5,2.5
   stroke '$ink' stroke-width 1 line 3,5.5 9,5.5 line 3,7.5 9,7.5 line 3,9.5 6,9.5
   $(buoy 11.5 11.5 4 1)"

# The view buttons: large icons, list, details.
glyph view-large-icons \
  "fill '$blue' $S rectangle 1.5,1.5 6.5,6.5 rectangle 9.5,1.5 14.5,6.5 rectangle 1.5,9.5 6.5,14.5 rectangle 9.5,9.5 14.5,14.5"
glyph view-list \
  "fill '$blue' stroke none rectangle 1,2 4,5 rectangle 1,7 4,10 rectangle 1,12 4,15
                            rectangle 9,2 12,5 rectangle 9,7 12,10
   stroke '$ink' stroke-width 1 line 5,3.5 8,3.5 line 5,8.5 8,8.5 line 5,13.5 8,13.5 line 13,3.5 15,3.5 line 13,8.5 15,8.5"
glyph view-details \
  "fill '$steel' $S rectangle 0.5,0.5 15.5,3.5 line 9.5,0.5 9.5,3.5
   fill '$blue' stroke none rectangle 1,5 3,7 rectangle 1,9 3,11 rectangle 1,13 3,15
   stroke '$ink' stroke-width 1 line 4,6.5 9,6.5 line 4,10.5 9,10.5 line 4,14.5 9,14.5
   line 11,6.5 15,6.5 line 11,10.5 15,10.5 line 11,14.5 14,14.5"

# The technical-information categories (16 x 16), by image index, into resources/techinfo/.
out=resources/techinfo
mkdir -p "$out"
glyph techinfo-00-system \
  "fill '$steel' $S rectangle 1.5,1.5 14.5,11.5 fill '$blue' stroke none rectangle 3,3 13,10
   fill '$steel' $S rectangle 5.5,11.5 10.5,13.5 rectangle 3.5,13.5 12.5,15.5"
glyph techinfo-01-windows \
  "fill '$paper' $S rectangle 1.5,2.5 14.5,13.5 fill '$blue' stroke none rectangle 2,3 14,6
   fill '$red' stroke none rectangle 11,4 13,5"
glyph techinfo-02-memory \
  "fill '$green' $S rectangle 0.5,4.5 15.5,10.5 fill '$ink' stroke none rectangle 2,6 5,9 rectangle 6.5,6 9.5,9
   rectangle 11,6 14,9 stroke '$ink' stroke-width 1 line 2.5,11 2.5,13 line 5.5,11 5.5,13 line 8.5,11 8.5,13
   line 11.5,11 11.5,13 line 14.5,11 14.5,13"
glyph techinfo-03-soundcard \
  "fill '$steel' $S polygon 1.5,5.5 5.5,5.5 9.5,1.5 9.5,14.5 5.5,10.5 1.5,10.5
   fill none stroke '$blue' stroke-width 1 arc 8,4 14,12 -60,60 arc 6,2 16,14 -55,55"
glyph techinfo-04-joystick \
  "fill '$steel' $S rectangle 1.5,10.5 14.5,14.5 stroke '$ink' stroke-width 1.5 line 8,10 8,5
   fill '$red' $S circle 8,4 8,1.5"
glyph techinfo-05-drives \
  "fill '$steel' $S rectangle 0.5,4.5 15.5,11.5 stroke '$ink' stroke-width 1 line 2,8.5 9,8.5
   fill '$green' stroke none rectangle 12,7 14,9"
glyph techinfo-06-printer \
  "fill '$paper' $S rectangle 4.5,0.5 11.5,6.5 fill '$steel' $S rectangle 0.5,5.5 15.5,12.5
   fill '$paper' $S rectangle 3.5,10.5 12.5,15.5 fill '$green' stroke none rectangle 12,7 14,9"
glyph techinfo-07-directx \
  "fill '$blue' $S polygon 8,0.5 15.5,8 8,15.5 0.5,8 stroke '$yellow' stroke-width 2 line 5,5 11,11 line 11,5 5,11"
glyph techinfo-08-mci \
  "fill '$steel' $S circle 8,8 8,0.5 fill '$sky' stroke none circle 8,8 8,4 fill '$paper' $S circle 8,8 8,6.5"
glyph techinfo-09-display \
  "fill '$steel' $S rectangle 0.5,1.5 15.5,12.5 fill '$sky' stroke none rectangle 2,3 14,11
   fill '$yellow' stroke none circle 5,6 5,4.5 fill '$green' stroke none polygon 2,11 7,6 11,11
   fill '$steel' $S rectangle 4.5,12.5 11.5,15.5"
glyph techinfo-10-regional \
  "fill '$blue' $S circle 8,8 8,0.5 fill '$green' stroke none polygon 4,4 8,3 9,6 6,9 4,8 polygon 10,9 13,9 12,13 10,12
   fill none stroke '$sky' stroke-width 1 line 1,8 15,8"
glyph techinfo-11-systemfiles \
  "fill '$paper' $S polygon 2.5,0.5 10.5,0.5 13.5,3.5 13.5,15.5 2.5,15.5 fill '$steel' $S circle 8,9 8,5.5
   fill '$paper' $S circle 8,9 8,7.5"
glyph techinfo-12-logfiles \
  "fill '$paper' $S polygon 2.5,0.5 10.5,0.5 13.5,3.5 13.5,15.5 2.5,15.5
   stroke '$line' stroke-width 1 line 4,4.5 9,4.5 line 4,7.5 12,7.5 line 4,10.5 12,10.5 line 4,13.5 10,13.5"
