#!/bin/sh
# Pictures of every page of the main window in Chinese and in English, as a
# user sees them on a 1366 x 768 screen, on the example project with its
# column profile rated: docs/screenshots/PAGE-LANG.png, and the README's
# main.png, diagram.png and performance-curves.png (the Chinese ones).
#
#   scripts/screenshots.sh [-o OUTDIR] [-l zh|en]... [-p PAGE]... [BUILD_DIR]
#
# BUILD_DIR (default build/release) must hold a build with the tests
# (tests/app/velk-screenshots); this script builds nothing. -p takes a page
# name (calc, calc-end, constants, diagram, comparison, curves, rating, cases).
# Needs xvfb-run and the CJK fonts of scripts/setup.sh.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/docs/screenshots"
langs=""
pages=""
while getopts o:l:p: opt; do
    case $opt in
    o) out=$OPTARG ;;
    l) langs="$langs $OPTARG" ;;
    p) pages="$pages --page $OPTARG" ;;
    *) echo "usage: $0 [-o OUTDIR] [-l zh|en]... [-p PAGE]... [BUILD_DIR]" >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
build=${1:-$root/build/release}
langs=${langs:-zh en}

driver="$build/tests/app/velk-screenshots"
if [ ! -x "$driver" ]; then
    echo "$driver is missing: build with the tests first (cmake --build --preset release)" >&2
    exit 1
fi
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "xvfb-run is missing (Debian package xvfb, see scripts/setup.sh)" >&2
    exit 1
fi
mkdir -p "$out"
# Qt wants a private runtime folder; the program's single-instance socket is
# not used by the driver, but keep Qt quiet and away from the user's.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    chmod 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
fi

for lang in $langs; do
    # shellcheck disable=SC2086 # $pages is a list of options
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1366x768x24" \
        "$driver" --lang "$lang" --out "$out" --size 1366x768 \
        --project "$root/examples/atmospheric.vel" --profile "$root/examples/debutanizer.csv" $pages
done

# The README's pictures: the Chinese pages of a full run.
if [ -z "$pages" ] && [ -f "$out/calc-zh.png" ]; then
    cp "$out/calc-zh.png" "$out/main.png"
    cp "$out/diagram-zh.png" "$out/diagram.png"
    cp "$out/curves-zh.png" "$out/performance-curves.png"
fi
