#!/usr/bin/env bash
# The change on trial under random concurrency (tests/core/trial_stress.py): N rounds of random
# commands, kills and stops against simulated computers, four at a time; prints the rounds, the
# violations found and the rate. Argument: rounds (10000 by default); more options are passed on
# (--seed S, --worlds W, --outcomes).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target Nuvar_Pos_Zelvi_ip
rounds="${1:-10000}"
shift || true
export LC_ALL=C.UTF-8
exec python3 tests/core/trial_stress.py --program "$PWD/build/default/src/app/Nuvar_Pos_Zelvi_ip" \
  --rounds "$rounds" --worlds 4 "$@"
