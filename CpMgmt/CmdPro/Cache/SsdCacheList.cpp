#include "CpMgmt/CmdPro/Cache/SsdCacheList.h"

#include <algorithm>

#include "CpMgmt/CmdPro/VdSelection.h"
#include "PavUtil/LeView.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdIdList.h"

int findFirstSsdCache(RaidManager* manager, VirtualDisk** cache)
{
    *cache = nullptr;
    ArrayList<VirtualDisk*>* vds = nullptr;
    if (const int unread = sortedVds(manager, &vds))
        return unread;
    for (unsigned char i = 0; vds != nullptr && i < vds->count(); ++i) {
        VirtualDisk* vd = vds->get(i);
        if (vd != nullptr && vd->isTidewellCache() == 1) {
            *cache = vd;
            return 0;
        }
    }
    return 0;
}

int readSsdCacheList(Adapter* adapter, uint8_t cacheTargetId, std::vector<uint8_t>* ids)
{
    uint8_t* read = nullptr;
    const int status = adapter->getSsdCacheVirtualDrives(&read, cacheTargetId);
    if (status != 0 || read == nullptr) {
        delete[] read;
        return status != 0 ? status : -1;
    }
    // The block was read at the size its count asks for; the count is clamped to it.
    uint32_t size = ZprLdIdList::UNIT;
    ZprLdIdList::sizeForCount(ZprLdIdList(read, ZprLdIdList::UNIT).count(), &size);
    const ZprLdIdList list(read, size);
    for (uint32_t i = 0; i < list.entryCount(); ++i)
        ids->push_back(list.targetId(i));
    delete[] read;
    return 0;
}

std::vector<uint8_t> makeSsdCacheList(const std::vector<uint8_t>& ids)
{
    const uint32_t size = static_cast<uint32_t>(std::max<size_t>(ids.size(), 1)) * ZprLdIdList::UNIT;
    std::vector<uint8_t> block(size, 0);
    LeView view(block.data(), block.size());
    view.setU32(ZprListHeader::SIZE, size);
    view.setU32(ZprListHeader::COUNT, static_cast<uint32_t>(ids.size()));
    for (size_t i = 0; i < ids.size(); ++i)
        view.setU8(ZprLdIdList::IDS + i, ids[i]);
    return block;
}
