#!/usr/bin/env bash
# A launch that gives up on a stopped editor opens its file itself, and the editor, woken, does
# not open it as well.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

write_preset "$E2E_HOME/Stopped.marlo" 4
write_preset "$E2E_HOME/After.marlo" 5

start_editor
first_pid=$EDITOR_PID
# A stopped process does not end on SIGTERM; whatever happens, it is woken before the clean-up.
trap 'kill -CONT "$first_pid" 2>/dev/null; e2e_cleanup' EXIT
wait_for_window "^Orvane Marlo Editor - Untitled 1$" >/dev/null || exit 1

kill -STOP "$first_pid"
stopped_at=$SECONDS
"$EDITOR_BINARY" "$E2E_HOME/Stopped.marlo" >"$E2E_HOME/editor-launch.log" 2>&1 &
launch=$!
E2E_PIDS+=("$launch")
own="$(wait_for_window "^Orvane Marlo Editor - Stopped$" 30)" || exit 1
echo "the launch opened its own window after $((SECONDS - stopped_at)) s"
[[ "$(xdotool getwindowpid "$own")" == "$launch" ]] || fail "the window is not the launch's"

# Stopped for as long as a user might leave it, well past the launch's own wait, then woken.
# This length is the case under test, not a wait for something: a stopped editor does nothing
# that could be waited for, and the launch that gave up goes on running.
stopped_for=$((SECONDS - stopped_at))
((stopped_for < 12)) && sleep $((12 - stopped_for))
kill -CONT "$first_pid"

# A later launch is answered in turn, so once its file is open the woken editor has dealt with
# the message that waited for it.
hand_over "$E2E_HOME/after.log" "$E2E_HOME/After.marlo"
wait_for_window "^Orvane Marlo Editor - After$" >/dev/null || exit 1

count="$(window_count "^Orvane Marlo Editor - Stopped$")"
[[ "$count" -eq 1 ]] || fail "Stopped.marlo is open in $count windows"
is_running "$first_pid" || fail "the first editor ended"
is_running "$launch" || fail "the launch that opened its own window ended"
echo "PASS: the file is open once, in the launch that gave up"
