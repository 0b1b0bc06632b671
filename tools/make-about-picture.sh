#!/usr/bin/env bash
# Draws the About box picture (400 x 300): the lifebuoy and the product name on a blue band, a light
# area below for the user's name, the free resources and the version. Writes resources/About.bmp.
set -euo pipefail
out=${1:-resources/About.bmp}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
regular=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
convert 'resources/BranService.ico[4]' -resize 104x104 "$tmp/buoy.png"
convert -size 400x300 xc:'#f4f6f9' \
  \( -size 400x170 gradient:'#1f5fa8-#3d8fd6' \) -geometry +0+0 -composite \
  "$tmp/buoy.png" -geometry +24+33 -composite \
  -font "$font" -pointsize 29 -fill white -annotate +148+84 'Bran-Service' \
  -font "$regular" -pointsize 13 -fill '#e8f0fa' -annotate +150+110 'Ondersteuning en helpdesk' \
  -annotate +150+128 "voor uw Brantel-programma's" \
  -fill '#1f5fa8' -draw 'rectangle 0,170 400,173' \
  -font "$regular" -pointsize 10 -fill '#6a7480' -annotate +22+288 'Klik of druk op Esc om te sluiten' \
  -type TrueColor BMP3:"$out"
