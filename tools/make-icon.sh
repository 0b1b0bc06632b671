#!/usr/bin/env bash
# Draws the application icon (a red and white lifebuoy: help at hand) at the usual sizes and packs
# them into resources/BranService.ico. Run by hand when the icon should change; the result is committed.
set -euo pipefail
out=${1:-resources/BranService.ico}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for s in 16 24 32 48 256; do
  # Drawn at 8x and scaled down for smooth edges.
  S=$((s * 8))
  wedges=$(python3 - "$S" <<'PY'
import math, sys
S = int(sys.argv[1]); c = S / 2; r = S * 0.47
out = []
for start in (20, 110, 200, 290):
    a1, a2 = math.radians(start), math.radians(start + 50)
    x1, y1 = c + r * math.cos(a1), c + r * math.sin(a1)
    x2, y2 = c + r * math.cos(a2), c + r * math.sin(a2)
    out.append(f"path 'M {c},{c} L {x1:.1f},{y1:.1f} A {r:.1f},{r:.1f} 0 0,1 {x2:.1f},{y2:.1f} Z'")
print(" ".join(f"-draw \"{d}\"" for d in out))
PY
)
  c=$((S / 2)); r=$((S * 47 / 100)); ri=$((S * 23 / 100)); line=$((S / 32 + 4))
  eval convert -size ${S}x${S} xc:none \
    -fill "'#f7f7f7'" -stroke none -draw "'circle $c,$c $((c + r)),$c'" \
    -fill "'#d42a1e'" $wedges \
    "$tmp/ring.png"
  convert -size ${S}x${S} xc:none -fill black -draw "circle $c,$c $((c + ri)),$c" "$tmp/hole.png"
  convert "$tmp/ring.png" "$tmp/hole.png" -compose DstOut -composite \
    -fill none -stroke '#4a4a4a' -strokewidth $line \
    -draw "circle $c,$c $((c + r)),$c" -draw "circle $c,$c $((c + ri)),$c" \
    -resize ${s}x${s} "$tmp/i$s.png"
done
convert "$tmp"/i16.png "$tmp"/i24.png "$tmp"/i32.png "$tmp"/i48.png "$tmp"/i256.png "$out"
