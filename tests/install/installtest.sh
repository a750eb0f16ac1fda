#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks the installed tree, one ctest case
# per command: install, files, desktop, mime, appstream, version, startup. Exit 77 skips a case
# whose tool is missing.
set -uo pipefail

case_name="$1"
root="$2" # the scratch prefix
source_dir="${3:-}"
build_dir="${4:-}"
id=io.github.qzk.MapEditor

fail() {
    echo "FAIL: $*" >&2
    failed=1
}
failed=0

need_tool() {
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null; then
            echo "SKIP: $tool is not installed (scripts/setup.sh installs it)"
            exit 77
        fi
    done
}

installed_files=(
    bin/qzk-editor
    bin/qzk-map
    share/qzk-editor/Tavolin.dat
    share/qzk-editor/Help.htm
    "share/applications/$id.desktop"
    "share/metainfo/$id.metainfo.xml"
    "share/mime/packages/$id.xml"
    "share/icons/hicolor/scalable/apps/$id.svg"
    "share/icons/hicolor/48x48/apps/$id.png"
    share/doc/qzk-editor/copyright
    share/doc/qzk-editor/changelog.gz
    share/doc/qzk-editor/examples/meadow.map
    share/doc/qzk-editor/examples/meadow_2.map
)
# The help's pictures, as many as the sources have.
for picture in "$source_dir"/data/help/*.png; do
    installed_files+=("share/qzk-editor/help/${picture##*/}")
done

# Width and height from a PNG's header chunk.
png_size() {
    od -An -tu1 -j16 -N8 "$1" |
        awk '{ printf "%dx%d\n", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}

desktop_key() {
    sed -n "s/^$1=//p" "$root/share/applications/$id.desktop" | head -n 1
}

check_files() {
    local expected actual
    expected="$(printf '%s\n' "${installed_files[@]}" | sort)"
    actual="$(cd "$root" && find . -type f | sed 's|^\./||' | sort)"
    [ "$expected" = "$actual" ] || fail "installed files differ:
$(diff <(echo "$expected") <(echo "$actual"))"
    for program in bin/qzk-editor bin/qzk-map; do
        [ -x "$root/$program" ] || fail "$program is not executable"
    done
    for data in Tavolin.dat Help.htm; do
        cmp -s "$source_dir/data/$data" "$root/share/qzk-editor/$data" ||
            fail "share/qzk-editor/$data is not the shipped $data"
    done
    # Every picture the installed help shows is installed beside it.
    local src
    while read -r src; do
        [ -f "$root/share/qzk-editor/$src" ] || fail "the help shows $src, which is not installed"
    done < <(grep -o '<img [^>]*src="[^"]*"' "$root/share/qzk-editor/Help.htm" | sed 's/.*src="//; s/"$//')
    local png="$root/share/icons/hicolor/48x48/apps/$id.png"
    [ "$(png_size "$png")" = 48x48 ] || fail "the 48x48 icon is $(png_size "$png")"
    grep -q '<svg' "$root/share/icons/hicolor/scalable/apps/$id.svg" || fail "the scalable icon is no SVG"
    # The menu entry, its icon and the metainfo name each other by the one id.
    [ "$(desktop_key Icon)" = "$id" ] || fail "desktop Icon is '$(desktop_key Icon)'"
    [ "$(desktop_key Exec | cut -d' ' -f1)" = qzk-editor ] || fail "desktop Exec is '$(desktop_key Exec)'"
    local metainfo="$root/share/metainfo/$id.metainfo.xml"
    grep -q "<id>$id</id>" "$metainfo" || fail "metainfo id is not $id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
        fail "metainfo does not launch $id.desktop"
}

check_desktop() {
    need_tool desktop-file-validate
    desktop-file-validate "$root/share/applications/$id.desktop" || fail "desktop-file-validate"
}

# The map file type as the desktop sees it: gio asks a database built from the installed
# package (beside the system's own types) about floor files the editor writes, the samples,
# and a linker map that only shares the .map name. Built in a scratch folder so the
# installed tree stays as installed.
check_mime() {
    need_tool update-mime-database gio cc
    local scratch file type
    scratch="$(mktemp -d)"
    mkdir -p "$scratch/data/mime/packages"
    cp "$root/share/mime/packages/$id.xml" "$scratch/data/mime/packages/"
    update-mime-database "$scratch/data/mime" || fail "update-mime-database"
    grep -qx 'application/x-qzk-map' "$scratch/data/mime/types" ||
        fail "the MIME database does not know application/x-qzk-map"
    content_type() {
        XDG_DATA_HOME="$scratch/data" XDG_DATA_DIRS=/usr/share gio info -a standard::content-type "$1" |
            sed -n 's/^ *standard::content-type: //p'
    }
    "$root/bin/qzk-map" resave "$source_dir/tests/data/mapfile/castle.map" "$scratch/castle" ||
        fail "qzk-map resave"
    for file in "$scratch"/castle*.map "$source_dir"/docs/sample/*.map; do
        type="$(content_type "$file")"
        [ "$type" = application/x-qzk-map ] || fail "$file is $type"
    done
    printf 'int main(void) { return 0; }\n' >"$scratch/prog.c"
    cc -o "$scratch/prog" "$scratch/prog.c" -Wl,-Map="$scratch/prog.map" || fail "no linker map"
    type="$(content_type "$scratch/prog.map")"
    [ -n "$type" ] && [ "$type" != application/x-qzk-map ] || fail "a linker map is '$type'"
    rm -rf "$scratch"
    [ "$(desktop_key MimeType)" = "application/x-qzk-map;" ] ||
        fail "desktop MimeType is '$(desktop_key MimeType)'"
}

check_appstream() {
    need_tool appstreamcli
    appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
    # The tree as a whole: the launchable desktop file and the icons beside the metainfo.
    appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree"
}

check_version() {
    local printed
    printed="$(cd / && QT_QPA_PLATFORM=offscreen "$root/bin/qzk-editor" --version)" ||
        fail "qzk-editor --version exited with $?"
    [[ "$printed" =~ ^qzk-editor\ [0-9] ]] || fail "qzk-editor --version printed '$printed'"
    (cd / && "$root/bin/qzk-map" --help >/dev/null) || fail "qzk-map --help exited with $?"
}

# The startup case runs the installed editor on its own X display.
display_pid=
editor_pid=
stop_editor() {
    [ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null && wait "$editor_pid" 2>/dev/null
    editor_pid=
}
stop_all() {
    stop_editor
    [ -n "$display_pid" ] && kill "$display_pid" 2>/dev/null && wait "$display_pid" 2>/dev/null
    display_pid=
}

# Waits (up to a minute, for a loaded machine) for a window whose title matches.
wait_window() {
    local pattern="$1" window
    for _ in $(seq 1 600); do
        window="$(xdotool search --name "$pattern" 2>/dev/null | head -n 1)"
        [ -n "$window" ] && { echo "$window"; return 0; }
        kill -0 "$editor_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# Starts the editor of a prefix from a working folder with arguments.
start_editor() {
    local prefix="$1" folder="$2"
    shift 2
    # The recent-map list goes to the scratch folder, not to the user's settings.
    (cd "$folder" && exec env PATH="$fake_bin:$PATH" XDG_CONFIG_HOME="$scratch/config" \
        QT_QPA_PLATFORM=xcb "$prefix/bin/qzk-editor" "$@") \
        >"$scratch/editor.log" 2>&1 &
    editor_pid=$!
}

check_startup() {
    need_tool Xvfb xdotool
    scratch="$(mktemp -d)"
    trap 'stop_all; rm -rf "$scratch"' EXIT
    # Help opens through xdg-open; this one writes down what it was asked to open.
    fake_bin="$scratch/bin"
    mkdir -p "$fake_bin"
    printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s/opened"\n' "$scratch" >"$fake_bin/xdg-open"
    chmod +x "$fake_bin/xdg-open"

    # -noreset: a server that resets when its last client leaves drops one still connecting.
    exec 3>"$scratch/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset >"$scratch/xvfb.log" 2>&1 &
    display_pid=$!
    exec 3>&-
    for _ in $(seq 1 100); do
        [ -s "$scratch/display" ] && break
        sleep 0.1
    done
    [ -s "$scratch/display" ] || { fail "Xvfb did not start: $(cat "$scratch/xvfb.log")"; return; }
    export DISPLAY=":$(head -n 1 "$scratch/display")"
    # Recovery copies and settings of its own: nothing left elsewhere asks a question.
    export XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config"
    unset WAYLAND_DISPLAY

    local main_title='^Q;zKマップエディタ' warning_title='^Q:zKエディタ$' window

    # The chip descriptions are read before the main window exists; a missing or faulty
    # Tavolin.dat stops start-up at a warning box first. The main window showing from /
    # therefore means the installed Tavolin.dat was found and read.
    start_editor "$root" /
    if window="$(wait_window "$main_title")"; then
        xdotool search --name "$warning_title" >/dev/null && fail "a warning box showed at start-up"
        # F1 opens the help document found for the running program.
        xdotool windowfocus --sync "$window" key F1
        for _ in $(seq 1 600); do
            [ -s "$scratch/opened" ] && break
            sleep 0.1
        done
        local opened expected="file://$(cd "$root/share/qzk-editor" && pwd -P)/Help.htm"
        opened="$(cat "$scratch/opened" 2>/dev/null)"
        [ "$opened" = "$expected" ] || fail "F1 opened '$opened', not $expected"
    else
        fail "the installed editor started from / showed no main window: $(cat "$scratch/editor.log")"
    fi
    stop_editor

    # The same installed tree without Tavolin.dat stops at the warning box: the check
    # above can tell the two apart.
    local copy="$scratch/copy"
    cp -a "$root" "$copy"
    rm "$copy/share/qzk-editor/Tavolin.dat"
    start_editor "$copy" /
    if wait_window "$warning_title" >/dev/null; then
        xdotool search --name "$main_title" >/dev/null && fail "the main window showed without Tavolin.dat"
    else
        fail "no warning box without Tavolin.dat: $(cat "$scratch/editor.log")"
    fi
    stop_editor

    # A map named on the command line opens relative to the working folder.
    local maps="$scratch/maps"
    mkdir -p "$maps"
    cp "$source_dir/tests/data/mapfile/demo.map" "$source_dir/tests/data/mapfile/demo_2.map" "$maps"
    start_editor "$root" "$maps" demo.map
    wait_window "$main_title.*Hall\$" >/dev/null ||
        fail "demo.map named on the command line did not open: $(cat "$scratch/editor.log")"
    stop_editor
}

case "$case_name" in
install)
    rm -rf "$root"
    "${CMAKE:-cmake}" --install "$build_dir" --prefix "$root" >/dev/null || fail "cmake --install"
    ;;
files) check_files ;;
desktop) check_desktop ;;
mime) check_mime ;;
appstream) check_appstream ;;
version) check_version ;;
startup) check_startup ;;
*)
    echo "unknown case $case_name" >&2
    exit 2
    ;;
esac
[ "$failed" -eq 0 ] && echo "PASS: $case_name"
exit "$failed"
