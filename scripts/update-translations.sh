#!/usr/bin/env bash
# Brings the English translation up to date with the program's texts (new texts come in
# unfinished; texts no longer in the sources go). Translate the new ones in Qt Linguist or
# by hand, then run scripts/check-translations.sh.
#   update-translations.sh [TS_FILE]   (default translations/zelvi_en.ts)
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(qtpaths6 --query QT_HOST_BINS 2>/dev/null || echo /usr/lib/qt6/bin)
"$bin/lupdate" -silent -recursive src -ts "${1:-translations/zelvi_en.ts}" -locations none \
  -no-obsolete -source-language tr_TR -target-language en
