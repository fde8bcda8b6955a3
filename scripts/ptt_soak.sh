#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The long run of the transmitter-ownership soak: seeded random interleavings
# of line-protocol and XML-RPC clients, the console's SEND, VFO and frequency
# changes, clients leaving, silences, cable pulls and Control > OFF/ON,
# against the console on the simulator. Every seed that fails is printed;
# add it to the fixed seeds in console/sharing/tests/sharing_ptt_soak_test.cpp.
#
#   scripts/ptt_soak.sh [SEEDS] [STEPS] [PRESET]
#   scripts/ptt_soak.sh 1-100 120          # 100 seeds of 120 steps, release build
#   scripts/ptt_soak.sh 1-20 200 asan      # under the sanitizers
set -euo pipefail
cd "$(dirname "$0")/.."
seeds=${1:-1-50}
steps=${2:-120}
preset=${3:-release}
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
export XDG_CONFIG_HOME=${XDG_CONFIG_HOME:-$(mktemp -d)}
if command -v ccache >/dev/null && [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ]; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target console_sharing_ptt_soak_test
binary=$(find "build/$preset" -name console_sharing_ptt_soak_test -type f -perm -u+x | head -1)
log=$(mktemp)
start=$(date +%s)
set +e
ZEPHYRA_PTT_SOAK_SEEDS=$seeds ZEPHYRA_PTT_SOAK_STEPS=$steps "$binary" 2>&1 | tee "$log" | grep -E '^seed |FAILED|Failure'
set -e
end=$(date +%s)
runs=$(grep -c '^seed ' "$log" || true)
failed=$(grep -E '^\[  FAILED  \] Seeds/PttSoak' "$log" | grep -o '/seed[0-9]*' | tr -d '/seed' | sort -un | tr '\n' ' ' || true)
total=$(awk '/^seed /{s+=$3} END{print s+0}' "$log")
echo "seeds $seeds: $runs runs, $total steps in $((end - start)) s; failed seeds: ${failed:-none}"
[ -z "$failed" ]
