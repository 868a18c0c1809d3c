#!/usr/bin/env bash
# Fails when a firmware value is declared twice: every drive state, logical-drive state, policy
# code, RAID level code, media and interface code, firmware status, status of the RAID model and
# frame offset is declared once, in the vocabulary headers below, and used by name everywhere
# else; and no constant of the product is declared twice under one name.
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
#     codes in hexadecimal; decimal results of the model's own calls are not firmware values);
#   - an upper-case constant of the same name and the same value declared at file or namespace
#     scope in two product files: a const or constexpr variable, an enumerator of an unscoped
#     enum, or a #define (values compared after the spelling of a number: 0x1F equals 31).
#     One of them belongs in the header of its owner (a record, the model, a shared header of
#     the area). Class members (ZprFoo::SIZE) are scoped to their class and form no such pair,
#     nor do constants inside functions. Vocabulary names are left to the first rule. A pair
#     of truly unrelated values that merely share a name and a value is listed in
#     SAME_VALUE_EXEMPT below, with its reason.
# The simulated host keeps its own values (it never sees the program's records) and declares each
# once too, in Simulator/Firmware/SimFirmwareValues.h; its files are checked against that header
# only.
set -euo pipefail

PRODUCT_DIRS=(CpMgmt Parser RaidManager ControllerMgmt DataProvider Output System PavUtil)
PRODUCT_VOCABULARY=(RaidManager/Zpr/Records/Drive/ZprDriveValues.h RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h
                    RaidManager/Zpr/Records/ZprFirmwareStatus.h RaidManager/Zpr/Records/ZprFrameLayout.h
                    RaidManager/RmStatus.h)
# The controller-information record names its feature bits beside their fields.
PRODUCT_BIT_OWNER=RaidManager/Zpr/Records/Controller/ZprControllerInfo.h
SIM_VOCABULARY=Simulator/Firmware/SimFirmwareValues.h

# The names a header declares as constants or as enumerators with a number.
names_of() {
    {
        grep -hoE '^[[:space:]]*(static[[:space:]]+)?(constexpr|const)[[:space:]]+[A-Za-z_0-9:]+[[:space:]]+[A-Z][A-Z0-9_]+[[:space:]]*=' "$@" || true
        grep -hoE '^[[:space:]]+[A-Z][A-Z0-9_]+[[:space:]]*=[[:space:]]*-?[0-9]' "$@" | sed -E 's/=.*/=/' || true
    } | sed -E 's/[[:space:]]*=$//; s/.*[[:space:]]//' | sort -u
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

# Same name and value in two product files, yet two unrelated things: the name, then the files.
SAME_VALUE_EXEMPT=(
    # Each processor's own buffer for one printed line; no value of the firmware or the model.
    "LINE_SIZE CpMgmt/CmdPro/Adapter/DpmStatCp.cpp CpMgmt/CmdPro/Help/CliVersionCp.cpp"
    # Two transfers that happen to use 32 KiB pieces: the controller's flash download and a
    # drive's (or enclosure's) WRITE BUFFER download.
    "PIECE_SIZE CpMgmt/CmdPro/Firmware/AdpFwFlashCp.cpp CpMgmt/CmdPro/Files/DriveFirmwareImage.h"
)

# The awk program that lists the upper-case constants of file or namespace scope.
SCOPE_AWK=$(cat <<'AWK'
# Prints "NAME<TAB>VALUE<TAB>FILE:LINE" for each upper-case constant declared at file or
# namespace scope: a const or constexpr variable, an enumerator of an unscoped enum, a #define.
# Comments, strings and character literals are read past; each brace opens a scope whose kind
# the text before it tells (namespace, class, enum, initializer, or any other block).
function reset_stmt() { stmt = ""; stmt_line = 0 }
function add(c) {
    if (stmt == "" && c ~ /^[ \t]*$/) return
    if (stmt == "") stmt_line = FNR
    stmt = stmt c
}
function number(v,    n, i, h) {
    sub(/[uUlL]+$/, "", v)
    if (v ~ /^0[xX]/) {
        h = toupper(substr(v, 3)); sub(/^0+/, "", h)
        if (length(h) > 13) return "0x" h
        n = 0
        for (i = 1; i <= length(h); i++) n = n * 16 + index("0123456789ABCDEF", substr(h, i, 1)) - 1
        return sprintf("%.0f", n)
    }
    if (v ~ /^0[0-7]+$/) {
        n = 0
        for (i = 2; i <= length(v); i++) n = n * 8 + substr(v, i, 1)
        return sprintf("%.0f", n)
    }
    return length(v) > 15 ? v : sprintf("%.0f", v + 0)
}
function norm_value(v) {
    gsub(/[ \t\n]+/, " ", v); sub(/^ /, "", v); sub(/ $/, "", v)
    return v ~ /^(0[xX][0-9A-Fa-f]+|[0-9]+)[uUlL]*$/ ? number(v) : v
}
function emit(name, value, line) {
    if (name ~ /^[A-Z][A-Z0-9_]*[A-Z0-9]$/) printf "%s\t%s\t%s:%d\n", name, norm_value(value), FILENAME, line
}
# A statement at namespace scope: "... const|constexpr ... NAME[...] = value" or "NAME{value}".
function declaration(s, line,    head, value, name, eq) {
    gsub(/[ \t]+/, " ", s)
    eq = index(s, "=")
    if (eq == 0) {
        if (match(s, /[A-Za-z_][A-Za-z_0-9]*[ ]*\{.*\}[ ]*$/) == 0) return
        head = substr(s, 1, RSTART - 1); value = substr(s, RSTART)
        name = value; sub(/[ ]*\{.*$/, "", name)
        sub(/^[^{]*\{/, "", value); sub(/\}[ ]*$/, "", value)
    } else {
        head = substr(s, 1, eq - 1); value = substr(s, eq + 1)
        if (substr(value, 1, 1) == "=") return
        sub(/[ ]*(\[[^]]*\])*[ ]*$/, "", head)
        name = head; sub(/^.*[^A-Za-z_0-9]/, "", name)
        head = substr(head, 1, length(head) - length(name))
    }
    if (head ~ /[()]/) return
    if (head !~ /(^|[^A-Za-z_0-9])(const|constexpr)([^A-Za-z_0-9]|$)/) return
    if (head ~ /(^|[^A-Za-z_0-9])(typedef|using|friend)([^A-Za-z_0-9]|$)/) return
    emit(name, value, line)
}
# The enumerators of an unscoped enum's body (lines kept as newlines); an enumerator without a
# value takes the one before it plus 1.
function enumerators(body, line,    n, parts, i, item, name, value, last, eq, lead) {
    n = split(body, parts, ",")
    last = ""
    for (i = 1; i <= n; i++) {
        item = parts[i]
        lead = item; sub(/[A-Za-z_].*$/, "", lead)
        line += gsub(/\n/, "\n", lead)
        rest = substr(item, length(lead) + 1)
        eq = index(item, "=")
        gsub(/[ \t\n]+/, " ", item); sub(/^ /, "", item); sub(/ $/, "", item)
        if (item != "") {
            eq = index(item, "=")
            if (eq > 0) {
                name = substr(item, 1, eq - 1); sub(/ $/, "", name)
                value = norm_value(substr(item, eq + 1))
            } else {
                name = item
                value = last == "" ? "0" : (last ~ /^[0-9]+$/ ? sprintf("%.0f", last + 1) : last "+1")
            }
            last = value
            emit(name, value, line)
        }
        line += gsub(/\n/, "\n", rest)
    }
}
FNR == 1 { depth = 0; nonns = 0; inits = 0; incomment = 0; continued = 0; reset_stmt(); enumbody = "" }
{
    line = $0
    if (continued) { continued = line ~ /\\$/; next }
    if (!incomment && line ~ /^[ \t]*#/) {
        continued = line ~ /\\$/
        if (nonns == 0 && line ~ /^[ \t]*#[ \t]*define[ \t]+[A-Za-z_][A-Za-z_0-9]*[ \t]+[^ \t]/) {
            sub(/^[ \t]*#[ \t]*define[ \t]+/, "", line)
            sub(/[ \t]*\/\/.*$/, "", line); sub(/[ \t]*\/\*.*$/, "", line)
            name = line; sub(/[ \t].*$/, "", name)
            if (name !~ /\(/) emit(name, substr(line, length(name) + 1), FNR)
        }
        next
    }
    n = length(line)
    for (i = 1; i <= n; i++) {
        c = substr(line, i, 1)
        if (incomment) {
            if (c == "*" && substr(line, i + 1, 1) == "/") { incomment = 0; i++ }
            continue
        }
        if (c == "/" && substr(line, i + 1, 1) == "/") break
        if (c == "/" && substr(line, i + 1, 1) == "*") { incomment = 1; i++; continue }
        if (c == "\"" || (c == "'" && substr(line, i - 1, 1) !~ /[A-Za-z0-9_]/)) {
            q = c; text = c
            for (i++; i <= n; i++) {
                d = substr(line, i, 1); text = text d
                if (d == "\\") { i++; text = text substr(line, i, 1); continue }
                if (d == q) break
            }
            if (kind[depth] == "enum") enumbody = enumbody text; else add(text)
            continue
        }
        if (c == "{") {
            s = stmt
            if (kind[depth] == "enum") { kind[++depth] = "block"; nonns++; continue }
            pre = index(s, "(") ? substr(s, 1, index(s, "(") - 1) : s
            if (inits > 0 || s ~ /=[ \t]*$/ || (pre ~ /(^|[^A-Za-z_0-9])(const|constexpr)[ \t]/ &&
                (pre ~ /=/ || (s !~ /\(/ && s !~ /(^|[^A-Za-z_0-9])(class|struct|union|enum)[ \t]/)))) {
                kind[++depth] = "init"; inits++; add(c); continue
            }
            if (s ~ /(^|[^A-Za-z_0-9])namespace([^A-Za-z_0-9]|$)/ || s ~ /extern[ \t]*"C"/) kind[++depth] = "ns"
            else if (s ~ /(^|[^A-Za-z_0-9])enum[ \t]+(class|struct)([^A-Za-z_0-9]|$)/) { kind[++depth] = "block"; nonns++ }
            else if (s ~ /(^|[^A-Za-z_0-9])enum([^A-Za-z_0-9]|$)/ && s !~ /\(/) {
                kind[++depth] = "enum"; nonns++; enumbody = ""; enumline = FNR
            } else { kind[++depth] = "block"; nonns++ }
            reset_stmt()
            continue
        }
        if (c == "}") {
            if (depth == 0) continue
            k = kind[depth--]
            if (k == "init") { inits--; add(c); continue }
            if (k != "ns") nonns--
            if (k == "enum" && nonns == 0) enumerators(enumbody, enumline)
            reset_stmt()
            continue
        }
        if (kind[depth] == "enum") { enumbody = enumbody c; continue }
        if (c == ";" && inits == 0) {
            if (nonns == 0) declaration(stmt, stmt_line)
            reset_stmt()
            continue
        }
        add(c)
    }
    if (kind[depth] == "enum") enumbody = enumbody "\n"; else add(" ")
}
AWK
)

# Prints "NAME = VALUE: file:line, file:line" for each constant of file or namespace scope whose
# name and value are declared in two or more of the files; the vocabulary's names and the
# exemptions aside.
same_values() {
    local names=$1
    shift
    [ $# -gt 0 ] || return 0
    local exempt
    exempt=$(printf '%s\n' ${SAME_VALUE_EXEMPT[@]+"${SAME_VALUE_EXEMPT[@]}"})
    awk "$SCOPE_AWK" "$@" | awk -F'\t' -v vocabulary="$names" -v exemptions="$exempt" '
        BEGIN {
            n = split(vocabulary, v, "\n")
            for (i = 1; i <= n; i++) known[v[i]] = 1
            n = split(exemptions, e, "\n")
            for (i = 1; i <= n; i++) {
                m = split(e[i], w, " ")
                for (j = 2; j <= m; j++) exemptFiles[w[1]] = exemptFiles[w[1]] " " w[j] " "
            }
        }
        $1 in known { next }
        {
            key = $1 " = " $2
            file = $3; sub(/:[0-9]+$/, "", file)
            if ((key SUBSEP file) in seen) next
            seen[key SUBSEP file] = 1
            count[key]++
            name[key] = $1
            files[key] = files[key] " " file
            where[key] = where[key] (count[key] > 1 ? ", " : "") $3
        }
        END {
            for (key in count) {
                if (count[key] < 2) continue
                n = split(files[key], f, " ")
                covered = name[key] in exemptFiles
                for (i = 1; covered && i <= n; i++) covered = index(exemptFiles[name[key]], " " f[i] " ") > 0
                if (!covered) print key ": " where[key]
            }
        }' | sort
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
        out=$(same_values "$names" "${product[@]}")
        if [ -n "$out" ]; then
            echo "Constants declared again under one name with one value; declare each once, beside its owner:"
            sed 's/^/  same value: /' <<<"$out"
            bad=1
        fi
        exit $bad
    )
}

self_test() {
    local tmp out found expected
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' RETURN
    mkdir -p "$tmp"/{RaidManager/Zpr/Records/{Drive,LogicalDrive,Controller},CpMgmt/CmdPro,DataProvider,Output,System,Simulator/Firmware}
    printf 'constexpr uint16_t PD_STATE_ONLINE = 0x18;\nconstexpr uint8_t LD_STATE_OPTIMAL = 3;\n' \
        > "$tmp/RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
    printf 'constexpr uint8_t LEVEL_RAID0 = 0;\n' > "$tmp/RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"
    printf 'constexpr uint8_t STATUS_NO_DEVICE = 0x0C;\n' > "$tmp/RaidManager/Zpr/Records/ZprFirmwareStatus.h"
    printf 'namespace zprframe {\nconstexpr uint8_t FRAME_STATUS = 2;\n}\n' > "$tmp/RaidManager/Zpr/Records/ZprFrameLayout.h"
    printf 'enum RmStatus : int {\n    OS_STEP_FAILED = -2,\n    NOT_POSSIBLE = 11,\n};\n' > "$tmp/RaidManager/RmStatus.h"
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
if (status == OS_STEP_FAILED) { return NOT_POSSIBLE; }
EOF
    printf 'class Plan {\n    static constexpr uint8_t LEVEL_RAID0 = ::LEVEL_RAID0;\n};\n' > "$tmp/RaidManager/Ok.h"
    printf 'const uint16_t PD_STATE_ONLINE = 0x18;\nif (d.state == PD_STATE_HOT_SPARE) {}\n' > "$tmp/Simulator/Ok.cpp"
    # One name with one value twice, where it is lawful: class members, constants inside a
    # function or a scoped enum, one name with two values, a constant the simulator repeats,
    # and an exempted pair.
    cat > "$tmp/CpMgmt/CmdPro/ScopeOk.cpp" <<'EOF'
namespace {
const char* const OPEN_TEXT = "{ ROOM";
class Alpha {
    static const int ROOM = 4;
};
int twice() { const int ROOM = 4; return ROOM * 2; }
enum class Kind { ROOM = 4, WIDTH = 5 };
const int WIDTH = 5;
}  // namespace
EOF
    printf 'struct Beta {\n    static constexpr int ROOM = 4;\n};\nconstexpr int WIDTH = 6;\n' > "$tmp/RaidManager/ScopeOk.h"
    printf 'const int WIDTH = 5;\n' > "$tmp/Simulator/ScopeOk.cpp"
    local exempt_name="" exempt_files="" exempt_file
    if [ ${#SAME_VALUE_EXEMPT[@]} -gt 0 ]; then
        read -r exempt_name exempt_files <<<"${SAME_VALUE_EXEMPT[0]}"
        for exempt_file in $exempt_files; do
            mkdir -p "$tmp/$(dirname "$exempt_file")"
            printf 'const int %s = 1;\n' "$exempt_name" > "$tmp/$exempt_file"
        done
    fi
    if ! out=$(check_tree "$tmp" 2>&1); then
        echo "self-test: lawful uses were refused:"; echo "$out"; return 1
    fi
    # Each of these must be caught, one line each.
    printf 'const uint8_t PD_STATE_ONLINE = 0x18;\n' > "$tmp/CpMgmt/CmdPro/Planted.cpp"
    printf '    static const int STATUS_NO_DEVICE = 12;\n' > "$tmp/CpMgmt/CmdPro/Planted.h"
    printf '#define LD_STATE_OPTIMAL 3\n' > "$tmp/RaidManager/Planted.h"
    printf 'enum Levels {\n    LEVEL_RAID0 = 0,\n};\n' > "$tmp/RaidManager/PlantedEnum.h"
    printf 'const uint8_t FRAME_STATUS = 2;\n' > "$tmp/DataProvider/Planted.cpp"
    printf 'const int NOT_POSSIBLE = 11;\n' > "$tmp/CpMgmt/CmdPro/PlantedStatus.cpp"
    printf 'const unsigned LD_POWER_SAVING_BIT = 4;   // of LD_FEATURES\n' > "$tmp/CpMgmt/CmdPro/PlantedBit.cpp"
    printf 'const uint8_t PD_STATE_HOT_SPARE = 2;\n' > "$tmp/Simulator/Firmware/Planted.cpp"
    printf 'if (info.firmwareState() == 24) {}\n' > "$tmp/CpMgmt/CmdPro/PlantedLiteral.cpp"
    printf 'if (state != 0x40) {}\n' > "$tmp/RaidManager/PlantedLiteral.cpp"
    printf 'if (d.powerState() == 0x01) {}\n' > "$tmp/Simulator/PlantedLiteral.cpp"
    printf 'namespace {\nconst uint32_t SHARED_LIMIT = 0x10;\n}\n' > "$tmp/CpMgmt/CmdPro/PlantedPair.cpp"
    printf 'constexpr int SHARED_LIMIT = 16;   // the same again\n' > "$tmp/RaidManager/PlantedPair.h"
    printf 'enum Codes {\n    FIRST_CODE = 2,\n    PLANTED_CODE,\n};\n' > "$tmp/Output/PlantedEnum.h"
    printf '#define PLANTED_CODE 3\n' > "$tmp/System/PlantedDefine.h"
    expected=13
    if [ -n "$exempt_name" ]; then
        # An exemption covers its own files only: a third copy is reported.
        printf 'const int %s = 1;\n' "$exempt_name" > "$tmp/DataProvider/PlantedExempt.cpp"
        expected=14
    fi
    out=$(check_tree "$tmp" 2>&1) && { echo "self-test: planted re-declarations were not caught"; return 1; }
    found=$(grep -cE '^  (redeclares|literal|same value): ' <<<"$out" || true)
    if [ "$found" -ne "$expected" ]; then
        echo "self-test: expected $expected findings, got $found:"; echo "$out"; return 1
    fi
    if grep -q 'Ok\.' <<<"$out"; then
        echo "self-test: a lawful file was reported:"; echo "$out"; return 1
    fi
    echo "self-test: $expected planted re-declarations, literals and repeated constants caught, lawful uses passed"
}

if [ "${1:-}" = "--self-test" ]; then
    self_test
    exit
fi
root=${1:-"$(dirname "$0")/.."}
if check_tree "$root"; then
    echo "firmware values: each declared once, and compared by name; no constant declared twice"
else
    echo "firmware values: the declarations above repeat a value" >&2
    exit 1
fi
