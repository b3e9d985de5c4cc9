#!/usr/bin/env bash
# Renders the icon's PNGs from vorlane.svg (Debian package librsvg2-bin). Run it after
# changing the SVG and commit the PNGs with it.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" vorlane.svg --output "vorlane-$size.png"
done
