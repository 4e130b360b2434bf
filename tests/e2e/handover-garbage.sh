#!/usr/bin/env bash
# Garbage written into every pipe or socket of the running editor does not stop it from taking
# the next launch's file.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

write_preset "$E2E_HOME/After Garbage.marlo" 4

start_editor
window="$(wait_for_window "^Orvane Marlo Editor - Untitled 1$")" || exit 1

# Whatever the running editor listens on, wherever it keeps it.
mapfile -t endpoints < <(find "${XDG_RUNTIME_DIR:-/tmp}" /tmp -maxdepth 2 \( -type p -o -type s \) \
    -name "*$MARLO_EDITOR_INSTANCE*" 2>/dev/null | sort -u)
((${#endpoints[@]} > 0)) || fail "found no pipe or socket of the running editor"

for endpoint in "${endpoints[@]}"; do
    echo "writing garbage into $endpoint"
    if [[ -p "$endpoint" ]]; then
        timeout 3 bash -c "printf 'garbage from another program\n' >'$endpoint'"
        # A header that announces a huge message and then stops.
        timeout 3 bash -c "printf 'Marl\xff\xff\xff\x7f' >'$endpoint'"
    else
        # Each message ends with the end of the stream, and the editor's own close of its side
        # shows it has read the garbage and let it go.
        timeout 40 /usr/bin/python3 - "$endpoint" <<'PY' || fail "the editor kept a connection that sent garbage"
import socket, sys
for payload in (b"garbage from another program\n", b"lraM\xff\xff\xff\x7f", b"Marl\xff\xff\xff\x7f"):
    s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    s.connect(sys.argv[1])
    s.sendall(payload)
    s.shutdown(socket.SHUT_WR)
    s.settimeout(10)
    while s.recv(4096):
        pass
    s.close()
PY
    fi
done

focus "$window"
"$EDITOR_BINARY" "$E2E_HOME/After Garbage.marlo" >"$E2E_HOME/launch.log" 2>&1 &
launch=$!
E2E_PIDS+=("$launch")
wait_until 20 bash -c "! kill -0 $launch 2>/dev/null" || fail "the launch did not end"

wait_until 10 bash -c "xdotool search --name '^Orvane Marlo Editor - After Garbage$' >/dev/null 2>&1" \
    || fail "the launch's file was lost"
is_running "$EDITOR_PID" || fail "the running editor ended"
echo "PASS: the hand-over survived garbage and the file was opened"
