#!/usr/bin/env bash
# Installs what is needed and checks everything a change can break:
#  1. the quick start (tools/run.sh) from this checkout, its trainer reporting and closing;
#  2. the optimised build with its tests and benchmarks, each benchmark run once;
#  3. the libFuzzer build, each fuzz target run briefly over its seed corpus;
#  4. the build under AddressSanitizer and UndefinedBehaviorSanitizer: every test offscreen, then
#     the tests labelled x11 on an X server of their own with a window manager.
# Every step has a throw-away settings store and XDG folders.
set -euo pipefail
cd "$(dirname "$0")/.."
# Seconds each fuzz target runs; every target found is run, so the step grows with them.
readonly FuzzSeconds=${TARNWICK_FUZZ_SECONDS:-15}
tools/install-deps.sh

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
export TARNWICK_ALSA_DEVICE=null

# The quick start, as the README gives it: the trainer prints its title, word count and rows and
# closes. Its pack follows the desktop's language unless the store already names one.
quick_start() { # STORE LOCALE EXPECTED-COUNT
    TARNWICK_REGISTRY_DIR=$1 LC_ALL="" LC_MESSAGES="" LANG=$2 TARNWICK_TEST_REPORT=1 \
        tools/with-x11.sh tools/run.sh 2>"$scratch/quick.err" | tee "$scratch/quick.out" \
        || { cat "$scratch/quick.err"; echo "quick start: failed"; exit 1; }
    for line in "title: Tarnwick - Frans" "count: $3" "rows: 22"; do
        grep -qxF "$line" "$scratch/quick.out" \
            || { cat "$scratch/quick.err"; echo "quick start: no \"$line\" printed"; exit 1; }
    done
    ! grep '^message:' "$scratch/quick.err" || { echo "quick start: a message was shown"; exit 1; }
}
mkdir -p "$scratch/store-en" "$scratch/store-nl"
quick_start "$scratch/store-en" C.UTF-8 "20 words"
quick_start "$scratch/store-en" nl_NL.UTF-8 "20 words"
quick_start "$scratch/store-nl" nl_NL.UTF-8 "20 woorden"
echo "Quick start: passed"

export QT_QPA_PLATFORM=offscreen
TARNWICK_REGISTRY_DIR=$scratch/store
export TARNWICK_REGISTRY_DIR
mkdir -p "$TARNWICK_REGISTRY_DIR"

cmake --preset release >/dev/null
cmake --build --preset release
for bench in $(find build/release/tools/bench -maxdepth 1 -type f -executable -name 'bench_*'); do
    TARNWICK_BENCH_QUICK=1 "$bench" >/dev/null || { echo "benchmark $bench failed"; exit 1; }
done

# Each target's new inputs go to a scratch folder; a crash, leak, timeout or abort is a finding.
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_targets
findings=0
for fuzzer in $(find build/fuzz/tests -maxdepth 1 -type f -executable -name 'fuzz_*Fuzz' | sort); do
    name=${fuzzer##*/fuzz_}
    name=${name%Fuzz}
    work=$scratch/fuzz/$name
    mkdir -p "$work/new"
    if "$fuzzer" -max_total_time="$FuzzSeconds" -timeout=25 -artifact_prefix="$work/" \
        "$work/new" "tests/corpus/$name" >"$work/log" 2>&1; then
        echo "Fuzz $name: no finding in ${FuzzSeconds}s ($(ls "$work/new" | wc -l) new inputs)"
    else
        findings=$((findings + 1))
        tail -n 60 "$work/log"
        mkdir -p build/fuzz/findings
        cp "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* build/fuzz/findings/ 2>/dev/null || true
        echo "Fuzz $name: FINDING (inputs kept in build/fuzz/findings/)"
    fi
done
[ "$findings" -eq 0 ] || { echo "$findings fuzz target(s) found a fault"; exit 1; }

cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan -LE x11
# One server for all of them: they run one at a time, as focus and stacking are shared.
tools/with-x11.sh ctest --preset asan -L x11 --parallel 1
