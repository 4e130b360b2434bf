#!/usr/bin/env bash
# File > Export SysEx... in a document opened from a preset file: the zenity chooser proposes
# "<name>.syx" in the file's folder, Return writes the dump message (which is byte for byte what a
# preset file holds), and the document keeps its file and title.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup
command -v zenity >/dev/null || fail "zenity is missing"

mkdir -p "$E2E_HOME/presets"
write_preset "$E2E_HOME/presets/Lead.marlo" 5
cp "$E2E_HOME/presets/Lead.marlo" "$E2E_HOME/original.marlo"

start_editor "$E2E_HOME/presets/Lead.marlo"
window="$(wait_for_window "^Orvane Marlo Editor - Lead$")" || exit 1
focus "$window"

# File: New Window, Open, Close Window, Save, Save As, Export SysEx...
open_menu "$window" 35 || fail "the File menu did not open"
xdotool key Down Down Down Down Down Down Return
chooser="$(wait_for_window "^Select Filename to export$" 20)" || exit 1
activate "$chooser"
xdotool key Return

exported="$E2E_HOME/presets/Lead.syx"
wait_until 10 test -f "$exported" \
    || fail "no \"Lead.syx\"; the folder holds: $(ls -A "$E2E_HOME/presets" | tr '\n' ' ')"
cmp "$exported" "$E2E_HOME/presets/Lead.marlo" || fail "the export is not the dump message"
cmp "$E2E_HOME/presets/Lead.marlo" "$E2E_HOME/original.marlo" || fail "the preset file was written"
[[ "$(window_count "^Orvane Marlo Editor - Lead$")" -eq 1 ]] || fail "the document's title changed"
is_running "$EDITOR_PID" || fail "the editor ended"
echo "PASS: Export SysEx wrote \"Lead.syx\", the dump message, beside the document's file"
