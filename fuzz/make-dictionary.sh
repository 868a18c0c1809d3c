#!/usr/bin/env bash
# Writes the libFuzzer dictionary of the command line: every word of the keyword table as an
# option ("-WORD ", the way lines are joined), plus the characters of the value shapes.
# Usage: make-dictionary.sh <KeywordTable.cpp> <output>
set -euo pipefail
table=$1
out=$2
{
    echo "# Made by fuzz/make-dictionary.sh from the keyword table; do not edit."
    grep -oE '\{KEYWORD_KEY_[A-Z]+, "[^"]+"' "$table" | sed -E 's/.*"([^"]+)"$/\1/' | sort -u |
        awk '{ printf "kw%d=\"-%s \"\n", NR, $0 }'
    n=0
    for shape in '[' ']' ':' ',' '%' '\"' '.' ' ' '-' 'ALL' '0x' '4294967296' '2147483647' '255' '65535'; do
        n=$((n + 1))
        printf 'shape%d="%s"\n' "$n" "$shape"
    done
} >"$out.tmp"
mv "$out.tmp" "$out"
