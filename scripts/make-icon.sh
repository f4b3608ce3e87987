#!/usr/bin/env bash
# Draws Corvalend.ico (16x16 and 32x32, 32-bit with alpha): a keycap with a
# lightning bolt. Each size is drawn on its own pixel grid so that it stays
# crisp. Needs ImageMagick's convert. The .ico is committed; this script does
# not run during the build.
#
#   scripts/make-icon.sh [OUTPUT.ico] [--preview PREVIEW.png]
set -euo pipefail

SCRIPT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
OUT="$SCRIPT_DIR/../Corvalend.ico"
PREVIEW=""
while (($#)); do
    case $1 in
        --preview) PREVIEW=$2; shift 2 ;;
        *) OUT=$1; shift ;;
    esac
done

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# Colours
EDGE='#1c2536'      # outline
SIDE='#3b4a66'      # keycap sides (the "depth" below the top face)
TOP='#eef2f8'       # top face
TOP_SHADE='#cfd8e6' # lower part of the top face
BOLT='#ffb400'      # bolt fill
BOLT_EDGE='#8a4b00' # bolt outline
BOLT_16='#e08a00'   # bolt at 16x16 (no outline there, so a little darker)

# 32x32: outer cap 1..30, top face inset, bolt centred on the face.
convert -size 32x32 xc:none \
    -fill "$SIDE" -stroke "$EDGE" -strokewidth 1 \
    -draw 'roundrectangle 1.5,2.5 30.5,30.5 5,5' \
    -stroke none -fill "$TOP_SHADE" \
    -draw 'roundrectangle 4,4 27,25 4,4' \
    -fill "$TOP" \
    -draw 'roundrectangle 4,4 27,21 4,4' \
    -fill "$BOLT" -stroke "$BOLT_EDGE" -strokewidth 1 \
    -draw 'polygon 17.5,5.5 9.5,16.5 14.5,16.5 12.5,25.5 22.5,12.5 17.5,12.5 21.5,5.5' \
    PNG32:"$TMP/32.png"

# 16x16: same design; the bolt is a solid, unsmoothed shape, which reads
# better than an outlined one at this size.
convert -size 16x16 xc:none \
    -fill "$SIDE" -stroke "$EDGE" -strokewidth 1 \
    -draw 'roundrectangle 0.5,1.5 15.5,15.5 3,3' \
    -stroke none -fill "$TOP_SHADE" \
    -draw 'roundrectangle 2,2 13,12 2,2' \
    -fill "$TOP" \
    -draw 'roundrectangle 2,2 13,10 2,2' \
    +antialias -fill "$BOLT_16" \
    -draw 'polygon 8,2 4,8 7,8 6,13 11,6 8,6 10,2' \
    PNG32:"$TMP/16.png"

convert "$TMP/16.png" "$TMP/32.png" "$OUT"

if [[ -n $PREVIEW ]]; then
    # Both sizes magnified 8x without smoothing, on light and dark backgrounds.
    for bg in '#ffffff' '#202020'; do
        convert -size 400x272 "xc:$bg" \
            \( "$TMP/16.png" -scale 800% \) -geometry +8+8 -composite \
            \( "$TMP/32.png" -scale 800% \) -geometry +136+8 -composite \
            "$TMP/16.png" -geometry +8+200 -composite \
            "$TMP/32.png" -geometry +40+200 -composite \
            "$TMP/prev-${bg#\#}.png"
    done
    convert "$TMP/prev-ffffff.png" "$TMP/prev-202020.png" -append "$PREVIEW"
fi
