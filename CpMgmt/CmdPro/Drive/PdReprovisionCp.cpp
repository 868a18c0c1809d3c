#include "CpMgmt/CmdPro/Drive/PdReprovisionCp.h"

#include <cstdint>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/Drive/PdProgressSteps.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/EnclosureIdText.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"

namespace {

// How a drive can be erased at once.
enum class InstantErase {
    NOT_ALLOWED,
    REPROVISION,      // the firmware marks the drive as reprovisionable
    UNLOCK_FOREIGN,   // locked by a foreign key, on an adapter with encryption enabled
};

// A flag the firmware does not answer counts as not set.
InstantErase eraseKindOf(Adapter* adapter, PhysicalDevice* pd)
{
    uint8_t reprovisionable = 0;
    ignoreStatus(pd->getFlag362Bit1(&reprovisionable), "an unread flag keeps 0: not reprovisionable");
    if (reprovisionable == 1)
        return InstantErase::REPROVISION;
    uint8_t foreignLocked = 0;
    uint8_t encryption = 0;
    uint8_t locked = 0;
    ignoreStatus(pd->isForeignLocked(&foreignLocked), "an unread flag keeps 0: no erase");
    ignoreStatus(adapter->isEncryptionEnabled(&encryption), "an unread flag keeps 0: no erase");
    ignoreStatus(pd->isLocked(&locked), "an unread flag keeps 0: no erase");
    return foreignLocked == 1 && encryption == 1 && locked == 1 ? InstantErase::UNLOCK_FOREIGN
                                                                : InstantErase::NOT_ALLOWED;
}

// One drive: 0 to go on with the next, -1 to end the command.
int eraseDrive(int adapterNumber, Adapter* adapter, const DriveInRequest& drive, bool force)
{
    const char* enclosure = formatEnclosureId(drive.enclosureId);
    const InstantErase kind = eraseKindOf(adapter, drive.pd);
    if (kind == InstantErase::NOT_ALLOWED) {
        printMessage(MSG_INSTANT_ERASE_NOT_ALLOWED, adapterNumber, enclosure, drive.slot);
        return 0;
    }
    if (!force) {
        printMessage(MSG_FORCE_REQUIRED);
        return -1;
    }
    const int status = kind == InstantErase::REPROVISION ? drive.pd->startReprovision()
                                                         : drive.pd->reprovisionLockedDrive();
    if (status != 0) {
        printMessage(MSG_INSTANT_ERASE_FAILED, adapterNumber, enclosure, drive.slot);
        return -1;
    }
    printMessage(MSG_INSTANT_ERASE_DONE, adapterNumber, enclosure, drive.slot);
    return 0;
}

}  // namespace

int PdReprovisionCp::process(CpController* cpController, ParsedObject* request)
{
    CpDeferredStart<PdReprovisionParsedObject> start(cpController, request, "PdReprovisionParsedObject *");
    if (!start)
        return start.result();
    PdReprovisionParsedObject* own = start.request();
    // The older word only prints its note: it reads nothing of the model.
    if (own->getCommandToken() == TOKEN_PDREPROVISION) {
        printMessage(MSG_REPROVISION_DEPRECATED);
        return -1;
    }
    if (!start.take(CP_NEEDS_MODEL_ADAPTER))
        return start.result();
    for (const DriveAddress& address : driveAddressesOf(own->getDriveList())) {
        DriveInRequest drive;
        int status = findRequestedDrive(cpController, start.manager(), address, &drive);
        if (status == 0)
            status = eraseDrive(start.number(), start.adapter(), drive, own->force == 1);
        if (status != 0)
            return status;
    }
    return 0;
}

namespace {

const CpRegistration<PdReprovisionCp> registration;

}  // namespace
