#include "CpMgmt/CmdPro/Drive/PdRbldCp.h"

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
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"
#include "RaidManager/Zpr/Records/Drive/ZprPdProgressBlock.h"

namespace {

const DriveProgressMember REBUILD_DISPLAY = {
    PdProgressBlock::OP_REBUILD, PdProgressBlock::REBUILD_OR_COPYBACK, PdProgressBlock::OP_REBUILD,
    false, false,
    "PD is in Suspend Stage :- ", false, MSG_PD_NOT_IN_REBUILD, true, false,
    true, false, true, FirstReadClears::AT_SUCCESSFUL_READ,
    {MSG_PD_REBUILD_PROGRESS_TITLE, MSG_PD_PROGRESS_COLUMNS, '*', false, ElapsedRule::UNTIL_ENDED, false, true},
};

const DriveSuspendResume SUSPEND = {
    &PhysicalDevice::canSuspendRebuild, &PhysicalDevice::suspendRebuild,
    "Failed to Get PD Rebuild Suspend Allowed Operation PDID=", "PD Rebuild Suspend Operation is not allowed. PDID=",
    "PD Rebuild Suspend Operation is Failed. PDID=", "PD Rebuild Suspend Operation is Successfull. PDID="};
const DriveSuspendResume RESUME = {
    &PhysicalDevice::canResumeRebuild, &PhysicalDevice::resumeRebuild,
    "Failed to Get PD Rebuild Resume Allowed Operation PDID=", "PD Rebuild Resume Operation is not allowed. PDID=",
    "PD Rebuild Resume Operation is Failed. PDID=", "PD Rebuild Resume Operation is Successfull. PDID="};

// The line of a start or stop by its status.
void reportStartStop(int adapter, uint16_t enclosureId, uint8_t slot, bool start, int status)
{
    const char* enclosure = formatEnclosureId(enclosureId);
    if (status == 0)
        printMessage(start ? MSG_PD_REBUILD_STARTED : MSG_PD_REBUILD_STOPPED, enclosure, slot);
    else if (status == STATUS_WRONG_STATE)
        printMessage(start ? MSG_PD_REBUILD_NOT_POSSIBLE : MSG_PD_NOT_IN_REBUILD_STATE, enclosure, slot);
    else if (status == STATUS_NO_DEVICE)
        printMessage(MSG_PD_NOT_FOUND, adapter, enclosure, slot);
    else if (status == STATUS_INVALID_SEQUENCE)
        printMessage(MSG_PD_INVALID_SEQUENCE);
    else
        // Any other refusal still gets its drive's line: a walk over several drives would
        // otherwise hide it behind the status of a later drive.
        printMessage(MSG_OPERATION_FAILED, adapter, "rebuild");
}

void showRebuildLine(PhysicalDevice* pd, uint16_t enclosureId, uint8_t slot, int* result)
{
    uint8_t raw[PdProgressBlock::SIZE] = {};
    *result = pd->getProgress(raw);
    if (*result != 0)
        return;
    PdProgressBlock block(raw, sizeof raw);
    const char* enclosure = formatEnclosureId(enclosureId);
    if ((block.running() & PdProgressBlock::OP_REBUILD) == 0)
        printMessage(MSG_PD_NOT_IN_REBUILD, enclosure, slot);
    else if ((block.suspended() & PdProgressBlock::OP_REBUILD) != 0)
        printMessage(MSG_TEXT, "PD-Rebuild is in Suspend Stage\n");
    else
        printMessage(MSG_PD_REBUILD_PROGRESS, enclosure, slot,
                     progressPercent(block.progress(PdProgressBlock::REBUILD_OR_COPYBACK)),
                     block.elapsedSeconds(PdProgressBlock::REBUILD_OR_COPYBACK) / 60);
}

// The adapter checks before any drive: 0 to go on, else the command's result.
int checkAdapter(RaidManager* manager, unsigned short action)
{
    Adapter* adapter = nullptr;
    int status = manager->getAdapter(&adapter);
    if (status != 0 || adapter == nullptr) {
        printMessage(MSG_TEXT, "Fail To Get Adapter.");
        return status != 0 ? status : -1;
    }
    if (action != TOKEN_SUSPEND && action != TOKEN_RESUME)
        return 0;
    uint8_t allowed = 0;
    status = adapter->getAllowedOperations(&allowed);
    if (status != 0) {
        printMessage(MSG_TEXT, "Fail To Get Adapter allowed  Operations.");
        return status;
    }
    if (allowed == 0) {
        printMessage(MSG_TEXT, "FW not Supported BG Suspend Resume Operations.");
        return -1;
    }
    return 0;
}

}  // namespace

int PdRbldCp::showProgress(CpController* cpController, PdRebuildParsedObject* request)
{
    return showDriveProgress(cpController, driveAddressesOf(request->driveList), REBUILD_DISPLAY);
}

int PdRbldCp::process(CpController* cpController, ParsedObject* request)
{
    CpDeferredStart<PdRebuildParsedObject> start(cpController, request, "PdRebuildParsedObject *");
    if (!start)
        return start.result();
    PdRebuildParsedObject* own = start.request();
    const unsigned short action = own->getAction();
    // The display reads the drives itself: the model steps come only after it.
    if (action == TOKEN_PROGDSPLY)
        return showProgress(cpController, own);
    if (!start.take(CP_NEEDS_MODEL))
        return start.result();
    const uint8_t adapterNumber = start.number();
    RaidManager* manager = start.manager();
    int result = checkAdapter(manager, action);
    if (result != 0)
        return result;
    for (const DriveAddress& address : driveAddressesOf(own->driveList)) {
        DriveInRequest drive;
        const int found = findRequestedDrive(cpController, manager, address, &drive);
        if (found != 0)
            return found;
        uint16_t deviceId = 0xFFFF;
        ignoreStatus(drive.pd->getDeviceId(&deviceId), "an unread id keeps 0xFFFF: no drive");
        switch (action) {
        case TOKEN_SHOWPROG:
            showRebuildLine(drive.pd, drive.enclosureId, drive.slot, &result);
            break;
        case TOKEN_SUSPEND:
        case TOKEN_RESUME:
            suspendOrResumeDrive(drive.pd, deviceId, action == TOKEN_SUSPEND ? SUSPEND : RESUME);
            break;
        case TOKEN_START:
        case TOKEN_STOP:
            result = action == TOKEN_START ? drive.pd->startRebuild() : drive.pd->stopRebuild();
            reportStartStop(adapterNumber, drive.enclosureId, drive.slot, action == TOKEN_START, result);
            break;
        default:
            printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber), "rebuild");
            return -1;
        }
    }
    return result;
}

namespace {

const CpRegistration<PdRbldCp> registration;

}  // namespace
