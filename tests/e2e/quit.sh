#!/usr/bin/env bash
# Ctrl+W and Ctrl+Q ask the save question; Cancel keeps the editor, "No" closes or quits.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

start_editor
window="$(wait_for_window "Orvane Marlo Editor - Untitled 1")" || exit 1
focus "$window"

xdotool key ctrl+n
second="$(wait_for_window "Orvane Marlo Editor - Untitled 2")" || exit 1
focus "$second"
xdotool key ctrl+w
question="$(wait_for_window "^Save Document$")" || exit 1
answer_no "$question"
wait_until 15 bash -c '[[ $(xdotool search --name "Untitled 2" 2>/dev/null | wc -l) -eq 0 ]]' \
    || fail "\"No\" did not close the second document"
kill -0 "$EDITOR_PID" 2>/dev/null || fail "closing one of two documents ended the editor"
focus "$window"

xdotool key ctrl+q
escape_save_question
# The question that comes next shows the editor is still going after this check too.
kill -0 "$EDITOR_PID" 2>/dev/null || fail "Cancel in the save question ended the editor"

focus "$window"
xdotool key ctrl+q
question="$(wait_for_window "^Save Document$")" || exit 1
answer_no "$question"

wait_until 15 bash -c "! kill -0 $EDITOR_PID 2>/dev/null" || fail "the editor did not quit after \"No\""
wait "$EDITOR_PID"
status=$?
[[ $status -eq 0 ]] || fail "the editor ended with status $status"
echo "PASS: close and quit ask; Cancel keeps the editor, No closes and quits"
