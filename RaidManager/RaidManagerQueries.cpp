// The questions the configuration and drive commands ask a controller's model before they
// change anything: the unconfigured drives, room for another virtual drive, drives and spares
// that can serve an array, replacements, and the span lists a configuration command names.
// None of them changes the controller.
#include "RaidManager/RaidManager.h"

#include "Output/VoError.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/Array.h"
#include "RaidManager/DiskGroup.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RmData.h"
#include "RaidManager/RmStatus.h"
#include "RaidManager/Spare.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"

namespace {

// The firmware's status for "maximum number of virtual drives configured", kept in the
// last-error word so that the entry point names it.
const uint32_t LAST_ERROR_MAX_VDS = 0x0201001Au;

int compareByCoercedSize(const void* a, const void* b)
{
    PhysicalDevice* first = *static_cast<PhysicalDevice* const*>(a);
    PhysicalDevice* second = *static_cast<PhysicalDevice* const*>(b);
    uint64_t firstSize = 0, secondSize = 0;
    if (first != nullptr)
        ignoreStatus(first->getCoercedSize(&firstSize), "a drive whose size cannot be read sorts as size 0");
    if (second != nullptr)
        ignoreStatus(second->getCoercedSize(&secondSize),
                     "a drive whose size cannot be read sorts as size 0");
    return firstSize > secondSize ? 1 : (firstSize < secondSize ? -1 : 0);
}

void deleteExtents(ArrayList<ArraySpaceInfo*>* list)
{
    for (unsigned char i = 0; list != nullptr && i < list->count(); ++i)
        delete list->get(i);
    delete list;
}

bool hasRebuildingDrive(Array* array)
{
    ArrayList<PhysicalDevice*>* pds = nullptr;
    if (array->getPdList(&pds) != 0)
        return false;
    for (unsigned char i = 0; pds != nullptr && i < pds->count(); ++i) {
        uint16_t state = 0;
        if (pds->get(i) != nullptr && pds->get(i)->getFirmwareState(&state) == 0 && state == PD_STATE_REBUILD)
            return true;
    }
    return false;
}

// 1 when the drive is that of one of the spares.
bool isDriveOfSpares(PhysicalDevice* pd, ArrayList<Spare*>* spares)
{
    for (unsigned char i = 0; spares != nullptr && i < spares->count(); ++i) {
        PhysicalDevice* drive = nullptr;
        if (spares->get(i) != nullptr && spares->get(i)->getPd(&drive) == 0 && drive == pd)
            return true;
    }
    return false;
}

}  // namespace

int SnapShotRaidManager::getUnconfiguredGoodPdsBySize(ArrayList<PhysicalDevice*>** list, uint8_t sataOnly)
{
    ArrayList<PhysicalDevice*>* unused = nullptr;
    int status = getUnusedPds(&unused);
    if (status != 0)
        return status;
    ArrayList<PhysicalDevice*>* kept = new (noThrowNew) ArrayList<PhysicalDevice*>(4);
    if (kept == nullptr)
        return -1;
    for (unsigned char i = 0; unused != nullptr && i < unused->count(); ++i) {
        PhysicalDevice* pd = unused->get(i);
        uint8_t good = 0;
        uint8_t interfaceType = 0;
        if (pd == nullptr) {
            delete kept;
            return -1;
        }
        const int read = pd->isUnconfiguredGoodDisk(&good);
        // A drive whose information cannot be read may be a good one: the list is unknown.
        if (read != 0 && read != STATUS_NO_DEVICE) {
            delete kept;
            return read;
        }
        if (read != 0 || good == 0)
            continue;
        if (sataOnly != 0 && (pd->getInterfaceType(&interfaceType) != 0 || interfaceType != INTERFACE_SATA))
            continue;
        if (kept->add(pd) != 0) {
            delete kept;
            return -1;
        }
    }
    if (kept->count() == 0) {
        delete kept;
        return NO_DRIVE_FOUND;
    }
    kept->sort(compareByCoercedSize);
    *list = kept;
    return 0;
}

int SnapShotRaidManager::vdCountAndMaximum(uint8_t* count, uint8_t* maximum)
{
    Adapter* a = nullptr;
    int status = getVdCount(count);
    if (status == 0)
        status = getAdapter(&a);
    if (status == 0 && a == nullptr)
        status = -1;
    return status != 0 ? status : a->getMaxVirtualDrives(maximum);
}

int SnapShotRaidManager::canCreateVdOnFreshPds(uint8_t* answer, uint8_t* nonPi)
{
    *nonPi = 0;
    uint8_t count = 0, maximum = 0;
    int status = vdCountAndMaximum(&count, &maximum);
    if (status != 0)
        return status;
    if (count == maximum) {
        *answer = 0;
        return NO_ROOM;
    }
    ArrayList<PhysicalDevice*>* unused = nullptr;
    status = getUnusedPds(&unused);
    if (status != 0)
        return status;
    bool found = false;
    for (unsigned char i = 0; !found && unused != nullptr && i < unused->count(); ++i) {
        PhysicalDevice* pd = unused->get(i);
        uint8_t good = 0;
        if (pd == nullptr)
            return -1;
        status = pd->isUnconfiguredGoodDisk(&good);
        if (status != 0)
            return status;
        uint16_t piEligible = 1;
        if (pd->isPiEligible(&piEligible) == 0 && piEligible == 0)
            *nonPi = 1;
        found = good != 0;
    }
    if (found)
        return rmData->canCreateVdOnFreshPds(answer);
    *answer = 0;
    return NOT_POSSIBLE;
}

int SnapShotRaidManager::checkArrayHasRoom(Array* array, uint8_t* answer)
{
    if (hasRebuildingDrive(array))
        return DRIVE_REBUILDING;
    ArrayList<VirtualDisk*>* vds = nullptr;
    if (array->getVdList(&vds) != 0 || vds == nullptr) {
        *answer = 0;
        return NO_FREE_SPACE;
    }
    uint8_t maxPerArray = 0;
    int status = array->getMaxVdsPerArray(&maxPerArray);
    if (status != 0)
        return status;
    if (vds->count() >= maxPerArray) {
        *answer = 0;
        setLastErrorCode(LAST_ERROR_MAX_VDS);
        return NO_ROOM;
    }
    ArrayList<ArraySpaceInfo*>* extents = nullptr;
    status = array->getFreeExtents(&extents);
    if (status != 0)
        return status;
    const bool empty = extents == nullptr || extents->count() == 0;
    deleteExtents(extents);
    if (empty) {
        *answer = 0;
        return NO_FREE_SPACE;
    }
    return 0;
}

int SnapShotRaidManager::canCreateVdOnFreeSpace(DiskGroup* group, uint8_t* answer)
{
    uint8_t count = 0, maximum = 0;
    int status = vdCountAndMaximum(&count, &maximum);
    if (status != 0)
        return status;
    if (count == maximum) {
        *answer = 0;
        setLastErrorCode(LAST_ERROR_MAX_VDS);
        return NO_ROOM;
    }
    ArrayList<Array*>* arrays = nullptr;
    if (group == nullptr)
        return -1;
    status = group->getArrays(&arrays);
    if (status != 0)
        return status;
    for (unsigned char i = 0; arrays != nullptr && i < arrays->count(); ++i) {
        if (arrays->get(i) == nullptr)
            return -1;
        status = checkArrayHasRoom(arrays->get(i), answer);
        if (status != 0)
            return status;
    }
    return rmData->canCreateVdOnFreeSpace(group, answer);
}

int SnapShotRaidManager::isDriveUsableForArray(PhysicalDevice* pd, Array* array, bool spare, uint8_t* answer)
{
    if (pd == nullptr || array == nullptr)
        return -1;
    uint8_t yes = 0;
    int status = array->isRedundant(&yes);
    if (status != 0)
        return status;
    if (yes != 0 && !spare) {
        status = pd->isUnconfiguredGoodDisk(&yes);
        if (status != 0)
            return status;
    }
    ArrayList<PhysicalDevice*>* pds = nullptr;
    if (yes != 0) {
        status = array->getPdList(&pds);
        if (status != 0)
            return status;
        yes = checkDriveMixList(pd, pds);
    }
    if (yes == 0) {
        *answer = 0;
        return 0;
    }
    uint64_t size = 0, bound = 0;
    status = pd->getCoercedSize(&size);
    if (status == 0)
        status = spare ? array->getSize(&bound) : array->getSmallestPdSize(&bound);
    if (status != 0)
        return status;
    *answer = size >= bound ? 1 : 0;
    return 0;
}

int SnapShotRaidManager::isPdUsableForArray(PhysicalDevice* pd, Array* array, uint8_t* answer)
{
    return isDriveUsableForArray(pd, array, false, answer);
}

int SnapShotRaidManager::isSpareUsableForArray(Spare* spare, Array* array, uint8_t* answer)
{
    PhysicalDevice* pd = nullptr;
    if (spare == nullptr || spare->getPd(&pd) != 0)
        return -1;
    return isDriveUsableForArray(pd, array, true, answer);
}

int SnapShotRaidManager::canReplacePd(PhysicalDevice* pd, PhysicalDevice* candidate, uint8_t* answer)
{
    *answer = 0;
    Array* array = nullptr;
    ArrayList<PhysicalDevice*>* members = nullptr;
    if (pd == nullptr || candidate == nullptr || pd->getArray(&array) != 0 || array == nullptr ||
        array->getPdList(&members) != 0 || checkDriveMixList(candidate, members) != 1)
        return 0;
    uint16_t state = 0, candidateState = 0;
    uint64_t size = 0, candidateSize = 0;
    ignoreStatus(pd->getFirmwareState(&state), "an unread state keeps 0: the drive is not online");
    ignoreStatus(candidate->getFirmwareState(&candidateState), "an unread state keeps 0: checked below");
    ignoreStatus(pd->getCoercedSize(&size), "an unread size keeps 0: checked below");
    ignoreStatus(candidate->getCoercedSize(&candidateSize), "an unread size keeps 0: checked below");
    if (state == PD_STATE_ONLINE && candidateSize >= size) {
        ArrayList<Spare*>* globalSpares = nullptr;
        ArrayList<Spare*>* dedicated = nullptr;
        ignoreStatus(getSpares(&globalSpares), "without a list there is no global spare");
        ignoreStatus(array->getSpares(&dedicated), "without a list the array has no dedicated spare");
        if (candidateState == PD_STATE_UNCONFIGURED_GOOD ||
            (candidateState == PD_STATE_HOT_SPARE &&
             (isDriveOfSpares(candidate, globalSpares) || isDriveOfSpares(candidate, dedicated))))
            *answer = 1;
    } else if ((state == PD_STATE_UNCONFIGURED_GOOD || state == PD_STATE_HOT_SPARE) &&
               candidateState == PD_STATE_ONLINE && size >= candidateSize) {
        uint8_t flag = 0;
        if (candidate->getFlag361Bit6(&flag) == 0 && flag != 0)
            *answer = 1;
    }
    return 0;
}

namespace {

typedef ArrayList<ArrayList<PhysicalDevice*>*> SpanList;

// The mode the first drive sets and that every drive must share: unconfigured good or not.
int checkSpanShapes(SpanList* spans, bool* fresh)
{
    if (spans == nullptr)
        return SPANS_MISSING;
    if (spans->count() == 0)
        return SPANS_EMPTY;
    unsigned reference = 0;
    for (unsigned char s = 0; s < spans->count(); ++s) {
        ArrayList<PhysicalDevice*>* span = spans->get(s);
        if (span == nullptr)
            return SPANS_MISSING;
        if (span->count() == 0)
            return SPANS_EMPTY;
        if (s == 0)
            reference = span->count();
        else if (span->count() != reference)
            return SPANS_UNEVEN;
        for (unsigned char d = 0; d < span->count(); ++d) {
            PhysicalDevice* pd = span->get(d);
            uint8_t good = 0;
            if (pd == nullptr)
                return SPANS_MISSING;
            ignoreStatus(pd->isUnconfiguredGoodDisk(&good),
                         "an unread answer keeps 0: not unconfigured good");
            if (s == 0 && d == 0) {
                uint16_t state = 0;
                if (good == 0 && pd->getFirmwareState(&state) != 0)
                    return SPANS_NO_ARRAY;
                *fresh = good != 0;
            } else if ((good != 0) != *fresh) {
                return SPANS_MIXED;
            }
        }
    }
    return SPANS_VALID;
}

// The array of a span's first drive; null when it lies on none.
Array* arrayOfSpan(ArrayList<PhysicalDevice*>* span)
{
    Array* array = nullptr;
    if (span == nullptr || span->count() == 0 || span->get(0) == nullptr || span->get(0)->getArray(&array) != 0)
        return nullptr;
    return array;
}

bool hasDriveAt(ArrayList<PhysicalDevice*>* span, uint16_t enclosure, uint8_t slot)
{
    for (unsigned char i = 0; i < span->count(); ++i) {
        uint16_t e = 0;
        uint8_t s = 0;
        if (span->get(i)->getEnclosureDeviceId(&e) == 0 && span->get(i)->getSlotNumber(&s) == 0 && e == enclosure &&
            s == slot)
            return true;
    }
    return false;
}

// A span must name exactly the drives of its array, unless the array misses a drive while its
// virtual drive is not optimal (then the span stands in for what the array was).
int checkSpanMatchesArray(ArrayList<PhysicalDevice*>* span, Array* array)
{
    ArrayList<PhysicalDevice*>* members = nullptr;
    if (array->getPdList(&members) != 0 || members == nullptr)
        return SPANS_NOT_ARRAY_DRIVES;
    bool missing = false;
    for (unsigned char i = 0; i < members->count(); ++i) {
        uint16_t id = 0;
        if (members->get(i) != nullptr && members->get(i)->getDeviceId(&id) == 0 && id == MISSING_DEVICE_ID)
            missing = true;
    }
    ArrayList<VirtualDisk*>* vds = nullptr;
    uint8_t state = 0;
    if (missing && array->getVdList(&vds) == 0 && vds != nullptr && vds->count() > 0 && vds->get(0) != nullptr &&
        vds->get(0)->getState(&state) == 0 && state != LD_STATE_OPTIMAL)
        return SPANS_VALID;
    if (members->count() != span->count())
        return SPANS_NOT_ARRAY_DRIVES;
    for (unsigned char i = 0; i < members->count(); ++i) {
        uint16_t enclosure = 0;
        uint8_t slot = 0;
        PhysicalDevice* member = members->get(i);
        if (member == nullptr || member->getEnclosureDeviceId(&enclosure) != 0 || member->getSlotNumber(&slot) != 0 ||
            !hasDriveAt(span, enclosure, slot))
            return SPANS_NOT_ARRAY_DRIVES;
    }
    return SPANS_VALID;
}

// Every array of the group must be reached by a span, and the spans must be as many as the
// group's arrays.
int checkSpansCoverGroup(SpanList* spans, DiskGroup* group, ArrayList<Array*>** arraysOut)
{
    ArrayList<Array*>* arrays = nullptr;
    if (group->getArrays(&arrays) != 0 || arrays == nullptr)
        return SPANS_GROUP_UNREADABLE;
    if (arrays->count() != spans->count())
        return SPANS_NOT_GROUP;
    for (unsigned char i = 0; i < arrays->count(); ++i) {
        if (arrays->get(i) == nullptr)
            return SPANS_GROUP_UNREADABLE;
        bool matched = false;
        for (unsigned char s = 0; !matched && s < spans->count(); ++s) {
            Array* array = arrayOfSpan(spans->get(s));
            DiskGroup* owner = nullptr;
            if (array == nullptr)
                return SPANS_GROUP_UNREADABLE;
            if (array->getDiskGroup(&owner) != 0 || owner == nullptr)
                return SPANS_NO_DISK_GROUP;
            matched = owner == group;
        }
        if (!matched)
            return SPANS_NOT_GROUP;
    }
    *arraysOut = arrays;
    return SPANS_VALID;
}

}  // namespace

int SnapShotRaidManager::validateSpanDrives(ArrayList<ArrayList<PhysicalDevice*>*>* spans, uint64_t* out)
{
    bool fresh = false;
    int code = checkSpanShapes(spans, &fresh);
    if (code != SPANS_VALID)
        return code;
    if (fresh) {
        *out = 0;
        return SPANS_VALID;
    }
    Array* array = nullptr;
    for (unsigned char s = 0; s < spans->count(); ++s) {
        array = arrayOfSpan(spans->get(s));
        if (array == nullptr)
            return SPANS_NO_ARRAY;
        code = checkSpanMatchesArray(spans->get(s), array);
        if (code != SPANS_VALID)
            return code;
    }
    DiskGroup* group = nullptr;
    if (array->getDiskGroup(&group) != 0 || group == nullptr)
        return SPANS_NO_DISK_GROUP;
    ArrayList<Array*>* arrays = nullptr;
    code = checkSpansCoverGroup(spans, group, &arrays);
    for (unsigned char i = 1; code == SPANS_VALID && i < arrays->count(); ++i)
        code = compareFreeExtents(arrays->get(0), arrays->get(i));
    if (code != SPANS_VALID)
        return code;
    *out = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(group));
    return SPANS_VALID;
}

int SnapShotRaidManager::compareFreeExtents(Array* a, Array* b)
{
    ArrayList<ArraySpaceInfo*>* first = nullptr;
    ArrayList<ArraySpaceInfo*>* second = nullptr;
    int code = SPANS_VALID;
    if (a == nullptr || b == nullptr || a->getFreeExtents(&first) != 0 || b->getFreeExtents(&second) != 0 ||
        first == nullptr || second == nullptr || first->count() == 0 || second->count() == 0)
        code = SPANS_NO_FREE_EXTENTS;
    else if (first->count() != second->count())
        code = SPANS_EXTENTS_DIFFER;
    for (unsigned char i = 0; code == SPANS_VALID && i < first->count(); ++i) {
        bool found = false;
        for (unsigned char j = 0; !found && j < second->count(); ++j)
            found = first->get(i) != nullptr && first->get(i)->equals(second->get(j));
        if (!found)
            code = SPANS_EXTENTS_DIFFER;
    }
    deleteExtents(first);
    deleteExtents(second);
    return code;
}

// The adds themselves are the RmData's; the snapshot sees them after the next refresh.
int SnapShotRaidManager::addVdOnFreshPds(UnConfiguredVd* plan)
{
    return rmData->addVdOnFreshPds(plan);
}

int SnapShotRaidManager::addVdOnFreeSpace(UnConfiguredVd* plan)
{
    return rmData->addVdOnFreeSpace(plan);
}

int SnapShotRaidManager::addVdOnDrives(VdOnDrivesRequest* request)
{
    return rmData->addVdOnDrives(request);
}

int SnapShotRaidManager::addVdOnSpans(VirtualDisk* model, ArrayList<ArrayList<PhysicalDevice*>*>* spans,
                                      VdOnSpansRequest* request)
{
    return rmData->addVdOnSpans(model, spans, request);
}

int SnapShotRaidManager::createVdElement(VirtualDisk** vd, uint8_t primaryRaidLevel, uint8_t stripExponent,
                                         uint8_t currentCachePolicy, uint8_t defaultCachePolicy,
                                         uint8_t encryptionType)
{
    return rmData->createVdElement(vd, primaryRaidLevel, stripExponent, currentCachePolicy, defaultCachePolicy,
                                   encryptionType);
}
