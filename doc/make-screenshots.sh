#!/usr/bin/env bash
# Makes the pictures of the user's guide from the real program: velmora runs on a copy of the sample
# data under Xvfb at 800x600 (no window manager, so every window sits where the program centres it),
# xdotool presses its buttons and types into it, and `import -window root` takes each picture.
#
#   doc/make-screenshots.sh [BUILD_DIR]      (default: build; builds velmora and velmora-cli there)
#
# Writes doc/guide/img/*.png (the tool windows, used by the guide) and doc/screenshots/help-*.png (every
# page of the guide inside the program's help window). Run it again after a window or a page changed;
# the build is refreshed first so that the help window shows the new pictures. It takes about a minute
# and a half on two busy cores.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
program="$build/gui/velmora"
img="$root/doc/guide/img"
help_out="$root/doc/screenshots"
title="【Velmora5.8】 for Tollan"

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2> /dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A display of our own: Xvfb picks a free number and tells it through -displayfd.
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3> "$work/display" 2> /dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
export LANG=C.UTF-8

# Waits for a shown window whose title is exactly $1 and prints its id; with $2 "maybe", a window that
# does not come within $3 tenths of a second is no error (nothing is printed).
window() {
    local id
    for _ in $(seq "${3:-100}"); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2> /dev/null | tail -n1 || true)
        [ -n "$id" ] && { echo "$id"; return; }
        sleep 0.1
    done
    [ "${2:-}" = maybe ] && return
    echo "no window '$1'" >&2
    exit 1
}

# Clicks at x, y inside window $1 (its client area, in the design pixels of the 800x600 layout).
click() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove $((X + $2)) $((Y + $3)) click 1
    sleep 0.4
}

# Types text into the control that has the focus, then presses Enter when $2 is "enter".
type_text() {
    xdotool type --delay 150 "$1"
    [ "${2:-}" = enter ] && xdotool key Return
    sleep 0.5
}

# Takes the whole screen as $1 (an 8-bit palette PNG, which keeps the pictures small).
shot() {
    sleep 0.6
    import -window root "$work/shot.png"
    convert "$work/shot.png" -colors 256 "PNG8:$1"
    if command -v pngquant > /dev/null; then
        pngquant --force --skip-if-larger --output "$1" 128 "$1" || true
    fi
    echo "  $1"
}

# The program sees a desktop with no applications (its file types known), so that html出力 opens no
# browser here but says that nothing shows the page.
start_program() {
    mkdir -p "$work/desktop/applications"
    ln -sfn /usr/share/mime "$work/desktop/mime"
    (cd "$work/run" && XDG_DATA_HOME="$work/desktop" XDG_DATA_DIRS="$work/desktop" exec "$program") \
        > "$work/velmora.log" 2>&1 &
    app_pid=$!
}

# Chooses the pair $2 (a stallion) and $3 (a broodmare) in the Velmora配合決定 window $1 by typing their
# names. xdotool types a character missing from the keyboard by binding it to a spare key for an
# instant, and a program slow to read the new keymap (on a busy machine) gets another character or
# none; so the choice is checked in the page html出力 writes, and the names are typed again if needed.
fold_full() { "$build/cli/velmora-cli" fold full "$1"; }
choose_pair() {
    local page="$work/run/VelmoraSample.html" attempt box
    for attempt in 1 2 3; do
        click "$1" 98 31
        xdotool key ctrl+a
        type_text "$2" enter
        click "$1" 492 31
        xdotool key ctrl+a
        type_text "$3" enter
        rm -f "$page"
        click "$1" 262 559 # html出力 (enabled once both are chosen)
        box=$(window "$title" maybe 50) # the message that no application shows the page
        [ -n "$box" ] && { xdotool key Return; sleep 0.5; }
        # The page names the pair on a line of its own, sire first, in full-width letters (CR LF lines).
        if [ -s "$page" ] && iconv -f CP932 -t UTF-8 "$page" | tr -d '\r' \
            | grep -qxF "$(fold_full "$2") * $(fold_full "$3")<br>"; then
            return
        fi
        echo "  $2 and $3 are not both chosen (try $attempt): typing them again" >&2
    done
    echo "make-screenshots: could not choose $2 and $3" >&2
    exit 1
}

mkdir -p "$img" "$help_out" "$work/run"
cp "$root"/sample/*.CSV "$work/run/"
# Two backup sets, as a user who has edited the data has them, for the restore window's picture.
for set in 20261208-201530 20261209-213045; do
    mkdir -p "$work/run/backup/$set"
    cp "$root"/sample/*.CSV "$work/run/backup/$set/"
done
cmake --build "$build" --target velmora velmora-cli > /dev/null

echo "windows:"
start_program
main=$(window "$title")
shot "$img/main.png"
# The main window's nine buttons: 289x33, 8 pixels apart, from y = 3.
press() { click "$main" 169 $((3 + 41 * $1 + 16)); }

# Velmora配合決定: a stallion and a mare chosen by typing, the stallions ordered by compatibility.
press 0
w=$(window "Velmora配合決定ツール")
sleep 1
choose_pair "$w" "ｸｲｴﾎ" "ﾃﾞｷﾞﾇ"
click "$w" 224 109
shot "$img/velmora.png"
click "$w" 337 109
t=$(window ".*一覧表示")
xdotool key alt+v
shot "$img/text.png"
xdotool key Escape
sleep 0.5
click "$w" 733 524
window "【Velmora】相性条件の編集" > /dev/null
shot "$img/points.png"
xdotool key Escape
sleep 0.5
click "$w" 738 559 # 終了

# Dravik配合検索 with its first conditions; a search; its results; the first result in the viewer.
press 1
w=$(window "Dravik配合検索ツール")
shot "$img/dravik.png"
click "$w" 644 18 # 検索
r=$(window "【Dravik】検索結果　　≪検索終了≫")
click "$r" 200 105 # the first line
shot "$img/results.png"
click "$r" 158 74 # 戻る
click "$w" 740 18 # 戻る
window "$title" > /dev/null

# 血統ビューア on a typed formula.
press 2
w=$(window "血統ビューア")
click "$w" 300 17
type_text "ｸｲｴﾎ * ﾃﾞｷﾞﾇ"
click "$w" 634 17 # 表示
shot "$img/parents.png"
click "$w" 736 552 # 戻る
window "$title" > /dev/null

# 血統エディタ on a typed formula.
press 3
w=$(window "血統エディタ")
click "$w" 300 26
type_text "ﾈﾍﾟｼ * (ｸｲｴﾎ * ﾃﾞｷﾞﾇ)"
click "$w" 722 16 # 表示
shot "$img/editor.png"
click "$w" 658 37 # 閉じる
window "$title" > /dev/null

# データファイルの変更 and 各種データの更新 (a stallion chosen), both left without a change.
press 4
w=$(window "データファイルの変更")
shot "$img/datadir.png"
click "$w" 108 363 # バックアップから戻す
b=$(window "バックアップから戻す")
click "$b" 230 80 # a set
shot "$img/backups.png"
click "$b" 407 309 # 閉じる
w=$(window "データファイルの変更")
click "$w" 702 363 # ｷｬﾝｾﾙ
window "$title" > /dev/null
press 5
w=$(window "各種データの変更")
shot "$img/makedata.png"
click "$w" 734 551 # 戻る
window "$title" > /dev/null

# The guide beside the program takes the new pictures before the help window shows them.
cmake --build "$build" --target velmora > /dev/null

echo "help pages:"
press 7
help=$(window ".*ガイド.*")
shot "$help_out/help-00.png"
pages=$(grep -c '<li><a href=' "$root/doc/guide/velmora.HLP")
for i in $(seq "$pages"); do
    xdotool key alt+c
    sleep 0.3
    xdotool key --repeat "$i" --delay 60 Tab
    xdotool key Return
    shot "$(printf '%s/help-%02d.png' "$help_out" "$i")"
done
xdotool key Escape
sleep 0.5
kill "$app_pid" 2> /dev/null || true
wait "$app_pid" 2> /dev/null || true
app_pid=""
