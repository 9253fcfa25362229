#!/bin/sh
# Makes the picture fixtures of the tests. Needs ImageMagick and Inkscape.
# Every raster picture is 64x48 pixels: left half red, right half blue, with
# a green square (rows 8..15, columns 8..15) in the top left corner, so a
# test sees both orientation and colour. The BMP files are written bottom up.
set -eu
cd "$(dirname "$0")"

draw() {
  convert -size 64x48 xc:'#ff0000' -fill '#0000ff' -draw 'rectangle 32,0 63,47' \
          -fill '#00ff00' -draw 'rectangle 8,8 15,15' "$@"
}

draw -quality 90 -interlace none -sampling-factor 1x1 baseline.jpg
draw -quality 90 -interlace Plane -sampling-factor 1x1 progressive.jpg
draw -colorspace CMYK -quality 90 -sampling-factor 1x1 cmyk.jpg
draw -type TrueColor BMP3:rgb24.bmp
# A grey ramp in the bottom row needs more than 16 colours: 8 bits a pixel.
draw \( -size 32x1 gradient:black-white \) -geometry +32+47 -composite -type Palette -compress None BMP3:palette8.bmp
draw \( -size 32x1 gradient:black-white \) -geometry +32+47 -composite -type Palette -compress RLE BMP3:palette8-rle.bmp

# Metafiles from one drawing of the same layout, 64x48 user units.
cat > drawing.svg <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="64" height="48" viewBox="0 0 64 48">
  <rect x="0" y="0" width="32" height="48" fill="#ff0000"/>
  <rect x="32" y="0" width="32" height="48" fill="#0000ff"/>
  <rect x="8" y="8" width="8" height="8" fill="#00ff00"/>
</svg>
SVG
inkscape drawing.svg --export-type=emf --export-filename=drawing.emf
inkscape drawing.svg --export-type=wmf --export-filename=drawing.wmf
rm drawing.svg
