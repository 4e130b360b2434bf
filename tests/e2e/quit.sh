#!/usr/bin/env bash
# Ctrl+Q asks the save question; Cancel keeps the editor, "No" lets it quit.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

start_editor
window="$(wait_for_window "Orvane Marlo Editor - Untitled 1")" || exit 1
focus "$window"

xdotool key ctrl+q
question="$(wait_for_window "^Save Document$")" || exit 1
sleep 0.3
xdotool key Escape
wait_until 5 bash -c '[[ $(xdotool search --onlyvisible --name "^Save Document$" | wc -l) -eq 0 ]]' \
    || fail "Escape did not dismiss the save question"
sleep 0.3
kill -0 "$EDITOR_PID" 2>/dev/null || fail "Cancel in the save question ended the editor"

focus "$window"
xdotool key ctrl+q
question="$(wait_for_window "^Save Document$")" || exit 1
sleep 0.3
# The buttons are "Yes", "No", "Cancel" from left to right along the bottom: "No" is in the middle.
eval "$(xdotool getwindowgeometry --shell "$question")"
xdotool mousemove --window "$question" $((WIDTH / 2)) $((HEIGHT - 33)) click 1

wait_until 10 bash -c "! kill -0 $EDITOR_PID 2>/dev/null" || fail "the editor did not quit after \"No\""
wait "$EDITOR_PID"
status=$?
[[ $status -eq 0 ]] || fail "the editor ended with status $status"
echo "PASS: quit asks, Cancel keeps the editor, No quits"
