#!/usr/bin/env bash
# Sets up everything on a fresh Debian 12 or 13 machine, builds and runs the whole test suite
# headless: once as built for use, then again built with AddressSanitizer and UBSan.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$QZK_BUILD" --output-on-failure -j"$(nproc)"

sanitized="${QZK_SANITIZE_BUILD:-$QZK_ROOT/build-sanitize}"
cmake -S "$QZK_ROOT" -B "$sanitized" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQZK_SANITIZE=ON -DQZK_BENCHMARKS=OFF >/dev/null
cmake --build "$sanitized" -j"$(nproc)"
ctest --test-dir "$sanitized" --output-on-failure -j"$(nproc)"
