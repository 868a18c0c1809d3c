#include "CpMgmt/CmdPro/VirtualDrive/LdDelCp.h"

#include <cstdio>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmStatus.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdIdList.h"

namespace {


// 1 when an SSD cache serves the drive with the target id; the read's status goes to `status`.
bool servedBySsdCache(VirtualDisk* vd, uint8_t target, int* status)
{
    uint8_t* block = nullptr;
    *status = vd->getTidewellAssociations(&block);
    if (*status != 0 || block == nullptr) {
        delete[] block;
        return false;
    }
    // The block was read at the size its count asks for; entries beyond it are not looked at.
    uint32_t size = ZprLdIdList::UNIT;
    ZprLdIdList::sizeForCount(ZprLdIdList(block, ZprLdIdList::UNIT).count(), &size);
    const ZprLdIdList list(block, size);
    bool served = false;
    for (uint32_t i = 0; i < list.entryCount() && !served; ++i)
        served = list.targetId(i) == target;
    delete[] block;
    return served;
}

// True when the drive is one of the model's own, which the caller must not delete.
bool ownedByModel(ArrayList<VirtualDisk*>* vds, VirtualDisk* vd)
{
    for (unsigned char i = 0; vds != nullptr && i < vds->count(); ++i)
        if (vds->get(i) == vd)
            return true;
    return false;
}

}  // namespace

int LdDelCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<LdDelParsedObject> start(cpController, request, "LdDelParsedObject *", CP_NEEDS_MODEL);
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    LdDelParsedObject* own = start.request();
    RaidManager* manager = start.manager();
    // The model is read afresh and the adapter element taken without messages of their own.
    ignoreStatus(manager->refresh(), "a failed read leaves the adapter absent, which the next step reports");
    Adapter* adapter = nullptr;
    if (manager->getAdapter(&adapter) != 0 || adapter == nullptr)
        return -1;
    uint8_t vdCount = 0;
    if (const int unread = readVdCount(manager, adapterNumber, &vdCount))
        return unread;
    ArrayList<VirtualDisk*>* vds = nullptr;
    const int listed = sortedVds(manager, &vds);
    if (listed != 0)
        return listed;
    const bool all = own->allDrives != 0;
    const unsigned n = all ? vdCount : (own->ldList != nullptr ? own->ldList->count() : 0);
    int result = 0;
    for (unsigned i = 0; i < n; ++i) {
        // The list of drives and the count are two reads of one model.
        if (all && (vds == nullptr || i >= vds->count()))
            break;
        uint8_t targetId = all ? targetIdOf(vds->get(static_cast<unsigned char>(i)))
                               : own->ldList->get(static_cast<unsigned char>(i));
        int unread = 0;
        if (!all && !configHoldsTargetId(manager, adapterNumber, targetId, &unread)) {
            // A drive the configuration does not hold is passed over; one that cannot be told
            // ends the walk, the drives deleted before it staying deleted.
            if (unread != 0)
                return unread;
            continue;
        }
        if (deleteOne(manager, adapter, own, adapterNumber, targetId, &result) == Step::END)
            break;
    }
    return result;
}

LdDelCp::Step LdDelCp::deleteOne(RaidManager* manager, Adapter* adapter, LdDelParsedObject* request,
                                 uint8_t adapterNumber, uint8_t targetId, int* result)
{
    VdIdZpr id(targetId, VdIdZpr::SEQUENCE_UNKNOWN);
    VirtualDisk* vd = nullptr;
    const int looked = manager->getVd(&id, &vd);
    if (looked != 0 || vd == nullptr) {
        // Nothing is deleted on a drive the model cannot give: the walk ends with the lookup.
        printMessage(MSG_GET_FAILED, "VD object");
        *result = looked != 0 ? looked : -1;
        return Step::END;
    }
    ArrayList<VirtualDisk*>* vds = nullptr;
    ignoreStatus(manager->getVds(&vds), "without the list the drive is looked for nowhere");
    // A drive the model does not hold was made for this lookup alone.
    struct Made {
        VirtualDisk* vd;
        ~Made() { delete vd; }
    } made{ownedByModel(vds, vd) ? nullptr : vd};
    const uint8_t target = id.getTargetId();
    // The drive's information is read once and kept: its status tells a drive whose snapshot
    // flag is unknown from one that has none.
    uint64_t blocks = 0;
    if (const int unread = vd->getLdInfoBlock256(&blocks)) {
        *result = vdUnreadable(adapterNumber, targetId, unread);
        return Step::END;
    }
    if (vd->isSnapshotEnabled() != 0) {
        // Said on the terminal only, past the printer and its log.
        std::printf("Snapshot is enabled on the Virtual Disk %d. Cannot delete Virtual Disk %d\n",
                    static_cast<int>(targetId), static_cast<int>(targetId));
        *result = -1;
        return Step::NEXT;
    }
    const int isCache = vd->isTidewellCache();
    bool skip = false;
    if (checkKind(adapter, request, vd, target, isCache, &skip, result) == Step::END)
        return Step::END;
    if (skip)
        return Step::NEXT;
    const uint8_t cacheFlag = isCache != 0 ? 1 : 0;
    const int status = request->force == 1 ? manager->deleteVd(&id, 1, cacheFlag) : manager->deleteVd(&id, cacheFlag, 0);
    if (status != 0 && status != OS_STEP_FAILED) {
        printMessage(MSG_VD_DELETE_FAILED, static_cast<int>(adapterNumber), static_cast<int>(targetId));
        *result = status;
        return Step::END;
    }
    printMessage(MSG_VD_DELETED, static_cast<int>(adapterNumber), static_cast<int>(targetId), static_cast<int>(target));
    if (status == OS_STEP_FAILED)
        printMessage(MSG_OS_UPDATE_FAILED);
    return Step::NEXT;
}

LdDelCp::Step LdDelCp::checkKind(Adapter* adapter, LdDelParsedObject* request, VirtualDisk* vd, uint8_t target,
                                 int isCache, bool* skip, int* result)
{
    uint8_t ssdCaching = 0;
    if (adapter->isSsdCachingSupported(&ssdCaching) != 0)
        ssdCaching = 0;
    const bool all = request->allDrives != 0;
    if (request->getCommandToken() == TOKEN_CFGTIDEWELLDEL) {
        if (ssdCaching != 1) {
            printMessage(MSG_TEXT, "Tidewell is not supported \n");
            *result = -1;
            return Step::END;
        }
        if (isCache == 0) {
            *skip = all;
            if (all)
                return Step::NEXT;
            printMessage(MSG_TEXT, "VD is not Tidewell\n");
            *result = -1;
            return Step::END;
        }
        return Step::NEXT;
    }
    if (ssdCaching != 1)
        return Step::NEXT;
    if (isCache != 0) {
        *skip = all;
        if (all)
            return Step::NEXT;
        printMessage(MSG_TEXT, " Virtual Disk is an Tidewell. Please Use Tidewell Command for Deleting the VD \n");
        *result = -1;
        return Step::END;
    }
    int unread = 0;
    const bool served = servedBySsdCache(vd, target, &unread);
    // The association read's status is the result from here on, also after a snapshot refusal.
    *result = unread;
    if (unread != 0) {
        // Without the list the drive may be one the SSD cache serves: it is not deleted.
        ssdCacheListUnreadable(request->getAdapterNumber(), unread);
        return Step::END;
    }
    if (served && request->force != 1) {
        printMessage(MSG_TEXT, " Virtual Disk is associate with Tidewell. Please Use force option to delete \n");
        *result = -1;
        return Step::END;
    }
    return Step::NEXT;
}

namespace {

const CpRegistration<LdDelCp> registration;

}  // namespace
