#!/usr/bin/env bash
# Takes a screenshot of the real window under Xvfb into docs/screenshot.png (needs ImageMagick).
# Run after a build: scripts/screenshot.sh [path-to-lumipad]
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/release/src/app/lumipad}
import=/usr/bin/import
[ -x "$import" ] || { echo "ImageMagick is needed: apt-get install imagemagick" >&2; exit 1; }

exec 3< <(Xvfb -displayfd 1 -screen 0 800x600x24 -nolisten tcp 2>/dev/null)
read -r number <&3
export DISPLAY=":$number"
unset QT_QPA_PLATFORM
"$binary" &
app=$!
trap 'kill $app 2>/dev/null; pkill -f "Xvfb -displayfd 1 -screen 0 800x600x24" 2>/dev/null || true' EXIT
window=$(xdotool search --sync --onlyvisible --name '^Lumipad v1.1 beta')
# Paint something so the picture shows what the program is for.
geometry=$(xdotool getwindowgeometry --shell "$window")
eval "$geometry"
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.2; }
drag() {
  xdotool mousemove $((X + $1)) $((Y + $2)) mousedown 1
  xdotool mousemove $((X + $3)) $((Y + $4)); sleep 0.1
  xdotool mousemove $((X + $5)) $((Y + $6)) mouseup 1; sleep 0.2
}
click 545 247   # Ellipse
drag 240 240 300 300 380 330
click 545 187   # Box
drag 60 60 120 120 160 140
click 545 157   # Line
drag 40 420 200 300 440 380
sleep 0.5
"$import" -window "$window" docs/screenshot.png
echo "wrote docs/screenshot.png"
