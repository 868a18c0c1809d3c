#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: a normal build and a
# build under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs")

cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILL_SANITIZE=ON >/dev/null
cmake --build build-san -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-san && ctest --output-on-failure -j "$jobs")
