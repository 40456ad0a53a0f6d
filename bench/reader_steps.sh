#!/usr/bin/env bash
# The window while a reader library answers every call late (the reader emulator's delay, 1.9 s
# unless given): the real program's start to its window being mapped (bench/window_startup.sh,
# five runs), and a tab click during "Reinitialize USB" (morvane-reader-steps-bench, off screen).
set -euo pipefail
build=$(realpath "${1:-build}")
delay=${2:-1900}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
printf 'reader 3\ncard 26 F66073\ndelay %s\n' "$delay" > "$tmp/scenario"
export MORVANE_PCPROX_LIBRARY=$build/readers/sim/libpcprox_sim.so
export MORVANE_PCPROX_SIM_SCENARIO=$tmp/scenario
echo "every reader call answers $delay ms late"
"$(dirname "$0")/window_startup.sh" "$build/app/morvane"
QT_QPA_PLATFORM=offscreen "$build/bench/morvane-reader-steps-bench"
