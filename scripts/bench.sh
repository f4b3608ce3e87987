#!/usr/bin/env bash
# Runs the benchmarks, natively and optimized.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$ROOT_DIR"
build_preset bench
RESULTS="$ROOT_DIR/build/bench/results.json"
build/bench/tests/CorvalendBench --benchmark_repetitions="${BENCH_REPETITIONS:-3}" \
    --benchmark_report_aggregates_only=true --benchmark_out="$RESULTS" --benchmark_out_format=json

# Screen capture at 3840x2160: the targets, and our JPEG writer against libjpeg-turbo's cjpeg.
median_ms() {  # the median (or the only run) of one benchmark, in milliseconds
    jq -r --arg n "$1" '[.benchmarks[] | select(.run_name == $n and
        (.aggregate_name == "median" or .aggregate_name == null))][0].real_time // empty' "$RESULTS"
}
shade=$(median_ms BM_ShadeRebuild)
crop=$(median_ms BM_CropLargeSelection)
ours=$(median_ms BM_JpegEncodeOurs)
cjpeg=$(median_ms BM_JpegEncodeCjpeg/manual_time)
direct=$(median_ms BM_JpegEncodeLibjpegDirect)
if [[ -n $shade && -n $crop && -n $ours && -n $cjpeg && -n $direct ]]; then
    awk -v shade="$shade" -v crop="$crop" -v ours="$ours" -v cjpeg="$cjpeg" -v direct="$direct" 'BEGIN {
        printf "\nScreen capture, 3840x2160 (medians):\n"
        printf "  shade rebuild        %6.2f ms  (target < 15 ms)  %s\n", shade, shade < 15 ? "ok" : "MISSED"
        printf "  crop of a selection  %6.2f ms  (target < 15 ms)  %s\n", crop, crop < 15 ? "ok" : "MISSED"
        printf "  JPEG q90, our writer %6.2f ms\n", ours
        printf "  JPEG q90, cjpeg      %6.2f ms  (process, PPM in, file out)\n", cjpeg
        printf "  JPEG q90, libjpeg    %6.2f ms  (called directly on ready RGB rows)\n", direct
        printf "  ours / cjpeg = %.2f (target <= 1.3)  %s;  ours / libjpeg = %.2f\n\n", ours / cjpeg,
            ours / cjpeg <= 1.3 ? "ok" : "MISSED", ours / direct
    }'
fi

# Under Wine: hotkey latency of the running program beside a minimal Win32 program.
source "$ROOT_DIR/scripts/wine-session.sh"
build_preset win64
wine_session_start "$ROOT_DIR/build/wineprefix" --own-x
trap wine_session_stop EXIT
wine build/win64/HotkeyLatencyBench.exe >"$ROOT_DIR/build/latency.log" 2>&1 </dev/null || true
tr -d '\r' <"$ROOT_DIR/build/latency.log"
# Under Wine: whole-screen capture from the hotkey press to the painted preview.
wine build/win64/CaptureLatencyBench.exe >"$ROOT_DIR/build/capture-latency.log" 2>&1 </dev/null || true
tr -d '\r' <"$ROOT_DIR/build/capture-latency.log"
# Under Wine: saving a 4K screen of text as PNG (the system's encoder) and as JPEG, with the sizes.
wine build/win64/SaveFileBench.exe >"$ROOT_DIR/build/save-file.log" 2>&1 </dev/null || true
tr -d '\r' <"$ROOT_DIR/build/save-file.log"
# Under Wine: start-up, the settings window and the popup at many hotkeys, against their references.
wine build/win64/ScaleBench.exe "${SCALE_REPEATS:-3}" >"$ROOT_DIR/build/scale.log" 2>&1 </dev/null || true
tr -d '\r' <"$ROOT_DIR/build/scale.log"

# Under Wine: the program at rest beside a bare Win32 program that registers one hotkey. Private
# memory counts the private pages of every mapping but Wine's own host libraries (Unix shared
# objects); wake-ups are the context switches of all the process's threads while nothing happens.
private_kb() {
    awk '/^[0-9a-f]+-[0-9a-f]+ / { host = ($6 ~ /\.so(\.[0-9.]+)?$/) }
         /^Private_(Clean|Dirty):/ { if (!host) sum += $2 } END { print sum + 0 }' "/proc/$1/smaps"
}
switches() {
    cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ { s += $2 } END { print s + 0 }'
}
windows_dlls() {
    awk '$6 ~ /\.dll$/ { n = split($6, p, "/"); print p[n] }' "/proc/$1/smaps" | sort -u | tr '\n' ' '
}
# The process matching $1 that runs in this session's prefix: other Wine sessions on the machine
# may run programs of the same name.
own_pid() {
    local pid
    for pid in $(pgrep -f "$1"); do
        if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            echo "$pid"
            return
        fi
    done
}
rest_kb=0
rest_wakeups=0
at_rest() {  # $1 = name, $2 = pattern of the process, then the command; sets rest_kb and rest_wakeups
    local name=$1 pattern=$2 pid before after
    shift 2
    rest_kb=0
    rest_wakeups=-1
    "$@" </dev/null >/dev/null 2>&1 &
    sleep "${REST_SECONDS:-8}"
    pid=$(own_pid "$pattern")
    if [[ -z $pid ]]; then echo "  $name: not running"; return; fi
    before=$(switches "$pid")
    sleep 10
    after=$(switches "$pid")
    rest_kb=$(private_kb "$pid")
    rest_wakeups=$((after - before))
    printf '  %-26s private %6d KB   wake-ups in 10 s: %d\n' "$name" "$rest_kb" "$rest_wakeups"
    [[ -n ${SHOW_DLLS:-} ]] && echo "    DLLs: $(windows_dlls "$pid")"
    kill "$pid" 2>/dev/null || true
    sleep 1
}
echo
echo "At rest under Wine (private memory without Wine's host libraries; wake-ups: context switches):"
wine build/win64/ScaleBench.exe prepare 20 </dev/null >/dev/null 2>&1
at_rest "bare program, one hotkey" 'MinimalHotkeyClipboard\.exe' \
    wine build/win64/MinimalHotkeyClipboard.exe 3 122 rest
bare_kb=$rest_kb
at_rest "Corvalend, 20 hotkeys" 'Corvalend\.exe' wine build/win64/Corvalend.exe
if ((bare_kb > 0 && rest_kb > 0)); then
    awk -v bare="$bare_kb" -v ours="$rest_kb" -v wakeups="$rest_wakeups" 'BEGIN {
        printf "  Corvalend - bare program = %+d KB (target <= +3 MB)  %s;  idle wake-ups %d (target 0)  %s\n\n",
            ours - bare, ours - bare <= 3072 ? "ok" : "MISSED", wakeups, wakeups == 0 ? "ok" : "MISSED"
    }'
fi
