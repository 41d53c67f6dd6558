#!/bin/bash
# Two copies of Fernhold.exe on two test hosts joined by a veth pair: host "fernhost-a"
# (10.254.0.1, the operator) and host "fernhost-b" (10.254.0.2, the destination), each
# with its own Xvfb, Wine prefix, wineserver and program folder, both on port 5483.
#   run.sh <bin folder> <work folder> harness|full
# harness: both copies listen on their host's address and each reaches the other's
# events service across the veth by name.
# full: also connects the operator's copy to the destination, sees frames flow, types
# keys on the operator's display that must arrive on the destination's, disconnects
# with every connection closed on both hosts, then connects once more to the
# destination listed at 0.0.0.0 (found by name) and disconnects again.
# Needs root inside tools/in-netns.sh (exit 77, skipped, anywhere else). Ends itself
# after FERN_TWOHOST_LIMIT seconds (default 170) and always takes the hosts down.
set -euo pipefail

bin=$(cd "$1" && pwd)
work=$2
steps=$3
if [ "$(id -u)" != 0 ] || [ "${FERN_IN_NETNS:-}" != 1 ]; then
    echo "twohost: needs root inside tools/in-netns.sh; skipped"
    exit 77
fi
# shellcheck source=tools/twohost/hosts.sh
. "$(dirname "$0")/hosts.sh"

readonly PORT=5483
readonly OPERATOR=fernhost-a DESTINATION=fernhost-b
readonly -A ADDRESS=([fernhost-a]=10.254.0.1 [fernhost-b]=10.254.0.2)
limit=${FERN_TWOHOST_LIMIT:-170}
started=$SECONDS

say() { printf 'twohost: [%3ds] %s\n' $((SECONDS - started)) "$*"; }
fail() {
    say "FAILED: $*" >&2
    exit 1
}

finish() {
    local rc=$? name log
    trap - EXIT INT TERM
    kill "${watchdog:-}" 2>/dev/null || true
    wait "${watchdog:-}" 2>/dev/null || true
    if [ "$rc" -ne 0 ]; then
        for name in "$OPERATOR" "$DESTINATION"; do
            if [ -n "${host_init[$name]:-}" ]; then
                echo "----- established connections on $name" >&2
                established "$name" >&2 || true
            fi
            for log in "$work/$name"/*.log; do
                [ -s "$log" ] || continue
                echo "----- $log" >&2
                tail -n 40 "$log" >&2
            done
        done
    fi
    if ! hosts_end; then
        say "processes outlived their host" >&2
        rc=1
    fi
    [ "$rc" -eq 0 ] && rm -rf "$work"
    say "hosts down"
    exit "$rc"
}
trap finish EXIT
trap 'exit 1' INT TERM

# Every step below is bounded; the watchdog only catches what no bound foresaw.
(
    for ((i = 0; i < limit; i++)); do
        sleep 1
        kill -0 $$ 2>/dev/null || exit 0
    done
    echo "twohost: over ${limit}s, ending" >&2
    kill -TERM $$
) &
watchdog=$!

winpath() { printf 'Z:%s' "${1//\//\\}"; }

# established <host>: the established TCP connections of port 5483 in the host, each
# as a line of addresses and an indented line of counters (no State column: the
# filter names the state).
established() {
    host_run "$1" 10 ss -Htni state established "( sport = :$PORT or dport = :$PORT )"
}

# wait_until <seconds> <what> <command...>: retries the command every half second.
wait_until() {
    local seconds=$1 what=$2 end
    shift 2
    end=$((SECONDS + seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || fail "$what (after ${seconds}s)"
        sleep 0.5
    done
}

listening() {
    host_run "$1" 10 ss -Htln "sport = :$PORT" | grep -q "${ADDRESS[$1]}:$PORT"
}
no_established() { [ -z "$(established "$1")" ]; }

# ---- two hosts
hosts_begin "$work"
work=$host_work
printf '127.0.0.1\tlocalhost\n%s\t%s\n%s\t%s\n' \
    "${ADDRESS[$OPERATOR]}" "$OPERATOR" "${ADDRESS[$DESTINATION]}" "$DESTINATION" \
    >"$work/hosts"
prefix=""
if [ -n "${WINEPREFIX:-}" ] && [ -f "$WINEPREFIX/.fernhold-ready" ]; then
    prefix=$WINEPREFIX
fi
for name in "$OPERATOR" "$DESTINATION"; do
    host_up "$name" "${ADDRESS[$name]}" "$work/hosts" "$prefix"
    mkdir -p "$work/$name/bin"
    cp "$bin"/Fernhold.exe "$bin"/*.dll "$bin"/TwoHostDriver.exe "$bin"/TwoHostRecorder.exe \
        "$work/$name/bin/"
    if [ -d "$bin/Resource" ]; then cp -r "$bin/Resource" "$work/$name/bin/"; fi
done
hosts_link "$OPERATOR" "$DESTINATION"
for name in "$OPERATOR" "$DESTINATION"; do
    host_session "$name" || fail "no Wine session on $name"
done
say "hosts up: $OPERATOR ${ADDRESS[$OPERATOR]}, $DESTINATION ${ADDRESS[$DESTINATION]}"

driver() {
    local name=$1 seconds=$2
    shift 2
    host_wine "$name" "$seconds" "$work/$name/bin/TwoHostDriver.exe" "$@"
}

# ---- both copies running; each reaches the other across the veth
# The destination twice: by its address, and at 0.0.0.0 to be found by name.
driver "$OPERATOR" 60 list "$(winpath "$work/$OPERATOR/bin/default.clf")" \
    "$DESTINATION" "${ADDRESS[$DESTINATION]}" "$DESTINATION" 0.0.0.0 ||
    fail "cannot write the operator's list"
for name in "$OPERATOR" "$DESTINATION"; do
    host_spawn "$name" "$work/$name/fernhold.log" "$twohost_wine" "$work/$name/bin/Fernhold.exe"
done
for name in "$OPERATOR" "$DESTINATION"; do
    wait_until 60 "Fernhold.exe on $name listens on ${ADDRESS[$name]}:$PORT" listening "$name"
done
say "both copies listen on $PORT"
driver "$OPERATOR" 60 serves "$DESTINATION" "$PORT" 20 || fail "$OPERATOR cannot reach $DESTINATION"
driver "$DESTINATION" 60 serves "$OPERATOR" "$PORT" 20 || fail "$DESTINATION cannot reach $OPERATOR"
for name in "$OPERATOR" "$DESTINATION"; do
    wait_until 15 "the checks' connections on $name closed" no_established "$name"
done
say "each host reaches the other's events service by name"
[ "$steps" = full ] || exit 0

# ---- remote control from the operator's display to the destination's
to_destination() {
    established "$OPERATOR" | grep -c "${ADDRESS[$DESTINATION]}:$PORT" || true
}
two_links() { [ "$(to_destination)" -eq 2 ]; }
# The most bytes the destination has sent on one connection: the image link's.
image_bytes() {
    established "$DESTINATION" | grep -o 'bytes_acked:[0-9]*' | cut -d: -f2 | sort -n |
        tail -n 1 | grep . || echo 0
}

frames_flow() {
    local samples i
    # Two intervals, so one frame sent at the start cannot pass for a flow.
    samples=("$(image_bytes)")
    for i in 1 2; do
        sleep 3
        samples+=("$(image_bytes)")
        [ "${samples[i]}" -gt $((samples[i - 1] + 1000)) ] ||
            fail "frames do not flow (bytes sent by $DESTINATION: ${samples[*]})"
    done
    say "frames flow: ${samples[*]} bytes sent by $DESTINATION at 3 s intervals"
}
# disconnect: event 4, then no connection left on either host, both still listening.
disconnect() {
    local name
    driver "$OPERATOR" 10 post 4 0 || fail "cannot post the disconnect"
    for name in "$OPERATOR" "$DESTINATION"; do
        wait_until 20 "every link on $name closed" no_established "$name"
        listening "$name" || fail "$name stopped listening"
    done
    say "disconnected: no connection left on either host, both still listen"
}

keys="$work/$DESTINATION/keys.log"
host_spawn "$DESTINATION" "$keys" "$twohost_wine" "$work/$DESTINATION/bin/TwoHostRecorder.exe" 150
wait_until 60 "the recorder on $DESTINATION has the focus" grep -q '^ready' "$keys"

driver "$OPERATOR" 60 connect 0 45 || fail "no connection"
wait_until 10 "event and image link from $OPERATOR to $DESTINATION" two_links
say "connected: two links to $DESTINATION:$PORT"

frames_flow

driver "$OPERATOR" 30 type FH || fail "cannot type on $OPERATOR"
replayed() { [ "$(grep -v -e '^ready' "$keys" | tr -d '\r' | tr '\n' ' ')" = "down 46 up 46 down 48 up 48 " ]; }
wait_until 15 "keys F and H replayed on $DESTINATION" replayed
say "keys typed on $OPERATOR arrived on $DESTINATION"

disconnect

# The session returns to idle (event 0 comes at least 1500 ms after the disconnect
# began, and a connect before it is ignored); then a second connect, to the record
# at 0.0.0.0, finds the destination by name and opens two new links. The connect is
# posted again while none came: one while connecting or connected is ignored as well.
reconnected() {
    local i
    driver "$OPERATOR" 10 post 1 1 || fail "cannot post the second connect"
    for ((i = 0; i < 10; i++)); do
        two_links && return 0
        sleep 0.5
    done
    return 1
}
wait_until 40 "links from $OPERATOR to $DESTINATION found by name" reconnected
say "connected again, to the destination found by name"
frames_flow
disconnect
