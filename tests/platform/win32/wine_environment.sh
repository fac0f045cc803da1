# Shared by the Win32 test scripts: vane_wine_environment <folder for a private prefix> sets
# VANE_WINE, WINEPREFIX and DISPLAY (starting Xvfb when no display is set; stopped on exit).
# Exits 77 when wine64 or Xvfb is missing. A new prefix draws Direct3D through GDI (on
# llvmpipe's OpenGL the DirectDraw window is slow and its GL surface covers the window's child
# controls) and leaves windows unmanaged.
# shellcheck source=tools/xvfb.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../../tools/xvfb.sh"

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
        vane_start_xvfb 1024x768x24 /dev/null || exit 1
        trap 'kill "$VANE_XVFB" 2>/dev/null || true; wineserver -k 2>/dev/null || true' EXIT
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

# vane_require_x_tools: exits 77 (skipped) when xdotool or ImageMagick's import is missing.
vane_require_x_tools() {
    local tool
    for tool in xdotool import; do
        if ! command -v "$tool" >/dev/null; then
            echo "SKIPPED: $tool is not installed (Debian packages xdotool, imagemagick)"
            exit 77
        fi
    done
}

# vane_start_program <log> <caption pattern> <program> [arguments...]: starts a Windows
# program under wine, sets VANE_PROGRAM_PID and window (its X window, found by caption); the
# program is killed when the script exits.
VANE_PROGRAM_PID=""
vane_start_program() {
    local log=$1 caption=$2
    shift 2
    "$VANE_WINE" "$@" >"$log" 2>&1 &
    VANE_PROGRAM_PID=$!
    trap 'vane_stop_program; [ -z "${VANE_XVFB:-}" ] || kill "$VANE_XVFB" 2>/dev/null || true' EXIT
    window=$(timeout 60 xdotool search --sync --name "$caption" | head -1)
    [ -n "$window" ] || { echo "the window '$caption' did not appear"; cat "$log"; exit 1; }
}

vane_stop_program() {
    if [ -n "$VANE_PROGRAM_PID" ] && kill -0 "$VANE_PROGRAM_PID" 2>/dev/null; then
        kill -9 "$VANE_PROGRAM_PID"
    fi
}

# vane_expect_exit_zero <what ended it>: waits up to 20 s for the program to end and fails
# unless it ended with exit code 0.
vane_expect_exit_zero() {
    for _ in $(seq 200); do
        kill -0 "$VANE_PROGRAM_PID" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$VANE_PROGRAM_PID" 2>/dev/null; then echo "$1 did not end the program"; exit 1; fi
    set +e
    wait "$VANE_PROGRAM_PID"
    local status=$?
    set -e
    VANE_PROGRAM_PID=""
    [ "$status" -eq 0 ] || { echo "$1: the program exited with $status"; exit 1; }
}

# vane_click_close_box: clicks the caption's last button, at its right end, of window.
vane_click_close_box() {
    local geometry width
    geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
    width=${geometry%x*}
    xdotool mousemove --window "$window" $((width - 12)) 12 click 1
}
