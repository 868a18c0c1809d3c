// Adding logical drives: the capacity answers of the controller family, and the config-add
// buffers built from a plan. A buffer holds only the new arrays (or copies of the arrays whose
// free space the drive takes) and the one new logical-drive record; DCMD_CFG_ADD adds it to
// what the controller has. The model is not changed here: the caller refreshes its manager.
#include <cstring>

#include "ControllerMgmt/Controller.h"
#include "ControllerMgmt/LinExpLd.h"
#include "DataProvider/ControllerId.h"
#include "DataProvider/DcmdOpcodes.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/Array.h"
#include "RaidManager/DiskGroup.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementFactory.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/UnConfiguredVd.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/RmDataZpr.h"
#include "RaidManager/Zpr/VdDataZpr.h"
#include "RaidManager/Zpr/Records/Config/ZprConfigBuffer.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/ZprData.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdParameters.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"

namespace {

const uint16_t SEQUENCE_UNKNOWN = 0xFFFF;
const uint8_t TARGET_ID_PLANNED = 255;

// The controller information, read into `info` (ZprControllerInfo::SIZE bytes, zeroed first).
int readControllerInfo(Controller* controller, uint8_t* info)
{
    memset(info, 0, ZprControllerInfo::SIZE);
    return ZprData::sendCommand(controller, DCMD_ADP_GET_INFO, 0, info, ZprControllerInfo::SIZE);
}

// The record's primary level for a plan's level code: mirrors of more than two drives are 17.
int primaryLevelOf(uint8_t planLevel, uint8_t drivesPerSpan, uint8_t* primary)
{
    switch (planLevel) {
    case UnConfiguredVd::LEVEL_RAID0:
        *primary = 0;
        return 0;
    case UnConfiguredVd::LEVEL_RAID1:
    case UnConfiguredVd::LEVEL_SPANNED_RAID1:
        *primary = drivesPerSpan < 3 ? 1 : ZprLdParameters::RAID_LEVEL_MULTI_MIRROR;
        return 0;
    case UnConfiguredVd::LEVEL_RAID5:
    case UnConfiguredVd::LEVEL_SPANNED_RAID5:
        *primary = 5;
        return 0;
    case UnConfiguredVd::LEVEL_RAID6:
    case UnConfiguredVd::LEVEL_SPANNED_RAID6:
        *primary = 6;
        return 0;
    default:
        return -1;
    }
}

bool isSpannedPlanLevel(uint8_t level)
{
    return level == UnConfiguredVd::LEVEL_SPANNED_RAID1 || level == UnConfiguredVd::LEVEL_SPANNED_RAID5 ||
           level == UnConfiguredVd::LEVEL_SPANNED_RAID6;
}

// Fills one drive entry of an array record from the drive element.
int putDrive(ZprArrayRecord& record, uint32_t index, PhysicalDevice* pd, bool ownState)
{
    uint16_t deviceId = 0, sequence = 0, state = PD_STATE_ONLINE;
    int status = pd == nullptr ? -1 : pd->getDeviceId(&deviceId);
    if (status == 0)
        status = pd->getSequenceNumber(&sequence);
    if (status == 0 && ownState)
        status = pd->getFirmwareState(&state);
    if (status != 0)
        return status;
    return record.setDrive(index, deviceId, sequence, state) ? 0 : -1;
}

}  // namespace

int RmDataZpr::canCreateVdOnFreshPds(uint8_t* answer)
{
    if (answer != nullptr)
        *answer = 1;
    return 0;
}

int RmDataZpr::canCreateVdOnFreeSpace(DiskGroup*, uint8_t* answer)
{
    if (answer != nullptr)
        *answer = 1;
    return 0;
}

int RmDataZpr::cachePolicyFromPlan(UnConfiguredVd* plan, uint8_t* policy)
{
    uint8_t* info = new (noThrowNew) uint8_t[ZprControllerInfo::SIZE];
    if (info == nullptr)
        return -1;
    // An information read that fails leaves the cache memory unknown: nothing is cached then.
    readControllerInfo(controller, info);
    const uint8_t memory = ZprControllerInfo(info, ZprControllerInfo::SIZE)
                               .flag(ZprControllerInfo::DEVICES_PRESENT, ZprControllerInfo::CACHE_MEMORY_BIT);
    delete[] info;
    uint8_t read = 0, write = 0, io = 0, badBattery = 0;
    int status = plan->getParameter28(&read);
    if (status == 0)
        status = plan->getParameter29(&write);
    if (status == 0)
        status = plan->getParameter27(&io);
    if (status == 0)
        status = plan->getParameter30(&badBattery);
    if (status != 0)
        return status;
    const uint8_t readAhead = 1u << ZprLdRecord::CACHE_READ_AHEAD;
    const uint8_t adaptive = 1u << ZprLdRecord::CACHE_ADAPTIVE_READ_AHEAD;
    const uint8_t writeBack = 1u << ZprLdRecord::CACHE_WRITE_BACK;
    const uint8_t badBatteryBit = 1u << ZprLdRecord::CACHE_WRITE_BACK_BAD_BATTERY;
    uint8_t p = 0;
    if (read == 0)
        p = static_cast<uint8_t>((p | readAhead) & ~adaptive);
    else if (read == 1)
        p |= readAhead | adaptive;
    else if (read == 2)
        p = static_cast<uint8_t>(p & ~(readAhead | adaptive));
    if (write == 0)
        p = static_cast<uint8_t>(memory ? (p | writeBack) : (p & ~writeBack));
    else if (write == 1)
        p = static_cast<uint8_t>(p & ~writeBack);
    else if (write == 3)
        p |= writeBack | badBatteryBit;
    if (io == 0)
        p = static_cast<uint8_t>(memory ? (p | ZprLdRecord::CACHE_CACHED_IO_MASK) : (p & ~ZprLdRecord::CACHE_CACHED_IO_MASK));
    else if (io == 1)
        p = static_cast<uint8_t>(p & ~ZprLdRecord::CACHE_CACHED_IO_MASK);
    if (memory && badBattery == 0)
        p = static_cast<uint8_t>(write == 3 ? (p | badBatteryBit) : (p & ~badBatteryBit));
    else if (memory && badBattery == 1)
        p |= badBatteryBit;
    *policy = p;
    return 0;
}

int RmDataZpr::fillLdRecord(UnConfiguredVd* plan, ZprLdRecord& ld, uint8_t drivesPerSpan, uint8_t spanCount,
                            bool freeSpace)
{
    const int targetId = findFreeTargetId();
    if (targetId < 0)
        return -1;
    VdIdZpr* id = new (noThrowNew) VdIdZpr(static_cast<uint16_t>(targetId), SEQUENCE_UNKNOWN);
    if (id == nullptr)
        return -1;
    ignoreStatus(plan->setVdId(id), "the id is not null: always 0");
    uint8_t cache = 0, level = 0, primary = 0, diskCache = 0, strip = 0, encryption = 0, ssd = 0, power = 0, pi = 0;
    int status = cachePolicyFromPlan(plan, &cache);
    if (status != 0)
        return status;
    ignoreStatus(plan->getParameter31(&diskCache), "a field of the plan: always 0");
    ignoreStatus(plan->getRaidLevel(&level), "a field of the plan: always 0");
    ignoreStatus(plan->getStripSize(&strip), "a field of the plan: always 0");
    ignoreStatus(plan->getParameter56(&encryption), "a field of the plan: always 0");
    ignoreStatus(plan->getParameter57(&power), "a field of the plan: always 0");
    ignoreStatus(plan->getParameter26(&pi), "a field of the plan: always 0");
    if (!freeSpace)
        ignoreStatus(plan->getParameter58(&ssd), "a field of the plan: always 0");
    if (primaryLevelOf(level, drivesPerSpan, &primary) != 0)
        return -1;
    const bool written =
        ld.setReference(static_cast<uint8_t>(targetId), 0) && ld.setName(plan->getName()) &&
        ld.setPolicies(cache, 0, diskCache, cache) &&
        ld.setLayout(primary, primary == 5 || primary == 6 ? RAID_QUALIFIER_PARITY : 0, 0, strip,
                     drivesPerSpan,
                     spanCount) &&
        ld.setStates(LD_STATE_OPTIMAL, 0) && ld.setEncryption(encryption) && ld.setSsdCaching(ssd) &&
        (ssd != 0 || (ld.setDefaultPowerSavings(power) && ld.setPiType(pi)));
    return written ? 0 : -1;
}

int RmDataZpr::buildVdOnFreshPds(UnCfgdVdOnFreshPd* plan, uint8_t** buffer, uint32_t* size)
{
    RaidManager* manager = getRaidManager(controller);
    Adapter* adapter = nullptr;
    ArrayList<ArrayList<PhysicalDevice*>*>* spans = *plan->getSpans();
    if (manager == nullptr || manager->getAdapter(&adapter) != 0 || adapter == nullptr || spans == nullptr ||
        spans->count() == 0 || zprData == nullptr)
        return -1;
    const uint8_t n = spans->count();
    *buffer = ZprData::newAddBuffer(n, size);
    if (*buffer == nullptr)
        return -1;
    ZprConfigBuffer add(*buffer, static_cast<size_t>(*size));
    ZprConfigBuffer current;
    int status = zprData->readConfig(&current, 0);
    if (status != 0)
        return status;
    const uint16_t base = ZprData::firstNewArrayRef(current);
    uint64_t smallest = 0;
    for (uint8_t s = 0; s < n; ++s) {
        uint64_t blocks = 0;
        status = plan->getSmallestDriveSize(spans->get(s), &blocks);
        if (status != 0)
            return status;
        if (s == 0 || blocks < smallest)
            smallest = blocks;
    }
    uint8_t* info = new (noThrowNew) uint8_t[ZprControllerInfo::SIZE];
    status = info == nullptr ? -1 : readControllerInfo(controller, info);
    delete[] info;
    if (status != 0)
        return status;
    const uint64_t mask = plan->getStripMask();
    for (uint8_t s = 0; s < n; ++s) {
        ArrayList<PhysicalDevice*>* drives = spans->get(s);
        ZprArrayRecord record = add.arrayRecord(s);
        if (drives->count() > ZprArrayRecord::MAX_DRIVES || !record.setArrayRef(static_cast<uint16_t>(base + s)) ||
            !record.setDriveCount(drives->count()) || !record.setSizeBlocks(mask & smallest))
            return -1;
        for (uint8_t d = 0; d < drives->count(); ++d) {
            status = putDrive(record, d, drives->get(d), false);
            if (status != 0)
                return status;
        }
    }
    const uint8_t perSpan = spans->get(0)->count();
    ZprLdRecord ld = add.ldRecord(0);
    status = fillLdRecord(plan, ld, perSpan, n, false);
    if (status != 0)
        return status;
    return putFreshSpans(plan, ld, n, base, perSpan, mask & smallest);
}

int RmDataZpr::putFreshSpans(UnCfgdVdOnFreshPd* plan, ZprLdRecord& ld, uint8_t spanCount, uint16_t base,
                             uint8_t perSpan, uint64_t fullSpan)
{
    uint64_t requested = 0;
    uint8_t level = UnConfiguredVd::LEVEL_NONE;
    ignoreStatus(plan->getRequestedSize(&requested), "a field of the plan: always 0");
    ignoreStatus(plan->getRaidLevel(&level), "a field of the plan: always 0");
    uint64_t blocks = 0;
    if (isSpannedPlanLevel(level)) {
        uint64_t maximum = 0;
        int status = plan->getMaximumSize(&maximum);
        if (status != 0)
            return status;
        if (requested >= maximum)
            blocks = fullSpan;
        else if (ZprData::blocksPerDrive(level, requested / spanCount, perSpan, &blocks) != 0)
            return -1;
    } else if (ZprData::blocksPerDrive(level, requested, perSpan, &blocks) != 0) {
        return -1;
    }
    if (spanCount > ZprLdRecord::MAX_SPANS)
        return -1;
    for (uint8_t k = 0; k < spanCount; ++k)
        if (!ld.span(k).set(0, blocks, static_cast<uint16_t>(base + k)))
            return -1;
    return 0;
}

int RmDataZpr::putFreeSpaceArray(ZprArrayRecord& record, Array* array, const ZprConfigBuffer& current)
{
    uint16_t ref = 0;
    int status = array->getArrayRef(&ref);
    if (status != 0)
        return status;
    ArrayList<VirtualDisk*>* vds = nullptr;
    uint8_t state = 0;
    if (array->getVdList(&vds) == 0 && vds != nullptr && vds->count() > 0 && vds->get(0) != nullptr &&
        vds->get(0)->getState(&state) == 0 && state == LD_STATE_OPTIMAL) {
        ArrayList<PhysicalDevice*>* pds = nullptr;
        uint64_t size = 0;
        status = array->getPdList(&pds);
        if (status == 0)
            status = array->getSize(&size);
        if (status != 0)
            return status;
        if (pds->count() > ZprArrayRecord::MAX_DRIVES || !record.setArrayRef(ref) ||
            !record.setDriveCount(pds->count()) || !record.setSizeBlocks(size))
            return -1;
        for (uint8_t d = 0; d < pds->count(); ++d) {
            status = putDrive(record, d, pds->get(d), true);
            if (status != 0)
                return status;
        }
        return 0;
    }
    // A degraded array goes as the controller has it.
    for (uint32_t i = 0; i < current.arrayCount(); ++i) {
        ZprArrayRecord existing = current.arrayRecord(i);
        if (existing.isPresent() && existing.arrayRef() == ref)
            return record.copyFrom(existing) ? 0 : -1;
    }
    return -1;
}

int RmDataZpr::buildVdOnFreeSpace(UnCfgdVdOnFreeSpOnPd* plan, uint8_t** buffer, uint32_t* size)
{
    ArrayList<Array*>* arrays = nullptr;
    DiskGroup* group = plan->getDiskGroup();
    int status = group == nullptr ? -1 : group->getArrays(&arrays);
    if (status != 0)
        return status;
    if (arrays == nullptr || arrays->count() == 0 || arrays->count() > ZprLdRecord::MAX_SPANS || zprData == nullptr)
        return -1;
    const uint8_t n = arrays->count();
    *buffer = ZprData::newAddBuffer(n, size);
    if (*buffer == nullptr)
        return -1;
    ZprConfigBuffer add(*buffer, static_cast<size_t>(*size));
    ZprConfigBuffer current;
    status = zprData->readConfig(&current, 0);
    if (status != 0)
        return status;
    for (uint8_t i = 0; i < n; ++i) {
        ZprArrayRecord record = add.arrayRecord(i);
        status = arrays->get(i) == nullptr ? -1 : putFreeSpaceArray(record, arrays->get(i), current);
        if (status != 0)
            return status;
    }
    const uint8_t perSpan = add.arrayRecord(0).driveCount();
    ZprLdRecord ld = add.ldRecord(0);
    status = fillLdRecord(plan, ld, perSpan, n, true);
    if (status != 0)
        return status;
    ArraySpaceInfo* extent = plan->getExtent();
    if (extent == nullptr)
        return -1;
    uint64_t requested = 0, blocks = 0;
    uint8_t level = UnConfiguredVd::LEVEL_NONE;
    ignoreStatus(plan->getRequestedSize(&requested), "a field of the plan: always 0");
    ignoreStatus(plan->getRaidLevel(&level), "a field of the plan: always 0");
    if (ZprData::blocksPerDrive(level, requested / n, perSpan, &blocks) != 0)
        return -1;
    for (uint8_t k = 0; k < n; ++k)
        if (!ld.span(k).set(extent->getStart(), blocks, add.arrayRecord(k).arrayRef()))
            return -1;
    return 0;
}

int RmDataZpr::sendAdd(uint8_t* buffer, uint32_t size, bool exposeToOs)
{
    int status = ZprData::sendCommand(controller, DCMD_CFG_ADD, 0, buffer, size);
    delete[] buffer;
    if (status != 0 || !exposeToOs)
        return status;
    return exposeNewLds();
}

int RmDataZpr::addPlannedVd(UnConfiguredVd* plan, UnCfgdVdOnFreshPd* fresh, UnCfgdVdOnFreeSpOnPd* onFreeSpace)
{
    if (fresh == nullptr && onFreeSpace == nullptr)
        return -1;
    uint8_t ssdCache = 0, valid = 0;
    if (fresh != nullptr)
        ignoreStatus(plan->getParameter58(&ssdCache), "a field of the plan: always 0");
    int status = plan->isSizeValid(&valid);
    if (status != 0)
        return status;
    if (valid == 0)
        return -1;
    uint8_t* buffer = nullptr;
    uint32_t size = 0;
    status = fresh != nullptr ? buildVdOnFreshPds(fresh, &buffer, &size)
                              : buildVdOnFreeSpace(onFreeSpace, &buffer, &size);
    if (status != 0) {
        delete[] buffer;
        return status;
    }
    // An SSD cache is no disk of the operating system.
    return sendAdd(buffer, size, ssdCache == 0);
}

int RmDataZpr::addVdOnFreshPds(UnConfiguredVd* plan)
{
    return addPlannedVd(plan, dynamic_cast<UnCfgdVdOnFreshPd*>(plan), nullptr);
}

int RmDataZpr::addVdOnFreeSpace(UnConfiguredVd* plan)
{
    return addPlannedVd(plan, nullptr, dynamic_cast<UnCfgdVdOnFreeSpOnPd*>(plan));
}

int RmDataZpr::addVdOnDrives(VdOnDrivesRequest* request)
{
    return zprData != nullptr ? zprData->addVdOnDrives(request) : -1;
}

int RmDataZpr::addVdOnSpans(VirtualDisk* model, ArrayList<ArrayList<PhysicalDevice*>*>* spans,
                            VdOnSpansRequest* request)
{
    return zprData != nullptr ? zprData->addVdOnSpans(model, spans, request) : -1;
}

int RmDataZpr::createVdElement(VirtualDisk** vd, uint8_t primaryRaidLevel, uint8_t stripExponent,
                               uint8_t currentCachePolicy, uint8_t defaultCachePolicy, uint8_t encryptionType)
{
    VdIdZpr* id = new (noThrowNew) VdIdZpr(TARGET_ID_PLANNED, SEQUENCE_UNKNOWN);
    VdDataZpr* data = id == nullptr ? nullptr
                                    : new (noThrowNew) VdDataZpr(controller, id, primaryRaidLevel, stripExponent,
                                                                 currentCachePolicy, defaultCachePolicy, encryptionType, 0);
    if (data == nullptr) {
        delete id;
        return -1;
    }
    RaidElementFactory* factory = RaidElementFactory::instance();
    RaidElement* element = factory == nullptr ? nullptr : factory->create(ELEMENT_TYPE_VD, data, controller);
    if (element == nullptr) {
        delete data;
        return -1;
    }
    *vd = dynamic_cast<VirtualDisk*>(element);
    return 0;
}
