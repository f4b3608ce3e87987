# shellcheck shell=bash
# Common settings of the build, test and run scripts. Source this file.
ROOT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export CORVALEND_CACHE="${CORVALEND_CACHE:-$HOME/.cache/corvalend}"
export CORVALEND_JPEG_PREFIX="$CORVALEND_CACHE/libjpeg-turbo-mingw64"
export CORVALEND_JPEG_NATIVE_PREFIX="$CORVALEND_CACHE/libjpeg-turbo-native"

# Configures (once) and builds one preset quietly; the log is printed only on failure.
build_preset() {
    local preset=$1 log
    mkdir -p "$ROOT_DIR/build"
    log="$ROOT_DIR/build/$preset-build.log"
    if ! { cmake --preset "$preset" -S "$ROOT_DIR" && cmake --build --preset "$preset"; } >"$log" 2>&1; then
        cat "$log" >&2
        echo "build of $preset failed" >&2
        return 1
    fi
}
