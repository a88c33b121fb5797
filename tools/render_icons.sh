#!/usr/bin/env bash
# Renders the program's icon, resources/icons/kantoria.svg, at the sizes the desktop's icon
# theme asks for, into resources/icons/hicolor/. Run from anywhere after changing the drawing;
# the PNG files it writes are committed, so building needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/../resources/icons"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" kantoria.svg -o "hicolor/${size}x${size}/apps/kantoria.png"
done
