// The logical-drive commands of RmDataZpr that concern the whole controller: the SSD-cache
// association list, the SSD-cache drives among the logical drives, the reserved target ids,
// the one-block read of every virtual drive, and the snapshot commands.
#include <cstring>

#include "DataProvider/DcmdOpcodes.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/LeView.h"
#include "PavUtil/Memory.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/RmDataZpr.h"
#include "RaidManager/Zpr/ZprData.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdIdList.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdInfo.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdList.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdParameters.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdProperties.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"
#include "RaidManager/Zpr/Records/Config/ZprSnapshotConfig.h"
#include "RaidManager/Zpr/Records/Config/ZprSnapshotList.h"

namespace {

// Mailbox byte 0 of the reserved-id query.
const uint32_t RESERVED_IDS_QUERY = 2;

const uint8_t POLICY_NONE = 0;
const uint8_t POLICY_WRITE_THROUGH = 1;
const uint8_t POLICY_WRITE_BACK = 2;

uint8_t* newZeroedBlock(uint32_t size)
{
    uint8_t* block = new (noThrowNew) uint8_t[size];
    if (block != nullptr)
        memset(block, 0, size);
    return block;
}

// The length of a target-id list block read before (one unit when empty).
uint32_t blockSize(const uint8_t* block)
{
    uint32_t size = ZprLdIdList::UNIT;
    ZprLdIdList::sizeForCount(ZprLdIdList(block, ZprLdIdList::UNIT).count(), &size);
    return size;
}

bool listHolds(const ZprLdIdList& list, uint8_t targetId)
{
    for (uint32_t i = 0; i < list.entryCount(); ++i)
        if (list.targetId(i) == targetId)
            return true;
    return false;
}

}  // namespace

template <class Visit>
int RmDataZpr::walkLdInfos(Visit visit)
{
    if (zprData == nullptr)
        return -1;
    ZprLdList list;
    int status = zprData->getLdList(&list);
    if (status != 0)
        return status;
    uint8_t info[ZprLdInfo::SIZE];
    for (uint32_t i = 0; i < list.entryCount(); ++i) {
        memset(info, 0, sizeof info);
        status = ZprData::sendCommand(controller, DCMD_LD_GET_INFO, list.targetId(i), info, sizeof info);
        if (status != 0)
            return status;
        if (!visit(LeView(static_cast<const uint8_t*>(info), sizeof info)))
            break;
    }
    return 0;
}

int RmDataZpr::getTidewellAssociations(uint8_t** block, uint8_t query)
{
    if (block == nullptr || zprData == nullptr)
        return -1;
    uint32_t size = 0;
    return zprData->readLdIdList(DCMD_LD_TIDEWELL_GET_ASSOCIATIONS, query, block, &size);
}

int RmDataZpr::setTidewellAssociations(uint8_t targetId, uint8_t add)
{
    uint8_t* old = nullptr;
    int status = getTidewellAssociations(&old, ASSOCIATIONS_QUERY);
    if (status != 0)
        return status;
    ZprLdIdList oldList(old, blockSize(old));
    const uint32_t count = oldList.entryCount();
    const bool present = listHolds(oldList, targetId);
    // Nothing to change; and no list names more drives than target ids exist.
    if (present == (add == 1) || (add == 1 && count >= ZprLdIdList::MAX_ENTRIES)) {
        delete[] old;
        return present == (add == 1) ? 0 : -1;
    }
    const uint32_t length = add == 1 ? count + ZprLdIdList::UNIT : count + ZprLdIdList::IDS;
    uint8_t* block = newZeroedBlock(length);
    if (block == nullptr) {
        delete[] old;
        return -1;
    }
    LeView head(block, length);
    if (add == 1) {
        // The old head and ids, then the new id in the last byte.
        memcpy(block, old, length - 1);
        block[length - 1] = targetId;
        head.setU32(ZprListHeader::SIZE, oldList.size() + 1);
        head.setU32(ZprListHeader::COUNT, count + 1);
    } else {
        memcpy(block, old, ZprLdIdList::IDS);
        head.setU32(ZprListHeader::SIZE, oldList.size() - 1);
        head.setU32(ZprListHeader::COUNT, count - 1);
        uint32_t next = ZprLdIdList::IDS;
        for (uint32_t i = 0; i < count; ++i)
            if (oldList.targetId(i) != targetId)
                block[next++] = oldList.targetId(i);
    }
    delete[] old;
    status = ZprData::sendCommand(controller, DCMD_LD_TIDEWELL_SET_ASSOCIATIONS, ASSOCIATIONS_WRITE_ALL, block, length);
    delete[] block;
    return status;
}

int RmDataZpr::isTidewellAssociated(uint8_t targetId, uint8_t* answer)
{
    if (answer != nullptr)
        *answer = 0;
    uint8_t* block = nullptr;
    int status = getTidewellAssociations(&block, ASSOCIATIONS_QUERY);
    if (status != 0)
        return status;
    if (answer != nullptr && listHolds(ZprLdIdList(block, blockSize(block)), targetId))
        *answer = 1;
    delete[] block;
    return 0;
}

int RmDataZpr::countTidewellVds(uint8_t* count)
{
    if (count == nullptr)
        return -1;
    *count = 0;
    return walkLdInfos([count](const LeView& info) {
        if (info.u8(ZprLdInfo::PARAMETERS + ZprLdParameters::SSD_CACHE) != 0)
            ++*count;
        return true;
    });
}

int RmDataZpr::getTidewellWritePolicy(uint8_t* value)
{
    if (value == nullptr)
        return -1;
    *value = POLICY_NONE;
    return walkLdInfos([value](const LeView& info) {
        if (info.u8(ZprLdInfo::PARAMETERS + ZprLdParameters::SSD_CACHE) == 0)
            return true;
        const bool writeBack =
            (info.u8(ZprLdInfo::PROPERTIES + ZprLdProperties::DEFAULT_CACHE_POLICY) & CACHE_POLICY_WRITE_BACK) != 0;
        *value = writeBack ? POLICY_WRITE_BACK : POLICY_WRITE_THROUGH;
        return !writeBack;
    });
}

int RmDataZpr::queryReservedLdIds(uint8_t** block)
{
    if (block == nullptr || zprData == nullptr)
        return -1;
    uint32_t size = 0;
    return zprData->readLdIdList(DCMD_LD_LIST_QUERY, RESERVED_IDS_QUERY, block, &size);
}

int RmDataZpr::readFirstBlockOfVds()
{
    if (getRaidManager(controller) == nullptr || zprData == nullptr)
        return 1;
    ZprLdList ldList;
    // Without the list no drive can be read: reported as such, not as done.
    if (zprData->getLdList(&ldList) != 0)
        return 1;
    ArrayList<VirtualDisk*> vds(4);
    for (uint32_t i = 0; i < ldList.entryCount(); ++i) {
        VdIdZpr id(ldList.targetId(i), ldList.sequenceNumber(i));
        VirtualDisk* vd = nullptr;
        if (createVd(&id, &vd) == 0 && vd != nullptr && vds.add(vd) < 0)
            delete vd;
    }
    ignoreStatus(sortVdsByTargetId(&vds), "an unsorted list still holds every drive");
    int result = 0;
    for (unsigned char i = 0; i < vds.count() && result == 0; ++i)
        if (vds.get(i)->sendScsiPassThrough() != 0)
            result = 1;
    for (unsigned char i = 0; i < vds.count(); ++i)
        delete vds.get(i);
    return result;
}

int RmDataZpr::sendSnapshotSubcmd03(uint32_t value, void* buffer, uint32_t length)
{
    return ZprData::sendCommand(controller, DCMD_LD_SNAPSHOT_SUBCMD_03, value, buffer, length);
}

int RmDataZpr::readSnapshotSubcmd08(uint8_t value, uint8_t** block)
{
    return ZprData::readInTwoPasses(controller, DCMD_LD_SNAPSHOT_SUBCMD_08, value, ZprSnapshotConfig::HEAD,
                                    [](const LeView& head) {
                                        return ZprSnapshotConfig::sizeFor(head.u8(ZprSnapshotConfig::FIRST_COUNT),
                                                                          head.u8(ZprSnapshotConfig::SECOND_COUNT));
                                    },
                                    block);
}

int RmDataZpr::readSnapshotSubcmd09(uint8_t value, uint8_t* buffer)
{
    if (buffer == nullptr)
        return -1;
    return ZprData::sendCommand(controller, DCMD_LD_SNAPSHOT_SUBCMD_09, value, buffer, ZprSnapshotList::SINGLE_READ);
}

int RmDataZpr::readSnapshotSubcmd0A(uint8_t** block)
{
    return ZprData::readInTwoPasses(controller, DCMD_LD_SNAPSHOT_SUBCMD_0A, 0, ZprSnapshotList::HEAD,
                                    [](const LeView& head) {
                                        const uint32_t count = head.u32(ZprSnapshotList::COUNT);
                                        return count > ZprSnapshotList::MAX_ENTRIES ? ZprData::BAD_HEAD
                                                                                    : ZprSnapshotList::sizeFor(count);
                                    },
                                    block);
}
