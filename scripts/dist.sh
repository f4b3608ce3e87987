#!/usr/bin/env bash
# Builds the release program and writes the files a user downloads to build/dist/:
#   Corvalend-<version>-x64.msi           the installer (per user, no elevation)
#   Corvalend-<version>-x64-portable.zip  the program with its read-me, licence notices and portable marker
#   winget/                               the package manager's manifests for the installer
# The version is the CMake project's (build/win64/release-version.txt, written when configuring).
# Environment: CORVALEND_DOWNLOAD_BASE, the address the files will be downloaded from (the
# manifests name the installer there).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$ROOT_DIR"

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

rm -rf "$DIST"
# The files the user gets, with Windows line ends on the texts.
files="$DIST/files"
mkdir -p "$files/notices/libjpeg-turbo"
cp "$BUILD/Corvalend.exe" "$files/"
sed 's/$/\r/' dist/README.txt >"$files/README.txt"
sed 's/$/\r/' LICENSE >"$files/LICENSE.txt"
cp dist/notices/libjpeg-turbo/LICENSE.md dist/notices/libjpeg-turbo/README.ijg "$files/notices/libjpeg-turbo/"
# The marker that makes the unpacked zip a portable copy (its data beside the program); only the zip has it.
sed 's/$/\r/' dist/Corvalend.portable >"$files/Corvalend.portable"
touch -d "@$(git log -1 --format=%ct 2>/dev/null || date +%s)" "$files" "$files"/* "$files"/notices "$files"/notices/*/ "$files"/notices/*/*

zip="$DIST/Corvalend-$version-x64-portable.zip"
(cd "$files" && zip -q -X -r "$zip" Corvalend.exe Corvalend.portable README.txt LICENSE.txt notices)

# The installer is built in a folder holding the files its source names.
msi_source="$DIST/msi-source"
cp -r "$files" "$msi_source"
rm "$msi_source/Corvalend.portable"  # an installed program keeps its data in the user's profile
cp Corvalend.ico dist/Corvalend.wxs "$msi_source/"
msi="$DIST/Corvalend-$version-x64.msi"
(cd "$msi_source" && wixl -a x64 -D "Version=$version" -D "WebSite=$WEB_SITE" -o "$msi" Corvalend.wxs)

sha256=$(sha256sum "$msi" | cut -d' ' -f1 | tr a-f A-F)
upgrade_code=$(sed -n 's/.*UpgradeCode="\([-0-9A-F]*\)".*/\1/p' dist/Corvalend.wxs)
[[ -n $upgrade_code ]] || { echo "dist: no UpgradeCode in dist/Corvalend.wxs" >&2; exit 1; }
manifests="$DIST/winget/manifests/t/Tamberlo/Corvalend/$version"
mkdir -p "$manifests"
for template in dist/winget/*.yaml.in; do
    name=$(basename "$template" .in)
    sed -e "s|@VERSION@|$version|g" -e "s|@SHA256@|$sha256|g" -e "s|@WEB_SITE@|$WEB_SITE|g" -e "s|@UPGRADE_CODE@|$upgrade_code|g" \
        -e "s|@INSTALLER_URL@|$DOWNLOAD_BASE$(basename "$msi")|g" "$template" >"$manifests/$name"
done

ls -l "$msi" "$zip"
echo "winget manifests: $manifests"
