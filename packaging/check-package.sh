#!/usr/bin/env bash
# Installs the Debian packages on a fresh Debian 12 root and uses them there as a new user and an
# administrator would: morvane-cli converts a card, the window hands its result to a calling
# program through the clipboard, an edited /etc/morvane/Default.hwg and /etc/morvane/facilities
# survive a reinstall and an upgrade, and purge removes them. Needs root, the network and several minutes; not part of
# `make test`.
#
#   packaging/check-package.sh [folder holding the .deb files, default dist]
#
# MIRROR picks the Debian mirror; KEEP_ROOT=1 leaves the root in place for a look around;
# UPGRADE_DEBS names a folder holding the packages of the next release (<version>.1) already
# built, instead of building them here.
set -euo pipefail

source_tree=$(cd "$(dirname "$0")/.." && pwd)
debs=$(cd "${1:-dist}" && pwd)
mirror=${MIRROR:-http://deb.debian.org/debian}
version=$(cd "$source_tree" && dpkg-parsechangelog -S Version)
arch=$(dpkg --print-architecture)
package=morvane_${version}_${arch}.deb
simulators=morvane-simulators_${version}_${arch}.deb

step() { printf '\n== %s\n' "$*"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || fail "run as root (debootstrap and chroot)"
[ -f "$debs/$package" ] || fail "$debs/$package not found; run make package first"
[ -f "$debs/$simulators" ] || fail "$debs/$simulators not found; run make package first"
if ! command -v debootstrap >/dev/null; then
    step "installing debootstrap"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap \
        >/dev/null
fi

root=$(mktemp -d /tmp/morvane-deb12.XXXXXX)
chmod 755 "$root"  # the root folder of the new system
log=$root.log
upgrade=$root.upgrade

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
    rm -rf "$log" "$upgrade"
    exit "$status"
}
trap cleanup EXIT

in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive "$@"; }
# Runs a command in the root with its output in the log; shows the log's tail when it fails.
logged() { in_root "$@" >"$log" 2>&1 || { tail -n 30 "$log"; fail "$*"; }; }
installed_version() { in_root dpkg-query -W -f='${Version} ${db:Status-Status}' morvane; }

if [ -n "${UPGRADE_DEBS:-}" ]; then
    mkdir "$upgrade"
    cp "$UPGRADE_DEBS/morvane_$version.1_$arch.deb" "$upgrade/"
else
    step "a second release, $version.1, built from a copy of the source tree (no tests)"
    start=$SECONDS
    DEB_BUILD_OPTIONS=nocheck "$source_tree/packaging/build-packages.sh" --version "$version.1" \
        "$upgrade" >"$log" 2>&1 || { tail -n 30 "$log"; fail "building $version.1"; }
    echo "built $(cd "$upgrade" && ls ./*.deb | tr '\n' ' ')in $((SECONDS - start)) s"
fi

step "debootstrap --variant=minbase bookworm ($mirror)"
start=$SECONDS
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$log" 2>&1 ||
    { tail -n 30 "$log"; fail "debootstrap failed"; }
echo "Debian $(cat "$root/etc/debian_version") in $root after $((SECONDS - start)) s"
# Qt finds the program's own folder, and so Default.hwg and the clipboard keeper, through
# /proc/self/exe.
mount -t proc proc "$root/proc"
mkdir -p "$root/tmp/morvane"
cp "$debs/$package" "$debs/$simulators" "$upgrade"/*.deb "$root/tmp/morvane/"
logged apt-get update -q

step "what \`make run\` would install here: scripts/bootstrap run, simulated"
in_root apt-get install -s --no-install-recommends \
    $("$source_tree/scripts/bootstrap" --list run) >"$log" 2>&1 || { tail "$log"; fail "simulation"; }
echo "$(grep -c '^Inst ' "$log") packages, among them: $(grep '^Inst ' "$log" |
    grep -oE '^Inst (g\+\+-12|cmake|qt6-base-dev|clang-[0-9]+|llvm-[0-9]+|libclang-rt[^ ]*) ' |
    cut -d' ' -f2 | tr '\n' ' ')"
! grep -qE '^Inst (clang|llvm|libclang-rt|libfuzzer)' "$log" ||
    fail "make run would install a fuzzing compiler: $(grep -E '^Inst (clang|llvm|libclang)' "$log")"
echo "no clang, llvm or libclang-rt"

step "apt-get install ./$package"
logged sh -c "cd /tmp/morvane && apt-get install -y ./$package"
grep -E '^([0-9]+ upgraded|Setting up morvane)' "$log"
echo "installed: $(installed_version)"
for program in /usr/bin/morvane-cli /usr/libexec/morvane/morvane \
    /usr/libexec/morvane/morvane-clipboard /usr/libexec/morvane/morvane-reader-host \
    /usr/lib/$(in_root dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || echo x86_64-linux-gnu)/qt6/plugins/platforms/libqxcb.so; do
    missing=$(in_root ldd "$program" | grep 'not found' || true)
    [ -z "$missing" ] || fail "$program lacks libraries: $missing"
    echo "$program: every library found"
done
ls -l "$root/usr/bin/morvane" "$root/usr/libexec/morvane/Default.hwg" | sed "s|$root||"
echo "conffiles:$(in_root dpkg-query -W -f='${Conffiles}' morvane)"
in_root test -f /usr/share/doc/morvane/copyright || fail "no /usr/share/doc/morvane/copyright"

step "morvane-cli convert --format 26 --facility 123 12345"
got=$(in_root morvane-cli convert --format 26 --facility 123 12345)
echo "$got"
[ "$got" = 0000000475460163 ] || fail "expected 0000000475460163"

step "installing the test tools: xvfb x11-utils xdotool xclip"
logged apt-get install -y --no-install-recommends xvfb xauth x11-utils xdotool xclip
grep -E '^[0-9]+ upgraded' "$log"

# A private X server on a display it picks itself, for the scripts run inside the root.
cat >"$root/tmp/morvane/xvfb.sh" <<'EOF_XVFB'
set -u
# Its output away from the caller's pipe, which would otherwise stay open while it runs.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>/tmp/morvane/display >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null' EXIT
for _ in $(seq 200); do [ -s /tmp/morvane/display ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 /tmp/morvane/display)"
rm -f /tmp/morvane/display
wait_for_window() {
    local win
    for _ in $(seq 100); do
        win=$(xdotool search --onlyvisible --name '^Morvane \[v' 2>/dev/null | head -n1)
        [ -n "$win" ] && { echo "$win"; return 0; }
        sleep 0.1
    done
    return 1
}
EOF_XVFB

step "morvane under Xvfb, started as a calling program would"
cat >"$root/tmp/morvane/window.sh" <<'EOF_WINDOW'
. /tmp/morvane/xvfb.sh
printf 'FC=123;CF=26;QRVF=F' | xclip -i -selection clipboard >/dev/null 2>&1
morvane >/tmp/morvane/window.log 2>&1 &
app=$!
win=$(wait_for_window) || { echo "no window; morvane said:"; cat /tmp/morvane/window.log; exit 1; }
echo "window $win on $DISPLAY: \"$(xdotool getwindowname "$win")\""
xdotool windowfocus --sync "$win"
xdotool type --delay 50 12345
xdotool key Return Return
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && { echo "morvane did not end after OK"; exit 1; }
echo "clipboard after OK: $(xclip -o -selection clipboard)"
echo "morvane wrote: $(cat /tmp/morvane/window.log)"
EOF_WINDOW
out=$(in_root bash /tmp/morvane/window.sh) || { echo "$out"; fail "the window check failed"; }
echo "$out"
grep -qx 'clipboard after OK: OK;0000000475460163;FC=123;CF=26;QRVF=F' <<<"$out" ||
    fail "the calling program did not get the result string"

step "apt-get install ./$simulators"
logged sh -c "cd /tmp/morvane && apt-get install -y ./$simulators"
grep -E '^Setting up morvane' "$log"
in_root /usr/lib/morvane/morvane-lock-sim --help | head -n1
missing=$(in_root ldd /usr/lib/morvane/libpcprox_sim.so | grep 'not found' || true)
[ -z "$missing" ] || fail "libpcprox_sim.so lacks libraries: $missing"

# With the emulator as the reader library, a reader is programmed from the Default.hwg beside
# the real program, and the caption says a reader was found.
cat >"$root/tmp/morvane/usb.sh" <<'EOF_USB'
. /tmp/morvane/xvfb.sh
printf 'reader 3\n' >/tmp/morvane/readers.txt
MORVANE_PCPROX_LIBRARY=/usr/lib/morvane/libpcprox_sim.so \
MORVANE_PCPROX_SIM_SCENARIO=/tmp/morvane/readers.txt MORVANE_PCPROX_SIM_LOG=/tmp/morvane/calls.log \
    morvane --invocation x >/dev/null 2>&1 &
app=$!
win=$(wait_for_window) && echo "caption: \"$(xdotool getwindowname "$win")\""
kill "$app"
if [ -f /tmp/morvane/calls.log ]; then
    grep -E '^(USBConnect|WriteCfg)' /tmp/morvane/calls.log
else
    echo "no reader library calls"
fi
EOF_USB
step "morvane with the reader emulator"
out=$(in_root bash /tmp/morvane/usb.sh)
echo "$out"
if grep -q '^no reader library calls' <<<"$out"; then
    echo "NOTE: this morvane does not bind a reader library at start-up; USB check not made"
else
    grep -q '{pcProx USB Reader Detected}' <<<"$out" || fail "caption does not report the reader"
    grep -q '^WriteCfg = 1' <<<"$out" || fail "the reader was not programmed from Default.hwg"
fi

# The administrator's edits: the reader's first setting turned off, and a facility code of the
# site's added.
hwg=$root/etc/morvane/Default.hwg
sed -i '1s/.*/"0"/' "$hwg"
cp "$hwg" "$root/tmp/morvane/edited.hwg"
echo "123 26" >>"$root/etc/morvane/facilities"
cp "$root/etc/morvane/facilities" "$root/tmp/morvane/edited.facilities"
kept() {
    local file
    for file in Default.hwg facilities; do
        cmp -s "$root/etc/morvane/$file" "$root/tmp/morvane/edited.${file##*.}" ||
            fail "the edited $file was replaced ($1)"
        [ "$(readlink "$root/usr/libexec/morvane/$file")" = "/etc/morvane/$file" ] ||
            fail "the program's $file no longer leads to /etc/morvane/$file ($1)"
    done
    echo "/etc/morvane/Default.hwg and facilities still have the administrator's edits ($1)"
}

step "apt-get install --reinstall ./$package"
logged sh -c "cd /tmp/morvane && apt-get install -y --reinstall ./$package"
grep -E '^(Preparing|Setting up morvane)' "$log"
kept "reinstall"

step "upgrade to $version.1 (morvane alone: morvane-simulators is not tied to its version)"
logged sh -c "cd /tmp/morvane && apt-get install -y ./morvane_$version.1_$arch.deb"
grep -E '^(Preparing|Unpacking|Setting up morvane)' "$log"
[ "$(installed_version)" = "$version.1 installed" ] || fail "installed: $(installed_version)"
echo "installed: $(installed_version)"
kept "upgrade"
got=$(in_root morvane-cli --version)
echo "morvane-cli --version: $got"

step "apt-get purge morvane-simulators morvane"
logged apt-get purge -y morvane-simulators morvane
left=$(cd "$root" && ls -d etc/morvane usr/libexec/morvane usr/lib/morvane usr/bin/morvane \
    usr/bin/morvane-cli usr/share/doc/morvane 2>/dev/null || true)
[ -z "$left" ] || fail "left behind after purge: $left"
echo "nothing of morvane left in /etc or /usr"

step "all checks passed"
