#!/usr/bin/env bash
# Installs what is needed, builds everything under AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test offscreen against a throw-away settings store; then builds the optimised
# build with its tests and benchmarks and runs each benchmark once, so that neither can rot.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
export QT_QPA_PLATFORM=offscreen
TARNWICK_REGISTRY_DIR=$(mktemp -d)
export TARNWICK_REGISTRY_DIR
trap 'rm -rf "$TARNWICK_REGISTRY_DIR"' EXIT
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan
cmake --preset release >/dev/null
cmake --build --preset release
for bench in $(find build/release/tools/bench -maxdepth 1 -type f -executable -name 'bench_*'); do
    TARNWICK_BENCH_QUICK=1 "$bench" >/dev/null
done
