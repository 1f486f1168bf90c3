# Sourced by the scripts that run the Windows edition under wine: one prefix per architecture
# of the build's own, booted once, with one wine server kept running until the script ends, so
# that each program starts in a fraction of a second rather than seconds. QUORVEL_WINE_ARCH
# names the architecture: x86_64 (the default, wine64) or i686 (the 32-bit loader, in a 32-bit
# prefix).
quorvel_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
case "${QUORVEL_WINE_ARCH:-x86_64}" in
    x86_64)
        wine=/usr/lib/wine/wine64
        export WINEPREFIX="${WINEPREFIX:-$quorvel_root/build-windows/wine-prefix}"
        ;;
    i686)
        wine=/usr/lib/wine/wine
        export WINEARCH=win32
        export WINEPREFIX="${WINEPREFIX:-$quorvel_root/build-windows/wine-prefix-i686}"
        ;;
    *)
        echo "QUORVEL_WINE_ARCH is x86_64 or i686, not $QUORVEL_WINE_ARCH" >&2
        exit 2
        ;;
esac
export WINEDEBUG="${WINEDEBUG:--all}"
# No prompts to install wine's .NET and HTML engines, which nothing here uses.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

start_wine() {
    # A server of its own, started before anything else so that it is the one that stays.
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    mkdir -p "$WINEPREFIX"
    /usr/lib/wine/wineserver -p
    trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
    # wineboot's output goes to a file: the services it starts would hold a pipe open.
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        "$wine" wineboot -i </dev/null >"$WINEPREFIX/wineboot.log" 2>&1
        # wine draws its own window frames: with no window manager on a virtual display, a
        # managed window makes wine wait two seconds each time one is destroyed.
        "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
    else
        # The prefix's services start now, holding no pipe that a test's reader waits on.
        "$wine" wineboot </dev/null >"$WINEPREFIX/wineboot.log" 2>&1
    fi
}

# A Linux path as the Windows programs under wine see it.
windows_path() {
    printf 'Z:%s' "${1//\//\\}"
}
