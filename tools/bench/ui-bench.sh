#!/bin/bash
# Runs the main-window and view-window benchmarks on a display of its own inside a
# private network namespace (the idle figure starts the whole program, which listens):
#   tools/bench/ui-bench.sh [build-dir]
# build-dir defaults to build; run it from the repository root. It runs in the program
# folder, so the program's "./Resource" skin is the one drawn.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-build}" && pwd)

if [ "${FERN_IN_NETNS:-}" != "1" ]; then
    exec "$root/tools/in-netns.sh" "$0" "$build"
fi
cd "$build/bin"
"$root/tools/with-wine.sh" "$build" bash -c '
    wine ./FernholdMainWindowBench.exe
    wine ./FernholdViewWindowBench.exe
'

