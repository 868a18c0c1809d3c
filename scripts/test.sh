#!/usr/bin/env bash
# Installs what is missing, then builds twice and runs every check:
#   build/        GCC: the product, every test and the benchmarks; every test runs here once
#                 without sanitizers.
#   build-clang/  clang with AddressSanitizer, UndefinedBehaviorSanitizer (leaks included) and
#                 the fuzzer's coverage on every library: every test runs again under the
#                 sanitizers, and every fuzz target is built here and runs for 30 seconds on its
#                 seed corpus, the targets side by side on the cores there are.
# Both builds treat compiler warnings as errors. The layer, message-id and product-binary
# checks are ctest entries of both builds. Each test program runs as a few ctest entries
# (shards), not one per test; a failure shows the failing test's name.
# QUILL_JOBS=N: fewer parallel jobs than cores. A compiler cache (ccache) is used when there is
# one (CCACHE_DISABLE=1 turns it off), and lld where it is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/setup.sh
jobs=${QUILL_JOBS:-$(nproc)}   # QUILL_JOBS: fewer on a shared machine

options=()
if command -v ccache >/dev/null 2>&1; then
    # Keyed on paths below the clone's root, so that a clone in another folder hits the cache.
    export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1
    # The tests' precompiled headers: ccache caches their users only when told to.
    export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
    options=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# lld links the large test programs in a fraction of the time of the default linker.
if command -v ld.lld >/dev/null 2>&1; then
    options+=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld -DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=lld)
fi

stage_start=$SECONDS
stage() {
    echo "== $1"
    stage_start=$SECONDS
}
stage_end() {
    echo "== $1: $((SECONDS - stage_start)) s"
}

# run_tests FOLDER: every ctest entry; then how many GoogleTest cases ran in them. Twice as
# many shards as cores run at once: an end-to-end shard waits on the programs it starts, and a
# core left idle in those waits is time lost.
run_tests() {
    (cd "$1" && ctest --output-on-failure -j "$((jobs * 2))")
    local log=$1/Testing/Temporary/LastTest.log
    local passed
    passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\.$/\1/p' "$log" | awk '{n += $1} END {print n + 0}')
    echo "== $1: $passed GoogleTest cases passed"
}

# The GCC build leaves out debugging information, which cost a third of its compile time and
# serves no check. Both builds compile the tests' own sources without optimisation (a fifth less
# time; the code under test keeps the build's) and with a precompiled header of the libraries
# every test source reads (QUILL_TEST_PCH).
stage "GCC: build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILL_WERROR=ON \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" \
    -DQUILL_TEST_COMPILE_OPTIONS=-O0 -DQUILL_TEST_PCH=ON \
    -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ "${options[@]}" >/dev/null
cmake --build build -j "$jobs"
stage_end "GCC: build"
stage "GCC: tests"
run_tests build
stage_end "GCC: tests"

# -O1 with line tables only: the sanitizers' reports keep their file and line, the tests run
# faster than at -O0, and the build is quicker than with full debugging information.
stage "clang with the sanitizers and the fuzzer's coverage: build"
cmake -S . -B build-clang -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILL_FUZZ=ON -DQUILL_WERROR=ON \
    -DQUILL_BENCH=OFF -DCMAKE_C_FLAGS_DEBUG="-O1 -gline-tables-only" \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" -DQUILL_TEST_COMPILE_OPTIONS=-O0 -DQUILL_TEST_PCH=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${options[@]}" >/dev/null
cmake --build build-clang -j "$jobs" --target all fuzz_all
stage_end "clang with the sanitizers and the fuzzer's coverage: build"
stage "clang: tests under the sanitizers"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_tests build-clang
stage_end "clang: tests under the sanitizers"

stage "fuzz targets"
QUILL_JOBS=$jobs QUILL_FUZZ_BUILD=$root/build-clang bash scripts/fuzz.sh --ci 30
stage_end "fuzz targets"
