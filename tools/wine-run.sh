#!/bin/bash
# ctest's emulator: runs one Windows program (a test, or test discovery) under Wine.
#   tools/wine-run.sh <program.exe> [args...]
# When Wine itself fails to start the program (non-zero exit before the program
# wrote a single byte, as when a client meets its wineserver shutting down), the
# program is started again, at most twice more. Any run that produced output
# counts as it stands, so a failing test still fails.
set -uo pipefail

wine=$(command -v wine64 || command -v wine)
out=$(mktemp)
trap 'rm -f "$out"' EXIT

for attempt in 1 2 3; do
    "$wine" "$@" | tee "$out"
    rc=${PIPESTATUS[0]}
    if [ "$rc" -eq 0 ] || [ -s "$out" ]; then
        exit "$rc"
    fi
    echo "wine-run: Wine ended with $rc before $1 wrote anything (attempt $attempt)" >&2
    sleep 1
done
exit "$rc"
