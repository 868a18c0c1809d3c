#include "CpMgmt/CmdPro/VirtualDrive/LdOperationCp.h"

#include <cstdint>
#include <cstdio>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/Display/ProgressDisplay.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "System/PavError.h"

namespace {

// What the abort, the progress line and the display of one command look at.
struct BackgroundOperation {
    unsigned short command;
    uint32_t runningBit;
    size_t entry;
    uint32_t suspendedBit;        // 0: not reported
    const char* suspendedText;
    unsigned int progressMessage;
    unsigned int notRunningMessage;
    unsigned int abortMessage;
    int (VirtualDisk::*abort)();
};

// The consistency-check abort also ends a background initialization.
const BackgroundOperation OPERATIONS[] = {
    {TOKEN_LDCC, LdProgressBlock::RUNNING_CONSISTENCY_CHECK, LdProgressBlock::CONSISTENCY_CHECK,
     LdProgressBlock::RUNNING_CONSISTENCY_CHECK, "LD-CC is in Suspend Stage\n", MSG_VD_CC_PROGRESS,
     MSG_VD_CC_NOT_RUNNING, MSG_VD_CC_ABORT, &VirtualDisk::abortConsistencyCheck},
    {TOKEN_LDINIT, LdProgressBlock::RUNNING_INITIALIZATION, LdProgressBlock::INITIALIZATION, 0, nullptr,
     MSG_VD_INIT_PROGRESS, MSG_VD_INIT_NOT_RUNNING, MSG_VD_INIT_ABORT, &VirtualDisk::abortInitialization},
    {TOKEN_LDBI, LdProgressBlock::RUNNING_BACKGROUND_INIT, LdProgressBlock::BACKGROUND_INIT,
     LdProgressBlock::RUNNING_BACKGROUND_INIT, "LD-BGI is in Suspend Stage\n", MSG_VD_BGI_PROGRESS,
     MSG_VD_BGI_NOT_RUNNING, MSG_VD_BGI_ABORT, &VirtualDisk::abortConsistencyCheck},
};

const ProgressDisplayStyle VD_DISPLAY = {MSG_VD_PROGRESS_TITLE, MSG_VD_PROGRESS_COLUMNS, ' ', false,
                                         ElapsedRule::UNTIL_ENDED_ONCE_STARTED, true, false};

const BackgroundOperation* operationOf(unsigned short command)
{
    for (const BackgroundOperation& operation : OPERATIONS)
        if (operation.command == command)
            return &operation;
    return nullptr;
}

// Allowed-operations word: byte 2 bit 1 suspend, bit 2 resume.
const uint32_t SUSPEND_ALLOWED = 1u << 17;
const uint32_t RESUME_ALLOWED = 1u << 18;

// The first read of the walk that failed: its status, and the last-error word it left, which
// the end of the run describes (the drives read after it leave words of their own).
struct WalkFailure {
    int status = 0;
    uint32_t lastError = 0;
};

// Notes a read that failed after its line, unless one failed before it; its status is given
// back.
int noteReadFailure(WalkFailure* failure, int status)
{
    if (failure->status == 0) {
        failure->status = status;
        failure->lastError = PavError::takeLastError();
        PavError::setLastError(failure->lastError);
    }
    return status;
}

// One drive of the walk.
struct DriveStep {
    const LdOperationParsedObject& request;
    const BackgroundOperation& operation;
    VirtualDisk* vd;
    int adapter;
    int number;     // the target id the user gave (or the drive's, for all drives)
    int targetId;   // the drive's own
    LdProgressBlock* block;
    WalkFailure* unread;
};

// A read of the drive failed after its line: the walk goes on, and ends with the first such
// status whatever the drives after it answer. The read's status is given back.
int readFailed(const DriveStep& step, int status)
{
    return noteReadFailure(step.unread, status);
}

// The allowed-operations word could not be read: its line.
void printAllowedOperationsUnread(int number)
{
    printMessage(MSG_TEXT, "Fail to Get VD Allowed operation. VD = ");
    printMessage(MSG_DECIMAL, number);
    printMessage(MSG_NEWLINE);
}

int printOutcome(int status)
{
    printMessage(status != 0 ? MSG_VD_OPERATION_FAILED : MSG_VD_OPERATION_SUCCESS);
    return status;
}

int startConsistencyCheck(const DriveStep& step)
{
    // A word or a state that cannot be read says nothing of the drive: it is not started.
    uint8_t allowed = 0;
    if (const int status = step.vd->isCcAllowed(&allowed)) {
        printAllowedOperationsUnread(step.number);
        return readFailed(step, status);
    }
    if (allowed == 0) {
        printMessage(MSG_VD_CC_NOT_POSSIBLE, step.adapter, step.number);
        return 0;
    }
    uint8_t initialized = 0;
    if (const int status = step.vd->isInitialized(&initialized)) {
        const uint8_t adapter = static_cast<uint8_t>(step.adapter);
        return readFailed(step, vdUnreadable(adapter, static_cast<uint8_t>(step.number), status));
    }
    if (initialized == 0 && step.request.force != 1) {
        printMessage(MSG_VD_NOT_INITIALIZED);
        return -1;
    }
    const int status = step.vd->startConsistencyCheck();
    printMessage(MSG_VD_CC_START, step.number, step.targetId);
    return printOutcome(status);
}

int startInitialization(const DriveStep& step)
{
    const int status = step.request.full == 1 ? step.vd->startFullInitialization() : step.vd->startInitialization();
    printMessage(MSG_VD_INIT_START, step.number, step.targetId);
    return printOutcome(status);
}

int abortOperation(const DriveStep& step)
{
    const int status = step.vd->getProgress(step.block);
    if (status != 0) {
        printMessage(MSG_VD_PROGRESS_READ_FAILED, step.number);
        return readFailed(step, printOutcome(status));
    }
    if ((step.block->running() & step.operation.runningBit) == 0) {
        printMessage(step.operation.notRunningMessage, step.number);
        return 0;
    }
    const int aborted = (step.vd->*step.operation.abort)();
    printMessage(step.operation.abortMessage, step.number, step.targetId);
    return printOutcome(aborted);
}

int showProgressLine(const DriveStep& step)
{
    const int status = step.vd->getProgress(step.block);
    if (status != 0) {
        printMessage(MSG_VD_PROGRESS_READ_FAILED, step.number);
        printMessage(MSG_NEWLINE);
        return readFailed(step, status);
    }
    const BackgroundOperation& operation = step.operation;
    const bool running = (step.block->running() & operation.runningBit) != 0;
    const bool suspended = operation.suspendedBit != 0 && (step.block->suspended() & operation.suspendedBit) != 0;
    if (!running) {
        printMessage(operation.notRunningMessage, step.number);
    } else if (suspended) {
        printMessage(MSG_TEXT, operation.suspendedText);
    } else {
        const ProgressEntry entry = step.block->entry(operation.entry);
        printMessage(operation.progressMessage, step.number, step.targetId, progressPercent(entry.progress),
                     entry.elapsedSeconds / 60);
    }
    return 0;
}

int setBackgroundInitialization(const DriveStep& step, bool disable)
{
    int status = step.vd->beginUpdate();
    if (status != 0) {
        printMessage(MSG_VD_DATA_FAILED, step.adapter, step.number);
        return readFailed(step, status);
    }
    ignoreStatus(step.vd->setBgiDisabled(disable ? 1 : 0),
                 "fails only without properties, and then the update fails too");
    status = step.vd->endUpdate();
    if (status != 0)
        printMessage(MSG_VD_BGI_SET_FAILED, disable ? "Disable" : "Enable", step.number, step.adapter);
    else
        printMessage(MSG_VD_BGI_SET, disable ? "Disabled" : "Enabled", step.number, step.targetId, step.adapter);
    return status;
}

int showBackgroundInitializationSetting(const DriveStep& step)
{
    uint8_t disabled = 0;
    const int status = step.vd->isBgiDisabled(&disabled);
    if (status != 0) {
        printMessage(MSG_VD_DATA_FAILED, step.adapter, step.number);
        return readFailed(step, status);
    }
    printMessage(MSG_VD_BGI_SETTING, disabled != 0 ? "Disabled" : "Enabled", step.number, step.targetId, step.adapter);
    return 0;
}

int suspendOrResume(const DriveStep& step, bool suspend)
{
    // A controller that reports no allowed-operations word leaves the word as it is: a word
    // never read allows nothing, so suspend and resume are refused.
    uint8_t word[4] = {0, 0, 0, 0};
    int status = step.vd->getAllowedOperations(word);
    if (status != 0) {
        printAllowedOperationsUnread(step.number);
        return readFailed(step, status);
    }
    const uint32_t allowed = static_cast<uint32_t>(word[0]) | static_cast<uint32_t>(word[1]) << 8 |
                             static_cast<uint32_t>(word[2]) << 16 | static_cast<uint32_t>(word[3]) << 24;
    if ((allowed & (suspend ? SUSPEND_ALLOWED : RESUME_ALLOWED)) == 0) {
        printMessage(MSG_TEXT, suspend ? "CC/BGI Suspend not allowed operation on this VD = "
                                       : "CC/BGI Resume not allowed operation on this VD = ");
        printMessage(MSG_DECIMAL, step.number);
        printMessage(MSG_NEWLINE);
        return 0;
    }
    status = suspend ? step.vd->suspendBgOperation() : step.vd->resumeBgOperation();
    char line[100] = {};
    if (status != 0)
        snprintf(line, sizeof line, "%s - %u retCode = 0x%X",
                 suspend ? "CC/BGI Suspend operation failed on VD" : "CC/BGI Resume operation failed on VD",
                 static_cast<unsigned>(step.number), static_cast<unsigned>(status));
    else
        snprintf(line, sizeof line, "%s - %u ",
                 suspend ? "CC/BGI Suspend operation successful on VD" : "CC/BGI Resume operation successful on VD",
                 static_cast<unsigned>(step.number));
    printMessage(MSG_TEXT, line);
    printMessage(MSG_NEWLINE);
    return status;
}

int operateOnDrive(const DriveStep& step)
{
    const unsigned short command = step.request.getCommandToken();
    switch (step.request.getOperation()) {
    case TOKEN_START:
        if (command == TOKEN_LDCC)
            return startConsistencyCheck(step);
        return command == TOKEN_LDINIT ? startInitialization(step) : -1;
    case TOKEN_STOP:
        return abortOperation(step);
    case TOKEN_SHOWPROG:
        return showProgressLine(step);
    case TOKEN_ENABLE:
    case TOKEN_DISABLE:
        if (command != TOKEN_LDBI)
            return -1;
        return setBackgroundInitialization(step, step.request.getOperation() == TOKEN_DISABLE);
    case TOKEN_GETSETTING:
        return command == TOKEN_LDBI ? showBackgroundInitializationSetting(step) : -1;
    case TOKEN_SUSPEND:
    case TOKEN_RESUME:
        if (command == TOKEN_LDINIT)
            return -1;
        return suspendOrResume(step, step.request.getOperation() == TOKEN_SUSPEND);
    default:
        return -1;
    }
}

// Suspend and resume need the firmware's capability: 0 to go on, else the command's result.
int checkSuspendResume(RaidManager* manager)
{
    Adapter* adapter = nullptr;
    int status = manager->getAdapter(&adapter);
    if (status != 0 || adapter == nullptr) {
        printMessage(MSG_TEXT, "Failed To Get Adapter.\n");
        return status != 0 ? status : -1;
    }
    return checkBackgroundSuspendResume(adapter);
}

}  // namespace

int LdOperationCp::showProgress(CpController* cpController, LdOperationParsedObject* request)
{
    const BackgroundOperation* operation = operationOf(request->getCommandToken());
    if (operation == nullptr)
        return -1;
    const VdProgressMember member = {operation->runningBit, operation->entry, operation->suspendedBit,
                                     operation->suspendedText, operation->notRunningMessage, VD_DISPLAY};
    return showVdProgress(cpController, request, &progress, member);
}

int LdOperationCp::process(CpController* cpController, ParsedObject* request)
{
    CpDeferredStart<LdOperationParsedObject> start(cpController, request, "LdOperationParsedObject");
    if (!start)
        return start.result();
    const uint8_t adapter = start.number();
    LdOperationParsedObject* own = start.request();
    const unsigned short operationWord = own->getOperation();
    // The progress display takes the model its own way, without the opening's messages.
    if (operationWord == TOKEN_PROGDSPLY)
        return showProgress(cpController, own);
    const BackgroundOperation* operation = operationOf(own->getCommandToken());
    if (!start.take(CP_NEEDS_MODEL) || operation == nullptr)
        return -1;
    RaidManager* manager = start.manager();
    uint8_t vdCount = 0;
    if (const int unread = manager->getVdCount(&vdCount))
        return start.failed("LD", unread);
    const bool all = selectsAllVds(own);
    const unsigned count = all ? vdCount : own->getLdCount();
    if (operationWord == TOKEN_SUSPEND || operationWord == TOKEN_RESUME) {
        const int refused = checkSuspendResume(manager);
        if (refused != 0)
            return refused;
    }
    if (vdCount == 0) {
        printMessage(MSG_NO_VD_CONFIGURED, static_cast<int>(adapter));
        return -1;
    }
    ArrayList<VirtualDisk*>* vds = nullptr;
    const int listed = sortedVds(manager, &vds);
    if (listed != 0)
        return listed;
    int status = 0;
    WalkFailure unread;
    for (unsigned i = 0; i < count; ++i) {
        if (all && (vds == nullptr || i >= vds->count()))
            break;
        uint8_t number = 0;
        int failure = 0;
        if (!walkTargetId(own, vds, all, i, manager, adapter, &number, &failure)) {
            // Without the configuration no drive after it can be told either.
            if (failure != 0)
                return failure;
            status = -1;
            continue;
        }
        VdLookup lookup;
        status = lookup.lookUp(manager, number);
        if (status != 0) {
            printMessage(MSG_GET_FAILED, "VD object");
            noteReadFailure(&unread, status);
            continue;
        }
        const DriveStep step = {*own, *operation, lookup.get(), adapter, number, targetIdOf(lookup.get()), &progress,
                                &unread};
        status = operateOnDrive(step);
    }
    if (unread.status == 0)
        return status;
    PavError::setLastError(unread.lastError);
    return unread.status;
}

namespace {

const CpRegistration<LdOperationCp> registration;

}  // namespace
