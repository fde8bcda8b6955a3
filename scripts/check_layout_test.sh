#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/check_layout.py on small trees of its own: a tidy tree passes, and
# each broken rule (a name in another style, an include circle, a long file
# without its reason, a file ARCHITECTURE.md names that is gone) fails and is
# named.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
check() { python3 "$here/check_layout.py" --root "$tree"; }

mkdir -p "$tree/lib/src" "$tree/app"
printf '#pragma once\nint a();\n' >"$tree/lib/src/a.h"
printf '#include "a.h"\nint a() { return 1; }\n' >"$tree/lib/src/a.cpp"
printf '#include <a.h>\n#include <vector>\nint main() { return a(); }\n' >"$tree/app/main.cpp"
printf 'project(x)\n' >"$tree/CMakeLists.txt"
printf '# Map\n`lib/src/a.cpp` and `app/main.cpp` in `lib/`.\n' >"$tree/ARCHITECTURE.md"
out=$(check 2>&1) || fail "a tidy tree failed: $out"

expect_fault() {  # what to look for in the output, then the case's name
    if out=$(check 2>&1); then fail "$2 passed: $out"; fi
    grep -q "$1" <<<"$out" || fail "$2 not named: $out"
}

# A name in CamelCase.
printf 'int b;\n' >"$tree/lib/src/BadName.cpp"
expect_fault 'lib/src/BadName.cpp: "BadName.cpp" is not snake_case' "a CamelCase name"
rm "$tree/lib/src/BadName.cpp"

# Two headers that include each other.
printf '#pragma once\n#include "d.h"\n' >"$tree/lib/src/c.h"
printf '#pragma once\n#include "c.h"\n' >"$tree/lib/src/d.h"
expect_fault 'include circle between files: lib/src/c.h -> lib/src/d.h' "a circle of headers"
rm "$tree/lib/src/c.h" "$tree/lib/src/d.h"

# A long file, then the same file with its reason.
{ echo '// long.cpp - many lines'; for i in $(seq 1 620); do echo "int v$i;"; done; } >"$tree/lib/src/long.cpp"
expect_fault 'lib/src/long.cpp: 621 lines and no "Kept whole:" reason' "a long file"
sed -i '1a // Kept whole: one table, read top to bottom.' "$tree/lib/src/long.cpp"
out=$(check 2>&1) || fail "a long file with its reason failed: $out"

# ARCHITECTURE.md naming a file and a folder that are gone.
rm "$tree/app/main.cpp"
expect_fault 'ARCHITECTURE.md names `app/main.cpp`, which is not in the tree' "a missing file"
printf '# Map\n`lib/src/a.cpp` in `gone/`.\n' >"$tree/ARCHITECTURE.md"
expect_fault 'names the folder `gone/`' "a missing folder"
echo "check_layout: every check held"
