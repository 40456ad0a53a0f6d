#!/usr/bin/env bash
# Start-up time of the window, from the command's start to the window being mapped on a private
# Xvfb display (best and worst of five runs), and the resident memory of the shown window.
set -euo pipefail
morvane=${1:-build/app/morvane}
. "$(dirname "$0")/../tests/e2e/xvfb.sh"
start_xvfb

tmp=$(mktemp -d)
trap 'end_started; rm -rf "$tmp"' EXIT
times=()
rss=0
for run in 1 2 3 4 5; do
    # xev reports the top-level window's MapNotify the moment the X server maps it.
    stdbuf -oL xev -root -event substructure > "$tmp/events$run" 2>&1 &
    watcher=$!
    sleep 0.2
    start=$(date +%s%N)
    "$morvane" 2>/dev/null &
    app=$!
    until grep -q MapNotify "$tmp/events$run"; do sleep 0.002; done
    end=$(date +%s%N)
    times+=($(((end - start) / 1000000)))
    sleep 0.5
    rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$app/status")
    kill "$app" "$watcher"
    wait "$app" "$watcher" 2>/dev/null || true
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
echo "window shown after (ms, five runs): ${times[*]}; best $(head -n1 <<<"$sorted"), worst $(tail -n1 <<<"$sorted")"
echo "resident memory once shown: $((rss / 1024)) MiB ($rss KiB)"
