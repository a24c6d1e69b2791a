#!/bin/sh
# Renders the PNG sizes of the icon from its SVG into the hicolor layout.
# The PNGs are checked in, so a build needs no SVG renderer; run this again
# after changing the SVG (Debian package: librsvg2-bin).
set -eu
cd "$(dirname "$0")"
name=org.plimsa.Plimsa
for size in 16 32 48 64 128 256; do
    mkdir -p "hicolor/${size}x${size}/apps"
    rsvg-convert --width "$size" --height "$size" "$name.svg" \
        --output "hicolor/${size}x${size}/apps/$name.png"
done
