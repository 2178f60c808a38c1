#!/bin/sh
# Builds the shortcut reader's fuzz target with clang (libFuzzer, AddressSanitizer, UBSan) and runs it.
# Usage: run_shelllink_fuzz.sh SECONDS [BUILD_DIR]
# Needs clang with its runtime libraries (Debian: clang libclang-rt-14-dev). Findings (crash-*, leak-*,
# timeout-* files) go to BUILD_DIR/findings; new inputs to BUILD_DIR/corpus, seeded from corpus/shelllink.
set -eu
seconds=${1:?usage: $0 SECONDS [BUILD_DIR]}
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../../src" && pwd)
out=${2:-$here/../../build/fuzz-shelllink}
mkdir -p "$out/corpus" "$out/findings"
cxx=${CXX:-clang++}
"$cxx" -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$src" "$here/ShellLinkFuzz.cpp" "$src/platform/ShellLink.cpp" "$src/platform/Text.cpp" \
    -o "$out/shelllink_fuzz"
cp -n "$here/corpus/shelllink/"* "$out/corpus/" 2>/dev/null || true
cd "$out/findings"
exec "$out/shelllink_fuzz" -max_total_time="$seconds" -jobs=1 -workers=1 -max_len=8192 \
    -print_final_stats=1 "$out/corpus"
