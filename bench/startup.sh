#!/usr/bin/env bash
# Start-up of the real editor under Xvfb: milliseconds from process start until the main
# window is visible, and resident memory once it has settled. Repeats N times (default 5).
set -euo pipefail
for tool in xvfb-run xdotool; do
    command -v "$tool" >/dev/null || { echo "$0 needs $tool (Debian: xvfb, imagemagick, xdotool)" >&2; exit 1; }
done
editor="${1:-$(dirname "$0")/../build/qzk-editor}"
runs="${2:-5}"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
for i in $(seq '"$runs"'); do
    start=$(date +%s%N)
    "'"$editor"'" >/dev/null 2>&1 & pid=$!
    xdotool search --sync --onlyvisible --name "Q;zK" >/dev/null
    shown=$(date +%s%N)
    sleep 1
    rss=$(awk "/VmRSS/ {print \$2}" /proc/$pid/status)
    echo "run $i: window shown after $(( (shown - start) / 1000000 )) ms, resident ${rss} kB"
    kill $pid; wait $pid 2>/dev/null || true
done'
