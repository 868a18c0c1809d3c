#include "CpMgmt/CmdPro/VirtualDrive/LdExpansionCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/Config/FreeSpaceInfoCp.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/SizeFormat.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/Array.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmStatus.h"
#include "RaidManager/Span.h"
#include "RaidManager/VirtualDisk.h"

namespace {

// Both commands print this class text when the request is of another class.
const char* const REQUEST_TEXT = "LdExpansionInfoParsedObject *...";
const unsigned MAX_PERCENTAGE = 100;
const uint8_t NO_DRIVE_CHANGE = 0;

// The selected drives of one request, in the order they are handled.
struct VdWalk {
    RaidManager* manager = nullptr;
    ArrayList<VirtualDisk*>* vds = nullptr;   // the model's, sorted by target id
    bool all = false;
    unsigned count = 0;
};

// What both commands check before the first drive, after the opening (`start`, with the model
// and its adapter element). True with the walk set up; false with the command's result in
// `result`. A `percentage` above 100 ends the command (-LdExpansion only: the info command
// passes 0).
bool openWalk(const CpOpening& start, LdParsedObject* request, unsigned percentage, VdWalk* walk, int* result)
{
    const uint8_t adapterNumber = start.number();
    *result = -1;
    walk->manager = start.manager();
    Adapter* adapter = start.adapter();
    uint8_t supported = 0;
    if (adapter->isOnlineCapacityExpansionSupported(&supported) != 0) {
        printMessage(MSG_ADAPTER_COMM_FAILED, static_cast<int>(adapterNumber));
        return false;
    }
    *result = 0;
    if (supported == 0) {
        printMessage(MSG_OCE_NOT_SUPPORTED);
        return false;
    }
    uint8_t vdCount = 0;
    if (const int counted = readVdCount(walk->manager, adapterNumber, &vdCount)) {
        *result = counted;
        return false;
    }
    walk->all = selectsAllVds(request);
    walk->count = walk->all ? vdCount : request->getLdCount();
    if (percentage > MAX_PERCENTAGE) {
        printMessage(MSG_TEXT, "Invalid input, Percentage of expansion cannot be more than 100 \n");
        return false;
    }
    if (vdCount == 0) {
        printMessage(MSG_NO_VD_CONFIGURED, static_cast<int>(adapterNumber));
        return false;
    }
    const int listed = sortedVds(walk->manager, &walk->vds);
    if (listed != 0) {
        *result = listed;
        return false;
    }
    return true;
}

// Walks the selected drives: `step(vd, number, &status)` handles one and answers whether the
// walk goes on. A drive the configuration does not hold is reported, leaves -1 and the walk
// goes on. The status left by the last drive, or the one a step ended the walk with.
template <class Step>
int walkDrives(const VdWalk& walk, LdParsedObject* request, uint8_t adapterNumber, Step step)
{
    int status = 0;
    for (unsigned i = 0; i < walk.count; ++i) {
        uint8_t number = 0;
        int failure = 0;
        if (!walkTargetId(request, walk.vds, walk.all, i, walk.manager, adapterNumber, &number, &failure)) {
            if (failure != 0)
                return failure;
            status = -1;
            continue;
        }
        VirtualDisk* vd = findVdByTargetId(walk.vds, number);
        if (vd == nullptr) {
            printMessage(MSG_VD_NOT_FOUND, static_cast<int>(adapterNumber), static_cast<int>(number));
            status = -1;
            continue;
        }
        if (!step(vd, number, &status))
            break;
    }
    return status;
}

// The drive's spans: 0 with the model's list, else the status that ends the command (-1
// without a list).
int spansOf(VirtualDisk* vd, ArrayList<Span*>** spans)
{
    *spans = nullptr;
    int status = vd->getSpans(spans);
    if (status == 0 && *spans == nullptr)
        status = -1;
    return status;
}

// The array under a span: 0 with the array, 0 with null for an array the configuration has no
// record of (the span is passed over), else the status that ends the command.
int recordedArrayOf(Span* span, Array** array)
{
    *array = nullptr;
    Array* under = nullptr;
    if (span == nullptr)
        return -1;
    int status = span->getArray(&under);
    if (status != 0 || under == nullptr)
        return status != 0 ? status : -1;
    uint8_t none = 0;
    status = under->hasNoRecord(&none);
    if (status == 0 && none == 0)
        *array = under;
    return status;
}

} // namespace

// --- -getLdExpansionInfo -----------------------------------------------------------------

int LdExpansionInfoCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<LdExpansionInfoParsedObject> start(cpController, request, REQUEST_TEXT, CP_NEEDS_MODEL_ADAPTER);
    if (!start)
        return start.result();
    LdExpansionInfoParsedObject* own = start.request();
    VdWalk walk;
    int result = 0;
    if (!openWalk(start, own, 0, &walk, &result))
        return result;
    const uint8_t adapterNumber = start.number();
    return walkDrives(walk, own, adapterNumber, [this, adapterNumber](VirtualDisk* vd, uint8_t number, int* status) {
        return showDrive(vd, adapterNumber, number, targetIdOf(vd), status);
    });
}

bool LdExpansionInfoCp::showDrive(VirtualDisk* vd, uint8_t adapterNumber, uint8_t number, uint8_t targetId,
                                  int* status)
{
    // Allowed operations that cannot be read leave the answer unknown, not "not possible".
    uint8_t allowed = 0;
    const int read = vd->isExpansionAllowed(&allowed);
    if (read != 0) {
        *status = vdUnreadable(adapterNumber, targetId, read);
        return false;
    }
    if (allowed == 0) {
        printMessage(MSG_EXPANSION_NOT_POSSIBLE, static_cast<int>(number), static_cast<int>(targetId));
        return true;
    }
    ArrayList<Span*>* spans = nullptr;
    *status = spansOf(vd, &spans);
    if (*status != 0)
        return false;
    for (unsigned char i = 0; i < spans->count(); ++i)
        if (!showSpan(vd, spans->get(i), number, targetId, status))
            return false;
    return true;
}

bool LdExpansionInfoCp::showSpan(VirtualDisk* vd, Span* span, uint8_t number, uint8_t targetId, int* status)
{
    Array* array = nullptr;
    *status = recordedArrayOf(span, &array);
    if (*status != 0)
        return false;
    if (array == nullptr)
        return true;
    ArrayList<ArraySpaceInfo*>* extents = nullptr;
    *status = array->getFreeExtents(&extents);
    if (*status == NO_ROOM) {
        printMessage(MSG_EXPANSION_NOT_POSSIBLE, static_cast<int>(number), static_cast<int>(targetId));
        *status = 0;
    }
    if (*status != 0 || extents == nullptr)
        return true;
    if (extents->count() == 0) {
        FreeSpaceInfoCp::deleteExtentList(extents);
        printMessage(MSG_EXPANSION_NOT_POSSIBLE, static_cast<int>(number), static_cast<int>(targetId));
        *status = 0;
        return false;
    }
    printMessage(MSG_EXPANSION_POSSIBLE, static_cast<int>(number), static_cast<int>(targetId));
    ArrayHmg* hmg = dynamic_cast<ArrayHmg*>(array);
    ArraySpaceInfo* last = extents->get(static_cast<unsigned char>(extents->count() - 1));
    uint64_t capacity = 0;
    *status = hmg != nullptr && last != nullptr ? hmg->getExtentCapacity(last, &capacity) : -1;
    FreeSpaceInfoCp::deleteExtentList(extents);
    if (*status != 0)
        return true;
    char text[CAPACITY_TEXT_SIZE] = {};
    formatCapacity(capacity / 2, text);
    printMessage(MSG_EXPANSION_ARRAY_ROOM, text);
    return showDiskRoom(vd, array, status);
}

bool LdExpansionInfoCp::showDiskRoom(VirtualDisk* vd, Array* array, int* status)
{
    uint64_t arraySize = 0;
    uint64_t smallest = 0;
    *status = -1;
    if (array->getSize(&arraySize) != 0 || array->getSmallestPdSize(&smallest) != 0)
        return false;
    uint64_t room = 0;
    if (arraySize < smallest) {
        uint8_t level = 0;
        uint8_t drivesPerSpan = 0;
        uint64_t vdSize = 0;
        if (vd->getPrimaryRaidLevel(&level) != 0 || vd->getDrivesPerSpan(&drivesPerSpan) != 0 ||
            vd->getSize(&vdSize) != 0 || roomWithinDisks(level, drivesPerSpan, smallest, vdSize, &room) != 0)
            return false;
    }
    char text[CAPACITY_TEXT_SIZE] = {};
    formatCapacity(room / 2, text);
    printMessage(MSG_EXPANSION_DISK_ROOM, text);
    *status = 0;
    return true;
}

int LdExpansionInfoCp::roomWithinDisks(uint8_t raidLevel, uint8_t drivesPerSpan, uint64_t smallestDrive,
                                       uint64_t vdSize, uint64_t* room)
{
    const uint64_t d = drivesPerSpan;
    uint64_t total = 0;
    switch (raidLevel) {
    case 0:
        total = d * smallestDrive;
        break;
    case 1:
        total = d * smallestDrive / 2;
        break;
    case 5:
        total = d >= 1 ? (d - 1) * smallestDrive : 0;
        break;
    case 6:
        total = d >= 2 ? (d - 2) * smallestDrive : 0;
        break;
    default:
        return -1;
    }
    // A drive that already holds the whole room has none left, rather than an enormous amount.
    *room = total > vdSize ? total - vdSize : 0;
    return 0;
}

// --- -LdExpansion ------------------------------------------------------------------------

int LdExpansionCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<LdExpansionParsedObject> start(cpController, request, REQUEST_TEXT, CP_NEEDS_MODEL_ADAPTER);
    if (!start)
        return start.result();
    LdExpansionParsedObject* own = start.request();
    VdWalk walk;
    int result = 0;
    if (!openWalk(start, own, own->getPercentage(), &walk, &result))
        return result;
    return walkDrives(walk, own, start.number(), [this, own](VirtualDisk* vd, uint8_t number, int* status) {
        return expandDrive(own, vd, number, status);
    });
}

bool LdExpansionCp::expandDrive(const LdExpansionParsedObject* request, VirtualDisk* vd, uint8_t number, int* status)
{
    const uint8_t adapterNumber = request->getAdapterNumber();
    // Allowed operations that cannot be read end the command with their line.
    uint8_t allowed = 0;
    int answer = vd->isExpansionAllowed(&allowed);
    if (answer != 0) {
        *status = vdUnreadable(adapterNumber, targetIdOf(vd), answer);
        return false;
    }
    if (allowed == 0) {
        printMessage(MSG_EXPANSION_NOT_ALLOWED, static_cast<int>(number), static_cast<int>(adapterNumber));
        return true;
    }
    ArrayList<Span*>* spans = nullptr;
    *status = spansOf(vd, &spans);
    if (*status != 0)
        return false;
    for (unsigned char i = 0; i < spans->count(); ++i)
        if (!expandSpan(request, vd, spans->get(i), number, status))
            return false;
    return true;
}

bool LdExpansionCp::expandSpan(const LdExpansionParsedObject* request, VirtualDisk* vd, Span* span, uint8_t number,
                               int* status)
{
    const uint8_t adapterNumber = request->getAdapterNumber();
    Array* array = nullptr;
    *status = recordedArrayOf(span, &array);
    if (*status != 0)
        return false;
    if (array == nullptr)
        return true;
    // The array first takes what its smallest drive holds, so that the drive has room to grow.
    if (request->getDontExpandArray() != 1 && (*status = array->setSizeToSmallestPd()) != 0)
        return false;
    ArrayList<ArraySpaceInfo*>* extents = nullptr;
    *status = array->getFreeExtents(&extents);
    const bool empty = *status == 0 && extents != nullptr && extents->count() == 0;
    FreeSpaceInfoCp::deleteExtentList(extents);
    if (*status == NO_ROOM || empty) {
        printMessage(MSG_EXPANSION_NO_SPACE, static_cast<int>(number), static_cast<int>(adapterNumber));
        *status = 0;
        return !empty;
    }
    if (*status != 0)
        return true;
    uint8_t level = 0;
    if ((*status = vd->getPrimaryRaidLevel(&level)) != 0)
        return false;
    ArrayList<PhysicalDevice*>* drives = nullptr;
    if ((*status = array->getPdList(&drives)) != 0) {
        printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber), "to get PD list");
        return false;
    }
    *status = vd->startReconstruction(level, NO_DRIVE_CHANGE, drives, request->getPercentage());
    printMessage(*status != 0 ? MSG_EXPANSION_FAILED : MSG_EXPANSION_STARTED, static_cast<int>(number),
                 static_cast<int>(adapterNumber));
    return true;
}

namespace {

const CpRegistration<LdExpansionInfoCp> infoRegistration;
const CpRegistration<LdExpansionCp> registration;

} // namespace
