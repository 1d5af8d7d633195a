#!/usr/bin/env bash
# Installs what is missing, builds, and starts the front panel with the simulated instrument on COM1.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
bin=build/default
"$bin/tools/dxs4820-sim" --dir "$bin" --port 1 &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
# Wait for the simulated instrument's COM1 link before the panel looks for it.
for _ in $(seq 50); do [ -e "$bin/COM1" ] && break; sleep 0.1; done
"$bin/dxs4820"
