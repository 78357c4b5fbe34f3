#!/usr/bin/env bash
# Renders the committed PNG icons from lumipad.svg. Only needed after the drawing changes; the
# build uses the committed files. Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 48 256; do
  rsvg-convert --width "$size" --height "$size" --format png \
    --output "lumipad-$size.png" lumipad.svg
done
