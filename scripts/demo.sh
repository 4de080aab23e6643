#!/usr/bin/env bash
# Installs what is missing, builds, and starts Orvel on the simulated analyzer.
#
#   ./scripts/demo.sh [orvel-sim options]      e.g. ./scripts/demo.sh --model 420
#
# The simulated analyzer (orvel-sim) runs on a pseudo-terminal that is linked to a stable path, and
# Orvel's COM1 is pointed at that path through ORVEL_COM1. Press the Hold button in Orvel to start
# the live trace. The simulator is stopped when Orvel exits.
#
# Orvel is a window program: it needs a display (DISPLAY or WAYLAND_DISPLAY). Without one the
# script builds and then says so; set ORVEL_DEMO_XVFB=1 to run it inside a virtual X server
# (xvfb-run) instead, which is only useful as a smoke test since nothing can be seen.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs" --target Orvel orvel-sim

bin=build/bin
if [[ ! -x $bin/Orvel || ! -x $bin/orvel-sim ]]; then
    echo "demo: the build did not produce $bin/Orvel and $bin/orvel-sim" >&2
    exit 1
fi

run_prefix=()
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    if [[ ${ORVEL_DEMO_XVFB:-0} == 1 ]]; then
        echo "demo: no display; running Orvel inside xvfb-run (nothing will be visible)."
        run_prefix=(xvfb-run -a -s "-screen 0 1280x1024x24")
    else
        cat >&2 <<'EOF'
demo: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).
      Orvel is built (build/bin/Orvel) but it is a window program: run this script again
      from a desktop session, or over "ssh -X". To run it inside a virtual X server anyway
      (nothing will be visible), use:  ORVEL_DEMO_XVFB=1 ./scripts/demo.sh
EOF
        exit 2
    fi
fi

port_link="${ORVEL_DEMO_PORT:-${XDG_RUNTIME_DIR:-/tmp}/orvel-demo-com1}"

# The simulator runs until its standard input closes, so it is fed from a pipe this script holds.
coproc SIM { exec "$bin/orvel-sim" --baud 19200 --link "$port_link" "$@" 2>&1; }
sim_pid=$SIM_PID
stop_sim() {
    if kill -0 "$sim_pid" 2>/dev/null; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
}
trap stop_sim EXIT

device=""
if ! read -r -t 10 device <&"${SIM[0]}" || [[ -z $device ]]; then
    echo "demo: orvel-sim did not start" >&2
    exit 1
fi
# Keep reading what the simulator prints so that it never blocks on a full pipe. (A background
# job does not inherit the coprocess's descriptors, so it gets a copy.)
exec {sim_out}<&"${SIM[0]}"
cat <&"$sim_out" >/dev/null &

echo "demo: simulated analyzer on $device (linked as $port_link); Orvel's COM1 points at it."
echo "demo: press the Hold button in Orvel to start the live trace."
status=0
ORVEL_COM1="$port_link" "${run_prefix[@]}" "$bin/Orvel" || status=$?
exit "$status"
