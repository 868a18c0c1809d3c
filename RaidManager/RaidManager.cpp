#include "RaidManager/RaidManager.h"

#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/Array.h"
#include "RaidManager/DiskGroup.h"
#include "RaidManager/DriveMixMatrix.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/EnclosureIds.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementFactory.h"
#include "RaidManager/RmCfg.h"
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
    : RaidManager(rmData, controller), driveMix(nullptr), adapter(nullptr), allPds(nullptr), config(nullptr),
      snapshotComplete(false), unusedPds(nullptr), jbodPds(nullptr), foreignScan(-1), foreignScanned(false),
      replacedConfigs(nullptr), builtDriveLists(nullptr), builtLists(nullptr)
{
}

SnapShotRaidManager::~SnapShotRaidManager()
{
    dropSnapshot();
}

void SnapShotRaidManager::dropSnapshot()
{
    delete allPds;
    allPds = nullptr;
    delete unusedPds;
    unusedPds = nullptr;
    delete config;
    config = nullptr;
    for (unsigned char i = 0; replacedConfigs != nullptr && i < replacedConfigs->count(); ++i)
        delete replacedConfigs->get(i);
    delete replacedConfigs;
    replacedConfigs = nullptr;
    for (unsigned char i = 0; builtDriveLists != nullptr && i < builtDriveLists->count(); ++i)
        deleteListAndElements(builtDriveLists->get(i));
    delete builtDriveLists;
    builtDriveLists = nullptr;
    for (unsigned char i = 0; builtLists != nullptr && i < builtLists->count(); ++i)
        delete builtLists->get(i);
    delete builtLists;
    builtLists = nullptr;
    delete adapter;
    adapter = nullptr;
    delete jbodPds;
    jbodPds = nullptr;
    snapshotComplete = false;
}

namespace {

// Appends the drives of `from` to `to`, without looking for duplicates.
void appendDrives(ArrayList<PhysicalDevice*>* to, ArrayList<PhysicalDevice*>* from)
{
    for (unsigned char i = 0; from != nullptr && i < from->count(); ++i)
        to->add(from->get(i));
}

}  // namespace

int SnapShotRaidManager::refresh()
{
    // The snapshot goes before the data access drops the drives it holds.
    dropSnapshot();
    if (rmData == nullptr)
        return -1;
    ignoreStatus(rmData->resetCaches(), "frees the cached records: always 0");
    Adapter* loaded = nullptr;
    int status = rmData->getAdapter(&loaded);
    if (status != 0)
        return status;
    adapter = loaded;
    snapshotComplete = loadDrivesAndConfig();
    buildDriveMixMatrix();
    return 0;
}

bool SnapShotRaidManager::loadDrivesAndConfig()
{
    // A part that cannot be read stays unknown; the lookups then ask the data access again.
    if (rmData->getUnusedPds(&unusedPds) != 0)
        return false;
    allPds = new (noThrowNew) ArrayList<PhysicalDevice*>(4);
    if (allPds == nullptr)
        return false;
    appendDrives(allPds, unusedPds);
    if (rmData->getPdsInStateX40(&jbodPds) == 0)
        appendDrives(allPds, jbodPds);
    else
        jbodPds = nullptr;
    if (rmData->readConfig(&config) != 0) {
        config = nullptr;
        return false;
    }
    ArrayList<Array*>* arrays = config->getArrays();
    for (unsigned char i = 0; arrays != nullptr && i < arrays->count(); ++i) {
        ArrayList<PhysicalDevice*>* members = nullptr;
        if (arrays->get(i)->getPdList(&members) == 0)
            appendDrives(allPds, members);
    }
    return true;
}

void SnapShotRaidManager::buildDriveMixMatrix()
{
    driveMix = DriveMixMatrix::instance();
    if (driveMix == nullptr)
        return;
    uint8_t mediaMix = 0;
    uint8_t ssdInterfaceMix = 0;
    uint8_t hddInterfaceMix = 0;
    ignoreStatus(adapter->getDriveMixFlag5f0Bit6(&mediaMix),
                 "an unread flag keeps 0: that mix is not allowed");
    ignoreStatus(adapter->getDriveMixFlag5f0Bit5(&ssdInterfaceMix),
                 "an unread flag keeps 0: that mix is not allowed");
    ignoreStatus(adapter->getDriveMixFlag5f0Bit3(&hddInterfaceMix),
                 "an unread flag keeps 0: that mix is not allowed");
    driveMix->build(mediaMix, ssdInterfaceMix, hddInterfaceMix);
}

int SnapShotRaidManager::getConfig(RmCfg** out)
{
    if (out == nullptr || rmData == nullptr)
        return -1;
    if (config == nullptr) {
        RmCfg* read = nullptr;
        int status = rmData->readConfig(&read);
        if (status != 0)
            return status;
        config = read;
    }
    *out = config;
    return 0;
}

int SnapShotRaidManager::ensureConfig()
{
    RmCfg* cached = nullptr;
    return getConfig(&cached);
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

namespace {

// Hands out a list of the cached configuration: -1 without one.
template <class T>
int cachedList(RmCfg* config, ArrayList<T>* (RmCfg::*get)() const, ArrayList<T>** out)
{
    if (config == nullptr)
        return -1;
    if (out != nullptr)
        *out = (config->*get)();
    return 0;
}

}  // namespace

int SnapShotRaidManager::getDiskGroups(ArrayList<DiskGroup*>** list)
{
    const int read = ensureConfig();
    return read != 0 ? read : cachedList(config, &RmCfg::getDiskGroups, list);
}

int SnapShotRaidManager::getVds(ArrayList<VirtualDisk*>** list)
{
    const int read = ensureConfig();
    return read != 0 ? read : cachedList(config, &RmCfg::getVds, list);
}

int SnapShotRaidManager::getArrays(ArrayList<Array*>** list)
{
    const int read = ensureConfig();
    return read != 0 ? read : cachedList(config, &RmCfg::getArrays, list);
}

int SnapShotRaidManager::getSpares(ArrayList<Spare*>** list)
{
    const int read = ensureConfig();
    return read != 0 ? read : cachedList(config, &RmCfg::getSpares, list);
}

int SnapShotRaidManager::keepBuiltList(int (RmData::*build)(ArrayList<PhysicalDevice*>**), bool ownsDrives,
                                       ArrayList<PhysicalDevice*>** list)
{
    if (rmData == nullptr)
        return -1;
    ArrayList<PhysicalDevice*>* built = nullptr;
    int status = (rmData->*build)(&built);
    if (status != 0 || built == nullptr)
        return status;
    if (appendToList(ownsDrives ? builtDriveLists : builtLists, built) != 0) {
        if (ownsDrives)
            deleteListAndElements(built);
        else
            delete built;
        return -1;
    }
    if (list != nullptr)
        *list = built;
    return 0;
}

int SnapShotRaidManager::getAllPds(ArrayList<PhysicalDevice*>** list)
{
    if (!snapshotComplete)
        return keepBuiltList(&RmData::getAllPds, true, list);
    if (list != nullptr)
        *list = allPds;
    return 0;
}

int SnapShotRaidManager::getUnusedPds(ArrayList<PhysicalDevice*>** list)
{
    if (!snapshotComplete)
        return keepBuiltList(&RmData::getUnusedPds, false, list);
    if (list != nullptr)
        *list = unusedPds;
    return 0;
}

int SnapShotRaidManager::getPdsInStateX40(ArrayList<PhysicalDevice*>** list)
{
    if (!snapshotComplete)
        return keepBuiltList(&RmData::getPdsInStateX40, false, list);
    if (list != nullptr)
        *list = jbodPds;
    return 0;
}

int SnapShotRaidManager::findPdByEnclSlot(EnclSlotId* address, PhysicalDevice** found)
{
    if (address == nullptr || found == nullptr || rmData == nullptr)
        return -1;
    for (unsigned char i = 0; allPds != nullptr && i < allPds->count(); ++i) {
        PhysicalDevice* pd = allPds->get(i);
        uint8_t type = 0xFF;
        if (pd->getScsiDeviceType(&type) != 0 || type > 1)
            continue;
        uint16_t enclosure = 0;
        uint8_t slot = 0;
        if (pd->getEnclosureDeviceId(&enclosure) != 0 || pd->getSlotNumber(&slot) != 0)
            break;
        if (enclosure == address->getEnclosureId() && slot == address->getSlotNumber()) {
            *found = pd;
            return 0;
        }
    }
    return rmData->findPdByEnclSlot(address, found);
}

PhysicalDevice* SnapShotRaidManager::getPdByDeviceId(uint16_t deviceId)
{
    if (rmData == nullptr)
        return nullptr;
    for (unsigned char i = 0; allPds != nullptr && i < allPds->count(); ++i) {
        uint16_t id = 0;
        if (allPds->get(i)->getDeviceId(&id) != 0)
            break;
        if (id == deviceId)
            return allPds->get(i);
    }
    return rmData->getPdByDeviceId(deviceId);
}

int SnapShotRaidManager::getVd(VdId* id, VirtualDisk** out)
{
    if (id == nullptr || out == nullptr || rmData == nullptr)
        return -1;
    // Without the configuration a drive it holds would look like one it does not.
    const int read = ensureConfig();
    if (read != 0)
        return read;
    ArrayList<VirtualDisk*>* vds = config->getVds();
    for (unsigned char i = 0; vds != nullptr && i < vds->count(); ++i) {
        VdId* own = dynamic_cast<VdId*>(vds->get(i)->getId());
        if (own == nullptr)
            break;
        if (own->getTargetId16() == id->getTargetId16()) {
            // The given id learns its sequence number from the logical-drive list.
            int status = rmData->refreshVd(dynamic_cast<VdIdZpr*>(id), vds->get(i), 1);
            *out = vds->get(i);
            return status;
        }
    }
    VirtualDisk* made = nullptr;
    if (rmData->createVd(id, &made) != 0 || made == nullptr)
        return -1;
    *out = made;
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
        return SEVERAL_ENCLOSURES;
    if (config == nullptr)
        ignoreStatus(refresh(), "a failed read leaves the drive lists empty: no enclosure");
    if (allPds != nullptr && allPds->count() > 0) {
        uint16_t last = ENCLOSURE_ID_NONE;
        bool read = false;
        for (unsigned char i = 0; i < allPds->count(); ++i) {
            uint16_t id = 0;
            if (allPds->get(i)->getEnclosureDeviceId(&id) != 0)
                continue;
            if (id == ENCLOSURE_ID_NONE)
                return DRIVE_WITHOUT_ENCLOSURE;
            last = id;
            read = true;
        }
        // Drives whose information could not be read tell no enclosure: the list's one does.
        if (read) {
            *enclosureId = last;
            return 0;
        }
    }
    uint16_t id = 0;
    if (rmData->getEnclosureId(0, &id) != 0)
        return -1;
    *enclosureId = id;
    return 0;
}

int SnapShotRaidManager::getVdCount(uint8_t* count)
{
    return rmData != nullptr ? rmData->getVdCount(count) : -1;
}

int SnapShotRaidManager::getSsdCacheVdCount(uint8_t* count)
{
    return rmData != nullptr ? rmData->countTidewellVds(count) : -1;
}

int SnapShotRaidManager::countDiskPds(uint16_t* count)
{
    return rmData != nullptr ? rmData->countDiskPds(count) : -1;
}

int SnapShotRaidManager::getEnclosureCount(uint32_t* count)
{
    return rmData != nullptr ? rmData->getEnclosureCount(count) : -1;
}

int SnapShotRaidManager::getEnclosureId(uint32_t index, uint16_t* enclosureId)
{
    return rmData != nullptr ? rmData->getEnclosureId(index, enclosureId) : -1;
}

int SnapShotRaidManager::getEnclosureProperty(uint16_t enclosureId, uint8_t* property)
{
    return rmData != nullptr ? rmData->getEnclosureProperty(enclosureId, property) : -1;
}

int SnapShotRaidManager::countLockedForeignPds(uint16_t* count)
{
    return rmData != nullptr ? rmData->countLockedForeignPds(count) : -1;
}

int SnapShotRaidManager::countEkmAttentionPds(uint16_t* count)
{
    return rmData != nullptr ? rmData->countEkmAttentionPds(count) : -1;
}

int SnapShotRaidManager::findTargetIdInConfig(uint8_t targetId, uint8_t reread, uint8_t* inConfig)
{
    return rmData != nullptr ? rmData->findTargetIdInConfig(targetId, reread, inConfig) : -1;
}

int SnapShotRaidManager::sortVdsByTargetId(ArrayList<VirtualDisk*>* list)
{
    return rmData != nullptr ? rmData->sortVdsByTargetId(list) : -1;
}

int SnapShotRaidManager::getVdPds(ArrayList<PhysicalDevice*>* list, uint8_t targetId)
{
    return rmData != nullptr ? rmData->getVdPds(list, targetId) : -1;
}

int SnapShotRaidManager::deleteVd(VdId* id, uint8_t skipOs, uint8_t mailbox4)
{
    return rmData != nullptr ? rmData->deleteVd(id, skipOs, mailbox4) : -1;
}

int SnapShotRaidManager::clearConfig(uint8_t force)
{
    return rmData != nullptr ? rmData->clearConfig(force) : -1;
}

int SnapShotRaidManager::saveConfig(const char* fileName)
{
    return rmData != nullptr ? rmData->saveConfig(fileName) : -1;
}

int SnapShotRaidManager::restoreConfig(const char* fileName)
{
    return rmData != nullptr ? rmData->restoreConfig(fileName) : -1;
}

int SnapShotRaidManager::spinUpDrives(ArrayList<ArrayList<PhysicalDevice*>*>* spans, uint32_t* spunUp,
                                      uint32_t* total)
{
    return rmData != nullptr ? rmData->spinUpDrives(spans, spunUp, total) : -1;
}

int SnapShotRaidManager::parseConfigBuffer(const ZprConfigBuffer& buffer)
{
    if (rmData == nullptr)
        return -1;
    RmCfg* parsed = nullptr;
    int status = rmData->parseConfigBuffer(buffer, &parsed);
    if (status != 0)
        return status;
    // Elements taken from the snapshot replaced stay valid until the next refresh.
    if (config != nullptr && appendToList(replacedConfigs, config) != 0) {
        delete parsed;
        return -1;
    }
    config = parsed;
    return 0;
}

int SnapShotRaidManager::isPdUnconfiguredGood(PhysicalDevice* pd, uint8_t* answer)
{
    return pd != nullptr ? pd->isUnconfiguredGoodDisk(answer) : -1;
}

uint8_t SnapShotRaidManager::checkDriveMix(PhysicalDevice* pd, PhysicalDevice* other)
{
    // A manager that was never refreshed has no matrix and allows no mixing.
    if (driveMix == nullptr)
        return 0;
    return driveMix->isAllowed(DriveMixMatrix::kindOf(pd), DriveMixMatrix::kindOf(other));
}

uint8_t SnapShotRaidManager::checkDriveMixList(PhysicalDevice* pd, ArrayList<PhysicalDevice*>* list)
{
    for (unsigned char i = 0; list != nullptr && i < list->count(); ++i) {
        PhysicalDevice* other = list->get(i);
        uint8_t unavailable = 1;
        if (other == nullptr || other->isInfoUnavailable(&unavailable) != 0 || unavailable == 1)
            continue;
        if (checkDriveMix(pd, other) == 0)
            return 0;
    }
    return 1;
}

int SnapShotRaidManager::takeFirmwareStatus()
{
    uint32_t word = PavError::takeLastError();
    if ((word & PAVERROR_KIND_MASK) == PAVERROR_KIND_FW_STATUS && (word & 0xFFFFu) != 0)
        return static_cast<int>(word & 0xFFu);
    return 0;
}

void registerRaidCreators()
{
    RaidElementFactory* elements = RaidElementFactory::instance();
    if (elements == nullptr)
        return;
    ignoreStatus(elements->registerCreator(ELEMENT_TYPE_ADAPTER, makeFunctor(&Adapter::create)),
                 "registered once at start; a full table only loses a kind");
    ignoreStatus(elements->registerCreator(ELEMENT_TYPE_PD, makeFunctor(&PhysicalDevice::create)),
                 "registered once at start; a full table only loses a kind");
    ignoreStatus(elements->registerCreator(ELEMENT_TYPE_VD, makeFunctor(&VirtualDisk::create)),
                 "registered once at start; a full table only loses a kind");
    ignoreStatus(elements->registerCreator(ELEMENT_TYPE_ARRAY, makeFunctor(&ArrayHmg::create)),
                 "registered once at start; a full table only loses a kind");
    ignoreStatus(elements->registerCreator(ELEMENT_TYPE_DISK_GROUP, makeFunctor(&DiskGroup::create)),
                 "registered once at start; a full table only loses a kind");
    ignoreStatus(elements->registerCreator(ELEMENT_TYPE_SPARE, makeFunctor(&Spare::create)),
                 "registered once at start; a full table only loses a kind");
    ignoreStatus(elements->registerCreator(ELEMENT_TYPE_SPAN, makeFunctor(&Span::create)),
                 "registered once at start; a full table only loses a kind");
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
