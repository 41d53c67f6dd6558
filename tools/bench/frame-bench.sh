#!/bin/bash
# Runs the frame benchmark on a display of its own, 1920 x 1080 at 24 bits, inside a
# private network namespace (loopback only):
#   tools/bench/frame-bench.sh [build-dir] [frames folder]
# build-dir defaults to build-bench, the frames folder to ../shared/frames; run it
# from the repository root. The Xvfb started here is stopped when the run ends.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build-bench}
frames=${2:-../shared/frames}

if [ "${FERN_IN_NETNS:-}" != "1" ]; then
    exec "$root/tools/in-netns.sh" "$0" "$build" "$frames"
fi

fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true' EXIT
read -r display_number <"$fifo"
rm -f "$fifo"
export DISPLAY=":$display_number"

"$root/tools/with-wine.sh" "$build" wine "$build/bin/FernholdFrameBench.exe" "$frames"
