#!/bin/bash
# The two-host figures, on demand (never in the test suite): Fernhold.exe on the
# operator's test host watching a 1920 x 1080 destination whose screen changes every
# 20 ms, with the frame timer at each interval given (default 500 and 50 ms): frames
# shown per second on the operator's screen while connected and while paused; then
# acknowledged event round trips beside bare socket round trips across the hosts'
# veth pair. Each interval runs on fresh hosts (tools/twohost/run.sh bench), since
# the program reads its options at start.
#   tools/bench/twohost-bench.sh [build-dir] [milliseconds...]
# build-dir defaults to build and needs Fernhold, TwoHostDriver and TwoHostRecorder.
# Runs inside a private network namespace (tools/in-netns.sh) as root.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build}
shift || true
intervals=("$@")
[ ${#intervals[@]} -gt 0 ] || intervals=(500 50)

if [ "${FERN_IN_NETNS:-}" != "1" ]; then
    exec "$root/tools/in-netns.sh" "$0" "$build" "${intervals[@]}"
fi

for interval in "${intervals[@]}"; do
    echo "== frame timer $interval ms"
    FERN_TWOHOST_INTERVAL=$interval "$root/tools/with-wine.sh" "$build" \
        bash "$root/tools/twohost/run.sh" "$build/bin" "$root/$build/twohost-bench" bench |
        grep -E 'frames shown|round trips|acknowledged|paused|FAILED|frames flow'
done
