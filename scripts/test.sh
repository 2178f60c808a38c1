#!/usr/bin/env bash
# Builds both presets and runs every test: the native suites against the simulated machine, then the
# Windows executables under Wine against the real API, in one fresh Wine prefix for the whole run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

cmake --preset native >/dev/null
cmake --build --preset native
cmake --preset windows >/dev/null
cmake --build --preset windows

status=0
ctest --preset native -j 2 || status=1

# One prefix for the run, and one wineserver kept alive through it, so each test process starts in about
# a second instead of ten.
export WINEPREFIX
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/brisko-wine.XXXXXX")
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
    WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
# The persistent server first: once wineboot has started an ordinary one, -p can no longer take over.
/usr/lib/wine/wineserver -p || true
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
ctest --preset windows || status=1

exit $status
