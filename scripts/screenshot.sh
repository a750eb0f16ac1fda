#!/usr/bin/env bash
# Starts the built editor on a virtual screen and saves a picture of it: shot.png or $1.
set -euo pipefail
for tool in xvfb-run import; do
    command -v "$tool" >/dev/null || { echo "$0 needs $tool (Debian: xvfb, imagemagick, xdotool)" >&2; exit 1; }
done
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/shot.png}"
xvfb-run -a -s "-screen 0 800x560x24" bash -c "
    '$root/build/qzk-editor' & pid=\$!
    sleep \${QZK_SHOT_DELAY:-3}
    import -window root '$out'
    kill \$pid" 
echo "$out"
