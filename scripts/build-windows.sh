#!/usr/bin/env bash
# Cross-builds the editor for 64-bit Windows on Debian 12 and packs it as
# qzk-editor-<version>-win64.zip with a readme and the licence texts of what it ships.
# Qt is built once from Debian's qt6-base source into a cache folder and reused
# afterwards: over an hour on a shared 2-core machine; the editor and the zip then take
# minutes. Installs what it needs (also what scripts/test-windows.sh uses); see the
# README's Windows section for the disk space.
# Usage: build-windows.sh [qt|project|pack|all]   (default: all)
set -euo pipefail

QZK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QZK_WIN_BUILD="${QZK_WIN_BUILD:-$QZK_ROOT/build-windows}"
QZK_WIN_QT="${QZK_WIN_QT:-$HOME/.cache/qzk-windows-qt}"
QZK_WIN_QT_SRC="${QZK_WIN_QT_SRC:-$HOME/.cache/qzk-windows-qt-src}"
QZK_JOBS="${QZK_JOBS:-$(nproc)}"
MINGW=x86_64-w64-mingw32
QT_VERSION=6.4.2
QT_TRANSLATION=/usr/share/qt6/translations/qtbase_ja.qm
stage="${1:-all}"

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
    local packages=(
        g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
        wine wine64
        qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
        cmake ninja-build dpkg-dev zip ccache
        xvfb xauth imagemagick fonts-ipafont-gothic
        unzip openbox xdotool fonts-dejavu-core
    )
    local missing=()
    for pkg in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# apt-get source needs source lines; Debian 12 images often ship only binary ones.
ensure_deb_src() {
    if grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        return 0
    fi
    as_root tee /etc/apt/sources.list.d/qzk-deb-src.sources >/dev/null <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    as_root apt-get update -qq
}

write_toolchain() {
    local file="$1"
    cat >"$file" <<TOOLCHAIN
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $MINGW-gcc-posix)
set(CMAKE_CXX_COMPILER $MINGW-g++-posix)
set(CMAKE_RC_COMPILER $MINGW-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$MINGW $QZK_WIN_QT)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TOOLCHAIN
}

# The unpacked qt6-base source the Windows Qt is built from, or nothing.
qt_source() {
    find "$QZK_WIN_QT_SRC" -maxdepth 1 -type d -name "qt6-base-$QT_VERSION*" 2>/dev/null | head -n1
}

build_qt() {
    if [ -f "$QZK_WIN_QT/lib/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake" ] &&
        [ -f "$QZK_WIN_QT/lib/cmake/Qt6Test/Qt6TestConfig.cmake" ]; then
        echo "Using the Windows Qt in $QZK_WIN_QT"
        return 0
    fi
    ensure_deb_src
    mkdir -p "$QZK_WIN_QT_SRC"
    local src
    src="$(qt_source)"
    if [ -z "$src" ]; then
        (cd "$QZK_WIN_QT_SRC" && apt-get source -qq qt6-base)
        src="$(qt_source)"
    fi
    local toolchain="$QZK_WIN_QT_SRC/mingw-toolchain.cmake"
    write_toolchain "$toolchain"
    local build="$QZK_WIN_QT_SRC/build"
    local started=$SECONDS
    # ICU is off: Qt's codecs are not used (code page 932 is the editor's own table).
    # Tablet events need wintab.h, which mingw lacks.
    # Testlib and the offscreen plugin (which comes with FreeType) are on from the start:
    # enabling them later rebuilds everything.
    cmake -S "$src" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$QZK_WIN_QT" \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DBUILD_SHARED_LIBS=ON \
        -DFEATURE_icu=OFF \
        -DFEATURE_tabletevent=OFF \
        -DFEATURE_testlib=ON \
        -DFEATURE_freetype=ON \
        -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
        -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
        -DFEATURE_system_zlib=ON \
        -DINPUT_openssl=no
    nice cmake --build "$build" -j"$QZK_JOBS"
    cmake --install "$build"
    echo "Qt for Windows built in $((SECONDS - started)) s"
}

build_project() {
    local toolchain="$QZK_WIN_BUILD/mingw-toolchain.cmake"
    mkdir -p "$QZK_WIN_BUILD"
    write_toolchain "$toolchain"
    local started=$SECONDS
    cmake -S "$QZK_ROOT" -B "$QZK_WIN_BUILD" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_PREFIX_PATH="$QZK_WIN_QT" \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_CROSSCOMPILING_EMULATOR=wine \
        -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
    nice cmake --build "$QZK_WIN_BUILD" -j"$QZK_JOBS"
    echo "Project cross-built in $((SECONDS - started)) s"
}

mingw_dll() {
    local name="$1" found
    found="$($MINGW-g++-posix -print-file-name="$name")"
    if [ "$found" = "$name" ] || [ ! -f "$found" ]; then
        found="$(find /usr/lib/gcc/$MINGW /usr/$MINGW -name "$name" -path '*posix*' 2>/dev/null | head -n1)"
        [ -n "$found" ] || found="$(find /usr/lib/gcc/$MINGW /usr/$MINGW -name "$name" 2>/dev/null | head -n1)"
    fi
    [ -n "$found" ] || { echo "missing $name" >&2; return 1; }
    echo "$found"
}

RUNTIME_DLLS=(libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll zlib1.dll)

# Copies the mingw runtime DLLs a Windows program needs next to it.
copy_runtime() {
    local dest="$1"
    for dll in "${RUNTIME_DLLS[@]}"; do
        cp "$(mingw_dll "$dll")" "$dest/"
    done
}

# The Debian package a file on this machine comes from.
package_of() {
    dpkg -S "$(realpath "$1")" | cut -d: -f1 | head -n1
}

# Text for Windows' editors: CR LF line ends.
crlf() {
    sed 's/\r*$/\r/' "$1" >"$2"
}

# The licence texts of everything the zip ships besides the editor, taken from this
# machine: the Qt source it was built from and the copyright files of the packages
# that provided the runtime DLLs.
pack_licences() {
    local dest="$1/licenses" src qt_package translations
    src="$(qt_source)"
    [ -n "$src" ] && [ -d "$src/LICENSES" ] ||
        { echo "pack: the Qt source with its licences is missing in $QZK_WIN_QT_SRC" >&2; return 1; }
    mkdir -p "$dest/Qt" "$dest/GCC" "$dest/mingw-w64" "$dest/zlib"
    for text in "$src"/LICENSES/*.txt; do
        case "$text" in *Commercial*) continue ;; esac
        crlf "$text" "$dest/Qt/$(basename "$text")"
    done
    crlf "$src/debian/copyright" "$dest/Qt/copyright.txt"
    qt_package="$(dpkg-parsechangelog -l "$src/debian/changelog" -S Source) $(dpkg-parsechangelog -l "$src/debian/changelog" -S Version)"
    translations="$(package_of "$QT_TRANSLATION")"
    crlf "/usr/share/doc/$translations/copyright" "$dest/Qt/translations-copyright.txt"
    translations="$(dpkg-query -W -f='${source:Package} ${source:Version}' "$translations")"
    crlf /dev/stdin "$dest/Qt/SOURCE.txt" <<SOURCE
The Qt $QT_VERSION libraries beside the editor (Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll
and the plugins in platforms\\ and styles\\) were built unchanged, as shared libraries,
from the Debian source package

    $qt_package

with MinGW-w64 by scripts/build-windows.sh of the editor's source, which names the
options. They are licensed under the GNU Lesser General Public License version 3
(LGPL-3.0-only.txt, which builds on GPL-3.0-only.txt); copyright.txt names the licence
of every part of that source, the other files here hold the texts.

Qt's Japanese texts (translations\\qtbase_ja.qm) are taken unchanged from the Debian
source package

    $translations

under the licence that translations-copyright.txt names (GPL 3 with The Qt Company GPL
Exception 1.0).

Both sources are available from the Debian archive, for example with

    apt-get source ${qt_package% *}=${qt_package#* }
    apt-get source ${translations% *}=${translations#* }

on Debian 12, or from https://snapshot.debian.org/package/${qt_package% *}/${qt_package#* }/
and https://snapshot.debian.org/package/${translations% *}/${translations#* }/ .
You may replace the Qt DLLs with your own build of Qt $QT_VERSION.
SOURCE
    crlf "/usr/share/doc/$(package_of "$(mingw_dll libstdc++-6.dll)")/copyright" \
        "$dest/GCC/copyright.txt"
    crlf /usr/share/common-licenses/GPL-3 "$dest/GCC/GPL-3.txt"
    crlf "/usr/share/doc/$(package_of "$(mingw_dll libwinpthread-1.dll)")/copyright" \
        "$dest/mingw-w64/copyright.txt"
    crlf "/usr/share/doc/$(package_of "$(mingw_dll zlib1.dll)")/copyright" \
        "$dest/zlib/copyright.txt"
}

pack() {
    local version
    version="$(sed -n 's/^project(qzk[^)]*VERSION \([0-9.]*\).*/\1/p' "$QZK_ROOT/CMakeLists.txt" | head -n1)"
    [ -n "$version" ] || version=0
    local name="qzk-editor-$version-win64"
    local stage_dir="$QZK_WIN_BUILD/package/$name"
    rm -rf "$QZK_WIN_BUILD/package"
    mkdir -p "$stage_dir/platforms" "$stage_dir/styles" "$stage_dir/translations"
    cp "$QZK_WIN_BUILD/qzk-editor.exe" "$QZK_WIN_BUILD/qzk-map.exe" "$stage_dir/"
    for lib in Qt6Core Qt6Gui Qt6Widgets; do
        cp "$QZK_WIN_QT/bin/$lib.dll" "$stage_dir/"
    done
    # qzk-map render draws without a window system, on the offscreen platform.
    cp "$QZK_WIN_QT/plugins/platforms/qwindows.dll" "$QZK_WIN_QT/plugins/platforms/qoffscreen.dll" \
        "$stage_dir/platforms/"
    cp "$QZK_WIN_QT/plugins/styles/qwindowsvistastyle.dll" "$stage_dir/styles/"
    cp "$QT_TRANSLATION" "$stage_dir/translations/"
    copy_runtime "$stage_dir"
    # The chip descriptions and the help, found next to the program as in the build folder.
    cp "$QZK_ROOT/data/Tavolin.dat" "$QZK_ROOT/data/Help.htm" "$stage_dir/"
    cp -r "$QZK_ROOT/data/help" "$stage_dir/"
    # UTF-8 with a byte order mark, which every Notepad reads as such.
    { printf '\xef\xbb\xbf'; sed "s/@VERSION@/$version/g" "$QZK_ROOT/packaging/windows/readme.txt"; } |
        crlf /dev/stdin "$stage_dir/readme.txt"
    pack_licences "$stage_dir"
    # The debugging symbols are most of the size; a user who unpacks the zip has no use for them.
    find "$stage_dir" \( -name '*.dll' -o -name '*.exe' \) -exec $MINGW-strip --strip-unneeded {} +
    rm -f "$QZK_WIN_BUILD/$name.zip"
    (cd "$QZK_WIN_BUILD/package" && zip -qr "../$name.zip" "$name")
    echo "Packed $QZK_WIN_BUILD/$name.zip ($(stat -c %s "$QZK_WIN_BUILD/$name.zip") bytes)"
}

install_packages
case "$stage" in
qt) build_qt ;;
project) build_project ;;
pack) pack ;;
all) build_qt && build_project && pack ;;
*) echo "usage: $0 [qt|project|pack|all]" >&2; exit 2 ;;
esac
