#!/usr/bin/env bash
# Runs a Windows executable under the 64-bit Wine loader: the CMAKE_CROSSCOMPILING_EMULATOR of the
# windows preset, so `ctest` and custom commands run the .exe files as if they were native.
#
#   scripts/wine-run.sh PROGRAM.exe [ARGS...]
#
# With WINEPREFIX set (the test script sets one fresh prefix per run and keeps `wineserver -p` running so
# every test process starts in about a second), the program runs in that prefix, which is initialised
# first if it is new. Without it, the program gets a fresh prefix of its own that is initialised (about
# 10 s), used once and removed. The exit status is the program's.
set -u

wine_dir=/usr/lib/wine
if [ $# -lt 1 ]; then
    echo "usage: $0 PROGRAM.exe [ARGS...]" >&2
    exit 2
fi

export WINEDEBUG=-all
# No Mono or Gecko installer dialogs: nothing here needs .NET or the HTML engine, and a console test
# must never wait for a window.
export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

# wineboot -i: creates or updates the prefix and waits until it is ready; its own chatter (created the
# configuration directory, the 32-bit helper it cannot start here) is not the program's output.
init_prefix() {
    if ! "$wine_dir/wine64" wineboot -i >/dev/null 2>&1; then
        echo "wine-run.sh: could not initialise the Wine prefix $WINEPREFIX" >&2
        return 1
    fi
}

if [ -n "${WINEPREFIX:-}" ]; then
    # A prefix Wine has never started in has no .update-timestamp. Tests that ctest runs side by side
    # share the prefix, so only one of them initialises it.
    if [ ! -e "$WINEPREFIX/.update-timestamp" ]; then
        mkdir -p "$WINEPREFIX"
        (
            flock 9
            [ -e "$WINEPREFIX/.update-timestamp" ] || init_prefix
        ) 9>"$WINEPREFIX/.brisko-init.lock" || exit 125
    fi
    exec "$wine_dir/wine64" "$@"
fi

WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/brisko-wine.XXXXXX") || exit 125
export WINEPREFIX
cleanup() {
    "$wine_dir/wineserver" -k >/dev/null 2>&1
    "$wine_dir/wineserver" -w >/dev/null 2>&1
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
init_prefix || exit 125
"$wine_dir/wine64" "$@"
status=$?
exit $status
