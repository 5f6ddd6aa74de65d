#!/usr/bin/env bash
# Renders the windows offscreen into docs/screenshots (used by the README), in Turkish and in
# English.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target render_screenshots
for language in tr en; do
  build/default/tools/screenshots/render_screenshots docs/screenshots "$language"
done
