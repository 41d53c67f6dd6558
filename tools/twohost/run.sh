#!/bin/bash
# Two copies of Fernhold.exe on two test hosts joined by a veth pair: host "fernhost-a"
# (10.254.0.1, the operator) and host "fernhost-b" (10.254.0.2, the destination), each
# with its own Xvfb, Wine prefix, wineserver and program folder, both on port 5483.
#   run.sh <bin folder> <work folder> harness|full|bench|demo|soak|update
# harness: both copies listen on their host's address and each reaches the other's
# events service across the veth by name.
# full: also works the operator's copy through its windows with real input on its
# display: selects the destination and connects, finds the destination's picture in
# the reduced and clip panes, clicks in the reduced pane and sees the click land on
# the destination, types keys that arrive there, shows the full-size view pixel for
# pixel, pauses (no frame bytes) and resumes, disconnects (both lists back, every
# connection closed on both hosts), then connects once more to the destination
# listed at 0.0.0.0 (found by name) and disconnects again; registers the destination
# through the wizard's automatic entry with the MAC addresses it serves, wakes it twice
# (the second behind the notice; the magic packets captured on the destination's veth)
# and quits, its saved list keeping those addresses.
# update: both copies installed as built (with FRNUpdate.exe and their Update.ini); the
# operator's update command for the destination: at equal versions nothing is fetched
# and no folder made; with the operator at FileVersion 2 (three listed files, the second
# missing) and the destination at 1, the destination fetches, shuts down, its updater
# replaces the first and third files, installs the description, removes the staged
# files and starts Fernhold.exe again, which listens again; then a description with
# AllFileCount 0 is installed and the program restarts once more.
# bench: the two-host figures (tools/bench/twohost-bench.sh): frames shown on the
# operator's screen from a 1920 x 1080 destination changing every 20 ms, with the
# frame timer FERN_TWOHOST_INTERVAL ms (default 500), while connected and while paused;
# then acknowledged events beside bare socket round trips across the veth.
# demo (tools/demo.sh): the operator connects to the destination, whose screen shows its
# own Fernhold window, and the operator's whole screen is saved as PNG files into
# FERN_TWOHOST_SHOTS: idle, connected (reduced view), actual-size clip, full-size view;
# the main window connected and the full-size view also alone (*-window.png).
# Needs root inside tools/in-netns.sh (exit 77, skipped, anywhere else). Ends itself
# after FERN_TWOHOST_LIMIT seconds (default 230) and always takes the hosts down.
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
limit=${FERN_TWOHOST_LIMIT:-230}
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
    if [ "$steps" = demo ]; then cp "$bin"/WindowShot.exe "$work/$name/bin/"; fi
    if [ -d "$bin/Resource" ]; then cp -r "$bin/Resource" "$work/$name/bin/"; fi
    if [ "$steps" = update ]; then cp "$bin"/FRNUpdate.exe "$bin"/Update.ini "$work/$name/bin/"; fi
done
hosts_link "$OPERATOR" "$DESTINATION"
# For the wake step the destination has a second adapter, whose MAC address it serves
# beside its veth's (the program lists adapters that hold an IPv4 address), and the
# operator's limited broadcast leaves by its veth.
readonly SECOND_MAC=02:fe:00:00:77:02
if [ "$steps" = full ]; then
    host_run "$DESTINATION" 10 sh -c "ip link add veth-second address $SECOND_MAC type veth \
        peer name veth-second-p && ip addr add 10.254.7.2/24 dev veth-second && \
        ip link set veth-second up && ip link set veth-second-p up"
    host_run "$OPERATOR" 10 ip route add 255.255.255.255/32 dev "veth-$OPERATOR"
fi
declare -A SCREEN=([fernhost-a]=1280x1024 [fernhost-b]=1280x1024)
[ "$steps" = bench ] && SCREEN[$DESTINATION]=1920x1080
for name in "$OPERATOR" "$DESTINATION"; do
    host_session "$name" "${SCREEN[$name]}" || fail "no Wine session on $name"
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
if [ "$steps" = bench ]; then
    driver "$OPERATOR" 30 options "$(winpath "$work/$OPERATOR/bin/FernOption.dat")" \
        "${FERN_TWOHOST_INTERVAL:-500}" || fail "cannot write the operator's options"
fi
if [ "$steps" = soak ]; then . "$twohost_dir/soak.sh" && soak_prepare; fi
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
case "$steps" in
full | bench | demo | soak) ;;
update)
    # shellcheck source=tools/twohost/update.sh
    . "$(dirname "$0")/update.sh"
    exit 0
    ;;
*) exit 0 ;;
esac


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
# A frame under way when the pause came may still arrive: held once a second passed
# without a byte.
frames_held() {
    local before
    before=$(image_bytes)
    sleep 1
    [ "$(image_bytes)" -eq "$before" ]
}
# pause_and_resume <command...>: pauses, runs the command once the flow stopped and
# sees no frame byte sent meanwhile; connect then resumes the frames.
pause_and_resume() {
    local held
    press pause
    wait_until 15 "frames held while paused" frames_held
    held=$(image_bytes)
    "$@" || fail "$* failed while paused"
    [ "$(image_bytes)" -eq "$held" ] || fail "frame bytes while paused ($held, then $(image_bytes))"
    say "paused: $held bytes sent by $DESTINATION, none more during $*"
    press connect
    frames_flow
}
# connect <row>: the operator selects the row and clicks connect; the panes replace
# the lists and the operator holds two links to the destination.
connect() {
    driver "$OPERATOR" 30 select "$1" || fail "cannot select row $1"
    press connect
    driver "$OPERATOR" 50 await connected 45 || fail "the operator's windows did not connect"
    wait_until 10 "event and image link from $OPERATOR to $DESTINATION" two_links
    say "connected through row $1: two links to $DESTINATION:$PORT"
}
# disconnect: the operator clicks disconnect; both lists come back, no connection is
# left on either host and both still listen.
disconnect() {
    local name
    press disconnect
    driver "$OPERATOR" 30 await idle 25 || fail "the operator's lists did not come back"
    for name in "$OPERATOR" "$DESTINATION"; do
        wait_until 20 "every link on $name closed" no_established "$name"
        listening "$name" || fail "$name stopped listening"
    done
    say "disconnected: both lists shown, no connection left on either host, both still listen"
}
press() { driver "$OPERATOR" 15 press "$1" || fail "cannot press $1"; }

if [ "$steps" = soak ]; then soak_run && exit 0; fi

if [ "$steps" = demo ]; then
    shots=${FERN_TWOHOST_SHOTS:?the demo needs FERN_TWOHOST_SHOTS, the screenshot folder}
    mkdir -p "$shots"
    # shoot <name> [<window title>]: the operator's whole screen as it is now, and the
    # window of that title alone as <name>-window.png (saved in the work folder first:
    # the host has a /tmp of its own).
    shoot() {
        local pictures="$work/$OPERATOR"
        if [ -n "${2:-}" ]; then
            host_wine "$OPERATOR" 40 "$pictures/bin/WindowShot.exe" FernholdWnd "$2" \
                "$(winpath "$pictures/$1-window.bmp")" 30000 >/dev/null ||
                fail "cannot save the window \"$2\""
        fi
        host_run "$OPERATOR" 30 /usr/bin/python3 -c '
import os, sys
from PIL import Image, ImageGrab
ImageGrab.grab().save(sys.argv[1] + ".png")
if os.path.exists(sys.argv[1] + "-window.bmp"):
    Image.open(sys.argv[1] + "-window.bmp").save(sys.argv[1] + "-window.png")
    os.remove(sys.argv[1] + "-window.bmp")' "$pictures/$1" || fail "cannot save the operator's screen"
        mv "$pictures/$1".png "$pictures/$1"-window.png "$shots/" 2>/dev/null || true
        say "screenshot of the operator's screen: $shots/$1.png"
    }
    shoot 1-operator-idle
    connect 0
    frames_flow
    shoot 2-operator-connected "Fernhold ver1.13"
    press clip
    frames_flow
    shoot 3-operator-clip
    press full
    driver "$OPERATOR" 20 await full 15 || fail "the full-size view did not open"
    frames_flow
    shoot 4-operator-full-view "FullView Window"
    press reduced
    disconnect
    exit 0
fi

recorder_log="$work/$DESTINATION/recorder.log"
recorder=("$twohost_wine" "$work/$DESTINATION/bin/TwoHostRecorder.exe" "$limit")
[ "$steps" = bench ] && recorder+=(changing 20)
host_spawn "$DESTINATION" "$recorder_log" "${recorder[@]}"
wait_until 60 "the recorder on $DESTINATION has the focus" grep -q '^ready' "$recorder_log"
read -r _ width height < <(grep '^ready' "$recorder_log" | tr -d '\r')
say "the recorder covers the destination's $width x $height display"

if [ "$steps" = bench ]; then
    connect 0
    driver "$OPERATOR" 30 frames 10 || fail "cannot count frames"
    pause_and_resume driver "$OPERATOR" 20 frames 5
    disconnect
    host_spawn "$DESTINATION" "$work/$DESTINATION/echo.log" "$twohost_wine" \
        "$work/$DESTINATION/bin/TwoHostDriver.exe" echo $((PORT + 10)) 60
    driver "$OPERATOR" 30 bare "$DESTINATION" $((PORT + 10)) 5 || fail "no bare round trips"
    driver "$OPERATOR" 30 events "$DESTINATION" "$PORT" 5 || fail "no event round trips"
    exit 0
fi

# 1. the destination's row and connect, clicked
connect 0
# 2. the picture in both panes; the clip region starts at the origin
driver "$OPERATOR" 40 pattern reduced "$width" "$height" 0 0 30 || fail "no picture in the reduced pane"
driver "$OPERATOR" 40 pattern clip "$width" "$height" 0 0 30 || fail "no picture in the clip pane"
frames_flow
# 3. a click in the reduced pane lands on the pane point scaled to the remote screen
# (within the rounding of the 0..65535 positions), and the clip region follows it.
pane_x=150 pane_y=110
want_x=$((pane_x * width / 320)) want_y=$((pane_y * height / 240))
driver "$OPERATOR" 15 click-pane "$pane_x" "$pane_y" || fail "cannot click the reduced pane"
wait_until 15 "the click arrived on $DESTINATION" grep -q '^click' "$recorder_log"
read -r _ got_x got_y < <(grep '^click' "$recorder_log" | head -n 1 | tr -d '\r')
[ "$(grep -c '^click' "$recorder_log")" -eq 1 ] || fail "more than one click arrived"
((got_x >= want_x - 1 && got_x <= want_x + 1 && got_y >= want_y - 1 && got_y <= want_y + 1)) ||
    fail "the click at $pane_x, $pane_y landed on $got_x, $got_y, not $want_x, $want_y"
say "a click at $pane_x, $pane_y of the reduced pane landed on $got_x, $got_y"
clip_x=$((want_x - 120)) clip_y=$((want_y - 90))
clip_x=$((clip_x < 0 ? 0 : clip_x > width - 240 ? width - 240 : clip_x))
clip_y=$((clip_y < 0 ? 0 : clip_y > height - 180 ? height - 180 : clip_y))
driver "$OPERATOR" 30 pattern clip "$width" "$height" "$clip_x" "$clip_y" 20 ||
    fail "the clip pane does not show the region at $clip_x, $clip_y"
driver "$OPERATOR" 30 pattern reduced "$width" "$height" "$clip_x" "$clip_y" 20 ||
    fail "the reduced pane does not outline the region at $clip_x, $clip_y"
# 4. keys struck on the operator's display arrive on the destination's
driver "$OPERATOR" 30 type FH || fail "cannot type on $OPERATOR"
replayed() { [ "$(grep -e '^down' -e '^up' "$recorder_log" | tr -d '\r' | tr '\n' ' ')" = "down 46 up 46 down 48 up 48 " ]; }
wait_until 15 "keys F and H replayed on $DESTINATION" replayed
say "keys typed on $OPERATOR arrived on $DESTINATION"
# 5. the full-size view at actual size
press full
driver "$OPERATOR" 20 await full 15 || fail "the full-size view did not open"
driver "$OPERATOR" 40 pattern full "$width" "$height" 0 0 30 || fail "no picture in the full-size view"
# 6. pause holds the frames, connect resumes them
pause_and_resume sleep 3
# 7. disconnect brings back both lists
disconnect

# Then a second connect, to the record at 0.0.0.0, finds the destination by name and
# opens two new links (the lists are back, so the session is idle again).
connect 1
frames_flow
disconnect

# 8. the wizard's automatic entry finds the destination by name across the veth (the sweep
# visits the operator's own /24 only), registers it with the MAC addresses it serves, and the
# operator's list shows it.
capture_log="$work/$DESTINATION/wake.log"
host_spawn "$DESTINATION" "$capture_log" /usr/bin/python3 "$work/tools/wake-capture.py" \
    "veth-$DESTINATION" "$limit"
wait_until 15 "the capture on $DESTINATION's veth is open" grep -q '^ready' "$capture_log"
registered=$(driver "$OPERATOR" 120 wizard "$DESTINATION" 30 | tr -d '\r') ||
    fail "the wizard did not register $DESTINATION"
printf '%s\n' "$registered"
row=$(sed -n "s/^registered $DESTINATION as row //p" <<<"$registered")
[ -n "$row" ] || fail "the wizard named no row"

# 9. the wake command for that row: one magic packet per stored MAC address to the limited
# broadcast, 2000 ms apart, seen on the destination's side of the veth. A second wake while
# the first still sends waits behind the "please wait" notice, then sends its own.
macs_of_destination() {
    host_run "$DESTINATION" 10 ip -o link show "$1" | grep -o 'link/ether [0-9a-f:]*' | cut -d' ' -f2
}
served=("$(macs_of_destination "veth-$DESTINATION")" "$SECOND_MAC")
[ -n "${served[0]}" ] || fail "$DESTINATION's veth has no MAC address"
packets() { [ "$(grep -c '^wake' "$capture_log" || true)" -ge "$1" ]; }
driver "$OPERATOR" 15 wake "$row" 10 || fail "cannot send the wake command"
wait_until 15 "the first magic packet on $DESTINATION" packets 1
driver "$OPERATOR" 30 wake "$row" notice 20 || fail "the second wake did not wait behind the notice"
wait_until 20 "both wakes' magic packets on $DESTINATION" packets 4
# Each capture line: wake <ms> <MAC> <port>.
at=() mac=() port=()
while read -r _ ms address to; do
    at+=("$ms") mac+=("$address") port+=("$to")
done < <(grep '^wake' "$capture_log")
[ "${#at[@]}" -eq 4 ] || fail "more magic packets than MAC addresses: ${mac[*]}"
[ "${mac[*]:0:2}" = "${served[*]}" ] || [ "${mac[*]:0:2}" = "${served[1]} ${served[0]}" ] ||
    fail "the magic packets wake ${mac[*]:0:2}, not ${served[*]}"
[ "${mac[*]:2:2}" = "${mac[*]:0:2}" ] || fail "the second wake woke ${mac[*]:2:2}"
gap() { (($2 - $1 >= 1800 && $2 - $1 <= 3500)) || fail "$3: $(($2 - $1)) ms, not about 2000"; }
gap "${at[0]}" "${at[1]}" "between the first wake's packets"
gap "${at[2]}" "${at[3]}" "between the second wake's packets"
((at[2] - at[1] >= 1800)) ||
    fail "the second wake began $((at[2] - at[1])) ms after the first one's last packet"
say "wake: magic packets for ${served[*]} (UDP ports ${port[*]}) at ${at[0]}, ${at[1]} ms;" \
    "after the notice at ${at[2]}, ${at[3]} ms"

# 10. the operator quits; the list it saves keeps the MAC addresses the wizard fetched.
driver "$OPERATOR" 60 quit 30 || fail "the operator did not quit"
kept=$(driver "$OPERATOR" 30 macs "$(winpath "$work/$OPERATOR/bin/default.clf")" "$DESTINATION") ||
    fail "the operator's saved list keeps no MAC address of $DESTINATION"
for mac in "${served[@]}"; do
    grep -qi "$mac" <<<"$kept" || fail "the operator keeps $kept, not $DESTINATION's $mac"
done
say "the wizard registered $DESTINATION with the MAC addresses it serves, ${served[*]}"
