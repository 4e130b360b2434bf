#!/usr/bin/env bash
# Ctrl+S on an untitled document and Return in the zenity chooser save "Untitled 1.marlo".
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup
command -v zenity >/dev/null || fail "zenity is missing"

open_save_chooser >/dev/null || exit 1
xdotool key Return

wait_until 10 test -f "$E2E_HOME/Untitled 1.marlo" \
    || fail "no \"Untitled 1.marlo\"; the folder holds: $(ls -A "$E2E_HOME" | tr '\n' ' ')"
[[ "$(stat -c %s "$E2E_HOME/Untitled 1.marlo")" -eq 103 ]] || fail "the saved file is not a preset"
[[ ! -e "$E2E_HOME/$(basename "$E2E_HOME")" ]] || fail "a file named after the folder was written"
[[ "$(window_count "^Orvane Marlo Editor - Untitled 1$")" -eq 1 ]] || fail "the document's title changed"
echo "PASS: Return in the save chooser wrote \"Untitled 1.marlo\""
