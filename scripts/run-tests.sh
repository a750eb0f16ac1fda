#!/usr/bin/env bash
# Sets up everything on a fresh Debian 12 machine, builds and runs the whole test suite
# headless.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$QZK_BUILD" --output-on-failure -j"$(nproc)"
