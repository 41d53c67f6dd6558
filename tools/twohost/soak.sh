#!/bin/bash
# The soak between the two test hosts, run on demand (never by ctest):
#   tools/in-netns.sh tools/with-wine.sh build bash tools/twohost/soak.sh build/bin <work> [cycles]
# Runs run.sh's hosts and copies and then, from the operator's main window with real
# input: the destination quit while connected, FERN_SOAK_CYCLES (100) connect and
# disconnect cycles, the veth link down in the middle of a frame (briefly, and for
# longer than a link's reply time-out), the destination's address changing while
# connected, a second operator on the destination, the destination's resolution
# changing while connected, and the operator quit while connected. Every session must
# end with both sides idle, no established connection and both copies listening, and
# the next one must work. Both processes are sampled along the way into
# <work>/../soak.csv (FERN_SOAK_CSV), and each figure must stay within its bound.
#
# When run.sh sources this file (steps "soak"), it defines soak_prepare, called before
# the copies start, and soak_run, called once both listen.
if [ -z "${twohost_dir:-}" ]; then
    set -euo pipefail
    export FERN_SOAK_CYCLES=${3:-${FERN_SOAK_CYCLES:-100}}
    export FERN_SOAK_CSV=${FERN_SOAK_CSV:-$(cd "$(dirname "$2")" && pwd)/soak.csv}
    export FERN_TWOHOST_LIMIT=${FERN_TWOHOST_LIMIT:-1500}
    exec bash "$(dirname "$0")/run.sh" "$1" "$2" soak
fi

readonly SOAK_DESKTOP=1280x1024 SOAK_SMALLER=1024x768 SOAK_MOVED=10.254.0.3
# Growth allowed over the first sample after the warm-up cycles (threads, Linux file
# descriptors, private kB of the Linux process, Wine working set kB).
readonly SOAK_MORE_THREADS=4 SOAK_MORE_FDS=24 SOAK_MORE_PRIVATE_KB=24576 SOAK_MORE_SET_KB=32768
soak_csv=${FERN_SOAK_CSV:-$work/soak.csv}
destination_address=${ADDRESS[$DESTINATION]}

# soak_prepare: the destination's programs run in a Wine virtual desktop, the one kind of
# display here whose resolution a program can change (this Xvfb's RANDR offers only its
# start size). The desktop is the destination prefix's default, so the copy, the driver
# and every later start share it.
soak_prepare() {
    host_wine "$DESTINATION" 60 reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Soak /f >/dev/null
    host_wine "$DESTINATION" 60 reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Soak \
        /d "$SOAK_DESKTOP" /f >/dev/null
}

# ---- samples
soak_sample_header="seconds,step,host,wine_threads,wine_handles,wine_gdi,wine_user,wine_private_kb,wine_working_set_kb,linux_threads,linux_fds,linux_private_kb,linux_rss_kb"

# soak_linux <host>: threads, descriptors, private and resident kB of the host's
# Fernhold.exe process, from /proc inside the host.
soak_linux() {
    host_run "$1" 10 sh -c '
        for comm in /proc/[0-9]*/comm; do
            [ "$(cat "$comm" 2>/dev/null)" = Fernhold.exe ] || continue
            dir=${comm%/comm}
            threads=$(awk "/^Threads:/ {print \$2}" "$dir/status")
            rss=$(awk "/^VmRSS:/ {print \$2}" "$dir/status")
            private=$(awk "/^Private_(Clean|Dirty):/ {sum += \$2} END {print sum}" "$dir/smaps_rollup")
            fds=$(ls "$dir/fd" | wc -l)
            echo "$threads,$fds,$private,$rss"
            exit 0
        done
        exit 1'
}

# soak_sample <step>: one line per host into the CSV.
soak_sample() {
    local name wine linux
    for name in "$OPERATOR" "$DESTINATION"; do
        wine=$(driver "$name" 20 resources Fernhold.exe | tr -d '\r') ||
            fail "cannot sample Fernhold.exe on $name"
        linux=$(soak_linux "$name") || fail "no Fernhold.exe process on $name"
        read -r threads handles gdi user private set <<<"$wine"
        echo "$((SECONDS - started)),$1,$name,$threads,$handles,$gdi,$user,$((private / 1024)),$((set / 1024)),$linux" >>"$soak_csv"
    done
}

# soak_bounds <first step> [<last step>]: every sample of a host from the first step
# on (up to the last, when the copy was restarted after it) stays within the growth
# allowed over that first sample.
soak_bounds() {
    awk -F, -v first="$1" -v last="${2:-}" -v threads=$SOAK_MORE_THREADS \
        -v fds=$SOAK_MORE_FDS -v private=$SOAK_MORE_PRIVATE_KB -v set=$SOAK_MORE_SET_KB '
        $2 == first { base[$3] = 1; t[$3] = $10; f[$3] = $11; p[$3] = $12; w[$3] = $9 }
        ($3 in base) && !done[$3] {
            if ($10 > t[$3] + threads || $11 > f[$3] + fds || $12 > p[$3] + private ||
                $9 > w[$3] + set) {
                printf "%s at %s: threads %d, fds %d, private %d kB, working set %d kB over %d, %d, %d, %d\n",
                    $3, $2, $10, $11, $12, $9, t[$3], f[$3], p[$3], w[$3]
                bad = 1
            }
        }
        $2 == last { done[$3] = 1 }
        END { exit bad }' "$soak_csv"
}

# ---- sessions
listens_at() { host_run "$1" 10 ss -Htln "sport = :$PORT" | grep -q "$2:$PORT"; }
links_to_destination() {
    established "$OPERATOR" | grep -c "$destination_address:$PORT" || true
}
# back_at_idle <what>: after a session ended by itself: the operator's lists are back,
# neither host keeps a connection, both copies still listen.
back_at_idle() {
    local name
    driver "$OPERATOR" 60 await idle 55 || fail "$1: the operator's lists did not come back"
    for name in "$OPERATOR" "$DESTINATION"; do
        wait_until 40 "$1: every link on $name closed" no_established "$name"
    done
    listens_at "$OPERATOR" "${ADDRESS[$OPERATOR]}" || fail "$1: $OPERATOR stopped listening"
    # A listener follows an address change within a refresh period (5 s).
    wait_until 15 "$1: $DESTINATION listens at $destination_address" \
        listens_at "$DESTINATION" "$destination_address"
    say "$1: both sides idle, no connection left, both still listen"
}
# soak_connect <row>: connect with the destination at its current address.
soak_connect() {
    driver "$OPERATOR" 30 select "$1" || fail "cannot select row $1"
    press connect
    driver "$OPERATOR" 50 await connected 45 || fail "the operator's windows did not connect"
    wait_until 10 "event and image link to $destination_address" \
        eval '[ "$(links_to_destination)" -eq 2 ]'
}
# soak_connect_retrying <row> <seconds>: connects until it works, each failed attempt
# ending at idle.
soak_connect_retrying() {
    local end=$((SECONDS + $2)) attempt=1
    for (( ; ; attempt++)); do
        driver "$OPERATOR" 30 select "$1" || fail "cannot select row $1"
        press connect
        driver "$OPERATOR" 20 await waiting 15 || fail "connect attempt $attempt did not start"
        driver "$OPERATOR" 20 await connected 10 >/dev/null 2>&1 && break
        back_at_idle "connect attempt $attempt through row $1 failed"
        [ "$SECONDS" -lt "$end" ] || fail "no connect through row $1 within $2 s"
    done
    wait_until 10 "event and image link to $destination_address" \
        eval '[ "$(links_to_destination)" -eq 2 ]'
    say "connected through row $1 at attempt $attempt"
}
soak_disconnect() {
    press disconnect
    back_at_idle "${1:-disconnect}"
}
# start_copy <host>: the host's copy started again with fresh options (a copy that
# quit saved its window position and would start hidden in the notification area).
start_copy() {
    driver "$1" 30 options "$(winpath "$work/$1/bin/FernOption.dat")" 500 ||
        fail "cannot write the options of $1"
    host_spawn "$1" "$work/$1/fernhold-again.log" "$twohost_wine" "$work/$1/bin/Fernhold.exe"
    wait_until 60 "Fernhold.exe on $1 listens again" listens_at "$1" "${2:-${ADDRESS[$1]}}"
}

# ---- the steps
soak_quit_destination() {
    soak_connect 0
    frames_flow
    driver "$DESTINATION" 40 quit 30 || fail "the destination's copy did not quit"
    driver "$OPERATOR" 60 await idle 55 || fail "the operator's lists did not come back"
    for name in "$OPERATOR" "$DESTINATION"; do
        wait_until 40 "every link on $name closed after the destination quit" no_established "$name"
    done
    say "destination quit while connected: the operator is idle, no connection left"
    start_copy "$DESTINATION"
    soak_connect 0
    frames_flow
    soak_disconnect "after the destination's restart"
}

soak_cycles() {
    local cycle
    for ((cycle = 1; cycle <= FERN_SOAK_CYCLES; cycle++)); do
        soak_connect 0
        soak_disconnect "cycle $cycle of $FERN_SOAK_CYCLES"
        if ((cycle % 10 == 0)); then soak_sample "cycle $cycle"; fi
    done
}

veth() { host_run "$DESTINATION" 10 ip link set "veth-$DESTINATION" "$1"; }
# A frame is under way while the destination's image connection has bytes not yet
# acknowledged; the throttle below makes each frame take a good part of a second.
frame_under_way() {
    established "$DESTINATION" | grep -q -E 'unacked:[0-9]+|notsent:[0-9]+'
}
soak_link_drop() {
    host_run "$DESTINATION" 10 tc qdisc add dev "veth-$DESTINATION" root tbf rate 1mbit \
        burst 16kb latency 2000ms
    soak_connect 0
    wait_until 20 "a frame under way" frame_under_way
    veth down
    say "veth down in the middle of a frame"
    sleep 4 # the observation window: the link stays down this long
    veth up
    frames_flow
    soak_disconnect "link down for 4 s in a frame, then up"
    soak_sample "link dropped 4 s"
    # Down for longer than a link's reply time-out: the operator's session ends on its
    # own and the destination must notice its peer gone as well.
    soak_connect 0
    wait_until 20 "a frame under way" frame_under_way
    veth down
    driver "$OPERATOR" 60 await idle 55 || fail "the session did not end while the link was down"
    veth up
    back_at_idle "link down past the reply time-out"
    soak_connect 0
    frames_flow
    soak_disconnect "after the long drop"
    host_run "$DESTINATION" 10 tc qdisc del dev "veth-$DESTINATION" root
    soak_sample "link dropped long"
}

# hosts_name <host> <address>: the destination's name on that address in both hosts'
# /etc/hosts (bind mounts of the same files: written in place).
hosts_name() {
    local name
    for name in "$OPERATOR" "$DESTINATION"; do
        printf '127.0.0.1\tlocalhost\n%s\t%s\n%s\t%s\n' "${ADDRESS[$OPERATOR]}" "$OPERATOR" \
            "$2" "$1" >"$work/$name/hosts"
    done
}
# move_destination <from> <to>: the destination's veth address and its name change; its
# listeners follow within a refresh period.
move_destination() {
    # Removed before the new one is added: a second address of the same /24 would be a
    # secondary one, which goes with the primary.
    host_run "$DESTINATION" 10 sh -c "ip addr del $1/24 dev veth-$DESTINATION &&
        ip addr add $2/24 dev veth-$DESTINATION"
    hosts_name "$DESTINATION" "$2"
    destination_address=$2
}
soak_address_change() {
    soak_connect 0
    frames_flow
    move_destination "${ADDRESS[$DESTINATION]}" "$SOAK_MOVED"
    back_at_idle "destination moved to $SOAK_MOVED while connected"
    # Row 0 holds the old address: that connect fails and ends at idle; row 1 (0.0.0.0)
    # finds the destination by name at its new address.
    driver "$OPERATOR" 30 select 0 || fail "cannot select row 0"
    press connect
    driver "$OPERATOR" 20 await waiting 15 || fail "the connect to the old address did not start"
    back_at_idle "connect to the old address"
    # Row 1 was listed at 0.0.0.0 and its live address filled in by the background search;
    # until the search finds the name at its new address (60 s after the last find)
    # a connect fails, and each failure must end at idle.
    soak_connect_retrying 1 90
    frames_flow
    soak_disconnect "connected by name at $SOAK_MOVED"
    move_destination "$SOAK_MOVED" "${ADDRESS[$DESTINATION]}"
    wait_until 20 "the destination listens at its address again" \
        listens_at "$DESTINATION" "${ADDRESS[$DESTINATION]}"
    # Row 0's live address followed the name to the moved address meanwhile: it comes
    # back with the search as well.
    soak_connect_retrying 0 90
    soak_disconnect "back at ${ADDRESS[$DESTINATION]}"
    soak_sample "address changed"
}

# The second operator runs in the operator's host beside its copy: the destination's
# server keys nothing on the peer's address, so two client sessions from one host are
# two operators to it, and the program's own link code is what a second copy would run.
second_frames() { grep -c '^frames' "$work/$OPERATOR/second.log" 2>/dev/null || echo 0; }
soak_two_operators() {
    local second before
    soak_connect 0
    driver "$OPERATOR" 40 second "$DESTINATION" "$PORT" 25 >"$work/$OPERATOR/second.log" 2>&1 &
    second=$!
    wait_until 20 "the second operator sees frames" eval '[ "$(second_frames)" -ge 3 ]'
    [ "$(established "$DESTINATION" | grep -c "${ADDRESS[$OPERATOR]}")" -eq 4 ] ||
        fail "the destination does not serve two operators (four links)"
    frames_flow
    press disconnect
    driver "$OPERATOR" 30 await idle 25 || fail "the first operator's lists did not come back"
    before=$(second_frames)
    wait_until 15 "the second operator keeps its frames" \
        eval '[ "$(second_frames)" -ge $((before + 3)) ]'
    wait "$second" || fail "the second operator failed: $(tail -n 3 "$work/$OPERATOR/second.log")"
    back_at_idle "two operators, one after the other gone"
    soak_sample "two operators"
}

soak_resolution() {
    soak_connect 0
    frames_flow
    driver "$DESTINATION" 20 resolution "${SOAK_SMALLER%x*}" "${SOAK_SMALLER#*x}" ||
        fail "the destination's resolution did not change"
    # A picture made for the new size proves the operator asked for the size again and
    # shows the frames whole.
    host_spawn "$DESTINATION" "$work/$DESTINATION/recorder.log" "$twohost_wine" \
        "$work/$DESTINATION/bin/TwoHostRecorder.exe" 40
    wait_until 40 "the recorder covers the smaller screen" \
        grep -q "^ready ${SOAK_SMALLER%x*} ${SOAK_SMALLER#*x}" "$work/$DESTINATION/recorder.log"
    driver "$OPERATOR" 40 pattern reduced "${SOAK_SMALLER%x*}" "${SOAK_SMALLER#*x}" 0 0 30 ||
        fail "the reduced pane does not show the destination at $SOAK_SMALLER"
    driver "$OPERATOR" 40 pattern clip "${SOAK_SMALLER%x*}" "${SOAK_SMALLER#*x}" 0 0 30 ||
        fail "the clip pane does not show the destination at $SOAK_SMALLER"
    say "the operator shows the destination at $SOAK_SMALLER"
    driver "$DESTINATION" 20 resolution "${SOAK_DESKTOP%x*}" "${SOAK_DESKTOP#*x}" ||
        fail "the destination's resolution did not come back"
    frames_flow
    soak_disconnect "resolution changed twice while connected"
    soak_sample "resolution changed"
}

soak_quit_operator() {
    soak_connect 0
    frames_flow
    soak_sample "before the operator quit"
    driver "$OPERATOR" 40 quit 30 || fail "the operator's copy did not quit"
    wait_until 40 "every link on $DESTINATION closed" no_established "$DESTINATION"
    listens_at "$DESTINATION" "$destination_address" || fail "$DESTINATION stopped listening"
    start_copy "$OPERATOR"
    soak_connect 0
    frames_flow
    soak_disconnect "after the operator's restart"
}

# FERN_SOAK_STEPS: the steps to run, in order (all by default); the bounds are
# checked after the cycles and at the end.
soak_run() {
    local step
    echo "$soak_sample_header" >"$soak_csv"
    soak_sample start
    for step in ${FERN_SOAK_STEPS:-quit_destination cycles link_drop address_change \
        two_operators resolution quit_operator}; do
        "soak_$step"
        if [ "$step" = quit_destination ]; then soak_sample "destination restarted"; fi
        soak_bounds "destination restarted" "before the operator quit" ||
            fail "a figure passed its bound"
    done
    soak_sample end
    say "soak passed: samples in $soak_csv"
}
