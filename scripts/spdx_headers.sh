#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The licence line at the top of every source file:
#     // SPDX-License-Identifier: GPL-3.0-or-later      (C++)
#     # SPDX-License-Identifier: GPL-3.0-or-later       (CMake, shell, Python)
# as the first line, or the line after a "#!" line.
#
#     scripts/spdx_headers.sh           add it to every source file that lacks it
#     scripts/spdx_headers.sh --check   list the files that lack it; fail if any does
#
# Source files are those git knows (or, outside a checkout, those under the
# tree but the build folders) named *.cpp, *.h, *.hpp, *.cc, CMakeLists.txt,
# *.cmake, *.sh, *.py, and every other file that begins with "#!". A file whose first or second line is the licence
# line is left as it is, so running this again changes nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
check=no
if [ "${1:-}" = --check ]; then
    check=yes
elif [ $# -gt 0 ]; then
    echo "usage: scripts/spdx_headers.sh [--check]" >&2
    exit 2
fi
licence='SPDX-License-Identifier: GPL-3.0-or-later'

sources() {
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files -z --cached --others --exclude-standard
    else
        find . \( -path ./.git -o -path './build*' \) -prune -o -type f -print0 | sed -z 's|^\./||'
    fi
}

missing=0
while IFS= read -r -d '' file; do
    if [ ! -f "$file" ] || [ -L "$file" ]; then continue; fi
    case "$file" in
        *.cpp | *.h | *.hpp | *.cc) comment='//' ;;
        CMakeLists.txt | */CMakeLists.txt | *.cmake | *.sh | *.py) comment='#' ;;
        *) # any other script ("#!" on its first line: CI's run, debian/rules)
           if head -c 2 "$file" | grep -q '^#!'; then comment='#'; else continue; fi ;;
    esac
    if head -n 2 "$file" | grep -qE "^(//|#) $licence\$"; then
        continue
    fi
    if [ $check = yes ]; then
        echo "no licence line: $file"
        missing=$((missing + 1))
        continue
    fi
    # Written next to the file and moved over it: never half a file.
    tmp=$(mktemp "$file.spdx.XXXXXX")
    if head -n 1 "$file" | grep -q '^#!'; then
        { head -n 1 "$file"; echo "$comment $licence"; tail -n +2 "$file"; } >"$tmp"
    else
        { echo "$comment $licence"; cat "$file"; } >"$tmp"
    fi
    chmod --reference="$file" "$tmp"
    mv "$tmp" "$file"
    echo "added: $file"
done < <(sources)

if [ $check = yes ] && [ $missing -gt 0 ]; then
    echo "spdx: $missing source files lack the line '$licence' (scripts/spdx_headers.sh adds it)" >&2
    exit 1
fi
