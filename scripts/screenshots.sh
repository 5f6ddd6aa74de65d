#!/usr/bin/env bash
# Renders the windows offscreen into docs/screenshots (used by the README).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target render_screenshots
build/default/tools/screenshots/render_screenshots docs/screenshots
