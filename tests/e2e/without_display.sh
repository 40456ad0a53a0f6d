#!/usr/bin/env bash
# With no display at all: the options that need no window work, and the window itself says in
# one line that it has nowhere to open, ending with a plain failure rather than an abort.
set -u
morvane=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
bare() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$morvane" "$@" 2>&1; }

for option in --help --version -v; do
    out=$(bare "$option") || fail "$option ended with $?: $out"
done
[ "$(bare --version)" = "Morvane 2.4.0" ] || fail "--version printed '$(bare --version)'"
out=$(bare)
status=$?
[ "$status" = 1 ] || fail "without a display the window ended with $status: $out"
[ "$(printf '%s\n' "$out" | wc -l)" = 1 ] || fail "more than one line: $out"
echo "without display: all passed"
