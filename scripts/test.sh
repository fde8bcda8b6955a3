#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds everything and runs every test: the
# Debian packages built as Debian builds them and checked, the full suite
# under AddressSanitizer and UndefinedBehaviorSanitizer, the link and
# simulator under ThreadSanitizer, and a short fuzz run of the reply decoder.
#
# The suite runs once, in the sanitizer build, where every case is checked
# for memory and undefined-behaviour faults besides its own assertions; the
# package build makes the programs the package check runs. `ctest --preset
# release` runs the same suite on an optimised build when wanted.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc)
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
export QT_QPA_PLATFORM=offscreen

# A compiler cache, when there is one, keyed on the paths inside this tree,
# so another checkout of the same sources finds what this one compiled.
if command -v ccache >/dev/null && [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ]; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
fi

# The Debian packages: dpkg-buildpackage -us -uc on a clean copy of the tree
# with the distribution's hardening flags (the compiler cache serves it too),
# then lintian, hardening, contents and the unpacked programs running from a
# temporary folder (packaging/check.sh).
packaging/check.sh build/deb

# Link and simulator under ThreadSanitizer (no Qt in this build).
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
    ctest --preset tsan -j "$jobs" --no-tests=error

# A short fuzz run of the decoder.
if [ -f link/fuzz/CMakeLists.txt ]; then
    cmake --preset fuzz >/dev/null
    cmake --build --preset fuzz -j "$jobs"
    mkdir -p build/fuzz/corpus
    build/fuzz/link/fuzz/corvan_decoder_fuzz -max_total_time=30 -rss_limit_mb=2048 \
        build/fuzz/corpus link/fuzz/corpus
fi

# The whole suite under AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer, last, so its summary closes the run. The test
# preset sets the options: every report fails its test, leaks are checked at
# exit, stack use after return and the order of static initialisation are
# checked too. No leak is suppressed: Qt on the offscreen platform reports
# none (the desktop accessibility run alone goes without the leak check, see
# console/accessibility/tests). Most cases spend their time waiting on the
# radio's line and the console's timers, so two run on each core. The build
# compiles the benchmarks too (measurements, never run here), so one that no
# longer compiles fails the run.
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$((jobs * 2))" --no-tests=error
