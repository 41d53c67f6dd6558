#!/bin/bash
# Takes the README's pictures of the program's windows on displays of their own, inside
# a private network namespace, with scratch copies of the program folder (no options or
# lists of yours are touched):
#   tools/screenshot.sh [folder]        (default docs/images)
# main-window.png       the main window at rest (one copy)
# options-general.png, options-rights.png
#                       the options sheet's two pages (opened by UM_SHOW_OPTIONS)
# destination-dialog.png
#                       the destination settings dialog with two MAC addresses
#                       (DestinationDialogDemo.exe)
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
    # No window manager runs on the private display: Wine draws the dialogs captions
    # itself while this run lasts.
    x11="HKCU\\Software\\Wine\\X11 Driver"
    wine reg add "$x11" /v Decorated /d N /f >/dev/null 2>&1
    trap "wine reg delete \"$x11\" /v Decorated /f >/dev/null 2>&1 || true" EXIT
    # shot <window class> <window title, - for any> <picture name> [opener ...]
    shot() { wine ./WindowShot.exe "$1" "$2" "$3.bmp" 60000 "${@:4}"; }
    # run <program and arguments> -- <shot arguments>: one program run per picture
    run() {
        local program=()
        while [ "$1" != "--" ]; do program+=("$1"); shift; done
        shift
        wine "${program[@]}" &
        local pid=$!
        shot "$@"
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    }
    run ./Fernhold.exe -- FernholdWnd "Fernhold ver1.13" main-window
    # UM_SHOW_OPTIONS is WM_USER + 9; the last argument selects the sheet page.
    run ./Fernhold.exe -- "#32770" - options-general FernholdWnd "Fernhold ver1.13" 0x409 0
    run ./Fernhold.exe -- "#32770" - options-rights FernholdWnd "Fernhold ver1.13" 0x409 1
    run ./DestinationDialogDemo.exe -- "#32770" - destination-dialog
    run ./WizardShow.exe 60000 -- FernholdWnd "Wizard Window" wizard
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
