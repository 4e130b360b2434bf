#!/usr/bin/env bash
# A preset opened from another program's ".syx" is never written over: Ctrl+S opens the zenity
# save chooser on "<name>.marlo" in the capture's own folder, and Return saves the preset there.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup
command -v zenity >/dev/null || fail "zenity is missing"

mkdir "$E2E_HOME/captures"
syx="$E2E_HOME/captures/Captured.syx"
write_preset "$E2E_HOME/expected.marlo" 7
# As a monitor records it: an identity reply, then the preset as the controller's reply
# (command 63) with a clock byte inside it.
{
    printf '\xF0\x7E\x7F\x06\x02\x41\x10\x01\x00\x00\x01\x00\x00\x00\xF7'
    head -c 6 "$E2E_HOME/expected.marlo"
    printf '\x63'
    head -c 30 "$E2E_HOME/expected.marlo" | tail -c +8
    printf '\xF8'
    tail -c +31 "$E2E_HOME/expected.marlo"
} >"$syx"
cp "$syx" "$E2E_HOME/before.syx"

start_editor "$syx"
window="$(wait_for_window "^Orvane Marlo Editor - Captured$")" || exit 1
focus "$window"
xdotool key ctrl+s
chooser="$(wait_for_window "^Select Filename to save$" 20)" || exit 1
activate "$chooser"
xdotool key Return

saved="$E2E_HOME/captures/Captured.marlo"
wait_until 10 test -f "$saved" \
    || fail "no \"Captured.marlo\" beside the capture; its folder holds: $(ls -A "$E2E_HOME/captures" | tr '\n' ' ')"
wait_until 5 cmp -s "$saved" "$E2E_HOME/expected.marlo" || fail "the saved file is not the captured preset"
cmp -s "$syx" "$E2E_HOME/before.syx" || fail "the .syx was written"
[[ ! -e "$E2E_HOME/Captured.marlo" ]] || fail "the preset was saved in the shared folder, not beside the capture"
[[ "$(window_count "^Orvane Marlo Editor - Captured$")" -eq 1 ]] || fail "the document's title changed"
echo "PASS: Ctrl+S on a captured .syx saved \"Captured.marlo\" beside it and left the .syx as it was"
