#include "CpMgmt/CmdPro/Drive/PdClrCp.h"

#include <cstdint>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/Drive/PdProgressSteps.h"
#include "CpMgmt/CmdPro/Display/ProgressDisplay.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/EnclosureIdText.h"
#include "Parser/Cmd/Drive/PdClearParser.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Drive/ZprPdProgressBlock.h"

namespace {

const DriveProgressMember CLEAR_DISPLAY = {
    PdProgressBlock::OP_CLEAR, PdProgressBlock::CLEAR_OR_ERASE, 0,
    true, false,
    nullptr, false, MSG_PD_NOT_IN_CLEAR, true, true,
    false, true, false, FirstReadClears::AT_ANY_REFRESH,
    {MSG_PD_CLEAR_PROGRESS_TITLE, MSG_PD_PROGRESS_COLUMNS, '*', true, ElapsedRule::UNTIL_ENDED, false, false},
};

// One "-ShowProg" line: 0, or the status of the failed read, which ends the command.
int showClearLine(int adapter, const DriveInRequest& drive)
{
    uint8_t raw[PdProgressBlock::SIZE] = {};
    const int status = drive.pd->getProgress(raw);
    if (status != 0) {
        printMessage(MSG_OPERATION_FAILED, adapter, "to get progress on PD");
        return status;
    }
    PdProgressBlock block(raw, sizeof raw);
    const char* enclosure = formatEnclosureId(drive.enclosureId);
    if ((block.running() & PdProgressBlock::OP_CLEAR) != 0)
        printMessage(MSG_PD_CLEAR_PROGRESS, enclosure, drive.slot,
                     progressPercent(block.progress(PdProgressBlock::CLEAR_OR_ERASE)),
                     block.elapsedSeconds(PdProgressBlock::CLEAR_OR_ERASE) / 60);
    else
        printMessage(MSG_PD_NOT_IN_CLEAR, enclosure, drive.slot);
    return 0;
}

// What the action does to one drive: 0 to go on with the next, else the command's result.
int clearDrive(int adapter, unsigned char action, const DriveInRequest& drive)
{
    const char* enclosure = formatEnclosureId(drive.enclosureId);
    int status = 0;
    switch (action) {
    case PdClearParser::ACTION_SHOW_PROGRESS:
        return showClearLine(adapter, drive);
    case PdClearParser::ACTION_START:
        status = drive.pd->startClear();
        printMessage(status == 0 ? MSG_PD_CLEAR_STARTED : MSG_PD_CLEAR_START_FAILED, enclosure, drive.slot);
        return status;
    case PdClearParser::ACTION_STOP:
        status = drive.pd->stopClear();
        printMessage(status == 0 ? MSG_PD_CLEAR_STOPPED : MSG_PD_CLEAR_STOP_FAILED, enclosure, drive.slot);
        return status;
    default:
        return -1;
    }
}

}  // namespace

int PdClrCp::showProgress(CpController* cpController, ArrayList<EnclSlotId*>* drives)
{
    return showDriveProgress(cpController, driveAddressesOf(drives), CLEAR_DISPLAY);
}

int PdClrCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<PdClrParsedObject> start(cpController, request, "PdClrParsedObject *", CP_NEEDS_MODEL);
    if (!start)
        return start.result();
    PdClrParsedObject* own = start.request();
    if (own->action == PdClearParser::ACTION_PROGRESS_DISPLAY)
        return showProgress(cpController, own->getDriveList());
    for (const DriveAddress& address : driveAddressesOf(own->getDriveList())) {
        DriveInRequest drive;
        int status = findRequestedDrive(cpController, start.manager(), address, &drive, true);
        if (status == 0)
            status = clearDrive(start.number(), own->action, drive);
        if (status != 0)
            return status;
    }
    return 0;
}

namespace {

const CpRegistration<PdClrCp> registration;

}  // namespace
