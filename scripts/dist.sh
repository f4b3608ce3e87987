#!/usr/bin/env bash
# Builds the release program and writes the files a user downloads to build/dist/:
#   Corvalend-<version>-x64.msi           the installer (per user, no elevation)
#   Corvalend-<version>-x64-portable.zip  the program with its read-me, licence notices and portable marker
#   Corvalend.exe                         the program, as both of them hold it
#   SHA256SUMS                            the three files' SHA-256 sums
#   Corvalend-<version>.spdx.json         the bill of materials: the program and what is linked into it
#   winget/                               the package manager's manifests for the installer
# The version is the CMake project's (build/win64/release-version.txt, written when configuring).
# The same commit gives the same bytes wherever and whenever it is built: the times written are the
# last commit's (SOURCE_DATE_EPOCH), and nothing of the machine goes in.
# Environment:
#   CORVALEND_DOWNLOAD_BASE       the address the files will be downloaded from (the manifests name
#                                 the installer there)
#   CORVALEND_SIGN_PFX            a code-signing certificate with its key (PKCS#12): the program is
#                                 signed before it is packed, then the installer
#   CORVALEND_SIGN_PASSWORD       its password
#   CORVALEND_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamp server for the signatures (none if unset)
#   SOURCE_DATE_EPOCH             the time to write (default: the last commit's)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$ROOT_DIR"

export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}"
export TZ=UTC  # the zip's entry times are local times
umask 022

BUILD="$ROOT_DIR/build/win64"
DIST="$ROOT_DIR/build/dist"
# The product's web site, as the program names it.
WEB_SITE=$(sed -n 's/.*kWebSiteAddress\[\] = u"\(.*\)";.*/\1/p' ui/SettingsFormU.h)
[[ -n $WEB_SITE ]] || { echo "dist: no web site address in ui/SettingsFormU.h" >&2; exit 1; }
DOWNLOAD_BASE="${CORVALEND_DOWNLOAD_BASE:-${WEB_SITE}download/}"

log="$ROOT_DIR/build/dist-build.log"
mkdir -p "$ROOT_DIR/build"
if ! { cmake --preset win64 -S "$ROOT_DIR" && cmake --build "$BUILD" --target Corvalend; } >"$log" 2>&1; then
    cat "$log" >&2
    echo "dist: the build failed" >&2
    exit 1
fi
version=$(<"$BUILD/release-version.txt")
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "dist: no version in $BUILD/release-version.txt" >&2; exit 1; }

# Signs a program or an installer in place, when a certificate is given.
sign() {
    [[ -n ${CORVALEND_SIGN_PFX:-} ]] || return 0
    # The password through a pipe, not in the command line that any process may read.
    local options=(-pkcs12 "$CORVALEND_SIGN_PFX" -h sha256 -n Corvalend -i "$WEB_SITE")
    [[ -z ${CORVALEND_SIGN_TIMESTAMP_URL:-} ]] || options+=(-ts "$CORVALEND_SIGN_TIMESTAMP_URL")
    if ! osslsigncode sign "${options[@]}" -readpass <(printf '%s' "${CORVALEND_SIGN_PASSWORD:-}") \
        -in "$1" -out "$1.signed" >"$1.sign.log" 2>&1; then
        cat "$1.sign.log" >&2
        echo "dist: signing $(basename "$1") failed" >&2
        exit 1
    fi
    mv "$1.signed" "$1"
    rm "$1.sign.log"
}

rm -rf "$DIST"
# The files the user gets, with Windows line ends on our texts; the notices as their makers wrote them.
files="$DIST/files"
mkdir -p "$files/notices/libjpeg-turbo" "$files/notices/mingw-w64" "$files/notices/gcc-runtime"
cp "$BUILD/Corvalend.exe" "$files/"
sign "$files/Corvalend.exe"
sed 's/$/\r/' dist/README.txt >"$files/README.txt"
sed 's/$/\r/' LICENSE >"$files/LICENSE.txt"
cp dist/notices/libjpeg-turbo/LICENSE.md dist/notices/libjpeg-turbo/README.ijg "$files/notices/libjpeg-turbo/"
# The runtime and winpthreads are linked from this package: its notices are those of what was linked.
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$files/notices/mingw-w64/copyright.txt"
sed 's/$/\r/' dist/notices/gcc-runtime/README.txt >"$files/notices/gcc-runtime/README.txt"
# The marker that makes the unpacked zip a portable copy (its data beside the program); only the zip has it.
sed 's/$/\r/' dist/Corvalend.portable >"$files/Corvalend.portable"
find "$files" -type d -exec chmod 755 {} + -o -type f -exec chmod 644 {} +
find "$files" -exec touch -d "@$SOURCE_DATE_EPOCH" {} +

zip="$DIST/Corvalend-$version-x64-portable.zip"
# The entries in a fixed order, without folder entries or the system's extra fields.
(cd "$files" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | zip -q -X -D "$zip" -@)

# The installer is built in a folder holding the files its source names.
msi_source="$DIST/msi-source"
cp -a "$files" "$msi_source"
rm "$msi_source/Corvalend.portable"  # an installed program keeps its data in the user's profile
msi="$DIST/Corvalend-$version-x64.msi"
bash scripts/build-msi.sh "$msi_source" "$version" "$WEB_SITE" "$msi"
sign "$msi"
[[ -n ${CORVALEND_SIGN_PFX:-} ]] || echo "dist: no certificate given (CORVALEND_SIGN_PFX): the program and the installer are unsigned"

cp "$files/Corvalend.exe" "$DIST/"
(cd "$DIST" && sha256sum "$(basename "$msi")" "$(basename "$zip")" Corvalend.exe >SHA256SUMS)
jpeg_version=$(sed -n 's/^version=//p' "$CORVALEND_JPEG_PREFIX/.corvalend-stamp")
[[ -n $jpeg_version ]] || { echo "dist: no libjpeg-turbo version in $CORVALEND_JPEG_PREFIX" >&2; exit 1; }
python3 scripts/release-sbom.py "$version" "$DIST/Corvalend.exe" "$jpeg_version" "$WEB_SITE" \
    "$DIST/Corvalend-$version.spdx.json"

sha256=$(sha256sum "$msi" | cut -d' ' -f1 | tr a-f A-F)
upgrade_code=$(sed -n 's/.*UpgradeCode="\([-0-9A-F]*\)".*/\1/p' dist/Corvalend.wxs)
manifests="$DIST/winget/manifests/t/Tamberlo/Corvalend/$version"
mkdir -p "$manifests"
for template in dist/winget/*.yaml.in; do
    name=$(basename "$template" .in)
    sed -e "s|@VERSION@|$version|g" -e "s|@SHA256@|$sha256|g" -e "s|@WEB_SITE@|$WEB_SITE|g" -e "s|@UPGRADE_CODE@|$upgrade_code|g" \
        -e "s|@INSTALLER_URL@|$DOWNLOAD_BASE$(basename "$msi")|g" "$template" >"$manifests/$name"
done

ls -l "$msi" "$zip" "$DIST/SHA256SUMS" "$DIST/Corvalend-$version.spdx.json"
echo "winget manifests: $manifests"
