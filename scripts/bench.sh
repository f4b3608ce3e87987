#!/usr/bin/env bash
# Runs the benchmarks, natively and optimized.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$ROOT_DIR"
build_preset bench
build/bench/tests/CorvalendBench --benchmark_repetitions="${BENCH_REPETITIONS:-3}" \
    --benchmark_report_aggregates_only=true
