# Sourced by the Wayland end-to-end tests: a headless sway compositor of the test's own, with no
# X server beside it, ended when the calling script exits. Sway will not run as root, so under
# root it runs as the system user that `scripts/bootstrap test` made for it; the program under
# test, wtype and wl-copy still run as the caller, against sway's socket.

SWAY_USER=morvane-sway

# Says why the compositor cannot run here and ends the test: skipped (77) on a developer's
# machine, failed under CI, where every test must run.
sway_unavailable() {
    echo "Wayland test not run: $*" >&2
    [ "${CI:-}" = true ] && exit 1
    exit 77
}

start_sway() {
    local tool
    for tool in sway wtype wl-copy wl-paste; do
        command -v "$tool" >/dev/null || sway_unavailable "$tool is not installed (scripts/bootstrap test)"
    done
    SWAY_DIR=$(mktemp -d)
    local as=()
    if [ "$(id -u)" = 0 ]; then
        id "$SWAY_USER" >/dev/null 2>&1 || sway_unavailable "no user $SWAY_USER (scripts/bootstrap test)"
        chown "$SWAY_USER" "$SWAY_DIR"
        as=(setpriv --reuid="$SWAY_USER" --regid="$SWAY_USER" --init-groups)
    fi
    chmod 700 "$SWAY_DIR"
    printf 'xwayland disable\noutput HEADLESS-1 resolution 1280x800\n' > "$SWAY_DIR/config"
    chmod 644 "$SWAY_DIR/config"
    (cd / && exec "${as[@]}" env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$SWAY_DIR" \
        WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway -c "$SWAY_DIR/config" >"$SWAY_DIR/log" 2>&1) &
    SWAY_PID=$!
    trap stop_sway EXIT
    trap 'exit 1' HUP INT TERM
    local socket=
    for _ in $(seq 200); do
        socket=$(find "$SWAY_DIR" -maxdepth 1 -name 'wayland-*' -type s 2>/dev/null | head -n1)
        [ -n "$socket" ] && break
        kill -0 "$SWAY_PID" 2>/dev/null || break
        sleep 0.05
    done
    [ -n "$socket" ] || sway_unavailable "sway did not start: $(tail -n 3 "$SWAY_DIR/log" 2>/dev/null)"
    # The caller's own programs: Wayland only, on this compositor, with a runtime folder of their own.
    CLIENT_DIR=$(mktemp -d)
    chmod 700 "$CLIENT_DIR"
    export WAYLAND_DISPLAY=$socket XDG_RUNTIME_DIR=$CLIENT_DIR QT_QPA_PLATFORM=wayland
    export SWAYSOCK=$(find "$SWAY_DIR" -maxdepth 1 -name 'sway-ipc.*' -type s | head -n1)
    unset DISPLAY
}

# The compositor and everything that still talks to it (a wl-copy serving the clipboard) end
# with it.
stop_sway() {
    if [ -n "${SWAY_PID:-}" ]; then
        pkill -TERM -P "$SWAY_PID" 2>/dev/null || true
        kill "$SWAY_PID" 2>/dev/null || true
        wait "$SWAY_PID" 2>/dev/null || true
    fi
    rm -rf "${SWAY_DIR:-}" "${CLIENT_DIR:-}"
}
