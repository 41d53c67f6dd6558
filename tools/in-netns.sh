#!/bin/bash
# Runs a command inside a private network namespace, so that whatever it does on
# the network (listening on every address, broadcasts) stays on this machine by
# construction:
#   tools/in-netns.sh <command> [args...]
# The namespace has only loopback, with the extra address 127.0.0.2 and the
# limited broadcast 255.255.255.255 routed to it, and the host name "fernhost",
# which resolves to 127.0.0.1 and 127.0.0.2. Needs root (CI and
# the development machines run as root); Wine's sockets live in its wineserver,
# so the command must start its own wineserver inside (tools/with-wine.sh does).
set -euo pipefail

if [ "${FERN_IN_NETNS:-}" = "1" ]; then
    exec "$@"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '127.0.0.1\tlocalhost fernhost\n127.0.0.2\tfernhost\n::1\tlocalhost\n' >"$work/hosts"
printf 'multi on\n' >"$work/host.conf"

FERN_IN_NETNS=1 FERN_NETNS_DIR="$work" unshare --net --mount --uts -- bash -c '
    set -euo pipefail
    ip link set lo up
    ip addr add 127.0.0.2/8 dev lo
    # The limited broadcast (Wake-on-LAN) goes to loopback: without a route it would
    # fail, and this way a test reads it back and it reaches no other network.
    ip route add 255.255.255.255/32 dev lo
    hostname fernhost
    mount --bind "$FERN_NETNS_DIR/hosts" /etc/hosts
    mount --bind "$FERN_NETNS_DIR/host.conf" /etc/host.conf
    exec "$@"
' fern-netns "$@"
