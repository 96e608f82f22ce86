#!/usr/bin/env bash
# Set-up, then the whole suite twice: a normal build and one with
# AddressSanitizer and UndefinedBehaviorSanitizer; then a short run of every
# fuzz target. Any failure fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

build_and_test() {
    local folder=$1
    shift
    cmake -S . -B "$folder" -G Ninja "$@" >/dev/null
    cmake --build "$folder" -j "$jobs"
    # Most tests spend their time waiting on a peer or a timer, so twice as many run as
    # there are cores; they are made to hold on a machine loaded that much.
    ctest --test-dir "$folder" -j "$((jobs * 2))" --output-on-failure --timeout 300 | tee "$folder/ctest.log"
}

echo "== normal build"
build_and_test build -DCMAKE_BUILD_TYPE=Release
echo "== AddressSanitizer and UndefinedBehaviorSanitizer build"
# Line tables are all the sanitizers' reports need, and much cheaper to build than full debug information.
build_and_test build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DQZ_SANITIZE=ON -DQZ_BUILD_BENCHMARKS=OFF
echo "== fuzz targets (10 s each)"
./scripts/fuzz.sh 10

echo "== summary"
for folder in build build-asan; do
    echo "$folder: $(grep -E 'tests passed' "$folder/ctest.log")"
done
