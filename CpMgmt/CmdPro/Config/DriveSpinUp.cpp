#include "CpMgmt/CmdPro/Config/DriveSpinUp.h"

#include "Output/VoMessage.h"
#include "Output/VtMessages.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"

int spinUpDriveLists(RaidManager* manager, ArrayList<ArrayList<PhysicalDevice*>*>* lists)
{
    if (manager == nullptr)
        return -1;
    // The model counts the spun-down drives on its first call only: both counts live across
    // the rounds.
    uint32_t spunUp = 0;
    uint32_t spunDown = 0;
    bool reported = false;
    int status = 0;
    for (unsigned round = 0; round < MAX_SPIN_UP_ROUNDS; ++round) {
        status = manager->spinUpDrives(lists, &spunUp, &spunDown);
        if (status == 0 && spunDown == 0)
            return 0;
        if (status == 0 && spunUp == spunDown) {
            printMessage(MSG_SPINUP_DONE, static_cast<int>(spunUp));
            return 0;
        }
        if (status == 0) {
            printMessage(MSG_SPINUP_PARTIAL, static_cast<int>(spunUp), static_cast<int>(spunDown));
            printMessage(MSG_SPINUP_FAILED);
            return -1;
        }
        if (status == STATUS_OTHER_POWER_UPDATE_BUSY) {   // another set is spinning up
            printMessage(MSG_SPINUP_OTHER_SET);
            continue;
        }
        if (status != STATUS_POWER_UPDATE_BUSY) {   // the drives are spinning up
            printMessage(MSG_SPINUP_FAILED);
            return status;
        }
        if (!reported)
            printMessage(MSG_SPINUP_STARTED);
        reported = true;
        printMessage(MSG_SPINUP_SO_FAR, static_cast<int>(spunDown), static_cast<int>(spunUp));
    }
    // The controller never finished: its last answer is the result.
    printMessage(MSG_SPINUP_FAILED);
    return status;
}
