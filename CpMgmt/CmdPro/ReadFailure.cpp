#include "CpMgmt/CmdPro/ReadFailure.h"

#include "CpMgmt/EnclosureIdText.h"
#include "Output/VoMessage.h"
#include "Output/VtMessages.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmData.h"

namespace {

int failure(int status)
{
    return status != 0 ? status : -1;
}

// The slot of an element the configuration made: it came with no drive-list entry.
const uint8_t SLOT_NOT_LISTED = 255;

// What the lookup answered, checked: see lookUpDrive.
int checkDriveLookup(uint8_t adapterNumber, uint16_t enclosureId, uint8_t slot, int lookup, PhysicalDevice* pd)
{
    if (lookup != 0)
        return driveUnreadable(adapterNumber, enclosureId, slot, lookup);
    if (pd == nullptr)
        return 0;
    uint16_t state = 0;
    const int status = pd->getFirmwareState(&state);
    return status != 0 ? driveUnreadable(adapterNumber, enclosureId, slot, status) : 0;
}

}  // namespace

int vdListUnreadable(int status)
{
    printMessage(MSG_VD_LIST_FAILED);
    return failure(status);
}

int vdUnreadable(uint8_t adapterNumber, uint8_t targetId, int status)
{
    printMessage(MSG_VD_DATA_FAILED, static_cast<int>(adapterNumber), static_cast<int>(targetId));
    return failure(status);
}

int driveUnreadable(uint8_t adapterNumber, uint16_t enclosureId, uint8_t slot, int status)
{
    printMessage(MSG_PD_INFO_READ_FAILED, static_cast<int>(adapterNumber), formatEnclosureId(enclosureId),
                 static_cast<int>(slot));
    return failure(status);
}

int driveUnreadable(uint8_t adapterNumber, PhysicalDevice* drive, int status)
{
    const PdIdZpr* id = drive != nullptr ? dynamic_cast<const PdIdZpr*>(drive->getId()) : nullptr;
    if (id == nullptr || id->getSlotNumber() == SLOT_NOT_LISTED) {
        printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber), "get PD info");
        return failure(status);
    }
    return driveUnreadable(adapterNumber, id->getEnclosureDeviceId(), id->getSlotNumber(), status);
}

int ssdCacheListUnreadable(uint8_t adapterNumber, int status)
{
    printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber), "get Tidewell association");
    return failure(status);
}

int lookUpDrive(RaidManager* manager, uint8_t adapterNumber, uint16_t enclosureId, uint8_t slot, PhysicalDevice** pd)
{
    *pd = nullptr;
    EnclSlotId address(enclosureId, slot);
    const int lookup = manager != nullptr ? manager->findPdByEnclSlot(&address, pd) : -1;
    return checkDriveLookup(adapterNumber, enclosureId, slot, lookup, *pd);
}

int lookUpDrive(RmData* rmData, uint8_t adapterNumber, uint16_t enclosureId, uint8_t slot, PhysicalDevice** pd)
{
    *pd = nullptr;
    EnclSlotId address(enclosureId, slot);
    const int lookup = rmData != nullptr ? rmData->findPdByEnclSlot(&address, pd) : -1;
    return checkDriveLookup(adapterNumber, enclosureId, slot, lookup, *pd);
}
