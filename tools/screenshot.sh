#!/bin/bash
# Takes the README's pictures of the program's windows on displays of their own, inside
# a private network namespace, with scratch copies of the program folder (no options or
# lists of yours are touched):
#   tools/screenshot.sh [folder]        (default docs/images)
# main-window.png       the main window at rest (one copy)
# wizard.png            the add-destination wizard's computer page (WizardShow.exe)
# main-window-connected.png, full-view.png
#                       the operator's main window and full-size view, connected to a
#                       destination on a second test host (tools/twohost/, demo steps)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/images}")

if [ "${FERN_IN_NETNS:-}" != "1" ]; then
    "$root/tools/build.sh"
    exec "$root/tools/in-netns.sh" "$0" "$out"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$out"
cp "$root/build/bin/"*.exe "$root/build/bin/"*.dll "$work/bin/"
cp -r "$root/build/bin/Resource" "$work/bin/" 2>/dev/null || true

# ---- one copy: each window it shows on its own, saved as <name>.bmp by WindowShot
cd "$work/bin"
"$root/tools/with-wine.sh" "$root/build" bash -c '
    set -euo pipefail
    wine ./Fernhold.exe &
    program=$!
    # shot <window class> <window title> <picture name>
    shot() { wine ./WindowShot.exe "$1" "$2" "$3.bmp" 60000; }
    shot FernholdWnd "Fernhold ver1.13" main-window
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    # The wizard on its computer page, filled from the tests network (WizardShow.exe).
    wine ./WizardShow.exe 60000 &
    wizard=$!
    shot FernholdWnd "Wizard Window" wizard
    kill "$wizard" 2>/dev/null || true
    wait "$wizard" 2>/dev/null || true
'
for picture in *.bmp; do
    /usr/bin/python3 -c 'import sys; from PIL import Image; Image.open(sys.argv[1]).save(sys.argv[2])' \
        "$picture" "$out/${picture%.bmp}.png"
    echo "screenshot: $out/${picture%.bmp}.png"
done

# ---- two copies: the operator connected to a destination
FERN_TWOHOST_SHOTS="$work/twohost-shots" "$root/tools/with-wine.sh" "$root/build" \
    bash "$root/tools/twohost/run.sh" "$root/build/bin" "$work/twohost" demo >"$work/twohost.log" 2>&1 ||
    { tail -n 30 "$work/twohost.log" >&2; exit 1; }
cp "$work/twohost-shots/2-operator-connected-window.png" "$out/main-window-connected.png"
cp "$work/twohost-shots/4-operator-full-view-window.png" "$out/full-view.png"
echo "screenshot: $out/main-window-connected.png"
echo "screenshot: $out/full-view.png"
