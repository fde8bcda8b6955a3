#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages Zephyra needs to build, test and run, when missing.
set -euo pipefail
need=(cmake ninja-build g++ clang libclang-rt-14-dev qt6-base-dev libgtest-dev libgmock-dev
      libbenchmark-dev xvfb xauth imagemagick fonts-liberation2
      libhamlib-utils  # the rig-control clients the sharing tests run against the console
      ccache           # compiles once for every checkout of the same sources
      libssl-dev       # TLS for network ports
      ser2net openssl) # the network line server the remote tests run against, and their certificates
# The Debian package (dpkg-buildpackage with debhelper) and its checks
# (hardening-check comes with devscripts).
need+=(dpkg-dev debhelper devscripts file binutils lintian appstream desktop-file-utils)
# fldigi, whose bandwidth box the sharing test drives on a virtual display.
need+=(fldigi)
# The session and accessibility buses the screen-reader test runs on.
need+=(dbus-daemon dbus-bin at-spi2-core)
# The screen reader the screen-reader walk listens with (speech off: it brings
# its speech packages along but the walk never starts them), its bindings to
# the accessibility bus, and the keyboard the walk types with.
need+=(orca python3-pyatspi xdotool)
missing=()
for p in "${need[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
