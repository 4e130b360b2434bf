#!/usr/bin/env bash
# Undo and redo from the keyboard, Tab into a box, and Escape on Device Setup, through the real
# window: values typed into two panels, Ctrl+Z twice and a save give the original bytes back,
# Ctrl+Shift+Z twice and a save bring the typed values back.
# With E2E_SHOTS set to a folder, it leaves screenshots of the focus rings and the Edit menu there.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

file="$E2E_HOME/keys.marlo"
original="$E2E_HOME/original.marlo"
write_preset "$file" 5
cp "$file" "$original"

# Ctrl+S, then waits for the write: the file is dated back first, so any write shows. Keys are
# handled in the order they come, so the write also shows that every key before it was handled.
save_and_wait()
{
    date_back "$file"
    xdotool key ctrl+s
    wait_until 15 written_since_dated_back "$file" || fail "Ctrl+S wrote nothing"
}

# differences FILE: "offset value" for every byte that differs from the original, values in decimal.
differences()
{
    local offset old new
    cmp -l "$original" "$1" | while read -r offset old new; do
        echo "$offset $((8#$new))"
    done
}

click_box() # PANEL ROW
{
    xdotool mousemove --window "$window" "$(knobs_box_x "$1")" "$(knobs_row_y "$2")" click 1
}

type_value() # TEXT
{
    xdotool type --delay 30 "$1"
    xdotool key Return
}

start_editor "$file"
window="$(wait_for_window "Orvane Marlo Editor - keys")" || exit 1
focus "$window"
xdotool key ctrl+2

# 1. Two panels, two undos, a save: the original bytes.
focus_knobs_box "$window" 0 2 || fail "the focused number box shows no ring"
shows_ring "$window" 1 2 && fail "a box without the focus shows a ring"
shot number-box-focus
type_value 33
click_box 1 2
type_value 44
save_and_wait
[[ "$(differences "$file" | awk '{ print $2 }' | sort | tr '\n' ' ')" == "33 44 " ]] ||
    fail "the typed values were not saved: $(differences "$file" | tr '\n' ' ')"

xdotool key ctrl+z
xdotool key ctrl+z
save_and_wait
cmp -s "$original" "$file" || fail "after two undos the file differs: $(differences "$file" | tr '\n' ' ')"
echo "ok: two undos and a save give the original bytes"

# 2. Two redos and a save: the typed values are back.
xdotool key ctrl+shift+z
xdotool key ctrl+shift+z
save_and_wait
[[ "$(differences "$file" | awk '{ print $2 }' | sort | tr '\n' ' ')" == "33 44 " ]] ||
    fail "redo did not bring the typed values back: $(differences "$file" | tr '\n' ' ')"
echo "ok: two redos and a save bring the typed values back"

# 3. Tab from knob 3's CC box reaches its Min box; typing and Return change that box only.
cp "$file" "$original"
click_box 2 2
xdotool key Tab
type_value 77
save_and_wait
changed="$(differences "$file")"
[[ "$(wc -l <<<"$changed")" -eq 1 && "$(awk '{ print $2 }' <<<"$changed")" == 77 ]] ||
    fail "Tab, 77, Return changed: '${changed}'"
# The Min box is the byte after the CC box: the CC byte still holds the factory 22.
min_offset="$(awk '{ print $1 }' <<<"$changed")"
[[ "$(od -An -tu1 -j $((min_offset - 2)) -N1 "$file" | tr -d ' ')" == 22 ]] ||
    fail "the byte before the changed one is not knob 3's CC"
echo "ok: Tab, typing and Return change the box Tab reached"

# A Mode box with the focus shows the ring too; the Edit menu open, for the screenshot.
click_box 3 2
xdotool key shift+Tab shift+Tab
wait_until 15 shows_ring "$window" 3 0 || fail "the focused Mode box shows no ring"
shot mode-box-focus
open_menu "$window" 75 || fail "the Edit menu did not open"
shot edit-menu
xdotool key Escape
wait_until 15 menus_shown 0 || fail "Escape left the Edit menu open"

# 4. Escape closes Device Setup.
open_menu "$window" 200 || fail "the Options menu did not open"
xdotool key Down Return
setup="$(wait_for_window "Device Setup")" || exit 1
# A click on the picture at the top gives the new window the keyboard without choosing anything.
xdotool windowactivate --sync "$setup" 2>/dev/null
xdotool mousemove --window "$setup" 300 20 click 1
wait_for_focus "$setup"
xdotool key Escape
wait_until 15 no_window "Device Setup" || fail "Escape left Device Setup open"
echo "ok: Escape closes Device Setup"

kill -0 "$EDITOR_PID" 2>/dev/null || fail "the editor ended"
echo "PASS: undo, redo, Tab and Escape from the keyboard"
