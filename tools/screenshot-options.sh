#!/bin/bash
# Takes the README's screenshots of the options sheet, its general page and its
# user-rights page, the way tools/screenshot.sh takes the main window's: in a scratch copy
# of the program folder on a display of its own inside a private network namespace.
#   tools/screenshot-options.sh [out-folder]      (default docs/images)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/images}")

mkdir -p "$out"
source "$root/tools/scratch-program.sh"
# UM_SHOW_OPTIONS is WM_USER + 9; each picture is taken from a program run of its own.
# The display has no window manager to draw captions, so Wine draws them itself for these
# runs (undecorated windows); the setting is taken out of the prefix again afterwards.
x11='HKCU\Software\Wine\X11 Driver'
for page in 0 1; do
    "$root/tools/with-wine.sh" "$root/build" bash -c '
        wine reg add "$1" /v Decorated /d N /f >/dev/null 2>&1
        trap "wine reg delete \"$1\" /v Decorated /f >/dev/null 2>&1" EXIT
        wine ./Fernhold.exe &
        program=$!
        wine ./WindowShot.exe "#32770" - "shot$0.bmp" 60000 \
            FernholdWnd "Fernhold ver1.13" 0x409 "$0"
        kill "$program" 2>/dev/null || true
        wait "$program" 2>/dev/null || true
    ' "$page" "$x11"
done
for page in 0 1; do
    name=$([ "$page" = 0 ] && echo general || echo rights)
    /usr/bin/python3 -c 'import sys; from PIL import Image; Image.open(sys.argv[1]).save(sys.argv[2])' \
        "shot$page.bmp" "$out/options-$name.png"
    echo "screenshot: $out/options-$name.png"
done
