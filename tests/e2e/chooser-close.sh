#!/usr/bin/env bash
# A document asked to close while its own zenity chooser is open survives until the chooser ends,
# and the file picked afterwards reaches it.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup
command -v zenity >/dev/null || fail "zenity is missing"

write_preset "$E2E_HOME/Picked.marlo" 7

start_editor
first="$(wait_for_window "^Orvane Marlo Editor - Untitled 1$")" || exit 1
focus "$first"
xdotool key ctrl+n
second="$(wait_for_window "^Orvane Marlo Editor - Untitled 2$")" || exit 1
focus "$second"

# "Load Preset from Hard Drive" on the main page.
click_editor "$second" 130 624
chooser="$(wait_for_window "^Select Filename to open$" 20)" || exit 1

# While the chooser runs its loop, Ctrl+W in the same document, and "No" if the question comes.
# Ctrl+N after it shows when Ctrl+W has been handled: keys are handled in order, and a question
# would hold the Ctrl+N back until it is answered.
activate "$second"
xdotool key ctrl+w ctrl+n
wait_until 15 bash -c "xdotool search --onlyvisible --name '^(Save Document|Orvane Marlo Editor - Untitled 3)$' >/dev/null 2>&1" ||
    fail "neither the save question nor the document of the Ctrl+N after it came"
if question="$(xdotool search --onlyvisible --name "^Save Document$" 2>/dev/null | head -1)" &&
    [[ -n "$question" ]]; then
    answer_no "$question"
    wait_for_window "^Orvane Marlo Editor - Untitled 3$" >/dev/null || exit 1
fi

zenity_open_path "$chooser" "$E2E_HOME/Picked.marlo" || fail "the chooser did not close"
wait_until 15 bash -c "[[ \$(xdotool search --name '^Select Filename to open$' 2>/dev/null | wc -l) -eq 0 ]]" \
    || fail "the chooser did not close"

wait_until 15 bash -c "xdotool search --name '^Orvane Marlo Editor - Picked$' >/dev/null 2>&1" \
    || fail "the picked file did not reach its document (editor running: $(is_running "$EDITOR_PID" && echo yes || echo no))"
# One more document, asked for in the document that took the file, shows the editor came back
# from the chooser's loop and goes on.
picked="$(wait_for_window "^Orvane Marlo Editor - Picked$")" || exit 1
focus "$picked"
xdotool key ctrl+n
wait_until 15 bash -c "[[ \$(xdotool search --name '^Orvane Marlo Editor - Untitled' 2>/dev/null | wc -l) -eq 3 ]]" ||
    fail "the editor did not answer after the chooser (editor running: $(is_running "$EDITOR_PID" && echo yes || echo no))"
is_running "$EDITOR_PID" || fail "the editor ended"
[[ "$(window_count "^Orvane Marlo Editor - Untitled 1$")" -eq 1 ]] || fail "the first document is gone"
echo "PASS: the document outlived its chooser and took the picked file"
