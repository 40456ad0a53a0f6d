#!/usr/bin/env bash
# The real program with the reader emulator as its reader library: the reader is found at
# start-up, the caption says so, and the Default.hwg placed beside the program is written to it.
set -euo pipefail
morvane=$1
emulator=$2
. "$(dirname "$0")/xvfb.sh"
start_xvfb

fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d)
app=
trap 'kill $app "$XVFB_PID" 2>/dev/null || true; rm -rf "$work"' EXIT
printf 'reader 3\ncard 26 F66073\n' > "$work/scenario"

MORVANE_PCPROX_LIBRARY=$emulator MORVANE_PCPROX_SIM_SCENARIO=$work/scenario \
MORVANE_PCPROX_SIM_LOG=$work/calls.log "$morvane" >/dev/null 2>&1 &
app=$!
id=$(wait_for_window '^Morvane \[v2\.4\.0\] \{pcProx USB Reader Detected\}$') ||
    fail "no caption with the reader marker"

# The file beside the program was read: its first line went out with IDDispParms, and the
# configuration was written once.
hwg=$(dirname "$morvane")/Default.hwg
[ -f "$hwg" ] || fail "no Default.hwg beside the program"
first=$(head -n1 "$hwg" | tr -d '\r"')
grep -q "^SetIDDispParms $first " "$work/calls.log" ||
    fail "Default.hwg not written: $(cat "$work/calls.log")"
[ "$(grep -c '^WriteCfg' "$work/calls.log")" = 1 ] || fail "WriteCfg not called once"

timeout 10 xdotool windowfocus --sync "$id" || fail "the window took no focus"
xdotool key Escape
for _ in $(seq 500); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.01
done
kill -0 "$app" 2>/dev/null && fail "Esc did not end the program"
wait "$app"
app=
