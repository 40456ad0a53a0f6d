#!/usr/bin/env bash
# Installs the Debian package on a fresh Debian 12 root and uses it there as a new user would:
# morvane-cli converts a card, and the morvane window opens under Xvfb and hands its result to a
# calling program through the clipboard. Needs root, the network and a few minutes; not part of
# `make test`.
#
#   packaging/check-package.sh [folder holding the .deb files, default build]
#
# MIRROR picks the Debian mirror; KEEP_ROOT=1 leaves the root in place for a look around.
set -euo pipefail

debs=$(cd "${1:-build}" && pwd)
mirror=${MIRROR:-http://deb.debian.org/debian}
version=2.4.0
package=$debs/morvane_${version}_amd64.deb
simulators=$debs/morvane-simulators_${version}_amd64.deb

step() { printf '\n== %s\n' "$*"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || fail "run as root (debootstrap and chroot)"
[ -f "$package" ] || fail "$package not found; run make package first"
[ -f "$simulators" ] || fail "$simulators not found; run make package first"
if ! command -v debootstrap >/dev/null; then
    step "installing debootstrap"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
fi

root=$(mktemp -d /tmp/morvane-deb12.XXXXXX)
chmod 755 "$root"  # the root folder of the new system
log=$root.log

# Ends what ran inside the root (Xvfb, a clipboard keeper still holding a result) by process
# id, then unmounts before anything is removed.
cleanup() {
    local status=$? pid
    set +e
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
        [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ] && kill "$pid" 2>/dev/null
    done
    sleep 0.5
    mountpoint -q "$root/proc" && umount "$root/proc"
    if [ "${KEEP_ROOT:-0}" = 1 ]; then
        echo "root kept in $root"
    elif mountpoint -q "$root/proc"; then
        echo "$root/proc still mounted; $root left in place" >&2
    else
        rm -rf --one-file-system "$root"
    fi
    rm -f "$log"
    exit "$status"
}
trap cleanup EXIT

in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive "$@"; }
# Runs a command in the root with its output in the log; shows the log's tail when it fails.
logged() { in_root "$@" >"$log" 2>&1 || { tail -n 30 "$log"; fail "$*"; }; }

step "debootstrap --variant=minbase bookworm ($mirror)"
start=$SECONDS
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$log" 2>&1 ||
    { tail -n 30 "$log"; fail "debootstrap failed"; }
echo "Debian $(cat "$root/etc/debian_version") in $root after $((SECONDS - start)) s"
# Qt finds the program's own folder, and so Default.hwg and the clipboard keeper, through
# /proc/self/exe.
mount -t proc proc "$root/proc"
mkdir -p "$root/tmp/morvane"
cp "$package" "$simulators" "$root/tmp/morvane/"

step "apt-get install ./morvane_${version}_amd64.deb"
logged apt-get update -q
logged sh -c "cd /tmp/morvane && apt-get install -y ./morvane_${version}_amd64.deb"
grep -E '^([0-9]+ upgraded|Setting up morvane)' "$log"
in_root dpkg-query -W -f='${Package} ${Version} ${db:Status-Status}\n' morvane

step "what the package brought, before any test tool is installed"
for program in /usr/bin/morvane-cli /usr/libexec/morvane/morvane \
    /usr/libexec/morvane/morvane-clipboard \
    /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqxcb.so; do
    missing=$(in_root ldd "$program" | grep 'not found' || true)
    [ -z "$missing" ] || fail "$program lacks libraries: $missing"
    echo "$program: every library found"
done
ls -l "$root/usr/bin/morvane" | sed "s|$root||"
in_root ls /usr/libexec/morvane

step "morvane-cli convert --format 26 --facility 123 12345"
got=$(in_root morvane-cli convert --format 26 --facility 123 12345)
echo "$got"
[ "$got" = 0000000475460163 ] || fail "expected 0000000475460163"
in_root man -w morvane morvane-cli 2>/dev/null || ls "$root/usr/share/man/man1" | grep morvane

step "installing the test tools: xvfb x11-utils xdotool xclip"
logged apt-get install -y --no-install-recommends xvfb xauth x11-utils xdotool xclip
grep -E '^[0-9]+ upgraded' "$log"

step "morvane under Xvfb, started as a calling program would"
cat >"$root/tmp/morvane/window.sh" <<'EOF'
set -u
Xvfb :7 -screen 0 1280x800x24 -nolisten tcp >/tmp/morvane/xvfb.log 2>&1 &
export DISPLAY=:7
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
printf 'FC=123;CF=26;QRVF=F' | xclip -i -selection clipboard >/dev/null 2>&1
morvane >/tmp/morvane/window.log 2>&1 &
app=$!
win=
for _ in $(seq 100); do
    win=$(xdotool search --onlyvisible --name '^Morvane \[v2\.4\.0\]' 2>/dev/null | head -n1)
    [ -n "$win" ] && break
    sleep 0.1
done
[ -n "$win" ] || { echo "no window; morvane said:"; cat /tmp/morvane/window.log; exit 1; }
echo "window $win: \"$(xdotool getwindowname "$win")\""
xwininfo -id "$win" | grep -E 'Map State|Width|Height'
xdotool windowfocus --sync "$win"
xdotool type --delay 50 12345
xdotool key Return Return
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && { echo "morvane did not end after OK"; exit 1; }
echo "clipboard after OK: $(xclip -o -selection clipboard)"
EOF
out=$(in_root bash /tmp/morvane/window.sh) || { echo "$out"; fail "the window check failed"; }
echo "$out"
grep -qx 'clipboard after OK: OK;0000000475460163;FC=123;CF=26;QRVF=F' <<<"$out" ||
    fail "the calling program did not get the result string"

step "apt-get install ./morvane-simulators_${version}_amd64.deb"
logged sh -c "cd /tmp/morvane && apt-get install -y ./morvane-simulators_${version}_amd64.deb"
grep -E '^Setting up morvane' "$log"
in_root /usr/lib/morvane/morvane-lock-sim --help | head -n1
missing=$(in_root ldd /usr/lib/morvane/libpcprox_sim.so | grep 'not found' || true)
[ -z "$missing" ] || fail "libpcprox_sim.so lacks libraries: $missing"

# With the emulator as the reader library, a reader is programmed from the Default.hwg beside
# the real program, and the caption says a reader was found.
cat >"$root/tmp/morvane/usb.sh" <<'EOF'
set -u
Xvfb :8 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
export DISPLAY=:8
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
printf 'reader 3\n' >/tmp/morvane/readers.txt
MORVANE_PCPROX_LIBRARY=/usr/lib/morvane/libpcprox_sim.so \
MORVANE_PCPROX_SIM_SCENARIO=/tmp/morvane/readers.txt MORVANE_PCPROX_SIM_LOG=/tmp/morvane/calls.log \
    morvane --invocation x >/dev/null 2>&1 &
app=$!
win=
for _ in $(seq 100); do
    win=$(xdotool search --onlyvisible --name '^Morvane \[v2\.4\.0\]' 2>/dev/null | head -n1)
    [ -n "$win" ] && break
    sleep 0.1
done
[ -n "$win" ] && echo "caption: \"$(xdotool getwindowname "$win")\""
kill "$app"
if [ -f /tmp/morvane/calls.log ]; then
    grep -E '^(USBConnect|WriteCfg)' /tmp/morvane/calls.log
else
    echo "no reader library calls"
fi
EOF
step "morvane with the reader emulator"
out=$(in_root bash /tmp/morvane/usb.sh)
echo "$out"
if grep -q '^no reader library calls' <<<"$out"; then
    echo "NOTE: this morvane does not bind a reader library at start-up; USB check not made"
else
    grep -q '{pcProx USB Reader Detected}' <<<"$out" || fail "caption does not report the reader"
    grep -q '^WriteCfg = 1' <<<"$out" || fail "the reader was not programmed from Default.hwg"
fi

step "removing both packages"
logged apt-get remove -y morvane-simulators morvane
left=$(cd "$root" && ls -d usr/libexec/morvane usr/lib/morvane usr/bin/morvane usr/bin/morvane-cli 2>/dev/null || true)
[ -z "$left" ] || fail "left behind after removal: $left"
echo "nothing of morvane left in /usr"

step "all checks passed"
