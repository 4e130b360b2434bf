#!/usr/bin/env bash
# The first window, Ctrl+N for more documents, and the limit alert after five.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

start_editor
first="$(wait_for_window "Orvane Marlo Editor - Untitled 1")" || exit 1
focus "$first"

xdotool key ctrl+n
second="$(wait_for_window "Orvane Marlo Editor - Untitled 2")" || exit 1

for n in 3 4 5; do
    focus "$second"
    xdotool key ctrl+n
    wait_for_window "Orvane Marlo Editor - Untitled $n" >/dev/null || exit 1
done

[[ "$(window_count "^Orvane Marlo Editor - Untitled")" -eq 5 ]] || fail "expected five document windows"

focus "$second"
xdotool key ctrl+n
# The alert comes from the Ctrl+N that was refused, so that Ctrl+N has been handled in full.
wait_for_window "Maxiumum Number of Open Documents Reached" >/dev/null || exit 1
[[ "$(window_count "Untitled 6")" -eq 0 ]] || fail "a sixth document was opened"
kill -0 "$EDITOR_PID" 2>/dev/null || fail "the editor ended"
echo "PASS: five documents, then the limit alert"
