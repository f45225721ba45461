#!/bin/sh
# The install tree: `cmake --install` into a temporary prefix lays the
# programs into bin/ and the data into share/velk, with the menu entry, the
# icons, the file type, the metadata and the man page; the desktop and
# AppStream validators accept them, and the installed velk-calc finds its
# data through ../share/velk and computes.
#   install_tree_test.sh BUILD_DIR
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=io.github.velk.Velk
missing=0
for f in bin/velk bin/velk-calc \
         share/velk/VELK2016-07-15.xltx share/velk/VELKHelp.chm share/velk/VELKHelp_en.chm \
         share/velk/velk-registry.reg \
         share/velk/examples/atmospheric.vel \
         share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml \
         share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
         share/icons/hicolor/256x256/apps/$id.png \
         share/icons/hicolor/scalable/mimetypes/application-x-velk-project.svg \
         share/icons/hicolor/48x48/mimetypes/application-x-velk-project.png \
         share/man/man1/velk-calc.1.gz; do
    if [ ! -s "$prefix/$f" ]; then echo "missing: $f"; missing=1; fi
done
# Nothing but programs in bin/.
for f in "$prefix"/bin/*; do
    if [ ! -x "$f" ]; then echo "not a program in bin/: $f"; missing=1; fi
done
[ "$missing" -eq 0 ]

gzip -t "$prefix/share/man/man1/velk-calc.1.gz"
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
# The metadata launches the desktop file that is installed.
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/share/metainfo/$id.metainfo.xml"
grep -q "^MimeType=application/x-velk-project;" "$prefix/share/applications/$id.desktop"
grep -q '<glob pattern="\*.vel"/>' "$prefix/share/mime/packages/$id.xml"

# The installed velk-calc reads an example project and computes it; the
# help file is found by the installed help code through ../share/velk.
out=$("$prefix/bin/velk-calc" --project "$prefix/share/velk/examples/atmospheric.vel")
echo "$out" | grep -q '"completed": true'
# The installed Python module (when built) computes the same example in Debian's python3.
py="$prefix/lib/python3/dist-packages"
if [ -d "$py/velk" ]; then
    PYTHONPATH="$py" /usr/bin/python3 -c 'import sys, velk; assert velk.calculate(project=sys.argv[1])["completed"]' \
        "$prefix/share/velk/examples/atmospheric.vel"
fi
# Both editions of the help are installed as built (their contents are
# checked by the help tests), and they are two different files.
for f in VELKHelp.chm VELKHelp_en.chm; do cmp "$build/bin/$f" "$prefix/share/velk/$f"; done
! cmp -s "$prefix/share/velk/VELKHelp.chm" "$prefix/share/velk/VELKHelp_en.chm"
echo "install tree ok"
