# Sourced by the end-to-end scripts: what a script starts in the background runs in a process
# group of its own and is ended, with whatever it started in turn, when the script ends, whether
# it passed, failed, ran out of time or was stopped.

STARTED_GROUPS=()

start_bg() {  # command...; sets BG_PID, also the id of its process group
    # A background job of a script is no group leader, so setsid starts no new process. Its input
    # is the caller's, open or closed, not the /dev/null that bash would give a plain job.
    if [ -e /dev/fd/0 ]; then setsid "$@" <&0 & else setsid "$@" <&- & fi
    BG_PID=$!
    STARTED_GROUPS+=("$BG_PID")
}

end_started() {
    local group
    for group in "${STARTED_GROUPS[@]}"; do
        kill -KILL -- "-$group" "$group" 2>/dev/null || true
    done
    wait "${STARTED_GROUPS[@]}" 2>/dev/null || true  # reaped without a word
}

on_null() {  # pid, descriptors: each is open on /dev/null within 5 s, once the program has started
    local fd all
    for _ in $(seq 500); do
        all=yes
        for fd in "${@:2}"; do [ "$(readlink "/proc/$1/fd/$fd")" = /dev/null ] || all=; done
        [ -n "$all" ] && return 0
        sleep 0.01
    done
    return 1
}

# Ends the script with a failure after the given seconds, before the test runner's own time-out,
# which kills without letting the script clean up.
end_after() {
    start_bg sh -c 'sleep "$0" && echo "FAIL: out of time after $0 s" >&2 && kill -TERM "$1"' \
        "$1" "$$"
}

trap end_started EXIT
trap 'exit 1' HUP INT TERM
