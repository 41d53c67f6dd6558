#!/bin/bash
# Takes the README's screenshot of the destination settings dialog (a destination with two
# MAC addresses): builds, shows the dialog on a display of its own inside a private
# network namespace, and saves it:
#   tools/dialog-screenshot.sh [out.png]   (default docs/images/destination-dialog.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/images/destination-dialog.png}")

if [ "${FERN_IN_NETNS:-}" != "1" ]; then
    cmake --build "$root/build" --target DestinationDialogDemo WindowShot
    exec "$root/tools/in-netns.sh" "$0" "$out"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root/build/bin/"*.exe "$root/build/bin/"*.dll "$work/"
mkdir -p "$(dirname "$out")"
cd "$work"
"$root/tools/with-wine.sh" "$root/build" bash -c '
    # No window manager runs on the private display: Wine draws the caption itself
    # while this run lasts.
    key="HKCU\\Software\\Wine\\X11 Driver"
    wine reg add "$key" /v Decorated /d N /f >/dev/null 2>&1
    trap "wine reg delete \"$key\" /v Decorated /f >/dev/null 2>&1 || true" EXIT
    wine ./DestinationDialogDemo.exe &
    demo=$!
    wine ./WindowShot.exe "#32770" "*" shot.bmp 60000
    kill "$demo" 2>/dev/null || true
    wait "$demo" 2>/dev/null || true
'
/usr/bin/python3 -c 'import sys; from PIL import Image; Image.open(sys.argv[1]).save(sys.argv[2])' \
    shot.bmp "$out"
echo "screenshot: $out"
