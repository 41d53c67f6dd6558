#!/bin/bash
# Runs a command in the project's Wine environment:
#   tools/with-wine.sh <build-dir> <command> [args...]
# A private prefix in <build-dir>/wineprefix (made on first use, with the
# Japanese face mapped to the installed font), code page 932 through
# LC_ALL=ja_JP.UTF-8, and a private Xvfb display when none is set.
# Everything it starts (Xvfb, wineserver) is stopped again when the command ends.
set -euo pipefail

build=$(cd "$1" && pwd)
shift

export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine reads the code page from LC_ALL; no glibc locale is needed (bash may warn, hence the redirect).
{ export LC_ALL=ja_JP.UTF-8; } 2>/dev/null
export WINEARCH=win64

# Wine's sockets are made by the wineserver: it must run in the caller's network
# namespace, so never share a server started elsewhere for this prefix.
wineserver -k >/dev/null 2>&1 || true

xvfb_pid=""
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    xvfb_pid=$!
    read -r display_number <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$display_number"
fi

if [ ! -f "$WINEPREFIX/.fernhold-ready" ]; then
    echo "with-wine: preparing Wine prefix $WINEPREFIX"
    # wineboot and regedit may report failure under load although the prefix is
    # usable; what counts is that the prefix exists afterwards.
    wineboot -i >/dev/null 2>&1 || echo "with-wine: wineboot exited with $?" >&2
    # A UTF-16 .reg file carries the Japanese face name intact (command-line
    # arguments would pass through the missing glibc locale and be mangled).
    reg="$WINEPREFIX/fernhold-fonts.reg"
    printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
        '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]' \
        '"ＭＳ ゴシック"="IPAGothic"' | iconv -f UTF-8 -t UTF-16 >"$reg"
    wine regedit /S "$reg" >/dev/null 2>&1 || echo "with-wine: regedit exited with $?" >&2
    wineserver -w || true
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "with-wine: the Wine prefix could not be made" >&2
        exit 1
    fi
    touch "$WINEPREFIX/.fernhold-ready"
fi

# One persistent server for the whole command: without it the server ends 3 s
# after each program and a program started in that moment can fail to reach it.
wineserver -p

"$@"
