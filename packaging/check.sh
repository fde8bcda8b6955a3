#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian packages the way Debian does (packaging/build.sh:
# dpkg-buildpackage -us -uc on a clean copy of the tree) and checks what
# dpkg-buildpackage made, as a distribution and a user would meet it:
# - lintian, pedantic and informational tags included, reports nothing on
#   the source package and the binary packages (the few overrides in
#   debian/ each give their reason);
# - every program and library carries the distribution's hardening
#   (hardening-check: PIE, stack protector, fortified functions, read-only
#   relocations, immediate binding);
# - the package is under 8 MB and holds the three programs in /usr/bin, the
#   program's own libraries in /usr/lib/zephyra only, no development files,
#   everything stripped; the -dbgsym package has the debug information of
#   each by build id, with compressed debug sections; no binary names a
#   folder of the build machine or /usr/local;
# - /usr/share/doc/zephyra has the changelog, the README and the
#   machine-readable copyright (GPL-3+);
# - unpacked anywhere, the programs run from there: each states the version
#   of debian/changelog, the console draws itself and connects to the
#   built-in simulator, zephyra-sim serves a device that zephyra-link talks to;
# - the manual pages describe every option of --help, and zephyra(1) every
#   environment variable the programs read; every help page is reached
#   from the help index and every link in them leads to a page;
# - the desktop file and the AppStream metadata validate;
# - every source file carries its licence line (scripts/spdx_headers.sh --check).
#
#     packaging/check.sh [OUT]              build into OUT (build/deb) and check
#     packaging/check.sh --no-build [OUT]   check what an earlier build left in OUT
set -euo pipefail
cd "$(dirname "$0")/.."
build=yes
if [ "${1:-}" = --no-build ]; then
    build=no
    shift
fi
out=$(realpath -m "${1:-build/deb}")
maxBytes=8000000
fail() { echo "packaging: $*" >&2; exit 1; }

scripts/spdx_headers.sh --check || fail "source files without their licence line"
version=$(dpkg-parsechangelog -S Version)
projectVersion=$(sed -n 's/^project(Zephyra VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "$version" = "$projectVersion" ] \
    || fail "debian/changelog names version $version, CMakeLists.txt's project() $projectVersion"
if [ $build = yes ]; then
    packaging/build.sh "$out" >/dev/null
fi
changes=$(ls "$out"/zephyra_"$version"_*.changes)
deb=$(ls "$out"/zephyra_"$version"_*.deb)
ddeb=$(ls "$out"/zephyra-dbgsym_"$version"_*.deb)
for f in "$out/zephyra_$version.dsc" "$out/zephyra_$version.tar.xz"; do
    [ -f "$f" ] || fail "no source package: $(basename "$f") is missing"
done
size=$(stat -c %s "$deb")
echo "packaging: $(basename "$deb"): $size bytes; $(basename "$ddeb"): $(stat -c %s "$ddeb") bytes"
[ "$size" -lt "$maxBytes" ] || fail "the package is $size bytes, more than $maxBytes"

# lintian on the source and both binary packages: not a word.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
lintianOut=$(lintian --no-cfg --pedantic --display-info --display-experimental --fail-on none "$changes" 2>"$tmp/lintian.err") \
    || { cat "$tmp/lintian.err" >&2; fail "lintian did not run"; }
if [ -n "$lintianOut" ]; then
    echo "$lintianOut" >&2
    fail "lintian reports the above (fix it, or override it in debian/ with the reason)"
fi

# What is in it.
contents=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|')
for program in zephyra zephyra-sim zephyra-link; do
    grep -qx "/usr/bin/$program" <<<"$contents" || fail "/usr/bin/$program is missing"
done
! grep -E '\.(h|hpp|a|cmake|pc)$' <<<"$contents" || fail "development files in the package"
! grep -E '/lib[^/]*\.so$' <<<"$contents" || fail "development links in the package"
! grep -E '\.so(\.[0-9]+)*$' <<<"$contents" | grep -v '^/usr/lib/zephyra/' \
    || fail "a library outside /usr/lib/zephyra"
grep -q '^/usr/lib/zephyra/libcorvan\.so\.' <<<"$contents" || fail "the private libraries are missing"
for doc in changelog.gz copyright README.md.gz; do
    grep -qx "/usr/share/doc/zephyra/$doc" <<<"$contents" || fail "/usr/share/doc/zephyra/$doc is missing"
done

dpkg-deb -x "$deb" "$tmp/root"
dpkg-deb -x "$ddeb" "$tmp/dbgsym"
grep -q '^License: GPL-3+$' "$tmp/root/usr/share/doc/zephyra/copyright" \
    || fail "the copyright file does not give the licence GPL-3+"
[ "$(zcat "$tmp/root/usr/share/doc/zephyra/changelog.gz" | head -1 | cut -d' ' -f1-2)" = "zephyra ($version)" ] \
    || fail "the changelog in /usr/share/doc/zephyra is not the package's"

# Every compiler call had the distribution's hardening flags, every link
# immediate binding and read-only relocations.
compiles=$(grep -E '^\[[0-9]+/[0-9]+\] (ccache )?/usr/bin/c\+\+ .* -c ' "$out/build.log" || true)
[ -n "$compiles" ] || fail "no compiler call in $out/build.log"
for flag in -fstack-protector-strong -D_FORTIFY_SOURCE=2 -Werror=format-security; do
    ! grep -vqF -- " $flag " <<<"$compiles" || fail "a compiler call without $flag"
done
links=$(grep -E '^\[[0-9]+/[0-9]+\] : && (ccache )?/usr/bin/c\+\+ ' "$out/build.log" || true)
[ -n "$links" ] || fail "no link in $out/build.log"
! grep -vqF -- '-Wl,-z,relro -Wl,-z,now' <<<"$links" || fail "a link without -z relro -z now"

# Stripped, hardened, with the debug information by build id, compressed.
sourceTree=$out/zephyra-$version
while read -r elf; do
    name=${elf#"$tmp"/root}
    [[ $(file -b "$elf") == *', stripped'* ]] || fail "$name is not stripped"
    # Control-flow protection is not among this release's distribution flags.
    # A library whose only fortifiable calls are the memory copies of C++
    # containers (sizes known at run time only) has nothing left to protect:
    # hardening-check calls that "only unprotected functions found"; the
    # build log above shows it was compiled with fortification.
    if ! hardening-check --verbose --nocfprotection "$elf" >"$tmp/hardening" 2>&1; then
        failed=$(grep -E ': no,|: no$' "$tmp/hardening" | grep -v '(ignored)$' \
                     | grep -v 'Fortify Source functions: no, only unprotected functions found' || true)
        others=$(sed -n 's/^\tunprotected: //p' "$tmp/hardening" | grep -vxE 'memcpy|memmove|memset' || true)
        if [ -n "$failed" ] || [ -n "$others" ]; then
            cat "$tmp/hardening" >&2
            fail "$name lacks hardening"
        fi
    fi
    id=$(readelf -n "$elf" | sed -n 's/.*Build ID: \([0-9a-f]*\).*/\1/p')
    debug=$tmp/dbgsym/usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug
    [ -f "$debug" ] || fail "no debug information for $name in the -dbgsym package"
    readelf -S -W "$debug" 2>/dev/null | grep -E ' \.debug_info ' | grep -qE ' [A-Z]*C[A-Z]* ' \
        || fail "the debug sections of $name are not compressed"
    for folder in "$sourceTree" "$PWD" /usr/local; do
        ! grep -qaF "$folder" "$elf" || fail "$name names the folder $folder"
    done
done < <(find "$tmp/root" -type f \( -path '*/bin/*' -o -name '*.so.*' \))

# The unpacked programs run from where they are and use the unpacked libraries.
libraries=$(ldd "$tmp/root/usr/bin/zephyra")
grep -qF "libcorvan.so.0 => $tmp/root/usr/bin/../lib/zephyra/libcorvan.so.0" <<<"$libraries" \
    || fail "the unpacked console does not find its libraries through its run path"
! grep 'not found' <<<"$libraries" || fail "the unpacked console misses libraries"
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
for program in zephyra zephyra-sim zephyra-link; do
    [ "$(timeout 10 "$tmp/root/usr/bin/$program" --version | head -1)" = "$program $version" ] \
        || fail "$program --version does not state $version"
done
isPng() { [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ]; }
timeout 60 "$tmp/root/usr/bin/zephyra" --render "$tmp/console.png"
isPng "$tmp/console.png" || fail "the unpacked console drew no PNG"
timeout 120 "$tmp/root/usr/bin/zephyra" --render-connected "$tmp/connected.png"
isPng "$tmp/connected.png" || fail "the unpacked console did not connect to the built-in simulator"
# zephyra-sim serves a device; zephyra-link identifies the radio on it.
coproc SIM { exec timeout 60 "$tmp/root/usr/bin/zephyra-sim" --quiet; }
read -r -t 10 device <&"${SIM[0]}" || fail "the unpacked zephyra-sim printed no device"
linkOut=$(timeout 20 "$tmp/root/usr/bin/zephyra-link" --wait 300 "$device" 'FA;' 2>&1) \
    || fail "the unpacked zephyra-link could not talk to zephyra-sim: $linkOut"
kill "$SIM_PID" 2>/dev/null || true
wait "$SIM_PID" 2>/dev/null || true
grep -q '^FA 4116 ok=1: ' <<<"$linkOut" || fail "zephyra-link got no frequency from zephyra-sim: $linkOut"

# Every option of --help is in the manual page; every environment variable
# the programs read is in zephyra(1).
for program in zephyra zephyra-sim zephyra-link; do
    page=$(zcat "$tmp/root/usr/share/man/man1/$program.1.gz" | sed 's/\\-/-/g')
    for option in $(timeout 10 "$tmp/root/usr/bin/$program" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
        grep -q -- "$option" <<<"$page" || fail "the manual page of $program lacks $option"
    done
done
consolePage=$(zcat "$tmp/root/usr/share/man/man1/zephyra.1.gz" | sed 's/\\-/-/g; s/\\f[BIRP]//g')
for variable in $(grep -rhoE '(getenv|qEnvironmentVariable|qgetenv)\("ZEPHYRA_[A-Z_]+"' \
                      --include='*.cpp' --include='*.h' --exclude-dir=tests --exclude-dir=bench \
                      --exclude-dir=testsupport --exclude-dir=build . | grep -oE 'ZEPHYRA_[A-Z_]+' | sort -u); do
    grep -qw -- "$variable" <<<"$consolePage" || fail "zephyra(1) does not name $variable"
done
grep -qi 'help' <<<"$(sed -n '/^\.SH SEE ALSO/,$p' <<<"$consolePage")" \
    || fail "zephyra(1) does not point to the help pages"

# The help pages: each reached from the index, every link leads somewhere.
help=$tmp/root/usr/share/zephyra/help
[ -f "$help/index.html" ] || fail "no help index"
for page in "$help"/*.html; do
    name=$(basename "$page")
    [ "$name" = index.html ] || grep -q "href=\"$name\"" "$help/index.html" \
        || fail "the help index does not lead to $name"
    for target in $(grep -oE 'href="[^"#:]+\.html' "$page" | sed 's/^href="//'); do
        [ -f "$help/$target" ] || fail "$name links to $target, which is not there"
    done
done

desktop-file-validate "$tmp/root/usr/share/applications/zephyra.desktop"
appstreamcli validate --no-net --pedantic "$tmp"/root/usr/share/metainfo/*.metainfo.xml
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$tmp"/root/usr/share/metainfo/*.metainfo.xml \
    || fail "the AppStream metadata does not give the licence"
echo "packaging: $(basename "$changes"): source package, $(basename "$deb") and $(basename "$ddeb") checked"
