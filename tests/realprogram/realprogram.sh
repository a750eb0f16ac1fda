#!/usr/bin/env bash
# Drives the built editor as a person would, on its own X display with a window manager:
# keys, clicks on board cells, paths typed into the real file dialogs. Asserts on what the
# person gets: the process ending with status 0, the windows shown, the files saved.
#
#   realprogram.sh SCENARIO EDITOR SOURCE_DIR
#   SCENARIO: quit | closebox | files | undo | recovery | blocks | shared | zoom | replace |
#             compare | merge | keyboard | accessibility | windows
set -uo pipefail

scenario="$1"
editor="$(realpath "$2")"
source_dir="$3"

# The accessibility scenario runs on a session bus of its own, where the desktop's
# accessibility bus starts on demand; the editor's bridge is on without a desktop asking.
if [ "$scenario" = accessibility ] && [ -z "${QZK_OWN_BUS:-}" ]; then
    for tool in dbus-run-session /usr/libexec/at-spi-bus-launcher; do
        command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
    done
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
        { echo "FAIL: python3-pyatspi is missing (scripts/setup.sh installs it)" >&2; exit 1; }
    exec dbus-run-session -- env QZK_OWN_BUS=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 bash "$0" "$@"
fi

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

for tool in Xvfb openbox xdotool xprop xwininfo xclip; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done

scratch="$(mktemp -d)"
display_pid=
wm_pid=
editor_pid=
editor_status=

stop_editor() {
    if [ -n "$editor_pid" ]; then
        kill "$editor_pid" 2>/dev/null
        wait "$editor_pid" 2>/dev/null
    fi
    editor_pid=
}
cleanup() {
    stop_editor
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
    [ -n "$display_pid" ] && kill "$display_pid" 2>/dev/null && wait "$display_pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP PIPE

# Waits up to $2 seconds (60 by default: sanitizer builds and a shared machine are slow)
# for a command to succeed.
wait_for() {
    local what="$1" seconds="$2"
    shift 2
    local tries=$((seconds * 10))
    for _ in $(seq "$tries"); do
        "$@" && return 0
        sleep 0.1
    done
    fail "waited ${seconds}s for $what"
    return 1
}

# A display of our own: Xvfb picks a free number and writes it to fd 3. -noreset: by
# default the server resets whenever its last client leaves, and drops a connection still
# being set up; a short-lived xprop leaving while openbox connected killed openbox.
exec 3>"$scratch/display"
# QZK_SCREEN: the screen's size (1280x800 unless given).
screen_size="${QZK_SCREEN:-1280x800}"
Xvfb -displayfd 3 -screen 0 "${screen_size}x24" -nolisten tcp -noreset >"$scratch/xvfb.log" 2>&1 &
display_pid=$!
exec 3>&-
wait_for "Xvfb to start" 30 test -s "$scratch/display" || { cat "$scratch/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$scratch/display")"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
# Recovery copies and settings of our own, so that nothing a user or another test left
# behind asks a question.
export XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config"

# The window manager gives the frames, close boxes and focus. On a busy machine it can be
# slow to start: waited for while it runs, started once more if it ended early.
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
start_wm() {
    openbox --sm-disable >>"$scratch/openbox.log" 2>&1 &
    wm_pid=$!
    local deadline=$((SECONDS + 120))
    while ((SECONDS < deadline)); do
        wm_running && return 0
        if ! kill -0 "$wm_pid" 2>/dev/null; then
            wait "$wm_pid"
            echo "openbox ended with status $?" >>"$scratch/openbox.log"
            wm_pid=
            return 1
        fi
        sleep 0.1
    done
    return 1
}
wm_start="$SECONDS"
if ! start_wm && { [ -n "$wm_pid" ] || ! start_wm; }; then
    echo "FAIL: openbox did not manage the display in $((SECONDS - wm_start))s; its log:" >&2
    cat "$scratch/openbox.log" >&2
    exit 1
fi
echo "openbox managed the display after $((SECONDS - wm_start))s"

# The editor runs from the scratch folder, so its dialogs start there.
start_editor() {
    (cd "$scratch" && exec "$editor" "$@") >"$scratch/editor.log" 2>&1 &
    editor_pid=$!
    editor_status=
}

# Prints the id of the first visible window whose title matches.
visible_window() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 | grep .
}
window_shows() { visible_window "$1" >/dev/null; }
window_gone() { ! window_shows "$1"; }
editor_gone() { ! kill -0 "$editor_pid" 2>/dev/null; }
# Waits for a window of the running editor and prints its id. The id is taken in the same
# step that finds the window: a search can come back empty while other windows go.
wait_window() {
    local id
    for _ in $(seq 600); do
        id="$(visible_window "$1")" && { echo "$id"; return 0; }
        editor_gone && { fail "the editor ended before \"$1\" showed"; return 1; }
        sleep 0.1
    done
    fail "waited 60s for a window titled \"$1\""
    return 1
}
# Waits for the editor to end on its own and keeps its exit status.
wait_editor_end() {
    if wait_for "the editor to end ($1)" 60 editor_gone; then
        wait "$editor_pid"
        editor_status=$?
        editor_pid=
        return 0
    fi
    stop_editor
    return 1
}
expect_status_zero() {
    wait_editor_end "$1" || return
    [ "$editor_status" -eq 0 ] ||
        fail "the editor ended with status $editor_status after $1: $(cat "$scratch/editor.log")"
}

main_title='^Q;zKマップエディタ'
question_title='^Q:zKエディタ$'
palette_title='^マップチップ$'

start_and_wait_main() {
    start_editor "$@"
    main="$(wait_window "$main_title")" ||
        { echo "FAIL: no main window; editor output: $(cat "$scratch/editor.log")" >&2; exit 1; }
    wait_window "$palette_title" >/dev/null
}

# Types Return the moment a window titled $1 becomes the active one: polling for it may take
# longer than the pause a question that comes unasked waits for.
return_when_active() {
    local line id spy
    exec {spy}< <(exec timeout 60 xprop -root -spy _NET_ACTIVE_WINDOW)
    local spy_pid=$!
    while read -r -u "$spy" line; do
        id="${line##* }"
        [[ "$id" == 0x* ]] || continue
        xdotool getwindowname "$id" 2>/dev/null | grep -q "$1" || continue
        xdotool key --clearmodifiers Return
        kill "$spy_pid" 2>/dev/null
        exec {spy}<&-
        return 0
    done
    exec {spy}<&-
    return 1
}

# Answers the quit question with Alt and the button's access key.
answer_question() {
    local key="$1"
    local box
    box="$(wait_window "$question_title")" || { fail "no quit question showed"; return 1; }
    xdotool windowactivate --sync "$box" key --clearmodifiers "alt+$key"
}

# Sets X, Y (absolute, of the client area), WIDTH and HEIGHT of a window. xwininfo, as
# xdotool's geometry is off by the frame under a reparenting window manager.
client_geometry() {
    eval "$(xwininfo -id "$1" | sed -n 's/^ *Absolute upper-left X: *\(-*[0-9]*\)/X=\1/p
        s/^ *Absolute upper-left Y: *\(-*[0-9]*\)/Y=\1/p
        s/^ *Width: *\([0-9]*\)/WIDTH=\1/p
        s/^ *Height: *\([0-9]*\)/HEIGHT=\1/p')"
}

# Clicks the close box of a window's frame (the right end of openbox's title bar). No
# --sync on the moves: it waits for motion, and there is none when the pointer is there.
click_close_box() {
    local window="$1" left right top
    read -r left right top _ < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    client_geometry "$window"
    xdotool mousemove $((X + WIDTH + right - 10)) $((Y - top / 2)) click 1
}

# Points at board cell (x, y). The window's client area is the menu bar over a fixed 436 px
# of board, tool column and status bar, so the menu bar's height is what is left over; the
# board starts 8 px in and 24 px under the top of the area below the menu bar.
point_cell() {
    client_geometry "$main"
    xdotool mousemove $((X + 8 + ($1 - 1) * 24 + 12)) $((Y + HEIGHT - 436 + 24 + ($2 - 1) * 24 + 12))
}
click_cell() { point_cell "$1" "$2" && xdotool click 1; }
# Drags with the left button from board cell ($1, $2) to ($3, $4) in one jump.
drag_cells() { point_cell "$1" "$2" && xdotool mousedown 1 && point_cell "$3" "$4" && xdotool mouseup 1; }

# Clicks floor tab $1: with the fonts the set-up installs, each tab is about 44 px wide.
click_floor_tab() {
    client_geometry "$main"
    xdotool mousemove $((X + 8 + ($1 - 1) * 44 + 22)) $((Y + HEIGHT - 436 + 12)) click 1
}

# Writes the clipboard's plain text to $1 and succeeds when there is some.
clipboard_text() { xclip -o -selection clipboard -t text/plain >"$1" 2>/dev/null && test -s "$1"; }

# Chooses a map command from the keyboard, types a path into the file dialog and accepts it.
file_dialog() {
    local item="$1" title="$2" path="$3" dialog
    xdotool windowactivate --sync "$main" key --clearmodifiers alt+m "$item"
    dialog="$(wait_window "^$title\$")" || { fail "no dialog \"$title\" showed"; return 1; }
    xdotool windowactivate --sync "$dialog" type --delay 30 "$path"
    xdotool key Return
    wait_for "the dialog \"$title\" to close" 60 window_gone "^$title\$"
}

# The caption ends in "*" while the map has unsaved changes.
title_marked() { xdotool getwindowname "$main" 2>/dev/null | grep -q '\*$'; }
title_unmarked() { ! title_marked; }
caption_names() { xdotool getwindowname "$main" 2>/dev/null | grep -qF -- "$1" ; }
# A copy counts once its original.txt is there: the map is written into the folder first,
# and a kill between the two leaves nothing to offer.
recovery_copy_written() { compgen -G "$XDG_DATA_HOME/qzk/qzk-editor/recovery/*/original.txt" >/dev/null; }

# The 16 grid lines of a floor file, without their CR LF.
grid_of() {
    head -n 16 "$1" | tr -d '\r'
}

case "$scenario" in
quit)
    start_and_wait_main
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+q
    answer_question y
    expect_status_zero "Ctrl+Q and yes"

    start_and_wait_main
    xdotool windowactivate --sync "$main" key --clearmodifiers alt+m x
    answer_question y
    expect_status_zero "終了(&X) from the menu and yes"
    ;;
closebox)
    start_and_wait_main
    click_close_box "$main"
    answer_question n
    wait_for "the question to close after no" 60 window_gone "$question_title"
    editor_gone && fail "the editor ended after no: $(cat "$scratch/editor.log")"
    window_shows "$main_title" || fail "the main window is gone after no"
    window_shows "$palette_title" || fail "the chip palette is gone after no"
    # A second request asks once more, once.
    click_close_box "$main"
    answer_question y
    expect_status_zero "the close box and yes"
    ;;
files)
    # Painted cells reach the file saved through the real save dialog.
    start_and_wait_main
    # The palette opens beside the main window, not over its caption and menus.
    client_geometry "$main"
    main_right=$((X + WIDTH))
    client_geometry "$(visible_window "$palette_title")"
    [ "$X" -gt "$main_right" ] ||
        fail "the palette opened over the main window (its left $X, the main window's right $main_right)"
    painted=("1 1" "5 3" "24 16" "6 3")
    for cell in "${painted[@]}"; do
        # shellcheck disable=SC2086
        click_cell $cell
    done
    file_dialog a "名前を付けて保存" "$scratch/painted"
    wait_for "painted.map to be written" 60 test -s "$scratch/painted.map"
    expected="$scratch/expected-grid"
    for y in $(seq 16); do
        line=""
        for x in $(seq 24); do
            code="  "
            for cell in "${painted[@]}"; do
                [ "$cell" = "$x $y" ] && code="[]"
            done
            line+="$code"
        done
        echo "$line"
    done >"$expected"
    diff <(grid_of "$scratch/painted.map") "$expected" >&2 ||
        fail "the saved grid differs from the painted cells (< saved, > painted)"

    # A map opened through the real open dialog is the map shown: saved again, it is
    # the same files.
    mkdir "$scratch/maps"
    cp "$source_dir/docs/sample/meadow.map" "$source_dir/docs/sample/meadow_2.map" "$scratch/maps/"
    file_dialog o "開く" "$scratch/maps/meadow.map"
    file_dialog a "名前を付けて保存" "$scratch/maps/copy.map"
    wait_for "copy_2.map to be written" 60 test -s "$scratch/maps/copy_2.map"
    for floor in "" _2; do
        cmp "$scratch/maps/meadow$floor.map" "$scratch/maps/copy$floor.map" >&2 ||
            fail "meadow$floor.map opened and saved again as copy$floor.map differs"
    done
    # The recent maps submenu works from the first start: its third entry is painted.map.
    xdotool windowactivate --sync "$main" key --clearmodifiers --delay 100 \
        alt+m Down Down Right Down Down Return
    wait_for "painted.map to open from the recent maps" 60 caption_names "/painted.map"
    # The unsaved-changes question answers to its access keys: 保存しない(&N).
    click_cell 2 2
    wait_for "the caption to mark unsaved changes" 60 title_marked
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+q
    answer_question n
    expect_status_zero "Ctrl+Q and 保存しない"
    ;;
undo)
    # Two cells painted, the second taken back: the saved file holds the first only.
    start_and_wait_main
    click_cell 3 3
    click_cell 4 3
    wait_for "the caption to mark unsaved changes" 60 title_marked
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+z
    file_dialog a "名前を付けて保存" "$scratch/undone"
    wait_for "undone.map to be written" 60 test -s "$scratch/undone.map"
    [ "$(sed -n 3p "$scratch/undone.map" | tr -d '\r')" = "    []$(printf '%42s')" ] ||
        fail "row 3 of the saved map is not the first cell alone: $(sed -n 3p "$scratch/undone.map")"
    wait_for "the caption to lose its mark after saving" 60 title_unmarked
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+q
    answer_question y
    expect_status_zero "Ctrl+Q and yes after saving"
    ;;
recovery)
    # Work survives a crash: the copy written a moment after a change is offered again.
    start_and_wait_main
    click_cell 7 2
    wait_for "the recovery copy to be written" 60 recovery_copy_written
    kill -KILL "$editor_pid"
    wait "$editor_pid" 2>/dev/null
    editor_pid=
    # Esc on the restore question means 後で: nothing restored, the copy offered again.
    start_editor
    box="$(wait_window "$question_title")" || exit 1
    xdotool windowactivate --sync "$box" key --clearmodifiers Escape
    wait_for "the restore question to close after Esc" 60 window_gone "$question_title"
    main="$(wait_window "$main_title")" || exit 1
    title_marked && fail "a map was restored after Esc"
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+q
    answer_question y
    expect_status_zero "Ctrl+Q and yes after Esc on the restore question"
    recovery_copy_written || fail "the copy is gone after Esc on the restore question"
    # Return takes the default answer, 復元する.
    start_editor
    box="$(wait_window "$question_title")" || exit 1
    xdotool windowactivate --sync "$box" key --clearmodifiers Return
    wait_for "the restore question to close after Return" 60 window_gone "$question_title"
    main="$(wait_window "$main_title")" || exit 1
    wait_for "the recovered map to show as unsaved" 60 title_marked
    file_dialog a "名前を付けて保存" "$scratch/recovered"
    wait_for "recovered.map to be written" 60 test -s "$scratch/recovered.map"
    [ "$(sed -n 2p "$scratch/recovered.map" | tr -d '\r')" = "$(printf '%12s')[]$(printf '%34s')" ] ||
        fail "row 2 of the recovered map lacks the painted cell: $(sed -n 2p "$scratch/recovered.map")"
    recovery_copy_written && fail "the recovery copy is still there after saving"
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+q
    answer_question y
    expect_status_zero "Ctrl+Q and yes after recovering"
    ;;
blocks)
    # A one-jump stroke leaves no gaps; floor 1 copied onto a new floor 2 saves as the same
    # grid, and the clipboard's text is the file's grid lines.
    start_and_wait_main
    drag_cells 2 3 20 3
    click_cell 5 9
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+a ctrl+c
    wait_for "the clipboard to hold the floor's text" 60 clipboard_text "$scratch/clipboard"
    xdotool windowactivate --sync "$main" key --clearmodifiers alt+s a
    click_floor_tab 2
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+v
    click_cell 1 1
    file_dialog a "名前を付けて保存" "$scratch/blocks"
    wait_for "blocks_2.map to be written" 60 test -s "$scratch/blocks_2.map"
    [ "$(sed -n 3p "$scratch/blocks.map" | tr -d '\r')" = "  $(printf '[]%.0s' $(seq 19))        " ] ||
        fail "row 3 of floor 1 is not the stroke without gaps: $(sed -n 3p "$scratch/blocks.map")"
    diff <(grid_of "$scratch/blocks.map") <(grid_of "$scratch/blocks_2.map") >&2 ||
        fail "the pasted floor 2 differs from floor 1 (< floor 1, > floor 2)"
    cmp <(head -n 16 "$scratch/blocks.map") "$scratch/clipboard" >&2 ||
        fail "the clipboard's text is not the floor file's first 16 lines"
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+q
    answer_question y
    expect_status_zero "Ctrl+Q and yes after pasting"
    ;;
shared)
    # A floor file replaced from outside is read again on yes and saved as it is; a second
    # editor says the map is open.
    maps="$scratch/maps"
    mkdir "$maps" && cp "$source_dir"/docs/sample/meadow{,_2}.map "$maps/"
    start_and_wait_main "$maps/meadow.map"
    LC_ALL=C sed '/^\*NAME/{n;s/.*/Outside\r/}' "$maps/meadow.map" >"$scratch/outside.map"
    # The question comes unasked: a Return typed for the board as it shows does not answer
    # it; keys count after a pause with it on the screen.
    return_when_active "$question_title" &
    pressing=$!
    sleep 0.5
    cp "$scratch/outside.map" "$maps/new" && mv "$maps/new" "$maps/meadow.map"
    box="$(wait_window "$question_title")" || fail "no reload question showed"
    wait "$pressing" || fail "no Return was typed as the reload question showed"
    sleep 1
    xdotool search --onlyvisible --name "$question_title" >/dev/null ||
        fail "a Return as the reload question showed answered it"
    answer_question y
    wait_for "the question to close" 60 window_gone "$question_title"
    inode="$(stat -c %i "$maps/meadow.map")"
    rewritten() { [ "$(stat -c %i "$maps/meadow.map")" != "$inode" ]; }
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+s
    wait_for "Ctrl+S to write meadow.map" 60 rewritten
    cmp "$scratch/outside.map" "$maps/meadow.map" >&2 || fail "the saved meadow.map is not the outside one"
    first_pid="$editor_pid"
    start_editor "$maps/meadow.map"
    wait_window "$question_title" >/dev/null || fail "the second editor did not say the map is open"
    kill "$first_pid" && wait "$first_pid"
    ;;
zoom)
    # Two steps larger the board is twice its size; a click still lands on the cell under it.
    start_and_wait_main
    client_geometry "$main"
    width_before=$WIDTH
    board_top=$((HEIGHT - 436 + 24))
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+plus ctrl+plus
    # Grown, then moved back onto the screen with its title bar: the click waits for both.
    board_grown() {
        local top
        top=$(xprop -id "$main" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g' | cut -d' ' -f3)
        [[ "$top" =~ ^[0-9]+$ ]] || return 1
        client_geometry "$main"
        [ "$WIDTH" -ge $((width_before + 576)) ] && [ $((Y - top)) -ge 0 ] &&
            [ $((X + WIDTH)) -le 1280 ] && [ $((Y + HEIGHT)) -le 800 ]
    }
    wait_for "the window to grow with the board and stay on the screen" 60 board_grown
    # Cell (3,2) at 48 pixels a cell.
    xdotool mousemove $((X + 8 + 2 * 48 + 24)) $((Y + board_top + 48 + 24)) click 1
    wait_for "the caption to mark unsaved changes" 60 title_marked
    file_dialog a "名前を付けて保存" "$scratch/zoomed"
    wait_for "zoomed.map to be written" 60 test -s "$scratch/zoomed.map"
    [ "$(sed -n 2p "$scratch/zoomed.map" | tr -d '\r')" = "$(printf '%4s')[]$(printf '%42s')" ] ||
        fail "row 2 of the saved map is not cell (3,2) alone: $(sed -n 2p "$scratch/zoomed.map")"
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+q
    answer_question y
    expect_status_zero "Ctrl+Q and yes after zooming"
    ;;
replace)
    # The fill tool (F9) turns the 4 x 18 empty cells inside the sample's road loop into road,
    # one click, and one undo takes it back: the replace below starts from the sample.
    mkdir "$scratch/maps"
    cp "$source_dir/docs/sample/meadow.map" "$source_dir/docs/sample/meadow_2.map" "$scratch/maps/"
    start_and_wait_main "$scratch/maps/meadow.map"
    xdotool windowactivate --sync "$main" key --clearmodifiers F9
    click_cell 5 6
    wait_for "the caption to mark the fill" 60 title_marked
    file_dialog a "名前を付けて保存" "$scratch/maps/filled.map"
    wait_for "filled_2.map to be written" 60 test -s "$scratch/maps/filled_2.map"
    roads() { head -n 16 "$1" | grep -o '..' | grep -c '^\[\]$'; }
    added=$(($(roads "$scratch/maps/filled.map") - $(roads "$scratch/maps/meadow.map")))
    [ "$added" -eq 72 ] || fail "the fill laid $added road cells, not the 72 inside the loop"
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+z
    # Every road cell of both floors becomes a double through the replace dialog, one step:
    # the saved files are the sample's with "[]" turned into "DB" cell by cell.
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+h
    dialog="$(wait_window '^チップの置換$')" || { fail "no replace dialog showed"; exit 1; }
    # The first chip is the palette's, the road; Tab goes to the second, one down the double;
    # Tab to the scope and Right widens it to every floor. (Its access key alt+a was now and
    # then lost on a loaded machine, the replace then keeping to one floor.)
    for k in Tab Down Tab Right Return; do
        xdotool windowactivate --sync "$dialog" key --clearmodifiers "$k"
    done
    wait_for "the replace dialog to close" 60 window_gone '^チップの置換$'
    wait_for "the caption to mark unsaved changes" 60 title_marked
    file_dialog a "名前を付けて保存" "$scratch/maps/replaced.map"
    wait_for "replaced_2.map to be written" 60 test -s "$scratch/maps/replaced_2.map"
    for floor in "" _2; do
        # The grid's 48 characters are 24 two-character codes; the rest of the file stays.
        awk 'NR <= 16 { line = ""; for (i = 1; i <= 48; i += 2) { c = substr($0, i, 2);
                 line = line (c == "[]" ? "DB" : c) } $0 = line substr($0, 49) } { print }' \
            "$scratch/maps/meadow$floor.map" >"$scratch/maps/expected$floor.map"
        cmp "$scratch/maps/expected$floor.map" "$scratch/maps/replaced$floor.map" >&2 ||
            fail "replaced$floor.map is not meadow$floor.map with every road a double"
    done
    # One step: a single undo brings the sample back.
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+z
    file_dialog a "名前を付けて保存" "$scratch/maps/undone.map"
    wait_for "undone_2.map to be written" 60 test -s "$scratch/maps/undone_2.map"
    for floor in "" _2; do
        cmp "$scratch/maps/meadow$floor.map" "$scratch/maps/undone$floor.map" >&2 ||
            fail "undone$floor.map is not meadow$floor.map after one undo"
    done
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+q
    answer_question y
    expect_status_zero "Ctrl+Q after replacing"
    ;;
compare)
    # Two cells changed on two floors, compared with the saved files: a line per cell, a
    # double click shows that floor and blinks the cell, and saving leaves nothing to show.
    maps="$scratch/maps"
    mkdir "$maps" && cp "$source_dir"/docs/sample/meadow{,_2}.map "$maps/"
    start_and_wait_main "$maps/meadow.map"
    click_cell 3 11
    wait_for "the caption to mark unsaved changes" 60 title_marked
    click_floor_tab 2
    wait_for "floor 2 to show" 60 caption_names "うずまきの塔"
    click_cell 5 5
    click_floor_tab 1
    wait_for "floor 1 to show" 60 caption_names "はじまりの草原"
    xdotool windowactivate --sync "$main" key --clearmodifiers --delay 100 alt+m d s
    report="$(wait_window '^マップの比較')" || exit 1
    report_says() { xdotool getwindowname "$report" 2>/dev/null | grep -qF -- "$1"; }
    wait_for "the comparison to count two differences" 60 report_says "（違い 2件）"
    # The second line, 2階(5,5), one line of the report font down.
    double_click_second_line() {
        client_geometry "$report"
        xdotool windowactivate --sync "$report" mousemove $((X + 60)) $((Y + 10 + 18)) \
            click --repeat 2 --delay 80 1
    }
    double_click_second_line
    wait_for "the double click to show floor 2" 60 caption_names "うずまきの塔"
    if command -v import >/dev/null && command -v convert >/dev/null; then
        # The blinking outline lies on the cell's edge, in yellow. A screenshot takes long on
        # a busy machine, so each blink gets a few and a missed one is started again.
        client_geometry "$main"
        edge_x=$((X + 8 + 4 * 24 + 1))
        edge_y=$((Y + HEIGHT - 436 + 24 + 4 * 24 + 12))
        cell_yellow() {
            import -window root -crop "1x1+$edge_x+$edge_y" "$scratch/pixel.png" 2>/dev/null &&
                convert "$scratch/pixel.png" -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' \
                    info: | grep -qx '255,230,0'
        }
        blinked=
        for _ in 1 2 3 4 5; do
            double_click_second_line
            for _ in 1 2 3 4; do cell_yellow && blinked=yes && break; done
            [ -n "$blinked" ] && break
        done
        [ -n "$blinked" ] || fail "cell (5,5) did not blink after a double click on its line"
    fi
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+s
    wait_for "the saved files to leave nothing to compare" 60 report_says "（違い 0件）"
    click_close_box "$report"
    wait_for "the comparison window to close" 60 window_gone '^マップの比較'
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+q
    answer_question y
    expect_status_zero "Ctrl+Q and yes after comparing"
    ;;
merge)
    # git's mergetool on floor 1's file: two conflicts in one row resolved by keys in the
    # merge window, one for each side, and the map saved where it is.
    maps="$scratch/maps" versions="$scratch/versions"
    mkdir "$maps" "$versions"
    # Floor 1 of the sample with cells of row 3 set (x and code pairs).
    edited() {
        local file="$1"
        shift
        /usr/bin/python3 - "$source_dir/docs/sample/meadow.map" "$file" "$@" <<'PY'
import sys
lines = open(sys.argv[1], 'rb').read().split(b'\r\n')
row = bytearray(lines[2])
for x, code in zip(sys.argv[3::2], sys.argv[4::2]):
    row[2 * int(x) - 2:2 * int(x)] = code.encode()
lines[2] = bytes(row)
open(sys.argv[2], 'wb').write(b'\r\n'.join(lines))
PY
    }
    edited "$versions/base.map"
    edited "$versions/ours.map" 5 +3 7 DB
    edited "$versions/theirs.map" 5 H_ 7 xm 9 DB
    # The working tree as the merge driver left it: ours, and floor 2 as it was.
    cp "$versions/ours.map" "$maps/meadow.map"
    cp "$source_dir/docs/sample/meadow_2.map" "$maps/"
    start_and_wait_main --merge "$versions/base.map" "$versions/ours.map" \
        "$versions/theirs.map" "$maps/meadow.map"
    merge_window="$(wait_window '^三方向マージ')" || exit 1
    merge_says() { xdotool getwindowname "$merge_window" 2>/dev/null | grep -qF -- "$1"; }
    wait_for "the merge to count two conflicts" 60 merge_says "（衝突 2件、残り 2件）"
    # The first conflict is chosen: theirs for it, then ours for the next one left.
    xdotool windowactivate --sync "$merge_window" key --clearmodifiers --delay 200 alt+t
    wait_for "one conflict to be left" 60 merge_says "残り 1件"
    xdotool windowactivate --sync "$merge_window" key --clearmodifiers --delay 200 alt+o
    wait_for "no conflict to be left" 60 merge_says "残り 0件"
    [ -n "${QZK_SHOT:-}" ] && import -window root "$QZK_SHOT"
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+s
    row_saved() { sed -n 3p "$maps/meadow.map" 2>/dev/null | grep -qF '    S_[]H_+2DBW1DB'; }
    wait_for "meadow.map to hold theirs at (5,3), ours at (7,3) and theirs' (9,3)" 60 row_saved
    cmp -s "$maps/meadow_2.map" "$source_dir/docs/sample/meadow_2.map" ||
        fail "floor 2, which no side changed, was saved otherwise"
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+q
    answer_question y
    expect_status_zero "Ctrl+Q and yes after merging"
    ;;
keyboard)
    # A map made by keys alone, from 新規作成 to the saved files: chips chosen in the palette,
    # a line, a rectangle, a branch point, a warp pair, a floor, the map checked and a line of
    # its report followed to its cell, saved through the file dialog, and the editor quit.
    # Every window is left with Esc, and the keys must come back to the board by themselves.
    maps="$scratch/maps"
    mkdir "$maps" && cp "$source_dir"/docs/sample/meadow{,_2}.map "$maps/"
    start_and_wait_main "$maps/meadow.map"
    # Keys go to the window that has them; a window that takes or gives back the keys is
    # waited for until the window manager has moved them, which takes a while when busy.
    keys() { xdotool key --clearmodifiers --delay 250 "$@"; }
    active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
    wait_active() { wait_for "the keys to go to $2" 60 active_is "$1"; }
    caption_is() { [ "$(xdotool getwindowname "$main" 2>/dev/null)" = "$1" ]; }
    # A menu's letter is typed once its popup shows: typed earlier, it would go to the board
    # and leave the menu open.
    menu() {
        keys "alt+$1"
        wait_window "^$2\\($(tr a-z A-Z <<<"$1")\\)\$" >/dev/null &&
            keys "$3" && wait_for "the menu $2 to close" 60 window_gone "^$2\\("
    }
    wait_for "the sample map to show" 60 caption_names "はじまりの草原"
    xdotool windowactivate --sync "$main"
    wait_active "$main" "the main window"
    # 新規作成 asks first; yes empties the map down to one floor.
    menu m マップ n
    question="$(wait_window '^新規マップの作成$')" || exit 1
    wait_active "$question" "the new map question"
    keys alt+y
    wait_for "an empty new map" 60 caption_is "Q;zKマップエディタ"
    wait_active "$main" "the main window after the question"
    # A mode switch makes the palette anew.
    to_palette() {
        local palette
        palette="$(wait_window "$palette_title")" && keys F12 && wait_active "$palette" "the palette"
    }
    back_to_board() { keys Escape && wait_active "$main" "the board after Esc in $1"; }
    # Each chip comes from the palette by arrows, F12 going there and Esc coming back: the
    # start (five rows down the palette) on (1,1).
    to_palette && keys Down Down Down Down && back_to_board palette && keys space
    # Road by the line tool, the button two Tabs from the board, from (2,1) to (8,1); the tool
    # is switched off the same way.
    to_palette && keys Up Up Up Up && back_to_board palette
    line_tool() { keys Tab Tab space shift+Tab shift+Tab; }
    line_tool && keys Right space Right Right Right Right Right Right space && line_tool
    # A road rectangle from (8,2) to (10,4): Space anchors, the arrows stretch, Space lays.
    keys F11 Down space Down Down Right Right space F11
    # The goal (right of the start in the palette) under it, on (10,5).
    to_palette && keys Down Down Down Down Right && back_to_board palette && keys Down space
    # A branch point on (3,1): the right arm one way, composed by keys in the branch window.
    keys F6
    branch="$(wait_window '^分岐点の設定$')" || exit 1
    keys F12 && wait_active "$branch" "the branch window"
    keys Right Right && back_to_board "the branch window"
    keys ctrl+Up Left Left Left Left Left Left Left space
    # A new pair from (3,3) to (6,5): the window's list, then its first button.
    keys F7
    warp="$(wait_window '^ワープの設定$')" || exit 1
    keys F12 && wait_active "$warp" "the warp window"
    keys Tab space && back_to_board "the warp window"
    keys Down Down space Right Right Right Down Down space
    # A second floor, shown, with road on (6,5) and beside it the border of a road rectangle
    # from (7,5) to (9,7): Shift with the last Space lays the border alone.
    keys F5
    to_palette && keys Up Up Up Up Left && back_to_board palette
    menu s 階層 a
    keys ctrl+Next space
    keys F11 Right space Right Right Down Down shift+space F11
    # Warp 1 (five rows down, fifth along) chosen for what comes after the check.
    to_palette && keys Down Down Down Down Right Right Right Right && back_to_board palette
    # The check names the pair whose source is no warp cell, its third line; Enter on that
    # line shows floor 1 with the keyboard's cell on (3,3), where Space lays the warp chip
    # once Esc has closed the report.
    menu t ツール c
    report="$(wait_window '^マップチェックの結果報告$')" || fail "the check report did not show"
    if [ -n "$report" ]; then
        wait_active "$report" "the check report"
        keys Home Down Down Return Escape
        wait_for "Esc to close the check report" 60 window_gone '^マップチェックの結果報告$'
        wait_active "$main" "the board after Esc in the check report"
    fi
    keys space
    # Saved under a name typed into the file dialog.
    menu m マップ a
    dialog="$(wait_window '^名前を付けて保存$')" || exit 1
    wait_active "$dialog" "the save dialog"
    xdotool type --delay 30 "$scratch/keys"
    keys Return
    wait_for "keys_2.map to be written" 60 test -s "$scratch/keys_2.map"
    wait_active "$main" "the main window after saving"
    for floor in "" _2; do
        cmp "$source_dir/tests/realprogram/keyboard$floor.map" "$scratch/keys$floor.map" >&2 ||
            fail "keys$floor.map differs from the map made by keys"
    done
    keys ctrl+q
    question="$(wait_window "$question_title")" || exit 1
    wait_active "$question" "the quit question"
    keys alt+y
    expect_status_zero "Ctrl+Q and yes after a session by keys"
    ;;
accessibility)
    # The board read from outside the process as a screen reader reads it: a table of 16
    # rows and 24 columns with row and column headers, whose focused cell follows the arrow
    # keys, named by its place; the palette's chips as a list; the mode buttons as radio
    # buttons; every control that takes the keyboard named.
    start_and_wait_main
    /usr/bin/python3 "$source_dir/tests/realprogram/walkcontrols.py" walk >"$scratch/walk.log" 2>&1
    grep -qx 'walk counts: unnamed 0 english 0 unreachable 0 nameless [0-9]*' "$scratch/walk.log" ||
        fail "controls a reader cannot use: $(cat "$scratch/walk.log")"
    /usr/bin/python3 "$source_dir/tests/realprogram/readboard.py" 180 >"$scratch/reader.log" 2>&1 &
    reader_pid=$!
    wait_for "the reader to listen" 90 grep -q '^ready' "$scratch/reader.log"
    heard() { grep -qx "$1" "$scratch/reader.log" || fail "the reader did not hear \"$1\": $(cat "$scratch/reader.log")"; }
    heard 'table 盤面 rows 16 columns 24'
    heard 'cell 0,0 table cell: (1,1) 何もないマス（空白）'
    heard 'headers of cell 4,6: table row header 5行, table column header 7列'
    heard 'radio buttons: マップチップ配置モード / 分岐点設定モード / ワープ設定モード'
    grep -q '^list マップチップ items 48: 普通の道 / ダブル：次の手番は出た目の2倍進む / .* / 7マス進む / .* / 何もないマス（空白）$' \
        "$scratch/reader.log" || fail "the palette's chips are not a list of 48: $(cat "$scratch/reader.log")"
    # F12 takes the keys to the palette, where the chosen chip has the focus and an arrow
    # chooses the next, and back to the board.
    xdotool windowactivate --sync "$main" key --clearmodifiers F12
    wait_for "the reader to hear the chosen chip" 30 grep -qx 'focus list item: 普通の道' "$scratch/reader.log"
    xdotool key Right
    wait_for "the reader to hear the chip chosen by a key" 30 \
        grep -qx 'focus list item: ダブル：次の手番は出た目の2倍進む' "$scratch/reader.log"
    xdotool key F12
    xdotool key --delay 200 Right Right Down
    spoken() { grep -qx "focus table cell: (3,2) 何もないマス（空白）" "$scratch/reader.log"; }
    if ! wait_for "the reader to hear cell (3,2)" 30 spoken; then
        echo "--- reader ---" >&2
        cat "$scratch/reader.log" >&2
    fi
    # Space lays the chosen chip: the reader is told the cell's new name, not left with the old.
    xdotool key space
    renamed() { grep -qx "name table cell: (3,2) ダブル：次の手番は出た目の2倍進む" "$scratch/reader.log"; }
    if ! wait_for "the reader to hear the new chip on (3,2)" 30 renamed; then
        echo "--- reader ---" >&2
        cat "$scratch/reader.log" >&2
    fi
    # Taken back, so that quitting asks nothing about unsaved changes; the reader is told
    # the cell's old name again.
    emptied() { grep -cx "name table cell: (3,2) 何もないマス（空白）" "$scratch/reader.log"; }
    emptied_before="$(emptied)"
    xdotool key ctrl+z
    emptied_again() { [ "$(emptied)" -gt "$emptied_before" ]; }
    wait_for "the reader to hear (3,2) emptied by the undo" 30 emptied_again
    # News no focused control says reaches the reader as announcements, which Qt sends from
    # 6.8 on; the Qt the editor was built with decides (the build passes its version).
    qt_version="${QZK_QT_VERSION:-$(qtpaths6 --qt-version 2>/dev/null || qtpaths --qt-version 2>/dev/null)}"
    announcing=
    if [ -z "$qt_version" ]; then
        echo "announcements: not checked, the editor's Qt version is unknown"
    elif printf '6.8\n%s\n' "$qt_version" | sort -CV; then
        announcing=yes
    else
        echo "announcements: not checked, the editor's Qt $qt_version is older than 6.8, which sends them"
    fi
    news() { grep -qxF "news: $1" "$scratch/reader.log"; }
    if [ -n "$announcing" ]; then
        # The line tool's prompt for the end point, once its start is laid on (3,2); the tool
        # (two Tabs from the board) is switched off again, which drops the start.
        xdotool key --delay 200 Tab Tab space shift+Tab shift+Tab space
        wait_for "the reader to hear the prompt for the line's end" 30 news "終点をクリックして下さい。" ||
            cat "$scratch/reader.log" >&2
        xdotool key --delay 200 Tab Tab space shift+Tab shift+Tab
    fi
    # A floor added from the menu and shown: every cell says something else, the cursor's
    # with the floor first; once the cursor moves, the floor is not said again.
    # The menu may open after its access key's letter came, on a slow machine: tried again
    # until the map shows as changed.
    title_unmarked || fail "the map shows as changed before a floor is added"
    for try in 1 2 3 4; do
        [ "$try" -eq 4 ] && { fail "four tries did not add a floor"; break; }
        xdotool key --delay 300 alt+s a
        for _ in $(seq 100); do title_marked && break 2; sleep 0.1; done
        xdotool key Escape Escape
    done
    xdotool key ctrl+Next
    floor_told() { grep -qx "name table cell: 2階 (3,2) 何もないマス（空白）" "$scratch/reader.log"; }
    wait_for "the reader to hear the second floor" 30 floor_told
    xdotool key Right
    wait_for "the reader to hear (4,2) without the floor" 30 \
        grep -qx "focus table cell: (4,2) 何もないマス（空白）" "$scratch/reader.log"
    if [ -n "$announcing" ]; then
        # A floor switched while the board does not have the keys is announced: from the
        # palette, where Ctrl+PgUp works too.
        palette="$(visible_window "$palette_title")"
        palette_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$palette" ]; }
        xdotool key F12
        wait_for "F12 to take the keys to the palette" 60 palette_active
        xdotool key ctrl+Prior
        wait_for "the reader to hear floor 1 announced" 30 news "1階" || cat "$scratch/reader.log" >&2
        xdotool key F12
    fi
    xdotool key ctrl+z
    kill "$reader_pid" 2>/dev/null
    wait "$reader_pid" 2>/dev/null
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+q
    answer_question y
    expect_status_zero "Ctrl+Q and yes after reading the board"
    ;;
windows)
    # Each window opens whole on the screen and clear of the palette; Esc closes it and F12
    # leaves it, the keys going back to the board; Enter on a line goes to its cell.
    maps="$scratch/maps"
    mkdir "$maps" && cp "$source_dir"/docs/sample/meadow{,_2}.map "$maps/"
    start_and_wait_main "$maps/meadow.map"
    palette="$(visible_window "$palette_title")"
    active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
    screen_width="${screen_size%x*}" screen_height="${screen_size#*x}"
    # Sets LEFT TOP RIGHT BOTTOM of a window's frame; fails while the window manager has not
    # told the frame's extents yet.
    frame_of() {
        local extents left right top bottom
        extents="$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null)"
        [[ "$extents" == *=* ]] || return 1
        read -r left right top bottom <<<"$(sed 's/.*= //; s/,//g' <<<"$extents")"
        X=
        client_geometry "$1"
        [ -n "$X" ] || return 1
        LEFT=$((X - left)) TOP=$((Y - top)) RIGHT=$((X + WIDTH + right)) BOTTOM=$((Y + HEIGHT + bottom))
    }
    # Succeeds once each window is framed and its frame is where it was a moment before: the
    # window manager frames, and the editor may place again, after the window shows.
    frames_settled() {
        local window before=() after=()
        for window in "$@"; do
            frame_of "$window" || return 1
            before+=("$LEFT,$TOP,$RIGHT,$BOTTOM")
        done
        sleep 0.3
        for window in "$@"; do
            frame_of "$window" || return 1
            after+=("$LEFT,$TOP,$RIGHT,$BOTTOM")
        done
        [ "${before[*]}" = "${after[*]}" ]
    }
    # The tool column's width at 100 %: folded in two where the screen is too low for it.
    scale="${QT_SCALE_FACTOR:-1}"
    column=64
    [ $((screen_height / scale)) -lt 500 ] && column=116
    # Waits for a window to be placed well (a window placed before the window manager framed
    # it is corrected once framed); reports what is wrong when it is not.
    placed_well() {
        local window="$1" name="$2"
        wait_for "the frames of $name and the palette to settle" 60 \
            frames_settled "$window" "$palette" || return 0
        wait_for "$name to be placed on the screen and clear of the palette" 20 \
            placed_now "$window" "$name" quiet >/dev/null
        placed_now "$window" "$name"
        return 0
    }
    placed_now() {
        local window="$1" name="$2" quiet="${3:-}" bad=0
        report() { bad=1; [ -z "$quiet" ] && fail "$@"; }
        frame_of "$palette" || { report "the palette has no frame"; return 1; }
        local pl=$LEFT pt=$TOP pr=$RIGHT pb=$BOTTOM
        frame_of "$window" || { report "$name has no frame"; return 1; }
        echo "$name: frame $LEFT,$TOP to $RIGHT,$BOTTOM; palette $pl,$pt to $pr,$pb"
        [ "$LEFT" -ge 0 ] && [ "$TOP" -ge 0 ] && [ "$RIGHT" -le "$screen_width" ] &&
            [ "$BOTTOM" -le "$screen_height" ] ||
            report "$name runs off the $screen_size screen: $LEFT,$TOP to $RIGHT,$BOTTOM"
        # Over the main window the palette may lie on the board only: not on its title and
        # menu bar (the client's top 24 px at 100 %) nor on its tool column on the right.
        if [ "$window" = "$main" ] && [ "$pl" -lt "$RIGHT" ] && [ "$pr" -gt "$LEFT" ] &&
            [ "$pt" -lt "$BOTTOM" ] && [ "$pb" -gt "$TOP" ]; then
            [ "$pr" -gt $((RIGHT - column * scale)) ] &&
                report "the palette covers the main window's tool buttons"
            [ "$pt" -lt $((Y + 24 * scale)) ] && report "the palette covers the main window's menus"
        fi
        [ "$window" != "$main" ] && [ "$LEFT" -lt "$pr" ] && [ "$RIGHT" -gt "$pl" ] &&
            [ "$TOP" -lt "$pb" ] && [ "$BOTTOM" -gt "$pt" ] && report "$name opened under the palette"
        [ -z "$quiet" ] && [ -n "${QZK_SHOT:-}" ] && import -window root "$QZK_SHOT-$name.png"
        return "$bad"
    }
    placed_well "$main" main
    # One cell changed on floor 2 by keys (the board's cells grow with the scale), then
    # floor 1 shown: the comparison's one line names it.
    # F12 twice: to the palette and back, the keys then on the board.
    xdotool windowactivate --sync "$main" key --clearmodifiers F12
    wait_for "F12 to move the keys to the palette" 60 active_is "$palette"
    xdotool key --clearmodifiers F12
    wait_for "F12 to move the keys to the board" 60 active_is "$main"
    xdotool key --clearmodifiers --delay 200 ctrl+Next
    wait_for "floor 2 to show" 60 caption_names "うずまきの塔"
    xdotool key --clearmodifiers --delay 200 Right space ctrl+Prior
    wait_for "floor 1 to show" 60 caption_names "はじまりの草原"
    wait_for "Space to lay a chip on floor 2" 60 title_marked
    xdotool windowactivate --sync "$main" key --clearmodifiers --delay 100 alt+m d s
    compare="$(wait_window '^マップの比較')" || exit 1
    placed_well "$compare" compare
    xdotool windowactivate --sync "$compare" key --clearmodifiers --delay 200 Down Return
    wait_for "Enter on the line to show floor 2" 60 caption_names "うずまきの塔"
    xdotool windowactivate --sync "$compare" key --clearmodifiers Escape
    wait_for "Esc to close the comparison" 60 window_gone '^マップの比較'
    wait_for "the keys to go back to the main window" 60 active_is "$main"
    xdotool windowactivate --sync "$main" key --clearmodifiers --delay 100 alt+t c
    report="$(wait_window '^マップチェックの結果報告')" || exit 1
    placed_well "$report" "check report"
    xdotool windowactivate --sync "$report" key --clearmodifiers F12
    wait_for "F12 to take the keys from the report to the main window" 60 active_is "$main"
    window_shows '^マップチェックの結果報告' || fail "F12 closed the check report"
    xdotool windowactivate --sync "$report" key --clearmodifiers Escape
    wait_for "Esc to close the check report" 60 window_gone '^マップチェックの結果報告'
    wait_for "the keys to go back to the main window" 60 active_is "$main"
    xdotool windowactivate --sync "$main" key --clearmodifiers --delay 100 alt+t i
    info="$(wait_window '^マップの情報$')" || exit 1
    placed_well "$info" information
    xdotool windowactivate --sync "$info" key --clearmodifiers Escape
    wait_for "Esc to close the information" 60 window_gone '^マップの情報$'
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+q
    answer_question n
    expect_status_zero "Ctrl+Q and 保存しない after the windows"
    ;;
*)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac

if [ "$failures" -ne 0 ]; then
    echo "--- editor output ---" >&2
    cat "$scratch/editor.log" >&2
    exit 1
fi
echo "$scenario: passed"
