// The configuration changes of RmDataZpr that take things away or prepare them: deleting one
// logical drive, clearing the configuration, spinning up power-saved drives before a
// configuration is made on them, and the choice of a free target id for a new logical drive.
//
// A change that the operating system must see runs the exposer around the firmware command:
// disks leave the operating system before their logical drives are deleted, and come back when
// the controller refused the delete after all (the disks are still there then).
#include <cstring>

#include "ControllerMgmt/Controller.h"
#include "DataProvider/ControllerId.h"
#include "ControllerMgmt/LinExpLd.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmStatus.h"
#include "RaidManager/Zpr/RmDataZpr.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/ZprData.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdIdList.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdList.h"
#include "System/PavError.h"

namespace {

// Mailbox byte 0 of a forced clear.
const uint32_t CLEAR_FORCED = 1;

// Drives waiting to be spun up, for the whole process: the controller may answer that it is
// still at work, and the caller then sends the same list again.
const uint32_t MAX_PENDING_SPIN_UPS = 256;
struct PendingSpinUps {
    uint16_t deviceIds[MAX_PENDING_SPIN_UPS];
    uint32_t count;
};
PendingSpinUps pendingSpinUps = {{0}, 0};

// The operating-system step: 0, or what the exposer answered.
int exposeChange(Controller* controller, ControllerId* controllerId, uint16_t targetId, int operation)
{
    const uint8_t adapterNumber = controllerId != nullptr ? controllerId->getNumber() : 0;
    return LinExpLd::instance(adapterNumber)->expose(controller, targetId, operation);
}

// The result of a change whose firmware command answered `status`: OS_STEP_FAILED when the
// controller did it and only the operating-system step failed. When the controller refused it
// after the disks had left the operating system, they are made visible again.
int changeResult(Controller* controller, ControllerId* controllerId, int status, bool removedFromOs, int osStatus)
{
    if (status != 0) {
        if (removedFromOs) {
            // The refusal stays the run's last firmware status, for its description.
            const uint32_t lastError = PavError::takeLastError();
            exposeChange(controller, controllerId, 0, EXPOSE_ADD_NEW);
            PavError::setLastError(lastError);
        }
        return status;
    }
    return osStatus != 0 ? OS_STEP_FAILED : 0;
}

int sendWithMailbox(Controller* controller, uint32_t opcode, uint32_t mailbox0, uint32_t mailbox1)
{
    if (controller == nullptr)
        return -1;
    DcmdZprDpParams request(opcode, mailbox0, mailbox1, 0u, nullptr, 0, 0, 0);
    return controller->execute(&request);
}

}  // namespace

int RmDataZpr::deleteVd(VdId* id, uint8_t skipOs, uint8_t mailbox4)
{
    if (id == nullptr || zprData == nullptr)
        return -1;
    ZprLdList list;
    int status = zprData->getLdList(&list);
    if (status != 0)
        return status;
    const uint16_t targetId = id->getTargetId16();
    uint32_t reference = 0;
    bool found = false;
    for (uint32_t i = 0; i < list.entryCount() && !found; ++i) {
        if (list.targetId(i) == targetId) {
            reference = list.reference(i);
            found = true;
        }
    }
    if (!found)
        return -1;
    int osStatus = 0;
    if (skipOs == 0)
        osStatus = exposeChange(controller, controllerId, static_cast<uint16_t>(reference & 0xFFFF), EXPOSE_REMOVE_ONE);
    status = sendWithMailbox(controller, DCMD_LD_DELETE, reference, mailbox4);
    return changeResult(controller, controllerId, status, skipOs == 0, osStatus);
}

int RmDataZpr::clearConfig(uint8_t force)
{
    uint8_t* associations = nullptr;
    // A list that cannot be read may hold SSD-cache drives: treated as holding some.
    bool associated = true;
    if (getTidewellAssociations(&associations, ASSOCIATIONS_QUERY) == 0 && associations != nullptr) {
        const uint32_t length = ZprLdIdList::UNIT;
        associated = ZprLdIdList(associations, length).count() > 0;
    }
    delete[] associations;
    // A plain clear that the controller will refuse for its SSD-cache data keeps the disks.
    const bool removeFromOs = !(associated && force == 0);
    int osStatus = 0;
    if (removeFromOs)
        osStatus = exposeChange(controller, controllerId, 0, EXPOSE_REMOVE_ALL);
    const int status = sendWithMailbox(controller, DCMD_CFG_CLEAR, force == 1 ? CLEAR_FORCED : 0, 0);
    return changeResult(controller, controllerId, status, removeFromOs, osStatus);
}

int RmDataZpr::spinUpDrives(ArrayList<ArrayList<PhysicalDevice*>*>* spans, uint32_t* spunUp, uint32_t* total)
{
    if (spunUp == nullptr || total == nullptr)
        return -1;
    if (pendingSpinUps.count == 0) {
        uint8_t* info = new (noThrowNew) uint8_t[ZprControllerInfo::SIZE];
        if (info == nullptr)
            return -1;
        memset(info, 0, ZprControllerInfo::SIZE);
        int status = ZprData::sendCommand(controller, DCMD_ADP_GET_INFO, 0, info, ZprControllerInfo::SIZE);
        typedef ZprControllerInfo Info;
        const uint8_t needed = Info(info, Info::SIZE).flag(Info::POWER_FEATURES, Info::SPIN_UP_BEFORE_CONFIG_BIT);
        delete[] info;
        if (status != 0)
            return status;
        if (needed == 0)
            return 0;
        if (spans == nullptr)
            return -1;
        // Collected aside, so that a failed query leaves no partial list pending.
        PendingSpinUps collected = {{0}, 0};
        for (uint8_t s = 0; s < spans->count(); ++s) {
            ArrayList<PhysicalDevice*>* drives = spans->get(s);
            for (uint8_t d = 0; drives != nullptr && d < drives->count(); ++d) {
                PhysicalDevice* pd = drives->get(d);
                uint16_t powerState = 0;
                uint16_t deviceId = 0;
                status = pd != nullptr ? pd->getPowerState(&powerState) : -1;
                if (status == 0 && powerState != 0)
                    status = pd->getDeviceId(&deviceId);
                if (status != 0)
                    return status;
                if (powerState == 0)
                    continue;
                if (collected.count == MAX_PENDING_SPIN_UPS)
                    return -1;
                collected.deviceIds[collected.count++] = deviceId;
            }
        }
        pendingSpinUps = collected;
        *total = pendingSpinUps.count;
    }
    if (pendingSpinUps.count == 0 || zprData == nullptr)
        return pendingSpinUps.count == 0 ? 0 : -1;
    uint32_t firmwareCount = 0;
    const int status = zprData->sendDeviceList(pendingSpinUps.count, pendingSpinUps.deviceIds, &firmwareCount);
    *spunUp = firmwareCount;
    if (status == 0)
        pendingSpinUps.count = 0;
    return status;
}

int RmDataZpr::isTargetIdReserved(uint8_t targetId)
{
    RaidManager* manager = getRaidManager(controller);
    Adapter* adapter = nullptr;
    if (manager == nullptr || manager->getAdapter(&adapter) != 0 || adapter == nullptr)
        return 1;
    uint8_t snapshots = 0;
    uint8_t ssdCaching = 0;
    // A capability that cannot be read is taken as present: the list decides then.
    if (adapter->isSnapshotSupported(&snapshots) != 0)
        snapshots = 1;
    if (adapter->isSsdCachingSupported(&ssdCaching) != 0)
        ssdCaching = 1;
    if (snapshots == 0 && ssdCaching == 0)
        return 0;
    uint8_t* block = nullptr;
    if (queryReservedLdIds(&block) != 0 || block == nullptr)
        return 1;
    const ZprLdIdList head(block, ZprLdIdList::UNIT);
    uint32_t size = ZprLdIdList::UNIT;
    ZprLdIdList::sizeForCount(head.count(), &size);
    const int reserved = ZprLdIdList(block, size).holds(targetId) ? 1 : 0;
    delete[] block;
    return reserved;
}

int RmDataZpr::findFreeTargetId()
{
    RaidManager* manager = getRaidManager(controller);
    Adapter* adapter = nullptr;
    uint8_t max = 0;
    if (manager == nullptr || manager->getAdapter(&adapter) != 0 || adapter == nullptr ||
        adapter->getMaxVirtualDrives(&max) != 0)
        return -1;
    // Without the configuration every id would look free.
    ZprConfigBuffer config;
    if (zprData == nullptr || zprData->readConfig(&config, 0) != 0)
        return -1;
    for (int id = 0; id < max; ++id) {
        const uint8_t targetId = static_cast<uint8_t>(id);
        if (isTargetIdInConfig(targetId, 0) == 1 || isTargetIdReserved(targetId) == 1)
            continue;
        return id;
    }
    return -1;
}
