#!/usr/bin/env bash
# Morvane as a calling program meets it on a Wayland desktop with no X11 at all: leave an
# invocation string on the clipboard with wl-copy, start Morvane, type as a person would with
# wtype, and read the result back with wl-paste once Morvane has ended.
set -euo pipefail
morvane=$1
. "$(dirname "$0")/sway.sh"
for n in 1 2 3 4 5 6 7 8 9; do export "MORVANE_COM$n=/nonexistent/morvane-e2e/com$n"; done
start_sway

LOG=$(mktemp)
OUT=$(mktemp)
trap 'kill ${APP:-} 2>/dev/null || true; stop_sway; rm -f "$LOG" "$OUT"' EXIT
fail() { echo "FAIL: $*" >&2; [ -s "$LOG" ] && { echo "Morvane printed:" >&2; cat "$LOG" >&2; }; exit 1; }

wait_for_window() {  # until sway shows Morvane's window, up to 10 s
    for _ in $(seq 500); do
        kill -0 "$APP" 2>/dev/null || fail "Morvane ended before its window appeared"
        swaymsg -t get_tree 2>/dev/null | grep -q '"app_id": "morvane"' && return 0
        sleep 0.02
    done
    fail "window not shown"
}
wait_for_end() {
    for _ in $(seq 1000); do
        kill -0 "$APP" 2>/dev/null || { wait "$APP" || true; return 0; }
        sleep 0.01
    done
    fail "Morvane did not end"
}
start_morvane() {
    "$morvane" "$@" >"$OUT" 2>"$LOG" &
    APP=$!
    wait_for_window
}
# wl-copy hands the text to a background copy of itself: wait until that one serves it.
put_clipboard() {
    printf '%s' "$1" | wl-copy
    for _ in $(seq 100); do
        [ "$(timeout 5 wl-paste -n 2>/dev/null)" = "$1" ] && return 0
        sleep 0.02
    done
    fail "wl-copy did not take the clipboard"
}
# Each wtype brings a keyboard of its own, and the compositor gives the window its focus only
# then: the pause lets that happen before the first key.
keys() { timeout 10 wtype -s 200 "$@"; }

# The invocation string read once the window has the focus; keys typed at once are not lost.
# Its output goes through a pipe, as a caller capturing it sees it: the pipe ends with Morvane,
# although wl-copy lives on to serve the result.
put_clipboard 'FC=123;CF=26;QRVF=F'
( ("$morvane" --print-result | cat >"$OUT") 2>&1 | cat >"$LOG" ) &
APP=$!
wait_for_window
keys 12345 -k Return -k Return
wait_for_end
[ "$(cat "$OUT")" = 'OK;0000000475460163;FC=123;CF=26;QRVF=F' ] || fail "OK gave '$(cat "$OUT")'"
got=$(timeout 5 wl-paste -n) || true
[ "$got" = 'OK;0000000475460163;FC=123;CF=26;QRVF=F' ] || fail "after exit the clipboard held '$got'"

# Esc presses "E&xit". The toolkit's own messages, asked for, reach standard error once the
# window has opened: the start-up's catch of them is for the start-up only.
put_clipboard 'FC=7;CF=37;QRVF=T'
QT_LOGGING_RULES='qt.qpa.backingstore.debug=true' start_morvane
keys -k Escape
wait_for_end
got=$(timeout 5 wl-paste -n) || true
[ "$got" = 'Cancel' ] || fail "Esc left '$got'"
grep -q '^qt\.qpa\.backingstore' "$LOG" || fail "the toolkit's messages went unsaid"

# The invocation string given on the command line; the clipboard is not consulted.
put_clipboard 'not an invocation'
start_morvane --invocation 'FC=1;CF=26;QRVF=F' --print-result
keys 1 -k Return -k Return
wait_for_end
[ "$(cat "$OUT")" = 'OK;0000000600400002;FC=1;CF=26;QRVF=F' ] || fail "--invocation gave '$(cat "$OUT")'"
# Where wl-copy fails, the toolkit holds the text while Morvane runs.
mkdir -p "$CLIENT_DIR/bin"
printf '#!/bin/sh\nexit 1\n' >"$CLIENT_DIR/bin/wl-copy"
chmod +x "$CLIENT_DIR/bin/wl-copy"
put_clipboard 'FC=1;CF=26;QRVF=F'
PATH="$CLIENT_DIR/bin:$PATH" start_morvane
keys 1 -k Return -M shift -k Tab -k Tab -m shift -k space
got=$(timeout 5 wl-paste -n) || true
[ "$got" = '0000000600400002' ] || fail "Copy to Clipboard without wl-copy left '$got'"
keys -k Escape
wait_for_end
echo "wayland handshake: all passed"
