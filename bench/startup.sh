#!/usr/bin/env bash
# Start-up of the real editor under Xvfb against its yardstick, side by side in one run:
# milliseconds from process start until X maps the main window, and resident memory a second
# later. The yardstick is an empty Qt window of the editor's shape (emptywindow --shape:
# menu bar, floor tabs, status bar, one tool window, Japanese text). Runs alternate between
# the two, N times each (default 5); the medians and their ratio close the report. Further
# arguments go to the editor.
set -euo pipefail
build="$(cd "$(dirname "$0")/.." && pwd)/build"
editor="${1:-$build/qzk-editor}"
runs="${2:-5}"
shift $(($# < 2 ? $# : 2))
probe="$build/bench/startupprobe"
yardstick="$build/bench/emptywindow"
for tool in "$probe" "$yardstick"; do
    [ -x "$tool" ] || { echo "$0 needs $tool (built when libx11-dev is installed)" >&2; exit 1; }
done
command -v xvfb-run >/dev/null || { echo "$0 needs xvfb-run (Debian: xvfb)" >&2; exit 1; }
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
probe="$1" editor="$2" yardstick="$3" runs="$4"
shift 4
editorMs=() emptyMs=()
shown() { sed -n "s/.*shown after \([0-9.]*\) ms.*/\1/p"; }
for i in $(seq "$runs"); do
    line=$("$probe" "zK" "$editor" "$@" | tail -1)
    echo "run $i editor:      $line"
    editorMs+=("$(echo "$line" | shown)")
    line=$("$probe" "zK" "$yardstick" --shape | tail -1)
    echo "run $i empty shape: $line"
    emptyMs+=("$(echo "$line" | shown)")
done
median() { printf "%s\n" "$@" | sort -n | awk "{ v[NR] = \$1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }"; }
e=$(median "${editorMs[@]}") y=$(median "${emptyMs[@]}")
echo "median: editor $e ms, empty window of its shape $y ms, ratio $(awk "BEGIN { printf \"%.2f\", $e / $y }")x"
' bash "$probe" "$editor" "$yardstick" "$runs" "$@"
