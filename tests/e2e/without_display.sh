#!/usr/bin/env bash
# With no display at all: the options that need no window work, the toolkit's own options among
# them, and the window itself says in one line that it has nowhere to open, ending with a plain
# failure rather than an abort. The programs that need no display start with closed standard
# streams opened on /dev/null.
set -u
morvane=$1 cli=$2
. "$(dirname "$0")/processes.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
bare() { env -u DISPLAY -u WAYLAND_DISPLAY "$morvane" "$@" 2>&1; }
unset QT_QPA_PLATFORM

for option in --help --version -v; do
    out=$(bare "$option") || fail "$option ended with $?: $out"
done
[ "$(bare --version)" = "Morvane 2.4.0" ] || fail "--version printed '$(bare --version)'"
# Every option the toolkit, its widgets and its X11 platform read, with its value where it takes one.
out=$(bare -display :1 -platform xcb -platformpluginpath /p -platformtheme t -plugin p \
    -qwindowgeometry 9x9 -geometry 9x9 -qwindowtitle t -title t -qwindowicon i -icon i \
    -session s -style=fusion -stylesheet s -name n -visual 33 -qmljsdebugger=port:1 \
    -reverse -testability -widgetcount -nograb -dograb --version) ||
    fail "the toolkit's options were refused: $out"
[ "$out" = "Morvane 2.4.0" ] || fail "--version after the toolkit's options printed '$out'"
out=$(bare)
status=$?
[ "$status" = 1 ] || fail "without a display the window ended with $status: $out"
[ "$(printf '%s\n' "$out" | wc -l)" = 1 ] || fail "more than one line: $out"

quiet=$(mktemp -u)
mkfifo "$quiet"
exec 7<>"$quiet"  # a line that stays open and never speaks
rm -f "$quiet"
start_bg "$(dirname "$morvane")/morvane-reader-host" /nonexistent 3<&7 <&- >&- 2>&-
on_null "$BG_PID" 0 || fail "the reader host's closed input: $(ls -l /proc/$BG_PID/fd)"
start_bg "$cli" split <&7 >&- 2>&-
on_null "$BG_PID" 1 2 || fail "morvane-cli's closed output: $(ls -l /proc/$BG_PID/fd)"

# The line names each platform tried, with the toolkit's reason.
expect="no window can be opened: xcb (could not connect to display); neither DISPLAY nor WAYLAND_DISPLAY is set"
[ "$out" = "morvane: $expect" ] || fail "said '$out'"
out=$(QT_QPA_PLATFORM='nosuch;xcb' bare 2>&1)
case $out in "morvane: no window can be opened: nosuch (not installed), xcb (could not"*) ;;
    *) fail "with two platforms said '$out'" ;; esac
echo "without display: all passed"
