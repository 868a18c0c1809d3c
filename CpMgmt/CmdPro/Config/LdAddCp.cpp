#include "CpMgmt/CmdPro/Config/LdAddCp.h"

#include <cstdint>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/EnclosureIdText.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/Array.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmStatus.h"
#include "RaidManager/Span.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"

namespace {

const uint8_t HIGHEST_SINGLE_SPAN_LEVEL = 9;
const unsigned char VD_DRIVES_ROOM = 32;

// The checks of the drive lists against the configuration (the model's RmSpanCheck codes, in
// code order from SPANS_MIXED): code c prints its message and ends the command with its result.
struct SpanCheck {
    unsigned message;
    int result;
};
const SpanCheck SPAN_CHECKS[] = {
    {MSG_SPAN_MIXED_CONFIGURED, NOT_POSSIBLE}, {MSG_SPAN_BAD_ATTRIBUTES, 38}, {MSG_SPAN_DRIVE_COUNT, 3},
    {MSG_SPAN_NO_SLICING, 3},                  {MSG_SPAN_ARRAY_MISMATCH, 3},  {MSG_SPAN_NO_PD_LIST, 3},
    {MSG_SPAN_INVALID_PD_LIST, 3},             {MSG_SPAN_NO_DISK_GROUP, 3},   {MSG_SPAN_NO_ARRAY, 9},
    {MSG_SPAN_GROUP_MISMATCH, 3},              {MSG_SPAN_NO_FREE_SPACE, 3},   {MSG_SPAN_FREE_SPACE_MISMATCH, 3},
};

// The row of a code above SPANS_VALID; null for a code the check does not give.
const SpanCheck* spanCheckOf(int code)
{
    const int count = static_cast<int>(sizeof SPAN_CHECKS / sizeof SPAN_CHECKS[0]);
    return code < SPANS_MIXED || code >= SPANS_MIXED + count ? nullptr : &SPAN_CHECKS[code - SPANS_MIXED];
}

bool isShielded(uint16_t state)
{
    return state == PD_STATE_UNCONFIGURED_SHIELDED || state == PD_STATE_HOT_SPARE_SHIELDED ||
           state == PD_STATE_CONFIGURED_SHIELDED;
}

// The drive lists against the configuration: 0 with the disk group whose free space they
// name (null: unconfigured drives), else the result of the code after its message.
int checkSpans(RaidManager* manager, ArrayList<ArrayList<PhysicalDevice*>*>* lists, DiskGroup** group)
{
    uint64_t out = 0;
    const int code = manager->validateSpanDrives(lists, &out);
    if (code == SPANS_VALID) {
        *group = reinterpret_cast<DiskGroup*>(static_cast<uintptr_t>(out));
        return 0;
    }
    const SpanCheck* check = spanCheckOf(code);
    if (check == nullptr)
        return code;
    printMessage(check->message);
    return check->result;
}

size_t countOf(const ArrayList<unsigned long long*>* sizes)
{
    return sizes == nullptr ? 0 : sizes->count();
}

// The arrays of the virtual drive's spans into `arrays`: 0, a model status, or 3 when one
// is missing.
int collectArrays(VirtualDisk* vd, ArrayList<Array*>* arrays)
{
    ArrayList<Span*>* spans = nullptr;
    int status = vd->getSpans(&spans);
    if (status != 0)
        return status;
    if (spans == nullptr)
        return 3;
    for (unsigned char i = 0; i < spans->count(); ++i) {
        Array* array = nullptr;
        status = spans->get(i) == nullptr ? 3 : spans->get(i)->getArray(&array);
        if (status != 0)
            return status;
        if (array == nullptr || arrays->add(array) != 0)
            return 3;
    }
    return 0;
}

}  // namespace

unsigned LdAddCp::spanCheckMessage(int code)
{
    const SpanCheck* check = spanCheckOf(code);
    return check != nullptr ? check->message : 0;
}

LdAddCp::~LdAddCp()
{
    deleteDriveLists();
}

void LdAddCp::deleteDriveLists()
{
    if (driveLists == nullptr)
        return;
    for (unsigned char i = 0; i < driveLists->count(); ++i)
        delete driveLists->get(i);
    delete driveLists;
    driveLists = nullptr;
}

// The checks of the request before any drive is looked up: -1, 3 or 30 after their message,
// or a status of the adapter; 0 when the request may go on.
int LdAddCp::checkRequest(CfgAddParsedObject* request, uint8_t adapterNumber)
{
    Adapter* adapter = takeAdapter(raidManager, adapterNumber);
    if (adapter == nullptr)
        return -1;
    if (checkEncryptionForOem(adapter, request->encryption) != 0)
        return -1;
    uint8_t pi = 0;
    if (int status = adapter->isPiSupported(&pi))
        return status;
    if (request->getEnablePi() == 1 && pi == 0) {
        printMessage(MSG_TEXT, "Adapter Doesn't support PI\n");
        return -1;
    }
    const ArrayList<ArrayList<PdIdListObject*>*>* arrays = request->getArrayList();
    const size_t arrayCount = arrays == nullptr ? 0 : arrays->count();
    if (request->raidLevel > HIGHEST_SINGLE_SPAN_LEVEL && arrayCount < 2) {
        printMessage(MSG_CFG_SPAN_NEEDS_ARRAYS);
        return 30;
    }
    if (countOf(request->getSizeList()) > 0 && arrayCount >= 2) {
        uint8_t slicing = 0;
        ignoreStatus(adapter->isSpanSlicingSupported(&slicing), "an unread flag keeps 0: not supported");
        if (slicing == 0) {
            printMessage(MSG_CFG_NO_SPAN_SLICING, static_cast<int>(adapterNumber));
            return 3;
        }
    }
    return 0;
}

int LdAddCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<CfgAddParsedObject> start(cpController, request, "CfgAddParsedObject *", CP_NEEDS_MODEL);
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    const int a = static_cast<int>(adapterNumber);
    CfgAddParsedObject* own = start.request();
    allSolidState = 0;
    readFailureReported = false;
    raidManager = start.manager();
    // A failed read is not reported here: the adapter element is then absent, and the request
    // checks report that.
    ignoreStatus(raidManager->refresh(),
                 "a failed read leaves the adapter absent, which the next step reports");
    if (int result = checkRequest(own, adapterNumber))
        return result;
    if (int result = buildDriveLists(cpController, own)) {
        reportFailure(a);
        return result;
    }
    const uint8_t powerSave = own->getPowerSavePolicy();
    if (allSolidState == 1 && (powerSave == POWER_SAVE_MAXIMUM || powerSave == POWER_SAVE_MAXIMUM_WITHOUT_CACHING)) {
        printMessage(MSG_TEXT, "Invalid power savings level input.\n");
        return -1;
    }
    DiskGroup* group = nullptr;
    if (int result = takeSpans(&group))
        return result;
    VdId* vdId = nullptr;
    int result = 0;
    bool stop = false;
    uint8_t firstSlice = 0;
    if (group == nullptr) {
        result = addFirstVdOnFreshDrives(cpController, own, &vdId, &stop);
        firstSlice = 1;
    }
    if (!stop)
        result = addSlices(cpController, own, group, firstSlice, &vdId, result);
    if (result == 0)
        printMessage(MSG_CFG_DONE, a);
    delete vdId;
    return result;
}

int LdAddCp::addFirstVdOnFreshDrives(CpController* cpController, CfgAddParsedObject* request, VdId** vdId,
                                     bool* stop)
{
    const int a = static_cast<int>(adapterNumberOf(cpController));
    *stop = true;
    uint8_t possible = 0;
    uint8_t nonPi = 0;
    int result = raidManager->canCreateVdOnFreshPds(&possible, &nonPi);
    if (result != 0) {
        printMessage(MSG_OPERATION_FAILED, a, "configuration");
        return result;
    }
    if (possible == 0) {
        printMessage(MSG_CFG_NOT_POSSIBLE, a);
        return NOT_POSSIBLE;
    }
    result = takeAddResult(addVdOnFreshDrives(cpController, request, vdId), a, stop);
    if (*stop)
        return result;
    ArrayList<PdIdListObject*>* spares = request->getHotSpareList();
    if (spares != nullptr && spares->count() > 0) {
        const int spareResult = addDedicatedHotSpares(cpController, spares, *vdId);
        if (spareResult != 0) {
            reportFailure(a);
            *stop = true;
            return spareResult;
        }
    }
    return result;
}

int LdAddCp::takeAddResult(int result, int adapterNumber, bool* stop)
{
    *stop = false;
    if (result == OS_STEP_FAILED) {
        printMessage(MSG_OS_UPDATE_FAILED);
        return OS_STEP_FAILED;
    }
    if (result == ADDED_NOT_CACHED)
        return -1;
    if (result != 0) {
        printMessage(MSG_CFG_FAILED, adapterNumber);
        *stop = true;
    }
    return result;
}

int LdAddCp::checkFreeSpace(DiskGroup* group, uint8_t force, int adapterNumber)
{
    uint8_t possible = 0;
    const int status = group == nullptr ? 3 : raidManager->canCreateVdOnFreeSpace(group, &possible);
    if (status == BEYOND_16_VDS) {
        if (force == 1)
            return 0;
        printMessage(MSG_CFG_16_VD_COMPAT, adapterNumber);
        return 3;
    }
    if (status == NO_ROOM)
        return status;
    if (status != 0) {
        printMessage(MSG_CFG_FAILED, adapterNumber);
        return status;
    }
    if (possible == 0) {
        printMessage(MSG_CFG_NOT_POSSIBLE, adapterNumber);
        return NOT_POSSIBLE;
    }
    return 0;
}

int LdAddCp::addSlices(CpController* cpController, CfgAddParsedObject* request, DiskGroup* group,
                       uint8_t firstSlice, VdId** vdId, int result)
{
    const int a = static_cast<int>(adapterNumberOf(cpController));
    const size_t sizes = countOf(request->getSizeList());
    const size_t slices = sizes == 0 ? 1 : sizes;
    uint8_t afterLd = request->getAfterLd();
    ArrayList<PdIdListObject*>* spares = request->getHotSpareList();
    for (size_t i = firstSlice; i < slices; ++i) {
        if (i > 0) {
            ignoreStatus(raidManager->refresh(), "a failed read shows when the previous drive is looked up");
            VdLookup previous;
            if (*vdId != nullptr && afterLd != AFTER_LD_NONE &&
                previous.lookUp(raidManager, (*vdId)->getTargetId()) == 0)
                afterLd = targetIdOf(previous.get());
            if (int built = buildDriveLists(cpController, request)) {
                reportFailure(a);
                return built;
            }
            if (int code = takeSpans(&group))
                return code;
        }
        if (int refused = checkFreeSpace(group, request->force, a))
            return refused;
        delete *vdId;
        *vdId = nullptr;
        bool stop = false;
        result = takeAddResult(
            addVdOnFreeSpace(cpController, request, group, vdId, static_cast<uint8_t>(i), afterLd), a, &stop);
        if (stop)
            return result;
        if (i == 0 && spares != nullptr && spares->count() > 0) {
            const int spareResult = addDedicatedHotSpares(cpController, spares, *vdId);
            if (spareResult != 0) {
                reportFailure(a);
                return spareResult;
            }
        }
    }
    return result;
}

int LdAddCp::buildDriveLists(CpController* cpController, CfgAddParsedObject* request)
{
    deleteDriveLists();
    allSolidState = 0;
    someSolidState = 0;
    ArrayList<ArrayList<PdIdListObject*>*>* arrays = request == nullptr ? nullptr : request->getArrayList();
    if (arrays == nullptr)
        return -1;
    driveLists = new (noThrowNew) ArrayList<ArrayList<PhysicalDevice*>*>(LIST_ROOM);
    if (driveLists == nullptr) {
        printMessage(MSG_NO_MEMORY, "Pd List");
        return -1;
    }
    for (unsigned char j = 0; j < arrays->count(); ++j) {
        ArrayList<PhysicalDevice*>* drives = new (noThrowNew) ArrayList<PhysicalDevice*>(LIST_ROOM);
        if (drives == nullptr) {
            printMessage(MSG_NO_MEMORY, "Pd List");
            return -1;
        }
        int result = fillDriveList(cpController, arrays->get(j), j, drives);
        if (result == 0 && driveLists->add(drives) != 0) {
            printMessage(MSG_NO_MEMORY, "Pd List");
            result = -1;
        }
        if (result != 0) {
            delete drives;
            return result;
        }
    }
    return 0;
}

int LdAddCp::fillDriveList(CpController* cpController, ArrayList<PdIdListObject*>* entries, unsigned char index,
                           ArrayList<PhysicalDevice*>* drives)
{
    const unsigned char n = entries == nullptr ? 0 : entries->count();
    if (index > 0 && n != driveLists->get(static_cast<unsigned char>(index - 1))->count())
        return 9;
    unsigned char solidState = 0;
    const uint8_t adapter = adapterNumberOf(cpController);
    for (unsigned char k = 0; k < n; ++k) {
        PdIdListObject* entry = entries->get(k);
        unsigned short enclosure = entry == nullptr ? 0 : entry->getEnclosureId();
        if (int status = resolveEnclosureId(cpController, &enclosure))
            return status;
        EnclSlotId address(enclosure, entry == nullptr ? 0 : entry->getSlot());
        PhysicalDevice* pd = nullptr;
        if (int status = entry == nullptr ? 0 : raidManager->findPdByEnclSlot(&address, &pd))
            return readFailed(driveUnreadable(adapter, enclosure, address.getSlotNumber(), status));
        if (pd == nullptr) {
            printMessage(MSG_CFG_NOT_A_DISK, formatEnclosureId(enclosure), static_cast<int>(address.getSlotNumber()));
            return 12;
        }
        // Whether the drive may join (its state, media and block size) is known only from its
        // information: a drive that cannot be read is not taken for one in a good state.
        uint16_t state = 0;
        if (int status = pd->getFirmwareState(&state))
            return readFailed(driveUnreadable(adapter, enclosure, address.getSlotNumber(), status));
        uint8_t media = 0;
        if (pd->getMediaType(&media) == 0 && media == MEDIA_SOLID_STATE)
            ++solidState;
        if (isShielded(state)) {
            printMessage(MSG_TEXT, "Cannot create configuration with disks in Shielded state. \n");
            return -1;
        }
        if (drives->add(pd) != 0) {
            printMessage(MSG_NO_MEMORY, "Pd List");
            return -1;
        }
    }
    // Any array with a solid-state drive marks the configuration; the last array alone says
    // whether all of it is solid-state.
    if (solidState > 0)
        someSolidState = 1;
    allSolidState = solidState == drives->count() ? 1 : 0;
    return 0;
}

int LdAddCp::addDedicatedHotSpares(CpController* cpController, ArrayList<PdIdListObject*>* hotSpares, VdId* vdId)
{
    if (hotSpares == nullptr || hotSpares->count() == 0)
        return 0;
    const int a = static_cast<int>(adapterNumberOf(cpController));
    if (vdId == nullptr) {
        // The drive was made but not handed out: there are no arrays to dedicate spares to.
        for (unsigned char i = 0; i < hotSpares->count(); ++i) {
            PdIdListObject* entry = hotSpares->get(i);
            if (entry != nullptr)
                printMessage(MSG_PD_HOT_SPARE_RESULT, a, "Set", formatEnclosureId(entry->getEnclosureId()),
                             static_cast<int>(entry->getSlot()), "Failed");
        }
        return 0;
    }
    ignoreStatus(raidManager->refresh(), "a failed read shows when the new drive is looked up");
    VdLookup lookup;
    int status = lookup.lookUp(raidManager, vdId->getTargetId());
    if (status != 0)
        return readFailed(vdListUnreadable(status));
    if (lookup.get() == nullptr)
        return 3;
    ArrayList<Array*> arrays(LIST_ROOM);
    status = collectArrays(lookup.get(), &arrays);
    if (status != 0)
        return status;
    ArrayList<PhysicalDevice*> members(VD_DRIVES_ROOM);
    uint16_t reference = 0;
    if (raidManager->getVdPds(&members, vdId->getTargetId()) == 0 && members.count() > 0 && members.get(0) != nullptr)
        ignoreStatus(members.get(0)->getLogicalSectorSize(&reference),
                     "an unread block size keeps 0: any spare's size matches");
    return setHotSpares(cpController, hotSpares, &arrays, reference);
}

int LdAddCp::setHotSpares(CpController* cpController, ArrayList<PdIdListObject*>* hotSpares,
                          ArrayList<Array*>* arrays, uint16_t blockSize)
{
    const int a = static_cast<int>(adapterNumberOf(cpController));
    int result = 0;
    for (unsigned char i = 0; i < hotSpares->count(); ++i) {
        PdIdListObject* entry = hotSpares->get(i);
        if (entry == nullptr)
            continue;
        unsigned short enclosure = entry->getEnclosureId();
        if (int status = resolveEnclosureId(cpController, &enclosure))
            return status;
        const int slot = static_cast<int>(entry->getSlot());
        const char* enclosureText = formatEnclosureId(enclosure);
        EnclSlotId address(enclosure, entry->getSlot());
        PhysicalDevice* pd = nullptr;
        if (int status = raidManager->findPdByEnclSlot(&address, &pd))
            return readFailed(driveUnreadable(static_cast<uint8_t>(a), enclosure, entry->getSlot(), status));
        if (pd == nullptr) {
            printMessage(MSG_NEWLINE);
            printMessage(MSG_NEWLINE);
            printMessage(MSG_PD_NOT_FOUND, a, enclosureText, slot);
            printMessage(MSG_PD_HOT_SPARE_RESULT, a, "Set", enclosureText, slot, "Failed");
            return result;
        }
        // The state and the block size come from the drive's information, which must be read.
        uint16_t state = 0;
        if (int status = pd->getFirmwareState(&state))
            return readFailed(driveUnreadable(static_cast<uint8_t>(a), enclosure, entry->getSlot(), status));
        if (isShielded(state)) {
            printMessage(MSG_TEXT, "Cannot set a disk in Shielded state as hotspare.\n");
            return -1;
        }
        uint16_t size = 0;
        ignoreStatus(pd->getLogicalSectorSize(&size), "read with the state above: the record is at hand");
        if (size != blockSize) {
            printMessage(MSG_TEXT, "Block size mismatch: Cannot set a disk with different block size as hotspare.\n");
            return -1;
        }
        result = pd->makeHotSpare(arrays, 1, 0);
        printMessage(MSG_PD_HOT_SPARE_RESULT, a, "Set", enclosureText, slot, result != 0 ? "Failed" : "Success");
        if (result != 0)
            return result;
    }
    return result;
}

int LdAddCp::takeSpans(DiskGroup** group)
{
    // The spans are judged against the configuration: one that cannot be read is no reason to
    // call a drive unfit.
    ArrayList<DiskGroup*>* groups = nullptr;
    if (int status = takeDiskGroups(raidManager, &groups))
        return readFailed(status);
    return checkSpans(raidManager, driveLists, group);
}

void LdAddCp::reportFailure(int adapterNumber)
{
    if (!readFailureReported)
        printMessage(MSG_CFG_FAILED, adapterNumber);
}

int LdAddCp::readFailed(int status)
{
    readFailureReported = true;
    return status;
}

int LdAddCp::spinUpDrives(CpController*, CfgAddParsedObject*, ArrayList<ArrayList<PhysicalDevice*>*>* lists)
{
    return spinUpDriveLists(raidManager, lists);
}

namespace {

const CpRegistration<LdAddCp> registration;

}  // namespace
