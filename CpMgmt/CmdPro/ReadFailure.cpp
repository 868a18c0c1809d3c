#include "CpMgmt/CmdPro/ReadFailure.h"

#include "CpMgmt/EnclosureIdText.h"
#include "Output/VoMessage.h"
#include "Output/VtMessages.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmData.h"

namespace {

int failure(int status)
{
    return status != 0 ? status : -1;
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

namespace {

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
