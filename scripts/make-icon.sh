#!/usr/bin/env bash
# Renders src/resources/Orvanel.svg into src/resources/Orvanel.ico: one icon in seven
# sizes, 256 pixels stored as PNG and 128, 64, 48, 32, 24 and 16 pixels as 32-bit
# bitmaps with alpha. Run after changing the drawing; the .ico is committed.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
svg=$here/src/resources/Orvanel.svg
ico=$here/src/resources/Orvanel.ico
command -v rsvg-convert >/dev/null && command -v convert >/dev/null || {
  echo "make-icon.sh: needs rsvg-convert (librsvg2-bin) and convert (imagemagick)" >&2
  exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
frames=()
for size in 256 128 64 48 32 24 16; do
  rsvg-convert -w "$size" -h "$size" "$svg" -o "$work/$size.png"
  frames+=("PNG32:$work/$size.png")
done
# ImageMagick writes frames of 256 pixels as PNG and smaller ones as 32-bit bitmaps.
convert "${frames[@]}" "ICO:$ico"
echo "wrote $ico"
