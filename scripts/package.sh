#!/usr/bin/env bash
# Builds the Debian package of the program into build/package/ (CPack's DEB generator).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset package >/dev/null
cmake --build --preset package
rm -f build/package/*.deb
(cd build/package-build && cpack -G DEB >/dev/null)
ls build/package/*.deb
