#!/usr/bin/env bash
# Without XDG_RUNTIME_DIR, nothing of the hand-over in the shared temporary folder is open to
# other users.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup
unset XDG_RUNTIME_DIR

write_preset "$E2E_HOME/Private.marlo" 2

start_editor
window="$(wait_for_window "^Orvane Marlo Editor - Untitled 1$")" || exit 1
focus "$window"
"$EDITOR_BINARY" "$E2E_HOME/Private.marlo" >"$E2E_HOME/launch.log" 2>&1
wait_until 10 bash -c "xdotool search --name '^Orvane Marlo Editor - Private$' >/dev/null 2>&1" \
    || fail "the hand-over did not work"

# others_may_reach PATH: every folder from /tmp down lets others through, and the entry lets
# them read or write.
others_may_reach()
{
    local path="$1" folder
    folder="$(dirname "$path")"
    while [[ "$folder" != "/tmp" && "$folder" != "/" ]]; do
        [[ -n "$(find "$folder" -maxdepth 0 -perm -o+x)" ]] || return 1
        folder="$(dirname "$folder")"
    done
    [[ -n "$(find "$path" -maxdepth 0 \( -perm -o+r -o -perm -o+w \))" ]]
}

mapfile -t entries < <(find /tmp -maxdepth 3 -name "*$MARLO_EDITOR_INSTANCE*" 2>/dev/null)
((${#entries[@]} > 0)) || fail "found nothing of the hand-over under /tmp"
for entry in "${entries[@]}"; do
    echo "$(stat -c '%A %U' "$entry") $entry (in $(stat -c '%A %U' "$(dirname "$entry")"))"
    others_may_reach "$entry" && fail "$entry is open to other users"
done
echo "PASS: the lock and the socket are closed to other users"
