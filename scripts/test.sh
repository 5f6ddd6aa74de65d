#!/usr/bin/env bash
# Installs what the project needs, builds it with warnings as errors and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset ci >/dev/null
cmake --build --preset ci
scripts/format-check.sh
ctest --preset ci "$@"
