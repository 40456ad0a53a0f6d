#!/usr/bin/env bash
# The calling-program handshake's start-up on X11 (a private Xvfb) and on Wayland (a headless
# sway): from the command's start to the window being shown, and to the result string of an
# invocation string left on the clipboard, with the keys sent as soon as the window is shown
# (best and worst of five runs each).
set -euo pipefail
morvane=$(realpath "${1:-build/app/morvane}")
here=$(dirname "$0")/../tests/e2e
ms() { echo $((($(date +%s%N) - $1) / 1000000)); }
report() { sort -n | tr '\n' ' ' | awk '{ printf "best %s, worst %s (ms)\n", $1, $NF }'; }

x11() {
    . "$here/xvfb.sh"
    start_xvfb
    for _ in 1 2 3 4 5; do
        printf 'FC=123;CF=26;QRVF=F' | xclip -i -selection clipboard >/dev/null 2>&1
        start=$(date +%s%N)
        "$morvane" --print-result >/tmp/handshake_out.$$ 2>/dev/null &
        app=$!
        win=$(wait_for_window '^Morvane' "$app")
        echo "shown $(ms "$start")" >&3
        xdotool windowfocus --sync "$win" type 12345
        xdotool key Return Return
        wait "$app"
        echo "result $(ms "$start")" >&3
    done
}

wayland() {
    . "$here/sway.sh"
    start_sway
    for _ in 1 2 3 4 5; do
        printf 'FC=123;CF=26;QRVF=F' | wl-copy
        until [ "$(wl-paste -n 2>/dev/null)" = 'FC=123;CF=26;QRVF=F' ]; do sleep 0.01; done
        start=$(date +%s%N)
        "$morvane" --print-result >/tmp/handshake_out.$$ 2>/dev/null &
        app=$!
        until swaymsg -t get_tree | grep -q '"app_id": "morvane"'; do sleep 0.005; done
        echo "shown $(ms "$start")" >&3
        wtype -s 200 12345 -k Return -k Return
        wait "$app"
        echo "result $(ms "$start") (200 ms of it wtype's pause)" >&3
    done
}

for platform in x11 wayland; do
    out=$( ("$platform") 3>&1 >/dev/null)
    echo "$platform: window shown: $(grep '^shown' <<<"$out" | cut -d' ' -f2 | report)"
    echo "$platform: result string: $(grep '^result' <<<"$out" | cut -d' ' -f2 | report)"
done
rm -f /tmp/handshake_out.$$
