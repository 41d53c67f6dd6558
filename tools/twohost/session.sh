#!/bin/bash
# A test host's Wine session, run by tools/with-wine.sh inside the host: writes the
# environment that commands run in the host need, then holds the session open until
# the host ends.
#   session.sh <environment file>
set -euo pipefail
export -p | grep -E ' (WINE[A-Z]*|DISPLAY|LC_ALL)=' >"$1.new"
mv "$1.new" "$1"
exec sleep infinity
