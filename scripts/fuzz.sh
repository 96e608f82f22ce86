#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz/ and runs each one for the
# given number of seconds (default 20), starting from a fresh copy of its seed
# corpus in tests/fuzz/corpus/<target>/ (the committed corpus is only read).
# A crash, leak, time-out or sanitizer report fails the run; the input that
# caused it is kept in build-fuzz/artifacts/.
#   ./scripts/fuzz.sh [seconds] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
shift $(($# > 0 ? 1 : 0))

cmake -S tests/fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz -j "$(nproc)"

targets=("$@")
if ((${#targets[@]} == 0)); then
    for source in tests/fuzz/*.cpp; do
        name=$(basename "$source" .cpp)
        [[ $name == FuzzSupport ]] || targets+=("$name")
    done
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p build-fuzz/artifacts build-fuzz/logs

# Runs one target; its exit status is the fuzzer's.
fuzz_one() {
    local target=$1
    local corpus="$work/$target"
    mkdir -p "$corpus"
    if [[ -d tests/fuzz/corpus/$target ]]; then
        cp tests/fuzz/corpus/"$target"/* "$corpus"/
    fi
    "build-fuzz/fuzz_$target" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=20000 -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$target-" \
        >"build-fuzz/logs/$target.log" 2>&1
}

# A fuzzer keeps one core busy: as many run at once as there are cores. Each leaves
# its exit status in the work folder.
for target in "${targets[@]}"; do
    while (($(jobs -rp | wc -l) >= $(nproc))); do
        wait -n || true
    done
    (
        status=0
        fuzz_one "$target" || status=$?
        echo "$status" >"$work/$target.status"
    ) &
done
wait

failed=()
for target in "${targets[@]}"; do
    log="build-fuzz/logs/$target.log"
    if [[ $(cat "$work/$target.status") == 0 ]]; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
        echo "fuzz $target: ${runs:-?} runs, ${rate:-?} per second, no finding"
    else
        echo "fuzz $target: FAILED (log in $log)"
        grep -E -m 20 "ERROR|SUMMARY|property does not hold|Test unit written|uncaught|terminate" "$log" || tail -n 30 "$log"
        failed+=("$target")
    fi
done

if ((${#failed[@]})); then
    echo "fuzzing found faults in: ${failed[*]}"
    exit 1
fi
