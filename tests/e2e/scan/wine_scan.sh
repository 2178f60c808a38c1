#!/usr/bin/env bash
# brisko-cli.exe on the real registry under Wine: plants broken App Paths and Software entries (and a
# sound one) in the prefix, scans before and after, and checks that exactly the planted broken entries
# are new among the findings.
#   wine_scan.sh PATH/TO/brisko-cli.exe
set -euo pipefail
cli=$1
here=$(cd "$(dirname "$0")" && pwd)
run=$here/../../../scripts/wine-run.sh
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || { echo "wine64 is missing"; exit 77; }
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

own_prefix=""
if [ -z "${WINEPREFIX:-}" ]; then
    WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/brisko-e2e.XXXXXX")
    export WINEPREFIX
    own_prefix=$WINEPREFIX
fi
work=$(mktemp -d)
cleanup() {
    "$wine" reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\brisko-e2e-missing.exe' /f \
        >/dev/null 2>&1 || true
    "$wine" reg delete 'HKCU\Software\BriskoE2E' /f >/dev/null 2>&1 || true
    rm -rf "$work"
    if [ -n "$own_prefix" ]; then
        /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
        rm -rf "$own_prefix"
    fi
}
trap cleanup EXIT

scan() {
    "$run" "$cli" scan --json --categories sftloc,deepscan | tr -d '\r' | grep -v '"summary"' | sort
}

scan >"$work/before"
"$wine" reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\brisko-e2e-missing.exe' /ve \
    /d 'C:\BriskoE2E\missing.exe' /f >/dev/null
"$wine" reg add 'HKCU\Software\BriskoE2E' /v Tool /d 'C:\BriskoE2E\tool.exe /quiet' /f >/dev/null
"$wine" reg add 'HKCU\Software\BriskoE2E' /v Editor /d 'C:\windows\notepad.exe' /f >/dev/null
scan >"$work/after"

comm -13 "$work/before" "$work/after" >"$work/new"
cat >"$work/expected" <<'JSON'
{"engine":0,"category":0,"categoryName":"Software Locations","key":"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\brisko-e2e-missing.exe","value":"","data":"C:\\BriskoE2E\\missing.exe","file":false}
{"engine":0,"category":11,"categoryName":"Deep Scan","key":"HKEY_CURRENT_USER\\Software\\BriskoE2E","value":"Tool","data":"C:\\BriskoE2E\\tool.exe /quiet","file":false}
JSON
sort -o "$work/expected" "$work/expected"
if ! diff -u "$work/expected" "$work/new"; then
    echo "FAIL: the new findings are not exactly the planted broken entries"
    exit 1
fi
echo "OK: found exactly the planted broken entries"
