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
# Every entry has an English text, and no English text holds Chinese.
# Two different Chinese texts share one English text only where the list
# beside this test says they mean the same (a second reader's check that no
# English was pasted onto the wrong source); a line of the list that no
# longer matches the file fails too, so the list stays true.
python3 - "$ts" "$(dirname "$0")/translations_shared_english.txt" <<'PY'
import collections, sys
import xml.etree.ElementTree as ET
ts, allowed_file = sys.argv[1], sys.argv[2]
faults = []
shared = collections.defaultdict(set)
for message in ET.parse(ts).getroot().iter("message"):
    source = message.findtext("source") or ""
    node = message.find("translation")
    forms = [n.text or "" for n in node.findall("numerusform")] or [node.text or ""]
    for text in forms:
        if not text.strip():
            faults.append("no English for: " + source)
        elif any(0x2E80 <= ord(c) <= 0x9FFF or 0xFF00 <= ord(c) <= 0xFFEF for c in text):
            faults.append("Chinese in the English of %r: %r" % (source, text))
        shared[text].add(source)
allowed = {}
with open(allowed_file, encoding="utf-8") as f:
    for line in f:
        line = line.rstrip("\n")
        if not line.strip() or line.startswith("#"):
            continue
        parts = [p.strip().replace("\\n", "\n") for p in line.split("|")]
        allowed[parts[0]] = set(parts[1:])
for text, sources in sorted(shared.items()):
    if len(sources) > 1 and not sources <= allowed.get(text, set()):
        faults.append("one English text %r for different sources %s: translate each, or list them as meaning the same"
                      % (text, sorted(sources)))
for text, sources in sorted(allowed.items()):
    if len(shared.get(text, ())) < 2 or not sources <= shared[text]:
        faults.append("the allow-list's line for %r no longer matches the file (sources %s)"
                      % (text, sorted(shared.get(text, ()))))
for f in faults:
    print(f)
sys.exit(1 if faults else 0)
PY
