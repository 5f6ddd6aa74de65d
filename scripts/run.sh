#!/usr/bin/env bash
# Installs what the project needs, builds the program and starts it.
# Arguments are handed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target Nuvar_Pos_Zelvi_ip
exec build/default/src/app/Nuvar_Pos_Zelvi_ip "$@"
