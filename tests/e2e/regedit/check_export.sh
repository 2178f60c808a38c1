#!/bin/bash
# Imports tests/data/regfile/planted.reg (values of every type) with Wine's regedit, exports the key with
# "regedit /e" and compares the export byte for byte with tests/data/regfile/wine-export.reg, the golden
# file that the native tests read back and that our writer must reproduce exactly.
#
# Usage: check_export.sh [--update]   (--update rewrites the golden file from Wine's export)
# Exit status: 0 same bytes, 1 different, 77 Wine is not installed (ctest treats it as skipped).
set -u
here=$(cd "$(dirname "$0")" && pwd)
data=$here/../../data/regfile
wine=${WINE64:-/usr/lib/wine/wine64}
[ -x "$wine" ] || { echo "wine64 not found: skipped"; exit 77; }

work=$(mktemp -d /tmp/brisko-export.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() { "$(dirname "$wine")/wineserver" -k >/dev/null 2>&1; rm -rf "$work"; }
trap cleanup EXIT

# The editor reads 8-bit files in the prefix's ANSI code page, so the UTF-8 file goes in as UTF-16LE.
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$data/planted.reg"; } >"$work/planted.reg"
"$wine" wineboot -i >/dev/null 2>&1
"$(dirname "$wine")/wineserver" -p
cd "$work"
"$wine" regedit /s planted.reg >/dev/null 2>&1
"$wine" regedit /e export.reg 'HKEY_CURRENT_USER\Software\BriskoExport' >/dev/null 2>&1
[ -s export.reg ] || { echo "regedit /e wrote nothing"; exit 1; }

if [ "${1:-}" = "--update" ]; then cp export.reg "$data/wine-export.reg"; echo "updated"; exit 0; fi
if cmp -s export.reg "$data/wine-export.reg"; then
    echo "Wine's export matches wine-export.reg"
    exit 0
fi
echo "Wine's export differs from wine-export.reg:"
diff <(iconv -f UTF-16LE -t UTF-8 "$data/wine-export.reg") <(iconv -f UTF-16LE -t UTF-8 export.reg) | head -40
exit 1
