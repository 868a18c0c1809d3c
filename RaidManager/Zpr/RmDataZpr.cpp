#include "RaidManager/Zpr/RmDataZpr.h"

#include "ControllerMgmt/Controller.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/Array.h"
#include "RaidManager/DiskGroup.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementFactory.h"
#include "RaidManager/RmCfg.h"
#include "RaidManager/Span.h"
#include "RaidManager/Spare.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/AdapterDataZpr.h"
#include "RaidManager/Zpr/ArrayDataZpr.h"
#include "RaidManager/Zpr/PdDataZpr.h"
#include "RaidManager/Zpr/SpanDataZpr.h"
#include "RaidManager/Zpr/SpareDataZpr.h"
#include "RaidManager/Zpr/VdDataZpr.h"
#include "RaidManager/Zpr/ZprData.h"

namespace {

// The element the factory builds for the type code over `data`, as an Element; null when
// there is none (the data object, and with it its identifier, is deleted then).
template <class Element>
Element* buildElement(unsigned char typeCode, RaidElementData* data, Controller* controller)
{
    if (data == nullptr)
        return nullptr;
    RaidElementFactory* factory = RaidElementFactory::instance();
    RaidElement* element = factory != nullptr ? factory->create(typeCode, data, controller) : nullptr;
    Element* built = dynamic_cast<Element*>(element);
    if (built == nullptr) {
        // An element of another kind took the data object over; otherwise nobody did.
        if (element != nullptr)
            delete element;
        else
            delete data;
    }
    return built;
}

}  // namespace

RmDataZpr::RmDataZpr(Controller* controller)
    : RmData(controller), zprData(ZprData::instance(controller)), driveCache(nullptr), enclosureList(nullptr)
{
}

RmDataZpr::~RmDataZpr()
{
    if (zprData != nullptr)
        ignoreStatus(ZprData::release(controller), "the controller's data object may be released already");
    deleteDriveCache();
    delete[] enclosureList;
}

RmData* RmDataZpr::create(Controller* controller)
{
    return new (noThrowNew) RmDataZpr(controller);
}

void RmDataZpr::deleteDriveCache()
{
    for (unsigned char i = 0; driveCache != nullptr && i < driveCache->count(); ++i)
        delete driveCache->get(i);
    delete driveCache;
    driveCache = nullptr;
}

int RmDataZpr::resetCaches()
{
    // The enclosure list is deliberately not dropped here: once read, it is kept until this
    // object dies. The adapter's records live in its own data object, which a refresh replaces.
    if (zprData != nullptr)
        ignoreStatus(zprData->resetCaches(), "frees the cached records: always 0");
    deleteDriveCache();
    // A drive list that cannot be read leaves the cache absent; the lookups build it again.
    ArrayList<PhysicalDevice*>* rebuilt = nullptr;
    if (getAllPdsRaw(&rebuilt) == 0)
        driveCache = rebuilt;
    return 0;
}

int RmDataZpr::getAdapter(Adapter** adapter)
{
    if (adapter == nullptr)
        return -1;
    AdapterDataZpr* data = new (noThrowNew) AdapterDataZpr(controller, nullptr);
    Adapter* built = buildElement<Adapter>(ELEMENT_TYPE_ADAPTER, data, controller);
    if (built == nullptr)
        return -1;
    *adapter = built;
    return 0;
}

PhysicalDevice* RmDataZpr::createPd(PdIdZpr* id)
{
    if (id == nullptr)
        return nullptr;
    PdDataZpr* data = new (noThrowNew) PdDataZpr(controller, id);
    if (data == nullptr) {
        delete id;
        return nullptr;
    }
    return buildElement<PhysicalDevice>(ELEMENT_TYPE_PD, data, controller);
}

int RmDataZpr::createVdWithRecord(VdIdZpr* id, const ZprLdRecord* record, VirtualDisk** vd)
{
    VirtualDisk* built = nullptr;
    VdDataZpr* data = id != nullptr ? new (noThrowNew) VdDataZpr(controller, id) : nullptr;
    if (id != nullptr && data == nullptr)
        delete id;
    // The settings and layout are the record's own bytes, which the data object writes back
    // through; a read-only buffer leaves the data to read the logical drive itself.
    uint8_t* bytes = record != nullptr ? record->view().writableData() : nullptr;
    if (data != nullptr && bytes != nullptr) {
        data->setProperties(bytes + ZprLdRecord::TARGET_ID);
        data->setParameters(bytes + ZprLdRecord::PARAMETERS);
    }
    built = buildElement<VirtualDisk>(ELEMENT_TYPE_VD, data, controller);
    if (vd != nullptr)
        *vd = built;
    return 0;
}

Array* RmDataZpr::createArray(ArrayIdZpr* id, const ZprArrayRecord& record)
{
    if (id == nullptr)
        return nullptr;
    ArrayDataZpr* data = new (noThrowNew) ArrayDataZpr(controller, id);
    if (data == nullptr) {
        delete id;
        return nullptr;
    }
    data->setRecord(record);
    return buildElement<Array>(ELEMENT_TYPE_ARRAY, data, controller);
}

DiskGroup* RmDataZpr::createDiskGroup(DiskGroupId* id)
{
    if (id == nullptr)
        return nullptr;
    DgData* data = new (noThrowNew) DgData(controller, id);
    if (data == nullptr) {
        delete id;
        return nullptr;
    }
    return buildElement<DiskGroup>(ELEMENT_TYPE_DISK_GROUP, data, controller);
}

Spare* RmDataZpr::createSpare(const ZprSpareRecord& record)
{
    SpareDataZpr* data = new (noThrowNew) SpareDataZpr(controller, nullptr);
    if (data == nullptr)
        return nullptr;
    data->setRecord(record);
    return buildElement<Spare>(ELEMENT_TYPE_SPARE, data, controller);
}

Span* RmDataZpr::createSpan(const ZprSpanRecord& record)
{
    SpanDataZpr* data = new (noThrowNew) SpanDataZpr(controller, nullptr);
    if (data == nullptr)
        return nullptr;
    data->setRecord(record);
    return buildElement<Span>(ELEMENT_TYPE_SPAN, data, controller);
}

Array* RmDataZpr::findArrayByRef(ArrayList<Array*>* arrays, uint16_t arrayRef)
{
    for (unsigned char i = 0; arrays != nullptr && i < arrays->count(); ++i) {
        Array* array = arrays->get(i);
        ArrayIdZpr* id = array != nullptr ? dynamic_cast<ArrayIdZpr*>(array->getId()) : nullptr;
        if (id != nullptr && id->getArrayRef() == arrayRef)
            return array;
    }
    return nullptr;
}

int RmDataZpr::linkArrayDrives(const ZprConfigBuffer& buffer, uint16_t arrayRef, Array* array, uint8_t foreign)
{
    if (array == nullptr)
        return -1;
    const uint32_t arrays = buffer.arrayCount();
    for (uint32_t a = 0; a < arrays; ++a) {
        ZprArrayRecord record = buffer.arrayRecord(a);
        if (!record.isPresent() || record.arrayRef() != arrayRef)
            continue;
        // Only the first record with the reference counts.
        for (uint32_t d = 0; d < record.driveEntryCount(); ++d) {
            ZprArrayDrive entry = record.drive(d);
            PhysicalDevice* pd = getPdByDeviceId(entry.deviceId());
            if (pd == nullptr)
                return -1;
            if (foreign == 1) {
                ignoreStatus(pd->setForeignState(entry.state()), "a setter of the snapshot: always 0");
                if (entry.sequenceNumber() == 0)
                    ignoreStatus(pd->markOutdated(), "a setter of the snapshot: always 0");
            }
            if (array->addPd(pd) != 0)
                return -1;
            ignoreStatus(pd->setArray(array), "a setter of the snapshot: always 0");
        }
        return 0;
    }
    return 0;
}

int RmDataZpr::addSpanOfLd(const ZprConfigBuffer& buffer, const ZprSpanRecord& spanRecord, VirtualDisk* vd,
                           RmCfg* cfg, DiskGroup** group, uint8_t* groupCounter, uint8_t foreign)
{
    const uint16_t ref = spanRecord.arrayRef();
    Array* array = findArrayByRef(cfg->getArrays(), ref);
    if (array == nullptr) {
        ZprArrayRecord record;
        for (uint32_t a = 0; a < buffer.arrayCount() && !record.isPresent(); ++a)
            if (buffer.arrayRecord(a).arrayRef() == ref)
                record = buffer.arrayRecord(a);
        array = createArray(new (noThrowNew) ArrayIdZpr(ref), record);
        if (array == nullptr)
            return -1;
        if (cfg->getArrays()->add(array) != 0) {
            delete array;
            return -1;
        }
        // An array that lacks a drive is still read; the drives before it stay linked.
        ignoreStatus(linkArrayDrives(buffer, ref, array, foreign),
                     "an array that lacks a drive is still read");
        if (*group == nullptr) {
            *group = createDiskGroup(new (noThrowNew) DiskGroupId((*groupCounter)++));
            if (*group == nullptr)
                return -1;
            if (cfg->getDiskGroups()->add(*group) != 0) {
                delete *group;
                *group = nullptr;
                return -1;
            }
        }
        if ((*group)->addArray(array) != 0)
            return -1;
        ignoreStatus(array->setDiskGroup(*group), "a setter of the snapshot: always 0");
    }
    if (array->addVirtualDisk(vd) != 0)
        return -1;
    Span* span = createSpan(spanRecord);
    if (span == nullptr)
        return -1;
    ignoreStatus(span->setArray(array), "a setter of the snapshot: always 0");
    // The virtual drive's data owns the span from here on.
    return vd->addSpan(span) == 0 ? 0 : (delete span, -1);
}

int RmDataZpr::readLogicalDrive(const ZprConfigBuffer& buffer, const ZprLdRecord& ld, RmCfg* cfg,
                                uint8_t* groupCounter, uint8_t foreign)
{
    VirtualDisk* vd = nullptr;
    ignoreStatus(createVdWithRecord(new (noThrowNew) VdIdZpr(ld.targetId(), ld.sequenceNumber()), &ld, &vd),
                 "the element, or null, tells the outcome");
    if (vd == nullptr)
        return -1;
    if (cfg->getVds()->add(vd) != 0) {
        delete vd;
        return -1;
    }
    DiskGroup* group = nullptr;   // the logical drive's own group, once it brings in an array
    for (uint32_t s = 0; s < ld.spanEntryCount(); ++s) {
        int status = addSpanOfLd(buffer, ld.span(s), vd, cfg, &group, groupCounter, foreign);
        if (status != 0)
            return status;
    }
    return 0;
}

int RmDataZpr::readSpare(const ZprSpareRecord& record, RmCfg* cfg, ArrayList<Spare*>* built)
{
    Spare* spare = createSpare(record);
    if (spare == nullptr)
        return -1;
    if (cfg->adoptSpare(spare) != 0) {
        delete spare;
        return -1;
    }
    if (built->add(spare) != 0)
        return -1;
    PhysicalDevice* pd = getPdByDeviceId(record.deviceId());
    if (pd == nullptr)
        return -1;
    ignoreStatus(pd->setSpare(spare), "a setter of the snapshot: always 0");
    ignoreStatus(spare->setPd(pd), "a setter of the snapshot: always 0");
    if (!record.isDedicated())
        return cfg->getSpares()->add(spare);
    for (uint32_t i = 0; i < record.arrayRefEntryCount(); ++i) {
        Array* array = findArrayByRef(cfg->getArrays(), record.arrayRef(i));
        if (array == nullptr)
            return -1;
        if (array->addSpare(spare) != 0 || spare->addArray(array) != 0)
            return -1;
    }
    return 0;
}

int RmDataZpr::parseConfig(const ZprConfigBuffer& buffer, RmCfg** config, uint8_t foreign)
{
    // Only a buffer whose records lie where its header says is walked, and never more records
    // than a list can hold.
    if (!buffer.isPresent() || buffer.checkLayout() != ZprConfigBuffer::LAYOUT_OK ||
        buffer.arrayCount() > MAX_LIST_ITEMS || buffer.ldCount() > MAX_LIST_ITEMS ||
        buffer.spareCount() > MAX_LIST_ITEMS)
        return -1;
    RmCfg* cfg = new (noThrowNew) RmCfg();
    if (cfg == nullptr)
        return -1;
    cfg->setDiskGroups(new (noThrowNew) ArrayList<DiskGroup*>(4));
    cfg->setArrays(new (noThrowNew) ArrayList<Array*>(static_cast<unsigned char>(buffer.arrayCount())));
    cfg->setVds(new (noThrowNew) ArrayList<VirtualDisk*>(static_cast<unsigned char>(buffer.ldCount())));
    cfg->setSpares(new (noThrowNew) ArrayList<Spare*>(4));
    ArrayList<Spare*>* allSpares = new (noThrowNew) ArrayList<Spare*>(4);   // every spare built
    int status = (cfg->getDiskGroups() != nullptr && cfg->getArrays() != nullptr && cfg->getVds() != nullptr &&
                  cfg->getSpares() != nullptr && allSpares != nullptr)
                     ? 0
                     : -1;
    uint8_t groupCounter = 0;
    for (uint32_t i = 0; status == 0 && i < buffer.ldCount(); ++i)
        status = readLogicalDrive(buffer, buffer.ldRecord(i), cfg, &groupCounter, foreign);
    for (uint32_t i = 0; status == 0 && i < buffer.spareCount(); ++i)
        status = readSpare(buffer.spareRecord(i), cfg, allSpares);
    ArrayList<VirtualDisk*>* vds = cfg->getVds();
    for (unsigned char i = 0; status == 0 && vds != nullptr && i < vds->count(); ++i) {
        uint8_t isForeign = 0;
        status = vds->get(i)->hasForeignPd(&isForeign);
        if (status == 0 && isForeign == 1)
            ignoreStatus(vds->get(i)->markForeign(), "a setter of the snapshot: always 0");
    }
    if (status != 0) {
        cfg->unlinkDrives();
        delete allSpares;
        delete cfg;
        return status;
    }
    delete allSpares;
    *config = cfg;
    return 0;
}
