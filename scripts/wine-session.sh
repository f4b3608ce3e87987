# shellcheck shell=bash
# Wine session helpers for Corvalend's test and run scripts. Source this file:
#
#   source scripts/wine-session.sh
#   wine_session_start "$BUILD_DIR/wineprefix" [--own-x]
#   trap wine_session_stop EXIT
#   wine ./corvalend_tests.exe
#
# wine_session_start PREFIX_DIR [--own-x]
#   Uses a private 64-bit prefix in PREFIX_DIR (created on first use, recreated
#   if incomplete), quiet Wine (no debug output, no Mono/Gecko installers), an
#   own Xvfb (1280x800x24) when --own-x is given or DISPLAY is empty, and a
#   persistent wineserver so that each later Wine start is fast. On an Xvfb of
#   its own, which runs no window manager, top-level windows are left
#   unmanaged: Wine would otherwise wait two seconds, in vain, for a window
#   manager at every show and hide of one.
#   Works without a terminal or stdin. Returns non-zero on failure.
# wine_session_stop
#   Ends the wineserver of the prefix (and every process in it) and the Xvfb
#   started by wine_session_start. Safe to call more than once.
#
# Environment: WINE_SESSION_TIMEOUT (seconds, default 120) bounds the prefix
# creation and each wait.

_WS_PREFIX=""
_WS_XVFB_PID=""
_WS_XVFB_DIR=""
_WS_SAVED_DISPLAY=""
_WS_HAD_DISPLAY=0
_WS_STAMP_NAME=".corvalend-prefix"

_ws_log() { printf 'wine-session: %s\n' "$*" >&2; }

# Runs "$@" with a time limit, no stdin, and output to the given log file.
# $1 = seconds, $2 = log file.
_ws_run_bounded() {
    local secs=$1 logf=$2
    shift 2
    timeout --kill-after=10 "$secs" "$@" </dev/null >>"$logf" 2>&1
}

_ws_prefix_complete() {
    local p=$1
    [[ -s $p/system.reg && -s $p/user.reg && -d $p/drive_c/windows/system32 ]] || return 1
    [[ -f $p/$_WS_STAMP_NAME ]] || return 1
    # A prefix made by another Wine version is updated by Wine itself on the
    # next start; it still counts as complete.
    return 0
}

_ws_start_xvfb() {
    _WS_XVFB_DIR=$(mktemp -d "${TMPDIR:-/tmp}/corvalend-xvfb.XXXXXX") || return 1
    local dfile=$_WS_XVFB_DIR/display log=$_WS_XVFB_DIR/xvfb.log
    : >"$dfile"
    # -displayfd: Xvfb picks a free display number and writes it when ready.
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset \
        3>"$dfile" </dev/null >"$log" 2>&1 &
    _WS_XVFB_PID=$!
    disown "$_WS_XVFB_PID" 2>/dev/null || true
    local i num=""
    for ((i = 0; i < 200; i++)); do   # up to 20 s
        num=$(head -n1 "$dfile" 2>/dev/null)
        [[ -n $num && $(wc -l <"$dfile") -ge 1 ]] && break
        if ! kill -0 "$_WS_XVFB_PID" 2>/dev/null; then
            _ws_log "Xvfb exited early:"; cat "$log" >&2
            _WS_XVFB_PID=""
            return 1
        fi
        sleep 0.1
    done
    if [[ -z $num ]]; then
        _ws_log "Xvfb did not report a display"
        return 1
    fi
    export DISPLAY=":$num"
}

wine_session_start() {
    local prefix="" own_x=0 arg
    for arg in "$@"; do
        case $arg in
            --own-x) own_x=1 ;;
            -*) _ws_log "unknown option $arg"; return 2 ;;
            *) prefix=$arg ;;
        esac
    done
    if [[ -z $prefix ]]; then
        _ws_log "usage: wine_session_start PREFIX_DIR [--own-x]"
        return 2
    fi
    if [[ -n $_WS_PREFIX ]]; then
        _ws_log "a session is already running for $_WS_PREFIX"
        return 1
    fi
    mkdir -p "$prefix" || return 1
    prefix=$(cd "$prefix" && pwd -P) || return 1
    if [[ $prefix == "$(cd ~ 2>/dev/null && pwd -P)/.wine" ]]; then
        _ws_log "refusing to use the personal prefix $prefix"
        return 1
    fi
    local timeout_s=${WINE_SESSION_TIMEOUT:-120}
    local logf=$prefix.log

    export WINEPREFIX=$prefix
    export WINEARCH=win64
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    _WS_PREFIX=$prefix

    _WS_HAD_DISPLAY=0
    if [[ -n ${DISPLAY+set} ]]; then _WS_HAD_DISPLAY=1; fi
    _WS_SAVED_DISPLAY=${DISPLAY:-}
    local managed=Y
    if ((own_x)) || [[ -z ${DISPLAY:-} ]]; then
        _ws_start_xvfb || { wine_session_stop; return 1; }
        managed=N
    fi

    if ! _ws_prefix_complete "$prefix"; then
        # Incomplete or never made: start from an empty directory. Only
        # directories that are empty or look like a Wine prefix are wiped.
        if [[ -n $(ls -A "$prefix") ]]; then
            if [[ -e $prefix/system.reg || -e $prefix/drive_c || -e $prefix/dosdevices ||
                  -e $prefix/$_WS_STAMP_NAME ]]; then
                wineserver -k </dev/null >/dev/null 2>&1 || true
                rm -rf "${prefix:?}"/* "${prefix:?}"/.[!.]* 2>/dev/null || true
            else
                _ws_log "$prefix is not empty and is not a Wine prefix"
                wine_session_stop
                return 1
            fi
        fi
        : >"$logf"
        # wineboot -i returns once the prefix is set up; its helper processes
        # would linger about 5 s more. Ending them with -k is faster and the
        # server still writes the complete registry when it exits.
        if ! _ws_run_bounded "$timeout_s" "$logf" wineboot -i ||
           ! { _ws_run_bounded 30 "$logf" wineserver -k || true; } ||
           ! _ws_run_bounded "$timeout_s" "$logf" wineserver -w ||
           [[ ! -s $prefix/system.reg ]]; then
            _ws_log "creating the Wine prefix failed (log: $logf)"
            tail -n 20 "$logf" >&2
            wine_session_stop
            return 1
        fi
        printf 'created=%s\nwine=%s\n' "$(date -u +%FT%TZ)" \
            "$(wine --version 2>/dev/null)" >"$prefix/$_WS_STAMP_NAME"
    fi

    # Persistent server: wine starts no longer pay for server start-up.
    # (It forks into the background and keeps running until -k.)
    if ! wineserver -p </dev/null >/dev/null 2>&1; then
        # Another server may already serve this prefix; that is fine if alive.
        if ! _ws_run_bounded 15 /dev/null wine cmd /c exit; then
            _ws_log "could not start wineserver for $prefix"
            wine_session_stop
            return 1
        fi
    fi
    if ! _ws_run_bounded 60 "$logf" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f; then
        _ws_log "could not configure the Wine prefix (log: $logf)"
        wine_session_stop
        return 1
    fi
    return 0
}

# Waits until the Corvalend started as process PID (a `wine` run in the background) shows its tray
# icon: up and running. False when it ended first or the icon did not come within 20 s.
wait_for_tray() {
    local pid=$1 i
    for ((i = 0; i < 200; i++)); do
        xdotool search --name '^Wine System Tray$' >/dev/null 2>&1 && return 0
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1  # no event to wait on from outside the session: look again
    done
    return 1
}

wine_session_stop() {
    local rc=$?
    if [[ -n $_WS_PREFIX ]]; then
        WINEPREFIX=$_WS_PREFIX wineserver -k </dev/null >/dev/null 2>&1 || true
        WINEPREFIX=$_WS_PREFIX timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
        _WS_PREFIX=""
    fi
    if [[ -n $_WS_XVFB_PID ]]; then
        kill "$_WS_XVFB_PID" 2>/dev/null || true
        local i
        for ((i = 0; i < 50; i++)); do
            kill -0 "$_WS_XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$_WS_XVFB_PID" 2>/dev/null || true
        _WS_XVFB_PID=""
        if ((_WS_HAD_DISPLAY)); then
            export DISPLAY=$_WS_SAVED_DISPLAY
        else
            unset DISPLAY
        fi
    fi
    if [[ -n $_WS_XVFB_DIR ]]; then
        rm -rf "$_WS_XVFB_DIR"
        _WS_XVFB_DIR=""
    fi
    return "$rc"
}
