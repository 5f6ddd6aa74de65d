#!/usr/bin/env bash
# The time from the command to the first answer at the new address, through systemd-networkd
# and through NetworkManager, side by side in one run (bench/first_ping.sh inside each harness);
# then how long the address is away while --confirm makes a change lasting (bench/confirm_gap.sh).
# Needs root. Argument: rounds (10).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target Nuvar_Pos_Zelvi_ip
program=$PWD/build/default/src/app/Nuvar_Pos_Zelvi_ip
scripts/networkd-harness.sh bash bench/first_ping.sh "$program" networkd "${1:-10}"
scripts/nm-harness.sh bash bench/first_ping.sh "$program" networkmanager "${1:-10}"
scripts/networkd-harness.sh bash bench/confirm_gap.sh "$program" networkd "${1:-10}"
scripts/nm-harness.sh bash bench/confirm_gap.sh "$program" networkmanager "${1:-10}"
