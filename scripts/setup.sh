#!/usr/bin/env bash
# Installs what building, running, testing and packaging the editor need on Debian 12 or 13, then
# configures and builds. Sourced by start-editor.sh and run-tests.sh.
set -euo pipefail

QZK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QZK_BUILD="${QZK_BUILD:-$QZK_ROOT/build}"

qzk_packages=(
    build-essential cmake ninja-build python3
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libbenchmark-dev
    qt6-translations-l10n
    fonts-ipafont-gothic
    xvfb xauth xdotool openbox x11-utils xclip
    at-spi2-core python3-pyatspi dbus-daemon
    appstream desktop-file-utils shared-mime-info libglib2.0-bin
    git imagemagick
    dpkg-dev file lintian
)

qzk_install_missing() {
    local missing=()
    for pkg in "${qzk_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

qzk_build() {
    cmake -S "$QZK_ROOT" -B "$QZK_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$QZK_BUILD" -j"$(nproc)"
}

qzk_install_missing
qzk_build
