#!/usr/bin/env bash
# Tests the Windows zip as its users get it, under wine. The zip is unpacked into a fresh
# temporary folder and everything runs from there, in a wine prefix of its own, with no
# path into build-windows/ or the Qt cache:
#   - the zip lists the readme, the licence texts and the files the programs need;
#   - a copy of the folder without a needed DLL or plugin fails: the runs below can fail;
#   - every qzk-map.exe command, compared with the Linux build in build/ (QZK_BUILD) on
#     the sample and on maps with every class of code page 932 bytes: output, exit status
#     and written files byte for byte (console text after turning CR LF into LF);
#   - qzk-map.exe render with and without an X display (the offscreen plugin it ships);
#   - the editor: starts on the sample, F1 without a browser tells that the help could not
#     be opened, Ctrl+Q and Yes end it with status 0; where it wrote its settings.
# Then the Windows build's own headless tests (ctest in build-windows/, with the Qt cache
# on wine's path; labels unixtools and realprogram left out).
# Exits non-zero when any of it fails. Needs the zip and the Windows tests from
# scripts/build-windows.sh and the Linux build (cmake --build build).
# Environment: QZK_DISPLAY (default 65): the X display number used;
#   QZK_ZIP_DROP=PATH: deletes PATH (inside the unpacked folder) before the runs, to see
#   this script fail as it must when the zip lacks a needed file;
#   QZK_SKIP_CTEST=1: the zip only.
set -euo pipefail

QZK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QZK_WIN_BUILD="${QZK_WIN_BUILD:-$QZK_ROOT/build-windows}"
QZK_WIN_QT="${QZK_WIN_QT:-$HOME/.cache/qzk-windows-qt}"
QZK_BUILD="${QZK_BUILD:-$QZK_ROOT/build}"
display=":${QZK_DISPLAY:-65}"
started=$SECONDS

linux_map="$QZK_BUILD/qzk-map"
[ -x "$linux_map" ] || { echo "$0 needs the Linux build in $QZK_BUILD" >&2; exit 1; }
zip="$(find "$QZK_WIN_BUILD" -maxdepth 1 -name 'qzk-editor-*-win64.zip' | head -n1)"
[ -n "$zip" ] || { echo "$0 needs the zip: run scripts/build-windows.sh" >&2; exit 1; }
name="$(basename "$zip" .zip)"

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

out="$(mktemp -d "${TMPDIR:-/tmp}/qzk-windows-test.XXXXXX")"
app="$out/$name"
echo "unpacked into $out"

echo "== the zip's contents"
listing="$(unzip -Z1 "$zip")"
for file in qzk-editor.exe qzk-map.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll \
    platforms/qwindows.dll platforms/qoffscreen.dll styles/qwindowsvistastyle.dll \
    translations/qtbase_ja.qm libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll \
    zlib1.dll Tavolin.dat Help.htm readme.txt licenses/Qt/SOURCE.txt \
    licenses/Qt/LGPL-3.0-only.txt licenses/Qt/GPL-3.0-only.txt licenses/Qt/copyright.txt \
    licenses/Qt/translations-copyright.txt licenses/GCC/copyright.txt licenses/GCC/GPL-3.txt \
    licenses/mingw-w64/copyright.txt licenses/zlib/copyright.txt; do
    grep -qxF "$name/$file" <<<"$listing" || fail "the zip lacks $file"
done
unzip -q "$zip" -d "$out"
if [ -n "${QZK_ZIP_DROP:-}" ]; then
    rm "$app/$QZK_ZIP_DROP"
    echo "deleted $QZK_ZIP_DROP from the unpacked folder"
fi

# A wine prefix of its own: AppData, settings and the registry start empty. Nothing on
# wine's path: the programs find what they need in their own folder or not at all.
export WINEPREFIX="$out/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH QT_PLUGIN_PATH QT_QPA_PLATFORM QT_QPA_FONTDIR
wineboot -i >/dev/null 2>&1
# Wine hands no QT_* variable of ours to a Windows program; the prefix's own environment does.
windows_env() {
    if [ -n "$2" ]; then
        wine reg add 'HKCU\Environment' /v "$1" /d "$2" /f >/dev/null 2>&1
    else
        wine reg delete 'HKCU\Environment' /v "$1" /f >/dev/null 2>&1 || true
    fi
}
# Qt's messages on standard error rather than to the debugger.
windows_env QT_FORCE_STDERR_LOGGING 1
# Web pages open with wine's browser launcher, which finds no browser here and gives up.
wine reg add 'HKCR\.htm' /ve /d htmlfile /f >/dev/null 2>&1
# Wine's fonts folder is empty; a real Windows has its fonts there, where render looks.
cp /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf "$WINEPREFIX/drive_c/windows/Fonts/"

Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfb=$!
wm=
editor=
cleanup() {
    [ -z "$editor" ] || kill "$editor" 2>/dev/null || true
    [ -z "$wm" ] || kill "$wm" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
sleep 2

# Runs a program of the unpacked zip under wine with a time limit (a blocking message box
# is a failure too). Without DISPLAY it has no desktop.
win() {
    timeout 300 wine "$@"
}
wpath() { winepath -w "$1" 2>/dev/null; }

echo "== qzk-map.exe against the Linux build"
maps="$out/maps"
mkdir -p "$maps"
cp "$QZK_ROOT"/docs/sample/meadow*.map "$maps/"
# Generated maps: the sample with its name and message replaced by each class of code
# page 932 bytes, including ones that are no characters.
n="$(grep -n -a -m1 '^\*NAME' "$maps/meadow.map" | cut -d: -f1)"
generate() {
    local target="$maps/$1.map"
    head -n "$n" "$maps/meadow.map" >"$target"
    printf '%b\r\n*END\r\n%b\r\n' "$2" "$3" >>"$target"
    cp "$maps/meadow_2.map" "$maps/$1_2.map"
}
generate kana '\xb1\xb2\xb3\xb4\xb5\xdf' 'abc\x5c\x7e'
generate row13 '\x87\x40\x87\x41\x87\x54\x87\x82\x87\x8d\x87\x9a' '\x87\x90\x81\xe0'
generate ibm '\xfa\x40\xfa\x5c\xfc\x4b\xed\x40\xee\xf9' '\xed\x4c\xee\xef'
generate trail5c '\x95\x5c\x83\x5c\x94\x5c' '\x81\x5f\x81\x60'
generate userdefined '\xf0\x40\xf9\xfc' '\xf5\x9e'
generate broken '\x80\xa0\xfd' '\x81 \x85\x40'

runs=0 agreeing=0
# Runs one command with both builds from the maps folder (relative paths: each system
# spells absolute ones its own way) and compares standard output and the exit status.
# "@side@" in an argument becomes linux or windows. Standard error names files in each
# system's spelling; it is kept but not compared.
compare_run() {
    local id="$1" status
    shift
    mkdir -p "$out/linux" "$out/windows"
    status=0
    (cd "$maps" && "$linux_map" "${@//@side@/linux}") >"$out/linux/$id.out" \
        2>"$out/linux/$id.err" || status=$?
    echo "$status" >"$out/linux/$id.status"
    status=0
    (cd "$maps" && DISPLAY="$display" win "$app/qzk-map.exe" "${@//@side@/windows}") \
        >"$out/windows/$id.raw" 2>"$out/windows/$id.err" || status=$?
    echo "$status" >"$out/windows/$id.status"
    # Console text with CR LF on Windows, as its own programs write it.
    sed 's/\r$//' "$out/windows/$id.raw" >"$out/windows/$id.out"
    runs=$((runs + 1))
    if cmp -s "$out/linux/$id.out" "$out/windows/$id.out" &&
        cmp -s "$out/linux/$id.status" "$out/windows/$id.status"; then
        agreeing=$((agreeing + 1))
    else
        fail "qzk-map $* differs (status linux $(cat "$out/linux/$id.status"), windows $(cat "$out/windows/$id.status"))"
    fi
}

compare_run help --help
for map in "$maps"/*.map; do
    case "$map" in *_[2-9].map) continue ;; esac
    base="$(basename "$map" .map)"
    compare_run "$base.check" check "$base.map"
    compare_run "$base.check-json" check --json "$base.map"
    compare_run "$base.stats" stats "$base.map"
    compare_run "$base.stats-json" stats --json "$base.map"
    compare_run "$base.textconv" textconv "$base.map"
    compare_run "$base.diff" diff meadow.map "$base.map"
    compare_run "$base.diff-json" diff --json meadow.map "$base.map"
    mkdir -p "$maps/linux" "$maps/windows"
    compare_run "$base.resave" resave "$base.map" "@side@/$base"
done
# Each floor file written, byte for byte.
files=0
for file in "$maps"/linux/*.map; do
    files=$((files + 1))
    cmp -s "$file" "$maps/windows/$(basename "$file")" ||
        fail "resaved $(basename "$file") differs"
done
[ "$files" -gt 0 ] || fail "the Linux build resaved nothing"
[ "$(find "$maps/windows" -name '*.map' | wc -l)" -eq "$files" ] ||
    fail "the builds resaved different numbers of floor files"
echo "qzk-map.exe runs: $runs, agreeing with the Linux build: $agreeing; resaved floor files compared: $files"

echo "== qzk-map.exe render with and without a desktop"
# Runs render from a folder of the zip ($1) with the X display $2 or none.
run_render() {
    local folder="$1" screen="$2" pictures="$3"
    if [ -n "$screen" ]; then
        (cd "$maps" && DISPLAY="$screen" win "$folder/qzk-map.exe" render --check --scale 2 \
            meadow.map "$(wpath "$pictures")")
    else
        (cd "$maps" && unset DISPLAY && win "$folder/qzk-map.exe" render --check --scale 2 \
            meadow.map "$(wpath "$pictures")")
    fi
}
(cd "$maps" && "$linux_map" render --check --scale 2 meadow.map "$out/render-linux") >/dev/null
rendered=no
for screen in "" "$display"; do
    where="without a desktop"
    [ -z "$screen" ] || where="on display $screen"
    pictures="$out/render-${screen:+display}"
    [ -n "$screen" ] || pictures="$out/render-none"
    status=0
    run_render "$app" "$screen" "$pictures" >"$pictures.log" 2>&1 || status=$?
    runs=$((runs + 1))
    if [ "$status" -ne 0 ]; then
        fail "render $where ended with status $status: $(tr -d '\r' <"$pictures.log")"
        continue
    fi
    good=1
    for floor in 1 2; do
        size="$(identify -format '%w %h' "$pictures/meadow_$floor.png" 2>/dev/null || true)"
        [ "$size" = "1152 768" ] ||
            { good=0; fail "render $where: meadow_$floor.png is '$size', not 1152 x 768"; }
    done
    [ "$good" -eq 1 ] || continue
    agreeing=$((agreeing + 1))
    [ "$rendered" != no ] || rendered="$screen"
    # Captions and values come in another font than on Linux: the pixels that differ from
    # the Linux build's picture are shown, not judged.
    echo "render $where: $(compare -metric AE "$pictures/meadow_1.png" \
        "$out/render-linux/meadow_1.png" null: 2>&1 || true) pixels of floor 1 differ from Linux"
done

echo "== a copy of the folder without a needed file fails"
# Run as the render that worked above; none did: nothing to show.
[ "$rendered" != no ] || fail "no render worked, so a copy lacking a file shows nothing"
for drop in Qt6Core.dll platforms/qoffscreen.dll; do
    [ "$rendered" != no ] || break
    rm -rf "$out/lacking" "$out/lacking-pictures"
    cp -r "$app" "$out/lacking"
    rm "$out/lacking/$drop"
    if run_render "$out/lacking" "$rendered" "$out/lacking-pictures" >"$out/lacking.log" 2>&1; then
        fail "qzk-map.exe render succeeded without $drop"
    else
        echo "without $drop: render fails, as it must"
    fi
done
rm -rf "$out/lacking" "$out/lacking-pictures"

echo "== the editor"
export DISPLAY="$display"
openbox --sm-disable >"$out/openbox.log" 2>&1 &
wm=$!
# Prints the id of the first visible window whose title matches, waiting up to $2 s.
wait_window() {
    local id
    for _ in $(seq $((${2:-60} * 10))); do
        id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)"
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 "$editor" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
(cd "$maps" && exec wine "$app/qzk-editor.exe" meadow.map) >"$out/editor.log" 2>&1 &
editor=$!
runs=$((runs + 1))
# The caption is "Q;zKマップエディタ" and the map's name.
if main="$(wait_window '^Q;zKマップエディタ' 120)"; then
    sleep 3
    import -window root "$out/editor.png"
    xdotool windowactivate --sync "$main" key --clearmodifiers F1
    if box="$(wait_window '^Q:zKエディタ$' 30)"; then
        import -window root "$out/help-message.png"
        xdotool windowactivate --sync "$box" key --clearmodifiers Return
        for _ in $(seq 100); do
            xdotool search --onlyvisible --name '^Q:zKエディタ$' >/dev/null 2>&1 || break
            sleep 0.1
        done
    else
        fail "F1 without a browser told nothing"
    fi
    xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+q
    if box="$(wait_window '^Q:zKエディタ$' 30)"; then
        xdotool windowactivate --sync "$box" key --clearmodifiers alt+y
    else
        fail "Ctrl+Q asked nothing"
    fi
    status=0
    for _ in $(seq 300); do kill -0 "$editor" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$editor" 2>/dev/null; then
        fail "the editor did not end after Ctrl+Q and Yes"
    else
        wait "$editor" || status=$?
        [ "$status" -eq 0 ] || fail "the editor ended with status $status"
        [ "$status" -ne 0 ] || agreeing=$((agreeing + 1))
    fi
    editor=
else
    fail "the editor showed no main window: $(tr -d '\r' <"$out/editor.log")"
fi
echo "what the editor wrote outside its folder:"
(cd "$WINEPREFIX/drive_c/users" && find . -path '*qzk*' | sort)
wine reg query 'HKCU\Software\QtProject' /s 2>/dev/null | tr -d '\r' | grep '^HKEY' || true
echo "runs from the unpacked zip: $runs, as expected: $agreeing"

if [ -z "${QZK_SKIP_CTEST:-}" ]; then
    echo "== the Windows build's headless tests under wine"
    # Another prefix: these programs come from the build and take Qt from its cache.
    wineserver -k 2>/dev/null || true
    export WINEPREFIX="$out/test-prefix"
    wineboot -i >/dev/null 2>&1
    runtime_dirs="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
    runtime_dirs+=" /usr/x86_64-w64-mingw32/lib $QZK_WIN_QT/bin"
    WINEPATH=""
    for dir in $runtime_dirs; do
        WINEPATH+="$(winepath -w "$dir");"
    done
    export WINEPATH
    windows_env QT_FORCE_STDERR_LOGGING 1
    windows_env QT_QPA_PLATFORM offscreen
    # Offscreen, Qt reads fonts from a folder rather than from Windows: the Japanese one of the tests.
    windows_env QT_QPA_FONTDIR "$(winepath -w /usr/share/fonts/opentype/ipafont-gothic)"
    # unixtools: tests that run shell commands or check the Linux install tree.
    ctest --test-dir "$QZK_WIN_BUILD" -LE 'unixtools|realprogram' \
        --timeout 600 -j"${QZK_JOBS:-2}" --output-on-failure >"$out/ctest.log" 2>&1 ||
        fail "ctest: $(grep -E 'tests passed|\(Failed\)|Timeout' "$out/ctest.log" | tr '\n' ' ')"
    grep -E 'tests passed' "$out/ctest.log" || true

    echo "== start-up under wine: the editor against an empty window of its shape (measured, not judged)"
    windows_env QT_QPA_PLATFORM ""
    windows_env QT_QPA_FONTDIR ""
    probe="$QZK_BUILD/bench/startupprobe"
    if [ -x "$probe" ] && [ -f "$QZK_WIN_BUILD/bench/emptywindow.exe" ]; then
        for i in 1 2 3 4 5; do
            echo -n "editor, run $i: "
            "$probe" zK wine "$QZK_WIN_BUILD/qzk-editor.exe" "$(winepath -w "$maps/meadow.map")" ||
                echo failed
            echo -n "empty window of its shape, run $i: "
            "$probe" zK wine "$QZK_WIN_BUILD/bench/emptywindow.exe" --shape || echo failed
        done | tee "$out/startup.txt"
    else
        echo "skipped: needs $probe (libx11-dev) and the Windows bench/emptywindow.exe"
    fi
fi

# The prefixes and the unpacked folder are big; logs, pictures and screenshots stay.
wineserver -k 2>/dev/null || true
rm -rf "$out/prefix" "$out/test-prefix" "$app"
echo "logs, pictures and screenshots: $out"
echo "test-windows.sh took $((SECONDS - started)) s; failures: $failures"
[ "$failures" -eq 0 ]
