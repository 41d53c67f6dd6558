#!/bin/bash
# Remote control to watch on a machine without a screen: builds, then runs two copies of
# Fernhold on two test hosts inside a private network namespace (tools/twohost/, see
# docs/twohost.md), connects the operator to the destination and saves screenshots of
# the operator's screen:
#   tools/demo.sh [folder]        (default build/demo)
# Needs root (the test hosts are network namespaces).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
shots=$(realpath -m "${1:-$root/build/demo}")

if [ "${FERN_IN_NETNS:-}" != "1" ]; then
    "$root/tools/build.sh"
    exec "$root/tools/in-netns.sh" "$root/tools/with-wine.sh" "$root/build" "$0" "$shots"
fi

rm -rf "$shots"
FERN_TWOHOST_SHOTS="$shots" bash "$root/tools/twohost/run.sh" "$root/build/bin" \
    "$root/build/twohost-demo" demo
echo
echo "demo: the operator's screen, in order:"
ls -1 "$shots"/*.png | sed 's/^/  /'
