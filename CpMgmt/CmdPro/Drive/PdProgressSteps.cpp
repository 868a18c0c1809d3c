#include "CpMgmt/CmdPro/Drive/PdProgressSteps.h"

#include <cstdio>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CommandProcessor.h"
#include "CpMgmt/EnclosureIdText.h"
#include "Parser/ParsedObject.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/EnclosureIds.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"

std::vector<DriveAddress> driveAddressesOf(const ArrayList<PdIdListObject*>* drives)
{
    std::vector<DriveAddress> addresses;
    for (unsigned char i = 0; drives != nullptr && i < drives->count(); ++i) {
        const PdIdListObject* entry = drives->get(i);
        if (entry != nullptr)
            addresses.push_back({entry->getEnclosureId(), entry->getSlot()});
    }
    return addresses;
}

std::vector<DriveAddress> driveAddressesOf(const ArrayList<EnclSlotId*>* drives)
{
    std::vector<DriveAddress> addresses;
    for (unsigned char i = 0; drives != nullptr && i < drives->count(); ++i) {
        const EnclSlotId* entry = drives->get(i);
        if (entry != nullptr)
            addresses.push_back({entry->getEnclosureId(), entry->getSlotNumber()});
    }
    return addresses;
}

int findRequestedDrive(CpController* cpController, RaidManager* manager, const DriveAddress& address,
                       DriveInRequest* drive, bool namesWrittenEnclosure)
{
    drive->enclosureId = address.enclosureId;
    drive->slot = address.slot;
    const int status = CommandProcessor::resolveEnclosureId(cpController, &drive->enclosureId);
    if (status != 0)
        return status;
    const uint8_t adapterNumber = adapterNumberOf(cpController);
    const int checked = lookUpDrive(manager, adapterNumber, drive->enclosureId, drive->slot, &drive->pd);
    if (checked != 0)
        return checked;
    if (drive->pd != nullptr)
        return 0;
    const bool written = namesWrittenEnclosure && address.enclosureId != ENCLOSURE_ID_RESOLVE;
    printMessage(MSG_PD_NOT_FOUND, static_cast<int>(adapterNumber),
                 formatEnclosureId(written ? address.enclosureId : drive->enclosureId), drive->slot);
    return -1;
}

void suspendOrResumeDrive(PhysicalDevice* pd, uint16_t deviceId, const DriveSuspendResume& step)
{
    char line[100] = {};
    uint8_t allowed = 0;
    int status = (pd->*step.allowedNow)(&allowed);
    if (status != 0) {
        snprintf(line, sizeof line, "%s %d retCode = 0x%X", step.queryFailed, deviceId, status);
    } else if (allowed == 0) {
        snprintf(line, sizeof line, "%s %d", step.notAllowed, deviceId);
    } else {
        status = (pd->*step.command)();
        if (status != 0)
            snprintf(line, sizeof line, "%s %d retCode = 0x%X", step.failed, deviceId, status);
        else
            snprintf(line, sizeof line, "%s %d", step.succeeded, deviceId);
    }
    printMessage(MSG_TEXT, line);
}
