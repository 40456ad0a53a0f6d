#!/usr/bin/env bash
# Stages the build tree's install in a scratch folder (DESTDIR, as the package build does) and
# checks the layout the packages rely on: the window with its keeper in one folder, Default.hwg
# in the configuration folder with a link to it from the program's, the link on the PATH, the
# desktop integration and man pages, and the simulators only in their own component. The folders
# given are the absolute ones of the install.
set -euo pipefail
cmake=$1 build=$2 stage=$3
bindir=$4 programdir=$5 simdir=$6 datadir=$7 mandir=$8 configdir=$9 shipped_hwg=${10}

fail() { echo "FAIL: $*" >&2; exit 1; }
install_into() {  # destination, then extra cmake --install arguments
    local dest=$1
    shift
    rm -rf "$dest"
    DESTDIR=$dest "$cmake" --install "$build" "$@" >/dev/null
}
file_list() { (cd "$1" && find . ! -type d | sort); }

install_into "$stage"

for f in "$programdir/morvane" "$programdir/morvane-clipboard" "$programdir/morvane-reader-host" "$bindir/morvane-cli" \
    "$simdir/morvane-lock-sim"; do
    [ -f "$stage$f" ] && [ -x "$stage$f" ] || fail "$f is not an installed program"
done
for f in "$datadir/applications/morvane.desktop" "$datadir/metainfo/org.morvane.Morvane.metainfo.xml" \
    "$datadir/icons/hicolor/64x64/apps/morvane.png" "$mandir/man1/morvane.1.gz" \
    "$mandir/man1/morvane-cli.1.gz" "$simdir/libpcprox_sim.so"; do
    [ -f "$stage$f" ] || fail "$f not installed"
done

# The window finds Default.hwg only beside its own binary; the administrator edits the one in the
# configuration folder.
cmp -s "$shipped_hwg" "$stage$configdir/Default.hwg" ||
    fail "$configdir/Default.hwg differs from the shipped one"
# An absolute link: it leads to the configuration folder wherever the tree is staged.
[ "$(readlink "$stage$programdir/Default.hwg")" = "$configdir/Default.hwg" ] ||
    fail "$programdir/Default.hwg is not a link to $configdir/Default.hwg"
# The site's facility codes the same way; the shipped file lists none.
[ -f "$stage$configdir/facilities" ] || fail "$configdir/facilities not installed"
[ "$(readlink "$stage$programdir/facilities")" = "$configdir/facilities" ] ||
    fail "$programdir/facilities is not a link to $configdir/facilities"
"$stage$bindir/morvane-cli" split --facilities "$stage$configdir/facilities" 1 2>&1 >/dev/null |
    { ! grep . ; } || fail "the shipped facilities file has lines morvane-cli ignores"

# A relative link, so that it survives the package's move from staging tree to /usr.
[ -L "$stage$bindir/morvane" ] || fail "$bindir/morvane is not a link"
case $(readlink "$stage$bindir/morvane") in /*) fail "$bindir/morvane links by an absolute path" ;; esac
[ "$(readlink -f "$stage$bindir/morvane")" = "$(readlink -f "$stage$programdir/morvane")" ] ||
    fail "$bindir/morvane does not lead to $programdir/morvane"

# Morvane binds the first libpcprox.so it finds: the emulator under that name would pass for a
# reader on every machine the package is installed on.
[ -z "$(find "$stage" -name libpcprox.so)" ] || fail "something is installed as libpcprox.so"

got=$("$stage$bindir/morvane-cli" convert --format 26 --facility 123 12345)
[ "$got" = 0000000475460163 ] || fail "installed morvane-cli converted to '$got'"

# Every installed file belongs to one of the two packages, and the simulators only to theirs.
all=$(file_list "$stage")
install_into "$stage.program" --component morvane
install_into "$stage.simulators" --component simulators
split=$(sort <(file_list "$stage.program") <(file_list "$stage.simulators"))
[ "$all" = "$split" ] || fail "files outside the morvane and simulators components:
$(comm -3 <(echo "$all") <(echo "$split"))"
! grep -q -e pcprox_sim -e morvane-lock-sim <(file_list "$stage.program") ||
    fail "a simulator is in the morvane component"
rm -rf "$stage.program" "$stage.simulators"

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$stage$datadir/applications/morvane.desktop" ||
        fail "desktop file does not validate"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$stage$datadir/metainfo/org.morvane.Morvane.metainfo.xml" \
        >/dev/null || fail "AppStream metadata does not validate"
fi
if command -v groff >/dev/null; then
    for page in morvane morvane-cli; do
        warnings=$(zcat "$stage$mandir/man1/$page.1.gz" | groff -t -man -ww -z 2>&1)
        [ -z "$warnings" ] || fail "$page.1: $warnings"
    done
fi
echo "install layout: all checks passed"
