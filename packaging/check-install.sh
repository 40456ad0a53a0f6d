#!/usr/bin/env bash
# Installs the build tree into a scratch prefix and checks the layout the packages rely on:
# the window with its keeper in one folder, Default.hwg in the configuration folder with a link to
# it from the program's, the link on the PATH, the desktop integration and man pages, and the
# simulators only in their own component.
set -euo pipefail
cmake=$1 build=$2 prefix=$3
bindir=$4 programdir=$5 simdir=$6 datadir=$7 mandir=$8 configdir=$9 shipped_hwg=${10}

fail() { echo "FAIL: $*" >&2; exit 1; }
install_into() {  # destination, then extra cmake --install arguments
    local dest=$1
    shift
    rm -rf "$dest"
    "$cmake" --install "$build" --prefix "$dest" "$@" >/dev/null
}
file_list() { (cd "$1" && find . ! -type d | sort); }

install_into "$prefix"

for f in "$programdir/morvane" "$programdir/morvane-clipboard" "$bindir/morvane-cli" \
    "$simdir/morvane-lock-sim"; do
    [ -f "$prefix/$f" ] && [ -x "$prefix/$f" ] || fail "$f is not an installed program"
done
for f in "$datadir/applications/morvane.desktop" "$datadir/metainfo/org.morvane.Morvane.metainfo.xml" \
    "$datadir/icons/hicolor/64x64/apps/morvane.png" "$mandir/man1/morvane.1.gz" \
    "$mandir/man1/morvane-cli.1.gz" "$simdir/libpcprox_sim.so"; do
    [ -f "$prefix/$f" ] || fail "$f not installed"
done

# The window finds Default.hwg only beside its own binary; the administrator edits the one in the
# configuration folder.
cmp -s "$shipped_hwg" "$prefix/$configdir/Default.hwg" ||
    fail "$configdir/Default.hwg differs from the shipped one"
[ -L "$prefix/$programdir/Default.hwg" ] || fail "$programdir/Default.hwg is not a link"
[ "$(readlink -f "$prefix/$programdir/Default.hwg")" = "$(readlink -f "$prefix/$configdir/Default.hwg")" ] ||
    fail "$programdir/Default.hwg does not lead to $configdir/Default.hwg"

# A relative link, so that it survives the package's move from staging tree to /usr.
[ -L "$prefix/$bindir/morvane" ] || fail "$bindir/morvane is not a link"
case $(readlink "$prefix/$bindir/morvane") in /*) fail "$bindir/morvane links by an absolute path" ;; esac
[ "$(readlink -f "$prefix/$bindir/morvane")" = "$(readlink -f "$prefix/$programdir/morvane")" ] ||
    fail "$bindir/morvane does not lead to $programdir/morvane"

# Morvane binds the first libpcprox.so it finds: the emulator under that name would pass for a
# reader on every machine the package is installed on.
[ -z "$(find "$prefix" -name libpcprox.so)" ] || fail "something is installed as libpcprox.so"

got=$("$prefix/$bindir/morvane-cli" convert --format 26 --facility 123 12345)
[ "$got" = 0000000475460163 ] || fail "installed morvane-cli converted to '$got'"

# Every installed file belongs to one of the two packages, and the simulators only to theirs.
all=$(file_list "$prefix")
install_into "$prefix.program" --component morvane
install_into "$prefix.simulators" --component simulators
split=$(sort <(file_list "$prefix.program") <(file_list "$prefix.simulators"))
[ "$all" = "$split" ] || fail "files outside the morvane and simulators components:
$(comm -3 <(echo "$all") <(echo "$split"))"
! grep -q -e pcprox_sim -e morvane-lock-sim <(file_list "$prefix.program") ||
    fail "a simulator is in the morvane component"
rm -rf "$prefix.program" "$prefix.simulators"

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/$datadir/applications/morvane.desktop" ||
        fail "desktop file does not validate"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/$datadir/metainfo/org.morvane.Morvane.metainfo.xml" \
        >/dev/null || fail "AppStream metadata does not validate"
fi
if command -v groff >/dev/null; then
    for page in morvane morvane-cli; do
        warnings=$(zcat "$prefix/$mandir/man1/$page.1.gz" | groff -t -man -ww -z 2>&1)
        [ -z "$warnings" ] || fail "$page.1: $warnings"
    done
fi
echo "install layout: all checks passed"
