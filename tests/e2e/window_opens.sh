#!/usr/bin/env bash
# The window opens on a real X display with its caption, takes keys in the hotstamp box, and
# Esc ends the program cleanly.
set -euo pipefail
morvane=$1
. "$(dirname "$0")/xvfb.sh"
start_xvfb

"$morvane" 2>/dev/null &
app=$!
id=$(wait_for_window '^Morvane \[v2\.4\.0\]$') || { echo "window not shown" >&2; exit 1; }

# The first activation puts the cursor in the hotstamp box.
xdotool windowfocus --sync "$id"
xdotool type --delay 20 " 12345"
xdotool key ctrl+a ctrl+c
typed=$(xclip -o -selection clipboard)
[ "$typed" = "12345" ] || { echo "hotstamp box holds '$typed'" >&2; exit 1; }
xdotool key Escape
for _ in $(seq 500); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.01
done
if kill -0 "$app" 2>/dev/null; then
    echo "Esc did not end the program" >&2
    kill "$app"
    exit 1
fi
wait "$app"
