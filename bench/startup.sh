#!/usr/bin/env bash
# Start-up of the real editor under Xvfb: milliseconds from process start until X maps the
# main window, and resident memory a second later. Repeats N times (default 5); further
# arguments go to the program.
set -euo pipefail
build="$(cd "$(dirname "$0")/.." && pwd)/build"
editor="${1:-$build/qzk-editor}"
runs="${2:-5}"
shift $(($# < 2 ? $# : 2))
probe="$build/bench/startupprobe"
[ -x "$probe" ] || { echo "$0 needs $probe (built when libx11-dev is installed)" >&2; exit 1; }
command -v xvfb-run >/dev/null || { echo "$0 needs xvfb-run (Debian: xvfb)" >&2; exit 1; }
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
for i in $(seq '"$runs"'); do
    echo -n "run $i: "
    "'"$probe"'" "zK" "'"$editor"'" "$@"
done' bash "$@"
