#!/bin/bash
# Takes the README's screenshot of the add-destination wizard on its computer page: builds,
# shows the wizard filled from a test network on a display of its own inside a private
# network namespace, in a scratch copy of the program folder, and saves the window:
#   tools/wizard-screenshot.sh [out.png]       (default docs/images/wizard.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/images/wizard.png}")

if [ "${FERN_IN_NETNS:-}" != "1" ]; then
    cmake --build "$root/build" --target WizardShow WindowShot FernholdSkin
    exec "$root/tools/in-netns.sh" "$0" "$out"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root/build/bin/"*.exe "$root/build/bin/"*.dll "$work/"
cp -r "$root/build/bin/Resource" "$work/" 2>/dev/null || true
mkdir -p "$(dirname "$out")"
cd "$work"
"$root/tools/with-wine.sh" "$root/build" bash -c '
    wine ./WizardShow.exe 60000 &
    shown=$!
    wine ./WindowShot.exe FernholdWnd "Wizard Window" shot.bmp 60000
    kill "$shown" 2>/dev/null || true
    wait "$shown" 2>/dev/null || true
'
/usr/bin/python3 -c 'import sys; from PIL import Image; Image.open(sys.argv[1]).save(sys.argv[2])' \
    shot.bmp "$out"
echo "screenshot: $out"
