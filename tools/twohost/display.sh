#!/bin/bash
# A test host's own Xvfb of a given size, for runs that need another screen than the
# one tools/with-wine.sh makes: starts it inside the host, then runs the command with
# its DISPLAY. The Xvfb ends with the host.
#   display.sh <width>x<height> <command...>
set -euo pipefail
size=$1
shift
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
read -r display_number <"$fifo"
rm -f "$fifo"
export DISPLAY=":$display_number"
exec "$@"
