#!/bin/bash
# Runs the add-destination wizard's benchmark inside a private network namespace:
#   tools/bench/wizard-bench.sh [build-dir]
# The namespace gets a veth pair to a second namespace of its own holding 10.254.9.2 and
# 10.254.9.3, where a stand-in copy answers service 5; every other address of the /24 is
# silent. The sweep therefore visits 10.254.9.0/24 and nothing else, and no packet of it
# can leave the two namespaces. Needs root.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-build}" && pwd)

if [ "${FERN_IN_NETNS:-}" != "1" ]; then
    exec "$root/tools/in-netns.sh" "$0" "$build"
fi

# The answering side: a network namespace of its own, kept by a sleeping process.
unshare --net sleep 600 &
peer=$!
trap 'kill $responder 2>/dev/null || true; kill $peer 2>/dev/null || true' EXIT
responder=
sleep 0.2
ip link add veth-sweep type veth peer name veth-sweep-peer
ip link set veth-sweep-peer netns "/proc/$peer/ns/net"
ip addr add 10.254.9.1/24 dev veth-sweep
ip link set veth-sweep up
nsenter --net="/proc/$peer/ns/net" sh -c '
    ip link set lo up
    ip addr add 10.254.9.2/24 dev veth-sweep-peer
    ip addr add 10.254.9.3/24 dev veth-sweep-peer
    ip link set veth-sweep-peer up
'
nsenter --net="/proc/$peer/ns/net" /usr/bin/python3 "$root/tools/bench/mac-responder.py" \
    10.254.9.2 10.254.9.3 &
responder=$!
sleep 0.5

cd "$build/bin"
"$root/tools/with-wine.sh" "$build" wine ./FernholdWizardBench.exe
