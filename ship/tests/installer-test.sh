#!/bin/bash
# The installer as a user meets it, in a fresh Wine prefix inside the caller's network
# namespace: a silent installation into the default folder, the installed program
# starting and listening, an upgrade over it that keeps the user's changed files, the
# uninstaller removing the program and keeping the user's files, and an installation
# into a folder of the user's choice.
#   ship/tests/installer-test.sh <Fernhold-setup.exe> [port]
set -euo pipefail
setup=$(realpath "$1")
port=${2:-5483}
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ "${FERN_IN_NETNS:-}" != "1" ]; then
    echo "installer-test: run inside tools/in-netns.sh (the program listens on every address)" >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export FERN_SETUP="$setup" FERN_PORT="$port"
"$root/tools/with-wine.sh" "$work" bash -c '
set -euo pipefail
fail=0
check() { # check <what> <command...>
    local what=$1; shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; fail=1; fi
}
wait_until() { # wait_until <seconds> <command...>
    local limit=$(( $1 * 10 )); shift
    for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.1; done
    return 1
}
listening() { ss -Hltn "sport = :$FERN_PORT" | grep -q .; }
drive="$WINEPREFIX/drive_c"
folder="$drive/Program Files/Fernhold"
menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Fernhold"
program_files=(Fernhold.exe Keelwork.dll Ledgerkit.dll Inkwell.dll Panekind.dll Resource/100.bmp Uninstall.exe)

wine "$FERN_SETUP" /S
check "installed into the default folder under Program Files" \
    bash -c "for f in ${program_files[*]}; do [ -f \"$folder/\$f\" ] || exit 1; done"
check "start-menu entry" test -f "$menu/Fernhold.lnk"
if [ -f "$(dirname "$FERN_SETUP")/Fernhold/FernHelp.chm" ]; then
    check "help file installed" test -f "$folder/FernHelp.chm"
fi

check "port $FERN_PORT free before the start" bash -c "! ss -Hltn \"sport = :$FERN_PORT\" | grep -q ."
wine "C:\\Program Files\\Fernhold\\Fernhold.exe" &
program=$!
check "the installed program listens on port $FERN_PORT" wait_until 60 listening
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
wait_until 20 bash -c "! ss -Hltn \"sport = :$FERN_PORT\" | grep -q ." || true

# The user changes the options, keeps a list and has rights set up; a program file is
# damaged. The upgrade mends the program and leaves the user alone.
printf "options the user changed\n" >"$folder/FernOption.dat"
printf "a list of the user\n" >"$folder/mine.clf"
mkdir -p "$folder/UserInfo"
printf "rights\n" >"$folder/UserInfo/UserInfo1.fnu"
sums() { (cd "$folder" && md5sum FernOption.dat mine.clf UserInfo/UserInfo1.fnu); }
before=$(sums)
: >"$folder/Panekind.dll"
wine "$FERN_SETUP" /S
check "upgrade keeps the user files" test "$(sums)" = "$before"
check "upgrade replaces the program files" test -s "$folder/Panekind.dll"

wine "C:\\Program Files\\Fernhold\\Uninstall.exe" /S
# The uninstaller runs from a copy of itself and returns at once: wait for its work.
check "uninstaller removes the program files" wait_until 60 \
    bash -c "for f in ${program_files[*]} FernHelp.chm; do [ ! -e \"$folder/\$f\" ] || exit 1; done"
check "uninstaller removes the skin folder" test ! -e "$folder/Resource"
check "uninstaller keeps the user files" test "$(sums)" = "$before"
check "uninstaller removes the start-menu entry" wait_until 10 test ! -e "$menu"

# /D takes the rest of the command line unquoted; wine quotes an argument with a space.
wine "$FERN_SETUP" /S "/D=C:\\Tools\\Fernhold"
check "installed into the chosen folder" test -f "$drive/Tools/Fernhold/Fernhold.exe"
exit $fail
'
