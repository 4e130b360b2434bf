#!/usr/bin/env bash
# Window > Library on the real binary, on a remembered folder of 50 presets in groups: nothing of
# the library is touched at start; Ctrl+L opens one Library window from a document and from the
# MIDI Monitor, with the keys in its search field; typing filters, Return opens the match in the
# untouched document, and Escape closes the window.
# With E2E_SHOTS set to a folder, the screen with the filtered list is left there.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

library="$HOME/My Presets"
for i in $(seq 1 50); do
    group="$library/Band $((i % 5))"
    mkdir -p "$group"
    write_preset "$group/Song $i.marlo" $((i % 12))
done
mkdir -p "$library/Live/Encores"
write_preset "$library/Live/Encores/Stage Piano.marlo" 9
rm "$library/Band 0/Song 50.marlo"

settings="$HOME/.config/orvane-marlo-editor/settings-$MARLO_EDITOR_INSTANCE.xml"
mkdir -p "$(dirname "$settings")"
cat >"$settings" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<PROPERTIES>
  <VALUE name="libraryFolder" val="$library"/>
  <VALUE name="inputDevice" val="Marlo (simulated)"/>
  <VALUE name="outputDevice" val="Marlo (simulated)"/>
</PROPERTIES>
XML

compare_title="^Compare with Controller - "
# compare WINDOW: File > Hardware > Compare with Controller in that document; prints the
# heading's digest once two looks agree, then closes the compare window.
compare()
{
    activate "$1"
    xdotool key alt+f
    wait_until 15 menus_shown 1 || fail "the File menu did not open"
    xdotool key Down Down Down Down Down Down Right
    wait_until 15 menus_shown 2 || fail "the Hardware submenu did not open"
    xdotool key Down Down Return
    compare_heading "$compare_title"
}

start_editor --simulated-device
window="$(wait_for_window "Orvane Marlo Editor - Untitled 1")" || exit 1
# The untouched document holds what the controller holds: "No differences".
same="$(compare "$window")"
[[ -n "$same" ]] || fail "no compare heading was read"
[[ ! -e "$HOME/Documents/Marlo Presets" ]] || fail "the default library folder was made at start"

# Ctrl+L from the document; a second Ctrl+L raises the same window.
focus "$window"
xdotool key ctrl+l
libwin="$(wait_for_window "^Library$")" || exit 1
wait_for_focus "$libwin"
activate "$window"
xdotool key ctrl+l
wait_for_focus "$libwin"
[[ "$(window_count "^Library$")" -eq 1 ]] || fail "a second Library window opened"

# The field has the keys: the words filter, Return opens the one match into the untouched document.
xdotool type --delay 30 "stage pi"
shot library-filtered
xdotool key Return
wait_for_window "Orvane Marlo Editor - Stage Piano" >/dev/null || exit 1
[[ "$(window_count "^Orvane Marlo Editor")" -eq 1 ]] || fail "the preset did not open in the untouched document"

# Escape closes; Ctrl+L from the MIDI Monitor opens it again.
activate "$libwin"
xdotool key Escape
wait_until 10 not_shown "^Library$" || fail "Escape did not close the Library"
document="$(wait_for_window "Orvane Marlo Editor - Stage Piano")" || exit 1
focus "$document"
# Alt+W opens the Window menu on its first item, at any zoom: Minimize, Bring All to Front, MIDI Monitor.
xdotool key alt+w
wait_until 15 menus_shown 1 || fail "the Window menu did not open"
xdotool key Down Down Return
monitor="$(wait_for_window "^MIDI Monitor$")" || exit 1
wait_for_focus "$monitor"
xdotool key ctrl+l
libwin="$(wait_for_window "^Library$")" || exit 1
wait_for_focus "$libwin"

# Down goes from the field into the list, Return opens the selected preset in a new document.
xdotool type --delay 30 "song 1"
xdotool key Down Down Return
wait_until 15 bash -c "[[ \$(xdotool search --onlyvisible --name '^Orvane Marlo Editor' | wc -l) -eq 2 ]]" ||
    fail "Return in the list opened no second document"

# Back in the Library the field has the keys; Down goes into the list on the selected preset,
# and F2 asks for its new name.
activate "$libwin"
xdotool key Down F2
question="$(wait_for_window "^Rename Preset$")" || exit 1
wait_for_focus "$question"
shot library-rename
xdotool type --delay 30 "Encore"
xdotool key Return
# The second match, as the list is sorted: Band 0's Song 15.
wait_until 10 test -f "$library/Band 0/Encore.marlo" || fail "F2 renamed nothing: $(ls "$library/Band 0")"
[[ ! -e "$library/Band 0/Song 15.marlo" ]] || fail "the renamed file is still there"
shot library-renamed

# Send on Select: ticked with a click, then Tab into the list and Down sends the preset moved
# onto; Return opens it, and the controller holds what its document shows.
activate "$libwin"
xdotool mousemove --window "$libwin" 740 24 click 1
xdotool key Tab Down
xdotool key Return
wait_until 15 bash -c "[[ \$(xdotool search --onlyvisible --name '^Orvane Marlo Editor' | wc -l) -eq 3 ]]" ||
    fail "Return in the list opened no third document"
third="$(xdotool getactivewindow)"
[[ "$(compare "$third")" == "$same" ]] || fail "the controller does not hold the preset sent on select"

echo "library: ok"
