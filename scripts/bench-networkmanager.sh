#!/usr/bin/env bash
# Applying a profile through our NetworkManager backend against nmcli, on a real
# NetworkManager in the test namespaces. Needs root. Argument: number of rounds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target bench_networkmanager
exec scripts/nm-harness.sh build/default/bench/bench_networkmanager "$@"
