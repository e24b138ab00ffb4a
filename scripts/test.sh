#!/usr/bin/env bash
# Builds uvlamp and runs every test, four ways: an optimised build; the core, the batch front end
# and their tests cross-built for Windows and run under wine; a build with the address and
# undefined-behaviour sanitizers and library assertions; and a short run of every fuzz target on
# its stored corpus. On a fresh Debian 12 machine it first installs the packages the builds need.
#   UVLAMP_FUZZ_SECONDS   time per fuzz target (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build-essential cmake ninja-build libgtest-dev libgmock-dev \
    libbenchmark-dev libcli11-dev clang-format clang-14 libclang-rt-14-dev \
    qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl1-mesa-dev \
    fonts-dejavu-core tzdata g++-mingw-w64-x86-64 wine64

# Every source file follows .clang-format.
git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run -Werror

log=$(mktemp)
trap 'rm -f "$log"' EXIT
run_suite() {
    local preset=$1
    echo "== $preset: build and test"
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    ctest --preset "$preset" -j"$(nproc)" 2>&1 | tee "$log"
    # A skipped test is a check that did not run: that is a failure here.
    if grep -q "tests did not run" "$log"; then
        echo "Some tests of $preset were skipped; every test must run." >&2
        exit 1
    fi
}
run_suite ci-plain
# After ci-plain: the Windows build compares its batch front end's files with that build's.
run_suite mingw
run_suite ci

echo "== fuzz: every target on its corpus"
cmake --preset fuzz
cmake --build --preset fuzz
scripts/fuzz.sh "${UVLAMP_FUZZ_SECONDS:-30}"
