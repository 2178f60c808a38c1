#!/bin/bash
# Re-checks the verdict table of the .reg reader (tests/data/regfile/verdicts.txt) against the registry
# editor of Wine: every case goes into its own key of one import file (one file per header kind, and one
# per raw-header case), the files are imported with "regedit /s", the tree is exported once with
# "regedit /e", and each case's part of the export is compared with the table.
#
# Usage: check_verdicts.sh [--print] [verdicts.txt]
#   --print  print what Wine produced for every case, in the table's notation, instead of comparing.
# Exit status: 0 all cases agree, 1 some differ, 77 Wine is not installed (ctest treats it as skipped).
set -u
print=0
if [ "${1:-}" = "--print" ]; then print=1; shift; fi
here=$(cd "$(dirname "$0")" && pwd)
table=${1:-$here/../../data/regfile/verdicts.txt}
wine=${WINE64:-/usr/lib/wine/wine64}
[ -x "$wine" ] || { echo "wine64 not found: skipped"; exit 77; }

work=$(mktemp -d /tmp/brisko-verdicts.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() { "$(dirname "$wine")/wineserver" -k >/dev/null 2>&1; rm -rf "$work"; }
trap cleanup EXIT

root='HKEY_CURRENT_USER\Software\BriskoVerdicts'
# Splits the table into import files and expectations ($work/in-*.txt, $work/expect/NAME).
mkdir -p "$work/expect"
: >"$work/in-v5.txt"
: >"$work/in-r4.txt"
ROOT=$root awk -v work="$work" '
function replace(s, from, to,   i, r) {
    r = ""
    while ((i = index(s, from)) > 0) { r = r substr(s, 1, i - 1) to; s = substr(s, i + length(from)) }
    return r s
}
function subst(s,   short) {
    s = replace(replace(s, "{SP}", " "), "{TAB}", "\t")
    short = "HKCU" substr(root, length("HKEY_CURRENT_USER") + 1)
    s = replace(s, "$K", root "\\" name_)
    s = replace(s, "$S", short "\\" name_)
    return replace(s, "$L", tolower(root "\\" name_))
}
function flush(   i, file, ef) {
    if (name_ == "") return
    if (rawcount > 0) { file = work "/in-raw-" name_ ".txt"; for (i = 1; i <= rawcount; i++) print raw[i] > file }
    else { file = work "/in-" hdr ".txt" }
    print "[" root "\\" name_ "]" > file
    for (i = 1; i <= incount; i++) print inl[i] > file
    print "" > file
    if (skip) return
    ef = work "/expect/" name_
    printf "" > ef
    for (i = 1; i <= (haswine ? winecount : outcount); i++) print (haswine ? wout[i] : out[i]) > ef
    close(ef)
    if (rawcount > 0) close(file)
}
BEGIN { root = ENVIRON["ROOT"] }
/^case / { flush(); name_ = $2; hdr = "v5"; rawcount = incount = outcount = winecount = haswine = skip = 0; next }
/^header regedit4/ { hdr = "r4"; next }
/^rawheader/ { s = $0; sub(/^rawheader ?/, "", s); raw[++rawcount] = subst(s); next }
/^<( |$)/ { s = $0; sub(/^< ?/, "", s); inl[++incount] = subst(s); next }
/^>( |$)/ { s = $0; sub(/^> ?/, "", s); out[++outcount] = subst(s); next }
/^wine-skip/ { skip = 1; next }
/^wine>/ { haswine = 1; s = $0; sub(/^wine> ?/, "", s); if (s != "") wout[++winecount] = subst(s); next }
END { flush() }
' "$table"

# Prefixes the headers; the 5.00 file goes in UTF-16LE as the editor writes it, REGEDIT4 stays 8-bit.
{ printf 'Windows Registry Editor Version 5.00\n\n'; cat "$work/in-v5.txt"; } | sed 's/$/\r/' |
    iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$work/v5.reg"
{ printf 'REGEDIT4\n\n'; cat "$work/in-r4.txt"; } | sed 's/$/\r/' >"$work/r4.reg"
for f in "$work"/in-raw-*.txt; do sed 's/$/\r/' "$f" >"${f%.txt}.reg"; done

"$wine" wineboot -i >/dev/null 2>&1
"$(dirname "$wine")/wineserver" -p
cd "$work"
for f in v5.reg r4.reg in-raw-*.reg; do "$wine" regedit /s "$f" >/dev/null 2>&1; done
"$wine" regedit /e out.reg "$root" >/dev/null 2>&1
iconv -f UTF-16LE -t UTF-8 out.reg | sed '1s/^\xef\xbb\xbf//; s/\r$//' >export.txt

# Each case's sections of the export: "[root\NAME]" and "[root\NAME\...]", blank lines dropped.
mkdir -p actual
ROOT=$root awk -v work="$work" '
BEGIN { root = ENVIRON["ROOT"] "\\" }
/^\[/ { n = substr($0, 2); cur = ""; if (index(n, root) == 1) { n = substr(n, length(root) + 1); sub(/[\\\]].*/, "", n); cur = n } }
cur != "" && $0 != "" { print > (work "/actual/" cur) }
' export.txt

status=0
for exp in expect/*; do
    name=${exp#expect/}
    act=actual/$name
    [ -f "$act" ] || : >"$act"
    if [ $print = 1 ]; then
        echo "case $name"
        ROOT="$root\\$name" awk '{ r = ENVIRON["ROOT"]; i = index($0, r); if (i) $0 = substr($0, 1, i - 1) "$K" substr($0, i + length(r)); print "> " $0 }' "$act"
        echo
    elif ! cmp -s "$exp" "$act"; then
        echo "DIFFERS: $name"; diff "$exp" "$act" | sed 's/^/    /'
        status=1
    fi
done
[ $status = 0 ] && [ $print = 0 ] && echo "all $(ls expect | wc -l) cases agree with Wine's regedit"
exit $status
