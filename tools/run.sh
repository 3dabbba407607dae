#!/usr/bin/env bash
# Installs what is needed, builds the trainer and the store tool, and starts the trainer with the
# sample French list. Arguments, if any, replace the list.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
# The debug build is the quickest to a usable program; only what is started here is built.
preset=dev
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target tarnwick tarnreg
# The build writes where it puts each program (the folders move as the sources do).
# shellcheck source=/dev/null
source "build/$preset/programs.env"
# The installer records the language of the program's texts machine-wide; on a development
# machine nothing has, so the desktop's language picks the pack: Dutch for nl*, else English.
if ! "$TARNREG" get HKLM '\Software\Tarnwick' Language >/dev/null 2>&1; then
    locale=${LC_ALL:-${LC_MESSAGES:-${LANG:-}}}
    language=English
    [[ $locale == nl* ]] && language=Nederlands
    "$TARNREG" set HKLM '\Software\Tarnwick' Language string "$language"
fi
[ $# -eq 0 ] && set -- "$PWD/samples/Frans.wdl"
exec "$TARNWICK" "$@"
