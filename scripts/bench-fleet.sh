#!/usr/bin/env bash
# The shop's Ansible play over several tills (bench/fleet_timings.sh), each till with a
# NetworkManager and an sshd of its own: the play's time and the control node's processor time
# per till, for 3, 10 and 20 tills. Needs root.
# Arguments: rounds (3), tills ("3 10 20").
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target Nuvar_Pos_Zelvi_ip
for tills in ${2:-3 10 20}; do
  ZELVI_FLEET_TILLS=$tills scripts/fleet-harness.sh bash bench/fleet_timings.sh \
    "$PWD/build/default/src/app/Nuvar_Pos_Zelvi_ip" "${1:-3}"
done
