#!/usr/bin/env bash
# Builds and runs the benchmarks. Arguments go to Google Benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target bench_settings
exec build/default/bench/bench_settings "$@"
