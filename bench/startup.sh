#!/usr/bin/env bash
# Start-up of the real editor under Xvfb against a yardstick, side by side in one run:
# milliseconds from process start until X maps the main window, the CPU time the program had
# used by then (which a loaded machine does not stretch), and resident memory and CPU time a
# second later. The yardstick is an empty Qt window of the editor's shape (emptywindow --shape: menu
# bar, floor tabs, status bar, one tool window, Japanese text), or another program given with
# --against (another build of the editor, or the same one in another environment).
#
#   bench/startup.sh [-n RUNS] [-w WARM-UPS] [--against 'COMMAND'] [--accessibility]
#                    [EDITOR [ARGS...]]
#
# The two programs take turns, the first of each pair alternating (ABBA...), so a drift in the
# machine's load falls on both alike; the warm-up pairs (default 3) fill the file caches and are
# not counted. For each program the report gives the median, the interquartile range and the
# extremes of RUNS runs (default 31), of the wall time and of the CPU time; then the ratio of
# the medians and the median of the differences within each pair, which a load that changes
# between pairs disturbs least.
# --accessibility runs both on a session bus of their own with the desktop's accessibility bus
# started and Qt's bridge on (QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1); a command starting with
# 'env -u QT_LINUX_ACCESSIBILITY_ALWAYS_ON' measures the bridge off beside it.
# Each program gets empty settings and data folders, so no recovery question or recent map
# from earlier use enters the measurement.
set -euo pipefail
build="$(cd "$(dirname "$0")/.." && pwd)/build"
runs=31 warmups=3 against="$build/bench/emptywindow --shape" accessibility=
while [ $# -gt 0 ]; do
    case "$1" in
    -n) runs="$2"; shift 2 ;;
    -w) warmups="$2"; shift 2 ;;
    --against) against="$2"; shift 2 ;;
    --accessibility) accessibility=1; shift ;;
    --) shift; break ;;
    -*) echo "usage: $0 [-n RUNS] [-w WARM-UPS] [--against 'COMMAND'] [--accessibility] [EDITOR [ARGS...]]" >&2; exit 64 ;;
    *) break ;;
    esac
done
editor="${1:-$build/qzk-editor}"
[ $# -gt 0 ] && shift
probe="$build/bench/startupprobe"
[ -x "$probe" ] || { echo "$0 needs $probe (built when libx11-dev is installed)" >&2; exit 1; }
[ -x "$build/bench/emptywindow" ] || { echo "$0 needs $build/bench/emptywindow" >&2; exit 1; }
command -v xvfb-run >/dev/null || { echo "$0 needs xvfb-run (Debian: xvfb)" >&2; exit 1; }

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# The measuring loop, run on the display (and, with --accessibility, the bus) of its own.
cat >"$scratch/measure.sh" <<'MEASURE'
set -euo pipefail
probe="$1" runs="$2" warmups="$3" scratch="$4" against="$5" editor="$6"
shift 6
if [ -n "${QZK_ACCESSIBILITY_BUS:-}" ]; then
    # Started before the first run, as a desktop has it, and not by the first program's asking.
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    bus_pid=$!
    trap 'kill "$bus_pid" 2>/dev/null; wait "$bus_pid" 2>/dev/null || true' EXIT
    for _ in $(seq 50); do
        dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
            >/dev/null 2>&1 && break
        sleep 0.1
    done
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
fi
read -r -a other <<<"$against"
shown() { sed -n 's/.*shown after \([0-9.]*\) ms.*/\1/p'; }
cpu() { sed -n 's/.*cpu \([0-9.]*\) ms.*/\1/p'; }
resident() { sed -n 's/.*resident \([0-9]*\) kB.*/\1/p'; }
settled() { sed -n 's/.*cpu after 1 s \([0-9.]*\) ms.*/\1/p'; }
start() {
    local side="$1"
    shift
    mkdir -p "$scratch/home-$side/config" "$scratch/home-$side/data"
    XDG_CONFIG_HOME="$scratch/home-$side/config" XDG_DATA_HOME="$scratch/home-$side/data" \
        "$probe" zK "$@" | tail -1
}
: >"$scratch/times-a" >"$scratch/times-b"
for i in $(seq $((warmups + runs))); do
    for side in a b; do
        # Pairs alternate which program goes first.
        if [ $(((i + 1) % 2)) -eq 1 ]; then side=$([ "$side" = a ] && echo b || echo a); fi
        if [ "$side" = a ]; then line=$(start a "$editor" "$@"); else line=$(start b "${other[@]}"); fi
        if [ "$i" -le "$warmups" ]; then
            echo "warm-up $i $side: $line"
        else
            echo "run $((i - warmups)) $side: $line"
            echo "$(echo "$line" | shown) $(echo "$line" | cpu) $(echo "$line" | resident) $(echo "$line" | settled)" >>"$scratch/times-$side"
        fi
    done
done
MEASURE

echo "A: $editor $*"
echo "B: $against"
echo "load before: $(uptime)"
command=(xvfb-run -a -s "-screen 0 1024x768x24" bash "$scratch/measure.sh"
    "$probe" "$runs" "$warmups" "$scratch" "$against" "$editor" "$@")
if [ -n "$accessibility" ]; then
    for tool in dbus-run-session dbus-send /usr/libexec/at-spi-bus-launcher; do
        command -v "$tool" >/dev/null || { echo "$0 needs $tool (Debian: dbus, at-spi2-core)" >&2; exit 1; }
    done
    echo "accessibility: own session bus, accessibility bus running, QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1"
    env QZK_ACCESSIBILITY_BUS=1 dbus-run-session -- "${command[@]}"
else
    env -u DBUS_SESSION_BUS_ADDRESS -u QT_LINUX_ACCESSIBILITY_ALWAYS_ON "${command[@]}"
fi
echo "load after: $(uptime)"

# Quartiles by linear interpolation between the sorted values.
summary() {
    sort -n | awk -v what="$1" '
        function q(p,   h, l) { h = (NR - 1) * p + 1; l = int(h); return v[l] + (h - l) * (v[l + 1] - v[l]) }
        { v[NR] = $1 }
        END { v[NR + 1] = v[NR]
              printf "%s median %.1f ms, interquartile %.1f-%.1f (%.1f), range %.1f-%.1f, n %d\n",
                     what, q(0.5), q(0.25), q(0.75), q(0.75) - q(0.25), v[1], v[NR], NR }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# Wall time, the CPU time the program had used when its window was mapped, and a second later.
titles=("" "-- wall time until the window is mapped" "-- CPU time until then" ""
    "-- CPU time one second later (the first paint and whatever the program does once shown)")
for field in 1 2 4; do
    echo "${titles[$field]}"
    cut -d' ' -f$field "$scratch/times-a" | summary "A:"
    cut -d' ' -f$field "$scratch/times-b" | summary "B:"
    paste -d' ' "$scratch/times-a" "$scratch/times-b" |
        awk -v f=$field '{ print $f - $(f + 4) }' | summary "A - B within pairs:"
    a=$(cut -d' ' -f$field "$scratch/times-a" | median) b=$(cut -d' ' -f$field "$scratch/times-b" | median)
    echo "ratio of medians A / B: $(awk "BEGIN { printf \"%.3f\", $a / $b }")x"
done
echo "resident: A median $(cut -d' ' -f3 "$scratch/times-a" | median) kB, B median $(cut -d' ' -f3 "$scratch/times-b" | median) kB"
