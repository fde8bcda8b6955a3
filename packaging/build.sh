#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian packages the way Debian does, from a clean copy of the
# tree: OUT/zephyra-VERSION/ holds the copy, and dpkg-buildpackage -us -uc
# leaves beside it the source package (zephyra_VERSION.dsc and .tar.xz),
# zephyra_VERSION_ARCH.deb, its debug symbols zephyra-dbgsym_VERSION_ARCH.deb,
# the .buildinfo and the .changes. Prints the path of the .changes file.
#
#     packaging/build.sh [OUT]        (OUT: build/deb by default)
#
# The copy holds the files git knows (committed or not, without what
# .gitignore leaves out), or outside a git checkout everything but the build
# folders. With ccache installed the compiler output is cached by the paths
# inside the copy, so a build in another folder compiles almost nothing.
# The cache hands the compiler paths relative to the build folder, which
# end up in the debug information ("../link/..." where a build without it
# has "./link/..."): packages built through the cache are the same as each
# other, but not byte for byte the same as a build without it (as a
# distribution builds). CCACHE_DISABLE=1 builds without it.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
out=$(realpath -m "${1:-build/deb}")
version=$(dpkg-parsechangelog -S Version)
tree=$out/zephyra-$version

rm -rf "$out"
mkdir -p "$tree"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard \
        | while IFS= read -r -d '' file; do
              if [ -e "$file" ] || [ -L "$file" ]; then printf '%s\0' "$file"; fi
          done \
        | tar --null -T - -cf - | tar -C "$tree" -xf -
else
    tar -C "$top" --exclude=./build --exclude='./build-*' --exclude=./.git -cf - . | tar -C "$tree" -xf -
fi

if command -v ccache >/dev/null; then
    if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ]; then
        export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR=$tree CCACHE_NOHASHDIR=true
    fi
    # debhelper gives the build a home of its own inside the tree: the cache
    # is named here, or it would be made anew (and lost) in every build, also
    # when the caller chose the compiler cache itself.
    CCACHE_DIR=${CCACHE_DIR:-$(ccache -k cache_dir)}
    export CCACHE_DIR
fi
jobs=${ZEPHYRA_JOBS:-$(nproc)}
(cd "$tree" && dpkg-buildpackage -us -uc -j"$jobs" >"$out/build.log" 2>&1) || {
    tail -n 40 "$out/build.log" >&2
    echo "packaging: dpkg-buildpackage failed (the whole log: $out/build.log)" >&2
    exit 1
}
ls "$out"/zephyra_"$version"_*.changes
