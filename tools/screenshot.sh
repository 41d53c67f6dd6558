#!/bin/bash
# Takes the README's screenshot of the main window: builds, starts Fernhold.exe on a
# display of its own inside a private network namespace, in a scratch copy of the
# program folder (no options or lists of yours are touched), and saves the window:
#   tools/screenshot.sh [out.png]       (default docs/images/main-window.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/images/main-window.png}")

mkdir -p "$(dirname "$out")"
source "$root/tools/scratch-program.sh"
"$root/tools/with-wine.sh" "$root/build" bash -c '
    wine ./Fernhold.exe &
    program=$!
    wine ./WindowShot.exe FernholdWnd "Fernhold ver1.13" shot.bmp 60000
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
'
/usr/bin/python3 -c 'import sys; from PIL import Image; Image.open(sys.argv[1]).save(sys.argv[2])' \
    shot.bmp "$out"
echo "screenshot: $out"
