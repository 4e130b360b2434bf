#!/usr/bin/env bash
# Ctrl+C is honoured from the first moment, through the real tool: a monitor interrupted while it
# starts still ends with exit 0 and its lines written, and a set waiting for another's lock ends
# with exit 130 and leaves the file as it was. (The monitor once died by the signal with no output
# when interrupted in its first moments.) Argument: the editor binary; the tool is built beside it.
source "$(dirname "${BASH_SOURCE[0]}")/lib/tool-common.bash"
device="Marlo (simulated)"

plays=()
for _ in $(seq 20000); do plays+=(--play "Knob 1=64"); done

# started PID: the shell's child has become the tool; catching PID: it has a handler for SIGINT.
started() { [[ "$(readlink "/proc/$1/exe" 2>/dev/null)" == "$tool" ]]; }
catching() { started "$1" && (( 0x$(awk '/^SigCgt:/ { print $2 }' "/proc/$1/status" 2>/dev/null || echo 0) & 2 )); }
wait_for() # CONDITION PID: at most 2 s
{
    local i
    for i in $(seq 400); do "$1" "$2" && return 0; sleep 0.005; done
    return 1
}

# interrupt PID: Ctrl+C, then the process must end on its own; its exit status is in `code`.
interrupt()
{
    local i
    kill -INT "$1"
    for i in $(seq 200); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$1" 2>/dev/null && kill -9 "$1"
    wait "$1"
    code=$?
}

# SIGINT at the first moment the tool takes it (a signal before that, the program still loading,
# ends any program; it takes a few milliseconds), and at moments well into its start, while it
# reads its 20,000 plays and opens its port.
for delay in first 0.1 0.2 0.3; do
    # As from a terminal: a script's background job would start with Ctrl+C ignored, which the
    # tool leaves ignored.
    env --default-signal=INT "$tool" monitor --in "$device" --simulated-device "${plays[@]}" >out.txt 2>err.txt &
    pid=$!
    if [[ $delay == first ]]; then
        wait_for catching "$pid" || fail "the monitor never took Ctrl+C"
    else
        wait_for started "$pid" || fail "the monitor did not start"
        sleep "$delay"
        catching "$pid" || fail "the monitor did not take Ctrl+C ${delay}s after it started"
    fi
    interrupt "$pid"
    [[ $code == 0 ]] || fail "monitor interrupted at $delay: exit $code ($(grep -v '^ALSA lib' err.txt | head -c 300))"
    lines="$(wc -l <out.txt)"
    [[ "$lines" -eq 0 || "$(tail -c 1 out.txt | od -An -c | tr -d ' ')" == '\n' ]] ||
        fail "monitor interrupted at $delay left a line cut short"
    echo "ok: monitor interrupted at $delay ended with exit 0 and $lines whole lines"
done

# A set that waits for the lock another of the user's programs holds on the file's folder: the
# lock file of the user's private folder named after the folder's device and inode.
"$tool" new held.marlo 2>/dev/null || fail "new failed"
cp held.marlo before.marlo
mkdir -p locked && mv held.marlo locked/
base="${XDG_RUNTIME_DIR:-}"
[[ -n "$base" && -d "$base" ]] || base="${TMPDIR:-/tmp}"
lock="$base/orvane-marlo-editor-$(id -u)/folder-$(stat -c '%d-%i' locked).lock"
mkdir -p -m 700 "$(dirname "$lock")"
flock "$lock" sleep 30 &
holder=$!
for _ in $(seq 50); do flock -n "$lock" true || break; sleep 0.1; done
env --default-signal=INT "$tool" set locked/held.marlo "Keybed Transpose=-5" 2>err.txt &
pid=$!
wait_for catching "$pid" || fail "set never took Ctrl+C"
sleep 0.5
interrupt "$pid"
kill "$holder" 2>/dev/null
[[ $code == 130 ]] || fail "set interrupted while waiting: exit $code ($(head -c 300 err.txt))"
cmp -s before.marlo locked/held.marlo || fail "the interrupted set changed the file"
echo "ok: set interrupted while waiting for the lock ended with exit 130 and the file as it was"

[[ $failures == 0 ]] || exit 1
echo "PASS: Ctrl+C ends the tool's waiting commands on their own terms"
