#!/usr/bin/env bash
# Installs what is needed, builds everything under AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test offscreen against a throw-away settings store.
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
