#!/usr/bin/env bash
# Runs the Windows build under wine: the headless tests (offscreen), qzk-map on the sample
# and on generated maps compared byte for byte with the Linux build, and the editor on the
# sample map under Xvfb with a screenshot. Not part of the usual test command: it needs the
# one-time Qt build of build-windows.sh.
# Environment: QZK_DISPLAY (default 65) is the X display number used for the editor.
set -euo pipefail

QZK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QZK_WIN_BUILD="${QZK_WIN_BUILD:-$QZK_ROOT/build-windows}"
QZK_WIN_QT="${QZK_WIN_QT:-$HOME/.cache/qzk-windows-qt}"
QZK_BUILD="${QZK_BUILD:-$QZK_ROOT/build}"
display=":${QZK_DISPLAY:-65}"
out="$QZK_WIN_BUILD/wine-test"
started=$SECONDS

[ -x "$QZK_BUILD/qzk-map" ] || { echo "$0 needs the Linux build in $QZK_BUILD" >&2; exit 1; }
[ -f "$QZK_WIN_BUILD/qzk-map.exe" ] || "$QZK_ROOT/scripts/build-windows.sh"

rm -rf "$out"
mkdir -p "$out"
# A wine prefix of its own: AppData, settings and the registry start empty every run.
export WINEPREFIX="$out/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
runtime_dirs="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
runtime_dirs+=" /usr/x86_64-w64-mingw32/lib $QZK_WIN_QT/bin"
winepath=""
wineboot -i >/dev/null 2>&1 || true
for dir in $runtime_dirs; do
    winepath+="$(winepath -w "$dir");"
done
export WINEPATH="$winepath"
# Wine hands no QT_* variable of ours to a Windows program; the prefix's own environment does.
windows_env() {
    if [ -n "$2" ]; then
        wine reg add 'HKCU\Environment' /v "$1" /d "$2" /f >/dev/null 2>&1
    else
        wine reg delete 'HKCU\Environment' /v "$1" /f >/dev/null 2>&1 || true
    fi
}
windows_env QT_FORCE_STDERR_LOGGING 1
windows_env QT_QPA_PLATFORM offscreen
# Offscreen, Qt reads fonts from a folder rather than from Windows: the Japanese one of the tests.
windows_env QT_QPA_FONTDIR "$(winepath -w /usr/share/fonts/opentype/ipafont-gothic)"

# Even an offscreen Qt program makes hidden windows under wine, which needs an X display.
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
sleep 2
export DISPLAY="$display"

echo "== headless tests under wine"
# unixtools: tests that run shell commands or check the Linux install tree.
ctest --test-dir "$QZK_WIN_BUILD" -LE 'unixtools|realprogram' \
    --timeout 600 -j"${QZK_JOBS:-2}" --output-on-failure 2>&1 | tee "$out/ctest.log" || true

echo "== qzk-map under wine against the Linux build"
maps="$out/maps"
mkdir -p "$maps"
cp "$QZK_ROOT"/docs/sample/meadow*.map "$maps/"
# Generated maps: the sample with its name and message replaced by each class of code
# page 932 bytes, including ones that are no characters.
name_line() { grep -n -a -m1 '^\*NAME' "$maps/meadow.map" | cut -d: -f1; }
n="$(name_line)"
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
compared=0 differing=0
for map in "$maps"/*.map; do
    case "$map" in *_[2-9].map) continue ;; esac
    base="$(basename "$map" .map)"
    for kind in linux windows; do
        mkdir -p "$out/$kind"
        if [ "$kind" = linux ]; then run=("$QZK_BUILD/qzk-map"); else run=(wine "$QZK_WIN_BUILD/qzk-map.exe"); fi
        "${run[@]}" check "$map" >"$out/$kind/$base.check" 2>"$out/$kind/$base.check.err" || true
        "${run[@]}" check --json "$map" >"$out/$kind/$base.json" 2>/dev/null || true
        "${run[@]}" resave "$map" "$out/$kind/$base-resaved" >/dev/null 2>&1 || true
    done
done
# Standard error names the files, in each system's spelling; it is kept but not compared.
for file in "$out"/linux/*; do
    case "$file" in *.err) continue ;; esac
    other="$out/windows/$(basename "$file")"
    compared=$((compared + 1))
    # Reports are console text, with CR LF on Windows as its own programs write; maps are bytes.
    case "$file" in
    *.map) same() { cmp -s "$1" "$2"; } ;;
    *) same() { cmp -s "$1" <(sed 's/\r$//' "$2"); } ;;
    esac
    if ! same "$file" "$other"; then
        differing=$((differing + 1))
        echo "differs: $(basename "$file")"
    fi
done
echo "qzk-map outputs compared: $compared, differing: $differing"

echo "== the editor under wine on $display"
windows_env QT_QPA_PLATFORM ""
package="$(find "$QZK_WIN_BUILD/package" -maxdepth 1 -mindepth 1 -type d | head -n1)"
DISPLAY="$display" wine "$package/qzk-editor.exe" "$(winepath -w "$maps/meadow.map")" \
    >"$out/editor.log" 2>&1 &
editor=$!
sleep "${QZK_EDITOR_WAIT:-25}"
DISPLAY="$display" import -window root "$out/editor.png"
kill "$editor" 2>/dev/null || true

echo "== start-up under wine: the editor against an empty window of its shape"
probe="$QZK_BUILD/bench/startupprobe"
if [ -x "$probe" ] && [ -f "$QZK_WIN_BUILD/bench/emptywindow.exe" ]; then
    for i in 1 2 3 4 5; do
        echo -n "editor, run $i: "
        DISPLAY="$display" "$probe" zK wine "$package/qzk-editor.exe" \
            "$(winepath -w "$maps/meadow.map")" || echo failed
        echo -n "empty window of its shape, run $i: "
        DISPLAY="$display" "$probe" zK wine "$QZK_WIN_BUILD/bench/emptywindow.exe" --shape ||
            echo failed
    done | tee "$out/startup.txt"
else
    echo "skipped: needs $probe (libx11-dev) and the Windows bench/emptywindow.exe"
fi
DISPLAY="$display" wineserver -k 2>/dev/null || true
echo "screenshot: $out/editor.png"
echo "test-windows.sh took $((SECONDS - started)) s"
