#!/usr/bin/env bash
# tools/setup.sh [--no-build] [PACKAGE...]
# Installs what the build and the tests need on Debian 12 or 13 (skipping
# what is there), and any further packages named; then, unless --no-build,
# configures and builds into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

build=1
if [ "${1:-}" = --no-build ]; then
    build=0
    shift
fi

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-private-dev qt6-multimedia-dev qt6-qpa-plugins libgl-dev
    fonts-ipafont-gothic fonts-noto-cjk
    # the desktop check (tests/desktop): a real X server, window manager and AT-SPI
    xvfb xauth openbox dbus at-spi2-core python3-pyatspi xdotool x11-utils
    # the screen reader check: Orca speaking Japanese into a file
    orca speech-dispatcher speech-dispatcher-audio-plugins locales x11-xkb-utils
    appstream desktop-file-utils man-db qt6-translations-l10n
    python3
    # the layout check (tools/check-format.sh): Debian 12's is version 14
    clang-format
    "$@"
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

# Orca speaks Japanese only in a Japanese locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    "${sudo[@]}" locale-gen
fi

# The developer build: tests, benchmarks and tools; CI also fails on warnings.
if ((build)); then
    werror=OFF
    [ "${CI:-}" = true ] && werror=ON
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DBUILD_TESTING=ON -DVARDO_BUILD_BENCH=ON -DVARDO_BUILD_TOOLS=ON -DVARDO_WERROR=$werror
    cmake --build build
fi
