#!/usr/bin/env bash
# The keyboard from the first moment, through the real window and without a single click: a
# fresh window takes Ctrl+2, digits, Return and Ctrl+S (the typed MIDI channel is read back from
# the saved file), Ctrl+1 rings the main page's first button, F10 and Alt+letters open the menus,
# arrows move through them, Return runs an item and Escape closes.
# With E2E_SHOTS set to a folder, it leaves screenshots of the ring and of an open menu there.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

file="$E2E_HOME/keys.marlo"
original="$E2E_HOME/original.marlo"
write_preset "$file" 5
cp "$file" "$original"

# The preset's bytes follow the file's 9-byte header. Knob 1's MIDI Channel is the preset's byte
# 17: the knobs follow the keybed (4 bytes), the wheels (1 and 4) and the sustain (4), and the
# channel is a knob's fifth byte.
knob1_channel_in_file() { od -An -tu1 -j $((9 + 17)) -N1 "$1" | tr -d ' '; }

# editor_pixel WINDOW X Y: the colour at a point of the 1200 x 700 editor, as RRGGBB.
editor_pixel()
{
    local WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window "$1" png:- 2>/dev/null |
        convert png:- -format "%[hex:p{$2,$((HEIGHT - 700 + $3))}]" info: 2>/dev/null | cut -c1-6
}

# The main page's first button shows the ring a little inside its left edge, half-way down.
first_button_ringed() { [[ "$(editor_pixel "$window" 8 544)" == 117FC6 ]]; }

start_editor "$file"
window="$(wait_for_window "^Orvane Marlo Editor - keys$")" || exit 1
# The window manager hands a new window the keyboard; nothing here clicks.
wait_for_focus "$window"

# 1. Ctrl+2, the channel typed over the selected text, Return, Ctrl+S: the byte holds it.
[[ "$(knob1_channel_in_file "$file")" != 8 ]] || fail "the test file already holds channel 9"
xdotool key ctrl+2
xdotool type --delay 30 9
xdotool key Return
date_back "$file"
xdotool key ctrl+s
wait_until 15 written_since_dated_back "$file" || fail "Ctrl+S wrote nothing"
[[ "$(knob1_channel_in_file "$file")" == 8 ]] ||
    fail "Knob 1's channel byte is $(knob1_channel_in_file "$file"), not 8 (channel 9)"
[[ "$(cmp -l "$original" "$file" | wc -l)" -eq 1 ]] || fail "more than the channel changed"
echo "ok: Ctrl+2, 9, Return and Ctrl+S saved channel 9 in Knob 1's byte"

# 2. Ctrl+1: the main page, its first button ringed.
xdotool key ctrl+1
wait_until 15 first_button_ringed || fail "no ring on the main page's first button: $(editor_pixel "$window" 8 544)"
shot main-button-focus
echo "ok: Ctrl+1 rings the main page's first button"

# 3. F10 opens the first menu, Right the next, Escape closes.
xdotool key F10
wait_until 15 menus_shown 1 || fail "F10 opened no menu"
shot file-menu
xdotool key Right
wait_until 15 menus_shown 1 || fail "Right closed the menus"
xdotool key Escape
wait_until 15 menus_shown 0 || fail "Escape left a menu open"
echo "ok: F10 opens a menu, Escape closes it"

# 4. Each menu's Alt+letter.
for letter in f e o w h; do
    xdotool key "alt+$letter"
    wait_until 15 menus_shown 1 || fail "Alt+$letter opened no menu"
    xdotool key Escape
    wait_until 15 menus_shown 0 || fail "Escape after Alt+$letter left a menu open"
done
echo "ok: Alt+F, Alt+E, Alt+O, Alt+W and Alt+H open menus"

# 5. The arrows move and Return runs an item: Options' first, Device Setup, which Escape closes again.
xdotool key alt+o
wait_until 15 menus_shown 1 || fail "Alt+O opened no menu"
xdotool key Down Up Return
setup="$(wait_for_window "Device Setup")" || exit 1
wait_for_focus "$setup"
xdotool key Escape
wait_until 15 no_window "Device Setup" || fail "Escape left Device Setup open"
echo "ok: Alt+O, Down, Up, Return open Device Setup without the mouse"

is_running "$EDITOR_PID" || fail "the editor ended"
echo "PASS: the keyboard reaches the page and the menus from the first moment"
