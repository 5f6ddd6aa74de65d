#!/usr/bin/env bash
# Changes on trial on a real NetworkManager with a neighbour on the link
# (bench/trial_timings.sh): the address probe, the rollback for an address in use, and
# NetworkManager's own rollback after the program was killed. Needs root. Argument: rounds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target Nuvar_Pos_Zelvi_ip zelvi-ip-service
ZELVI_NM_SERVICE="$PWD/build/default/src/service/zelvi-ip-service" ZELVI_NM_NEIGHBOUR=1 \
  exec scripts/nm-harness.sh bash bench/trial_timings.sh \
  "$PWD/build/default/src/app/Nuvar_Pos_Zelvi_ip" "${1:-5}"
