#include "CpMgmt/CmdPro/VdSelection.h"

#include "CpMgmt/CmdPro/ReadFailure.h"
#include "Output/VoMessage.h"
#include "Output/VtMessages.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/Memory.h"
#include "Parser/ParsedObject.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"

bool selectsAllVds(const LdParsedObject* request)
{
    return request != nullptr && request->getLdCount() > 0 && request->getLd(0) == ALL_LDS;
}

int readVdCount(RaidManager* manager, uint8_t adapterNumber, uint8_t* count)
{
    const int status = manager != nullptr ? manager->getVdCount(count) : -1;
    if (status != 0) {
        printMessage(MSG_VD_COUNT_FAILED, static_cast<int>(adapterNumber));
        return status;
    }
    return 0;
}

int sortedVds(RaidManager* manager, ArrayList<VirtualDisk*>** vds)
{
    ArrayList<VirtualDisk*>* list = nullptr;
    const int status = manager != nullptr ? manager->getVds(&list) : -1;
    if (status != 0 || list == nullptr)
        return vdListUnreadable(status);
    ignoreStatus(manager->sortVdsByTargetId(list), "an unsorted list still holds every drive");
    *vds = list;
    return 0;
}

uint8_t targetIdOf(VirtualDisk* vd)
{
    VdId* id = vd != nullptr ? dynamic_cast<VdId*>(vd->getId()) : nullptr;
    return id != nullptr ? id->getTargetId() : VdId::TARGET_ID_UNKNOWN;
}

VirtualDisk* findVdByTargetId(ArrayList<VirtualDisk*>* vds, uint8_t targetId)
{
    for (unsigned char i = 0; vds != nullptr && i < vds->count(); ++i)
        if (vds->get(i) != nullptr && targetIdOf(vds->get(i)) == targetId)
            return vds->get(i);
    return nullptr;
}

int VdLookup::lookUp(RaidManager* manager, uint8_t targetId)
{
    release();
    if (manager == nullptr)
        return -1;
    VdIdZpr id(targetId, VdIdZpr::SEQUENCE_UNKNOWN);
    VirtualDisk* found = nullptr;
    const int status = manager->getVd(&id, &found);
    ArrayList<VirtualDisk*>* snapshot = nullptr;
    bool inSnapshot = false;
    if (found != nullptr && manager->getVds(&snapshot) == 0) {
        for (unsigned char i = 0; snapshot != nullptr && i < snapshot->count(); ++i)
            inSnapshot = inSnapshot || snapshot->get(i) == found;
    }
    if (status != 0 || found == nullptr) {
        if (found != nullptr && !inSnapshot)
            delete found;
        return status != 0 ? status : -1;
    }
    vd = found;
    owned = !inSnapshot;
    return 0;
}

void VdLookup::release()
{
    if (owned)
        delete vd;
    vd = nullptr;
    owned = false;
}

bool configHoldsTargetId(RaidManager* manager, uint8_t adapterNumber, uint8_t targetId, int* failure)
{
    *failure = 0;
    uint8_t inConfig = 0;
    const int status = manager != nullptr ? manager->findTargetIdInConfig(targetId, 0, &inConfig) : -1;
    if (status != 0) {
        *failure = vdListUnreadable(status);
        return false;
    }
    if (inConfig != 0)
        return true;
    printMessage(MSG_VD_NOT_FOUND, static_cast<int>(adapterNumber), static_cast<int>(targetId));
    return false;
}

bool walkTargetId(const LdParsedObject* request, ArrayList<VirtualDisk*>* vds, bool all, unsigned i,
                  RaidManager* manager, uint8_t adapterNumber, uint8_t* targetId, int* failure)
{
    *failure = 0;
    if (all) {
        *targetId = targetIdOf(vds != nullptr && i < vds->count() ? vds->get(static_cast<unsigned char>(i)) : nullptr);
        return true;
    }
    *targetId = request->getLd(static_cast<unsigned char>(i));
    return configHoldsTargetId(manager, adapterNumber, *targetId, failure);
}
