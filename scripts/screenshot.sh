#!/usr/bin/env bash
# Starts the built editor on a virtual screen with the sample map and saves a picture of each
# edit mode: edit-mode.png, branch-mode.png and warp-mode.png in docs/, or in the folder $1.
set -euo pipefail
for tool in xvfb-run import xdotool openbox; do
    command -v "$tool" >/dev/null ||
        { echo "$0 needs $tool (Debian: xvfb, imagemagick, xdotool, openbox)" >&2; exit 1; }
done
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export QZK_EDITOR="$root/build/qzk-editor"
export QZK_SHOT_OUT="${1:-$root/docs}"
export QZK_SHOT_MAP="${QZK_SHOT_MAP:-$root/docs/sample/meadow.map}"
mkdir -p "$QZK_SHOT_OUT"
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 920x520x24" bash -c '
    set -euo pipefail
    openbox >/dev/null 2>&1 & wm=$!
    xdotool search --sync --name "^Openbox\$" >/dev/null
    "$QZK_EDITOR" "$QZK_SHOT_MAP" & editor=$!
    trap "kill $editor $wm 2>/dev/null" EXIT
    main="$(xdotool search --sync --onlyvisible --name "^Q;zK" | head -n 1)"
    tool="$(xdotool search --sync --onlyvisible --name "^マップチップ\$" | head -n 1)"
    # The window manager centres the main window; both go side by side from the left.
    xdotool windowmove --sync "$main" 0 0
    eval "$(xdotool getwindowgeometry --shell "$main")"
    xdotool windowmove "$tool" $((WIDTH + 8)) 0
    # Gives the window and its tool window time to open and draw before each picture.
    shot() {
        sleep "${QZK_SHOT_DELAY:-2}"
        import -window root "$QZK_SHOT_OUT/$1"
        echo "$QZK_SHOT_OUT/$1"
    }
    shot edit-mode.png
    # F6 and F7 are the menu shortcuts of branch mode and warp mode.
    xdotool windowactivate --sync "$main" key F6
    shot branch-mode.png
    xdotool windowactivate --sync "$main" key F7
    shot warp-mode.png
'
