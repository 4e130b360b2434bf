#!/usr/bin/env bash
# The Windows installer under Wine: installed silently (/S), it puts both programs and the user
# guide in place, a Start-menu entry and the ".marlo" type with the editor's icon; the installed
# editor starts from a file; the uninstaller, run silently too, leaves nothing of it behind.
# Argument: marlo-editor.exe of a Windows build whose packages were made (tools/build-windows
# --package). The installer is a 32-bit program: Wine runs it only with wine32 installed.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="$(cd "$(dirname "$1")" && pwd)"
source "$here/lib/wine.bash"
wine_prefix "$build" || exit 1
source "$here/../e2e/lib/e2e-common.bash" "$here/lib/wine-editor"

shopt -s nullglob
installers=("$build"/packages/*-windows-x64.exe)
[[ ${#installers[@]} -eq 1 ]] || fail "no single installer in $build/packages (tools/build-windows --package)"
[[ -x /usr/lib/wine/wine ]] || fail "the installer is a 32-bit program: Wine needs wine32 (apt-get install wine32:i386)"
e2e_setup

drive_c="$WINEPREFIX/drive_c"
installed="$drive_c/Program Files/Orvane Marlo Editor"
# The 32-bit loader for the 32-bit installer and uninstaller.
wine32() { WINELOADER=/usr/lib/wine/wine /usr/lib/wine/wine "$@"; }
registry_has() { wine32 reg query "$1" >/dev/null 2>&1; }
start_menu_entries() { find "$drive_c" -path '*Start Menu*' -iname '*Marlo*' 2>/dev/null; }

start=$SECONDS
wine32 "${installers[0]}" /S || fail "the installer ended with status $?"
wineserver -w
echo "ok: installed silently in $((SECONDS - start)) s"
for file in bin/marlo-editor.exe bin/marlo-preset.exe share/doc/orvane-marlo-editor/user-guide/index.html; do
    [[ -f "$installed/$file" ]] || fail "the installer put no $file in place"
done
[[ -n "$(start_menu_entries)" ]] || fail "no Start-menu entry"
registry_has 'HKCR\.marlo' || fail "no .marlo type"
wine32 reg query 'HKCR\OrvaneMarlo.Preset\DefaultIcon' | grep -qi 'marlo-editor.exe,0' || fail "the .marlo type has no icon"
echo "ok: both programs, the user guide, a Start-menu entry and the .marlo type with its icon"

write_preset "$E2E_HOME/Installed.marlo" 4
MARLO_WINDOWS_EDITOR="$installed/bin/marlo-editor.exe"
export MARLO_WINDOWS_EDITOR

start_editor "$E2E_HOME/Installed.marlo"
wait_for_window "^Orvane Marlo Editor - Installed$" 90 >/dev/null || exit 1
kill "$EDITOR_PID"
wait "$EDITOR_PID" 2>/dev/null
wineserver -w
echo "ok: the installed editor started from a file"

wine32 "$installed/Uninstall.exe" /S || fail "the uninstaller ended with status $?"
wineserver -w
# The uninstaller runs from a copy of itself, which ends after the one started here.
wait_until 60 bash -c "[[ ! -e \"$installed\" ]]" || fail "left behind: $(find "$installed" | head -n 5)"
[[ -z "$(start_menu_entries)" ]] || fail "the Start-menu entry is left: $(start_menu_entries)"
registry_has 'HKCR\.marlo' && fail "the .marlo type is left in the registry"
registry_has 'HKCR\OrvaneMarlo.Preset' && fail "the preset type is left in the registry"
echo "PASS: installed, started and uninstalled under Wine, nothing left"
