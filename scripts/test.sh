#!/usr/bin/env bash
# Runs every test: portable unit tests natively under the sanitizers, a short fuzzing run, then the
# Windows tests and the end-to-end tests under Wine in Xvfb with a test-private prefix, then the
# release files of `make dist` (zip, installer) under Wine in a prefix of their own. Ends with one
# line "N passed, N failed".
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
source "$ROOT_DIR/scripts/wine-session.sh"
cd "$ROOT_DIR"

LOGS="$ROOT_DIR/build/test-logs"
mkdir -p "$LOGS"
passed=0
failed=0

# Runs one GoogleTest program and adds its counts; a crash without a summary counts as a failure.
run_gtest() {
    local name=$1 log="$LOGS/$1.log" rc p f
    shift
    echo "== $name"
    # A program gets ten minutes before it counts as hung (the Windows tests take about five).
    # To a file, not a pipe: Wine's background processes inherit the output and would hold a pipe open.
    timeout --kill-after=10 "${TEST_TIMEOUT:-600}" "$@" </dev/null >"$log.raw" 2>&1
    rc=$?
    tr -d '\r' <"$log.raw" >"$log"
    rm -f "$log.raw"
    p=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$log" | tail -n1)
    f=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?, listed below.*/\1/p' "$log" | tail -n1)
    p=${p:-0}
    f=${f:-0}
    if [[ $rc -ne 0 && $f -eq 0 ]]; then
        f=1  # crashed, timed out or reported an error outside the tests
    fi
    passed=$((passed + p))
    failed=$((failed + f))
    echo "   $p passed, $f failed"
    if [[ $f -ne 0 ]]; then
        grep -E '^\[  FAILED  \]|Failure|ERROR|error' "$log" | head -40
        echo "   (full log: $log; exit code $rc)"
        tail -n 20 "$log"
    fi
}

# Runs a step that is one test of its own.
run_step() {
    local name=$1 log="$LOGS/$1.log"
    shift
    echo "== $name"
    if "$@" </dev/null >"$log" 2>&1; then
        passed=$((passed + 1))
        echo "   passed"
    else
        failed=$((failed + 1))
        echo "   FAILED (log: $log)"
        tail -n 40 "$log"
    fi
}

fuzz_reader() {
    local work="$ROOT_DIR/build/fuzz/corpus"
    mkdir -p "$work"
    timeout --kill-after=10 300 build/fuzz/tests/FuzzHotkeyFile "$work" tests/fuzz/corpus -max_total_time="${FUZZ_SECONDS:-20}" \
        -max_len=65536 -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
}

fuzz_sendkeys() {
    local work="$ROOT_DIR/build/fuzz/sendkeys-corpus"
    mkdir -p "$work"
    timeout --kill-after=10 300 build/fuzz/tests/FuzzSendKeys "$work" tests/fuzz/sendkeys-corpus -max_total_time="${FUZZ_SECONDS:-15}" \
        -max_len=65536 -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
}

if build_preset native; then
    run_gtest unit build/native/tests/CorvalendUnitTests
else
    failed=$((failed + 1))
fi

if build_preset fuzz; then
    run_step fuzz-hotkey-file fuzz_reader
    run_step fuzz-sendkeys fuzz_sendkeys
else
    failed=$((failed + 1))
fi

if build_preset win64; then
    if wine_session_start "$ROOT_DIR/build/wineprefix" --own-x; then
        trap wine_session_stop EXIT
        run_gtest windows wine build/win64/CorvalendWinTests.exe
        run_gtest end-to-end wine build/win64/CorvalendE2ETests.exe
        wine_session_stop
        trap - EXIT
    else
        echo "Wine session could not start"
        failed=$((failed + 1))
    fi
else
    failed=$((failed + 1))
fi

# What a user downloads: the zip's contents, and the installer's install, upgrade and removal under
# Wine in a prefix of its own.
if bash scripts/dist.sh >"$LOGS/dist.log" 2>&1; then
    run_step install bash scripts/test-install.sh
else
    echo "make dist failed (log: $LOGS/dist.log)"
    failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
