#!/bin/sh
# The English translation file is complete and current: lupdate run over
# every layer's sources (into a copy) neither adds, drops nor changes an
# entry, and no entry is left unfinished. A text that lupdate cannot see
# (a literal passed through a wrapper without QT_TRANSLATE_NOOP) would be
# dropped from the file by the next refresh and lose its English.
set -eu
projectIn=$1      # the lupdate project the build writes (.cmake)
makeProject=$2    # Qt's script that turns it into lupdate's JSON
lupdate=$3
ts=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$ts" "$work/velk_en.ts"
cmake -DIN_FILE="$projectIn" -DOUT_FILE="$work/generated.json" -P "$makeProject"
python3 - "$work/generated.json" "$work" <<'PY'
import json, sys
project, work = sys.argv[1], sys.argv[2]
with open(project) as f:
    d = json.load(f)
d["translations"] = [work + "/velk_en.ts"]
with open(work + "/project.json", "w") as f:
    json.dump(d, f)
PY
"$lupdate" -project "$work/project.json" -no-obsolete -locations none -source-language zh_CN -target-language en \
    >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
if ! cmp -s "$ts" "$work/velk_en.ts"; then
    echo "translations/velk_en.ts is not current; lupdate would change it:"
    diff "$ts" "$work/velk_en.ts" || true
    exit 1
fi
if grep -q 'type="unfinished"' "$ts"; then
    echo "unfinished translations:"
    grep -B3 'type="unfinished"' "$ts"
    exit 1
fi
