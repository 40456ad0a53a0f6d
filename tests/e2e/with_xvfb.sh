#!/usr/bin/env bash
# Runs a command on a private X server of its own, ended when the command ends.
set -euo pipefail
. "$(dirname "$0")/xvfb.sh"
start_xvfb
"$@"
