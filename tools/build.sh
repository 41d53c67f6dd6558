#!/bin/bash
# Installs what is missing, then configures and builds the system into build/.
# Extra arguments go to the CMake configure step.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/bootstrap.sh"
cmake -S "$root" -B "$root/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DFERN_WERROR=ON "$@" >/dev/null
cmake --build "$root/build"
