#!/bin/bash
# Builds the system and starts Fernhold.exe under Wine (on Windows, run build/bin/Fernhold.exe).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh"
program="$root/build/bin/Fernhold.exe"
if [ ! -f "$program" ]; then
    echo "Fernhold.exe is not built yet: only the libraries exist so far."
    exit 0
fi
cd "$root/build/bin"
"$root/tools/with-wine.sh" "$root/build" wine "$program"
