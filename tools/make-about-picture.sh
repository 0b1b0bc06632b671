#!/usr/bin/env bash
# Draws the About box picture (400 x 300): the lifebuoy and the product name on a blue band, a light
# area below for the user's name, the free resources and the version. Writes resources/About.bmp,
# and with scale 2 the same picture at twice the size for screens of more than 96 pixels per inch
# (resources/About2x.bmp).   usage: tools/make-about-picture.sh [scale] [out]
set -euo pipefail
scale=${1:-1}
out=${2:-resources/About$([ "$scale" = 1 ] || echo "${scale}x").bmp}
s() { echo $(( $1 * scale )); }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
regular=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
convert 'resources/BranService.ico[4]' -resize "$(s 104)x$(s 104)" "$tmp/buoy.png"
convert -size "$(s 400)x$(s 300)" xc:'#f4f6f9' \
  \( -size "$(s 400)x$(s 170)" gradient:'#1f5fa8-#3d8fd6' \) -geometry +0+0 -composite \
  "$tmp/buoy.png" -geometry "+$(s 24)+$(s 33)" -composite \
  -font "$font" -pointsize "$(s 29)" -fill white -annotate "+$(s 148)+$(s 84)" 'Bran-Service' \
  -font "$regular" -pointsize "$(s 13)" -fill '#e8f0fa' -annotate "+$(s 150)+$(s 110)" 'Ondersteuning en helpdesk' \
  -annotate "+$(s 150)+$(s 128)" "voor uw Brantel-programma's" \
  -fill '#1f5fa8' -draw "rectangle 0,$(s 170) $(s 400),$(( $(s 174) - 1 ))" \
  -font "$regular" -pointsize "$(s 10)" -fill '#6a7480' -annotate "+$(s 22)+$(s 288)" 'Klik of druk op Esc om te sluiten' \
  -type TrueColor BMP3:"$out"
