# Shared by the scripts that run the Windows build under Wine: the prefix beside the build, made
# once, and the 64-bit loader. Sourced, not run.
# Needs a display with a window manager already up (the caller's Xvfb and openbox): making a
# prefix and the programs' windows both open windows.

# No network here: a fresh prefix would offer to download Mono and Gecko, which nothing needs.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG="${WINEDEBUG:--all}"
MARLO_WINE="${MARLO_WINE:-/usr/lib/wine/wine64}"
export WINELOADER="$MARLO_WINE"

# wine_prefix BUILD_DIR: uses BUILD_DIR/wine-prefix, making it first when it is not there yet.
wine_prefix()
{
    export WINEPREFIX="$1/wine-prefix"
    # With wine32 installed the prefix also holds Windows' 32-bit side, which the installer needs;
    # made by the 32-bit loader, as Wine cannot add that side to a prefix made without it.
    local wow64=""
    [[ -x /usr/lib/wine/wine ]] && wow64="$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll"
    [[ -f "$WINEPREFIX/system.reg" && (-z "$wow64" || -f "$wow64") ]] && return 0
    [[ -n "${DISPLAY:-}" ]] || { echo "wine_prefix: DISPLAY is not set" >&2; return 1; }
    local start=$SECONDS loader="$MARLO_WINE"
    [[ -n "$wow64" ]] && loader=/usr/lib/wine/wine
    rm -rf "$WINEPREFIX"
    WINELOADER="$loader" "$loader" wineboot -i >"$1/wine-prefix.log" 2>&1 || {
        cat "$1/wine-prefix.log" >&2
        return 1
    }
    wineserver -w
    echo "made the Wine prefix $WINEPREFIX in $((SECONDS - start)) s" >&2
}
