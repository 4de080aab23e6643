#!/usr/bin/env bash
# Soak run (not part of the suite): the whole program, offscreen, against orvel-sim with its faults
# mixed at random while the live loop runs and a scripted user works the panel, for SECONDS
# (default 1800). Prints crashes, hangs, resident memory at the start and the end and whether the
# settings file written at exit reads back clean; exits non-zero when any of them is wrong.
#
#   scripts/soak.sh [SECONDS] [SEED]
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-1800}
seed=${2:-$RANDOM}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD} CCACHE_NOHASHDIR=1
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
    >/dev/null || exit 2
cmake --build build -j"${ORVEL_SOAK_BUILD_JOBS:-2}" --target orvel-soak orvel-sim || exit 2

QT_QPA_PLATFORM=offscreen build/bin/orvel-soak "$seconds" "$seed"
rc=$?
if [ $rc -gt 128 ]; then
    echo "soak: CRASH (signal $((rc - 128)))"
elif [ $rc -eq 3 ]; then
    echo "soak: HANG"
elif [ $rc -eq 0 ]; then
    echo "soak: no crash, no hang"
fi
exit $rc
