#!/bin/bash
# ctest's emulator: runs one Windows program (a test, or test discovery) under Wine.
#   tools/wine-run.sh <program.exe> [args...]
# The program writes into files, never into ctest's pipes: Wine's service processes
# (explorer, services, ...) are started by whichever program needs them first,
# inherit its output handles and outlive it under the persistent wineserver of
# tools/with-wine.sh; holding ctest's pipes they would keep it waiting for ever.
# Wine occasionally fails in ways that are not the program's: it may fail to start
# the program (non-zero exit before the program wrote a single byte, as when a
# client meets its wineserver shutting down), or, under load, a process may not
# end after its work is done. A program that did not start is started again, at
# most twice more; so is a test listing (--gtest_list_tests, a matter of seconds)
# that has not ended after 35 s. Any test run that produced output counts as it
# stands, so a failing test still fails; ctest's own time-out covers test runs.
set -uo pipefail

wine=$(command -v wine64 || command -v wine)
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

listing=0
case " $* " in *" --gtest_list_tests "*) listing=1 ;; esac

for attempt in 1 2 3; do
    if [ "$listing" -eq 1 ]; then
        # ctest parses the listing, so only a whole one is passed on.
        timeout -k 5 35 "$wine" "$@" >"$out" 2>"$err" </dev/null
        rc=$?
        cat "$err" >&2
        if [ "$rc" -ne 124 ] && [ "$rc" -ne 137 ] && { [ "$rc" -eq 0 ] || [ -s "$out" ]; }; then
            cat "$out"
            exit "$rc"
        fi
    else
        "$wine" "$@" >"$out" 2>"$err" </dev/null &
        pid=$!
        # Pass the output on while the program runs.
        tail -n +1 -s 0.2 -f --pid="$pid" "$out" &
        tail_pid=$!
        wait "$pid"
        rc=$?
        wait "$tail_pid"
        cat "$err" >&2
        if [ "$rc" -eq 0 ] || [ -s "$out" ]; then
            exit "$rc"
        fi
    fi
    echo "wine-run: Wine ended with $rc for $1 without a result (attempt $attempt)" >&2
    sleep 1
done
exit "$rc"
