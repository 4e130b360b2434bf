#!/usr/bin/env bash
# Menu keys that work every time: 50 Alt+letter presses in a row, between pauses, clicks, sends,
# page changes and boxes holding the keyboard, each open its menu and keep it open while the arrows
# move in it; nothing reaches the controls (the saved file is byte for byte the original). A menu
# opened from the keyboard has its first item selected, so Alt+O then Return opens Device Setup, and
# a pointer resting where the Window menu opens does not take that selection: Return minimizes.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

# The simulated controller is opened at start, so that the sends go out.
settings="$HOME/.config/orvane-marlo-editor/settings-$MARLO_EDITOR_INSTANCE.xml"
mkdir -p "$(dirname "$settings")"
cat >"$settings" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<PROPERTIES>
  <VALUE name="inputDevice" val="Marlo (simulated)"/>
  <VALUE name="outputDevice" val="Marlo (simulated)"/>
</PROPERTIES>
XML

file="$E2E_HOME/keys.marlo"
original="$E2E_HOME/original.marlo"
write_preset "$file" 5
cp "$file" "$original"

start_editor --simulated-device "$file"
window="$(wait_for_window "^Orvane Marlo Editor - keys$")" || exit 1
focus "$window"

# What comes before a press, in turn. The pause is a musician reading the screen: a window that
# painted nothing for three seconds lost the menu its next key opened.
before_press()
{
    case $(($1 % 5)) in
        0) sleep 3.5 ;;
        1) click_editor "$window" 600 400 ;;
        # Send Preset to Hardware, the main page's second button.
        2) xdotool key ctrl+1 && click_editor "$window" 130 584 ;;
        3) xdotool key "ctrl+$(($1 % 7 + 1))" ;;
        # Pad 1's MIDI Channel box, then its Mode box: a stray Down would change either.
        4) xdotool key ctrl+4 && xdotool mousemove --window "$window" "$(knobs_box_x 0)" "$(knobs_row_y 1)" click 1 &&
            xdotool key shift+Tab ;;
    esac
}

letters=(f e v o w h)
for press in $(seq 0 49); do
    before_press "$press"
    letter="${letters[$((press % ${#letters[@]}))]}"
    xdotool key "alt+$letter"
    wait_until 5 menus_shown 1 || fail "press $((press + 1)): Alt+$letter opened no menu"
    # A menu that closed again at once would leave this Down to the control holding the keyboard.
    xdotool key Down
    wait_until 5 menus_shown 1 || fail "press $((press + 1)): the menu of Alt+$letter closed by itself"
    xdotool key Escape
    wait_until 5 menus_shown 0 || fail "press $((press + 1)): Escape left the menu of Alt+$letter open"
done
echo "ok: 50 Alt+letter presses opened their menus"

date_back "$file"
xdotool key ctrl+s
wait_until 15 written_since_dated_back "$file" || fail "Ctrl+S wrote nothing"
cmp -s "$original" "$file" || fail "a control changed: $(cmp -l "$original" "$file" | head -5 | tr '\n' ' ')"
echo "ok: no control changed"

xdotool key alt+o
wait_until 5 menus_shown 1 || fail "Alt+O opened no menu"
xdotool key Return
setup="$(wait_for_window "Device Setup" 10)" || exit 1
wait_for_focus "$setup"
xdotool key Escape
wait_until 15 no_window "Device Setup" || fail "Escape left Device Setup open"
echo "ok: Alt+O and Return ran the Options menu's first item"

# The pointer rests on the Window menu's third item, MIDI Monitor, before the menu opens from the
# keyboard; the menu looks for the pointer twenty times a second, and the pause outlasts that.
xdotool key alt+w
wait_until 5 menus_shown 1 || fail "Alt+W opened no menu"
eval "$(xdotool getwindowgeometry --shell "$(xdotool search --all --onlyvisible --pid "$EDITOR_PID" --name '^menu$' | head -1)")"
xdotool key Escape
wait_until 5 menus_shown 0 || fail "Escape left the Window menu open"
xdotool mousemove $((X + 60)) $((Y + 2 + 2 * 22 + 11))
sleep 0.5
xdotool key alt+w
wait_until 5 menus_shown 1 || fail "Alt+W opened no menu under the resting pointer"
sleep 0.5
xdotool key Return
minimized() { xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_HIDDEN; }
wait_until 10 minimized || fail "Return under a resting pointer did not run Minimize$(xdotool search --onlyvisible --name '^MIDI Monitor$' >/dev/null && echo ': it opened the MIDI Monitor')"
echo "ok: a pointer resting on the Window menu left its first item selected"

is_running "$EDITOR_PID" || fail "the editor ended"
echo "PASS: menu keys open their menus every time, and nothing else"
