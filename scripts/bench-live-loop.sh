#!/usr/bin/env bash
# How late the window's event loop runs while the live trace runs (bench/app/live_loop_bench.cpp):
# the real program offscreen against orvel-sim paced at 19200 and 9600 baud, 251 and 1001 points.
#
#   scripts/bench-live-loop.sh [--seconds S] [--baseline REV]
#
# --baseline REV also builds revision REV in a detached worktree beside this one (with this tree's
# benchmark source) and measures it first, for a before/after table.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=20
baseline=""
while [ $# -gt 0 ]; do
    case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --baseline) baseline=$2; shift 2 ;;
    *) echo "usage: $0 [--seconds S] [--baseline REV]" >&2; exit 2 ;;
    esac
done

export QT_QPA_PLATFORM=offscreen
jobs=2

build_bench() {
    cmake -S "$1" -B "$1/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$1/build" -j"$jobs" --target bench_live_loop orvel-sim >/dev/null
}

if [ -n "$baseline" ]; then
    dir="$(cd .. && pwd)/$(basename "$(pwd)")-base-$baseline"
    [ -d "$dir" ] || git worktree add --detach "$dir" "$baseline" >/dev/null
    cp bench/app/live_loop_bench.cpp bench/app/CMakeLists.txt "$dir/bench/app/"
    build_bench "$dir"
    echo "== before: $baseline"
    "$dir/build/bin/bench_live_loop" --seconds "$seconds"
fi
build_bench .
echo "== this tree"
build/bin/bench_live_loop --seconds "$seconds"
