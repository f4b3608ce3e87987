#!/usr/bin/env bash
# Builds the installer from a folder that holds the files dist/Corvalend.wxs names, with the same
# bytes each time: the product code derived from the version, the package code from the package's
# bytes and its times SOURCE_DATE_EPOCH (scripts/msi-stamp.py).
# usage: build-msi.sh SOURCE_FOLDER VERSION WEB_SITE OUTPUT.msi   (SOURCE_DATE_EPOCH in the environment)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
source_folder=$1 version=$2 web_site=$3 output=$(realpath -m "$4")

upgrade_code=$(sed -n 's/.*UpgradeCode="\([-0-9A-F]*\)".*/\1/p' "$ROOT_DIR/dist/Corvalend.wxs")
[[ -n $upgrade_code ]] || { echo "build-msi: no UpgradeCode in dist/Corvalend.wxs" >&2; exit 1; }
# Each version is a product of its own, with a code derived from the version, not from chance.
product_code=$(python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.UUID(sys.argv[1]), sys.argv[2])).upper())' \
    "$upgrade_code" "Corvalend $version")
cp "$ROOT_DIR/Corvalend.ico" "$ROOT_DIR/dist/Corvalend.wxs" "$source_folder/"
(cd "$source_folder" && wixl -a x64 -D "Version=$version" -D "WebSite=$web_site" -D "ProductCode=$product_code" \
    -o "$output" Corvalend.wxs)
python3 "$ROOT_DIR/scripts/msi-stamp.py" "$output"
