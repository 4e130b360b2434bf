#!/usr/bin/env bash
# The installed shape of the command-line tool: the real binary, run with no display at all, as
# over SSH or in a script. Argument: the editor binary; the tool is built beside it.
source "$(dirname "${BASH_SOURCE[0]}")/lib/tool-common.bash"

# Runs the tool, keeping stdout, stderr and the exit code for the checks that follow.
run()
{
    # A tool that hangs (on a pipe, on a lock) fails its check instead of the whole run.
    timeout 20 "$tool" "$@" >out.txt 2>err.txt
    code=$?
    grep -v '^ALSA lib' err.txt >err.clean || true
}

expect_code() { [[ "$code" == "$1" ]] || fail "$2: exit $code, expected $1 ($(cat err.clean))"; }

run new a.marlo;                      expect_code 0 "new"
[[ $(stat -c %s a.marlo) == 103 ]] || fail "new wrote $(stat -c %s a.marlo) bytes"
run new a.marlo;                      expect_code 2 "new over an existing file"
grep -q "a.marlo" err.clean || fail "the refusal of new does not name the file"
cp a.marlo b.marlo

run set b.marlo "Keybed Transpose=-5" "Pad 1 Mode=CC Toggle"; expect_code 0 "set"
run show b.marlo;                     expect_code 0 "show"
grep -qx "Keybed Transpose = -5" out.txt || fail "show does not list the new transpose"
grep -qx "Pad 1 Mode = CC Toggle" out.txt || fail "show does not list the new mode"
run show --json b.marlo;              expect_code 0 "show --json"
grep -q '"Keybed Transpose": -5,' out.txt && grep -q '"Pad 1 Mode": "CC Toggle",' out.txt \
    || fail "show --json: $(head -c 200 out.txt)"

run diff a.marlo b.marlo;             expect_code 1 "diff of different files"
grep -qx "Keybed Transpose: 0 -> -5" out.txt || fail "diff: $(cat out.txt)"
run diff a.marlo a.marlo;             expect_code 0 "diff of the same file"

cp b.marlo before.marlo
run set b.marlo "Keybed Octave=1" "Keybed MIDI Channel=17"; expect_code 1 "set out of range"
cmp -s b.marlo before.marlo || fail "a refused set changed the file"
grep -q "b.marlo" err.clean || fail "the refused set does not name the file"

head -c 50 a.marlo >short.marlo
run validate a.marlo b.marlo;         expect_code 0 "validate of good files"
run validate a.marlo short.marlo;     expect_code 1 "validate of a short file"
grep -qx "short.marlo: no preset dump among 1 message (one carries 41 of the 93 preset bytes)" out.txt \
    || fail "validate: $(cat out.txt)"
run validate missing.marlo;           expect_code 2 "validate of a missing file"
run show;                             expect_code 2 "show without a file"
run get --help;                       expect_code 0 "get --help"

# Nothing is read that is not a regular preset-sized file: no hang, no memory filled.
mkfifo pipe.marlo
truncate -s 1G sparse.marlo
for refused in /dev/zero pipe.marlo sparse.marlo; do
    run validate "$refused";          expect_code 2 "validate $refused"
    grep -q "^$refused: " out.txt || fail "validate $refused does not name it: $(cat out.txt)"
    run show "$refused";              expect_code 2 "show $refused"
    grep -q "$refused" err.clean || fail "show $refused does not name it: $(cat err.clean)"
done

# Saving keeps links, refuses a read-only file and keeps a hard link whole.
ln -s b.marlo link.marlo
run set link.marlo "Keybed Octave=1"; expect_code 0 "set through a link"
[[ -L link.marlo ]] || fail "set replaced the link by a file"
run show b.marlo
grep -qx "Keybed Octave = 1" out.txt || fail "set through a link did not change the file it names"
cp a.marlo read-only.marlo && chmod 0444 read-only.marlo
run set read-only.marlo "Keybed Octave=2"; expect_code 2 "set on a read-only file"
grep -q "read-only.marlo: cannot be written: .*read-only" err.clean || fail "read-only: $(cat err.clean)"
cmp -s a.marlo read-only.marlo || fail "set changed a read-only file"
ln b.marlo hard.marlo
run set hard.marlo "Keybed Octave=3"; expect_code 0 "set on a hard link"
cmp -s b.marlo hard.marlo || fail "set split a hard link"

# Sets at the same time on one file: every change is kept.
cp a.marlo shared.marlo
pids=()
for knob in 1 2 3 4; do
    for parameter in CC Min; do
        "$tool" set shared.marlo "Knob $knob $parameter=$((100 + knob))" >/dev/null 2>&1 &
        pids+=($!)
    done
done
for pid in "${pids[@]}"; do wait "$pid" || fail "a parallel set failed"; done
run show shared.marlo
for knob in 1 2 3 4; do
    for parameter in CC Min; do
        grep -qx "Knob $knob $parameter = $((100 + knob))" out.txt || fail "parallel set lost Knob $knob $parameter"
    done
done

run ports --simulated-device;         expect_code 0 "ports"
grep -qx "out: Marlo (simulated)" out.txt || fail "ports: $(cat out.txt)"
run send b.marlo --out "Marlo (simulated)" --simulated-device; expect_code 0 "send"
run get c.marlo --in "Marlo (simulated)" --out "Marlo (simulated)" --simulated-device; expect_code 0 "get"
grep -q "MIDI Get Sucess" err.clean || fail "get did not report the editor's success alert"
run validate c.marlo;                 expect_code 0 "validate of the file get wrote"
run send b.marlo --out "No Such Port"; expect_code 1 "send to a missing port"
grep -q 'there is no MIDI output named "No Such Port"' err.clean || fail "send to a missing port: $(cat err.clean)"
grep -q "No MIDI Device selected" err.clean && fail "send without a device speaks of Device Setup: $(cat err.clean)"

# In a plain terminal: the system library's own lines are kept out, and without the ALSA sequencer
# one line says there is no MIDI service.
for command in "ports" "send b.marlo --out Nowhere" "monitor --in Nowhere --count 1"; do
    run $command
    grep -q "^ALSA lib" err.txt && fail "$command printed the ALSA library's lines: $(head -3 err.txt)"
    if [[ ! -e /dev/snd/seq ]]; then
        [[ $(grep -c "there is no MIDI service (the ALSA sequencer /dev/snd/seq is missing)" err.txt) == 1 ]] ||
            fail "$command did not say once that there is no MIDI service: $(cat err.txt)"
    fi
done
if [[ ! -e /dev/snd/seq ]]; then
    run ports;                        expect_code 0 "ports without a MIDI service"
    grep -q "there are no MIDI inputs or outputs" err.txt || fail "ports without devices: $(cat err.txt)"
fi

# Names in any case; an unknown one gets the nearest suggested, and "names" lists them all.
cp b.marlo case.marlo
run set case.marlo "knob 1 cc=74";    expect_code 0 "set with a name in lower case"
run show case.marlo
grep -qx "Knob 1 CC = 74" out.txt || fail "set in lower case did not set Knob 1 CC"
run set case.marlo "Knob 1 CCC=1";    expect_code 1 "set of a misspelt name"
grep -q '"Knob 1 CC"' err.clean || fail "the misspelt name got no suggestion: $(cat err.clean)"
run names;                            expect_code 0 "names"
grep -qx "Pad 1 Note: 0 to 127 (when Mode is Note)" out.txt || fail "names: $(head -20 out.txt)"

# Another program's capture: bytes before the first message, an identity reply, then b.marlo's
# preset as the controller's reply (command 63) with a clock byte inside it.
printf '\x00\xF0\x7E\x7F\x06\x02\x41\x10\x01\x00\x00\x01\x00\x00\x00\xF7' >captured.syx
{ head -c 6 b.marlo; printf '\x63'; head -c 20 b.marlo | tail -c +8; printf '\xF8'; tail -c +21 b.marlo; } >>captured.syx
cp captured.syx captured.before
run show b.marlo && mv out.txt show-b.txt
run show captured.syx;                expect_code 0 "show of a captured .syx"
cmp -s out.txt show-b.txt || fail "show of the capture differs from show of its preset"
run convert captured.syx x.marlo;     expect_code 0 "convert .syx to .marlo"
cmp -s x.marlo b.marlo || fail "convert to .marlo is not the preset file byte for byte"
run convert x.marlo x.syx;            expect_code 0 "convert .marlo to .syx"
cmp -s x.syx x.marlo || fail "convert to .syx is not the dump message byte for byte"
run convert captured.syx x.txt;       expect_code 2 "convert to another extension"
[[ ! -e x.txt ]] || fail "convert wrote a file of an unknown kind"
run set captured.syx "Keybed Octave=1"; expect_code 1 "set on a .syx"
grep -q "convert" err.clean || fail "set on a .syx does not name convert: $(cat err.clean)"
cmp -s captured.syx captured.before || fail "a refused set changed the .syx"
cat a.marlo b.marlo >two.syx
run validate two.syx;                 expect_code 0 "validate of a file with two presets"
grep -q "two.syx: holds 2 presets; the first is read" err.clean || fail "second preset: $(cat err.clean)"

# The simulated controller starts with the factory preset, which "new" wrote to a.marlo.
run compare a.marlo --in "Marlo (simulated)" --out "Marlo (simulated)" --simulated-device
expect_code 0 "compare of the same preset"
[[ ! -s out.txt ]] || fail "compare of the same preset printed: $(cat out.txt)"
run compare captured.syx --in "Marlo (simulated)" --out "Marlo (simulated)" --simulated-device
expect_code 1 "compare of a different preset"
grep -qx "Keybed Transpose: -5 -> 0" out.txt || fail "compare: $(cat out.txt)"
cmp -s captured.syx captured.before || fail "compare changed its file"

if ((failures > 0)); then
    echo "marlo-preset: $failures check(s) failed" >&2
    exit 1
fi
echo "marlo-preset: all checks passed"
