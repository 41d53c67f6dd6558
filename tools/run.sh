#!/bin/bash
# Builds the system and starts Fernhold.exe under Wine (on Windows, run build/bin/Fernhold.exe),
# then says what it started: the display, the addresses and port the program listens on,
# the folder its files land in and how to stop it. Without a display of your own the
# program runs on a private Xvfb, and a screenshot of its main window is saved
# (build/run-main-window.png) so you can see what it shows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${FERN_RUN_INSIDE:-}" != "1" ]; then
    "$root/tools/build.sh"
    if [ ! -f "$root/build/bin/Fernhold.exe" ]; then
        echo "Fernhold.exe is not built yet: only the libraries exist so far."
        exit 0
    fi
    headless=1
    [ -n "${DISPLAY:-}" ] && headless=0
    cd "$root/build/bin"
    FERN_RUN_INSIDE=1 FERN_RUN_HEADLESS=$headless exec "$root/tools/with-wine.sh" "$root/build" "$0"
fi

bin="$root/build/bin"
shot="$root/build/run-main-window.png"

# The TCP listeners of this prefix's wineserver (Wine's sockets live there), one
# "address:port" a line.
listeners() {
    local line pid
    ss -Hltnp 2>/dev/null | while read -r line; do
        for pid in $(grep -o 'pid=[0-9]*' <<<"$line" | cut -d= -f2); do
            if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
                awk '{print $4}' <<<"$line"
                break
            fi
        done
    done | sort -u
}

wine ./Fernhold.exe &
program=$!
trap 'kill "$program" 2>/dev/null || true' INT TERM

addresses=""
for _ in $(seq 300); do
    addresses=$(listeners)
    [ -n "$addresses" ] && break
    kill -0 "$program" 2>/dev/null || break
    sleep 0.2
done

echo
echo "Fernhold is running (process $program under Wine)."
if [ "$FERN_RUN_HEADLESS" = 1 ]; then
    echo "  display:    $DISPLAY, a private Xvfb (no display was set)"
else
    echo "  display:    $DISPLAY"
fi
if [ -n "$addresses" ]; then
    echo "  listening:  $(tr '\n' ' ' <<<"$addresses")(TCP; 0.0.0.0 means every address of this machine)"
else
    echo "  listening:  nothing yet (connections refused in the options, or the program ended)"
fi
echo "  its files:  $bin (FernOption.dat, default.clf, UserInfo\\)"
if [ -f "$bin/FernOption.dat" ]; then
    echo "              FernOption.dat from an earlier run: the window starts hidden in the"
    echo "              notification area; delete that file to see the window at the start"
fi
echo "  stop it:    press Ctrl+C here, or choose ファイル → 閉じる in its window"

if [ "$FERN_RUN_HEADLESS" = 1 ]; then
    if wine ./WindowShot.exe FernholdWnd "Fernhold ver1.13" "$root/build/run-main-window.bmp" 20000 \
        >/dev/null 2>&1 &&
        /usr/bin/python3 -c 'import sys; from PIL import Image; Image.open(sys.argv[1]).save(sys.argv[2])' \
            "$root/build/run-main-window.bmp" "$shot"; then
        echo "  screenshot: $shot (the main window on the private display)"
    else
        echo "  screenshot: none (the main window did not show within 20 s)"
    fi
    rm -f "$root/build/run-main-window.bmp"
fi
echo
wait "$program" || true
