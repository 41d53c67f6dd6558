#!/bin/bash
# Builds everything and runs the whole test suite under Wine inside a private
# network namespace (tools/in-netns.sh); ends with ctest's summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh"
"$root/tools/in-netns.sh" "$root/tools/with-wine.sh" "$root/build" \
    ctest --test-dir "$root/build" --output-on-failure --parallel 2 --repeat after-timeout:2
