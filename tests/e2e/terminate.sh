#!/usr/bin/env bash
# An editor ended by SIGTERM or SIGHUP (a logout, a kill, a closed terminal) still ends by that
# signal, and leaves none of the memory its windows shared with the X server behind.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

holds_shared_memory() { [[ -n "$(shared_memory_of "$1")" ]]; }
released_shared_memory() { [[ -z "$(shared_memory_of "$1")" ]]; }

for signal in TERM HUP; do
    start_editor
    pid=$EDITOR_PID
    wait_for_window "^Orvane Marlo Editor - Untitled 1$" >/dev/null || exit 1
    wait_until 15 holds_shared_memory "$pid" \
        || fail "the editor's window shares no memory with the X server; nothing to check"

    kill -s "$signal" "$pid"
    wait "$pid"
    status=$?
    expected=$((128 + $(kill -l "$signal")))
    [[ $status -eq $expected ]] || fail "SIG$signal: the editor ended with status $status, not $expected"
    wait_until 15 released_shared_memory "$pid" \
        || fail "SIG$signal: segments $(shared_memory_of "$pid" | xargs) outlived the editor"
done
echo "PASS: SIGTERM and SIGHUP end the editor by the signal, with no shared memory left behind"
