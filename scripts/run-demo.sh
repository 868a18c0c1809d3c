#!/usr/bin/env bash
# Builds QuillCliSim (QuillCli with the simulated host) and runs one command against a fresh
# copy of a bundled simulated host.
# Usage: scripts/run-demo.sh [PRESET] [QuillCli arguments...]   (default: one -PDList -aALL)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target QuillCliSim quillsim
preset=${1:-one}
shift || true
[ $# -gt 0 ] || set -- -PDList -aALL
host=$(mktemp -d /tmp/quillhost-XXXXXX)
work=$(mktemp -d /tmp/quillrun-XXXXXX)
./build/quillsim create "$host/host" --preset "$preset"
cd "$work"
QUILLCLI_SIM_HOST="$host/host" "$OLDPWD/build/QuillCliSim" "$@" || code=$?
echo "(simulated host: $host/host; logs in $work)"
exit "${code:-0}"
