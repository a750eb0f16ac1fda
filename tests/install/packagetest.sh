#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks it, one ctest case per command:
# build (the package, unpacked for the install checks), control, contents, lintian. Exit 77
# skips a case whose tool is missing.
set -uo pipefail

case_name="$1"
out="$2" # scratch folder: the package and its unpacked tree
build_dir="${3:-}"
version="${4:-}"

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

id=io.github.qzk.MapEditor
arch="$(dpkg --print-architecture)"
deb="$out/qzk-editor_${version}_${arch}.deb"

# Everything the package holds, directories aside; the same as cmake --install gives.
packaged_files=(
    usr/bin/qzk-editor
    usr/bin/qzk-map
    usr/share/qzk-editor/Tavolin.dat
    usr/share/qzk-editor/Help.htm
    "usr/share/applications/$id.desktop"
    "usr/share/metainfo/$id.metainfo.xml"
    "usr/share/mime/packages/$id.xml"
    "usr/share/icons/hicolor/scalable/apps/$id.svg"
    "usr/share/icons/hicolor/48x48/apps/$id.png"
    usr/share/doc/qzk-editor/copyright
    usr/share/doc/qzk-editor/changelog.gz
    usr/share/doc/qzk-editor/examples/meadow.map
    usr/share/doc/qzk-editor/examples/meadow_2.map
)
# The help's pictures, as many as the sources have.
for picture in "$(dirname "${BASH_SOURCE[0]}")"/../../data/help/*.png; do
    packaged_files+=("usr/share/qzk-editor/help/${picture##*/}")
done

field() {
    dpkg-deb -f "$deb" "$1"
}

check_control() {
    [ "$(field Package)" = qzk-editor ] || fail "Package is '$(field Package)'"
    [ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
    [ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
    [[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\ ]+@[^@\ ]+\>$ ]] ||
        fail "Maintainer is '$(field Maintainer)', not 'name <address>'"
    [ -n "$(field Homepage)" ] || fail "no Homepage"
    # The copyright file and the AppStream data name the same developers, and the package
    # the same homepage as the AppStream data.
    local share="$out/tree/usr/share" contact
    contact="$(sed -n 's/^Upstream-Contact: \(.*\) <.*/\1/p' "$share/doc/qzk-editor/copyright")"
    grep -qF "<name>$contact</name>" "$share/metainfo/$id.metainfo.xml" ||
        fail "the AppStream developer is not the copyright's upstream contact '$contact'"
    grep -qF "<url type=\"homepage\">$(field Homepage)</url>" "$share/metainfo/$id.metainfo.xml" ||
        fail "the AppStream homepage is not the Homepage '$(field Homepage)'"
    # The run-time libraries come from the binaries (dpkg-shlibdeps), with versions; the
    # X11 platform plugin is named by hand since nothing links it.
    local depends
    depends="$(field Depends)"
    # Debian 13 renamed the Qt libraries with a t64 suffix.
    for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
        [[ ", $depends" == *", $lib (>= "[0-9]* || ", $depends" == *", ${lib}t64 (>= "[0-9]* ]] ||
            fail "Depends lacks $lib: $depends"
    done
    [[ ", $depends," == *", qt6-qpa-plugins,"* ]] || fail "Depends lacks qt6-qpa-plugins: $depends"
    # A short and a long description, each in English and Japanese.
    local description synopsis long
    description="$(field Description)"
    synopsis="$(head -n 1 <<<"$description")"
    long="$(tail -n +2 <<<"$description")"
    [ "${#synopsis}" -le 80 ] || fail "the synopsis is ${#synopsis} characters long"
    for text in "$synopsis" "$long"; do
        grep -q 'map editor' <<<"$text" || fail "no English in '$text'"
        grep -q 'マップエディタ' <<<"$text" || fail "no Japanese in '$text'"
    done
}

check_contents() {
    local expected actual listing
    listing="$(dpkg-deb -c "$deb")" || { fail "dpkg-deb -c"; return; }
    expected="$(printf '%s\n' "${packaged_files[@]}" | sort)"
    actual="$(awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' <<<"$listing" | sort)"
    [ "$expected" = "$actual" ] || fail "packaged files differ:
$(diff <(echo "$expected") <(echo "$actual"))"
    # Owned by root, programs executable, everything else only readable.
    awk '$2 != "root/root" { print "owner " $2 ": " $6 }
         $1 ~ /^-/ && $6 ~ /usr\/bin\// && $1 != "-rwxr-xr-x" { print "mode " $1 ": " $6 }
         $1 ~ /^-/ && $6 !~ /usr\/bin\// && $1 != "-rw-r--r--" { print "mode " $1 ": " $6 }
         $1 ~ /^d/ && $1 != "drwxr-xr-x" { print "mode " $1 ": " $6 }' <<<"$listing" >"$out/modes"
    [ -s "$out/modes" ] && fail "$(cat "$out/modes")"
    local changelog
    changelog="$(zcat "$out/tree/usr/share/doc/qzk-editor/changelog.gz")"
    head -n 1 <<<"$changelog" | grep -q "^qzk-editor ($version) " ||
        fail "the changelog does not start at $version"
    # Each entry ends with the maintainer who made it, as dpkg-parsechangelog reads it.
    grep -q "^ -- $(field Maintainer)  [A-Z][a-z][a-z], " <<<"$changelog" ||
        fail "the changelog's first entry is not signed by the Maintainer: $(grep '^ --' <<<"$changelog")"
}

check_lintian() {
    need_tool lintian
    # Errors fail; warnings and infos are shown for a person to read.
    lintian --fail-on error --info "$deb" || fail "lintian reports errors"
}

case "$case_name" in
build)
    need_tool dpkg-shlibdeps file
    rm -rf "$out"
    mkdir -p "$out"
    "${CPACK:-cpack}" --config "$build_dir/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
        fail "cpack: $(cat "$out/cpack.log")"
    [ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$out")"
    dpkg-deb -x "$deb" "$out/tree" || fail "dpkg-deb -x"
    ;;
control) check_control ;;
contents) check_contents ;;
lintian) check_lintian ;;
*)
    echo "unknown case $case_name" >&2
    exit 2
    ;;
esac
[ "$failed" -eq 0 ] && echo "PASS: $case_name"
exit "$failed"
