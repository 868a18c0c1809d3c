#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test three times: a GCC build, a GCC
# build under AddressSanitizer and UndefinedBehaviorSanitizer, and a clang build. Every build
# treats compiler warnings as errors. Last, every fuzz target runs for 30 seconds on its seed
# corpus; a finding fails with its input shown.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=${QUILL_JOBS:-$(nproc)}   # QUILL_JOBS: fewer on a shared machine

run_tests() {
    (cd "$1" && ctest --output-on-failure -j "$jobs")
}

echo "== GCC"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILL_WERROR=ON \
    -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build build -j "$jobs"
run_tests build

echo "== GCC with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILL_SANITIZE=ON -DQUILL_WERROR=ON \
    -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build build-san -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_tests build-san

echo "== clang"
cmake -S . -B build-clang -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILL_WERROR=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-clang -j "$jobs"
run_tests build-clang

echo "== fuzz targets"
QUILL_JOBS=$jobs bash scripts/fuzz.sh --ci 30
