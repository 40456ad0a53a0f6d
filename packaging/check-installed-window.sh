#!/usr/bin/env bash
# The installed morvane, started through its link on the PATH on a private X server: "E&xit" must
# leave "Cancel" on the clipboard after the window has ended. That takes the clipboard keeper,
# which the window starts from its real folder, not from the link's.
set -euo pipefail
morvane=$1
. "$(dirname "$0")/../tests/e2e/xvfb.sh"
start_xvfb
end_after 50

fail() { echo "FAIL: $*" >&2; exit 1; }

printf 'FC=123;CF=26;QRVF=F' | xclip -i -selection clipboard >/dev/null 2>&1
start_bg "$morvane" >/dev/null 2>&1
app=$BG_PID
win=$(wait_for_window '^Morvane \[v2\.4\.0\]$' "$app") || fail "window not shown"
xdotool windowfocus --sync "$win"
xdotool key alt+x
for _ in $(seq 500); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.01
done
kill -0 "$app" 2>/dev/null && fail "Morvane did not end on Exit"
got=$(xclip -o -selection clipboard 2>/dev/null || true)
[ "$got" = Cancel ] || fail "Exit left '$got' on the clipboard"
echo "installed window: all checks passed"
