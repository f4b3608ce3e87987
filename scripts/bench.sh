#!/usr/bin/env bash
# Runs the benchmarks, natively and optimized.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$ROOT_DIR"
build_preset bench
build/bench/tests/CorvalendBench --benchmark_repetitions="${BENCH_REPETITIONS:-3}" \
    --benchmark_report_aggregates_only=true

# Under Wine: hotkey latency of the running program beside a minimal Win32 program.
source "$ROOT_DIR/scripts/wine-session.sh"
build_preset win64
wine_session_start "$ROOT_DIR/build/wineprefix" --own-x
trap wine_session_stop EXIT
wine build/win64/HotkeyLatencyBench.exe >"$ROOT_DIR/build/latency.log" 2>&1 </dev/null || true
tr -d '\r' <"$ROOT_DIR/build/latency.log"
