#!/usr/bin/env bash
# Fails when a firmware value is declared twice: every drive state, logical-drive state, policy
# code, RAID level code, media and interface code, firmware status and frame offset is declared
# once, in the vocabulary headers below, and used by name everywhere else.
#
# Usage: scripts/check-firmware-values.sh [SOURCE_ROOT]   (default: the folder above this script)
#        scripts/check-firmware-values.sh --self-test      (checks that the checker catches what it must)
#
# It reports
#   - a declaration of a vocabulary name outside its header (a constant, a #define, an
#     enumerator, a class member); a class member that only names the vocabulary's own constant
#     ("LEVEL_RAID0 = ::LEVEL_RAID0") declares no value and passes;
#   - a drive state or firmware status compared as a literal where its name exists: a literal
#     compared with firmwareState() or powerState(), or a one- or two-digit hexadecimal literal
#     compared with a variable or call named ...state or ...status (the codebase writes firmware
#     codes in hexadecimal; decimal results of the model's own calls are not firmware values).
# The simulated host keeps its own values (it never sees the program's records) and declares each
# once too, in Simulator/Firmware/SimFirmwareValues.h; its files are checked against that header
# only.
set -euo pipefail

PRODUCT_DIRS=(CpMgmt Parser RaidManager ControllerMgmt DataProvider Output System PavUtil)
PRODUCT_VOCABULARY=(RaidManager/Zpr/Records/Drive/ZprDriveValues.h RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h
                    RaidManager/Zpr/Records/ZprFirmwareStatus.h RaidManager/Zpr/Records/ZprFrameLayout.h)
# The controller-information record names its feature bits beside their fields.
PRODUCT_BIT_OWNER=RaidManager/Zpr/Records/Controller/ZprControllerInfo.h
SIM_VOCABULARY=Simulator/Firmware/SimFirmwareValues.h

# The names a header declares as constants.
names_of() {
    grep -hoE '^[[:space:]]*(static[[:space:]]+)?(constexpr|const)[[:space:]]+[A-Za-z_0-9:]+[[:space:]]+[A-Z][A-Z0-9_]+[[:space:]]*=' "$@" \
        | sed -E 's/[[:space:]]*=$//; s/.*[[:space:]]//' | sort -u
}

# Source files under the given folders, one per line, relative to the current folder.
sources_in() {
    local dir
    for dir in "$@"; do
        [ -d "$dir" ] || continue
        find "$dir" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.def' -o -name '*.inc' \)
    done | sed 's|^\./||' | sort
}

# Prints "file:line: text" for each re-declaration of one of the names in the files.
redeclarations() {
    local names=$1
    shift
    [ -n "$names" ] && [ $# -gt 0 ] || return 0
    local alt
    alt=$(paste -sd'|' <<<"$names")
    grep -nHE "((const|constexpr)[^;=(]*[^A-Za-z0-9_]($alt)[[:space:]]*=[^=])|(#[[:space:]]*define[[:space:]]+($alt)([^A-Za-z0-9_]|$))|(^[[:space:]]*($alt)[[:space:]]*=[^=;]+,?[[:space:]]*(//.*)?$)" "$@" \
        | grep -vE "[^A-Za-z0-9_]($alt)[[:space:]]*=[[:space:]]*([A-Za-z_][A-Za-z_0-9]*)?::[[:space:]]*($alt)[[:space:]]*[;,]" \
        || true
}

# Prints "file:line: text" for each state or status compared as a literal.
literal_comparisons() {
    [ $# -gt 0 ] || return 0
    grep -nHE '((firmwareState|powerState)\(\)[[:space:]]*(==|!=)[[:space:]]*(0[xX][0-9A-Fa-f]+|[0-9]+)([^0-9A-Za-z_]|$))|([A-Za-z_]*([Ss]tate|[Ss]tatus)(\(\))?[[:space:]]*(==|!=)[[:space:]]*0[xX][0-9A-Fa-f]{1,2}([^0-9A-Za-z_]|$))' "$@" \
        | grep -vE '(==|!=)[[:space:]]*(0[xX]0+|0)([^0-9A-Za-z_xX]|$)' || true
}

check_tree() {
    local root=$1
    (
        cd "$root"
        local bad=0 vocab f out names sim_names
        for vocab in "${PRODUCT_VOCABULARY[@]}" "$SIM_VOCABULARY"; do
            [ -f "$vocab" ] || { echo "missing vocabulary header $vocab" >&2; exit 2; }
        done
        names=$(names_of "${PRODUCT_VOCABULARY[@]}")
        if [ -f "$PRODUCT_BIT_OWNER" ]; then
            names=$(printf '%s\n%s\n' "$names" "$(names_of "$PRODUCT_BIT_OWNER" | grep -E '_BIT$' || true)" | sed '/^$/d' | sort -u)
        fi
        sim_names=$(names_of "$SIM_VOCABULARY")

        local product=() simulator=()
        while IFS= read -r f; do
            case " ${PRODUCT_VOCABULARY[*]} $PRODUCT_BIT_OWNER " in *" $f "*) continue ;; esac
            product+=("$f")
        done < <(sources_in "${PRODUCT_DIRS[@]}")
        while IFS= read -r f; do
            [ "$f" = "$SIM_VOCABULARY" ] || simulator+=("$f")
        done < <(sources_in Simulator)

        out=$( { redeclarations "$names" "${product[@]}"; redeclarations "$sim_names" "${simulator[@]}"; } )
        if [ -n "$out" ]; then
            echo "Firmware values declared again; use the name from the vocabulary header:"
            sed 's/^/  redeclares: /' <<<"$out"
            bad=1
        fi
        out=$( { literal_comparisons "${product[@]}"; literal_comparisons "${simulator[@]}"; } )
        if [ -n "$out" ]; then
            echo "States or statuses compared as literals; compare with the vocabulary's name:"
            sed 's/^/  literal: /' <<<"$out"
            bad=1
        fi
        exit $bad
    )
}

self_test() {
    local tmp out found expected
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' RETURN
    mkdir -p "$tmp"/{RaidManager/Zpr/Records/{Drive,LogicalDrive,Controller},CpMgmt/CmdPro,DataProvider,Simulator/Firmware}
    printf 'constexpr uint16_t PD_STATE_ONLINE = 0x18;\nconstexpr uint8_t LD_STATE_OPTIMAL = 3;\n' \
        > "$tmp/RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
    printf 'constexpr uint8_t LEVEL_RAID0 = 0;\n' > "$tmp/RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"
    printf 'constexpr uint8_t STATUS_NO_DEVICE = 0x0C;\n' > "$tmp/RaidManager/Zpr/Records/ZprFirmwareStatus.h"
    printf 'namespace zprframe {\nconstexpr uint8_t FRAME_STATUS = 2;\n}\n' > "$tmp/RaidManager/Zpr/Records/ZprFrameLayout.h"
    printf 'class ZprControllerInfo {\n    static constexpr unsigned LD_POWER_SAVING_BIT = 4;\n    static constexpr size_t LD_FEATURES = 0x5E5;\n};\n' \
        > "$tmp/RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
    printf 'namespace sim {\nconst uint8_t PD_STATE_HOT_SPARE = 0x02;\n}\n' > "$tmp/Simulator/Firmware/SimFirmwareValues.h"
    # What must pass: uses by name, an alias of the vocabulary's own constant, a record offset
    # that shares no name, the model's decimal results, a driver status beyond a byte, and the
    # simulator keeping a value of its own under a name of the program's.
    cat > "$tmp/CpMgmt/CmdPro/Ok.cpp" <<'EOF'
if (info.firmwareState() == PD_STATE_ONLINE && state != LD_STATE_OPTIMAL) {}
if (status == STATUS_NO_DEVICE || status == 1 || state == 2 || status == 0x6001 || state == 0) {}
const size_t LD_FEATURES_COPY = ZprControllerInfo::LD_FEATURES;
EOF
    printf 'class Plan {\n    static constexpr uint8_t LEVEL_RAID0 = ::LEVEL_RAID0;\n};\n' > "$tmp/RaidManager/Ok.h"
    printf 'const uint16_t PD_STATE_ONLINE = 0x18;\nif (d.state == PD_STATE_HOT_SPARE) {}\n' > "$tmp/Simulator/Ok.cpp"
    if ! out=$(check_tree "$tmp" 2>&1); then
        echo "self-test: lawful uses were refused:"; echo "$out"; return 1
    fi
    # Each of these must be caught, one line each.
    printf 'const uint8_t PD_STATE_ONLINE = 0x18;\n' > "$tmp/CpMgmt/CmdPro/Planted.cpp"
    printf '    static const int STATUS_NO_DEVICE = 12;\n' > "$tmp/CpMgmt/CmdPro/Planted.h"
    printf '#define LD_STATE_OPTIMAL 3\n' > "$tmp/RaidManager/Planted.h"
    printf 'enum Levels {\n    LEVEL_RAID0 = 0,\n};\n' > "$tmp/RaidManager/PlantedEnum.h"
    printf 'const uint8_t FRAME_STATUS = 2;\n' > "$tmp/DataProvider/Planted.cpp"
    printf 'const unsigned LD_POWER_SAVING_BIT = 4;   // of LD_FEATURES\n' > "$tmp/CpMgmt/CmdPro/PlantedBit.cpp"
    printf 'const uint8_t PD_STATE_HOT_SPARE = 2;\n' > "$tmp/Simulator/Firmware/Planted.cpp"
    printf 'if (info.firmwareState() == 24) {}\n' > "$tmp/CpMgmt/CmdPro/PlantedLiteral.cpp"
    printf 'if (state != 0x40) {}\n' > "$tmp/RaidManager/PlantedLiteral.cpp"
    printf 'if (d.powerState() == 0x01) {}\n' > "$tmp/Simulator/PlantedLiteral.cpp"
    expected=10
    out=$(check_tree "$tmp" 2>&1) && { echo "self-test: planted re-declarations were not caught"; return 1; }
    found=$(grep -cE '^  (redeclares|literal): ' <<<"$out" || true)
    if [ "$found" -ne "$expected" ]; then
        echo "self-test: expected $expected findings, got $found:"; echo "$out"; return 1
    fi
    if grep -q 'Ok\.' <<<"$out"; then
        echo "self-test: a lawful file was reported:"; echo "$out"; return 1
    fi
    echo "self-test: $expected planted re-declarations and literals caught, lawful uses passed"
}

if [ "${1:-}" = "--self-test" ]; then
    self_test
    exit
fi
root=${1:-"$(dirname "$0")/.."}
if check_tree "$root"; then
    echo "firmware values: each declared once, and compared by name"
else
    echo "firmware values: the declarations above repeat the vocabulary" >&2
    exit 1
fi
