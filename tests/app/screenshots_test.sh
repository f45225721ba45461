#!/bin/sh
# scripts/screenshots.sh takes one page in one language into a temporary
# folder: a PNG of the screen size comes out, with something drawn on it.
# Usage: screenshots_test.sh SCRIPT BUILD_DIR
script=$1
build=$2
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "SKIP: xvfb-run is missing (Debian package xvfb)"
    exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
sh "$script" -o "$tmp" -l en -p constants "$build" || { echo "FAIL: the script failed"; exit 1; }
png="$tmp/constants-en.png"
[ -f "$png" ] || { echo "FAIL: $png not written"; exit 1; }
[ "$(ls "$tmp")" = "constants-en.png" ] || { echo "FAIL: other files written: $(ls "$tmp")"; exit 1; }
# PNG signature, then the IHDR chunk: width and height as 4-byte big-endian
# numbers at offsets 16 and 20.
sig=$(od -An -tx1 -N8 "$png" | tr -d ' \n')
[ "$sig" = "89504e470d0a1a0a" ] || { echo "FAIL: not a PNG ($sig)"; exit 1; }
width=$(od -An -tu1 -j16 -N4 "$png" | awk '{ print (($1 * 256 + $2) * 256 + $3) * 256 + $4 }')
height=$(od -An -tu1 -j20 -N4 "$png" | awk '{ print (($1 * 256 + $2) * 256 + $3) * 256 + $4 }')
if [ "$width" != 1366 ] || [ "$height" != 768 ]; then
    echo "FAIL: ${width}x$height, not 1366x768"
    exit 1
fi
# A screen of one colour compresses to a few kilobytes; a table of text does not.
size=$(wc -c <"$png")
[ "$size" -gt 20000 ] || { echo "FAIL: $size bytes, the picture looks empty"; exit 1; }
echo "PASS: ${width}x$height, $size bytes"
