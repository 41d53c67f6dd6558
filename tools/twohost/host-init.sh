#!/bin/bash
# First process of one test host (see hosts.sh): gives the fresh namespaces their
# loopback, host name, /etc/hosts, a private /tmp (so the host's X and Wine sockets
# meet no other display or server) and a copy-on-write Wine prefix, then waits to be
# killed. Everything started in the host dies with it.
#   host-init.sh <name> <host folder> <prefix to copy or "">
set -euo pipefail
name=$1 dir=$2 source=$3

ip link set lo up
hostname "$name"
mount --bind "$dir/hosts" /etc/hosts
if [ -n "$source" ]; then
    # The suite's prepared prefix seen through an overlay: the host's writes land in
    # its own folder and the original stays as it is. Mounted before the private
    # /tmp, which would hide a prefix that lies under /tmp.
    mkdir -p "$dir/prefix-upper" "$dir/prefix-work"
    mount -t overlay overlay \
        -o "lowerdir=$source,upperdir=$dir/prefix-upper,workdir=$dir/prefix-work" \
        "$dir/wineprefix"
fi
mount -t tmpfs -o mode=1777 tmpfs /tmp
touch "$dir/ready"
exec sleep infinity
