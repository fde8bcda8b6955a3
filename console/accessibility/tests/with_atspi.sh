#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# with_atspi.sh PROGRAM [ARGS...] - runs a test program as a screen reader
# finds a program on the desktop: on a virtual X display, with a session bus
# and the accessibility bus, the toolkit's bridge switched on.
# Needs xvfb (xvfb-run), dbus (dbus-run-session) and at-spi2-core.
set -e
launcher=
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    if [ -x "$candidate" ]; then launcher=$candidate; break; fi
done
if [ -z "$launcher" ] || ! command -v xvfb-run >/dev/null || ! command -v dbus-run-session >/dev/null; then
    echo "with_atspi.sh: needs xvfb, dbus and at-spi2-core" >&2
    exit 1
fi
export ATSPI_LAUNCHER="$launcher"
exec xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- sh -c '
    "$ATSPI_LAUNCHER" --launch-immediately & bus=$!
    # The bridge finds the accessibility bus once it is registered.
    tries=0
    while [ $tries -lt 50 ] && ! dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
            org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q "boolean true"; do
        sleep 0.1; tries=$((tries + 1))
    done
    QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"; rc=$?
    kill $bus 2>/dev/null || true
    exit $rc' with_atspi "$@"
