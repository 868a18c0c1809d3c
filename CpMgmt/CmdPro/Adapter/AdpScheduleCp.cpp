#include "CpMgmt/CmdPro/Adapter/AdpScheduleCp.h"

#include <cstdio>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"
#include "RaidManager/Zpr/Records/Controller/ZprPatrolReadProperties.h"
#include "RaidManager/Zpr/Records/Drive/ZprPdProgressBlock.h"

namespace {

const uint32_t DELAY_NOT_GIVEN = 0xFFFFFFFF;
const uint32_t SECONDS_PER_HOUR = 3600;
const uint8_t PR_STATE_STOPPED = 0;
const uint8_t PR_STATE_ACTIVE = 2;
const uint8_t PR_STATE_ABORTED = 255;

// The words that set one patrol-read setting: the setter, its value, and the messages.
struct PatrolReadSetting {
    unsigned short action;
    int (Adapter::*set)(uint8_t);
    uint8_t value;
    uint32_t done;
    uint32_t failed;
    const char* name;
};

const PatrolReadSetting PATROL_READ_SETTINGS[] = {
    {TOKEN_PRENABLEAUTO, &Adapter::setPatrolReadMode, 0, MSG_PR_MODE_SET, MSG_PR_MODE_FAILED, "AUTO"},
    {TOKEN_PRENABLEMANUAL, &Adapter::setPatrolReadMode, 1, MSG_PR_MODE_SET, MSG_PR_MODE_FAILED, "MANUAL"},
    {TOKEN_DISABLE, &Adapter::setPatrolReadMode, 2, MSG_PR_MODE_SET, MSG_PR_MODE_FAILED, "DISABLED"},
    {TOKEN_PR_SSD_ENABLE, &Adapter::setPatrolReadOnSsdMode, 1, MSG_PR_SSD_SET, MSG_PR_SSD_FAILED, "ENABLED"},
    {TOKEN_PR_SSD_DISABLE, &Adapter::setPatrolReadOnSsdMode, 0, MSG_PR_SSD_SET, MSG_PR_SSD_FAILED, "DISABLED"},
};

const char* const PR_MODE_NAMES[] = {"Auto", "Manual", "Disabled"};
const char* const PR_STATE_NAMES[] = {"Stopped", "Ready", "Active"};
const char* const CC_MODE_NAMES[] = {"Disabled", "Sequential", "Concurrent", "Invalid"};
const char* const CC_STATE_NAMES[] = {"Stopped", "Ready", "Active", "Aborted", "Unknown"};
const uint8_t CC_MODE_INVALID = 3;
const uint8_t CC_STATE_UNKNOWN = 4;

const char* ccModeName(uint8_t mode)
{
    return CC_MODE_NAMES[mode < CC_MODE_INVALID ? mode : CC_MODE_INVALID];
}

// A drive of the list that is online and whose patrol read is suspended.
bool patrolReadSuspended(RaidManager* manager)
{
    ArrayList<PhysicalDevice*>* pds = nullptr;
    if (manager->getAllPds(&pds) != 0 || pds == nullptr)
        return false;
    for (unsigned char i = 0; i < pds->count(); ++i) {
        PhysicalDevice* pd = pds->get(i);
        uint16_t state = 0;
        if (pd == nullptr || pd->getFirmwareState(&state) != 0 || state != PD_STATE_ONLINE)
            continue;
        uint8_t block[PdProgressBlock::SIZE] = {};
        if (pd->getProgress(block) != 0)
            continue;
        const PdProgressBlock progress(block, sizeof block);
        if ((progress.running() & progress.suspended() & PdProgressBlock::OP_PATROL_READ) != 0)
            return true;
    }
    return false;
}

}  // namespace

int AdpPatrolReadCp::process(CpController* cpController, ParsedObject* request)
{
    CpQuietRefresh<CpStart<AdpPrParsedObject>> start(cpController, request, "AdpPrParsedObject *");
    if (!start)
        return -1;
    const uint8_t adapterNumber = start.number();
    const int number = static_cast<int>(adapterNumber);
    AdpPrParsedObject* own = start.request();
    const unsigned short action = own->getAction();
    RaidManager* manager = start.manager();
    Adapter* adapter = start.adapter();

    for (const PatrolReadSetting& setting : PATROL_READ_SETTINGS)
        if (setting.action == action) {
            const int status = (adapter->*setting.set)(setting.value);
            if (status != 0)
                printMessage(setting.failed, number);
            else
                printMessage(setting.done, number, setting.name);
            return status;
        }

    int status = 0;
    char text[32];
    switch (action) {
    case TOKEN_START:
        status = adapter->startPatrolRead();
        printMessage(status == 0                             ? MSG_PR_STARTED
                     : status == STATUS_NO_PATROL_READ_DRIVES ? MSG_PR_NO_DRIVES
                                                              : MSG_PR_START_FAILED,
                     number);
        return status;
    case TOKEN_STOP:
        return stop(adapter, adapterNumber);
    case TOKEN_SUSPEND:
    case TOKEN_RESUME: {
        uint8_t allowed = 0;
        status = adapter->getAllowedOperations(&allowed);
        if (status != 0)
            return status;
        if (allowed == 0) {
            printMessage(MSG_TEXT, "FW Not Allowed Suspend-Resume on BG Operations.\n");
            return -1;
        }
        return suspendOrResume(adapter, action == TOKEN_SUSPEND);
    }
    case TOKEN_PRSETDELAY: {
        const uint16_t hours = own->getValue();
        if (hours == 0)
            snprintf(text, sizeof text, "Immediate");
        else
            snprintf(text, sizeof text, "%d hours", static_cast<int>(hours));
        status = adapter->setPatrolReadExecutionDelay(hours == 0 ? DELAY_CONTINUOUS : hours * SECONDS_PER_HOUR);
        if (status != 0)
            printMessage(MSG_PR_DELAY_FAILED, number);
        else
            printMessage(MSG_PR_DELAY_SET, number, text);
        return status;
    }
    case TOKEN_START_TIME: {
        struct tm start = *own->getStartTime();
        status = adapter->setPatrolReadStartTime(&start);
        printMessage(status != 0 ? MSG_PR_START_TIME_FAILED : MSG_PR_START_TIME_SET, number);
        return status;
    }
    case TOKEN_MAXCONCURRENT_PD:
        status = adapter->setPatrolReadMaxConcurrentPds(static_cast<uint8_t>(own->getValue()));
        printMessage(status != 0 ? MSG_PR_CONCURRENT_FAILED : MSG_PR_CONCURRENT_SET, number);
        return status;
    case TOKEN_PRINFO:
        return showInfo(manager, adapter, adapterNumber);
    default:
        printMessage(MSG_INVALID_OPTION);
        return -1;
    }
}

int AdpPatrolReadCp::stop(Adapter* adapter, uint8_t adapterNumber)
{
    if (adapter->getPatrolReadState() == PR_STATE_STOPPED) {
        printMessage(MSG_TEXT, "No Patrol Read is in progress\n");
        return 0;
    }
    const int status = adapter->stopPatrolRead();
    // A disabled patrol read is stopped as well; the status still tells so.
    const bool stopped = status == 0 || status == STATUS_PATROL_READ_DISABLED;
    printMessage(stopped ? MSG_PR_STOPPED : MSG_PR_STOP_FAILED, static_cast<int>(adapterNumber));
    return status;
}

int AdpPatrolReadCp::suspendOrResume(Adapter* adapter, bool suspend)
{
    const int status = suspend ? adapter->suspendPatrolRead() : adapter->resumePatrolRead();
    if (status != 0) {
        printMessage(MSG_TEXT, suspend ? "Patrol Read Suspend Fail retCode = 0x" : "Patrol Read Resume Fail retCode = 0x");
        printMessage(MSG_HEX16, status);
    } else {
        printMessage(MSG_TEXT, suspend ? "Patrol Read Suspend Successfull." : "Patrol Read Resume Successfull.");
    }
    printMessage(MSG_NEWLINE);
    return status;
}

int AdpPatrolReadCp::showInfo(RaidManager* manager, Adapter* adapter, uint8_t adapterNumber)
{
    const int number = static_cast<int>(adapterNumber);
    int result = 0;
    printMessage(MSG_PR_INFO_HEADER, number);
    const uint8_t mode = adapter->getPatrolReadMode();
    if (mode >= sizeof PR_MODE_NAMES / sizeof PR_MODE_NAMES[0])
        result = -1;
    printMessage(MSG_PR_INFO_MODE, result == 0 ? PR_MODE_NAMES[mode] : "Unknown");

    const uint32_t delay = adapter->getPatrolReadExecutionDelay();
    if (delay == 0) {
        printMessage(MSG_PR_INFO_DELAY_TEXT, "Unknown");
        result = -1;
    } else if (delay == DELAY_CONTINUOUS) {
        printMessage(MSG_PR_INFO_DELAY_TEXT, "Continuous");
    } else {
        printMessage(MSG_PR_INFO_DELAY_HOURS, static_cast<int>(delay / SECONDS_PER_HOUR));
    }
    printMessage(MSG_PR_INFO_ITERATIONS, static_cast<unsigned long>(adapter->getPatrolReadIterations()));

    const uint8_t state = adapter->getPatrolReadState();
    if (state > PR_STATE_ACTIVE && state != PR_STATE_ABORTED && patrolReadSuspended(manager)) {
        printMessage(MSG_PR_INFO_STATE, "Suspend");
    } else {
        printMessage(MSG_PR_INFO_STATE, state <= PR_STATE_ACTIVE    ? PR_STATE_NAMES[state]
                                        : state == PR_STATE_ABORTED ? "Aborted"
                                                                    : "Unknown");
        if (state == PR_STATE_ACTIVE)
            printMessage(MSG_PR_INFO_PDS_COMPLETED, number, static_cast<int>(adapter->getPatrolReadPdsCompleted()));
    }
    uint8_t onSsd = 0;
    if (adapter->getPatrolReadOnSsdMode(&onSsd) == 0)
        printMessage(MSG_PR_INFO_SSD, onSsd != 0 ? "Enabled" : "Disabled");
    return result;
}

// ---------------------------------------------------------------------------------------------

int AdpCCSchedulingCp::process(CpController* cpController, ParsedObject* request)
{
    CpQuietRefresh<CpPlainStart> start(cpController, request);
    if (!start)
        return -1;
    if (start.adapter()->reloadCcSchedule() == 0) {
        printMessage(MSG_CC_NOT_SUPPORTED, static_cast<int>(start.number()));
        return -1;
    }
    // The request's class is checked only after the schedule was read.
    CpStart<AdpCCSchedParsedObject> typed(cpController, request, "AdpCcScParsedObject *");
    if (!typed)
        return -1;
    AdpCCSchedParsedObject* own = typed.request();
    switch (own->getAction()) {
    case 0:
        return showInfo(cpController, own);
    case 1:
        return setMode(cpController, own);
    case 2:
        return setStartTime(cpController, own);
    case 3:
        return setDelay(cpController, own);
    default:
        return -1;
    }
}

int AdpCCSchedulingCp::showInfo(CpController* cpController, AdpCCSchedParsedObject*)
{
    CpQuietRefresh<CpPlainStart> model(cpController, nullptr);
    if (!model)
        return -1;
    const int number = static_cast<int>(model.number());
    Adapter* adapter = model.adapter();
    uint8_t mode = 0;
    uint32_t delay = 0;
    struct tm start = {};
    uint8_t state = 0;
    uint32_t iterations = 0;
    uint8_t completed = 0;
    ArrayList<unsigned short> excluded;
    if (adapter->getCcMode(&mode) != 0 || adapter->getCcExecutionDelay(&delay) != 0 ||
        adapter->getCcNextStartTime(&start) != 0 || adapter->getCcState(&state) != 0 ||
        adapter->getCcIterations(&iterations) != 0 || adapter->getCcVdsCompleted(&completed) != 0 ||
        adapter->getCcExcludedVirtualDrives(&excluded) != 0) {
        printMessage(MSG_CC_INFO_FAILED, number);
        return -1;
    }
    printMessage(MSG_ADAPTER_HEADER, number);
    printMessage(MSG_CC_INFO_MODE, ccModeName(mode));
    char hours[24];
    snprintf(hours, sizeof hours, "%lu", static_cast<unsigned long>(delay / SECONDS_PER_HOUR));
    printMessage(MSG_CC_INFO_DELAY, hours);
    printMessage(MSG_CC_INFO_START, start.tm_mon + 1, start.tm_mday, start.tm_year + 1900, start.tm_hour);
    const uint8_t stateRow = state == PR_STATE_ABORTED ? 3 : state < CC_STATE_UNKNOWN ? state : CC_STATE_UNKNOWN;
    printMessage(MSG_CC_INFO_STATE, CC_STATE_NAMES[stateRow]);
    printMessage(MSG_CC_INFO_ITERATIONS, static_cast<unsigned long>(iterations));
    printMessage(MSG_CC_INFO_COMPLETED, static_cast<int>(completed));
    printMessage(MSG_CC_INFO_EXCLUDED);
    if (excluded.count() == 0) {
        printMessage(MSG_TEXT, "None");
        return 0;
    }
    for (unsigned char i = 0; i < excluded.count(); ++i) {
        if (i > 0)
            printMessage(MSG_TEXT, ", ");
        printMessage(MSG_DECIMAL, static_cast<int>(excluded.get(i)));
    }
    printMessage(MSG_NEWLINE);
    return 0;
}

int AdpCCSchedulingCp::setMode(CpController* cpController, AdpCCSchedParsedObject* request)
{
    const CpStart<AdpCCSchedParsedObject> opening(cpController, request, "AdpCcScParsedObject *");
    if (!opening)
        return opening.result();
    const int number = static_cast<int>(opening.number());
    const int mode = request->getMode();
    if (mode < 0 || mode > 2) {
        printMessage(MSG_CC_MODE_INVALID);
        return -1;
    }
    CpQuietRefresh<CpPlainStart> model(cpController, nullptr);
    if (!model)
        return -1;
    RaidManager* manager = model.manager();
    Adapter* adapter = model.adapter();

    ArrayList<unsigned short> excluded;
    ArrayList<unsigned char>* wanted = request->getLdList();
    const bool listGiven = mode != 0 && wanted != nullptr && wanted->count() > 0;
    if (listGiven) {
        const int status = collectExcluded(manager, wanted, &excluded, number);
        if (status != 0)
            return status;
    }
    const uint32_t hours = static_cast<uint32_t>(request->getDelay());
    const uint32_t delay = hours == DELAY_NOT_GIVEN ? DELAY_NOT_GIVEN : hours * SECONDS_PER_HOUR;
    struct tm start = *request->getStartTime();
    const int status = adapter->setCcSchedule(static_cast<uint8_t>(mode), listGiven ? &excluded : nullptr, &start, delay);
    if (status != 0)
        printMessage(MSG_CC_MODE_FAILED, number);
    else
        printMessage(MSG_CC_MODE_SET, number, ccModeName(static_cast<uint8_t>(mode)));
    return status;
}

int AdpCCSchedulingCp::setStartTime(CpController* cpController, AdpCCSchedParsedObject* request)
{
    CpQuietRefresh<CpPlainStart> model(cpController, nullptr);
    if (!model)
        return -1;
    struct tm start = *request->getStartTime();
    const int status = model.adapter()->setCcStartTime(&start);
    printMessage(status != 0 ? MSG_CC_START_FAILED : MSG_CC_START_SET, static_cast<int>(model.number()));
    return status;
}

int AdpCCSchedulingCp::setDelay(CpController* cpController, AdpCCSchedParsedObject* request)
{
    CpQuietRefresh<CpPlainStart> model(cpController, nullptr);
    if (!model)
        return -1;
    const int number = static_cast<int>(model.number());
    Adapter* adapter = model.adapter();
    const uint32_t seconds = static_cast<uint32_t>(request->getDelay()) * SECONDS_PER_HOUR;
    const int status = adapter->setCcExecutionDelay(seconds);
    if (status != 0) {
        printMessage(MSG_CC_DELAY_FAILED, number);
        return status;
    }
    char text[32];
    if (seconds == 0)
        snprintf(text, sizeof text, "Continuous");
    else
        snprintf(text, sizeof text, "%d hours", static_cast<int>(seconds / SECONDS_PER_HOUR));
    printMessage(MSG_CC_DELAY_SET, number, text);
    return 0;
}

int AdpCCSchedulingCp::collectExcluded(RaidManager* manager, ArrayList<unsigned char>* wanted,
                                       ArrayList<unsigned short>* excluded, int number)
{
    uint8_t count = 0;
    if (const int counted = readVdCount(manager, static_cast<uint8_t>(number), &count))
        return counted;
    // A configuration that cannot be read holds drives unknown, not none: its read's status
    // ends the command after its line.
    ArrayList<VirtualDisk*>* vds = nullptr;
    const int listed = count != 0 ? manager->getVds(&vds) : 0;
    if (listed != 0)
        return vdListUnreadable(listed);
    if (count == 0 || vds == nullptr) {
        printMessage(MSG_NO_VIRTUAL_DRIVE, number);
        return -1;
    }
    for (unsigned char i = 0; i < wanted->count(); ++i) {
        const uint8_t targetId = wanted->get(i);
        int unread = 0;
        if (!configHoldsTargetId(manager, static_cast<uint8_t>(number), targetId, &unread))
            return unread != 0 ? unread : -1;
        VdId* found = nullptr;
        for (unsigned char j = 0; j < vds->count() && !found; ++j) {
            VdId* id = vds->get(j) != nullptr ? dynamic_cast<VdId*>(vds->get(j)->getId()) : nullptr;
            if (id != nullptr && id->getTargetId() == targetId)
                found = id;
        }
        if (found == nullptr) {
            printMessage(MSG_VD_NOT_FOUND, number, static_cast<int>(targetId));
            return -1;
        }
        if (excluded->add(found->getTargetId16()) != 0)
            return -1;
    }
    return 0;
}

namespace {

const CpRegistration<AdpPatrolReadCp> patrolReadRegistration;
const CpRegistration<AdpCCSchedulingCp> ccScheduleRegistration;

}  // namespace
