#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz and runs each one in turn, one job, for SECONDS
# (default 60). Prints runs, coverage and crashes per target; exits non-zero on any crash.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]      e.g. scripts/fuzz.sh 600 settings_text
#
# New inputs go to build-fuzz/corpus/TARGET (the committed seeds in tests/fuzz/corpus are only
# read); a crashing input lands in build-fuzz/artifacts. Copy an input worth keeping into
# tests/fuzz/corpus/TARGET so that the normal suite replays it.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
all_targets=(screen_record query_reply measurement_result number_text user_correction settings_text
    trace_file recall_reply hard_copy)

[ $# -gt 0 ] && targets=("$@") || targets=("${all_targets[@]}")

cc=${ORVEL_FUZZ_CC:-clang-14}
cxx=${ORVEL_FUZZ_CXX:-clang++-14}
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

cmake -S . -B build-fuzz -G Ninja -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" \
    "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
    -DORVEL_FUZZ=ON -DORVEL_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"${ORVEL_FUZZ_BUILD_JOBS:-2}" --target fuzz_targets

mkdir -p build-fuzz/artifacts
status=0
printf '%-20s %12s %8s %8s %8s\n' target runs cov ft crashes
for t in "${targets[@]}"; do
    work=build-fuzz/corpus/$t
    mkdir -p "$work"
    log=build-fuzz/fuzz_$t.log
    before=$(find build-fuzz/artifacts -name "$t-*" | wc -l)
    # A crash ends the run early; its input is kept, and the next target still runs.
    build-fuzz/bin/fuzz_"$t" -max_total_time="$seconds" -max_len=8192 \
        -print_final_stats=1 -dict=tests/fuzz/"$t".dict \
        -artifact_prefix=build-fuzz/artifacts/"$t"- "$work" tests/fuzz/corpus/"$t" \
        >"$log" 2>&1 || true
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    after=$(find build-fuzz/artifacts -name "$t-*" | wc -l)
    crashes=$((after - before))
    printf '%-20s %12s %8s %8s %8s\n' "$t" "${runs:-?}" "${cov:-?}" "${ft:-?}" "$crashes"
    if [ "$crashes" -ne 0 ] || [ -z "${runs:-}" ]; then
        status=1
        echo "  see $log" >&2
    fi
done
exit $status
