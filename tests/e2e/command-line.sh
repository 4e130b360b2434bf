#!/usr/bin/env bash
# A file on the command line is loaded; a second launch hands its file to the first and ends. The
# first document holds a file, so the handed-over one opens beside it instead of replacing it.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

write_preset "$E2E_HOME/Stage Piano.marlo" 3
write_preset "$E2E_HOME/Handed Over.marlo" 5

cd "$E2E_HOME" || fail "no temporary home"
start_editor "Stage Piano.marlo"
first_pid=$EDITOR_PID
window="$(wait_for_window "^Orvane Marlo Editor - Stage Piano$")" || exit 1

# The second launch: a relative path, resolved against the second process's own folder.
focus "$window"
start=$SECONDS
"$EDITOR_BINARY" "Handed Over.marlo" >"$E2E_HOME/second.log" 2>&1 &
second_pid=$!
E2E_PIDS+=("$second_pid")
wait_until 10 bash -c "! kill -0 $second_pid 2>/dev/null" || fail "the second launch did not end"
wait "$second_pid"
status=$?
[[ $status -eq 0 ]] || fail "the second launch ended with status $status"
echo "second launch ended after $((SECONDS - start)) s"

wait_for_window "^Orvane Marlo Editor - Handed Over$" >/dev/null || exit 1
[[ "$(xdotool getwindowname "$window")" == "Orvane Marlo Editor - Stage Piano" ]] ||
    fail "the first window's title is '$(xdotool getwindowname "$window")': its preset was replaced"
[[ "$(window_count "^Orvane Marlo Editor - ")" -eq 2 ]] || fail "the hand-over did not open exactly one window"
kill -0 "$first_pid" 2>/dev/null || fail "the first editor ended"

# An editor that dies leaves its pipe behind; the next launch must not hand its file to nobody.
kill -9 "$first_pid"
wait "$first_pid" 2>/dev/null
# Nothing can run in a killed process: the memory its window shared with the X server is given
# back here, or every run of this test would keep it until the machine restarts.
shared_memory_of "$first_pid" | while read -r segment; do
    ipcrm -m "$segment"
done
start_editor "Stage Piano.marlo"
wait_for_window "^Orvane Marlo Editor - Stage Piano$" >/dev/null || exit 1
echo "PASS: command-line file loaded, a second launch handed over, a crashed instance's pipe ignored"
