#!/usr/bin/env bash
# Fails when a program carries test equipment: a symbol of the simulated host (namespace sim,
# installSimulatedHost), of the JSON library, or the name of the variable that selects a
# simulated host. Run on QuillCli, the product, it must pass; on QuillCliSim it must fail.
# Usage: scripts/check-product.sh PROGRAM
set -euo pipefail
program=${1:?usage: check-product.sh PROGRAM}
[ -f "$program" ] || { echo "no such program: $program" >&2; exit 2; }
symbols=$(nm -C "$program") || { echo "nm failed on $program" >&2; exit 2; }
[ -n "$symbols" ] || { echo "no symbols in $program (stripped?): nothing to check" >&2; exit 2; }
found=$(grep -E '(^|[^A-Za-z0-9_])sim::|nlohmann|installSimulatedHost' <<<"$symbols" || true)
if grep -aq 'QUILLCLI_SIM_HOST' "$program"; then
    found+=$'\n(the text QUILLCLI_SIM_HOST)'
fi
if [ -n "$found" ]; then
    echo "$program carries test equipment:"
    head -n 20 <<<"$found"
    exit 1
fi
echo "$program: no simulator, no JSON library"
