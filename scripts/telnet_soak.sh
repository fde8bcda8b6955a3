#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The telnet stream check with many seeds: data mixed with telnet commands,
# broken into random pieces, must come out of the link exactly.
#   scripts/telnet_soak.sh [SEEDS]   (default 500; the suite runs 20)
set -euo pipefail
cd "$(dirname "$0")/.."
seeds=${1:-500}
cmake --build --preset release --target corvan_net_tests >/dev/null
start=$(date +%s)
ZEPHYRA_NET_SEEDS=$seeds build/release/link/corvan_net_tests --gtest_filter='TelnetStream.*'
echo "$seeds seeds in $(( $(date +%s) - start )) s"
