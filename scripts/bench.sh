#!/usr/bin/env bash
# Whole-process timings: each command beside a trivial C++ program that prints one line.
#
# Usage: scripts/bench.sh [RUNS]        (default 20)
#
# For every command: the median wall time of RUNS runs and its ratio to the trivial program's,
# the median peak memory (maximum resident set) and its ratio, and the number of firmware
# commands the run sent (lines of the simulated host's commands.log). The runs of all commands
# are interleaved, so that a change of the machine's load touches them alike. A command whose
# processor has not landed yet (it prints "Un-supported command") is skipped.
#
# Targets: the product's rejected line and QuillCliSim -AdpCount on the no-driver host within
# 1.5 times the trivial program's wall time, -AdpCount on the big host within 2 times, and every
# peak memory within 2 times.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${1:-20}

# /usr/bin/time reports the peak memory; it is not needed by the build or the tests.
if [ ! -x /usr/bin/time ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq time >/dev/null
fi

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target QuillCli QuillCliSim quillsim bench_trivial >/dev/null

sim=build/QuillCliSim
[ -x "$sim" ] || sim=build/QuillCli  # before the product and the simulated program were split

scratch=$(mktemp -d /tmp/quillbench-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/run"
for preset in no-driver big; do
  build/quillsim create "$scratch/$preset" --preset "$preset" >/dev/null
done

# One row per command: label, host preset ("-" for none), program, arguments.
rows=(
  "trivial program|-|$root/build/bench/bench_trivial|"
  "QuillCli -Foo|-|$root/build/QuillCli|-Foo"
  "QuillCli -v|-|$root/build/QuillCli|-v"
  "QuillCli -AdpCount|-|$root/build/QuillCli|-AdpCount"
  "QuillCliSim -AdpCount (no-driver)|no-driver|$root/$sim|-AdpCount"
  "QuillCliSim -AdpCount (big)|big|$root/$sim|-AdpCount"
  "QuillCliSim -PDList -aALL (big)|big|$root/$sim|-PDList -aALL"
  "QuillCliSim -LDInfo -Lall -aALL (big)|big|$root/$sim|-LDInfo -Lall -aALL"
  "QuillCliSim -AdpAllInfo -aALL (big)|big|$root/$sim|-AdpAllInfo -aALL"
)

# Runs a command in the scratch folder, with the row's simulated host or with none, output
# discarded: launch PRESET COMMAND...
launch() {
  local preset=$1
  shift
  (
    cd "$scratch/run"
    if [ "$preset" = "-" ]; then unset QUILLCLI_SIM_HOST; else export QUILLCLI_SIM_HOST="$scratch/$preset"; fi
    exec "$@" >/dev/null 2>&1
  ) || true
}

median() {
  sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Which rows run: a command without its processor is left out. Its firmware commands are
# counted on the way.
active=()
declare -A firmware
for i in "${!rows[@]}"; do
  IFS='|' read -r label preset program args <<<"${rows[$i]}"
  firmware[$i]="-"
  [ "$preset" = "-" ] || : >"$scratch/$preset/commands.log"
  out=$(
    cd "$scratch/run"
    if [ "$preset" = "-" ]; then unset QUILLCLI_SIM_HOST; else export QUILLCLI_SIM_HOST="$scratch/$preset"; fi
    "$program" $args 2>&1 || true
  )
  [ "$preset" = "-" ] || firmware[$i]=$(wc -l <"$scratch/$preset/commands.log")
  if grep -q "Un-supported command" <<<"$out"; then
    echo "skipped (not built yet): $label"
    continue
  fi
  active+=("$i")
done

declare -A times memory
for ((r = 0; r < runs; r++)); do
  for i in "${active[@]}"; do
    IFS='|' read -r label preset program args <<<"${rows[$i]}"
    start=$EPOCHREALTIME
    launch "$preset" "$program" $args
    end=$EPOCHREALTIME
    times[$i]+="$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", (e - s) * 1000 }') "
    launch "$preset" /usr/bin/time -o "$scratch/peak" -f "%M" "$program" $args
    memory[$i]+="$(tail -1 "$scratch/peak") "
  done
done

base_time=$(tr ' ' '\n' <<<"${times[0]}" | grep . | median)
base_mem=$(tr ' ' '\n' <<<"${memory[0]}" | grep . | median)
printf "\n%-40s %10s %7s %10s %7s %9s\n" "command (median of $runs runs)" "wall ms" "ratio" "peak KB" "ratio" "fw cmds"
for i in "${active[@]}"; do
  IFS='|' read -r label preset program args <<<"${rows[$i]}"
  t=$(tr ' ' '\n' <<<"${times[$i]}" | grep . | median)
  m=$(tr ' ' '\n' <<<"${memory[$i]}" | grep . | median)
  printf "%-40s %10.2f %7.2f %10.0f %7.2f %9s\n" "$label" "$t" \
    "$(awk -v a="$t" -v b="$base_time" 'BEGIN { print a / b }')" "$m" \
    "$(awk -v a="$m" -v b="$base_mem" 'BEGIN { print a / b }')" "${firmware[$i]}"
done
