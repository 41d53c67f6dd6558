#!/bin/bash
# Runs the view-window benchmark on a display of its own, 1920 x 1080 at 24 bits, in
# the program folder (its "./Resource" skin is the one drawn):
#   tools/bench/view-bench.sh [build-dir]
# build-dir defaults to build; run it from the repository root. The Xvfb started here
# is stopped when the run ends.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-build}" && pwd)

fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true' EXIT
read -r display_number <"$fifo"
rm -f "$fifo"
export DISPLAY=":$display_number"

cd "$build/bin"
"$root/tools/with-wine.sh" "$build" wine "$build/bin/FernholdViewWindowBench.exe"
