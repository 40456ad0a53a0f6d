#!/usr/bin/env bash
# With no display at all: the options that need no window work, and the window itself says in
# one line that it has nowhere to open, ending with a plain failure rather than an abort.
set -u
morvane=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
bare() { env -u DISPLAY -u WAYLAND_DISPLAY "$morvane" "$@" 2>&1; }
unset QT_QPA_PLATFORM

for option in --help --version -v; do
    out=$(bare "$option") || fail "$option ended with $?: $out"
done
[ "$(bare --version)" = "Morvane 2.4.0" ] || fail "--version printed '$(bare --version)'"
out=$(bare)
status=$?
[ "$status" = 1 ] || fail "without a display the window ended with $status: $out"
[ "$(printf '%s\n' "$out" | wc -l)" = 1 ] || fail "more than one line: $out"
# The line names each platform tried, with the toolkit's reason.
expect="no window can be opened: xcb (could not connect to display); neither DISPLAY nor WAYLAND_DISPLAY is set"
[ "$out" = "morvane: $expect" ] || fail "said '$out'"
out=$(QT_QPA_PLATFORM='nosuch;xcb' bare 2>&1)
case $out in "morvane: no window can be opened: nosuch (not installed), xcb (could not"*) ;;
    *) fail "with two platforms said '$out'" ;; esac
echo "without display: all passed"
