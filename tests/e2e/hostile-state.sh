#!/usr/bin/env bash
# Whatever sits in the editor's state and settings folders neither harms the user's files nor
# stops a start, through the real binary. A link named like an ended editor's session leads to a
# folder of the user's own files: they stay exactly as they were through a start, Recover and a
# quit. A recovery description and a settings file nested 200,000 levels deep cost a line each on
# stderr; the editor starts and recovers what can be read.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup
export XDG_STATE_HOME="$E2E_HOME/state" XDG_CONFIG_HOME="$E2E_HOME/config"
recovery="$XDG_STATE_HOME/orvane-marlo-editor/recovery"
mkdir -p -m 700 "$XDG_STATE_HOME/orvane-marlo-editor" "$recovery"
# Sessions are named "<instance>.<pid>.<tag>", the instance after the user and the test's own.
instance="orvane-marlo-editor-$(id -un)-$MARLO_EDITOR_INSTANCE"

# The user's folder, and the link to it named like a session of an editor that ended.
thesis="$E2E_HOME/thesis"
mkdir "$thesis"
echo "chapter one" >"$thesis/thesis.txt"
head -c 4096 /dev/urandom >"$thesis/data.bin"
write_preset "$thesis/1.marlo" 5
echo "not a preset" >"$thesis/2.marlo"
ln -s "$thesis" "$recovery/$instance.1.abc"
fingerprint() { (cd "$thesis" && ls -A && sha256sum -- *) | sha256sum; }
before="$(fingerprint)"

# A real session of an ended editor: one entry that reads, one whose description nests without end.
session="$recovery/$instance.2.def"
mkdir -m 700 "$session"
write_preset "$session/1.marlo" 7
echo "{\"name\": \"Kept\", \"file\": \"$E2E_HOME/Kept.marlo\"}" >"$session/1.txt"
write_preset "$session/2.marlo" 8
head -c 200000 /dev/zero | tr '\0' '[' >"$session/2.txt"

settings="$XDG_CONFIG_HOME/orvane-marlo-editor/settings-$MARLO_EDITOR_INSTANCE.xml"
mkdir -p "$(dirname "$settings")"
{ printf '<PROPERTIES>'; head -c 600000 /dev/zero | tr '\0' '\n' | sed 's/^/<a>/' | tr -d '\n'; } >"$settings"
[[ "$(grep -o '<a>' "$settings" | wc -l)" -ge 200000 ]] || fail "the settings file is not nested as deep as meant"

start_editor
question="$(wait_for_window "^Recover Unsaved Presets$")" || exit 1
activate "$question"
xdotool key Return
wait_until 15 no_window "^Recover Unsaved Presets$" || fail "Recover left the question open"
window="$(wait_for_window "^Orvane Marlo Editor - Kept$")" || exit 1
echo "ok: the editor started past the nested files and recovered the entry that reads"

focus "$window"
xdotool key ctrl+q
question="$(wait_for_window "^Save Document$")" || exit 1
answer_no "$question"
wait_until 20 bash -c "! kill -0 $EDITOR_PID 2>/dev/null" || fail "the editor did not quit"
wait "$EDITOR_PID" || fail "the editor ended with an error"

[[ "$(fingerprint)" == "$before" ]] || fail "the files behind the link changed: $(ls -A "$thesis")"
[[ -L "$recovery/$instance.1.abc" ]] || fail "the link was removed"
[[ -f "$session/2.marlo" && -f "$session/2.txt" ]] || fail "the entry that could not be read was deleted"
said="$(cat "$E2E_HOME"/editor-*.log)"
grep -q "skipped $recovery/$instance.1.abc: a link" <<<"$said" || fail "the link was not reported: $said"
grep -q "2.txt: larger than\|nests deeper" <<<"$said" || fail "the nested description was not reported: $said"
grep -q "settings-$MARLO_EDITOR_INSTANCE.xml: .*holds" <<<"$said" || fail "the nested settings were not reported: $said"
echo "PASS: the user's files behind a link stayed; nested state and settings files did not stop a start"
