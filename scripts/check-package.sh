#!/usr/bin/env bash
# Checks the Debian package where a user installs it: builds it in one brand-new minimal Debian
# root, then installs it with apt in a second one and checks it there, as root:
#   qzk-map checks the installed sample map; the editor shows its main window on an X display;
#   a floor file has the map type (gio) and the editor as its program (xdg-mime); F1 opens
#   the installed help; then the editor's start-up is timed against an empty Qt window of its
#   shape, built there from the clone (medians of 15 runs each, QZK_STARTUP_RUNS); at last
#   apt-get remove leaves none of the package's own files behind.
#
#   scripts/check-package.sh [bookworm|trixie]      (Debian 12, the default, or Debian 13)
#
# Needs root and the fresh-root tool (QZK_FRESH_DEBIAN, by default ../shared/tools/fresh-debian
# beside the checkout), which clones the checkout's committed state. Takes a while: two roots,
# each with its packages downloaded and installed, and two builds. QZK_KEEP_DEB=folder keeps the
# package built; QZK_DEB=file checks that package instead of building one.
set -euo pipefail

stage="${1:-bookworm}"
apt_install() {
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@"
}

# Inside the first root: the package alone on standard output, everything else on stderr.
build_inside() {
    exec 3>&1 1>&2
    apt-get update -qq
    apt_install --no-install-recommends build-essential cmake ninja-build qt6-base-dev \
        qt6-base-dev-tools libgl-dev file >/dev/null
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQZK_BENCHMARKS=OFF >/dev/null
    # The two programs are all the package holds; the tests are left unbuilt.
    cmake --build build -j"$(nproc)" --target qzk-editor qzk-map qzk_changelog
    (cd build && cpack >/dev/null)
    local deb
    deb="$(ls build/qzk-editor_*.deb)"
    echo "built $(basename "$deb"): $(stat -c %s "$deb") bytes" >&2
    cat "$deb" >&3
}

failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}
pass() {
    echo "PASS: $*"
}

median() {
    printf '%s\n' "$@" | sort -n |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The installed editor's start-up on the display in DISPLAY against an empty Qt window of its
# shape (bench/emptywindow --shape), built here from the project's clone with the system's Qt.
# The two alternate, after one warm-up each, so that both see the same load on the machine.
startup_against_empty() {
    local work="$1" runs="${QZK_STARTUP_RUNS:-15}" bench="$1/bench" source
    source="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    apt_install --no-install-recommends build-essential cmake ninja-build qt6-base-dev \
        qt6-base-dev-tools libgl-dev libx11-dev >"$work/bench-apt.log" 2>&1 || {
        cat "$work/bench-apt.log"
        fail "start-up: installing what builds the empty window"
        return
    }
    # Google Benchmark is not installed: the bench folder then builds only its windows and probe.
    { cmake -S "$source" -B "$bench" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DQZK_BENCHMARKS=ON && cmake --build "$bench" --target emptywindow startupprobe; } \
        >"$work/bench-build.log" 2>&1 || {
        tail -n 30 "$work/bench-build.log"
        fail "start-up: building the empty window"
        return
    }
    local probe="$bench/bench/startupprobe" empty="$bench/bench/emptywindow"
    local editorMs=() emptyMs=() i line
    shown() { sed -n 's/.*shown after \([0-9.]*\) ms.*/\1/p'; }
    for i in $(seq 0 "$runs"); do
        # The editor starts as a user starts it from the menu: no map, its own fresh settings.
        line="$(cd "$work" && env XDG_CONFIG_HOME="$work/startup-config" \
            XDG_DATA_HOME="$work/startup-data" "$probe" zK /usr/bin/qzk-editor | tail -n 1 | shown)"
        [ "$i" -gt 0 ] && editorMs+=("$line")
        line="$("$probe" zK "$empty" --shape | tail -n 1 | shown)"
        [ "$i" -gt 0 ] && emptyMs+=("$line")
    done
    if [ ${#editorMs[@]} -ne "$runs" ] || [ ${#emptyMs[@]} -ne "$runs" ] ||
        printf '%s\n' "${editorMs[@]}" "${emptyMs[@]}" | grep -qv '^[0-9.]\+$'; then
        fail "start-up: runs without a window: editor '${editorMs[*]}', empty window '${emptyMs[*]}'"
        return
    fi
    echo "INFO: start-up, ms until the window is mapped, $runs runs each after a warm-up:"
    echo "INFO:   /usr/bin/qzk-editor:       ${editorMs[*]}"
    echo "INFO:   empty window, its shape: ${emptyMs[*]}"
    local e y
    e="$(median "${editorMs[@]}")"
    y="$(median "${emptyMs[@]}")"
    pass "start-up median: the installed editor $e ms, an empty Qt window of its shape $y ms," \
        "ratio $(awk "BEGIN { printf \"%.2f\", $e / $y }")x ($(. /etc/os-release && echo "$PRETTY_NAME"))"
}

# Inside the second root: the package arrives on standard input.
check_inside() {
    # Every check runs and says what it saw; the failures are counted, not fatal.
    set +e
    local deb=/tmp/qzk-editor.deb
    cat >"$deb"
    dpkg-deb -f "$deb" Package Version Depends Recommends
    apt-get update -qq
    # The package's own dependencies and recommendations, nothing else installed before.
    local before
    before="$(dpkg-query -W -f='${Package}\n' | wc -l)"
    apt_install "$deb" >/tmp/apt.log 2>&1 || { cat /tmp/apt.log; fail "apt-get install"; return; }
    pass "apt-get install ./$(dpkg-deb -f "$deb" Package)_*.deb pulled in" \
        "$(($(dpkg-query -W -f='${Package}\n' | wc -l) - before - 1)) packages"
    local files
    files="$(dpkg -L qzk-editor)"

    # What the checks themselves drive the editor with.
    apt_install --no-install-recommends xvfb xauth xdotool libglib2.0-bin >/dev/null 2>&1 ||
        fail "installing the test tools"

    local sample=/usr/share/doc/qzk-editor/examples/meadow.map report
    if report="$(cd / && qzk-map check "$sample")"; then
        pass "qzk-map check $sample: $(tail -n 1 <<<"$report")"
    else
        fail "qzk-map check $sample exited with $?: $report"
    fi

    local work
    work="$(mktemp -d)"
    cp /usr/share/doc/qzk-editor/examples/*.map "$work"
    local type
    type="$(gio info -a standard::content-type "$work/meadow_2.map" | sed -n 's/^ *standard::content-type: //p')"
    [ "$type" = application/x-qzk-map ] && pass "gio info: a floor file is $type" ||
        fail "gio info: a floor file is '$type'"
    local app
    app="$(xdg-mime query default application/x-qzk-map)"
    [ "$app" = io.github.qzk.MapEditor.desktop ] && pass "xdg-mime: the map type opens with $app" ||
        fail "xdg-mime: the map type opens with '$app'"

    # The editor on a display of its own; F1 asks xdg-open for the help, and this
    # xdg-open only writes down what it was asked for.
    mkdir -p "$work/bin"
    printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s/opened"\n' "$work" >"$work/bin/xdg-open"
    chmod +x "$work/bin/xdg-open"
    exec 4>"$work/display"
    Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    local xvfb=$!
    exec 4>&-
    for _ in $(seq 1 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n 1 "$work/display")"
    local start window=
    start="$(date +%s%N)"
    (cd "$work" && exec env PATH="$work/bin:$PATH" XDG_CONFIG_HOME="$work/config" \
        XDG_DATA_HOME="$work/data" qzk-editor meadow.map) >"$work/editor.log" 2>&1 &
    local editor=$!
    for _ in $(seq 1 1200); do
        window="$(xdotool search --onlyvisible --name '^Q;zKマップエディタ' 2>/dev/null | head -n 1)"
        [ -n "$window" ] && break
        kill -0 "$editor" 2>/dev/null || break
        sleep 0.05
    done
    if [ -n "$window" ]; then
        pass "the editor shows '$(xdotool getwindowname "$window")' after" \
            "$((($(date +%s%N) - start) / 1000000)) ms"
        xdotool windowfocus --sync "$window" key F1
        for _ in $(seq 1 300); do
            [ -s "$work/opened" ] && break
            sleep 0.1
        done
        local opened
        opened="$(cat "$work/opened" 2>/dev/null)"
        if [ "$opened" = file:///usr/share/qzk-editor/Help.htm ] && [ -f /usr/share/qzk-editor/Help.htm ]; then
            pass "F1 opens $opened"
        else
            fail "F1 opened '$opened'"
        fi
    else
        fail "no editor window: $(cat "$work/editor.log")"
    fi
    kill "$editor" 2>/dev/null || true
    wait "$editor" 2>/dev/null || true
    # Start-up is timed only once the package has proved it works.
    [ "$failed" -eq 0 ] && startup_against_empty "$work"
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true

    apt-get remove -y -qq qzk-editor >/dev/null 2>&1 || fail "apt-get remove"
    local left=()
    while IFS= read -r path; do
        [ -f "$path" ] || [ -L "$path" ] && left+=("$path")
    done <<<"$files"
    [ ${#left[@]} -eq 0 ] && pass "apt-get remove qzk-editor left none of its files" ||
        fail "left after apt-get remove: ${left[*]}"
    dpkg-query -W -f='${Status}\n' qzk-editor 2>/dev/null | grep -q ' installed$' &&
        fail "dpkg still lists qzk-editor: $(dpkg-query -W -f='${Status}' qzk-editor)"
    rm -rf "$work"
    return "$failed"
}

case "$stage" in
--build-inside) build_inside ;;
--check-inside) check_inside ;;
*)
    project="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    fresh="${QZK_FRESH_DEBIAN:-$project/../shared/tools/fresh-debian}"
    out="$(mktemp -d)"
    trap 'rm -rf "$out"' EXIT
    cd "$project"
    started=$SECONDS
    if [ -n "${QZK_DEB:-}" ]; then
        # A package built before (for the same release) skips the build.
        cp "$QZK_DEB" "$out/qzk-editor.deb"
    else
        echo "== $stage: building the package in a fresh root"
        QZK_SUITE="$stage" "$fresh" 'bash scripts/check-package.sh --build-inside' \
            >"$out/qzk-editor.deb" 2>"$out/build.log" || {
            tail -n 30 "$out/build.log"
            echo "FAIL: the package did not build"
            exit 1
        }
        grep '^built ' "$out/build.log"
        # QZK_KEEP_DEB=folder keeps the package, for QZK_DEB or a look at it.
        [ -z "${QZK_KEEP_DEB:-}" ] ||
            cp "$out/qzk-editor.deb" "$QZK_KEEP_DEB/$(dpkg-deb -W --showformat '${Package}_${Version}_${Architecture}' "$out/qzk-editor.deb").deb"
    fi
    echo "== $stage: installing and checking it in another fresh root ($((SECONDS - started)) s so far)"
    status=0
    QZK_SUITE="$stage" "$fresh" 'bash scripts/check-package.sh --check-inside' \
        <"$out/qzk-editor.deb" || status=$?
    echo "== $stage: $([ $status -eq 0 ] && echo passed || echo FAILED) in $((SECONDS - started)) s"
    exit $status
    ;;
esac
