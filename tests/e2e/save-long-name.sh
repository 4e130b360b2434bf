#!/usr/bin/env bash
# A name as long as the file system allows (245 characters and ".marlo") saves.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup
command -v zenity >/dev/null || fail "zenity is missing"

name="$(printf 'L%.0s' $(seq 245)).marlo"
((${#name} == 251)) || fail "the name has ${#name} characters"

open_save_chooser >/dev/null || exit 1
# The name field has the keyboard and its proposal selected.
xdotool key ctrl+a
xdotool type --delay 2 "$name"
xdotool key Return

wait_until 10 test -f "$E2E_HOME/$name" || fail "the file with the long name was not written"
[[ "$(stat -c %s "$E2E_HOME/$name")" -eq 103 ]] || fail "the saved file is not a preset"
# The document takes the file's name once the save has gone through, so by then an alert about
# it would be showing.
wait_for_window "^Orvane Marlo Editor - ${name%.marlo}$" >/dev/null || exit 1
[[ "$(window_count "^File Not Saved$")" -eq 0 ]] || fail "the save was reported as failed"
[[ -z "$(find "$E2E_HOME" -maxdepth 1 -name '.marlo-*')" ]] || fail "a temporary file was left behind"
echo "PASS: a 251-character name saved"
