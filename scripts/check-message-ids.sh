#!/usr/bin/env bash
# Fails when product code prints a message by a bare number or declares a message id of its own:
# every id the code prints is named once, in Output/VtMessages.def (see the comment at its top).
set -uo pipefail
cd "$(dirname "$0")/.."
dirs=(VolantManager CpMgmt Parser RaidManager ControllerMgmt DataProvider Output System PavUtil)
existing=()
for d in "${dirs[@]}"; do [[ -d $d ]] && existing+=("$d"); done
status=0
numeric=$(grep -rnE --include='*.cpp' --include='*.h' \
    '(printMessage\(|printMessageToFile\([^,()]+,)[[:space:]]*(0[xX][0-9a-fA-F]+|[0-9]+)[[:space:]]*[,)]' "${existing[@]}")
if [[ -n $numeric ]]; then
    echo "Messages printed by number; name the id in Output/VtMessages.def:"
    echo "$numeric"
    status=1
fi
local_ids=$(grep -rnE --include='*.cpp' --include='*.h' \
    '(#define[[:space:]]+MSG_[A-Z0-9_]+[[:space:]]|\bMSG_[A-Z0-9_]+[[:space:]]*=[^=])' "${existing[@]}" \
    | grep -v '^Output/VtMessages\.')
if [[ -n $local_ids ]]; then
    echo "Message ids declared outside Output/VtMessages.def:"
    echo "$local_ids"
    status=1
fi
exit $status
