#!/usr/bin/env bash
# Installs what is needed, builds the trainer and starts it with the sample French list.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev
# The installer records the language of the program's texts machine-wide; on a development
# machine nothing has, so the Dutch pack is chosen unless a language is already set.
tarnreg=build/dev/tools/tarnreg/tarnreg
if ! "$tarnreg" get HKLM '\Software\Tarnwick' Language >/dev/null 2>&1; then
    "$tarnreg" set HKLM '\Software\Tarnwick' Language string Nederlands
fi
exec build/dev/tarnwick "$PWD/samples/Frans.wdl"
