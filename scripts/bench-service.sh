#!/usr/bin/env bash
# Load on the address service, on loopback: peak memory and the slowest normal request under
# an endless body, 2,000 requests at once and 500 slow clients, and its behaviour when it runs
# out of file descriptors (bench/service_load.cpp says what each part does). Needs root to
# raise the descriptor limit for 2,000 connections.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target zelvi-ip-service service_load >/dev/null
build/default/bench/service_load build/default/src/service/zelvi-ip-service
