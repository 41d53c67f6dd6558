#!/bin/sh
# Installs the build and test prerequisites with apt-get when any is missing.
# Idempotent: when everything is present it only runs dpkg-query and returns.
set -eu

PACKAGES="g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev wine wine64 xvfb xauth xdotool \
cmake ninja-build googletest fonts-ipafont-gothic iproute2 util-linux python3-pil \
fp-utils nsis"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    echo "bootstrap: installing$missing"
    if [ "$(id -u)" -ne 0 ]; then
        echo "bootstrap: missing packages and not root; install them:$missing" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi
