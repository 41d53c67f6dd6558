#!/bin/bash
# The listener under slow peers, measured from outside: Fernhold.exe from a scratch copy of
# the program folder, inside a private network namespace (loopback only), probed by
# tools/bench/slow-peers.py:
#   tools/bench/slow-peers.sh [build-dir]
# build-dir defaults to build; run it from the repository root.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-build}" && pwd)

if [ "${FERN_IN_NETNS:-}" != "1" ]; then
    exec "$root/tools/in-netns.sh" "$root/tools/with-wine.sh" "$build" "$0" "$build"
fi

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$build"/bin/*.dll "$build/bin/Fernhold.exe" "$folder/"
cp -r "$build/bin/Resource" "$folder/"
cd "$folder"
wine Fernhold.exe >/dev/null 2>&1 &
for _ in $(seq 1 300); do
    ss -tln | grep -q ':5483 ' && break
    sleep 0.1
done
python3 "$root/tools/bench/slow-peers.py"
