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
export BRISKO_MACHINE=$machine
if [ $# -gt 0 ]; then
    # Other commands work on the machine the last run left, so `stats` or `logs` show that scan.
    [ -f "$machine/machine.json" ] || "$brisko" machine create "$machine" --preset demo >/dev/null
    exec "$brisko" "$@"
fi
# The main job scans a fresh demo machine, so every run shows the machine as documented.
rm -rf "$machine"
"$brisko" machine create "$machine" --preset demo >/dev/null
exec "$brisko" scan
