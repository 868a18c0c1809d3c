#!/usr/bin/env bash
# Fails when ARCHITECTURE.md names a file or folder that the tree does not hold, so that the map
# of the code cannot drift from the code.
#
# Usage: scripts/check-architecture-paths.sh [SOURCE_ROOT]   (default: the folder above this script)
#        scripts/check-architecture-paths.sh --self-test      (checks that the checker catches what it must)
#
# The map names files in inline code spans (`...`). A span is read as a path when it holds no
# blank and either contains a '/' or ends in a source, script or text file's extension (.h,
# .cpp, .def, .inc, .py, .sh, .cmake, .txt, .md); any other span is code, a command line or a
# word and is not checked. A path starting with '/' is a path of the host the program runs on
# (`/proc/scsi`), not of the tree, and is not checked either, nor is an address (`https://...`).
# What a path must match, relative to SOURCE_ROOT:
#   - a concrete path (`Parser/Grammar.cpp`) must exist; one ending in '/' (`CpMgmt/CmdPro/Adapter/`)
#     must be a folder;
#   - braces list alternatives, each checked on its own (`Parser/VolantManager.{h,cpp}` names two
#     files);
#   - a glob (`Output/VoPrint.*`, `Simulator/Firmware/SimFw*.cpp`) must match at least one entry;
#   - a template is a glob: each placeholder, `<Word>` (`<Area>`, `<Family>`) or the letters
#     `Xxx`, stands for any name, so `Parser/Cmd/<Area>/XxxParser.{h,cpp}` must have at least one
#     instance of each file;
#   - a bare name, which the text qualifies by its context, must be the name of at least one
#     entry of the tree: a file name (`ZprListHeader.h`) that of a file, a folder name with its
#     '/' (`Adapter/`, an area, in a table of the areas) that of a folder. Write paths in full
#     where the map can, so that they are checked where they stand.
# Build folders (build*) and .git are not part of the tree.
# Exit status: 0 every path found, 1 a path not found (each printed as MAP:LINE: `span`: why),
# 2 no map or no tree to check.
set -euo pipefail

MAP=ARCHITECTURE.md
EXTENSIONS='h|cpp|def|inc|py|sh|cmake|txt|md'

# The inline code spans of the map, one per line: "LINE<TAB>span".
spans_of() {
    awk '{
        line = $0
        while (match(line, /`[^`]+`/)) {
            printf "%d\t%s\n", NR, substr(line, RSTART + 1, RLENGTH - 2)
            line = substr(line, RSTART + RLENGTH)
        }
    }' "$1"
}

# True when the span is read as a path of the tree.
is_path() {
    local span=$1
    [[ $span =~ [[:space:]] ]] && return 1
    [[ $span == /* || $span == *://* ]] && return 1
    [[ $span == */* ]] && return 0
    # A bare file name has a name before its extension (".cpp" alone names no file).
    [[ $span =~ ^[^.].*\.($EXTENSIONS)$ || $span =~ ^[^.].*\.\{[a-z,]+\}$ ]]
}

# Appends each alternative of the braces of the span to the array `alternatives` (no braces:
# the span itself).
expand_braces() {
    local span=$1
    if [[ $span =~ ^([^{]*)\{([^{}]*)\}(.*)$ ]]; then
        local head=${BASH_REMATCH[1]} tail=${BASH_REMATCH[3]} choice
        local -a choices
        IFS=, read -r -a choices <<<"${BASH_REMATCH[2]}"
        for choice in "${choices[@]}"; do
            expand_braces "$head$choice$tail"
        done
    else
        alternatives+=("$span")
    fi
}

# The first entry of the tree of the type (f or d) whose name matches the pattern; nothing when
# there is none. Build folders and the repository's own folder are not the tree.
find_named() {
    find . -mindepth 1 -type d \( -name .git -o -name 'build*' \) -prune -o -type "$1" -name "$2" -print -quit
}

# Sets `why` to nothing when the one path (no braces) is found under the current folder, else to
# why not. (A variable, not output: the check runs once per path and stays quick.)
why_missing() {
    local path=$1 pattern
    why=
    pattern=${path//Xxx/*}
    while [[ $pattern =~ ^(.*)\<[A-Za-z]+\>(.*)$ ]]; do
        pattern="${BASH_REMATCH[1]}*${BASH_REMATCH[2]}"
    done
    if [[ $pattern != */* ]]; then
        # A bare file name: a file of that name anywhere in the tree.
        [ -n "$(find_named f "$pattern")" ] || why="no file of the tree has this name"
    elif [[ $pattern =~ ^[^/]+/$ ]]; then
        # A bare folder name: a folder of that name anywhere in the tree.
        [ -n "$(find_named d "${pattern%/}")" ] || why="no folder of the tree has this name"
    elif [[ $pattern == *[*?[]* ]]; then
        local -a matches
        mapfile -t matches < <(compgen -G "$pattern" || true)
        [ ${#matches[@]} -gt 0 ] || why="matches nothing"
    elif [[ $pattern == */ ]]; then
        [ -d "$pattern" ] || why="no such folder"
    else
        [ -e "$pattern" ] || why="no such file or folder"
    fi
    return 0
}

check_tree() {
    local root=$1
    (
        cd "$root" || exit 2
        [ -f "$MAP" ] || { echo "no $MAP under $root" >&2; exit 2; }
        local bad=0 checked=0 number span path why
        local -a alternatives
        while IFS=$'\t' read -r number span; do
            is_path "$span" || continue
            alternatives=()
            expand_braces "$span"
            for path in "${alternatives[@]}"; do
                checked=$((checked + 1))
                why_missing "$path"
                if [ -n "$why" ]; then
                    if [ "$path" = "$span" ]; then
                        echo "$MAP:$number: \`$span\`: $why"
                    else
                        echo "$MAP:$number: \`$span\` ($path): $why"
                    fi
                    bad=1
                fi
            done
        done < <(spans_of "$MAP")
        [ "$checked" -gt 0 ] || { echo "$MAP names no path" >&2; exit 2; }
        exit $bad
    )
}

self_test() {
    local tmp out found expected
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' RETURN
    mkdir -p "$tmp"/{Parser/Cmd/Adapter,CpMgmt/CmdPro/Adapter,Output,scripts,RaidManager/Zpr/Records/Drive}
    touch "$tmp"/Parser/{Grammar.cpp,Scanner.cpp,VolantManager.h,VolantManager.cpp} \
          "$tmp"/Parser/Cmd/Adapter/AdpBiosParser.{h,cpp} "$tmp"/CpMgmt/CmdPro/Adapter/AdpBiosCp.{h,cpp} \
          "$tmp"/Output/VoPrint.{h,cpp} "$tmp"/scripts/gen-usage-table.py \
          "$tmp"/RaidManager/Zpr/Records/Drive/ZprPdList.h "$tmp"/RaidManager/Zpr/Records/ZprListHeader.h
    # What must pass: concrete files and folders, braces, globs, templates with an instance, bare
    # names of the tree, and spans that are no paths (code, commands, host paths, plain words).
    cat > "$tmp/$MAP" <<'EOF'
| layer | folder |
| --- | --- |
| command line | `Parser/`, `Parser/Grammar.cpp` and `Scanner.cpp`, `Parser/VolantManager.{h,cpp}` |
| processors | `CpMgmt/CmdPro/<Area>/`, `CpMgmt/CmdPro/<Area>/XxxCp.{h,cpp}` on `CpFrame<XxxCp, TOKEN_...>` |
| output | `Output/VoPrint.*`, `RaidManager/Zpr/Records/<Family>/ZprXxx.h`, `ZprListHeader.h` |
| areas | `Adapter/` and `Drive/`, each in its `.cpp` |
Regenerate with `scripts/gen-usage-table.py`; run `quillsim create DIR --from FILE.json` on
`/proc/scsi`, with `QUILLCLI_SIM_HOST=DIR`, the word `-Tidewell -assign\|-remove` and `state.json`.
EOF
    if ! out=$(check_tree "$tmp" 2>&1); then
        echo "self-test: a correct map was refused:"; echo "$out"; return 1
    fi
    # Each of these must be caught, one line each.
    cat >> "$tmp/$MAP" <<'EOF'
A missing file `Parser/Tokenizer.cpp`, a missing folder `CpMgmt/CmdPro/Reports/`, a glob that
matches nothing `Output/VoMessage.*`, a file where a folder is named `Output/VoPrint.h/`, a
missing alternative `Parser/Cmd/Adapter/AdpBiosParser.{h,cpp,def}`, a template without an
instance `Parser/Cmd/<Area>/XxxCp.h`, a bare name of no file `Token.cpp` and of no folder
`Events/`.
EOF
    expected=8
    out=$(check_tree "$tmp" 2>&1) && { echo "self-test: a map naming missing paths passed"; return 1; }
    found=$(grep -c "^$MAP:[0-9]*: " <<<"$out" || true)
    if [ "$found" -ne "$expected" ]; then
        echo "self-test: expected $expected findings, got $found:"; echo "$out"; return 1
    fi
    local span
    for span in 'Parser/Tokenizer.cpp' 'CpMgmt/CmdPro/Reports/' 'Output/VoMessage.*' 'Output/VoPrint.h/' \
                '(Parser/Cmd/Adapter/AdpBiosParser.def)' 'Parser/Cmd/<Area>/XxxCp.h' 'Token.cpp' 'Events/'; do
        if ! grep -qF "$span" <<<"$out"; then
            echo "self-test: $span was not reported:"; echo "$out"; return 1
        fi
    done
    echo "self-test: $expected missing files, folders and globs caught, a correct map passed"
}

if [ "${1:-}" = "--self-test" ]; then
    self_test
    exit
fi
root=${1:-"$(dirname "$0")/.."}
if check_tree "$root"; then
    echo "architecture paths: every file and folder the map names exists"
else
    status=$?
    [ "$status" -eq 1 ] && echo "architecture paths: the paths above are not in the tree; correct the map" >&2
    exit "$status"
fi
