#!/usr/bin/env bash
# Applying a profile through our NetworkManager backend against nmcli, on a real
# NetworkManager in the test namespaces. Needs root. Arguments: number of rounds, and "cli"
# to time the program's own command line (--apply NAME --all) instead of the backend.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target bench_networkmanager Nuvar_Pos_Zelvi_ip
rounds=${1:-9}
if [ "${2:-}" = cli ]; then
  exec scripts/nm-harness.sh build/default/bench/bench_networkmanager "$rounds" \
    "$PWD/build/default/src/app/Nuvar_Pos_Zelvi_ip"
fi
exec scripts/nm-harness.sh build/default/bench/bench_networkmanager "$rounds"
