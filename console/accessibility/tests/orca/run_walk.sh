#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# run_walk.sh CONSOLE RADIO - the screen-reader walk on a virtual display with
# the session and accessibility buses; skipped (77) where the reader or the
# keyboard tool is missing.
here=$(dirname "$0")
reader=$(command -v orca)
python=
if [ -n "$reader" ]; then
    python=$(sed -n '1s/^#! *//p' "$reader" | cut -d' ' -f1)
fi
if [ -z "$reader" ] || [ ! -x "$python" ] || ! command -v xdotool >/dev/null ||
        ! "$python" -c 'import pyatspi' 2>/dev/null; then
    echo "run_walk.sh: needs orca (with python3-pyatspi) and xdotool: skipped" >&2
    exit 77
fi
exec sh "$here/../with_atspi.sh" "$python" "$here/screen_reader_walk.py" \
    --reader "$reader" --console "$1" --radio "$2" --keep-going
