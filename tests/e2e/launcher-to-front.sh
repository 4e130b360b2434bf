#!/usr/bin/env bash
# A second launch without a file, as from the desktop menu, brings the running editor to the front.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup
command -v xmessage >/dev/null || fail "xmessage is missing"

start_editor
window="$(wait_for_window "^Orvane Marlo Editor - Untitled 1$")" || exit 1
focus "$window"

# Another program's window covers the editor and has the keyboard.
xmessage -name "Other Program" -title "Other Program" -geometry 800x600+0+0 "another program" &
E2E_PIDS+=($!)
other="$(wait_for_window "^Other Program$")" || exit 1
wait_until 15 bash -c "xdotool windowactivate $other 2>/dev/null; [[ \$(xdotool getactivewindow) == $other ]]" || fail "the other window did not come to the front"

"$EDITOR_BINARY" >"$E2E_HOME/launcher.log" 2>&1 &
launch=$!
E2E_PIDS+=("$launch")
wait_until 15 bash -c "! kill -0 $launch 2>/dev/null" || fail "the launch without a file did not end"
wait "$launch" || fail "the launch without a file ended with an error"

wait_until 10 bash -c "xdotool getactivewindow getwindowname 2>/dev/null | grep -q '^Orvane Marlo Editor - '" \
    || fail "the active window is '$(xdotool getactivewindow getwindowname 2>/dev/null)', not an editor window"
[[ "$(window_count "^Orvane Marlo Editor - ")" -eq 1 ]] || fail "the launch opened another document"
is_running "$EDITOR_PID" || fail "the editor ended"
echo "PASS: a launch without a file brought the editor to the front"
