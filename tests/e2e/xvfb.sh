# Sourced by the end-to-end tests and the window benchmark: a private X server on a display the
# server itself picked, ended when the calling script exits, and the platform that programs need
# to appear on it, whatever the caller's environment says.
. "$(dirname "${BASH_SOURCE[0]}")/processes.sh"

# The program probes COM ports 1 to 9 as it starts; no test may reach a real serial line, so
# every port leads nowhere unless a script points one at a simulated lock.
for n in 1 2 3 4 5 6 7 8 9; do
    export "MORVANE_COM$n=/nonexistent/morvane-e2e/com$n"
done

start_xvfb() {
    local fdfile
    fdfile=$(mktemp)
    start_bg Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fdfile" 2>/dev/null
    XVFB_PID=$BG_PID
    for _ in $(seq 400); do
        [ -s "$fdfile" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.05
    done
    [ -s "$fdfile" ] || { echo "Xvfb did not start" >&2; rm -f "$fdfile"; return 1; }
    DISPLAY=":$(head -n1 "$fdfile")"
    export DISPLAY QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY
    rm -f "$fdfile"
}

# Waits (up to 30 s) until a visible window whose title matches the pattern is mapped; prints
# its id. Given the program's pid and the file its output goes to, it stops at once when the
# program has died and shows what it printed. Each look is bounded, so a stuck X client cannot
# stall a test.
wait_for_window() {
    local pattern=$1 pid=${2:-} log=${3:-} deadline=$((SECONDS + 30)) id
    while [ "$SECONDS" -lt "$deadline" ]; do
        if [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; then
            echo "the program ended before its window appeared; it printed:" >&2
            [ -n "$log" ] && cat "$log" >&2
            return 1
        fi
        id=$(timeout 5 xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.02
    done
    echo "no window matching '$pattern'; windows named Morvane:" >&2
    timeout 5 xdotool search --name Morvane getwindowname %@ >&2 2>/dev/null || true
    [ -n "$log" ] && { echo "the program printed:" >&2; cat "$log" >&2; }
    return 1
}
