#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the checks
# of the Debian package, the full suite, the full suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer, the link and simulator under
# ThreadSanitizer, and a short fuzz run of the reply decoder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc)
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
export QT_QPA_PLATFORM=offscreen

cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"

# The Debian package of the release build: lintian, its contents, the
# unpacked programs running from a temporary folder (packaging/check.sh).
packaging/check.sh build/release

# The whole suite under AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer. The test preset sets the options: every report
# fails its test, leaks are checked at exit, stack use after return and the
# order of static initialisation are checked too. No leak is suppressed: Qt
# on the offscreen platform reports none.
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs" --no-tests=error

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

# The whole suite last, so its summary closes the run.
ctest --preset release -j "$jobs" --no-tests=error
