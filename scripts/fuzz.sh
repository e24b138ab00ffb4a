#!/usr/bin/env bash
# Runs the fuzz targets of a clang build (build/fuzz, see fuzz/CMakeLists.txt), each for a bounded
# time on its stored corpus, two at a time. New inputs go to a scratch folder, not to the stored
# corpus. A crash, hang, leak or sanitizer report fails the run; the input that caused it is kept
# in the scratch folder's artifacts and named in the output.
#   scripts/fuzz.sh [seconds per target] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(ql qs ul xl irr bbf response ini timeword)
fi
build=${UVLAMP_FUZZ_BUILD:-build/fuzz}
# The BBF target writes a file per input; in memory that costs no disk flushes.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
work=${UVLAMP_FUZZ_WORK:-$(mktemp -d)}
mkdir -p "$work"

run_one() {
    local target=$1 seconds=$2 build=$3 work=$4
    local scratch="$work/$target"
    mkdir -p "$scratch/corpus" "$scratch/artifacts"
    if "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$scratch/artifacts/" \
        "$scratch/corpus" "fuzz/corpus/$target" >"$scratch/log" 2>&1; then
        echo "fuzz_$target: $(grep -m1 'stat::number_of_executed_units' "$scratch/log" |
            awk '{print $2}') executions in ${seconds} s, nothing found"
    else
        echo "fuzz_$target FAILED; its output follows (artifacts in $scratch/artifacts)" >&2
        tail -n 60 "$scratch/log" >&2
        return 1
    fi
}
export -f run_one

printf '%s\n' "${targets[@]}" |
    xargs -P 2 -I{} bash -c 'run_one "$@"' _ {} "$seconds" "$build" "$work"
