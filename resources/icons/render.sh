#!/bin/sh
# Renders the icon's PNG sizes from its SVG into the hicolor layout they are
# installed in. The PNGs are kept in the tree, so building needs no SVG
# renderer; run this (needs rsvg-convert, Debian librsvg2-bin) after
# changing the SVG.
set -e
cd "$(dirname "$0")"
SVG=hicolor/scalable/apps/tamboro.svg
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" "$SVG" -o "hicolor/${size}x${size}/apps/tamboro.png"
done
