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
xdotool windowactivate --sync "$second" 2>/dev/null
xdotool key --window "$second" ctrl+w
if question="$(timeout 3 xdotool search --sync --name "^Save Document$" 2>/dev/null | head -1)" &&
    [[ -n "$question" ]]; then
    sleep 0.3
    answer_no "$question"
fi
sleep 0.5

zenity_open_path "$chooser" "$E2E_HOME/Picked.marlo"
wait_until 15 bash -c "[[ \$(xdotool search --name '^Select Filename to open$' 2>/dev/null | wc -l) -eq 0 ]]" \
    || fail "the chooser did not close"

wait_until 10 bash -c "xdotool search --name '^Orvane Marlo Editor - Picked$' >/dev/null 2>&1" \
    || fail "the picked file did not reach its document (editor running: $(is_running "$EDITOR_PID" && echo yes || echo no))"
sleep 0.5
is_running "$EDITOR_PID" || fail "the editor ended"
[[ "$(window_count "^Orvane Marlo Editor - Untitled 1$")" -eq 1 ]] || fail "the first document is gone"
echo "PASS: the document outlived its chooser and took the picked file"
