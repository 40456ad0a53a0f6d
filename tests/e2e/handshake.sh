#!/usr/bin/env bash
# Morvane as a calling program sees it, on a private X server with no clipboard manager: leave
# an invocation string on the clipboard, start Morvane, work the window with keys as a person
# would, wait for Morvane to end, and read the result back from the clipboard.
set -euo pipefail
morvane=$1
. "$(dirname "$0")/xvfb.sh"
start_xvfb
end_after 100

LOG=$(mktemp)
OUT=$(mktemp)
trap 'end_started; rm -f "$LOG" "$OUT"' EXIT
fail() { echo "FAIL: $*" >&2; [ -s "$LOG" ] && { echo "Morvane printed:" >&2; cat "$LOG" >&2; }; exit 1; }

put_clipboard() {  # xclip stays behind to serve the text; its streams must not hold ours
    printf '%s' "$1" | xclip -i -selection clipboard >/dev/null 2>&1
}
read_clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }

wait_for_end() {  # pid; fails if it has not ended within 10 s
    for _ in $(seq 1000); do
        kill -0 "$1" 2>/dev/null || { wait "$1" || true; return 0; }
        sleep 0.01
    done
    kill "$1"
    fail "Morvane did not end"
}

start_morvane() {  # extra arguments for morvane; sets APP and WIN
    start_bg "$morvane" "$@" >"$OUT" 2>"$LOG"
    APP=$BG_PID
    WIN=$(wait_for_window '^Morvane \[v2\.4\.0\]$' "$APP" "$LOG") || fail "window not shown"
    xdotool windowfocus --sync "$WIN"
}

# "&OK" after converting: the full result string outlives Morvane.
put_clipboard 'FC=123;CF=26;QRVF=F'
start_morvane
xdotool type --delay 20 1
xdotool key Return Return
wait_for_end "$APP"
got=$(read_clipboard)
[ "$got" = 'OK;0000000475400002;FC=123;CF=26;QRVF=F' ] || fail "OK left '$got'"
[ ! -s "$OUT" ] || fail "printed a result nobody asked for: $(cat "$OUT")"

# "E&xit" through its mnemonic.
put_clipboard 'FC=7;CF=37;QRVF=T'
start_morvane
xdotool key alt+x
wait_for_end "$APP"
got=$(read_clipboard)
[ "$got" = 'Cancel' ] || fail "Exit left '$got'"

# "Copy to Clipboard" while Morvane runs, then "&OK": the bare prox data both times.
put_clipboard 'FC=1;CF=26;QRVF=F'
start_morvane
xdotool type --delay 20 1
xdotool key Return                       # "&OK" enabled and focused
xdotool key shift+Tab shift+Tab space    # back to the copy button, pressed
sleep 0.3
got=$(read_clipboard)
[ "$got" = '0000000600400002' ] || fail "Copy to Clipboard left '$got'"
kill -0 "$APP" 2>/dev/null || fail "Copy to Clipboard ended Morvane"
xdotool key Tab Tab Return
wait_for_end "$APP"
got=$(read_clipboard)
[ "$got" = '0000000600400002' ] || fail "OK after copying left '$got'"

# Invocation on the command line and the result on standard output; the caller's capture ends
# when Morvane ends, although the clipboard keeper lives on.
put_clipboard 'not an invocation'
start_bg bash -c '"$0" --invocation "FC=123;CF=26;QRVF=F" --print-result 2>"$1" | cat >"$2"' \
    "$morvane" "$LOG" "$OUT"
CAPTURE=$BG_PID
WIN=$(wait_for_window '^Morvane \[v2\.4\.0\]$' "$CAPTURE" "$LOG") || fail "window not shown"
xdotool windowfocus --sync "$WIN"
xdotool type --delay 20 12345
xdotool key Return Return
wait_for_end "$CAPTURE"
got=$(cat "$OUT")
[ "$got" = 'OK;0000000475460163;FC=123;CF=26;QRVF=F' ] || fail "--print-result gave '$got'"
got=$(read_clipboard)
[ "$got" = 'OK;0000000475460163;FC=123;CF=26;QRVF=F' ] || fail "clipboard after --invocation: '$got'"

# Started as a caller with its own streams closed and no DISPLAY, but the toolkit's -display and
# -style options: the window appears there, and what it prints goes nowhere, never into the X
# connection that would otherwise have taken descriptor 1.
start_bg env -u DISPLAY "$morvane" -display "$DISPLAY" -style fusion --print-result >&- 2>&-
APP=$BG_PID
WIN=$(wait_for_window '^Morvane \[v2\.4\.0\]$' "$APP") || fail "window not shown with -display"
on_null "$APP" 1 2 || fail "closed streams became $(ls -l /proc/$APP/fd | grep -E ' [12] ->')"
xdotool windowfocus --sync "$WIN"
xdotool key alt+x
wait_for_end "$APP"

# The clipboard keeper started alike: its X connection must not become its standard input.
"$(dirname "$morvane")/morvane-clipboard" --ready-fd 3 --lifetime 30 3>"$OUT" <&- >&- 2>&-
for _ in $(seq 500); do [ -s "$OUT" ] && break; sleep 0.01; done
keeper=$(head -n1 "$OUT")
[ -n "$keeper" ] || fail "the keeper did not take the clipboard"
STARTED_GROUPS+=("$keeper")  # in a session of its own, ended with the rest
on_null "$keeper" 0 1 2 || fail "the keeper's closed streams became $(ls -l /proc/$keeper/fd)"
echo "handshake: all passed"
