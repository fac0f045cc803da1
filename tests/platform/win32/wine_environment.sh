# Shared by the Win32 test scripts: vane_wine_environment <folder for a private prefix> sets
# VANE_WINE, WINEPREFIX and DISPLAY (starting Xvfb when no display is set; stopped on exit).
# Exits 77 when wine64 or Xvfb is missing. A new prefix draws Direct3D through GDI (on
# llvmpipe's OpenGL the DirectDraw window is slow and its GL surface covers the window's child
# controls) and leaves windows unmanaged.
vane_wine_environment() {
    VANE_WINE=""
    for candidate in /usr/lib/wine/wine64 "$(command -v wine64 || true)"; do
        if [ -n "$candidate" ] && [ -x "$candidate" ]; then VANE_WINE=$candidate; break; fi
    done
    if [ -z "$VANE_WINE" ]; then
        echo "SKIPPED: wine64 is not installed (Debian packages wine, wine64)"
        exit 77
    fi
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEPREFIX=${VANE_WINEPREFIX:-$1/wineprefix}
    if [ -z "${DISPLAY:-}" ]; then
        if ! command -v Xvfb >/dev/null; then
            echo "SKIPPED: no X display and Xvfb is not installed"
            exit 77
        fi
        local number=""
        for n in $(seq 91 199); do
            if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then number=$n; break; fi
        done
        [ -n "$number" ] || { echo "no free X display number"; exit 1; }
        Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        VANE_XVFB=$!
        trap 'kill "$VANE_XVFB" 2>/dev/null || true; wineserver -k 2>/dev/null || true' EXIT
        for _ in $(seq 100); do
            [ -e "/tmp/.X11-unix/X$number" ] && break
            sleep 0.1
        done
        export DISPLAY=":$number"
    fi
    if [ ! -f "$WINEPREFIX/.vane-ready" ]; then
        mkdir -p "$WINEPREFIX"
        "$VANE_WINE" wineboot -i >/dev/null 2>&1 || true
        "$VANE_WINE" reg add 'HKCU\Software\Wine\Direct3D' /v renderer /t REG_SZ /d gdi /f \
            >/dev/null 2>&1
        # Windows drawn whole by wine (frame, caption, close box) in X windows of their own:
        # there is no window manager in the X server to decorate them.
        "$VANE_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
            >/dev/null 2>&1
        wineserver -w 2>/dev/null || true
        touch "$WINEPREFIX/.vane-ready"
    fi
}

# vane_press_key <X window> <key>: presses and lets go of a key in a window. wine keeps the
# keyboard's state for the whole desktop, so a key whose release a program did not live to see
# (it ended on the press) stays down for the next program, whose press of that key then comes as
# an auto-repeat, which the layer drops. Letting the key go first puts the state right.
vane_press_key() {
    xdotool keyup --window "$1" "$2"
    xdotool key --window "$1" "$2"
}
