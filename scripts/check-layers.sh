#!/usr/bin/env bash
# Fails when a product file includes a file of a layer above its own.
#
# Usage: scripts/check-layers.sh [SOURCE_ROOT]     (default: the folder above this script)
#        scripts/check-layers.sh --self-test        (checks that the checker catches what it must)
#
# The layers, top to bottom (a file may include its own layer and the layers below):
#   front end        Parser/VolantManager.*, Parser/*Main.cpp
#   CpMgmt/CmdPro/<Area>/   command processors, by area (Adapter/, Config/, Drive/, ...)
#   CpMgmt/CmdPro/   the processor frame and the helpers of every area (files of the folder
#                    itself), and the shared pieces that are not processors: Files/ (file
#                    formats), Display/ (displays and texts), Events/ (event-record texts)
#   CpMgmt/          dispatch
#   Parser/Cmd/      command parsers (Parser/Cmd/<Area>/ beside the bases of the folder itself)
#   Parser/          scanner, grammar, requests, parser base
#   RaidManager/     the model and its data classes (RaidManager/Zpr/ included)
#   ControllerMgmt/
#   DataProvider/
#   Output/
#   System/
#   records          RaidManager/Zpr/Records/: layouts over PavUtil only, so every layer
#                    above PavUtil may include them
#   PavUtil/
# Simulator/ (its folders Firmware/ and Description/ included) is test equipment beside the
# layers: it includes Simulator/, System/ and PavUtil/ only (its integrated-RAID stand-in also
# the library's call interface, DataProvider/AkLibCommand.h), and only QuillCliSim's entry
# (Parser/QuillCliSimMain.cpp) includes it. The link graph in CMakeLists.txt catches most upward
# includes already (a library does not see the folders of the areas above it); this check also
# catches those within a folder the library sees, and header-only ones.
set -euo pipefail

# The layer of a path relative to the source root: a number (higher is above), "sim" for the
# simulator, or nothing for files outside the layers.
layer_awk='
function layer(p,   n) {
    if (p ~ /^Parser\/VolantManager\.(h|cpp)$/ || p ~ /^Parser\/[^\/]*Main\.cpp$/) return 80
    if (p ~ /^CpMgmt\/CmdPro\/(Files|Display|Events)\// || p ~ /^CpMgmt\/CmdPro\/[^\/]*$/) return 72
    if (p ~ /^CpMgmt\/CmdPro\//) return 75
    if (p ~ /^CpMgmt\//) return 70
    if (p ~ /^Parser\/Cmd\//) return 65
    if (p ~ /^Parser\//) return 60
    if (p ~ /^RaidManager\/Zpr\/Records\//) return 5
    if (p ~ /^RaidManager\//) return 50
    if (p ~ /^ControllerMgmt\//) return 40
    if (p ~ /^DataProvider\//) return 30
    if (p ~ /^Output\//) return 20
    if (p ~ /^System\//) return 10
    if (p ~ /^PavUtil\//) return 0
    if (p ~ /^Simulator\//) return "sim"
    return ""
}
function allowed(file, inc, lf, li) {
    lf = layer(file); li = layer(inc)
    if (li == "") return 1                       # not a file of the layers (system headers)
    if (lf == "sim") {
        if (li == "sim" || li == 0 || li == 10) return 1
        return file ~ /^Simulator\/ir2lib\// && inc == "DataProvider/AkLibCommand.h"
    }
    if (li == "sim") return file == "Parser/QuillCliSimMain.cpp"
    return li + 0 <= lf + 0
}
{
    line = $0
    if (line !~ /^[ \t]*#[ \t]*include[ \t]*["<]/) next
    sub(/^[ \t]*#[ \t]*include[ \t]*["<]/, "", line)
    sub(/[">].*$/, "", line)
    inc = line
    if (inc ~ /\.\.\//) {
        printf "%s:%d: includes \"%s\": a relative path around the layers\n", FILENAME, FNR, inc
        bad++
        next
    }
    if (inc !~ /\//) next                          # a file of the same folder
    if (!allowed(FILENAME, inc)) {
        printf "%s:%d: includes \"%s\", a layer above its own\n", FILENAME, FNR, inc
        bad++
    }
}
END { exit bad ? 1 : 0 }
'

check_tree() {
    local root=$1
    (
        cd "$root"
        local files=()
        local dir
        for dir in PavUtil System Output DataProvider ControllerMgmt RaidManager Parser CpMgmt Simulator; do
            [ -d "$dir" ] || continue
            while IFS= read -r -d '' f; do files+=("${f#./}"); done \
                < <(find "$dir" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.def' -o -name '*.inc' \) -print0)
        done
        [ ${#files[@]} -gt 0 ] || { echo "no source files under $root" >&2; exit 2; }
        awk "$layer_awk" "${files[@]}"
    )
}

self_test() {
    local tmp
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' RETURN
    mkdir -p "$tmp"/{PavUtil,System,Output,DataProvider,ControllerMgmt,RaidManager/Zpr/Records/LogicalDrive,Parser/Cmd/Adapter,CpMgmt/CmdPro/{Adapter,Files,Display},Simulator/{ir2lib,Firmware,Description}}
    # Includes that must pass.
    printf '#include "PavUtil/LeView.h"\n' > "$tmp/RaidManager/Zpr/Records/LogicalDrive/ZprLdList.h"
    printf '#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdList.h"\n#include "System/OsBoundary.h"\n' > "$tmp/ControllerMgmt/Ok.cpp"
    printf '#include "Parser/Parser.h"\n#include "CpMgmt/CpController.h"\n' > "$tmp/CpMgmt/CmdPro/Ok.cpp"
    printf '#include "CpMgmt/CmdPro/Display/InfoLines.h"\n#include "CpMgmt/CmdPro/AdpCpSteps.h"\n' > "$tmp/CpMgmt/CmdPro/Adapter/Ok.cpp"
    printf '#include "CpMgmt/CmdPro/Files/FlashImageReader.h"\n' > "$tmp/CpMgmt/CmdPro/Display/Ok.cpp"
    printf '#include "Simulator/SimHost.h"\n#include "Parser/VolantManager.h"\n' > "$tmp/Parser/QuillCliSimMain.cpp"
    printf '#include "DataProvider/AkLibCommand.h"\n#include <cstdio>\n' > "$tmp/Simulator/ir2lib/Ok.cpp"
    printf '#include "System/OsBoundary.h"\n#include "Simulator/SimState.h"\n' > "$tmp/Simulator/Ok.cpp"
    printf '#include "Simulator/Description/SimDescription.h"\n#include "PavUtil/LeView.h"\n' > "$tmp/Simulator/Firmware/Ok.cpp"
    printf '#include "Simulator/Firmware/SimFirmware.h"\n#include "Simulator/SimModel.h"\n' > "$tmp/Simulator/Description/Ok.h"
    if ! out=$(check_tree "$tmp" 2>&1); then
        echo "self-test: lawful includes were refused:"; echo "$out"; return 1
    fi
    # Each of these must be caught, one line each.
    printf '#include "System/OsBoundary.h"\n' > "$tmp/PavUtil/Up.cpp"
    printf '#include "DataProvider/PavError.h"\n' > "$tmp/Output/Up.h"
    printf '#include "RaidManager/Zpr/AdapterDataZpr.h"\n' > "$tmp/ControllerMgmt/Up.cpp"
    printf '#include "RaidManager/Zpr/ZprData.h"\n' > "$tmp/DataProvider/Up.cpp"
    printf '#include "Output/VoPrint.h"\n' > "$tmp/RaidManager/Zpr/Records/ZprBad.h"
    printf '#include "CpMgmt/CmdPro/Adapter/AdpBiosCp.h"\n' > "$tmp/CpMgmt/CmdPro/Display/Up.cpp"
    printf '#include "CpMgmt/CmdPro/Adapter/AdpBiosCp.h"\n' > "$tmp/CpMgmt/CmdPro/Up.h"
    printf '#include "Parser/Cmd/Adapter/AdpCountParser.h"\n' > "$tmp/Parser/Up.cpp"
    printf '#include "CpMgmt/CmdPro/CpAdpCount.h"\n' > "$tmp/CpMgmt/Up.cpp"
    printf '#include "Parser/VolantManager.h"\n' > "$tmp/CpMgmt/CmdPro/Up.cpp"
    printf '#include "Simulator/SimHost.h"\n' > "$tmp/Parser/QuillCliMain.cpp"
    printf '#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdList.h"\n' > "$tmp/Simulator/Up.cpp"
    printf '#include "Output/VoPrint.h"\n' > "$tmp/Simulator/Firmware/Up.cpp"
    printf '#include "Simulator/Firmware/SimFirmware.h"\n' > "$tmp/CpMgmt/CmdPro/Display/Up.h"
    printf '#include "../Output/VoPrint.h"\n' > "$tmp/System/Up.cpp"
    local expected=15 found
    out=$(check_tree "$tmp" 2>&1) && { echo "self-test: upward includes were not caught"; return 1; }
    found=$(grep -c ': includes ' <<<"$out" || true)
    if [ "$found" -ne "$expected" ]; then
        echo "self-test: expected $expected findings, got $found:"; echo "$out"; return 1
    fi
    echo "self-test: $expected upward includes caught, lawful ones passed"
}

if [ "${1:-}" = "--self-test" ]; then
    self_test
    exit
fi
root=${1:-"$(dirname "$0")/.."}
if check_tree "$root"; then
    echo "layers: every include goes down"
else
    echo "layers: the includes above cross a layer upward" >&2
    exit 1
fi
