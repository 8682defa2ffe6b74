#!/usr/bin/env bash
# Runs a libFuzzer target for a bounded time: FUZZER SEED_DIR WORK_DIR SECONDS. The committed seeds
# stay as they are; new inputs go to WORK_DIR. Exit status non-zero when the target crashed.
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3 seconds=$4
mkdir -p "$work"
exec "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
     -artifact_prefix="$work/" "$work" "$seeds"
