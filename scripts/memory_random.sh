#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The long run of the randomized memory-write test: seeded random sequences
# of the operator's memory writes (front panel, "Memory Channels" table, CSV
# import) on the console and its real windows, interleaved with channels
# stored from the radio's own side, on identities 19 and 18, the radio's
# whole memory compared with the model after every step.
#
#   scripts/memory_random.sh [SEEDS [STEPS]]     SEEDS "1-40" or "3,17,20"
#
# The short run of the same test is in the suite (console_memory_random_test).
# A seed that fails goes into kFixedSeeds in
# console/operations/tests/memory_random_test.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
seeds=${1:-1-20}
steps=${2:-25}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
export QT_QPA_PLATFORM=offscreen
if command -v ccache >/dev/null && [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ]; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
fi
cmake --preset release >/dev/null
cmake --build --preset release --target console_memory_random_test
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
start=$(date +%s)
XDG_CONFIG_HOME=$config ZEPHYRA_MEMORY_SEEDS=$seeds ZEPHYRA_MEMORY_STEPS=$steps \
    build/release/console/operations/tests/console_memory_random_test
echo "seeds $seeds, $steps steps each, both identities: $(( $(date +%s) - start )) s"
