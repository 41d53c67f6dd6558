# The update steps of run.sh (sourced there once both copies listen): the operator's
# update command, the destination's fetch, its updater and its restart.
# shellcheck shell=bash

op_bin=$work/$OPERATOR/bin
dest_bin=$work/$DESTINATION/bin

# describe <file> <version> <count>: a description of the first <count> of the three
# test files (first.txt, second.txt, Extra\third.txt) with the folder Extra.
describe() {
    local file=$1 version=$2 count=$3 i
    local -a names=(first.txt second.txt 'Extra\third.txt') staged=(first.txt second.txt third.txt)
    {
        printf '[UPDATEINFO]\r\nFileVersion=%s\r\nAllFileCount=%s\r\nAllFolderCount=1\r\n' \
            "$version" "$count"
        printf '[DESFILE]\r\n'
        for ((i = 0; i < count; i++)); do printf 'FILE_%d=%s\r\n' "$i" "${names[i]}"; done
        printf '[SRCFILE]\r\n'
        for ((i = 0; i < count; i++)); do printf 'FILE_%d=UpdateFiles\\%s\r\n' "$i" "${staged[i]}"; done
        printf '[FOLDER]\r\nFOLDER_0=Extra\r\n'
    } >"$file"
}
version_of() { tr -d '\r' <"$1/Update.ini" | sed -n 's/^FileVersion=//p'; }
# Connections of the destination to the operator's port: the update link's.
fetching() { established "$DESTINATION" | grep -q "${ADDRESS[$OPERATOR]}:$PORT"; }
not_fetching() { ! fetching; }
installed() { [ "$(version_of "$dest_bin")" = "$1" ]; }
dest_listening() { listening "$DESTINATION"; }
push_update() {
    driver "$OPERATOR" 45 update 0 || fail "the operator's update command failed"
}

# Both copies as built: the same FileVersion, nothing to fetch.
[ "$(version_of "$op_bin")" = "$(version_of "$dest_bin")" ] || fail "the built copies differ"
push_update
wait_until 15 "the destination connects back to fetch" fetching
wait_until 20 "the destination's fetch ends" not_fetching
[ ! -e "$dest_bin/UpdateFiles" ] || fail "equal versions made the staging folder"
dest_listening || fail "equal versions stopped the destination"
say "equal versions ($(version_of "$op_bin")): the fetch ended at the version query, no folder made"

# The operator at 2 with three listed files, the second missing; the destination at 1.
describe "$op_bin/Update.ini" 2 3
printf 'operator 2 first' >"$op_bin/first.txt"
mkdir -p "$op_bin/Extra"
printf 'operator 2 third' >"$op_bin/Extra/third.txt"
describe "$dest_bin/Update.ini" 1 0
printf 'destination 1 first' >"$dest_bin/first.txt"
printf 'destination 1 second' >"$dest_bin/second.txt"
push_update
wait_until 60 "the destination's updater installs FileVersion 2" installed 2
wait_until 60 "the restarted Fernhold.exe listens on ${ADDRESS[$DESTINATION]}:$PORT" dest_listening
[ "$(cat "$dest_bin/first.txt")" = "operator 2 first" ] || fail "first.txt not replaced"
[ "$(cat "$dest_bin/Extra/third.txt")" = "operator 2 third" ] || fail "third.txt not replaced"
[ "$(cat "$dest_bin/second.txt")" = "destination 1 second" ] || fail "second.txt touched"
for staged in first.txt second.txt third.txt; do
    [ ! -e "$dest_bin/UpdateFiles/$staged" ] || fail "UpdateFiles/$staged left behind"
done
cmp -s "$dest_bin/Update.ini" "$op_bin/Update.ini" || fail "the description installed differs"
say "updated to FileVersion 2: first and third replaced, second kept, staged files removed, restarted"

# A description without files: installed, and the program restarts again.
describe "$op_bin/Update.ini" 3 0
push_update
wait_until 60 "the destination installs FileVersion 3" installed 3
wait_until 60 "Fernhold.exe listens again on ${ADDRESS[$DESTINATION]}:$PORT" dest_listening
say "AllFileCount 0: FileVersion 3 installed, restarted"
