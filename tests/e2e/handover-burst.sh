#!/usr/bin/env bash
# A crowd of connections that never say anything does not keep a launch from handing its file
# over, and the file opens once.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

write_preset "$E2E_HOME/Burst.marlo" 4

start_editor
wait_for_window "^Orvane Marlo Editor - Untitled 1$" >/dev/null || exit 1

socket="$(find "${XDG_RUNTIME_DIR:-/tmp}" /tmp -maxdepth 2 -type s -name "*$MARLO_EDITOR_INSTANCE*" 2>/dev/null | head -1)"
[[ -n "$socket" ]] || fail "found no socket of the running editor"

# A hundred silent connections, held open until the test ends.
/usr/bin/python3 - "$socket" "$E2E_HOME/crowd-ready" <<'PY' &
import socket, sys, time
crowd = []
for _ in range(100):
    s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    s.connect(sys.argv[1])
    crowd.append(s)
open(sys.argv[2], "w").close()
time.sleep(60)
PY
E2E_PIDS+=($!)
wait_until 10 test -e "$E2E_HOME/crowd-ready" || fail "the silent connections were not made"

hand_over "$E2E_HOME/launch.log" "$E2E_HOME/Burst.marlo"

wait_for_window "^Orvane Marlo Editor - Burst$" >/dev/null || exit 1
count="$(window_count "^Orvane Marlo Editor - Burst$")"
[[ "$count" -eq 1 ]] || fail "Burst.marlo is open in $count windows"
is_running "$EDITOR_PID" || fail "the running editor ended"
echo "PASS: the launch handed its file over past a crowd of silent connections"
