#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds and starts the console on the built-in
# simulator. Without a display it says so and renders the synchronised console
# to zephyra-console.png instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target zephyra zephyra-sim
exe=build/release/console/zephyra
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: rendering the console, connected to the built-in simulator, to zephyra-console.png"
    # Rendering takes no single-instance lock, so a private runtime folder is harmless here.
    [ -n "${XDG_RUNTIME_DIR:-}" ] || export XDG_RUNTIME_DIR="$(mktemp -d)"
    QT_QPA_PLATFORM=offscreen "$exe" --simulator --render-connected zephyra-console.png
    echo "Wrote $(pwd)/zephyra-console.png (run under a desktop, or xvfb-run, to use it live)"
else
    exec "$exe" --simulator "$@"
fi
