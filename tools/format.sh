#!/usr/bin/env bash
# Fails when a C++ file of the programs, the tools or the tests is not formatted as .clang-format
# says; with --fix it formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(find core platform widgets sound exercises helpviewer print grid kbtool \
                          dialogs mainwindow setup tests tools \
                          \( -name '*.cpp' -o -name '*.h' \) -type f | sort)
if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${files[@]}"
else
    clang-format --dry-run -Werror "${files[@]}"
fi
