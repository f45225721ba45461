#!/bin/sh
# The .deb as CPack builds it passes lintian without errors or warnings
# (information tags are allowed). Skipped (exit 77) when lintian or dpkg-deb
# is missing: `bash scripts/setup.sh` installs both.
#   deb_lintian_test.sh BUILD_DIR
set -eu
build=$1
for tool in lintian dpkg-deb cpack; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed (bash scripts/setup.sh installs it)"
        exit 77
    fi
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB -B "$out" --config "$build/CPackConfig.cmake" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/*.deb)
# Every program has its man page, and the policy files are there.
contents=$(dpkg-deb -c "$deb")
for f in usr/share/doc/velk/copyright usr/share/doc/velk/changelog.gz \
         usr/share/man/man1/velk.1.gz usr/share/man/man1/velk-calc.1.gz \
         usr/share/man/man1/velk-simdb.1.gz usr/share/man/man1/velk-hysys.1.gz; do
    echo "$contents" | grep -q " \./$f\$" || { echo "missing in the package: $f"; exit 1; }
done
set +e
report=$(lintian --fail-on error,warning --tag-display-limit 0 "$deb" 2>&1)
rc=$?
set -e
echo "$report" | grep -v "running with root privileges" || true
[ "$rc" -eq 0 ] || { echo "lintian found errors or warnings (exit $rc)"; exit 1; }
echo "lintian: no errors or warnings in $(basename "$deb")"
