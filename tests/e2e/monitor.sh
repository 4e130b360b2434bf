#!/usr/bin/env bash
# The tool's monitor, as a musician checks a mapping: the simulated controller holds a preset that
# maps a knob and a pad, plays them, and the JSON lines name what was sent and by which control.
# Runs with no display. Argument: the editor binary; the tool is built beside it.
source "$(dirname "${BASH_SOURCE[0]}")/lib/tool-common.bash"
device="Marlo (simulated)"

monitor()
{
    timeout 60 "$tool" monitor --in "$device" --simulated-device "$@" >out.txt 2>err.txt
    code=$?
    grep -v '^ALSA lib' err.txt >err.clean || true
    [[ "$code" == 0 ]] || fail "monitor $*: exit $code ($(head -c 300 err.clean))"
}

"$tool" new mapped.marlo 2>/dev/null
"$tool" set mapped.marlo "Knob 1 CC=74" "Knob 1 MIDI Channel=2" "Knob 2 Mode=Aftertouch" \
    "Pad 5 Note=36" "Pad 6 Mode=CC Toggle" "Pad 6 CC=80" "Pad 6 Toggle On=127" "Pad 6 MIDI Channel=3" 2>/dev/null \
    || fail "the preset could not be made"

monitor --preset mapped.marlo --json --count 6 --play "Knob 1=100" --play "Knob 2=60" \
    --play "Pad 5=press" --play "Pad 5=release" --play "Pad 6=press" --play "Pad 6=press"
expected='{"kind": "cc", "channel": 2, "number": 74, "value": 100, "control": "Knob 1", "controls": ["Knob 1"]}
{"kind": "aftertouch", "channel": 1, "number": null, "value": 60, "control": "Knob 2", "controls": ["Knob 2"]}
{"kind": "note on", "channel": 10, "number": 36, "value": 100, "control": "Pad 5", "controls": ["Pad 5"]}
{"kind": "note off", "channel": 10, "number": 36, "value": 0, "control": "Pad 5", "controls": ["Pad 5"]}
{"kind": "cc", "channel": 3, "number": 80, "value": 127, "control": "Pad 6", "controls": ["Pad 6"]}
{"kind": "cc", "channel": 3, "number": 80, "value": 0, "control": "Pad 6", "controls": ["Pad 6"]}'
[[ "$(cat out.txt)" == "$expected" ]] || fail "the JSON lines differ:
$(diff <(echo "$expected") out.txt)"

# 5,000 plays all arrive, in order, through a FIFO of 4,096.
plays=()
for i in $(seq 0 4999); do plays+=(--play "Knob 1=$((i % 128))"); done
monitor --preset mapped.marlo --count 5000 "${plays[@]}"
[[ $(wc -l <out.txt) == 5000 ]] || fail "$(wc -l <out.txt) of 5000 plays arrived"
awk '{ print $5 }' out.txt >values.txt
seq 0 4999 | awk '{ print $1 % 128 }' >expected.txt
cmp -s values.txt expected.txt || fail "the plays arrived out of order: $(diff expected.txt values.txt | head -5)"
grep -q "not shown" err.clean && fail "plays were dropped: $(cat err.clean)"

# --seconds ends it with exit 0 even when nothing comes; Ctrl+C too, with its lines written.
start=$(date +%s%N)
monitor --seconds 1
elapsed=$((($(date +%s%N) - start) / 1000000))
((elapsed >= 1000 && elapsed < 20000)) || fail "--seconds 1 took ${elapsed} ms"

# The signal goes to the tool itself, as the terminal sends it; one that ignores it is killed.
# Started as from a terminal: a script's background job starts with Ctrl+C ignored, which the tool
# leaves ignored.
env --default-signal=INT "$tool" monitor --in "$device" --simulated-device --play "Pad 5=press" >out.txt 2>err.txt &
pid=$!
for _ in $(seq 100); do [[ -s out.txt ]] && break; sleep 0.1; done
kill -INT "$pid"
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -KILL "$pid" 2>/dev/null
wait "$pid"
code=$?
[[ "$code" == 0 ]] || fail "Ctrl+C: exit $code"
grep -q "^note on .*Pad 5$" out.txt || fail "Ctrl+C lost the line: $(cat out.txt)"

run_usage() { timeout 20 "$tool" monitor "$@" >/dev/null 2>&1; echo $?; }
[[ $(run_usage --in "$device" --play "Knob 1=3") == 2 ]] || fail "--play without --simulated-device"
[[ $(run_usage --in "No Such Input" --count 1) == 1 ]] || fail "an absent input"

if ((failures > 0)); then
    echo "monitor: $failures failed" >&2
    exit 1
fi
echo "monitor: every check passed"
