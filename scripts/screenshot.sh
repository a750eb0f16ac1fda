#!/usr/bin/env bash
# Starts the built editor on a virtual screen with the sample map and saves a picture of each
# edit mode: edit-mode.png, branch-mode.png and warp-mode.png in docs/, or in the folder $1,
# and floating-block.png: a copied block floating under the pointer before it is laid.
set -euo pipefail
for tool in xvfb-run import xdotool xprop openbox; do
    command -v "$tool" >/dev/null ||
        { echo "$0 needs $tool (Debian: xvfb, imagemagick, xdotool, x11-utils, openbox)" >&2; exit 1; }
done
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export QZK_EDITOR="$root/build/qzk-editor"
export QZK_SHOT_OUT="${1:-$root/docs}"
export QZK_SHOT_MAP="${QZK_SHOT_MAP:-$root/docs/sample/meadow.map}"
mkdir -p "$QZK_SHOT_OUT"
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 920x520x24" bash -c '
    set -euo pipefail
    # Waits up to 30 s for a visible window whose title matches $1 and prints its id.
    window() {
        for _ in $(seq 300); do
            xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 | grep . && return
            sleep 0.1
        done
        echo "no window \"$1\" showed" >&2
        return 1
    }
    openbox >/dev/null 2>&1 & wm=$!
    for _ in $(seq 300); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        sleep 0.1
    done
    "$QZK_EDITOR" "$QZK_SHOT_MAP" & editor=$!
    trap "kill $editor $wm 2>/dev/null" EXIT
    main="$(window "^Q;zK")"
    palette="$(window "^マップチップ\$")"
    # The window manager centres the main window; the windows go side by side from the
    # top left, frames included.
    # The window manager sets the frame a moment after the window shows.
    for _ in $(seq 300); do
        xprop -id "$main" _NET_FRAME_EXTENTS 2>/dev/null | grep -q "= " && break
        sleep 0.1
    done
    read -r left right top _ < <(xprop -id "$main" _NET_FRAME_EXTENTS | sed "s/.*= //; s/,//g")
    xdotool windowmove --sync "$main" "$left" "$top"
    eval "$(xdotool getwindowgeometry --shell "$main")"
    beside=$((WIDTH + left + right + 2 * left))
    xdotool windowmove "$palette" "$beside" "$top"
    # Painting has no event to wait on: give each mode a moment to draw before its picture.
    shot() {
        sleep "${QZK_SHOT_DELAY:-1}"
        import -window root "$QZK_SHOT_OUT/$1"
        echo "$QZK_SHOT_OUT/$1"
    }
    shot edit-mode.png
    # F6 and F7 switch to branch mode and warp mode.
    xdotool windowactivate --sync "$main" key F6
    branches="$(window "^分岐点の設定\$")"
    xdotool windowmove "$branches" "$beside" "$top"
    shot branch-mode.png
    xdotool windowactivate --sync "$main" key F7
    warps="$(window "^ワープの設定\$")"
    xdotool windowmove --sync "$warps" "$beside" "$top"
    # Selecting the first pair in the list brings its two markers forward on cyan.
    xdotool mousemove --window "$warps" 30 10 click 1
    shot warp-mode.png
    # Board cell (x, y) in the main window: the board sits 8 px in and 24 px under the
    # top of the 436 px below the menu bar.
    eval "$(xdotool getwindowgeometry --shell "$main")"
    cell() { xdotool mousemove --window "$main" $((8 + ($1 - 1) * 24 + 12)) $((HEIGHT - 436 + 24 + ($2 - 1) * 24 + 12)); }
    xdotool windowactivate --sync "$main" key F5 F8
    cell 2 2; xdotool mousedown 1; cell 7 6; xdotool mouseup 1
    xdotool key ctrl+c ctrl+v
    cell 13 8
    shot floating-block.png
'
