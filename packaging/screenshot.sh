#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the AppStream screenshot, packaging/screenshot.png, with the program
# itself: the console connected to its built-in simulator after the initial
# read of every setting. Run it after a release build when the console's look
# changes, and publish the picture at ZEPHYRA_HOMEPAGE/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/release}")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -m 700 "$tmp/runtime"
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/runtime \
    timeout 120 "$build/console/zephyra" --render-connected "$tmp/screenshot.png"
mv "$tmp/screenshot.png" packaging/screenshot.png
echo "packaging/screenshot.png: $(file -b packaging/screenshot.png)"
