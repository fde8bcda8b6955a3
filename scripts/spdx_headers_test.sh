#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/spdx_headers.sh on a small tree of its own: a script without a
# known extension ("#!" on its first line) is a source file too, --check
# names every file without the licence line and fails, and the fix puts the
# line after the "#!" line and keeps the file executable.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$tree/scripts" "$tree/.ci" "$tree/debian" "$tree/src"
cp "$here/spdx_headers.sh" "$tree/scripts/"
printf '#!/usr/bin/env bash\necho run\n' >"$tree/.ci/run"
printf '#!/usr/bin/make -f\n%%:\n\tdh $@\n' >"$tree/debian/rules"
chmod +x "$tree/.ci/run" "$tree/debian/rules"
printf 'plain notes, not a program\n' >"$tree/src/notes"
printf '// SPDX-License-Identifier: GPL-3.0-or-later\nint x;\n' >"$tree/src/a.cpp"

if out=$("$tree/scripts/spdx_headers.sh" --check 2>&1); then
    fail "--check passed a tree with unlicensed scripts: $out"
fi
grep -q 'no licence line: .ci/run' <<<"$out" || fail "--check did not name .ci/run: $out"
grep -q 'no licence line: debian/rules' <<<"$out" || fail "--check did not name debian/rules: $out"
! grep -q 'src/notes\|src/a.cpp' <<<"$out" || fail "--check named a file it should pass: $out"

"$tree/scripts/spdx_headers.sh" >/dev/null
for f in .ci/run debian/rules; do
    [ "$(sed -n 1p "$tree/$f" | cut -c1-2)" = '#!' ] || fail "$f lost its #! line"
    [ "$(sed -n 2p "$tree/$f")" = '# SPDX-License-Identifier: GPL-3.0-or-later' ] || fail "$f: no licence line after #!"
    [ -x "$tree/$f" ] || fail "$f is no longer executable"
done
[ "$(cat "$tree/src/notes")" = 'plain notes, not a program' ] || fail "a plain file was changed"
"$tree/scripts/spdx_headers.sh" --check >/dev/null || fail "--check fails after the fix"
echo "spdx-headers: every check held"
