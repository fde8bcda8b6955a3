#!/usr/bin/env bash
# Makes the Debian package from a finished build (the release build by
# default): BUILD/package/zephyra_<version>_<arch>.deb and its debug symbols,
# BUILD/package/zephyra-dbgsym_<version>_<arch>.ddeb. Prints the package's path.
# (The folder BUILD/package/_CPack_Packages is CPack's staging area.)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/release}")
out=$build/package
rm -rf "$out"
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/zephyra_*.deb)

# CPack gives any package with a library under /usr/lib a postinst and a
# postrm that run ldconfig. The program's libraries are in a private folder
# that ldconfig never reads, so the package needs neither script: take them
# out (and stop if they ever hold anything else).
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -R "$deb" "$tree/root"
for script in postinst postrm; do
    [ -f "$tree/root/DEBIAN/$script" ] || continue
    if grep -v -E '^(#!/bin/sh|set -e|if \[ "\$1" = "(configure|remove)" \]; then|[[:space:]]*ldconfig|fi|)$' \
            "$tree/root/DEBIAN/$script"; then
        echo "packaging: DEBIAN/$script does more than run ldconfig" >&2
        exit 1
    fi
    rm "$tree/root/DEBIAN/$script"
done
dpkg-deb --root-owner-group -Zxz -b "$tree/root" "$deb" >/dev/null

# CPack's -dbgsym package lists its files in md5sums under the paths of its
# staging folder, has no copyright file and keeps the executable bit on the
# debug files. Give it the right sums, plain data files and, as Debian's own
# -dbgsym packages have, its documentation folder as a link to the package's.
ddeb=$(ls "$out"/zephyra-dbgsym_*.ddeb)
dpkg-deb -R "$ddeb" "$tree/dbgsym"
find "$tree/dbgsym/usr/lib/debug" -type f -exec chmod 0644 {} +
mkdir -p "$tree/dbgsym/usr/share/doc"
ln -s zephyra "$tree/dbgsym/usr/share/doc/zephyra-dbgsym"
(cd "$tree/dbgsym" && find usr -type f | LC_ALL=C sort | xargs md5sum > DEBIAN/md5sums)
dpkg-deb --root-owner-group -Zgzip -b "$tree/dbgsym" "$ddeb" >/dev/null
echo "$deb"
