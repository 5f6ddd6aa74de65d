#!/usr/bin/env bash
# Installs what the project needs, builds it with warnings as errors and runs every test:
# the unit, widget and system tests; the Debian package (built, checked by lintian and the
# desktop validators, installed, started by an ordinary user, purged); the unit and widget
# tests again under AddressSanitizer and UndefinedBehaviorSanitizer; and each fuzz target for
# a minute.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
# The tests read the program's texts in its own language, whatever this desktop's is.
export LC_ALL=C.UTF-8
unset LANGUAGE LC_MESSAGES
cmake --preset ci >/dev/null
cmake --build --preset ci
scripts/format-check.sh
ctest --preset ci "$@"

scripts/package.sh >/dev/null
scripts/check-package.sh

cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
ctest --preset sanitize --label-exclude system "$@"

scripts/fuzz.sh "${ZELVI_FUZZ_SECONDS:-60}"
