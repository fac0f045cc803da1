# Sourced by the scripts that open windows in a virtual X server.
#
#   vane_start_xvfb <width>x<height>x<depth> <log file>
#
# starts Xvfb on a display number nobody uses, sets VANE_XVFB to its process and exports
# DISPLAY once the server's socket is there; vane_stop_xvfb ends it. Fails when no number
# between 90 and 199 is free.
VANE_XVFB=""
vane_start_xvfb() {
    local number="" n
    for n in $(seq 90 199); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            number=$n
            break
        fi
    done
    [ -n "$number" ] || { echo "no free X display number"; return 1; }
    Xvfb ":$number" -screen 0 "$1" -nolisten tcp -noreset >"$2" 2>&1 &
    VANE_XVFB=$!
    for _ in $(seq 100); do
        [ -e "/tmp/.X11-unix/X$number" ] && break
        sleep 0.1
    done
    export DISPLAY=":$number"
}

vane_stop_xvfb() {
    [ -n "$VANE_XVFB" ] || return 0
    kill "$VANE_XVFB" 2>/dev/null || true
    wait "$VANE_XVFB" 2>/dev/null || true
    VANE_XVFB=""
}
