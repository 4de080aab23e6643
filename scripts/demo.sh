#!/usr/bin/env bash
# Installs what is missing, builds, and starts Orvel on the simulated analyzer.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"

if [[ ! -x build/bin/Orvel ]]; then
    echo "Built. The Orvel window is not there yet; run the suite with ./scripts/test.sh."
    exit 0
fi
