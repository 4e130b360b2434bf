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

# Where the knobs page puts things, inside the window: the menu bar is 24 high, the page starts
# 527 below it, rows are 26 apart from 32 down, and panels are 280 wide from x = 40.
row_y() { echo $((24 + 527 + 32 + 26 * $1 + 10)); }
box_x() { echo $((40 + 280 * $1 + 145)); }

shot()
{
    [[ -n "${E2E_SHOTS:-}" ]] && import -window root "$E2E_SHOTS/$1.png"
    return 0
}

# Ctrl+S, then waits for the write: the file is dated back first, so any write shows.
save_and_wait()
{
    touch -d '2000-01-01' "$file"
    xdotool key ctrl+s
    wait_until 10 test "$(stat -c %Y "$file")" -gt 946771200 || fail "Ctrl+S wrote nothing"
}

# differences FILE: "offset value" for every byte that differs from the original, values in decimal.
differences()
{
    local offset old new
    cmp -l "$original" "$1" | while read -r offset old new; do
        echo "$offset $((8#$new))"
    done
}

# shows_ring PANEL ROW: the box's inner edge has the accent colour of the focus ring.
shows_ring()
{
    local pixel
    pixel="$(import -window "$window" png:- 2>/dev/null |
        convert png:- -format "%[hex:p{$(($(box_x "$1") - 38)),$(row_y "$2")}]" info: 2>/dev/null)"
    [[ "${pixel:0:6}" == 117FC6 ]]
}

click_box() # PANEL ROW
{
    xdotool mousemove --window "$window" "$(box_x "$1")" "$(row_y "$2")" click 1
    sleep 0.3
}

type_value() # TEXT
{
    xdotool type --delay 30 "$1"
    xdotool key Return
    sleep 0.3
}

start_editor "$file"
window="$(wait_for_window "Orvane Marlo Editor - keys")" || exit 1
focus "$window"
xdotool key ctrl+2
sleep 0.5

# 1. Two panels, two undos, a save: the original bytes.
click_box 0 2
wait_until 5 shows_ring 0 2 || fail "the focused number box shows no ring"
shows_ring 1 2 && fail "a box without the focus shows a ring"
shot number-box-focus
type_value 33
click_box 1 2
type_value 44
save_and_wait
[[ "$(differences "$file" | awk '{ print $2 }' | sort | tr '\n' ' ')" == "33 44 " ]] ||
    fail "the typed values were not saved: $(differences "$file" | tr '\n' ' ')"

xdotool key ctrl+z
sleep 0.2
xdotool key ctrl+z
sleep 0.3
save_and_wait
cmp -s "$original" "$file" || fail "after two undos the file differs: $(differences "$file" | tr '\n' ' ')"
echo "ok: two undos and a save give the original bytes"

# 2. Two redos and a save: the typed values are back.
xdotool key ctrl+shift+z
sleep 0.2
xdotool key ctrl+shift+z
sleep 0.3
save_and_wait
[[ "$(differences "$file" | awk '{ print $2 }' | sort | tr '\n' ' ')" == "33 44 " ]] ||
    fail "redo did not bring the typed values back: $(differences "$file" | tr '\n' ' ')"
echo "ok: two redos and a save bring the typed values back"

# 3. Tab from knob 3's CC box reaches its Min box; typing and Return change that box only.
cp "$file" "$original"
click_box 2 2
xdotool key Tab
sleep 0.3
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
wait_until 5 shows_ring 3 0 || fail "the focused Mode box shows no ring"
shot mode-box-focus
xdotool mousemove --window "$window" 75 12 click 1
sleep 0.5
shot edit-menu
xdotool key Escape
sleep 0.3

# 4. Escape closes Device Setup.
xdotool mousemove --window "$window" 140 12 click 1
sleep 0.5
xdotool key Down Return
setup="$(wait_for_window "Device Setup")" || exit 1
# A click on the picture at the top gives the new window the keyboard without choosing anything.
xdotool windowactivate --sync "$setup" 2>/dev/null
xdotool mousemove --window "$setup" 300 20 click 1
sleep 0.5
xdotool key Escape
wait_until 10 test "$(window_count "Device Setup")" -eq 0 || fail "Escape left Device Setup open"
echo "ok: Escape closes Device Setup"

kill -0 "$EDITOR_PID" 2>/dev/null || fail "the editor ended"
echo "PASS: undo, redo, Tab and Escape from the keyboard"
