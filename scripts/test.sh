#!/usr/bin/env bash
# Builds uvlamp with sanitizers and library assertions and runs every test. On a fresh Debian 12
# machine it first installs the packages the build needs.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build-essential cmake ninja-build libgtest-dev libgmock-dev \
    libbenchmark-dev libcli11-dev clang-format \
    qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl1-mesa-dev \
    fonts-dejavu-core tzdata

# Every source file follows .clang-format.
git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run -Werror

cmake --preset ci
cmake --build --preset ci
log=$(mktemp)
trap 'rm -f "$log"' EXIT
ctest --preset ci -j"$(nproc)" 2>&1 | tee "$log"
# A skipped test is a check that did not run: that is a failure here.
if grep -q "tests did not run" "$log"; then
    echo "Some tests were skipped; every test must run." >&2
    exit 1
fi
