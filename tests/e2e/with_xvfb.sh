#!/usr/bin/env bash
# Runs a command on a private X server of its own, ended when the command ends.
set -euo pipefail
. "$(dirname "$0")/xvfb.sh"
start_xvfb
end_after 100
start_bg "$@"
wait "$BG_PID"
