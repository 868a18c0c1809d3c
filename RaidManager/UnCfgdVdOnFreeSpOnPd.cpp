// The plan of a virtual drive in a free extent of the arrays of a disk group: the level is
// that of the drives already there, and every array of the group gets the same extent.
#include "RaidManager/UnConfiguredVd.h"

#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/Array.h"
#include "RaidManager/DiskGroup.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"

namespace {

// The first virtual drive of an array; null when there is none.
VirtualDisk* firstVdOf(Array* array)
{
    ArrayList<VirtualDisk*>* vds = nullptr;
    if (array == nullptr || array->getVdList(&vds) != 0 || vds == nullptr || vds->count() == 0)
        return nullptr;
    return vds->get(0);
}

// The number of member drives of an array, or the failure of reading its drive list.
int driveCountOf(Array* array, uint8_t* count)
{
    ArrayList<PhysicalDevice*>* pds = nullptr;
    int status = array->getPdList(&pds);
    if (status != 0)
        return status;
    *count = pds == nullptr ? 0 : pds->count();
    return 0;
}

}  // namespace

UnCfgdVdOnFreeSpOnPd* UnCfgdVdOnFreeSpOnPd::create(Controller* controller, DiskGroup* group)
{
    if (controller == nullptr || group == nullptr)
        return nullptr;
    // The defaults and the refusal are those of a plan on fresh drives.
    UnCfgdVdOnFreshPd* fresh = UnCfgdVdOnFreshPd::create(controller);
    if (fresh == nullptr)
        return nullptr;
    uint8_t strip = 0, p27 = 0, p28 = 0, p29 = 0, p30 = 0;
    ignoreStatus(fresh->getStripSize(&strip), "a field of the plan: always 0");
    ignoreStatus(fresh->getParameter27(&p27), "a field of the plan: always 0");
    ignoreStatus(fresh->getParameter28(&p28), "a field of the plan: always 0");
    ignoreStatus(fresh->getParameter29(&p29), "a field of the plan: always 0");
    ignoreStatus(fresh->getParameter30(&p30), "a field of the plan: always 0");
    delete fresh;
    UnCfgdVdOnFreeSpOnPd* plan = new (noThrowNew) UnCfgdVdOnFreeSpOnPd(controller, strip, p27, p29, p28, p30, group);
    uint8_t encryption = 0;
    if (plan != nullptr && plan->getExistingEncryptionType(&encryption) == 0)
        ignoreStatus(plan->setParameter56(encryption), "a setter of the plan: always 0");
    return plan;
}

UnCfgdVdOnFreeSpOnPd::UnCfgdVdOnFreeSpOnPd(Controller* controller, uint8_t stripSize, uint8_t parameter27,
                                           uint8_t parameter29, uint8_t parameter28, uint8_t parameter30,
                                           DiskGroup* group)
    : UnConfiguredVd(controller, stripSize, parameter27, parameter29, parameter28, parameter30), diskGroup(group),
      extent(nullptr)
{
}

UnCfgdVdOnFreeSpOnPd::~UnCfgdVdOnFreeSpOnPd() {}

ArrayHmg* UnCfgdVdOnFreeSpOnPd::firstArray() const
{
    ArrayList<Array*>* arrays = nullptr;
    if (diskGroup == nullptr || diskGroup->getArrays(&arrays) != 0 || arrays == nullptr || arrays->count() == 0)
        return nullptr;
    return dynamic_cast<ArrayHmg*>(arrays->get(0));
}

int UnCfgdVdOnFreeSpOnPd::getExistingEncryptionType(uint8_t* type)
{
    ArrayHmg* array = firstArray();
    if (array == nullptr || array->isHmg() == 0)
        return -1;
    VirtualDisk* vd = firstVdOf(array);
    return vd == nullptr ? -1 : vd->getEncryptionType(type);
}

int UnCfgdVdOnFreeSpOnPd::setExtent(ArraySpaceInfo* chosen)
{
    if (chosen == nullptr)
        return -1;
    extent = chosen;
    return 0;
}

int UnCfgdVdOnFreeSpOnPd::getFreeExtents(ArrayList<ArraySpaceInfo*>** list)
{
    ArrayHmg* array = firstArray();
    if (array == nullptr || list == nullptr)
        return -1;
    ArrayList<ArraySpaceInfo*>* extents = nullptr;
    int status = array->getFreeExtents(&extents);
    if (status != 0)
        return status;
    unsigned char i = 0;
    while (status == 0 && i < extents->count()) {
        ArraySpaceInfo* free = extents->get(i);
        uint64_t capacity = 0;
        if (free == nullptr)
            status = -1;
        else
            status = array->getExtentCapacity(free, &capacity);
        if (status == 0 && capacity < MIN_VD_BLOCKS) {
            delete free;
            extents->removeAt(i);
        } else if (status == 0) {
            ++i;
        }
    }
    if (status != 0) {
        for (unsigned char j = 0; j < extents->count(); ++j)
            delete extents->get(j);
        delete extents;
        return status;
    }
    *list = extents;
    return 0;
}

int UnCfgdVdOnFreeSpOnPd::getPossibleRaidLevels(ArrayList<unsigned char>** levels)
{
    VirtualDisk* vd = firstVdOf(firstArray());
    if (vd == nullptr)
        return -1;
    uint8_t level = 0, depth = 0;
    if (vd->getPrimaryRaidLevel(&level) != 0 || vd->getSpanDepth(&depth) != 0)
        return -1;
    uint8_t code = 0;
    switch (level) {
    case 0:
        code = LEVEL_RAID0;
        break;
    case 1:
        code = depth == 1 ? LEVEL_RAID1 : LEVEL_SPANNED_RAID1;
        break;
    case 5:
        code = depth == 1 ? LEVEL_RAID5 : LEVEL_SPANNED_RAID5;
        break;
    case 6:
        code = depth == 1 ? LEVEL_RAID6 : LEVEL_SPANNED_RAID6;
        break;
    default:
        return -1;
    }
    ArrayList<unsigned char>* list = new (noThrowNew) ArrayList<unsigned char>(4);
    if (list == nullptr || list->add(code) != 0) {
        delete list;
        return -1;
    }
    *levels = list;
    return 0;
}

int UnCfgdVdOnFreeSpOnPd::getMaximumSize(uint64_t* size)
{
    ArrayList<Array*>* arrays = nullptr;
    ArrayHmg* array = firstArray();
    if (extent == nullptr || array == nullptr || raidLevel == LEVEL_NONE || diskGroup->getArrays(&arrays) != 0)
        return -1;
    uint8_t drives = 0;
    int status = driveCountOf(array, &drives);
    if (status != 0)
        return status;
    uint64_t blocks = 0;
    if (usableBlocks(raidLevel, extent->getSize(), drives, &blocks) != 0)
        return -1;
    return out(size, blocks * arrays->count());
}

int UnCfgdVdOnFreeSpOnPd::fitSize(uint64_t requested, uint64_t* size)
{
    ArrayList<Array*>* arrays = nullptr;
    if (raidLevel == LEVEL_NONE || diskGroup == nullptr || diskGroup->getArrays(&arrays) != 0 || arrays == nullptr ||
        arrays->count() == 0)
        return -1;
    if (requested < MIN_VD_BLOCKS)
        requested = MIN_VD_BLOCKS;
    const uint64_t perArray = requested / arrays->count();
    uint64_t total = 0;
    for (unsigned char i = 0; i < arrays->count(); ++i) {
        Array* array = arrays->get(i);
        if (array == nullptr)
            return -1;
        uint8_t drives = 0;
        int status = driveCountOf(array, &drives);
        if (status != 0)
            return status;
        uint64_t share = 0, blocks = 0;
        if (driveShareFor(raidLevel, perArray, drives, &share) != 0 ||
            usableBlocks(raidLevel, share, drives, &blocks) != 0)
            return -1;
        total += blocks;
    }
    return out(size, total);
}

int UnCfgdVdOnFreeSpOnPd::isSizeValid(uint8_t* answer)
{
    *answer = 0;
    uint64_t maximum = 0;
    int status = checkRequestFits(&maximum);
    if (status != 0)
        return status;
    if (isSpannedLevel()) {
        Adapter* a = adapter();
        uint8_t slicing = 0;
        if (a == nullptr || a->isSpanSlicingSupported(&slicing) != 0 || slicing == 0)
            return -1;
    }
    *answer = 1;
    return 0;
}
