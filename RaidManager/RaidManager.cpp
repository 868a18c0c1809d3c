#include "RaidManager/RaidManager.h"

#include "PavUtil/Memory.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/Array.h"
#include "RaidManager/DiskGroup.h"
#include "RaidManager/EnclosureIds.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementFactory.h"
#include "RaidManager/RmData.h"
#include "RaidManager/Spare.h"
#include "RaidManager/Span.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/RmDataZpr.h"
#include "System/PavError.h"

namespace {

RaidManager* managers[MAX_RAID_MANAGERS];
uint8_t managerCount = 0;
bool creatorsRegistered = false;

}  // namespace

RaidManager::RaidManager(RmData* rmData, Controller* controller) : controller(controller), rmData(rmData) {}

RaidManager::~RaidManager()
{
    delete rmData;
}

SnapShotRaidManager::SnapShotRaidManager(RmData* rmData, Controller* controller)
    : RaidManager(rmData, controller), adapter(nullptr)
{
}

SnapShotRaidManager::~SnapShotRaidManager()
{
    delete adapter;
}

int SnapShotRaidManager::refresh()
{
    delete adapter;
    adapter = nullptr;
    if (rmData == nullptr)
        return -1;
    rmData->resetCaches();
    Adapter* reloaded = nullptr;
    return getAdapter(&reloaded);
}

int SnapShotRaidManager::getAdapter(Adapter** out)
{
    if (out == nullptr)
        return -1;
    if (adapter == nullptr) {
        if (rmData == nullptr)
            return -1;
        Adapter* loaded = nullptr;
        int status = rmData->getAdapter(&loaded);
        if (status != 0)
            return status;
        adapter = loaded;
    }
    *out = adapter;
    return 0;
}

int SnapShotRaidManager::getOnlyEnclosureId(uint16_t* enclosureId)
{
    if (enclosureId == nullptr || rmData == nullptr)
        return -1;
    uint32_t count = 0;
    if (rmData->getEnclosureCount(&count) != 0)
        return -1;
    if (count == 0) {
        *enclosureId = ENCLOSURE_ID_NONE;
        return 0;
    }
    if (count > 1)
        return 1;
    // The snapshot holds no drives yet, so a drive attached without enclosure cannot be told
    // apart here; the enclosure is that of the list.
    uint16_t id = 0;
    if (rmData->getEnclosureId(0, &id) != 0)
        return -1;
    *enclosureId = id;
    return 0;
}

int SnapShotRaidManager::takeFirmwareStatus()
{
    uint32_t word = PavError::takeLastError();
    if ((word & PAVERROR_KIND_MASK) == PAVERROR_KIND_FW_STATUS && (word & 0xFFFFu) != 0)
        return static_cast<int>(word & 0xFFu);
    return 0;
}

int SnapShotRaidManager::getDiskGroups(ArrayList<DiskGroup*>**)
{
    // The snapshot holds no configuration yet.
    return -1;
}

void registerRaidCreators()
{
    RaidElementFactory* elements = RaidElementFactory::instance();
    if (elements == nullptr)
        return;
    elements->registerCreator(ELEMENT_TYPE_ADAPTER, makeFunctor(&Adapter::create));
    elements->registerCreator(ELEMENT_TYPE_PD, makeFunctor(&PhysicalDevice::create));
    elements->registerCreator(ELEMENT_TYPE_VD, makeFunctor(&VirtualDisk::create));
    elements->registerCreator(ELEMENT_TYPE_ARRAY, makeFunctor(&ArrayHmg::create));
    elements->registerCreator(ELEMENT_TYPE_DISK_GROUP, makeFunctor(&DiskGroup::create));
    elements->registerCreator(ELEMENT_TYPE_SPARE, makeFunctor(&Spare::create));
    elements->registerCreator(ELEMENT_TYPE_SPAN, makeFunctor(&Span::create));
    RmDataFactory* data = RmDataFactory::instance();
    if (data == nullptr)
        return;
    data->registerCreator(makeFunctor(&RmDataZpr::create));
}

RaidManager* getRaidManager(Controller* controller)
{
    if (!creatorsRegistered) {
        for (uint8_t i = 0; i < MAX_RAID_MANAGERS; ++i)
            managers[i] = nullptr;
        managerCount = 0;
        registerRaidCreators();
        creatorsRegistered = true;
    }
    for (uint8_t i = 0; i < managerCount; ++i) {
        if (managers[i] != nullptr && managers[i]->getController() == controller)
            return managers[i];
    }
    // One manager per controller; a controller beyond the table gets none rather than a
    // write past its end.
    if (managerCount >= MAX_RAID_MANAGERS)
        return nullptr;
    RmDataFactory* factory = RmDataFactory::instance();
    if (factory == nullptr)
        return nullptr;
    RmData* rmData = factory->create(controller);
    if (rmData == nullptr)
        return nullptr;
    RaidManager* manager = new (noThrowNew) SnapShotRaidManager(rmData, controller);
    if (manager == nullptr) {
        delete rmData;
        return nullptr;
    }
    managers[managerCount] = manager;
    ++managerCount;
    return manager;
}

void releaseRaidManagers()
{
    for (uint8_t i = 0; i < managerCount; ++i) {
        delete managers[i];
        managers[i] = nullptr;
    }
    managerCount = 0;
}

uint8_t raidManagerCount()
{
    return managerCount;
}
