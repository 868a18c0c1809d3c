#include "CpMgmt/CmdPro/Drive/SecureEraseCp.h"

#include <cstdint>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/Drive/PdProgressSteps.h"
#include "CpMgmt/CmdPro/Display/ProgressDisplay.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/EnclosureIdText.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/Drive/ZprPdProgressBlock.h"

namespace {

const DriveProgressMember DRIVE_DISPLAY = {
    PdProgressBlock::OP_SECURE_ERASE, PdProgressBlock::CLEAR_OR_ERASE, 0,
    true, true,
    nullptr, false, MSG_PD_NOT_IN_ERASE, true, false,
    true, false, true, FirstReadClears::AT_SUCCESSFUL_READ,
    {MSG_PD_ERASE_PROGRESS_TITLE, MSG_PD_PROGRESS_COLUMNS, '*', false, ElapsedRule::UNTIL_ENDED, false, true},
};

const VdProgressMember VD_DISPLAY = {
    LdProgressBlock::RUNNING_SECURE_ERASE, LdProgressBlock::CONSISTENCY_CHECK, 0, nullptr, MSG_VD_NOT_IN_ERASE,
    {MSG_VD_PROGRESS_TITLE, MSG_VD_PROGRESS_COLUMNS, '*', false, ElapsedRule::UNTIL_ENDED_ONCE_STARTED, true, false},
};

// The firmware's code of an erase-type word; -1 for a word that is none.
int eraseTypeCode(unsigned short word)
{
    static const struct {
        unsigned short word;
        int code;
    } CODES[] = {{TOKEN_SIMPLE, 0}, {TOKEN_NORMAL, 1}, {TOKEN_THOROUGH, 2}};
    for (const auto& row : CODES)
        if (row.word == word)
            return row.code;
    return -1;
}

// ---- the drive form ----------------------------------------------------------------------------

struct DriveErase {
    int adapter;
    const SecureErasePo& request;
    const DriveInRequest& drive;
    const char* enclosure;   // the drive's enclosure as printed
};

int startDriveErase(const DriveErase& step)
{
    // A state that cannot be read is no state to start an erase in, nor a wrong one: the read
    // is named and ends the command.
    uint16_t state = 0xFFFF;
    const int read = step.drive.pd->getFirmwareState(&state);
    if (read != 0)
        return driveUnreadable(static_cast<uint8_t>(step.adapter), step.drive.enclosureId, step.drive.slot, read);
    if (state != 0) {
        printMessage(MSG_PD_ERASE_WRONG_STATE, step.adapter, step.enclosure, step.drive.slot);
        return 0;
    }
    const int type = eraseTypeCode(step.request.getEraseType());
    if (type < 0)
        return -1;
    const int status = step.drive.pd->startSecureErase(static_cast<uint8_t>(type), step.request.getPattern1(),
                                                        step.request.getPattern2());
    printMessage(status != 0 ? MSG_PD_ERASE_START_FAILED : MSG_PD_ERASE_STARTED, step.adapter, step.enclosure,
                 step.drive.slot);
    return status;
}

// Reads the drive's progress: 0 with the block, or -1 after the failure's message (a block that
// could not be read tells nothing about the erase, for a stop either).
int readDriveProgress(const DriveErase& step, uint8_t* raw)
{
    if (step.drive.pd->getProgress(raw) == 0)
        return 0;
    printMessage(MSG_PD_ERASE_PROGRESS_FAILED, step.adapter, step.enclosure, step.drive.slot);
    return -1;
}

int stopDriveErase(const DriveErase& step)
{
    uint8_t raw[PdProgressBlock::SIZE] = {};
    if (readDriveProgress(step, raw) != 0)
        return -1;
    if ((PdProgressBlock(raw, sizeof raw).running() & PdProgressBlock::OP_SECURE_ERASE) == 0) {
        printMessage(MSG_PD_NOT_IN_ERASE, step.enclosure, step.drive.slot);
        return 0;
    }
    if (step.drive.pd->canStopSecureErase() != 1) {
        printMessage(MSG_PD_ERASE_NOT_STOPPABLE, step.adapter, step.enclosure, step.drive.slot);
        return 0;
    }
    const int status = step.drive.pd->stopSecureErase();
    printMessage(status != 0 ? MSG_PD_ERASE_STOP_FAILED : MSG_PD_ERASE_STOPPED, step.adapter, step.enclosure,
                 step.drive.slot);
    return status;
}

int showDriveEraseLine(const DriveErase& step)
{
    uint8_t raw[PdProgressBlock::SIZE] = {};
    if (readDriveProgress(step, raw) != 0)
        return -1;
    const PdProgressBlock block(raw, sizeof raw);
    if ((block.running() & PdProgressBlock::OP_SECURE_ERASE) == 0) {
        printMessage(MSG_PD_NOT_IN_ERASE, step.enclosure, step.drive.slot);
        return 0;
    }
    printMessage(MSG_PD_ERASE_PROGRESS, step.enclosure, step.drive.slot,
                 progressPercent(block.progress(PdProgressBlock::CLEAR_OR_ERASE)),
                 block.elapsedSeconds(PdProgressBlock::CLEAR_OR_ERASE) / 60);
    return 0;
}

// What the action does to one drive: 0 to go on with the next, else the command's result.
int eraseOneDrive(const DriveErase& step)
{
    switch (step.request.getAction()) {
    case TOKEN_START:
        return startDriveErase(step);
    case TOKEN_STOP:
        return stopDriveErase(step);
    case TOKEN_SHOWPROG:
        return showDriveEraseLine(step);
    default:
        return -1;
    }
}

// ---- the virtual-drive form -------------------------------------------------------------------

struct VdErase {
    int adapter;
    const SecureErasePo& request;
    VirtualDisk* vd;
    int targetId;
    LdProgressBlock* block;
};

// The allowed-operations word could not be read: the drive was not refused, its answer is
// unknown. Message 0x36017 and the read's status.
int allowedOperationsUnreadable(int adapter, int status)
{
    printMessage(MSG_OPERATION_FAILED, adapter, "get allowed operations");
    return status;
}

int startVdErase(const VdErase& step)
{
    // Neither a state nor an allowed-operations word that cannot be read refuses the drive:
    // each failed read is named and ends the command.
    uint8_t state = 0;
    int status = step.vd->getState(&state);
    if (status != 0)
        return vdUnreadable(static_cast<uint8_t>(step.adapter), static_cast<uint8_t>(step.targetId), status);
    if (state == 0) {
        printMessage(MSG_VD_ERASE_WRONG_STATE, step.adapter, step.targetId);
        return 0;
    }
    uint8_t allowed = 0;
    status = step.vd->canStartSecureErase(&allowed);
    if (status != 0)
        return allowedOperationsUnreadable(step.adapter, status);
    if (allowed != 1) {
        printMessage(MSG_VD_ERASE_NOT_ALLOWED, step.adapter, step.targetId);
        return 0;
    }
    const int type = eraseTypeCode(step.request.getEraseType());
    if (type < 0)
        return -1;
    status = step.vd->startSecureErase(static_cast<uint8_t>(type), step.request.deleteVd == 1 ? 1 : 0,
                                       step.request.getPattern1(), step.request.getPattern2());
    printMessage(status != 0 ? MSG_VD_ERASE_START_FAILED : MSG_VD_ERASE_STARTED, step.adapter, step.targetId);
    return status;
}

// Reads the drive's progress into the processor's block: 0, or -1 after the failure's message.
int readVdProgress(const VdErase& step)
{
    if (step.vd->getProgress(step.block) == 0)
        return 0;
    printMessage(MSG_VD_ERASE_PROGRESS_FAILED, step.adapter, step.targetId);
    return -1;
}

int stopVdErase(const VdErase& step)
{
    if (readVdProgress(step) != 0)
        return -1;
    if ((step.block->running() & LdProgressBlock::RUNNING_SECURE_ERASE) == 0) {
        printMessage(MSG_VD_NOT_IN_ERASE, step.targetId);
        return 0;
    }
    uint8_t stoppable = 0;
    const int read = step.vd->canStopSecureErase(&stoppable);
    if (read != 0)
        return allowedOperationsUnreadable(step.adapter, read);
    if (stoppable != 1) {
        printMessage(MSG_VD_ERASE_NOT_STOPPABLE, step.adapter, step.targetId);
        return 0;
    }
    const int status = step.vd->stopSecureErase();
    printMessage(status != 0 ? MSG_VD_ERASE_STOP_FAILED : MSG_VD_ERASE_STOPPED, step.adapter, step.targetId);
    return status;
}

int showVdEraseLine(const VdErase& step)
{
    if (readVdProgress(step) != 0)
        return -1;
    if ((step.block->running() & LdProgressBlock::RUNNING_SECURE_ERASE) == 0) {
        printMessage(MSG_VD_NOT_IN_ERASE, step.targetId);
        return 0;
    }
    const ProgressEntry entry = step.block->entry(LdProgressBlock::CONSISTENCY_CHECK);
    printMessage(MSG_VD_ERASE_PROGRESS, step.targetId, step.targetId, progressPercent(entry.progress),
                 entry.elapsedSeconds / 60);
    return 0;
}

int eraseOneVd(const VdErase& step)
{
    switch (step.request.getAction()) {
    case TOKEN_START:
        return startVdErase(step);
    case TOKEN_STOP:
        return stopVdErase(step);
    case TOKEN_SHOWPROG:
        return showVdEraseLine(step);
    default:
        return -1;
    }
}

}  // namespace

int SecureEraseCp::showProgress(CpController* cpController, SecureErasePo* request)
{
    if (request->getLdCount() == 0)
        return showDriveProgress(cpController, driveAddressesOf(request->getDriveList()), DRIVE_DISPLAY);
    return showVdProgress(cpController, request, &progress, VD_DISPLAY);
}

int SecureEraseCp::eraseDrives(CpController* cpController, RaidManager* manager, const SecureErasePo& request)
{
    const int adapter = adapterNumberOf(cpController);
    for (const DriveAddress& address : driveAddressesOf(request.getDriveList())) {
        DriveInRequest drive;
        int status = findRequestedDrive(cpController, manager, address, &drive);
        if (status == 0)
            status = eraseOneDrive({adapter, request, drive, formatEnclosureId(drive.enclosureId)});
        if (status != 0)
            return status;
    }
    return 0;
}

int SecureEraseCp::eraseVds(RaidManager* manager, uint8_t adapterNumber, const SecureErasePo& request)
{
    const int adapter = adapterNumber;
    uint8_t vdCount = 0;
    const int counted = manager->getVdCount(&vdCount);
    if (counted != 0) {
        printMessage(MSG_OPERATION_FAILED, adapter, "LD");
        return counted;
    }
    if (vdCount == 0) {
        printMessage(MSG_NO_VD_CONFIGURED, adapter);
        return -1;
    }
    const bool all = selectsAllVds(&request);
    const unsigned count = all ? vdCount : request.getLdCount();
    ArrayList<VirtualDisk*>* vds = nullptr;
    const int listed = sortedVds(manager, &vds);
    if (listed != 0)
        return listed;
    // A drive whose object cannot be had is reported and passed over, and the walk then ends
    // with that failure: it erased only what it says it erased.
    int result = 0;
    for (unsigned i = 0; i < count; ++i) {
        if (all && (vds == nullptr || i >= vds->count()))
            break;
        uint8_t targetId = 0;
        int failure = 0;
        if (!walkTargetId(&request, vds, all, i, manager, adapterNumber, &targetId, &failure)) {
            if (failure != 0)
                return failure;
            continue;
        }
        VdLookup lookup;
        const int found = lookup.lookUp(manager, targetId);
        if (found != 0) {
            printMessage(MSG_GET_FAILED, "VD object");
            result = found;
            continue;
        }
        const int status = eraseOneVd({adapter, request, lookup.get(), targetId, &progress});
        if (status != 0)
            return status;
    }
    return result;
}

int SecureEraseCp::process(CpController* cpController, ParsedObject* request)
{
    CpDeferredStart<SecureErasePo> start(cpController, request, "SecureErasePo *");
    if (!start)
        return start.result();
    SecureErasePo* own = start.request();
    // The display looks at the controller only through its own first pass.
    if (own->getAction() == TOKEN_PROGDSPLY)
        return showProgress(cpController, own);
    if (!start.take(CP_NEEDS_MODEL_ADAPTER))
        return start.result();
    if (own->getLdCount() == 0)
        return eraseDrives(cpController, start.manager(), *own);
    return eraseVds(start.manager(), start.number(), *own);
}

namespace {

const CpRegistration<SecureEraseCp> registration;

}  // namespace
