#!/usr/bin/env bash
# Help opens the user guide with the system's viewer, as a document and never as a program: the
# copy beside the program in its build folder (as tools/run-editor runs it), the installed one,
# and the user's own copy under the home folder before either.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

# An installed editor: the program in <prefix>/bin, the guide under <prefix>/share/doc.
prefix="$E2E_HOME/prefix"
guide="$prefix/share/doc/orvane-marlo-editor/user-guide/index.html"
mkdir -p "$prefix/bin" "$(dirname "$guide")"
cp "$EDITOR_BINARY" "$prefix/bin/marlo-editor"
# Copied from a FAT stick: the execute bit is set, and run by a shell it would leave a mark.
printf '#!/bin/sh\ntouch "%s/guide-was-run"\n<html><body>guide</body></html>\n' "$E2E_HOME" >"$guide"
chmod +x "$guide"

# The system's viewer, as far as this test goes: it notes each argument on a line of its own.
mkdir -p "$E2E_HOME/viewer"
cat >"$E2E_HOME/viewer/xdg-open" <<VIEWER
#!/bin/sh
for argument in "\$@"; do echo "\$argument"; done >>"$E2E_HOME/opened"
VIEWER
chmod +x "$E2E_HOME/viewer/xdg-open"
export PATH="$E2E_HOME/viewer:$PATH"

# A build folder: the program, and the guide the build copies beside it.
build="$E2E_HOME/build"
built="$build/user-guide/index.html"
mkdir -p "$(dirname "$built")"
cp "$EDITOR_BINARY" "$build/marlo-editor"
printf '<html><body>built guide</body></html>\n' >"$built"
built_binary="$build/marlo-editor"

EDITOR_BINARY="$built_binary"
start_editor
window="$(wait_for_window "^Orvane Marlo Editor - Untitled 1$")" || exit 1
focus "$window"
xdotool key ctrl+h
wait_until 10 test -s "$E2E_HOME/opened" || fail "Help opened nothing beside the build (failure dialog shown: $(window_count "^Orvane Zell Series Editor$"))"
[[ "$(cat "$E2E_HOME/opened")" == "$built" ]] || fail "beside the build, the viewer was given '$(cat "$E2E_HOME/opened")'"
# The untouched document leaves nothing to recover, so the next start asks nothing.
kill "$EDITOR_PID"
wait "$EDITOR_PID" 2>/dev/null
: >"$E2E_HOME/opened"

EDITOR_BINARY="$prefix/bin/marlo-editor"
start_editor
window="$(wait_for_window "^Orvane Marlo Editor - Untitled 1$")" || exit 1
focus "$window"
xdotool key ctrl+h
wait_until 10 test -s "$E2E_HOME/opened" || fail "Help opened nothing (failure dialog shown: $(window_count "^Orvane Zell Series Editor$"))"
[[ "$(cat "$E2E_HOME/opened")" == "$guide" ]] || fail "the viewer was given '$(cat "$E2E_HOME/opened")'"
# Looked at again at the end, after the editor has answered a second Help.
[[ ! -e "$E2E_HOME/guide-was-run" ]] || fail "the guide was run as a program"

# The user's own copy comes first.
personal="$HOME/Documents/Orvane/Marlo Editor/Marlo Editor - User Guide - v1.0.pdf"
mkdir -p "$(dirname "$personal")"
touch "$personal"
: >"$E2E_HOME/opened"
focus "$window"
xdotool key ctrl+h
wait_until 10 test -s "$E2E_HOME/opened" || fail "Help opened nothing the second time"
[[ "$(cat "$E2E_HOME/opened")" == "$personal" ]] || fail "the viewer was given '$(cat "$E2E_HOME/opened")'"
[[ ! -e "$E2E_HOME/guide-was-run" ]] || fail "the guide was run as a program"
is_running "$EDITOR_PID" || fail "the editor ended"
echo "PASS: Help opened the user's guide, else the installed one or the build's, through the viewer"
