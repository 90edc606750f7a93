#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Set-up, build, and run or test Kestro Utilities on Debian 12 / Ubuntu.
#   scripts/dev.sh run    install what is missing, build, start the desktop program
#   scripts/dev.sh test   install what is missing, build, run every test
#   scripts/dev.sh package  install what is missing, build the Debian package
#                           build-deb/kestro-utils_VERSION_ARCH.deb
#   scripts/dev.sh mutants [--sample N] [--seed S] [GLOB...]
#                         install what is missing, measure how many small faults
#                         in src/ the tests catch (scripts/mutants.py)
set -eu

cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}

# Debian packages the build, the tests and the program need.
PACKAGES="g++ cmake ninja-build qt6-base-dev qt6-svg-dev libqt6test6 libfontconfig-dev \
googletest libgtest-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev fonts-ipafont-gothic \
pkg-config libpugixml-dev zlib1g-dev libssl-dev libzip-dev libdeflate-dev libpng-dev"

# What building the package needs besides: dpkg-shlibdeps (dpkg-dev) computes
# its dependencies from the programs, and CPack finds the programs with file.
PACKAGE_TOOLS="dpkg-dev file"

install_missing() {
    missing=""
    for p in $PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -q
    # Ubuntu before 24.04 names the SVG module's development package differently.
    if ! apt-cache show qt6-svg-dev >/dev/null 2>&1; then
        missing=$(echo "$missing" | sed 's/qt6-svg-dev/libqt6svg6-dev/')
    fi
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -q $missing
}

build() {
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$BUILD_DIR"
}

case "${1:-}" in
    run)
        install_missing
        build
        exec "$BUILD_DIR/bin/kestro-utils"
        ;;
    test)
        install_missing
        build
        cd "$BUILD_DIR"
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
        ;;
    package)
        PACKAGES="$PACKAGES $PACKAGE_TOOLS"
        install_missing
        cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTRO_BUILD_TESTS=OFF -DKESTRO_BUILD_BENCH=OFF
        cmake --build build-deb --target package
        ;;
    mutants)
        shift
        # The check is written in Python 3 (standard library only).
        command -v python3 >/dev/null 2>&1 || PACKAGES="$PACKAGES python3"
        install_missing
        exec python3 scripts/mutants.py "$@"
        ;;
    *)
        echo "usage: $0 run|test|package|mutants" >&2
        exit 2
        ;;
esac
