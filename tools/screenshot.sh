#!/bin/bash
# Takes the README's screenshot of the main window: builds, starts Fernhold.exe on a
# display of its own inside a private network namespace, in a scratch copy of the
# program folder (no options or lists of yours are touched), and saves the window:
#   tools/screenshot.sh [out.png]       (default docs/images/main-window.png)
# FERN_SHOT_RUN and FERN_SHOT_TITLE name another program of the folder to start and the
# title of the window to save (tools/wizard-screenshot.sh uses them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/images/main-window.png}")

if [ "${FERN_IN_NETNS:-}" != "1" ]; then
    "$root/tools/build.sh"
    exec "$root/tools/in-netns.sh" "$0" "$out"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root/build/bin/"*.exe "$root/build/bin/"*.dll "$work/"
cp -r "$root/build/bin/Resource" "$work/" 2>/dev/null || true
mkdir -p "$(dirname "$out")"
cd "$work"
"$root/tools/with-wine.sh" "$root/build" bash -c '
    wine ${FERN_SHOT_RUN:-./Fernhold.exe} &
    program=$!
    wine ./WindowShot.exe FernholdWnd "${FERN_SHOT_TITLE:-Fernhold ver1.13}" shot.bmp 60000
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
'
/usr/bin/python3 -c 'import sys; from PIL import Image; Image.open(sys.argv[1]).save(sys.argv[2])' \
    shot.bmp "$out"
echo "screenshot: $out"
