#include "CpMgmt/CmdPro/Config/LdAutoCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/Array.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmStatus.h"
#include "RaidManager/Span.h"
#include "RaidManager/VirtualDisk.h"

namespace {

const uint8_t HIGHEST_PLAIN_LEVEL = 9;
const int SPANNED_NEEDS_SPANS = 30;
const int NOT_FOUND = 3;

// The arrays of the virtual drive, into a new list the caller deletes: 0, or the status of the
// lookup that failed (3 when something is missing; the configuration's read, after message
// 0x30025, when the drive cannot be looked up).
int arraysOfVd(RaidManager* manager, VdId* vdId, ArrayList<Array*>** arrays, bool* unreadable)
{
    VdLookup lookup;
    int status = lookup.lookUp(manager, vdId->getTargetId());
    if (status != 0) {
        *unreadable = true;
        return vdListUnreadable(status);
    }
    if (lookup.get() == nullptr)
        return NOT_FOUND;
    ArrayList<Span*>* spans = nullptr;
    status = lookup.get()->getSpans(&spans);
    if (status != 0)
        return status;
    if (spans == nullptr)
        return NOT_FOUND;
    ArrayList<Array*>* list = new (noThrowNew) ArrayList<Array*>(4);
    if (list == nullptr)
        return -1;
    for (unsigned char i = 0; i < spans->count(); ++i) {
        Array* array = nullptr;
        status = spans->get(i) == nullptr ? NOT_FOUND : spans->get(i)->getArray(&array);
        if (status == 0 && array == nullptr)
            status = NOT_FOUND;
        if (status != 0 || list->add(array) != 0) {
            delete list;
            return status != 0 ? status : -1;
        }
    }
    *arrays = list;
    return 0;
}

// The unconfigured good drives could not be listed: the drive list, the configuration or a
// drive's information could not be read, so whether a drive is free is unknown. The line names
// the read as the one-drive-per-disk command of this family does; the read's status ends the
// command.
int freeDrivesUnreadable(uint8_t adapterNumber, int status)
{
    printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber), ConfigurationCp::UNUSED_DRIVES_READ);
    return status;
}

}  // namespace

int LdAutoCp::process(CpController* cpController, ParsedObject* parsed)
{
    CpQuietRefresh<CpStart<CfgAutoParsedObject>> start(cpController, parsed, "CfgAutoParsedObject *");
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    CfgAutoParsedObject* request = start.request();
    raidManager = start.manager();
    readFailureReported = false;
    ArrayList<PhysicalDevice*>* sorted = nullptr;
    int status = raidManager->getUnconfiguredGoodPdsBySize(&sorted, request->getSataOnly());
    if (status != 0 && status != NO_DRIVE_FOUND)
        return freeDrivesUnreadable(adapterNumber, status);
    if (status != 0 || sorted == nullptr) {
        printMessage(MSG_CFG_NO_FREE_DRIVE, static_cast<int>(adapterNumber));
        return status != 0 ? status : -1;
    }
    const uint8_t spans = request->getSpanCount();
    // No span count divides the drives, and the spares must leave drives for the virtual drive.
    if (spans == 0 || request->getHotSpareCount() >= sorted->count()) {
        delete sorted;
        printMessage(MSG_CFG_FAILED, static_cast<int>(adapterNumber));
        return -1;
    }
    const uint8_t n = static_cast<uint8_t>(sorted->count() - request->getHotSpareCount());
    if (request->raidLevel > HIGHEST_PLAIN_LEVEL && spans <= 1) {
        delete sorted;
        printMessage(MSG_CFG_SPAN_NEEDS_ARRAYS);
        return SPANNED_NEEDS_SPANS;
    }
    VdId* vdId = nullptr;
    int result = createDrive(cpController, request, sorted, n, spans, &vdId);
    delete sorted;
    if (result == 0 && request->getHotSpareCount() > 0)
        result = addHotSpares(cpController, request, vdId);
    if (result == 0)
        printMessage(MSG_CFG_DONE, static_cast<int>(adapterNumber));
    delete vdId;
    return result;
}

bool LdAutoCp::layDriveLists(ArrayList<PhysicalDevice*>* sorted, uint8_t n, uint8_t spans)
{
    deleteDriveLists();
    driveLists = new (noThrowNew) ArrayList<ArrayList<PhysicalDevice*>*>(4);
    if (driveLists == nullptr)
        return false;
    const unsigned perSpan = n / spans;
    int next = n - 1;
    for (uint8_t s = 0; s < spans; ++s) {
        ArrayList<PhysicalDevice*>* span = new (noThrowNew) ArrayList<PhysicalDevice*>(4);
        if (span == nullptr || driveLists->add(span) != 0) {
            delete span;
            return false;
        }
        for (unsigned k = 0; k < perSpan && next >= 0; ++k, --next) {
            PhysicalDevice* pd = sorted->get(static_cast<unsigned char>(next));
            if (pd == nullptr)
                return true;
            if (span->add(pd) != 0)
                return false;
        }
    }
    return true;
}

int LdAutoCp::createDrive(CpController* cpController, CfgAutoParsedObject* request, ArrayList<PhysicalDevice*>* sorted,
                          uint8_t n, uint8_t spans, VdId** vdId)
{
    const int adapterNumber = adapterNumberOf(cpController);
    int last = -1;
    for (;;) {
        if (spans == 1 || n % spans == 0) {
            if (!layDriveLists(sorted, n, spans)) {
                printMessage(MSG_NO_MEMORY, "Pd List");
                return -1;
            }
            uint8_t possible = 0, nonPi = 0;
            int status = raidManager->canCreateVdOnFreshPds(&possible, &nonPi);
            if (status != 0) {
                printMessage(MSG_OPERATION_FAILED, adapterNumber, "configuration");
                return status;
            }
            if (possible == 0) {
                printMessage(MSG_CFG_NOT_POSSIBLE, adapterNumber);
                return NOT_POSSIBLE;
            }
            last = addVdOnFreshDrives(cpController, request, vdId);
            if (last == 0)
                return 0;
            delete *vdId;
            *vdId = nullptr;
        }
        if (spans <= 2) {
            printMessage(MSG_CFG_FAILED, adapterNumber);
            return last;
        }
        --spans;
    }
}

int LdAutoCp::addHotSpares(CpController* cpController, CfgAutoParsedObject* request, VdId* vdId)
{
    const int adapterNumber = adapterNumberOf(cpController);
    ignoreStatus(raidManager->refresh(), "a failed read leaves no unused drive to add as spare");
    ArrayList<PhysicalDevice*>* left = nullptr;
    int status = raidManager->getUnconfiguredGoodPdsBySize(&left, request->getSataOnly());
    if (status != 0 && status != NO_DRIVE_FOUND)
        return freeDrivesUnreadable(static_cast<uint8_t>(adapterNumber), status);
    if (status != 0 || left == nullptr) {
        printMessage(MSG_CFG_FAILED, adapterNumber);
        return status != 0 ? status : -1;
    }
    status = makeHotSpares(cpController, left, vdId, request);
    delete left;
    if (status != 0)
        reportFailure(adapterNumber);
    return status;
}

int LdAutoCp::makeHotSpares(CpController*, ArrayList<PhysicalDevice*>* drives, VdId* vdId,
                            CfgAutoParsedObject* request)
{
    if (request == nullptr)
        return -1;
    if (drives == nullptr || drives->count() == 0)
        return 0;
    ArrayList<Array*>* arrays = nullptr;
    if (vdId != nullptr && request->getDedicated() == 1) {
        bool unreadable = false;
        if (int status = arraysOfVd(raidManager, vdId, &arrays, &unreadable))
            return unreadable ? readFailed(status) : status;
    }
    int status = 0;
    for (unsigned char i = 0; i < drives->count() && drives->get(i) != nullptr && status == 0; ++i)
        status = drives->get(i)->makeHotSpare(arrays, request->getRevertible(), request->getEnclAffinity());
    delete arrays;
    return status;
}

namespace {

const CpRegistration<LdAutoCp> registration;

}  // namespace
