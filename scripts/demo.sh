#!/usr/bin/env bash
# The main job: builds the brisko command, creates a fresh demo machine and scans it.
#   scripts/demo.sh [ARGS...]   runs `brisko ARGS...` with the demo machine chosen (BRISKO_MACHINE)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

cmake --preset native >/dev/null
cmake --build --preset native --target brisko >/dev/null

brisko=build/native/src/cli/brisko
machine=build/demo-machine
# A fresh demo machine each run, so every run shows the same machine as documented.
rm -rf "$machine"
"$brisko" machine create "$machine" --preset demo >/dev/null
export BRISKO_MACHINE=$machine
if [ $# -gt 0 ]; then
    exec "$brisko" "$@"
fi
exec "$brisko" scan
