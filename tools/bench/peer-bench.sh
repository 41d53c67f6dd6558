#!/bin/bash
# Fernhold's frame path beside two VNC servers, on the same frames of one display in
# one run, printed as one table:
#   tools/bench/peer-bench.sh [--install-peers] [build-dir] [frames folder]
# build-dir defaults to build (a clean checkout's is made with tools/build.sh; the two
# benchmarks are brought up to date in it), the frames folder to ../shared/frames (every
# 1920 x 1080 bitmap in it, and the benchmark's own photo-like frame); run it from the
# repository root.
#
# A private 1920 x 1080 Xvfb inside a private network namespace, loopback only. The
# frame benchmark shows each frame full screen and measures Fernhold on it (capture and
# compression; request to expanded client image), then keeps it shown while x11vnc and
# TigerVNC's scraping server, one at a time, serve it to tools/bench/rfb-full-update.py:
# full non-incremental 16-bit updates, ZRLE and raw, encoded and sent (the peers'
# screen polling runs apart from the requests and is not counted). The peers are
# Debian's x11vnc and tigervnc-scraping-server; --install-peers installs them with
# apt-get (as root) and nothing else ever does.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
if [ "${1:-}" = "--install-peers" ]; then
    shift
    if ! dpkg-query -W -f='${Status}\n' x11vnc tigervnc-scraping-server 2>/dev/null |
        grep -c "install ok installed" | grep -qx 2; then
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends x11vnc tigervnc-scraping-server >/dev/null
    fi
fi
build=${1:-build}
frames=${2:-../shared/frames}

if [ "${FERN_IN_NETNS:-}" != "1" ]; then
    if [ ! -f "$build/build.ninja" ] && [ "$build" = build ]; then
        "$root/tools/build.sh"
    fi
    cmake --build "$build" --target FernholdFrameBench LedgerkitBench >/dev/null
fi

for tool in x11vnc X0tigervnc python3 Xvfb; do
    if ! command -v "$tool" >/dev/null; then
        echo "peer-bench: $tool is missing (run with --install-peers to install the peers)" >&2
        exit 1
    fi
done
for program in FernholdFrameBench LedgerkitBench; do
    if [ ! -f "$build/bin/$program.exe" ]; then
        echo "peer-bench: $build/bin/$program.exe is missing (LedgerkitBench needs" \
            "libz-mingw-w64-dev)" >&2
        exit 1
    fi
done

if [ "${FERN_IN_NETNS:-}" != "1" ]; then
    exec "$root/tools/in-netns.sh" "$0" "$build" "$frames"
fi

# Everything started here is stopped by its own process id when the run ends.
work=$(mktemp -d)
xvfb_pid="" peer_pid="" bench_pid=""
stop() {
    for pid in $peer_pid $bench_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap stop EXIT

mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
read -r display_number <"$work/display"
export DISPLAY=":$display_number"

# The peers run as Debian ships them, listening on loopback only.
start_peer() {
    case "$1" in
    x11vnc)
        x11vnc -display "$DISPLAY" -rfbport 5911 -localhost -nopw -forever -shared -norc \
            -nosel -noxrecord >"$work/x11vnc.log" 2>&1 &
        peer_port=5911
        ;;
    tigervnc)
        X0tigervnc -display "$DISPLAY" -rfbport 5912 -localhost=1 -SecurityTypes None \
            -AlwaysShared=1 >"$work/tigervnc.log" 2>&1 &
        peer_port=5912
        ;;
    esac
    peer_pid=$!
}

stop_peer() {
    kill "$peer_pid" 2>/dev/null || true
    wait "$peer_pid" 2>/dev/null || true
    peer_pid=""
}

declare -A figures
names=()
coproc BENCH { "$root/tools/with-wine.sh" "$build" wine "$build/bin/FernholdFrameBench.exe" \
    --hold "$frames" 2>"$work/bench.err"; }
bench_pid=$BENCH_PID
bench_out=${BENCH[0]}
bench_in=${BENCH[1]}
name=""
while IFS= read -r line <&"$bench_out"; do
    line=${line%$'\r'} # the program's standard output is in text mode
    echo "$line" >>"$work/fernhold.txt"
    case "$line" in
    figures\ *)
        read -r _ index _ capture _ compression _ request _ stream _ differing <<<"$line"
        names[index]=$name
        figures[$index.capture]=$capture
        figures[$index.compression]=$compression
        figures[$index.request]=$request
        figures[$index.stream]=$stream
        figures[$index.differing]=$differing
        ;;
    holding\ *)
        read -r _ index _ crc <<<"$line"
        for peer in x11vnc tigervnc; do
            start_peer "$peer"
            figures[$index.$peer]=$(python3 "$root/tools/bench/rfb-full-update.py" \
                "$peer_port" "$crc" || true)
            stop_peer
        done
        echo next >&"$bench_in"
        ;;
    done)
        break
        ;;
    "" | display\ * | warning:* | skipped\ * | with-wine:* | \ *) ;;
    *)
        name=$line
        ;;
    esac
done
exec {bench_in}>&-
wait "$bench_pid" || true
bench_pid=""

echo "Fernhold's frame path beside its peers (display $DISPLAY 1920 x 1080, frames from $frames)"
grep -E '^skipped ' "$work/fernhold.txt" || true
if [ ${#names[@]} -eq 0 ]; then
    echo "peer-bench: the frame benchmark measured no frame; its output:" >&2
    cat "$work/fernhold.txt" "$work/bench.err" >&2
    exit 1
fi

# Field of a peer's result line: "zrle_ms 12.3 zrle_bytes 13000 raw_ms ...".
peer_field() {
    local line=${figures[$1]:-} key=$2
    set -- $line
    while [ $# -ge 2 ]; do
        if [ "$1" = "$key" ]; then
            echo "$2"
            return
        fi
        shift 2
    done
    echo "-"
}

# Fernhold's total counts its screen copy, the peers' figures do not; the last column
# leaves the copy out on Fernhold's side too (compression and request alone).
echo
echo "| frame | x11vnc ZRLE | x11vnc raw | TigerVNC ZRLE | TigerVNC raw |" \
    "Fernhold capture + compression | of which compression | Fernhold request → client image |" \
    "Fernhold total | ÷ faster peer's ZRLE | without the screen copy ÷ faster peer's ZRLE |"
echo "|---|---|---|---|---|---|---|---|---|---|---|"
status=0
for index in "${!names[@]}"; do
    cells=()
    for peer in x11vnc tigervnc; do
        for encoding in zrle raw; do
            ms=$(peer_field "$index.$peer" "${encoding}_ms")
            bytes=$(peer_field "$index.$peer" "${encoding}_bytes")
            if [ "$ms" = "-" ]; then
                cells+=("failed")
                status=1
            else
                cells+=("$ms ms, $((bytes / 1000)) KB")
            fi
        done
    done
    capture=${figures[$index.capture]}
    request=${figures[$index.request]}
    total=$(awk -v a="$capture" -v b="$request" 'BEGIN { printf "%.2f", a + b }')
    faster=$(awk -v a="$(peer_field "$index.x11vnc" zrle_ms)" \
        -v b="$(peer_field "$index.tigervnc" zrle_ms)" \
        'BEGIN { if (a == "-") a = b; if (b == "-") b = a; print (a + 0 < b + 0) ? a : b }')
    compression=${figures[$index.compression]}
    ratio=$(awk -v t="$total" -v f="$faster" 'BEGIN { if (f == "-" || f + 0 == 0) print "-";
        else printf "%.2f", t / f }')
    uncopied=$(awk -v c="$compression" -v r="$request" -v f="$faster" 'BEGIN {
        if (f == "-" || f + 0 == 0) print "-"; else printf "%.2f", (c + r) / f }')
    echo "| ${names[index]} | ${cells[0]} | ${cells[1]} | ${cells[2]} | ${cells[3]} |" \
        "$capture ms | $compression ms | $request ms, $((${figures[$index.stream]} / 1000)) KB |" \
        "$total ms | $ratio | $uncopied |"
    if [ "${figures[$index.differing]}" != "0" ]; then
        echo "peer-bench: Fernhold's client image differs from ${names[index]}" >&2
        status=1
    fi
done
for index in "${!names[@]}"; do
    for peer in x11vnc tigervnc; do
        case "${figures[$index.$peer]:-}" in
        error*) echo "peer-bench: $peer on ${names[index]}: ${figures[$index.$peer]}" >&2 ;;
        esac
    done
done

# The compressor on the same frames, the photo-like frame's targets last.
echo
"$root/tools/with-wine.sh" "$build" wine "$build/bin/LedgerkitBench.exe" "$frames" 2>/dev/null |
    grep -E '^(photo-like frame|  TCPS (compress|expand))' || status=1
exit $status
