#!/usr/bin/env bash
# Builds the Debian packages from a copy of the source tree (the files git knows, as they are in
# the working tree), so that the build leaves nothing behind in the checkout, and checks them with
# lintian. Writes the .deb, .buildinfo and .changes files to the folder given (default dist).
#
#   packaging/build-packages.sh [--version NEXT] [output folder]
#
# --version builds the copy as release NEXT (for trying an upgrade); DEB_BUILD_OPTIONS=nocheck
# skips building and running the tests.
set -euo pipefail
next=
if [ "${1:-}" = --version ]; then
    next=$2
    shift 2
fi
out=$(mkdir -p "${1:-dist}" && cd "${1:-dist}" && pwd)
cd "$(dirname "$0")/.."
version=${next:-$(dpkg-parsechangelog -S Version)}

work=$(mktemp -d "$out/.build.XXXXXX")
trap 'rm -rf "$work"' EXIT
git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
    tar --null -T - -cf - | tar -xf - -C "$work"
mkdir "$work/morvane-$version"
find "$work" -mindepth 1 -maxdepth 1 ! -name "morvane-$version" -exec mv -t "$work/morvane-$version" {} +
if [ -n "$next" ]; then
    (
        cd "$work/morvane-$version"
        sed -i -E "s/^(project\(morvane VERSION )[0-9.]+/\1$next/" CMakeLists.txt
        { printf 'morvane (%s) unstable; urgency=medium\n\n  * Release %s.\n\n' "$next" "$next"
          printf ' -- %s  %s\n\n' "$(dpkg-parsechangelog -S Maintainer)" "$(date -R)"
          cat debian/changelog; } >debian/changelog.new
        mv debian/changelog.new debian/changelog
    )
fi

(cd "$work/morvane-$version" && dpkg-buildpackage -b -us -uc -j2) >"$work/build.log" 2>&1 ||
    { tail -n 40 "$work/build.log"; echo "FAIL: dpkg-buildpackage, see above" >&2; exit 1; }
grep -E '^(dpkg-deb: building|[0-9]+% tests passed)' "$work/build.log" || true
changes=morvane_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).changes
for f in $(sed -n '/^Files:/,/^[^ ]/s/^ [^ ]* [^ ]* [^ ]* [^ ]* //p' "$work/$changes") "$changes"; do
    mv -f "$work/$f" "$out/"
done

lintian --fail-on error,warning -I "$out/$changes"
echo "packages in $out:"
ls "$out"/*_"$version"_*.deb
