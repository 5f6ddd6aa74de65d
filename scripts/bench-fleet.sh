#!/usr/bin/env bash
# The shop's Ansible play over several tills (bench/fleet_timings.sh), each till with a
# NetworkManager and an sshd of its own: one play for all against one play per till. Needs root.
# Arguments: rounds (3), tills (3).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target Nuvar_Pos_Zelvi_ip
ZELVI_FLEET_TILLS="${2:-3}" exec scripts/fleet-harness.sh bash bench/fleet_timings.sh \
  "$PWD/build/default/src/app/Nuvar_Pos_Zelvi_ip" "${1:-3}"
