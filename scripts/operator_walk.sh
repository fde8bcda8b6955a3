#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The long run of the operator's random walk over the console and the
# simulator (the test command runs its fixed seeds only).
#
#   scripts/operator_walk.sh [SEEDS] [STEPS]
#
# SEEDS is a range or a list ("1-200", "5,17,23"; default 1-100), STEPS the
# steps of each seed (default 200). It builds the release test program,
# runs every seed and prints the seeds, steps and time taken. A seed that
# fails is printed with the step and action that broke the rule; add it to
# kFixedSeeds in console/operations/tests/operator_walk_test.cpp.
set -eu
cd "$(dirname "$0")/.."
seeds=${1:-1-100}
steps=${2:-200}
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
cmake --preset release >/dev/null
cmake --build --preset release --target console_operator_walk_test >/dev/null
start=$(date +%s)
status=0
ZEPHYRA_WALK_SEEDS=$seeds ZEPHYRA_WALK_STEPS=$steps \
    build/release/console/operations/tests/console_operator_walk_test || status=$?
end=$(date +%s)
echo "seeds $seeds, $steps steps each: $((end - start)) s, exit $status"
exit $status
