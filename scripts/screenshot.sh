#!/usr/bin/env bash
# Starts the built editor on a virtual screen with the sample map and saves a picture of each
# edit mode: edit-mode.png, branch-mode.png and warp-mode.png in docs/, or in the folder $1,
# floating-block.png: a copied block floating under the pointer before it is laid, and
# zoomed-board.png: the main window at 150 % with the chip values, route.png: the
# shortest route numbered on the board beside the map information window, and compare.png:
# a few edits compared with the saved files (nothing is saved).
# With --help-pictures it takes the pictures of the help instead, in data/help/ or in $2:
# the main window, the chip palette, the branch window, the warp window with a pair chosen
# on the board, and the map check's report.
set -euo pipefail
help_pictures=
if [ "${1:-}" = --help-pictures ]; then
    help_pictures=1
    shift
fi
for tool in xvfb-run import xdotool xprop openbox; do
    command -v "$tool" >/dev/null ||
        { echo "$0 needs $tool (Debian: xvfb, imagemagick, xdotool, x11-utils, openbox)" >&2; exit 1; }
done
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export QZK_EDITOR="$root/build/qzk-editor"
if [ -n "$help_pictures" ]; then
    export QZK_SHOT_OUT="${1:-$root/data/help}"
else
    export QZK_SHOT_OUT="${1:-$root/docs}"
fi
export QZK_SHOT_MAP="${QZK_SHOT_MAP:-$root/docs/sample/meadow.map}"
mkdir -p "$QZK_SHOT_OUT"
unset QT_QPA_PLATFORM
# Settings and recovery copies of its own: a zoom kept from the user's runs would change the
# pictures, and the zoom set here must not stay for the user.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"
# $1: the screen size; $2: the steps, run once the editor's windows show.
on_screen() {
# QZK_SHOT_DISPLAY: the first display number tried (99).
# -noreset: a server that resets when its last client leaves drops one still connecting.
QZK_SHOT_STEPS="$2" xvfb-run -a -n "${QZK_SHOT_DISPLAY:-99}" -s "-screen 0 $1x24 -noreset" bash -c '
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
    eval "$QZK_SHOT_STEPS"
'
}
# shellcheck disable=SC2016 # the steps are run by the inner shell
if [ -n "$help_pictures" ]; then
    on_screen 920x600 '
        # Each window alone with its frame; a palette of 256 colours keeps them small for
        # the help, and the chips use far fewer.
        shot() {
            sleep "${QZK_SHOT_DELAY:-1}"
            import -frame -window "$1" -strip "png8:$QZK_SHOT_OUT/$2"
            echo "$QZK_SHOT_OUT/$2"
        }
        # The pointer over the start cell fills the status bar.
        eval "$(xdotool getwindowgeometry --shell "$main")"
        xdotool mousemove --window "$main" $((8 + 2 * 24 + 12)) $((HEIGHT - 436 + 24 + 2 * 24 + 12))
        shot "$main" main-window.png
        shot "$palette" chip-palette.png
        xdotool windowactivate --sync "$main" key F6
        shot "$(window "^分岐点の設定\$")" branch-window.png
        xdotool windowactivate --sync "$main" key F7
        warps="$(window "^ワープの設定\$")"
        xdotool windowmove --sync "$warps" "$beside" "$top"
        xdotool mousemove --window "$warps" 30 10 click 1
        # The pair chosen in the list shows on the board beside it: both windows, frames
        # included, cut from the screen.
        eval "$(xdotool getwindowgeometry --shell "$main")"
        bottom=$((Y + HEIGHT + left))
        eval "$(xdotool getwindowgeometry --shell "$warps")"
        sleep "${QZK_SHOT_DELAY:-1}"
        import -window root -crop "$((X + WIDTH + right))x$bottom+0+0" +repage \
            -strip "png8:$QZK_SHOT_OUT/warp-window.png"
        echo "$QZK_SHOT_OUT/warp-window.png"
        xdotool windowactivate --sync "$main" key --delay 100 F5 alt+t c
        shot "$(window "^マップチェックの結果報告\$")" check-report.png
    '
    exit
fi
on_screen 920x520 '
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
# route.png: the map information window's route numbered along its steps on the board
# (before the zoom below, which the settings keep).
on_screen 1100x520 '
    # F4 hides the chip palette, whose place the information window takes.
    xdotool windowactivate --sync "$main" key F4 alt+t i
    info="$(window "^マップの情報\$")"
    xdotool windowmove --sync "$info" "$beside" "$top"
    xdotool windowactivate --sync "$info" key alt+r
    sleep "${QZK_SHOT_DELAY:-1}"
    import -window root "$QZK_SHOT_OUT/route.png"
    echo "$QZK_SHOT_OUT/route.png"
'
# Ctrl++ zooms to 150 %; the window grows with the board, so the screen is larger, and F4
# hides the chip palette.
on_screen 1100x760 '
    xdotool windowactivate --sync "$main" key F4 ctrl+plus
    sleep "${QZK_SHOT_DELAY:-1}"
    import -window "$main" "$QZK_SHOT_OUT/zoomed-board.png"
    echo "$QZK_SHOT_OUT/zoomed-board.png"
'
# A few cells, a branch point and a floor-2 cell changed, then compared with the map's files.
on_screen 920x760 '
    eval "$(xdotool getwindowgeometry --shell "$main")"
    cell() { xdotool mousemove --window "$main" $((8 + ($1 - 1) * 24 + 12)) $((HEIGHT - 436 + 24 + ($2 - 1) * 24 + 12)) click 1; sleep 0.3; }
    tab() { xdotool mousemove --window "$main" $((8 + ($1 - 1) * 44 + 22)) $((HEIGHT - 436 + 12)) click 1; sleep 0.3; }
    cell 3 11; cell 10 5; cell 11 5; cell 12 5
    tab 2; cell 5 5; tab 1
    xdotool windowactivate --sync "$main" key F6
    window "^分岐点の設定\$" >/dev/null
    cell 9 8
    xdotool windowactivate --sync "$main" key F5
    xdotool windowactivate --sync "$main" key --delay 100 alt+m d s
    compare="$(window "^マップの比較")"
    xdotool windowsize --sync "$compare" 880 170
    xdotool windowmove --sync "$compare" "$left" $((HEIGHT + 2 * top + 24))
    sleep "${QZK_SHOT_DELAY:-1}"
    import -window root "$QZK_SHOT_OUT/compare.png"
    echo "$QZK_SHOT_OUT/compare.png"
'
