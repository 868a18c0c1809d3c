// The drive, virtual-drive and enclosure lookups of RmDataZpr, over the lists that ZprData
// caches and the drive cache.
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/Memory.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RmCfg.h"
#include "RaidManager/RmStatus.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/RmDataZpr.h"
#include "RaidManager/Zpr/ZprData.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
#include "RaidManager/Zpr/Records/Drive/ZprEnclosureList.h"

namespace {

const uint8_t DEVICE_TYPE_TAPE = 1;

bool isDiskOrTape(uint8_t type)
{
    return type == ZprPdListEntry::DEVICE_TYPE_DISK || type == DEVICE_TYPE_TAPE;
}

// The drive states a drive in no array may be in and still not count as unused: JBOD and the
// shielded forms of unconfigured, hot spare and configured.
bool isExcludedFromUnused(uint16_t state)
{
    return state == PD_STATE_JBOD || state == PD_STATE_UNCONFIGURED_SHIELDED || state == PD_STATE_HOT_SPARE_SHIELDED ||
           state == PD_STATE_CONFIGURED_SHIELDED;
}

// True when a drive entry of an array record of the configuration has the device id.
bool isInAnyArray(const ZprConfigBuffer& config, uint16_t deviceId)
{
    for (uint32_t a = 0; a < config.arrayCount(); ++a) {
        ZprArrayRecord record = config.arrayRecord(a);
        for (uint32_t d = 0; d < record.driveEntryCount(); ++d)
            if (record.drive(d).deviceId() == deviceId)
                return true;
    }
    return false;
}

uint8_t targetIdOf(const void* element)
{
    VirtualDisk* vd = *static_cast<VirtualDisk* const*>(element);
    VdId* id = vd != nullptr ? dynamic_cast<VdId*>(vd->getId()) : nullptr;
    return id != nullptr ? id->getTargetId() : VdId::TARGET_ID_UNKNOWN;
}

// Ascending target ids; equal ids order as "greater".
int compareVdsByTargetId(const void* first, const void* second)
{
    return targetIdOf(first) < targetIdOf(second) ? -1 : 1;
}

}  // namespace

PhysicalDevice* RmDataZpr::keepInCache(PhysicalDevice* pd)
{
    if (pd == nullptr)
        return nullptr;
    if (appendToList(driveCache, pd) != 0) {
        delete pd;
        return nullptr;
    }
    return pd;
}

PhysicalDevice* RmDataZpr::findCachedPdByEnclSlot(uint16_t enclosureId, uint8_t slot)
{
    for (unsigned char i = 0; driveCache != nullptr && i < driveCache->count(); ++i) {
        PhysicalDevice* pd = driveCache->get(i);
        uint8_t type = 0xFF;
        if (pd->getScsiDeviceType(&type) != 0 || type != ZprPdListEntry::DEVICE_TYPE_DISK)
            continue;
        uint16_t enclosure = 0;
        uint8_t number = 0;
        if (pd->getEnclosureDeviceId(&enclosure) != 0 || pd->getSlotNumber(&number) != 0)
            return nullptr;
        if (enclosure == enclosureId && number == slot)
            return pd;
    }
    return nullptr;
}

PhysicalDevice* RmDataZpr::findCachedPdByDeviceId(uint16_t deviceId)
{
    for (unsigned char i = 0; driveCache != nullptr && i < driveCache->count(); ++i) {
        uint16_t id = 0;
        if (driveCache->get(i)->getDeviceId(&id) != 0)
            return nullptr;
        if (id == deviceId)
            return driveCache->get(i);
    }
    return nullptr;
}

int RmDataZpr::findPdByEnclSlot(EnclSlotId* address, PhysicalDevice** pd)
{
    if (address == nullptr || pd == nullptr)
        return -1;
    const uint16_t enclosureId = address->getEnclosureId();
    const uint8_t slot = address->getSlotNumber();
    *pd = findCachedPdByEnclSlot(enclosureId, slot);
    if (*pd != nullptr)
        return 0;
    ZprPdList list;
    const int status = zprData != nullptr ? zprData->getPdList(&list) : -1;
    if (status != 0)
        return status;
    for (uint32_t i = 0; i < list.entryCount(); ++i) {
        ZprPdListEntry entry = list.entry(i);
        if (entry.enclosureId() != enclosureId || entry.slotNumber() != slot ||
            entry.deviceType() != ZprPdListEntry::DEVICE_TYPE_DISK)
            continue;
        *pd = keepInCache(createPd(new (noThrowNew) PdIdZpr(entry.enclosureIndex(), slot, entry.deviceId(), enclosureId)));
        return *pd != nullptr ? 0 : -1;
    }
    return 0;
}

PhysicalDevice* RmDataZpr::getPdByDeviceId(uint16_t deviceId)
{
    PhysicalDevice* cached = findCachedPdByDeviceId(deviceId);
    if (cached != nullptr)
        return cached;
    // The drive list is not consulted: the drive's data reads the drive by its id when asked.
    return keepInCache(createPd(new (noThrowNew) PdIdZpr(255, 255, deviceId, 0xFFFF)));
}

template <class Accept>
int RmDataZpr::buildPdList(ArrayList<PhysicalDevice*>** out, Accept accept)
{
    ZprPdList list;
    int status = zprData != nullptr ? zprData->getPdList(&list) : -1;
    if (status != 0)
        return status;
    // A list of more drives than a list of elements holds is refused, not cut.
    if (list.entryCount() > MAX_LIST_ITEMS)
        return -1;
    ArrayList<PhysicalDevice*>* pds = new (noThrowNew) ArrayList<PhysicalDevice*>(static_cast<unsigned char>(list.entryCount()));
    if (pds == nullptr)
        return -1;
    for (uint32_t i = 0; i < list.entryCount(); ++i) {
        ZprPdListEntry entry = list.entry(i);
        if (!accept(entry.deviceType()))
            continue;
        PhysicalDevice* pd = createPd(new (noThrowNew) PdIdZpr(entry.enclosureIndex(), entry.slotNumber(),
                                                               entry.deviceId(), entry.enclosureId()));
        if (pd == nullptr || pds->add(pd) != 0) {
            delete pd;
            deleteListAndElements(pds);
            return -1;
        }
    }
    if (out != nullptr)
        *out = pds;
    else
        deleteListAndElements(pds);
    return 0;
}

int RmDataZpr::getAllPdsRaw(ArrayList<PhysicalDevice*>** list)
{
    return buildPdList(list, [](uint8_t) { return true; });
}

int RmDataZpr::getAllPds(ArrayList<PhysicalDevice*>** list)
{
    return buildPdList(list, isDiskOrTape);
}

int RmDataZpr::getUnusedPds(ArrayList<PhysicalDevice*>** out)
{
    ZprPdList list;
    ZprConfigBuffer config;
    int status = zprData != nullptr ? zprData->getPdList(&list) : -1;
    if (status == 0)
        status = zprData->readConfig(&config, 0);
    if (status != 0)
        return status;
    ArrayList<PhysicalDevice*>* unused = new (noThrowNew) ArrayList<PhysicalDevice*>(4);
    if (unused == nullptr)
        return -1;
    for (uint32_t i = 0; i < list.entryCount(); ++i) {
        ZprPdListEntry entry = list.entry(i);
        if (!isDiskOrTape(entry.deviceType()) || isInAnyArray(config, entry.deviceId()))
            continue;
        PhysicalDevice* pd = getPdByDeviceId(entry.deviceId());
        if (pd == nullptr) {
            delete unused;
            return DRIVE_ELEMENT_MISSING;
        }
        uint16_t state = 0;
        ignoreStatus(pd->getFirmwareState(&state),
                     "a drive whose state cannot be read is listed; its own reads fail later");
        if (!isExcludedFromUnused(state) && unused->add(pd) != 0) {
            delete unused;
            return -1;
        }
    }
    if (out != nullptr)
        *out = unused;
    else
        delete unused;
    return 0;
}

int RmDataZpr::getPdsInStateX40(ArrayList<PhysicalDevice*>** out)
{
    ZprPdList list;
    int status = zprData != nullptr ? zprData->queryPdList(&list) : -1;
    if (status != 0)
        return status;
    ArrayList<PhysicalDevice*>* jbods = new (noThrowNew) ArrayList<PhysicalDevice*>(4);
    if (jbods == nullptr)
        return -1;
    for (uint32_t i = 0; i < list.entryCount(); ++i) {
        PhysicalDevice* pd = getPdByDeviceId(list.entry(i).deviceId());
        if (pd == nullptr) {
            delete jbods;
            return DRIVE_ELEMENT_MISSING;
        }
        uint16_t state = 0;
        if (pd->getFirmwareState(&state) == 0 && state == PD_STATE_JBOD && jbods->add(pd) != 0) {
            delete jbods;
            return -1;
        }
    }
    if (out != nullptr)
        *out = jbods;
    else
        delete jbods;
    return 0;
}

int RmDataZpr::countDiskPds(uint16_t* count)
{
    ZprPdList list;
    int status = zprData != nullptr ? zprData->getPdList(&list) : -1;
    if (status != 0)
        return status;
    uint16_t disks = 0;
    for (uint32_t i = 0; i < list.entryCount(); ++i)
        if (isDiskOrTape(list.entry(i).deviceType()))
            ++disks;
    if (count != nullptr)
        *count = disks;
    return 0;
}

template <class Ask>
int RmDataZpr::countDrivesWhere(uint16_t* count, Ask ask)
{
    ArrayList<PhysicalDevice*>* all = nullptr;
    int status = getAllPdsRaw(&all);
    if (status != 0)
        return status;
    uint16_t found = 0;
    for (unsigned char i = 0; i < all->count(); ++i)
        if (ask(all->get(i)))
            ++found;
    deleteListAndElements(all);
    if (count != nullptr)
        *count = found;
    return 0;
}

namespace {

// The drive's answer to one yes/no query: true only when the query succeeds and says yes.
bool says(PhysicalDevice* pd, int (PhysicalDevice::*query)(uint8_t*))
{
    uint8_t answer = 0;
    return (pd->*query)(&answer) == 0 && answer != 0;
}

}  // namespace

int RmDataZpr::countLockedForeignPds(uint16_t* count)
{
    return countDrivesWhere(count, [](PhysicalDevice* pd) {
        return says(pd, &PhysicalDevice::isForeignLocked) && says(pd, &PhysicalDevice::isLocked);
    });
}

int RmDataZpr::countEkmAttentionPds(uint16_t* count)
{
    return countDrivesWhere(count, [](PhysicalDevice* pd) {
        return says(pd, &PhysicalDevice::isForeignLocked) && says(pd, &PhysicalDevice::isLocked) &&
               says(pd, &PhysicalDevice::needsEkmAttention);
    });
}

int RmDataZpr::getVdCount(uint8_t* count)
{
    ZprLdList list;
    int status = zprData != nullptr ? zprData->getLdList(&list) : -1;
    if (status == 0 && count != nullptr)
        *count = static_cast<uint8_t>(list.count());
    return status;
}

int RmDataZpr::createVd(RaidElementId* id, VirtualDisk** vd)
{
    VdIdZpr* vdId = dynamic_cast<VdIdZpr*>(id);
    if (vdId == nullptr || vdId->getTargetId() == VdId::TARGET_ID_UNKNOWN || zprData == nullptr)
        return -1;
    ZprLdList list;
    int status = zprData->getLdList(&list);
    if (status != 0)
        return status;
    // The entry that carries the target id (target ids need not be dense).
    uint32_t entry = 0;
    while (entry < list.entryCount() && list.targetId(entry) != vdId->getTargetId())
        ++entry;
    if (entry >= list.entryCount())
        return -1;
    if (vdId->getSequenceNumber() == VdIdZpr::SEQUENCE_UNKNOWN)
        vdId->setSequenceNumber(list.sequenceNumber(entry));
    VirtualDisk* built = nullptr;
    ignoreStatus(createVdWithRecord(new (noThrowNew) VdIdZpr(vdId->getTargetId16(), vdId->getSequenceNumber()), nullptr, &built),
                 "the element, or null, tells the outcome");
    if (built == nullptr)
        return -1;
    if (vd != nullptr)
        *vd = built;
    else
        delete built;
    return 0;
}

int RmDataZpr::refreshVd(VdIdZpr* id, VirtualDisk*, uint8_t flag)
{
    if (flag == 0 || id == nullptr || id->getTargetId() == VdId::TARGET_ID_UNKNOWN || zprData == nullptr)
        return -1;
    ZprLdList list;
    int status = zprData->getLdList(&list);
    if (status != 0 || id->getSequenceNumber() != VdIdZpr::SEQUENCE_UNKNOWN)
        return status;
    for (uint32_t i = 0; i < list.entryCount(); ++i)
        if (list.targetId(i) == id->getTargetId()) {
            id->setSequenceNumber(list.sequenceNumber(i));
            break;
        }
    return 0;
}

int RmDataZpr::getVdPds(ArrayList<PhysicalDevice*>* list, uint8_t targetId)
{
    if (list == nullptr || zprData == nullptr || ensureDriveCache() != 0)
        return -1;
    ZprConfigBuffer config;
    int status = zprData->readConfig(&config, 0);
    if (status != 0)
        return status;
    for (uint32_t l = 0; l < config.ldCount(); ++l) {
        ZprLdRecord ld = config.ldRecord(l);
        for (uint32_t s = 0; ld.targetId() == targetId && s < ld.spanEntryCount(); ++s) {
            const uint16_t ref = ld.span(s).arrayRef();
            for (uint32_t a = 0; a < config.arrayCount(); ++a) {
                ZprArrayRecord array = config.arrayRecord(a);
                for (uint32_t d = 0; array.arrayRef() == ref && d < array.driveEntryCount(); ++d) {
                    // Drives not in the cache are left out.
                    PhysicalDevice* pd = findCachedPdByDeviceId(array.drive(d).deviceId());
                    if (pd != nullptr && list->add(pd) != 0)
                        return -1;
                }
            }
        }
    }
    return 0;
}

int RmDataZpr::sortVdsByTargetId(ArrayList<VirtualDisk*>* list)
{
    if (list == nullptr)
        return -1;
    list->sort(compareVdsByTargetId);
    return 0;
}

int RmDataZpr::findTargetIdInConfig(uint8_t targetId, uint8_t reread, uint8_t* inConfig)
{
    if (inConfig == nullptr)
        return -1;
    ZprConfigBuffer config;
    const int status = zprData != nullptr ? zprData->readConfig(&config, reread) : -1;
    if (status != 0)
        return status;
    *inConfig = 0;
    for (uint32_t i = 0; i < config.ldCount(); ++i)
        if (config.ldRecord(i).targetId() == targetId)
            *inConfig = 1;
    return 0;
}

int RmDataZpr::readConfig(RmCfg** config)
{
    if (config == nullptr || zprData == nullptr)
        return -1;
    ZprConfigBuffer buffer;
    int status = zprData->readConfig(&buffer, 0);
    if (status != 0)
        return status;
    return parseConfig(buffer, config, 0);
}

int RmDataZpr::parseConfigBuffer(const ZprConfigBuffer& buffer, RmCfg** config)
{
    if (config == nullptr)
        return -1;
    return parseConfig(buffer, config, 0);
}

int RmDataZpr::loadEnclosureList()
{
    if (enclosureList != nullptr)
        return 0;
    if (zprData == nullptr)
        return -1;
    return zprData->getEnclosureList(&enclosureList);
}

int RmDataZpr::getEnclosureCount(uint32_t* count)
{
    int status = loadEnclosureList();
    if (status == 0 && count != nullptr)
        *count = ZprEnclosureList(enclosureList, ZprEnclosureList::SIZE).count();
    return status;
}

int RmDataZpr::getEnclosureId(uint32_t index, uint16_t* enclosureId)
{
    int status = loadEnclosureList();
    if (status != 0)
        return status;
    ZprEnclosureList list(enclosureList, ZprEnclosureList::SIZE);
    // An index past the entries the list can hold (or past its count) names no enclosure.
    if (index >= list.entryCount())
        return -1;
    if (enclosureId != nullptr)
        *enclosureId = list.entry(index).deviceId();
    return 0;
}

int RmDataZpr::getEnclosureProperty(uint16_t enclosureId, uint8_t* property)
{
    int status = loadEnclosureList();
    if (status != 0)
        return status;
    ZprEnclosureList list(enclosureList, ZprEnclosureList::SIZE);
    for (uint32_t i = 0; i < list.entryCount(); ++i)
        if (list.entry(i).deviceId() == enclosureId) {
            if (property != nullptr)
                *property = list.entry(i).property();
            return 0;
        }
    // An unknown enclosure leaves the property as it was.
    return 0;
}

int RmDataZpr::ensureDriveCache()
{
    if (driveCache != nullptr)
        return 0;
    ArrayList<PhysicalDevice*>* built = nullptr;
    if (getAllPdsRaw(&built) != 0 || built == nullptr)
        return -1;
    driveCache = built;
    return 0;
}
