#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian packages twice from the same tree in two different
# folders (packaging/build.sh into OUT/first and OUT/second) and compares
# what came out byte for byte: the source package, the package and its
# -dbgsym package. Prints a checksum of each; on a difference it shows what
# differs (with diffoscope when installed) and fails. Both builds go without
# the compiler cache, as a distribution builds: served from the cache, the
# second build would only repeat the first one's objects and prove nothing.
# Each takes a full compile (about 12 min of processor time).
#
#     packaging/reproducible.sh [OUT]       (OUT: build/reproducible by default)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build/reproducible}")
version=$(dpkg-parsechangelog -S Version)
rm -rf "$out"
for run in first second; do
    start=$(date +%s)
    CCACHE_DISABLE=1 packaging/build.sh "$out/$run" >/dev/null
    echo "reproducible: $run build in $out/$run took $(( $(date +%s) - start )) s"
done
status=0
cd "$out/first"
for file in zephyra_"$version".dsc zephyra_"$version".tar.xz zephyra_"$version"_*.deb zephyra-dbgsym_"$version"_*.deb; do
    if cmp -s "$file" "../second/$file"; then
        echo "reproducible: identical: $(sha256sum "$file")"
    else
        status=1
        echo "reproducible: DIFFERENT: $file" >&2
        if command -v diffoscope >/dev/null; then
            diffoscope "$file" "../second/$file" >&2 || true
        elif [[ $file == *.deb ]]; then
            diff <(dpkg-deb -c "$file") <(dpkg-deb -c "../second/$file") >&2 || true
        fi
    fi
done
exit $status
