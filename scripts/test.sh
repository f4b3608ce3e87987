#!/usr/bin/env bash
# Runs every test: portable unit tests natively under the sanitizers, a short fuzzing run beside the
# Windows build, then, at once, the Windows tests in two shards, the end-to-end tests and the
# release files of `make dist` (zip, installer), each under Wine in a prefix and an Xvfb of its own. Ends with one line "N passed, N failed"; each program's output is in build/test-logs.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
source "$ROOT_DIR/scripts/wine-session.sh"
cd "$ROOT_DIR"

LOGS="$ROOT_DIR/build/test-logs"
mkdir -p "$LOGS"
passed=0
failed=0

# Runs one GoogleTest program; prints its counts and writes "passed failed" to $LOGS/NAME.counts. A
# crash without a summary counts as a failure.
run_gtest() {
    local name=$1 log="$LOGS/$1.log" rc p f
    shift
    # A program gets ten minutes before it counts as hung (the longest takes under one).
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
    echo "== $name"
    echo "   $p passed, $f failed"
    if [[ $f -ne 0 ]]; then
        grep -E '^\[  FAILED  \]|Failure|ERROR|error' "$log" | head -40
        echo "   (full log: $log; exit code $rc)"
        tail -n 20 "$log"
    fi
    echo "$p $f" >"$LOGS/$name.counts"
}

# Runs a step that is one test of its own; as run_gtest.
run_step() {
    local name=$1 log="$LOGS/$1.log"
    shift
    echo "== $name"
    if "$@" </dev/null >"$log" 2>&1; then
        echo "   passed"
        echo "1 0" >"$LOGS/$name.counts"
    else
        echo "   FAILED (log: $log)"
        tail -n 40 "$log"
        echo "0 1" >"$LOGS/$name.counts"
    fi
}

# Adds the counts a finished step left.
count() {
    local name=$1 p=0 f=1
    [[ -f $LOGS/$name.counts ]] && read -r p f <"$LOGS/$name.counts"
    passed=$((passed + p))
    failed=$((failed + f))
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

# Runs "$@" in the background; what it prints waits in $LOGS/NAME.report for finish_lanes.
lanes=()
in_background() {
    local name=$1
    shift
    rm -f "$LOGS/$name.counts"
    ("$@") >"$LOGS/$name.report" 2>&1 &
    lanes+=("$name:$!")
}

# Prints the reports of the background steps in the order they were started, and adds their counts.
finish_lanes() {
    local lane
    for lane in "${lanes[@]}"; do
        wait "${lane#*:}"
        cat "$LOGS/${lane%%:*}.report"
        count "${lane%%:*}"
    done
    lanes=()
}

# Runs a Windows test program under Wine in a session of its own: the prefix build/wineprefix-NAME
# and an Xvfb of its own. Extra environment (such as the shard) is given as NAME=VALUE words first.
wine_lane() {
    local name=$1
    shift
    if wine_session_start "$ROOT_DIR/build/wineprefix-$name" --own-x; then
        trap wine_session_stop EXIT
        run_gtest "$name" env "$@"
    else
        echo "== $name"
        echo "   Wine session could not start"
    fi
}

# What a user downloads: the zip's contents, and the installer's install, upgrade and removal under
# Wine in a prefix of its own; then that the release files are reproducible, summed, described and
# signed when a certificate is given.
install_lane() {
    if bash scripts/dist.sh >"$LOGS/dist.log" 2>&1; then
        run_step install bash -c 'bash scripts/test-install.sh && bash scripts/test-release.sh'
    else
        echo "make dist failed (log: $LOGS/dist.log)"
    fi
}

if build_preset native; then
    run_gtest unit build/native/tests/CorvalendUnitTests
    count unit
else
    failed=$((failed + 1))
fi

# The fuzzers run for a fixed time on one core each, beside the Windows build.
if build_preset fuzz; then
    in_background fuzz-hotkey-file run_step fuzz-hotkey-file fuzz_reader
    in_background fuzz-sendkeys run_step fuzz-sendkeys fuzz_sendkeys
else
    failed=$((failed + 1))
fi

if build_preset win64; then
    # The Windows tests in two shards, the end-to-end tests and the release files at once, each in a
    # Wine prefix and on a display of its own.
    in_background windows-1 wine_lane windows-1 GTEST_TOTAL_SHARDS=2 GTEST_SHARD_INDEX=0 \
        wine build/win64/CorvalendWinTests.exe
    in_background windows-2 wine_lane windows-2 GTEST_TOTAL_SHARDS=2 GTEST_SHARD_INDEX=1 \
        wine build/win64/CorvalendWinTests.exe
    in_background end-to-end wine_lane end-to-end wine build/win64/CorvalendE2ETests.exe
    in_background install install_lane
else
    failed=$((failed + 1))
fi
finish_lanes

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
