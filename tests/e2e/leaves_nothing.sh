#!/usr/bin/env bash
# Runs an end-to-end script as a caller whose own environment points elsewhere (the off-screen
# platform, a Wayland display) and fails when any program the script started outlives it: the
# scripts set up what their X server needs, and end what they start whether they pass or fail.
#
#   leaves_nothing.sh [--must-fail] SCRIPT ARGUMENTS...
set -u
must_fail=no
[ "$1" = --must-fail ] && { must_fail=yes; shift; }
mark=MORVANE_E2E_RUN=$$.$RANDOM  # carried by everything the script starts, and theirs
env "$mark" QT_QPA_PLATFORM=offscreen WAYLAND_DISPLAY=wayland-elsewhere "$@"
status=$?

left() { grep -lzx -- "$mark" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3 | paste -sd,; }
for _ in $(seq 100); do [ -z "$(left)" ] && break; sleep 0.05; done
pids=$(left)
if [ -n "$pids" ]; then
    echo "FAIL: $(basename "$1") left these running:" >&2
    ps -o pid,args -p "$pids" >&2
    kill -KILL ${pids//,/ } 2>/dev/null
    exit 1
fi
if [ "$must_fail" = yes ]; then
    [ "$status" != 0 ] || { echo "FAIL: $(basename "$1") passed with a broken program" >&2; exit 1; }
    echo "left nothing behind after a failure"
    exit 0
fi
exit "$status"
