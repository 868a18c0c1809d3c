// The space of an array: the extents its virtual drives take on each member drive, in block
// order, the gaps between them, and what a new virtual drive could hold in a gap.
#include "RaidManager/Array.h"

#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"

namespace {

void deleteExtents(ArrayList<ArraySpaceInfo*>* list)
{
    if (list == nullptr)
        return;
    for (unsigned char i = 0; i < list->count(); ++i)
        delete list->get(i);
    delete list;
}

// Appends a new extent; -1 when it cannot be made or kept.
int addExtent(ArrayList<ArraySpaceInfo*>* list, uint64_t start, uint64_t size, VirtualDisk* vd)
{
    ArraySpaceInfo* extent = new (noThrowNew) ArraySpaceInfo(start, size, vd);
    if (extent == nullptr)
        return -1;
    if (list->add(extent) != 0) {
        delete extent;
        return -1;
    }
    return 0;
}

// Orders virtual drives by start block; elements that cannot be compared count as equal.
int compareByStartBlock(const void* a, const void* b)
{
    VirtualDisk* first = *static_cast<VirtualDisk* const*>(a);
    VirtualDisk* second = *static_cast<VirtualDisk* const*>(b);
    if (first == nullptr || second == nullptr)
        return 0;
    uint64_t firstStart = 0;
    uint64_t secondStart = 0;
    if (first->getStartBlock(&firstStart) != 0 || second->getStartBlock(&secondStart) != 0)
        return 0;
    return firstStart < secondStart ? -1 : 1;
}

// The data drives of a span of `perSpan` drives at a primary level, with level 1 counted as
// half its drives (the caller doubles the size first); 0 for a level without a rule or a span
// too small for its level.
uint8_t dataDrivesOfSpan(uint8_t level, uint8_t perSpan)
{
    switch (level) {
    case 0:
    case 1:
        return perSpan;
    case 5:
        return perSpan > 1 ? static_cast<uint8_t>(perSpan - 1) : 0;
    case 6:
        return perSpan > 2 ? static_cast<uint8_t>(perSpan - 2) : 0;
    default:
        return 0;
    }
}

// What one virtual drive of the map takes on each member drive; -1 when a read fails or a
// divisor would be 0.
int extentLengthOf(VirtualDisk* vd, Controller* controller, uint64_t* length)
{
    uint64_t size = 0;
    uint8_t level = 0;
    uint8_t depth = 0;
    if (vd->getSize(&size) != 0 || vd->getPrimaryRaidLevel(&level) != 0 || vd->getSpanDepth(&depth) != 0)
        return -1;
    RaidManager* manager = getRaidManager(controller);
    Adapter* adapter = nullptr;
    if (manager == nullptr || manager->getAdapter(&adapter) != 0 || adapter == nullptr)
        return -1;
    uint8_t flag = 0;
    int status = adapter->getInfoFlag5ddBit0(&flag);
    if (status != 0)
        return status;
    uint8_t perSpan = 0;
    if (depth == 0 || vd->getDrivesPerSpan(&perSpan) != 0)
        return -1;
    uint8_t dataDrives = dataDrivesOfSpan(level, perSpan);
    if (dataDrives == 0)
        return -1;
    uint64_t perSpanSize = size / depth;
    if (level == 1)
        perSpanSize *= 2;
    *length = perSpanSize / dataDrives;
    return 0;
}

// The map of an array holding one spanned virtual drive: that drive's start and whole size.
int spannedDriveMap(VirtualDisk* vd, ArrayList<ArraySpaceInfo*>** map)
{
    uint64_t start = 0;
    uint64_t size = 0;
    if (vd->getStartBlock(&start) != 0 || vd->getSize(&size) != 0)
        return -1;
    ArrayList<ArraySpaceInfo*>* list = new (noThrowNew) ArrayList<ArraySpaceInfo*>(4);
    if (list == nullptr)
        return -1;
    if (addExtent(list, start, size, vd) != 0) {
        deleteExtents(list);
        return -1;
    }
    *map = list;
    return 0;
}

}  // namespace

int Array::buildSpaceMap(ArrayList<VirtualDisk*>* sorted, ArrayList<ArraySpaceInfo*>* map)
{
    uint64_t arraySize = 0;
    int status = getSize(&arraySize);
    if (status != 0)
        return status;
    uint64_t position = 0;
    for (unsigned char i = 0; i < sorted->count(); ++i) {
        VirtualDisk* vd = sorted->get(i);
        uint64_t start = 0;
        if (vd == nullptr || vd->getStartBlock(&start) != 0)
            return -1;
        if (position < start) {
            if (addExtent(map, position, start - position, nullptr) != 0)
                return -1;
            position = start;
        }
        uint64_t length = 0;
        status = extentLengthOf(vd, controller, &length);
        if (status != 0)
            return status;
        if (addExtent(map, position, length, vd) != 0)
            return -1;
        position += length;
    }
    if (position != arraySize && addExtent(map, position, arraySize - position, nullptr) != 0)
        return -1;
    return 0;
}

int Array::getSpaceMap(ArrayList<ArraySpaceInfo*>** map)
{
    int status = requireRecord();
    if (status != 0)
        return status;
    if (vds == nullptr || map == nullptr)
        return -1;
    if (vds->count() == 1) {
        VirtualDisk* only = vds->get(0);
        uint8_t secondary = 0;
        if (only == nullptr || only->getSecondaryRaidLevel(&secondary) != 0)
            return -1;
        if (secondary == 3)
            return spannedDriveMap(only, map);
    }
    ArrayList<VirtualDisk*> sorted(4);
    for (unsigned char i = 0; i < vds->count(); ++i)
        if (sorted.add(vds->get(i)) != 0)
            return -1;
    sorted.sort(compareByStartBlock);
    ArrayList<ArraySpaceInfo*>* list = new (noThrowNew) ArrayList<ArraySpaceInfo*>(4);
    if (list == nullptr)
        return -1;
    status = buildSpaceMap(&sorted, list);
    if (status != 0) {
        deleteExtents(list);
        return status;
    }
    *map = list;
    return 0;
}

int Array::getFreeExtents(ArrayList<ArraySpaceInfo*>** extents)
{
    int status = requireRecord();
    if (status != 0)
        return status;
    ArrayList<ArraySpaceInfo*>* map = nullptr;
    status = getSpaceMap(&map);
    if (status != 0)
        return status;
    ArrayList<ArraySpaceInfo*>* free = new (noThrowNew) ArrayList<ArraySpaceInfo*>(4);
    if (free == nullptr) {
        deleteExtents(map);
        return -1;
    }
    for (unsigned char i = 0; i < map->count(); ++i) {
        ArraySpaceInfo* extent = map->get(i);
        if (extent == nullptr || extent->getVirtualDisk() != nullptr) {
            delete extent;
            continue;
        }
        if (free->add(extent) != 0) {
            // A free extent that cannot be kept: the whole answer is refused.
            for (unsigned char j = i; j < map->count(); ++j)
                delete map->get(j);
            delete map;
            deleteExtents(free);
            return -1;
        }
    }
    delete map;
    if (free->count() == 0) {
        delete free;
        return NO_ROOM;
    }
    if (extents != nullptr)
        *extents = free;
    else
        deleteExtents(free);
    return 0;
}

int ArrayHmg::getExtentCapacity(ArraySpaceInfo* extent, uint64_t* capacity)
{
    int status = requireRecord();
    if (status != 0)
        return status;
    if (vds == nullptr || vds->count() == 0 || vds->get(0) == nullptr || extent == nullptr)
        return -1;
    uint8_t level = 0;
    status = vds->get(0)->getPrimaryRaidLevel(&level);
    if (status != 0)
        return status;
    uint64_t drives = pds == nullptr ? 0 : pds->count();
    uint64_t size = extent->getSize();
    uint64_t blocks = 0;
    switch (level) {
    case 0:
        blocks = size * drives;
        break;
    case 1:
        blocks = (size * drives) >> 1;
        break;
    case 5:
        blocks = drives < 1 ? 0 : size * (drives - 1);
        break;
    case 6:
        blocks = drives < 2 ? 0 : size * (drives - 2);
        break;
    default:
        return -1;
    }
    if (capacity != nullptr)
        *capacity = blocks;
    return 0;
}

int ArrayHmg::isRedundant(uint8_t* answer)
{
    if (vds == nullptr || vds->count() == 0 || vds->get(0) == nullptr)
        return -1;
    uint8_t level = 0;
    int status = vds->get(0)->getPrimaryRaidLevel(&level);
    if (status != 0)
        return status;
    if (answer != nullptr)
        *answer = (level == 1 || level == 5 || level == 6) ? 1 : 0;
    return 0;
}
