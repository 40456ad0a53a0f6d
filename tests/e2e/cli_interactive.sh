#!/usr/bin/env bash
# A calling program that feeds morvane-cli one line at a time, its input left open, gets each
# answer before it sends the next line, from either command.
set -u
cli=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

answers_at_once() {  # the line to send, the first line of the answer, the command
    local line=$1 expected=$2 got=""
    shift 2
    coproc CLI { "$cli" "$@"; }
    printf '%s\n' "$line" >&"${CLI[1]}"
    IFS= read -r -t 5 got <&"${CLI[0]}" || fail "$* kept its answer while its input was open"
    [ "$got" = "$expected" ] || fail "$* answered '$got'"
    eval "exec ${CLI[1]}>&-"
    wait "$CLI_PID"
}

answers_at_once 1 0000000400000002 convert --format 26
answers_at_once 0000000600400002 'Card Data: "0000000600400002"' split
echo "interactive: all passed"
