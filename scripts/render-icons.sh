#!/usr/bin/env bash
# Renders the application icons (data/icons/*.svg) into the PNG sizes desktop shells use, under
# data/icons/hicolor/. The PNGs are committed, so the build needs no SVG renderer; run this after
# changing an SVG. Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
for svg in "$root"/data/icons/*.svg; do
    name=$(basename "$svg" .svg)
    for size in 16 22 24 32 48 64 128 256; do
        dir="$root/data/icons/hicolor/${size}x${size}/apps"
        mkdir -p "$dir"
        rsvg-convert --width "$size" --height "$size" "$svg" --output "$dir/$name.png"
    done
done
