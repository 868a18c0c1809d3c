#!/usr/bin/env bash
# Runs the libFuzzer targets of fuzz/ (built with clang, AddressSanitizer, UndefinedBehavior-
# Sanitizer and LeakSanitizer into build-fuzz/).
#
#   scripts/fuzz.sh TARGET [SECONDS]  one target on every core (FUZZ_JOBS: fewer) for SECONDS
#                                     (default 600); the corpus grows in build-fuzz/corpus/TARGET
#                                     and is kept from run to run
#   scripts/fuzz.sh                   every target in turn, FUZZ_SECONDS (default 60) each
#   scripts/fuzz.sh --ci [SECONDS]    every target for SECONDS (default 30) on its seed corpus
#                                     (fuzz/corpus/TARGET), keeping nothing, as many targets at
#                                     a time as there are cores (QUILL_JOBS: fewer): what CI runs
#   scripts/fuzz.sh --list            the targets
#   scripts/fuzz.sh --seeds           writes the firmware targets' seeds into fuzz/corpus/ anew
#                                     (the command line's come from fuzz/commandline-seeds.py)
#
# A finding (crash, sanitizer report, leak, timeout) stops the run with a non-zero exit; its
# input is written to build-fuzz/findings/ and shown. Fix it where it is, then add the input
# to fuzz/corpus/TARGET and as a regression test in the matching tests/ folder.
# FUZZ_ARGS: more libFuzzer options, e.g. FUZZ_ARGS="-runs=1000000".
# QUILL_FUZZ_BUILD: another build folder with -DQUILL_FUZZ=ON (scripts/test.sh uses the one in
# which it also runs the tests under the sanitizers); it is only brought up to date.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${QUILL_FUZZ_BUILD:-$root/build-fuzz}
jobs=${QUILL_JOBS:-$(nproc)}

build_targets() {
    if [ ! -f "$build/CMakeCache.txt" ]; then
        cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILL_FUZZ=ON \
            -DQUILL_TESTS=OFF -DQUILL_BENCH=OFF \
            -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    fi
    cmake --build "$build" -j "$jobs" --target fuzz_all
}

targets() {
    for t in "$build"/fuzz/fuzz_*; do
        [ -x "$t" ] && basename "$t" | sed 's/^fuzz_//'
    done
}

# Shows a finding's input (bytes as text and as hex) and fails.
report_finding() {
    local target=$1 artifacts=$2
    echo "fuzz: $target has a finding; reproduce with:" >&2
    for f in "$artifacts"/*; do
        [ -f "$f" ] || continue
        echo "  $build/fuzz/fuzz_$target $f" >&2
        od -A d -c "$f" | head -40 >&2
    done
    exit 1
}

# run TARGET SECONDS FORKS WORK_CORPUS
run() {
    local target=$1 seconds=$2 forks=$3 work=$4
    local exe=$build/fuzz/fuzz_$target seeds=$root/fuzz/corpus/$target
    local artifacts=$build/findings/$target
    mkdir -p "$work" "$seeds" "$artifacts"
    local args=(-max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048
                -artifact_prefix="$artifacts/")
    [ -f "$build/fuzz/$target.dict" ] && args+=(-dict="$build/fuzz/$target.dict")
    [ "$forks" -gt 1 ] && args+=(-fork="$forks")
    echo "== fuzz $target: ${seconds}s, $forks process(es)"
    # shellcheck disable=SC2086
    if ! "$exe" "${args[@]}" ${FUZZ_ARGS:-} "$work" "$seeds"; then
        report_finding "$target" "$artifacts"
    fi
}

build_targets
case "${1:-}" in
--list)
    targets
    ;;
--seeds)
    "$build/fuzz/firmware_seeds" "$root/fuzz/corpus"
    python3 "$root/fuzz/commandline-seeds.py" "$root" "$root/fuzz/corpus/commandline"
    ;;
--ci)
    # Each target alone in a process of its own, side by side; their output is shown target by
    # target once all have ended, and any finding fails the run.
    logs=$(mktemp -d)
    export -f run report_finding
    export build root FUZZ_ARGS
    status=0
    targets | xargs -P "$jobs" -I{} bash -c \
        'scratch=$(mktemp -d); (run "$1" "$2" 1 "$scratch") >"$3/$1.log" 2>&1; rc=$?; rm -rf "$scratch"; exit $rc' \
        _ {} "${2:-30}" "$logs" || status=1
    for log in "$logs"/*.log; do
        cat "$log"
    done
    rm -rf "$logs"
    exit $status
    ;;
"")
    for t in $(targets); do
        run "$t" "${FUZZ_SECONDS:-60}" "${FUZZ_JOBS:-$jobs}" "$build/corpus/$t"
    done
    ;;
*)
    [ -x "$build/fuzz/fuzz_$1" ] || { echo "fuzz: no target $1; targets: $(targets | xargs)" >&2; exit 2; }
    run "$1" "${2:-600}" "${FUZZ_JOBS:-$jobs}" "$build/corpus/$1"
    ;;
esac
