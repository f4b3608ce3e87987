#!/usr/bin/env bash
# Prepares a Debian 12 machine (as root) to build and test Corvalend:
#   1. installs the Debian packages that are missing;
#   2. builds libjpeg-turbo from Debian's source package, once, into a cache
#      outside the repository: a static MinGW-w64 build (for the product) and a
#      static native build (its cjpeg and library serve as a benchmark baseline).
# Idempotent: on a machine that is already set up it finishes in about a second.
#
# Environment:
#   CORVALEND_CACHE       cache root (default: $HOME/.cache/corvalend)
#   CORVALEND_JPEG_FORCE  set to 1 to rebuild libjpeg-turbo even if cached
set -euo pipefail

SCRIPT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
REPO_DIR=$(cd "$SCRIPT_DIR/.." && pwd)
TOOLCHAIN_FILE="$REPO_DIR/cmake/mingw-w64-x86_64.cmake"

CACHE_DIR="${CORVALEND_CACHE:-$HOME/.cache/corvalend}"
JPEG_MINGW_PREFIX="$CACHE_DIR/libjpeg-turbo-mingw64"
JPEG_NATIVE_PREFIX="$CACHE_DIR/libjpeg-turbo-native"
# Bump when the build options below change, so cached builds are redone.
JPEG_RECIPE=2

export DEBIAN_FRONTEND=noninteractive

log() { printf 'setup: %s\n' "$*"; }
die() { printf 'setup: error: %s\n' "$*" >&2; exit 1; }

[[ $(id -u) -eq 0 ]] || die "run as root (packages are installed with apt-get)"

# ---------------------------------------------------------------- packages --
PACKAGES=(
    cmake ninja-build make g++ clang clang-format libclang-rt-14-dev
    googletest libgtest-dev libbenchmark-dev
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
    binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
    wine wine64 xvfb xauth x11-utils xdotool
    x11-xkb-utils xkb-data
    nasm imagemagick dpkg-dev jq
    wixl zip unzip python3 osslsigncode openssl
)

missing=()
for pkg in "${PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$pkg" 2>/dev/null || true)
    [[ $status == ii* ]] || missing+=("$pkg")
done

if ((${#missing[@]})); then
    log "installing: ${missing[*]}"
    apt-get update -qq -o DPkg::Lock::Timeout=300
    apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=300 \
        "${missing[@]}" >/dev/null
fi

# ------------------------------------------------------------ libjpeg-turbo --
stamp_ok() {   # $1 = prefix
    local prefix=$1
    [[ -f $prefix/.corvalend-stamp ]] || return 1
    grep -qx "recipe=$JPEG_RECIPE" "$prefix/.corvalend-stamp" || return 1
    grep -q '^version=.' "$prefix/.corvalend-stamp" || return 1
    [[ -f $prefix/lib/libjpeg.a ]] || return 1
    [[ -f $prefix/include/jpeglib.h ]] || return 1
}

jpeg_cached() {
    [[ ${CORVALEND_JPEG_FORCE:-0} != 1 ]] &&
        stamp_ok "$JPEG_MINGW_PREFIX" &&
        stamp_ok "$JPEG_NATIVE_PREFIX" &&
        [[ -x $JPEG_NATIVE_PREFIX/bin/cjpeg ]]
}

SRC_LIST=/etc/apt/sources.list.d/corvalend-deb-src.sources
WORK_DIR=""
cleanup() {
    rm -f "$SRC_LIST"
    if [[ -n $WORK_DIR && -d $WORK_DIR ]]; then rm -rf "$WORK_DIR"; fi
}

# Writes a deb-src twin of Debian's deb entries for bookworm.
write_deb_src_entry() {
    local sys=/etc/apt/sources.list.d/debian.sources
    if [[ -f $sys ]]; then
        # Same URIs/Suites/Components/Signed-By; only the type differs.
        sed -e 's/^Types:.*/Types: deb-src/' "$sys" >"$SRC_LIST"
    else
        cat >"$SRC_LIST" <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    fi
}

# $1 = source dir, $2 = build dir, $3 = prefix, rest = extra CMake options.
# Steps are chained with && because it runs where errexit is suspended.
build_jpeg() {
    local src=$1 bld=$2 prefix=$3
    shift 3
    # Its version text names a build date: the Debian release's, not today's, so that the program's
    # bytes do not depend on the day the cache was made; and no path of this machine in the objects.
    local build_day
    build_day=$(date -u -d "@$(dpkg-parsechangelog -l "$src/debian/changelog" -STimestamp)" +%Y%m%d) &&
    rm -rf "$prefix" &&
    cmake -S "$src" -B "$bld" -G Ninja \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_INSTALL_LIBDIR="$prefix/lib" \
        -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
        -DWITH_SIMD=ON -DREQUIRE_SIMD=ON -DWITH_TURBOJPEG=OFF \
        -DBUILD="$build_day" -DCMAKE_C_FLAGS="-ffile-prefix-map=$src/= -ffile-prefix-map=$bld/=" \
        "$@" &&
    cmake --build "$bld" --parallel "$(nproc)" &&
    cmake --install "$bld"
}

# One build at a time per cache; a run that waited finds the cache ready.
if ! jpeg_cached; then
    mkdir -p "$CACHE_DIR"
    exec 9>"$CACHE_DIR/.lock"
    flock 9
fi

if jpeg_cached; then
    log "libjpeg-turbo $(sed -n 's/^version=//p' "$JPEG_MINGW_PREFIX/.corvalend-stamp") (cached)"
else
    [[ -f $TOOLCHAIN_FILE ]] || die "missing $TOOLCHAIN_FILE"
    # The toolchain file would add this to its search roots: not wanted here.
    unset CORVALEND_JPEG_PREFIX
    WORK_DIR=$(mktemp -d "$CACHE_DIR/jpeg-build.XXXXXX")
    trap cleanup EXIT
    trap 'exit 130' INT TERM
    BUILD_LOG="$CACHE_DIR/libjpeg-turbo-build.log"
    : >"$BUILD_LOG"
    start=$SECONDS

    log "downloading Debian's libjpeg-turbo source package"
    write_deb_src_entry
    # Refresh only the temporary deb-src entry; keep the other package lists.
    apt-get update -qq \
        -o Dir::Etc::SourceList="$SRC_LIST" \
        -o Dir::Etc::SourceParts=- \
        -o APT::Get::List-Cleanup=0
    (cd "$WORK_DIR" && apt-get source -qq --download-only \
        -o APT::Sandbox::User=root libjpeg-turbo) >>"$BUILD_LOG" 2>&1 ||
        { cat "$BUILD_LOG" >&2; die "apt-get source failed"; }
    rm -f "$SRC_LIST"

    dscs=("$WORK_DIR"/libjpeg-turbo_*.dsc)
    dsc=${dscs[0]}
    [[ -f $dsc ]] || die "no libjpeg-turbo .dsc was downloaded"
    version=$(sed -n 's/^Version: //p' "$dsc" | head -n1)
    (cd "$WORK_DIR" && dpkg-source -x "$dsc" src) >>"$BUILD_LOG" 2>&1 ||
        { cat "$BUILD_LOG" >&2; die "dpkg-source -x failed"; }

    log "building libjpeg-turbo $version for MinGW-w64 and natively (log: $BUILD_LOG)"
    if ! {
        build_jpeg "$WORK_DIR/src" "$WORK_DIR/build-mingw" "$JPEG_MINGW_PREFIX" \
            -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN_FILE" &&
        build_jpeg "$WORK_DIR/src" "$WORK_DIR/build-native" "$JPEG_NATIVE_PREFIX" \
            -DCMAKE_POSITION_INDEPENDENT_CODE=ON
    } >>"$BUILD_LOG" 2>&1; then
        tail -n 40 "$BUILD_LOG" >&2
        die "libjpeg-turbo build failed"
    fi

    for prefix in "$JPEG_MINGW_PREFIX" "$JPEG_NATIVE_PREFIX"; do
        printf 'version=%s\nrecipe=%s\n' "$version" "$JPEG_RECIPE" >"$prefix/.corvalend-stamp"
    done
    if ! stamp_ok "$JPEG_MINGW_PREFIX" || ! stamp_ok "$JPEG_NATIVE_PREFIX" ||
        [[ ! -x $JPEG_NATIVE_PREFIX/bin/cjpeg ]]; then
        die "libjpeg-turbo install is incomplete"
    fi
    log "libjpeg-turbo $version built in $((SECONDS - start)) s"
fi

log "CORVALEND_JPEG_PREFIX=$JPEG_MINGW_PREFIX"
log "native libjpeg-turbo (cjpeg, libjpeg.a): $JPEG_NATIVE_PREFIX"
