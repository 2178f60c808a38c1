#!/usr/bin/env bash
# Installs every Debian package the builds, tests and benchmarks need. Idempotent, and silent when
# everything is already there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build git
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    nlohmann-json3-dev libcli11-dev
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
    wine wine64 xvfb
    clang-format
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
