#!/usr/bin/env bash
# Nothing the user made is lost, through the real binary: a file handed to the running editor
# leaves an edited document alone; undoing a load gives "Untitled 1" back; an edit outlives
# kill -9 and SIGTERM and is offered, and recovered, at the next start.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup
export XDG_STATE_HOME="$E2E_HOME/state"
recovery="$XDG_STATE_HOME/orvane-marlo-editor/recovery"
# The preset a new document starts from, as the command-line tool built beside the editor makes it.
factory="$E2E_HOME/factory.marlo"
"$(dirname "$EDITOR_BINARY")/marlo-preset" new "$factory" || fail "marlo-preset new failed"

# Knob 2's CC box on the knobs page (Ctrl+2). Its ring shows the box has the keyboard before the
# value is typed, so the signals that follow meet the typed value and nothing earlier.
edit_knob_2_cc() # WINDOW VALUE
{
    focus "$1"
    xdotool key ctrl+2
    focus_knobs_box "$1" 1 2 || fail "knob 2's CC box did not take the keyboard"
    xdotool type --delay 30 "$2"
    xdotool key Return
}

# entries_holding VALUE: the kept presets that differ from the factory preset in exactly one
# byte, which holds VALUE.
entries_holding()
{
    local entry
    for entry in "$recovery"/*/*.marlo; do
        [[ -f "$entry" ]] || continue
        [[ "$( cmp -l "$factory" "$entry" 2>/dev/null | awk '{ print $3 }' | tr '\n' ' ')" == "$(printf '%o ' "$1")" ]] &&
            echo "$entry"
    done
}

has_entry_holding() { [[ -n "$(entries_holding "$1")" ]]; }

# handled_so_far NEXT: the editor handles keys in order, so once Ctrl+N's new window (named
# NEXT) shows, every key before it has been handled; the edit's entry may still be pending.
handled_so_far()
{
    xdotool key ctrl+n
    wait_for_window "^Orvane Marlo Editor - $1$" >/dev/null || fail "the keys before Ctrl+N were not handled"
}

# edit_and_signal PID VALUE SIGNAL: types VALUE into Untitled 1's Knob 2 CC box, and once the keys
# were handled sends the signal and waits for the editor to end; its exit status is in `status`.
edit_and_signal()
{
    local window
    window="$(wait_for_window "^Orvane Marlo Editor - Untitled 1$")" || exit 1
    edit_knob_2_cc "$window" "$2"
    handled_so_far "Untitled 2"
    kill -"$3" "$1"
    wait "$1"
    status=$?
}

# 1. A handed-over file gets a document of its own when the active one holds an edit.
handed="$E2E_HOME/g.marlo"
write_preset "$handed" 3
start_editor
first="$EDITOR_PID"
window="$(wait_for_window "^Orvane Marlo Editor - Untitled 1$")" || exit 1
edit_knob_2_cc "$window" 88
wait_until 10 has_entry_holding 88 || fail "the edit was not kept for recovery within a second"
"$EDITOR_BINARY" "$handed" >"$E2E_HOME/editor-second.log" 2>&1 || fail "the second launch failed"
wait_for_window "^Orvane Marlo Editor - g$" >/dev/null || exit 1
[[ "$(window_count "^Orvane Marlo Editor - Untitled 1$")" -eq 1 ]] || fail "the edited document was replaced"
has_entry_holding 88 || fail "the edited document lost its edit"
echo "ok: a handed-over file opens in a document of its own and the edit stays"

# 2. The edit outlives kill -9 and is offered at the next start; Recover brings it back.
kill -9 "$first"
wait "$first" 2>/dev/null
for id in $(shared_memory_of "$first"); do ipcrm -m "$id" 2>/dev/null; done
left="$(entries_holding 88)"
[[ -n "$left" ]] || fail "nothing was left after kill -9"
start_editor
question="$(wait_for_window "^Recover Unsaved Presets$")" || exit 1
activate "$question"
xdotool key Return
wait_until 15 no_window "^Recover Unsaved Presets$" || fail "Recover left the question open"
wait_for_window "^Orvane Marlo Editor - Untitled 1$" >/dev/null || exit 1
# g's document held exactly what g.marlo holds: nothing of it was lost, so it is not offered.
[[ "$(window_count "^Orvane Marlo Editor - g$")" -eq 0 ]] || fail "an unchanged file was offered"
wait_until 10 test ! -e "$left" || fail "the recovered entry was not taken over"
wait_until 10 has_entry_holding 88 || fail "the recovered document does not hold the edit"
[[ "$(od -An -tu1 -j 9 -N1 "$handed" | tr -d ' ')" == 3 ]] || fail "recovering wrote into g.marlo"
echo "ok: an edit outlives kill -9, is offered and recovered"

# 3. SIGTERM: the editor ends by the signal, and what it held stays for the next start.
edit_and_signal "$EDITOR_PID" 99 TERM
[[ $status -eq 143 ]] || fail "SIGTERM ended the editor with status $status"
has_entry_holding 99 || fail "the edit made just before SIGTERM was lost"
echo "ok: an edit made just before SIGTERM is kept"

# The framework turns SIGINT (Ctrl+C in a terminal) into a quit without any save question.
rm -rf "$recovery"
start_editor
edit_and_signal "$EDITOR_PID" 77 INT
has_entry_holding 77 || fail "the edit made just before SIGINT was lost"
echo "ok: an edit made just before SIGINT is kept"

# 4. Undoing a load into an untouched document gives back "Untitled 1", and Ctrl+S asks for a name.
rm -rf "$recovery"
start_editor "$handed"
window="$(wait_for_window "^Orvane Marlo Editor - g$")" || exit 1
focus "$window"
xdotool key ctrl+z
wait_for_window "^Orvane Marlo Editor - Untitled 1$" >/dev/null || fail "undo of the load kept the file's name"
date_back "$handed"
xdotool key ctrl+s
chooser="$(wait_for_window "^Select Filename to save$" 20)" || exit 1
activate "$chooser"
xdotool key Escape
! written_since_dated_back "$handed" || fail "Ctrl+S wrote into the file whose load was undone"
echo "ok: undo of a load gives back Untitled 1, and Ctrl+S asks for a name"

echo "PASS: nothing the user made is lost"
