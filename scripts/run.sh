#!/usr/bin/env bash
# Builds uvlamp (release preset) and starts the window in examples/, so that its file list shows
# the example station's files at once. On a fresh Debian 12 machine it first installs the packages
# the build needs. Arguments are passed on to the window.
#
# Without a display (DISPLAY and WAYLAND_DISPLAY both empty) it runs the batch front end's
# response example instead, in a fresh copy of examples/, and says where the files went.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build-essential cmake ninja-build libcli11-dev qt6-base-dev \
    qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl1-mesa-dev fonts-dejavu-core

installed() {
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            return 1
    done
}
# The tests and benchmarks are built only where their packages are, so that the window needs
# neither; stating both every time also turns them back on once the packages are there.
tests=OFF
bench=OFF
installed libgtest-dev libgmock-dev && tests=ON
installed libbenchmark-dev && bench=ON
cmake --preset release -DUVLAMP_BUILD_APP=ON -DUVLAMP_BUILD_TESTS=$tests -DUVLAMP_BUILD_BENCH=$bench >/dev/null
cmake --build --preset release --target uvlamp uvlamp-cli

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display (DISPLAY and WAYLAND_DISPLAY are empty): running the batch example instead."
    cli=$PWD/build/release/src/cli/uvlamp-cli
    station=$(mktemp -d "${TMPDIR:-/tmp}/uvlamp-station.XXXXXX")
    cp -r examples/. "$station"
    cd "$station"
    "$cli" response --log station.log --grid 2865 3635 5 --output uvr13724.137 ql_*.137
    echo "The response files, their log and temperature files are in $station"
    exit 0
fi

cd examples
exec ../build/release/src/app/uvlamp "$@"
