#!/usr/bin/env bash
# Checks the English translation against the program's texts: every text of the sources is in
# it (the file is what lupdate makes of the sources now), every one is translated, and each
# translation keeps its text's placeholders (%1, %s) and its leading and trailing blanks.
set -euo pipefail
cd "$(dirname "$0")/.."
ts=translations/zelvi_en.ts
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$ts" "$work/now.ts"
scripts/update-translations.sh "$work/now.ts"
if ! cmp -s "$ts" "$work/now.ts"; then
  echo "$ts is not up to date with the sources; run scripts/update-translations.sh:" >&2
  diff "$ts" "$work/now.ts" | head -40 >&2
  exit 1
fi
python3 - "$ts" <<'PY'
import re, sys
import xml.etree.ElementTree as ET
bad = 0
# A change on trial is confirmed (never "kept" or "made permanent") or undone (never "put back",
# "reverted" or "restored"); the change is on trial until then (its safety net is no
# "checkpoint": that word is only the simulated computer's file key); changes over SSH are
# remote.
OFF_WORDS = [r'\bafar\b', r'(?<!")\b[Cc]heckpoints?\b(?!("|: %))', r'\bput\b.{0,30}\bback\b', r'\brevert', r'\brestor', r'\bkept\b',
             r'\bkeeps? (it\b|the change|a change)', r'made permanent', r'\bchoose\b', r'\bchosen\b',
             r'\bpick\b', r'log-in', r'seconds more']
for m in ET.parse(sys.argv[1]).getroot().iter('message'):
    source = ''.join(m.find('source').itertext())
    t = m.find('translation')
    text = ''.join(t.itertext())
    if t.get('type') in ('unfinished', 'vanished', 'obsolete') or not text:
        print('not translated:', repr(source)); bad += 1; continue
    marks = lambda s: sorted(re.findall(r'%(?:\d+|s)', s))
    edges = lambda s: (s[:len(s) - len(s.lstrip())], s[len(s.rstrip()):])
    if marks(source) != marks(text):
        print('placeholders differ:', repr(source), repr(text)); bad += 1
    if edges(source) != edges(text):
        print('leading or trailing blanks differ:', repr(source), repr(text)); bad += 1
    # Long messages come in lines a terminal or a message box shows whole (the usage text is
    # held to 80 columns by its own test).
    for language, lines in (('Turkish', source), ('English', text)):
        for line in lines.split('\n'):
            if len(line) > 100 and not source.startswith('Kullanım'):
                print(f'{language} line of {len(line)} characters:', repr(line)); bad += 1
    # English keeps to one word per idea, and nothing Turkish is left in it but the name.
    for word in OFF_WORDS:
        if re.search(word, text, re.I):
            print(f'English uses {word!r} (see OFF_WORDS):', repr(text)); bad += 1
    if re.search('[çğıöşüÇĞİÖŞÜ]', text.replace('ZELVİ', '')):
        print('Turkish letters in English:', repr(text)); bad += 1
sys.exit(1 if bad else 0)
PY
