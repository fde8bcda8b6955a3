#!/usr/bin/env bash
# Builds the Debian package from a finished build (the release build by
# default) and checks it as a user installing it would meet it:
# - lintian reports no error, and every warning it gives is one the README
#   explains (its tag in the README's list);
# - the package is under 8 MB, holds the three programs in /usr/bin and the
#   program's own libraries in /usr/lib/zephyra only, without development
#   links or headers, everything stripped, the debug information in the
#   -dbgsym package;
# - unpacked anywhere, `zephyra --render` and `zephyra-sim --help` run and
#   find the private libraries through their run path;
# - the manual pages describe every option the programs' --help lists;
# - the desktop file and the AppStream metadata validate.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/release}")
maxBytes=8000000
fail() { echo "packaging: $*" >&2; exit 1; }

deb=$(packaging/build.sh "$build")
ddeb=$(find "$(dirname "$deb")" -maxdepth 1 -name 'zephyra-dbgsym_*.ddeb')
[ -n "$ddeb" ] || fail "no -dbgsym package beside $(basename "$deb")"
size=$(stat -c %s "$deb")
echo "packaging: $(basename "$deb"): $size bytes; $(basename "$ddeb"): $(stat -c %s "$ddeb") bytes"
[ "$size" -lt "$maxBytes" ] || fail "the package is $size bytes, more than $maxBytes"

# lintian on both packages: no error; a warning only when the README gives its reason.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
lintianOut=$(lintian --no-cfg --fail-on none --display-level '>=warning' "$deb" "$ddeb" 2>"$tmp/lintian.err") \
    || { cat "$tmp/lintian.err" >&2; fail "lintian did not run"; }
[ -z "$lintianOut" ] || echo "$lintianOut"
if grep -q '^E: ' <<<"$lintianOut"; then
    fail "lintian reports errors"
fi
while read -r tag; do
    [ -n "$tag" ] || continue
    grep -q -- "\`$tag\`" README.md || fail "lintian warns $tag and the README does not say why"
done < <(sed -n 's/^W: [^ ]*: \([^ ]*\).*/\1/p' <<<"$lintianOut" | sort -u)

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

dpkg-deb -x "$deb" "$tmp/root"
dpkg-deb -x "$ddeb" "$tmp/dbgsym"
while read -r elf; do
    [[ $(file -b "$elf") == *', stripped'* ]] || fail "${elf#$tmp/root} is not stripped"
    id=$(readelf -n "$elf" | sed -n 's/.*Build ID: \([0-9a-f]*\).*/\1/p')
    [ -f "$tmp/dbgsym/usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug" ] \
        || fail "no debug information for ${elf#$tmp/root} in the -dbgsym package"
done < <(find "$tmp/root" -type f \( -path '*/bin/*' -o -name '*.so.*' \))

# The unpacked programs run from where they are and use the unpacked libraries.
libraries=$(ldd "$tmp/root/usr/bin/zephyra")
grep -qF "libcorvan.so.0 => $tmp/root/usr/bin/../lib/zephyra/libcorvan.so.0" <<<"$libraries" \
    || fail "the unpacked console does not find its libraries through its run path"
! grep 'not found' <<<"$libraries" || fail "the unpacked console misses libraries"
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
timeout 60 "$tmp/root/usr/bin/zephyra" --render "$tmp/console.png"
[ "$(head -c 8 "$tmp/console.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] \
    || fail "the unpacked console drew no PNG"
simHelp=$(timeout 10 "$tmp/root/usr/bin/zephyra-sim" --help)
grep -q '^Usage: zephyra-sim' <<<"$simHelp" \
    || fail "the unpacked zephyra-sim --help printed no usage"

# Every option of --help is in the manual page.
for program in zephyra zephyra-sim zephyra-link; do
    page=$(zcat "$tmp/root/usr/share/man/man1/$program.1.gz" | sed 's/\\-/-/g')
    for option in $(timeout 10 "$tmp/root/usr/bin/$program" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
        grep -q -- "$option" <<<"$page" || fail "the manual page of $program lacks $option"
    done
done

desktop-file-validate "$tmp/root/usr/share/applications/zephyra.desktop"
appstreamcli validate --no-net --pedantic "$tmp"/root/usr/share/metainfo/*.metainfo.xml
echo "packaging: $(basename "$deb") checked"
