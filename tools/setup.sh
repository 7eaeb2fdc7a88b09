#!/usr/bin/env bash
# Installs what the build needs on Debian 12 (skipping what is there),
# then configures and builds into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins libgl-dev
    fonts-ipafont-gothic
    appstream desktop-file-utils
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
        || missing+=("$package")
done

if ((${#missing[@]})); then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

# The developer build: tests, benchmarks and tools; CI also fails on warnings.
werror=OFF
[ "${CI:-}" = true ] && werror=ON
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBUILD_TESTING=ON -DVARDO_BUILD_BENCH=ON -DVARDO_BUILD_TOOLS=ON -DVARDO_WERROR=$werror
cmake --build build
