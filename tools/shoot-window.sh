#!/usr/bin/env bash
# Takes a picture of one tool window as a user sees it: velmora runs on a copy of the sample data under
# Xvfb with openbox (so windows have their title bars), at the given screen size and font size; the
# main window's button number BUTTON (0 Velmora配合決定 .. 8 終了) is clicked and the screen is taken.
#
#   tools/shoot-window.sh BUILD_DIR WIDTH HEIGHT FONT_SIZE BUTTON OUT.png ["xdotool commands"]
#
# The optional commands run once the tool is open, with $tool set to its window id, for example
#   'xdotool mousemove --window $tool 60 45 click 1 key Down key Return'
# to choose the first stallion in Velmora配合決定.
set -euo pipefail

[ $# -ge 6 ] || { sed -n '2,11p' "$0" >&2; exit 2; }
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program="$(cd "$1" && pwd)/gui/velmora"
width=$2 height=$3 font=$4 button=$5 out=$6 extra=${7:-}

work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2> /dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

cp "$root"/sample/*.CSV "$work/"
printf '[SCREEN]\r\nFontSize=%s\r\n' "$font" | iconv -f UTF-8 -t CP932 > "$work/velmora.INI"
Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp 3> "$work/display" 2> /dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
openbox > /dev/null 2>&1 &
pids+=($!)
sleep 0.5
(cd "$work" && exec "$program") > /dev/null 2>&1 &
pids+=($!)

main=""
for _ in $(seq 100); do
    main=$(xdotool search --onlyvisible --name "for Tollan" 2> /dev/null | tail -n1 || true)
    [ -n "$main" ] && break
    sleep 0.1
done
[ -n "$main" ] || { echo "shoot-window: the main window did not appear" >&2; exit 1; }
sleep 1
# The buttons are 41 design pixels apart; the 640x480 layout scales the design by 0.8.
scale=$((width < 800 ? 80 : 100))
xdotool mousemove --window "$main" $((169 * scale / 100)) $(((3 + 41 * button + 16) * scale / 100)) click 1
sleep 2
if [ -n "$extra" ]; then
    tool=$(xdotool getactivewindow)
    export tool
    eval "$extra"
    sleep 1
fi
import -window root "$out"
echo "$out"
