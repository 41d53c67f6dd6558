#!/bin/bash
# Test hosts for end-to-end runs: each host is a set of fresh namespaces (network,
# host name, mounts, processes) with its own address on a veth pair, its own
# /etc/hosts, Xvfb, Wine prefix and wineserver. Sourced by run.sh; needs root inside
# tools/in-netns.sh, so the veth pair joins only namespaces made here and no packet
# leaves the machine.
#
# A host's first process is the init of its process namespace and is tied to this
# shell by a parent-death signal: when the shell ends, even by SIGKILL, the kernel
# ends every process of every host, and their network namespaces and veth go too.

twohost_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
twohost_root=$(cd "$twohost_dir/../.." && pwd)
twohost_wine=$(command -v wine64 || command -v wine)

declare -A host_unshare=() host_init=() host_netns=() host_address=()
host_work=""
host_children=()

# hosts_begin <work folder>: every host keeps its files in <work folder>/<name>. A
# folder left by an earlier run is removed; any other folder with files is refused.
# The hosts mount their own /tmp, so a work folder under /tmp moves to /var/tmp, and
# the scripts the hosts run are copied into it (the checkout may lie under /tmp too).
hosts_begin() {
    mkdir -p "$1"
    host_work=$(cd "$1" && pwd)
    case "$host_work/" in
    /tmp/*)
        host_work=/var/tmp/fernhold-twohost-$(printf '%s' "$host_work" | cksum | cut -d' ' -f1)
        echo "twohost: the hosts mount their own /tmp; working in $host_work" >&2
        mkdir -p "$host_work"
        ;;
    esac
    if [ ! -f "$host_work/.twohost" ] && [ -n "$(ls -A "$host_work")" ]; then
        echo "twohost: $host_work holds other files; give an empty or new folder" >&2
        return 1
    fi
    rm -rf "$host_work"
    mkdir -p "$host_work/tools"
    touch "$host_work/.twohost"
    cp "$twohost_root/tools/with-wine.sh" "$twohost_dir/session.sh" "$twohost_dir/display.sh" \
        "$twohost_dir/wake-capture.py" "$host_work/tools/"
}

# host_up <name> <address> <hosts file> <Wine prefix to copy or "">
host_up() {
    local name=$1 address=$2 hosts=$3 source=$4 dir="$host_work/$1" i children
    mkdir -p "$dir/wineprefix"
    cp "$hosts" "$dir/hosts"
    setpriv --pdeathsig KILL \
        unshare --net --uts --mount --pid --fork --kill-child=KILL --mount-proc -- \
        env -u LC_ALL bash "$twohost_dir/host-init.sh" "$name" "$dir" "$source" >"$dir/init.log" 2>&1 &
    host_unshare[$name]=$!
    host_address[$name]=$address
    for ((i = 0; i < 100; i++)); do
        [ -f "$dir/ready" ] && break
        kill -0 "${host_unshare[$name]}" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -f "$dir/ready" ]; then
        echo "twohost: host $name did not come up" >&2
        cat "$dir/init.log" >&2
        return 1
    fi
    children=$(<"/proc/${host_unshare[$name]}/task/${host_unshare[$name]}/children")
    host_init[$name]=${children%% *}
    host_netns[$name]=$(readlink "/proc/${host_init[$name]}/ns/net")
}

# hosts_link <name> <name>: a veth pair between the two hosts, each end with the
# host's address in a /24.
hosts_link() {
    local a=$1 b=$2
    ip link add "veth-$a" netns "${host_init[$a]}" type veth peer name "veth-$b" \
        netns "${host_init[$b]}"
    host_run "$a" 10 sh -c "ip addr add ${host_address[$a]}/24 dev veth-$a && ip link set veth-$a up"
    host_run "$b" 10 sh -c "ip addr add ${host_address[$b]}/24 dev veth-$b && ip link set veth-$b up"
}

# host_run <name> <seconds> <command...>: runs the command inside the host, in its
# Wine environment once host_session has made it, ended after the given seconds.
host_run() {
    local name=$1 seconds=$2
    shift 2
    nsenter -t "${host_init[$name]}" -n -u -m -p -- env -u LC_ALL \
        bash -c '[ -f "$0" ] && . "$0" 2>/dev/null; exec timeout -k 5 "$@"' \
        "$host_work/$name/env" "$seconds" "$@"
}

# host_wine <name> <seconds> <program.exe> [args...]
host_wine() {
    local name=$1 seconds=$2
    shift 2
    host_run "$name" "$seconds" "$twohost_wine" "$@"
}

# host_spawn <name> <log> <command...>: starts the command inside the host in the
# background (ended with the host).
host_spawn() {
    local name=$1 log=$2
    shift 2
    nsenter -t "${host_init[$name]}" -n -u -m -p -- env -u LC_ALL \
        bash -c '[ -f "$0" ] && . "$0" 2>/dev/null; exec "$@"' \
        "$host_work/$name/env" "$@" >"$log" 2>&1 &
    host_children+=($!)
}

# host_session <name> [<width>x<height>]: the host's Xvfb and persistent wineserver,
# through tools/with-wine.sh with the host folder as its build folder (its screen
# size unless one is given); waits for them.
host_session() {
    local name=$1 dir="$host_work/$1" i display=()
    [ -n "${2:-}" ] && display=("$host_work/tools/display.sh" "$2")
    nsenter -t "${host_init[$name]}" -n -u -m -p -- \
        env -u DISPLAY -u LC_ALL "${display[@]}" "$host_work/tools/with-wine.sh" "$dir" \
        "$host_work/tools/session.sh" "$dir/env" >"$dir/session.log" 2>&1 &
    host_children+=($!)
    for ((i = 0; i < 1200; i++)); do
        [ -f "$dir/env" ] && return 0
        kill -0 "$!" 2>/dev/null || break
        sleep 0.1
    done
    echo "twohost: the Wine session of host $name did not start" >&2
    cat "$dir/session.log" >&2
    return 1
}

# hosts_end: ends every host and waits until no process is left in any of their
# network namespaces; 1 when something outlived the wait.
hosts_end() {
    local name pid left=0 i ns
    for name in "${!host_unshare[@]}"; do
        kill -KILL "${host_unshare[$name]}" 2>/dev/null || true
    done
    for pid in "${host_unshare[@]}" "${host_children[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    for ns in "${host_netns[@]}"; do
        for ((i = 0; i < 100; i++)); do
            twohost_members "$ns" || break
            sleep 0.1
        done
        if twohost_members "$ns"; then
            echo "twohost: processes left in $ns" >&2
            left=1
        fi
    done
    host_unshare=() host_init=() host_netns=() host_children=()
    return $left
}

# twohost_members <netns id>: true while some process lives in that namespace.
twohost_members() {
    local inode=${1//[^0-9]/}
    stat -L -c %i /proc/[0-9]*/ns/net 2>/dev/null | grep -qx "$inode"
}
