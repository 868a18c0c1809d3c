#include "CpMgmt/CmdPro/PreservedCacheCp.h"

#include <cstdio>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/ZprPreservedCacheList.h"

namespace {

const uint64_t BLOCKS_PER_MIB = 2048;
const size_t VD_NAME_SIZE = 17;

// The mask of the drives with preserved cache; 0 when it cannot be read.
uint64_t preservedCacheMask(Adapter* adapter)
{
    uint8_t list[ZprPreservedCacheList::SIZE] = {};
    if (adapter->getPinnedCacheVirtualDrives(list) != 0)
        return 0;
    return ZprPreservedCacheList(list, sizeof list).mask();
}

bool hasPreservedCache(uint64_t mask, unsigned targetId)
{
    return targetId < 64 && ((mask >> targetId) & 1u) != 0;
}

// The drive with the target id and its place in the list, or null.
VirtualDisk* findVd(ArrayList<VirtualDisk*>* vds, unsigned targetId, unsigned* position)
{
    for (unsigned char j = 0; vds != nullptr && j < vds->count(); ++j) {
        VirtualDisk* vd = vds->get(j);
        VdId* id = vd != nullptr ? dynamic_cast<VdId*>(vd->getId()) : nullptr;
        if (id != nullptr && id->getTargetId() == targetId) {
            if (position != nullptr)
                *position = j;
            return vd;
        }
    }
    return nullptr;
}

}  // namespace

CommandProcessor* PreservedCacheListCp::create(unsigned short kind)
{
    return createCommandProcessor<PreservedCacheListCp>(kind);
}

ArrayList<unsigned short>* PreservedCacheListCp::commandIds()
{
    static const unsigned short ids[] = {TOKEN_PRESERVEDCACHELIST};
    return makeCommandIdList(ids, 1);
}

int PreservedCacheListCp::process(CpController* cpController, ParsedObject*)
{
    const uint8_t adapterNumber = adapterNumberOf(cpController);
    const int number = static_cast<int>(adapterNumber);
    RaidManager* manager = takeRaidManager(cpController, adapterNumber);
    if (manager == nullptr)
        return -1;
    Adapter* adapter = takeAdapter(manager, adapterNumber);
    if (adapter == nullptr)
        return -1;
    const uint64_t mask = preservedCacheMask(adapter);
    if (mask == 0) {
        printMessage(MSG_NO_PRESERVED_CACHE, number);
        return 0;
    }
    printMessage(MSG_ADAPTER_HEADER, number);
    ArrayList<VirtualDisk*>* vds = nullptr;
    if (manager->getVds(&vds) != 0 || vds == nullptr)
        return -1;
    uint8_t maxVds = 0;
    if (adapter->getMaxVirtualDrives(&maxVds) != 0)
        maxVds = 0;
    for (unsigned t = 0; t < maxVds; ++t) {
        if (!hasPreservedCache(mask, t))
            continue;
        unsigned position = 0;
        VirtualDisk* vd = findVd(vds, t, &position);
        if (vd == nullptr) {
            printMessage(MSG_PRESERVED_CACHE_VD_MISSING, static_cast<int>(t), "Missing");
            continue;
        }
        char name[VD_NAME_SIZE] = {};
        if (vd->getName(name, sizeof name) != 0)
            name[0] = '\0';
        uint64_t blocks = 0;
        if (vd->getSize(&blocks) != 0)
            blocks = 0;
        char text[80];
        snprintf(text, sizeof text, "%s%sSize:%lldMB, Offline ", name, name[0] != '\0' ? ", " : "",
                 static_cast<long long>(blocks / BLOCKS_PER_MIB));
        printMessage(MSG_VD_CONSISTENCY, static_cast<int>(position), static_cast<int>(t), text);
    }
    return 0;
}

namespace {

const CpRegistration<PreservedCacheListCp> listRegistration;

}  // namespace
