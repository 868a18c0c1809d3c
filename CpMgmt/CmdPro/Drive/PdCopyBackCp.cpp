#include "CpMgmt/CmdPro/Drive/PdCopyBackCp.h"

#include <cstdint>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/Drive/PdProgressSteps.h"
#include "CpMgmt/CmdPro/Display/ProgressDisplay.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/EnclosureIdText.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Drive/ZprPdProgressBlock.h"

namespace {

const DriveProgressMember COPYBACK_DISPLAY = {
    PdProgressBlock::OP_COPYBACK, PdProgressBlock::REBUILD_OR_COPYBACK, PdProgressBlock::OP_COPYBACK,
    true, true,
    "PD-Copyback is in Suspend Stage\n", true, MSG_PD_NOT_IN_COPYBACK, false, false,
    true, false, true, FirstReadClears::AT_SUCCESSFUL_READ,
    {MSG_PD_COPYBACK_PROGRESS_TITLE, MSG_PD_PROGRESS_COLUMNS, '*', true, ElapsedRule::UNTIL_ENDED, false, true},
};

const DriveSuspendResume SUSPEND = {
    &PhysicalDevice::canSuspendCopyback, &PhysicalDevice::suspendCopyback,
    "Failed to get copyback suspend allowed. pdid = ", "PD Copy Back Suspend Operation is not allowed. PDID=",
    "Suspend Copy Back Operation Failed. PdId = ", "Suspend Copy Back Operation Successfull. PdId = "};
const DriveSuspendResume RESUME = {
    &PhysicalDevice::canResumeCopyback, &PhysicalDevice::resumeCopyback,
    "Failed to get copyback resume allowed. pdid = ", "PD Copy Back Resume Operation is not allowed. PDID=",
    "Resume Copy Back Operation Failed. PdId = ", "Resume Copy Back Operation Successfull. PdId = "};

int showCopybackLine(PhysicalDevice* pd, uint16_t enclosureId, uint8_t slot)
{
    uint8_t raw[PdProgressBlock::SIZE] = {};
    const int status = pd->getProgress(raw);
    if (status != 0)
        return status;
    PdProgressBlock block(raw, sizeof raw);
    if ((block.running() & PdProgressBlock::OP_COPYBACK) == 0)
        printMessage(MSG_PD_NOT_IN_COPYBACK);
    else if ((block.suspended() & PdProgressBlock::OP_COPYBACK) != 0)
        printMessage(MSG_TEXT, "PD-Copyback is in Suspend Stage\n");
    else
        printMessage(MSG_PD_COPYBACK_PROGRESS, formatEnclosureId(enclosureId), slot,
                     progressPercent(block.progress(PdProgressBlock::REBUILD_OR_COPYBACK)),
                     block.elapsedSeconds(PdProgressBlock::REBUILD_OR_COPYBACK) / 60);
    return 0;
}

int startCopyback(CpController* cpController, RaidManager* manager, const DriveAddress& destinationAddress,
                  PhysicalDevice* source)
{
    DriveInRequest destination;
    const int found = findRequestedDrive(cpController, manager, destinationAddress, &destination);
    if (found != 0)
        return found;
    uint16_t sourceSectorSize = 0;
    uint16_t destinationSectorSize = 0;
    ignoreStatus(source->getLogicalSectorSize(&sourceSectorSize),
                 "an unread sector size keeps 0 and is compared");
    ignoreStatus(destination.pd->getLogicalSectorSize(&destinationSectorSize),
                 "an unread sector size keeps 0 and is compared");
    if (sourceSectorSize != destinationSectorSize) {
        printMessage(MSG_TEXT, "Cannot perform CopyBack operation on drives with different Sector size");
        return -1;
    }
    const int status = source->startCopyback(destination.pd);
    printMessage(status != 0 ? MSG_PD_COPYBACK_START_FAILED : MSG_PD_COPYBACK_STARTED);
    return status;
}

}  // namespace

int PdCopyBackCp::showProgress(CpController* cpController, PdCopyBackParsedObject* request)
{
    std::vector<DriveAddress> drives = driveAddressesOf(request->driveList);
    if (drives.size() > 1)
        drives.resize(1);
    return showDriveProgress(cpController, drives, COPYBACK_DISPLAY);
}

int PdCopyBackCp::process(CpController* cpController, ParsedObject* request)
{
    CpDeferredStart<PdCopyBackParsedObject> start(cpController, request, "PdCopyBackParsedObject *");
    if (!start)
        return start.result();
    PdCopyBackParsedObject* own = start.request();
    const unsigned short action = own->getAction();
    const std::vector<DriveAddress> drives = driveAddressesOf(own->driveList);
    if (drives.size() != (action == TOKEN_START ? 2u : 1u)) {
        printMessage(MSG_PD_INVALID_DRIVES);
        return -1;
    }
    // The display reads the drives itself: the model steps come only after it.
    if (action == TOKEN_PROGDSPLY)
        return showProgress(cpController, own);
    if (!start.take(CP_NEEDS_MODEL_ADAPTER))
        return start.result();
    RaidManager* manager = start.manager();
    if (action == TOKEN_SUSPEND || action == TOKEN_RESUME) {
        const int allowed = checkBackgroundSuspendResume(start.adapter());
        if (allowed != 0)
            return allowed;
    }
    DriveInRequest drive;
    int result = findRequestedDrive(cpController, manager, drives[0], &drive);
    if (result != 0)
        return result;
    uint16_t deviceId = 0xFFFF;
    ignoreStatus(drive.pd->getDeviceId(&deviceId), "an unread id keeps 0xFFFF: no drive");
    switch (action) {
    case TOKEN_SHOWPROG:
        return showCopybackLine(drive.pd, drive.enclosureId, drive.slot);
    case TOKEN_SUSPEND:
    case TOKEN_RESUME:
        suspendOrResumeDrive(drive.pd, deviceId, action == TOKEN_SUSPEND ? SUSPEND : RESUME);
        return 0;
    case TOKEN_START:
        return startCopyback(cpController, manager, drives[1], drive.pd);
    case TOKEN_STOP:
        result = drive.pd->stopCopyback();
        printMessage(result != 0 ? MSG_PD_NOT_IN_COPYBACK : MSG_PD_COPYBACK_STOPPED);
        return result;
    default:
        return -1;
    }
}

namespace {

const CpRegistration<PdCopyBackCp> registration;

}  // namespace
