#!/usr/bin/env bash
# Sets up everything on a fresh Debian 12 machine, builds and starts the editor.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "The editor is built ($QZK_BUILD/qzk-editor) but there is no display to show it on." >&2
    echo "Run this from a desktop session, or under a virtual one: xvfb-run -a $0" >&2
    exit 1
fi
exec "$QZK_BUILD/qzk-editor" "$@"
