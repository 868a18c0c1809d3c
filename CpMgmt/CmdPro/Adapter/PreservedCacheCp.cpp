#include "CpMgmt/CmdPro/Adapter/PreservedCacheCp.h"

#include <cstdio>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/PrintableText.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"
#include "RaidManager/Zpr/Records/Controller/ZprPreservedCacheList.h"

namespace {

const uint64_t BLOCKS_PER_MIB = 2048;
const size_t VD_NAME_SIZE = 17;

// The mask of the drives with preserved cache. A list that cannot be read is said to have failed
// and its status returned: "no preserved cache" would tell the administrator that nothing is at
// stake when nobody knows.
int readPreservedCacheMask(Adapter* adapter, int adapterNumber, uint64_t* mask)
{
    uint8_t list[ZprPreservedCacheList::SIZE] = {};
    *mask = 0;
    const int status = adapter->getPinnedCacheVirtualDrives(list);
    if (status != 0) {
        printMessage(MSG_OPERATION_FAILED, adapterNumber, "Get Preserved Cache List");
        return status;
    }
    *mask = ZprPreservedCacheList(list, sizeof list).mask();
    return 0;
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

struct VdCondition {
    bool offline;
    bool blocked;
    bool associated;
};

VdCondition conditionOf(VirtualDisk* vd)
{
    uint8_t state = 0xFF;
    uint8_t access = 0;
    uint8_t association = 0;
    VdCondition c = {false, false, false};
    c.offline = vd->getState(&state) == 0 && state == LD_STATE_OFFLINE;
    c.blocked = vd->getCurrentAccessPolicy(&access) == 0 && access == ACCESS_BLOCKED;
    c.associated = vd->getCacheAssociation(&association) == 0 && association == CACHE_ASSOCIATED;
    return c;
}

}  // namespace

// The request is not looked at: the list has nothing to choose.
int PreservedCacheListCp::process(CpController* cpController, ParsedObject* request)
{
    CpPlainStart start(cpController, request, CP_NEEDS_MODEL_ADAPTER);
    if (!start)
        return start.result();
    const int number = static_cast<int>(start.number());
    RaidManager* manager = start.manager();
    Adapter* adapter = start.adapter();
    uint64_t mask = 0;
    const int status = readPreservedCacheMask(adapter, number, &mask);
    if (status != 0)
        return status;
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
        makePrintable(name);
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

// ---------------------------------------------------------------------------------------------

int DiscardPreservedCacheCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<LdInfoParsedObject> start(cpController, request, "DiscardPreservedCacheParsedObject *...",
                                      CP_NEEDS_MODEL_ADAPTER);
    if (!start)
        return start.result();
    LdInfoParsedObject* own = start.request();
    unsigned count = own->getLdCount();
    RaidManager* manager = start.manager();
    Adapter* adapter = start.adapter();
    Run run = {manager, adapter, nullptr, 0, false, own->getForce() != 0, static_cast<int>(start.number())};
    const int status = readPreservedCacheMask(adapter, run.adapterNumber, &run.mask);
    if (status != 0)
        return status;
    if (run.mask == 0) {
        printMessage(MSG_NO_PRESERVED_CACHE, run.adapterNumber);
        return 0;
    }
    run.all = count > 0 && own->getLd(0) == ALL_LDS;
    if (run.all) {
        uint8_t maxVds = 0;
        count = adapter->getMaxVirtualDrives(&maxVds) == 0 ? maxVds : 0;
    }
    printMessage(MSG_ADAPTER_HEADER, run.adapterNumber);
    if (manager->getVds(&run.vds) != 0)
        run.vds = nullptr;

    int result = 0;
    for (unsigned i = 0; i < count; ++i) {
        const uint8_t targetId = run.all ? static_cast<uint8_t>(i) : own->getLd(static_cast<unsigned char>(i));
        if (!prepare(run, targetId, &result))
            return result;
    }
    for (unsigned i = 0; i < count; ++i) {
        const uint8_t targetId = run.all ? static_cast<uint8_t>(i) : own->getLd(static_cast<unsigned char>(i));
        result = discard(run, targetId);
        if (result != 0)
            return result;
    }
    return 0;
}

bool DiscardPreservedCacheCp::prepare(Run& run, uint8_t targetId, int* result)
{
    VirtualDisk* vd = hasPreservedCache(run.mask, targetId) ? findVd(run.vds, targetId, nullptr) : nullptr;
    if (vd == nullptr)
        return true;
    const VdCondition c = conditionOf(vd);
    const int t = static_cast<int>(targetId);
    if (c.blocked && c.associated) {
        const int status = vd->removeBlockedAccess(1);
        if (status != 0) {
            printMessage(MSG_LDPROP_SET_ERROR, "Remove Blocked access ", run.adapterNumber, t);
            *result = status;
            return false;
        }
        if (run.all)
            printMessage(MSG_ADAPTER_TEXT, run.adapterNumber, "Remove Blocked access is Success");
        else
            printMessage(MSG_LDPROP_SET_SUCCESS, "Remove Blocked access ", run.adapterNumber, t, t);
    }
    if (c.offline && !run.force && !c.blocked && !c.associated) {
        printMessage(MSG_TEXT, "\n One or more virtual drives are Offline. In order to discard preserved cache use "
                               "-force option. This will discard the preserved cache & delete the offline virtual "
                               "drives.\n");
        *result = 0;
        return false;
    }
    return true;
}

int DiscardPreservedCacheCp::discard(Run& run, uint8_t targetId)
{
    const int t = static_cast<int>(targetId);
    if (!hasPreservedCache(run.mask, targetId)) {
        if (!run.all)
            printMessage(MSG_NO_PRESERVED_CACHE_VD, t);
        return 0;
    }
    VirtualDisk* vd = findVd(run.vds, targetId, nullptr);
    const VdCondition c = vd != nullptr ? conditionOf(vd) : VdCondition{false, false, false};
    // The cache of a drive that an SSD cache still serves, or that is blocked, stays.
    if (c.blocked || c.associated)
        return 0;
    const int status = run.adapter->discardPinnedCache(targetId);
    if (status != 0) {
        printMessage(MSG_PRESERVED_CACHE_NOT_CLEARED, t);
        return status;
    }
    printMessage(MSG_PRESERVED_CACHE_CLEARED, t);
    if (vd == nullptr || !c.offline)
        return 0;
    const int deleted = run.manager->deleteVd(dynamic_cast<VdId*>(vd->getId()), static_cast<uint8_t>(vd->isTidewellCache()), 0);
    if (deleted != 0) {
        printMessage(MSG_TEXT, "Deletion of offline virtual drive failed. \n");
        return deleted;
    }
    return 0;
}

namespace {

const CpRegistration<PreservedCacheListCp> listRegistration;
const CpRegistration<DiscardPreservedCacheCp> discardRegistration;

}  // namespace
