#!/usr/bin/env bash
# Each Windows program of a build imports only DLLs that come with Windows itself: the C and C++
# runtime, the threads library and the image libraries are linked into the program.
#   bash tests/windows/imports-only-windows.sh [BUILD_DIR]      (default build-windows)
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="$(realpath "${1:-$here/../../build-windows}")"
# What every Windows since 7 ships in its system folder and the framework may call.
windows_own="advapi32 comctl32 comdlg32 crypt32 d2d1 dwrite dxgi gdi32 imm32 kernel32 msvcrt ole32 oleaut32
    opengl32 rpcrt4 setupapi shcore shell32 shlwapi user32 uxtheme version winhttp wininet winmm ws2_32 wsock32"
status=0
shopt -s nullglob
programs=("$build"/*.exe)
[[ ${#programs[@]} -gt 0 ]] || { echo "no programs in $build" >&2; exit 1; }
for program in "${programs[@]}"; do
    mapfile -t imports < <(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p' |
        tr 'A-Z' 'a-z' | sed 's/\.dll$//' | sort -u)
    foreign=()
    for dll in "${imports[@]}"; do
        [[ " $(echo $windows_own) " == *" $dll "* ]] || foreign+=("$dll.dll")
    done
    if [[ ${#foreign[@]} -gt 0 ]]; then
        echo "$(basename "$program") imports DLLs that Windows does not ship: ${foreign[*]}"
        status=1
    else
        echo "$(basename "$program"): only Windows' own DLLs (${imports[*]})"
    fi
done
exit $status
