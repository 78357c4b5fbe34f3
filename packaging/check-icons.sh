#!/usr/bin/env bash
# Checks the committed icon renderings: each PNG must have its stated size, 8 bits per channel
# and an alpha channel (colour type 6). The 48-pixel file doubles as the window icon, which must
# be 32 bits per pixel.
# Usage: check-icons.sh ICON_DIR
set -euo pipefail
dir=$1
fail() { echo "check-icons: $*" >&2; exit 1; }

# Prints "width height depth colour-type" from a PNG's IHDR chunk.
png_header() {
  local bytes
  bytes=$(od -An -v -tu1 -j0 -N26 "$1" | tr -s ' \n' ' ')
  read -r -a b <<<"$bytes"
  [ "${#b[@]}" -eq 26 ] || return 1
  local signature="137 80 78 71 13 10 26 10"
  [ "${b[*]:0:8}" = "$signature" ] || return 1
  # Bytes 12-15 spell "IHDR"; width and height are big-endian 32-bit words at 16 and 20.
  [ "${b[*]:12:4}" = "73 72 68 82" ] || return 1
  echo $(((b[16] << 24) | (b[17] << 16) | (b[18] << 8) | b[19])) \
       $(((b[20] << 24) | (b[21] << 16) | (b[22] << 8) | b[23])) "${b[24]}" "${b[25]}"
}

for size in 48 256; do
  png=$dir/lumipad-$size.png
  [ -f "$png" ] || fail "$png is missing"
  header=$(png_header "$png") || fail "$png is not a PNG file"
  [ "$header" = "$size $size 8 6" ] \
    || fail "$png: width, height, bit depth, colour type are '$header', expected '$size $size 8 6' (RGBA)"
  echo "check-icons: $png: ${size}x${size} RGBA"
done
grep -q '<svg' "$dir/lumipad.svg" || fail "$dir/lumipad.svg is not an SVG drawing"
