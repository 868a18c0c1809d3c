// The direct adds of a logical drive (from values, not from a plan), the target-id lookups they
// use, and the pieces of a config-add buffer shared with the builders of planned drives.
#include <cstdio>
#include <cstring>

#include "DataProvider/DcmdOpcodes.h"
#include "PavUtil/Memory.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/UnConfiguredVd.h"
#include "RaidManager/VdAddRequests.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/ZprData.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdIdList.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdParameters.h"

namespace {

// Mailbox byte 0 of the logical-drive query that lists the target ids the controller reserves.
const uint32_t RESERVED_IDS_QUERY = 1;
const char* const NOT_A_SPAN_LEVEL = "\nRaid level not of span type\n";

// All ones above the strip: a block count ANDed with it is a whole number of strips.
uint64_t stripMask(uint8_t exponent)
{
    return exponent >= 64 ? 0 : ~uint64_t(0) << exponent;
}

// The record's level and qualifier for a level of a request or an existing drive: a mirror of
// more than two drives per span is level 17.
bool putLevel(ZprLdRecord& ld, uint8_t level, uint8_t drivesPerSpan, uint8_t stripExponent, uint8_t spans)
{
    const uint8_t primary =
        level == 1 && drivesPerSpan > 2 ? ZprLdParameters::RAID_LEVEL_MULTI_MIRROR : level;
    const uint8_t qualifier = primary == 5 || primary == 6 ? RAID_QUALIFIER_PARITY : 0;
    return ld.setLayout(primary, qualifier, 0, stripExponent, drivesPerSpan, spans);
}

// What a direct add reads of a drive.
struct DriveFacts {
    uint16_t deviceId = 0;
    uint16_t sequence = 0;
    uint16_t state = 0;
    uint64_t coercedBlocks = 0;
};

int readDriveFacts(Controller* controller, uint16_t deviceId, DriveFacts* facts)
{
    uint8_t info[ZprDriveInfo::SIZE] = {};
    int status = ZprData::sendCommand(controller, DCMD_PD_GET_INFO, deviceId, info, sizeof info);
    if (status != 0)
        return status;
    const ZprDriveInfo drive(info, sizeof info);
    facts->deviceId = deviceId;
    facts->sequence = drive.sequenceNumber();
    facts->state = drive.firmwareState();
    facts->coercedBlocks = drive.coercedSize();
    return 0;
}

bool isSpanLevel(uint8_t level)
{
    switch (level) {
    case UnConfiguredVd::LEVEL_RAID1:
    case ZprLdParameters::RAID_LEVEL_MULTI_MIRROR:
    case UnConfiguredVd::LEVEL_SPANNED_RAID1:
    case UnConfiguredVd::LEVEL_RAID5:
    case UnConfiguredVd::LEVEL_SPANNED_RAID5:
    case UnConfiguredVd::LEVEL_RAID6:
    case UnConfiguredVd::LEVEL_SPANNED_RAID6:
        return true;
    default:
        return false;
    }
}

}  // namespace

uint8_t* ZprData::newAddBuffer(uint8_t arrays, uint32_t* size)
{
    *size = static_cast<uint32_t>(ZprConfigBuffer::sizeFor(arrays, 1, 0));
    uint8_t* bytes = new (noThrowNew) uint8_t[*size];
    if (bytes == nullptr)
        return nullptr;
    memset(bytes, 0, *size);
    ZprConfigHeader header = ZprConfigBuffer(bytes, static_cast<size_t>(*size)).header();
    header.setTotalSize(*size);
    header.setArrays(arrays, ZprArrayRecord::SIZE);
    header.setLds(1, ZprLdRecord::SIZE);
    header.setSpares(0, ZprSpareRecord::SIZE);
    return bytes;
}

uint16_t ZprData::firstNewArrayRef(const ZprConfigBuffer& config)
{
    uint32_t next = config.arrayCount();
    for (uint32_t i = 0; i < config.arrayCount(); ++i) {
        ZprArrayRecord record = config.arrayRecord(i);
        if (record.isPresent() && record.arrayRef() + 1u > next)
            next = record.arrayRef() + 1u;
    }
    return static_cast<uint16_t>(next);
}

int ZprData::blocksPerDrive(uint8_t level, uint64_t blocks, uint8_t drives, uint64_t* perDrive)
{
    uint64_t divisor = 0;
    switch (level) {
    case UnConfiguredVd::LEVEL_RAID0:
        divisor = drives;
        break;
    case UnConfiguredVd::LEVEL_RAID1:
    case UnConfiguredVd::LEVEL_SPANNED_RAID1:
        blocks *= 2;
        divisor = drives;
        break;
    case UnConfiguredVd::LEVEL_RAID5:
    case UnConfiguredVd::LEVEL_SPANNED_RAID5:
        divisor = drives > 1 ? drives - 1u : 0;
        break;
    case UnConfiguredVd::LEVEL_RAID6:
    case UnConfiguredVd::LEVEL_SPANNED_RAID6:
        divisor = drives > 2 ? drives - 2u : 0;
        break;
    default:
        return -1;
    }
    if (divisor == 0)
        return -1;
    *perDrive = blocks / divisor;
    return 0;
}

uint8_t ZprData::cachePolicyFromRequest(const VdOnDrivesRequest& request)
{
    uint8_t policy = 0;
    if (request.writePolicy == 0)
        policy |= 1u << ZprLdRecord::CACHE_WRITE_BACK;
    if (request.readPolicy == 0)
        policy |= 1u << ZprLdRecord::CACHE_READ_AHEAD;
    else if (request.readPolicy == 1)
        policy |= (1u << ZprLdRecord::CACHE_READ_AHEAD) | (1u << ZprLdRecord::CACHE_ADAPTIVE_READ_AHEAD);
    if (request.ioPolicy == 0)
        policy |= ZprLdRecord::CACHE_CACHED_IO_MASK;
    if (request.badBatteryPolicy == 1)
        policy |= 1u << ZprLdRecord::CACHE_WRITE_BACK_BAD_BATTERY;
    return policy;
}

int ZprData::isTargetIdInConfig(uint8_t targetId)
{
    ZprConfigBuffer buffer(config.bytes, config.size);
    for (uint32_t i = 0; config.bytes != nullptr && i < buffer.ldCount(); ++i)
        if (buffer.ldRecord(i).targetId() == targetId)
            return 1;
    return 0;
}

int ZprData::isTargetIdReserved(uint8_t targetId)
{
    uint8_t info[ZprControllerInfo::SIZE] = {};
    // Without the controller's answer the id is not taken: it may be reserved.
    if (send(DCMD_ADP_GET_INFO, 0, info, sizeof info) != 0)
        return 1;
    if (!ZprControllerInfo(info, sizeof info).flag(ZprControllerInfo::STORAGE_FEATURES, ZprControllerInfo::SNAPSHOT_BIT))
        return 0;
    uint8_t* block = nullptr;
    uint32_t size = 0;
    if (readLdIdList(DCMD_LD_LIST_QUERY, RESERVED_IDS_QUERY, &block, &size) != 0 || block == nullptr)
        return 1;
    const int reserved = ZprLdIdList(block, size).holds(targetId) ? 1 : 0;
    delete[] block;
    return reserved;
}

int ZprData::findFreeTargetId()
{
    uint8_t info[ZprControllerInfo::SIZE] = {};
    if (config.bytes == nullptr || send(DCMD_ADP_GET_INFO, 0, info, sizeof info) != 0)
        return -1;
    const uint8_t limit = ZprControllerInfo(info, sizeof info).maxVirtualDrives();
    for (int id = 0; id < limit; ++id) {
        const uint8_t targetId = static_cast<uint8_t>(id);
        if (isTargetIdInConfig(targetId) == 0 && isTargetIdReserved(targetId) == 0)
            return id;
    }
    return -1;
}

bool ZprData::startAdd(uint8_t arrays)
{
    freeBlock(addBuffer);
    uint32_t size = 0;
    addBuffer.bytes = newAddBuffer(arrays, &size);
    addBuffer.size = addBuffer.bytes != nullptr ? size : 0;
    return addBuffer.bytes != nullptr;
}

const uint8_t* ZprData::pendingAdd(uint32_t* size) const
{
    if (size != nullptr)
        *size = addBuffer.size;
    return addBuffer.bytes;
}

int ZprData::sendPendingAdd(int built)
{
    const int status = built != 0 ? built : send(DCMD_CFG_ADD, 0, addBuffer.bytes, addBuffer.size);
    freeBlock(addBuffer);
    return status;
}

int ZprData::addVdOnDrives(VdOnDrivesRequest* request)
{
    return sendPendingAdd(buildVdOnDrives(request));
}

int ZprData::addVdOnSpans(VirtualDisk* model, ArrayList<ArrayList<PhysicalDevice*>*>* spans,
                          VdOnSpansRequest* request)
{
    return sendPendingAdd(buildVdOnSpans(model, spans, request));
}

int ZprData::putDrivesLd(const VdOnDrivesRequest& request, uint8_t targetId, uint8_t drives, uint16_t ref)
{
    uint64_t blocks = 0;
    const uint8_t level = request.raidLevel;
    const bool known = level == UnConfiguredVd::LEVEL_RAID0 || level == UnConfiguredVd::LEVEL_RAID1 ||
                       level == UnConfiguredVd::LEVEL_RAID5 || level == UnConfiguredVd::LEVEL_RAID6;
    if (!known || blocksPerDrive(level, request.sizeBlocks, drives, &blocks) != 0)
        return -1;
    ZprLdRecord ld = ZprConfigBuffer(addBuffer.bytes, addBuffer.size).ldRecord(0);
    const uint8_t cache = cachePolicyFromRequest(request);
    const bool written = putLevel(ld, level, drives, request.stripExponent, 1) && ld.setReference(targetId, 0) && ld.setPolicies(cache, 0, 0, cache) &&
                         ld.setStates(ZprLdParameters::STATE_OPTIMAL, 0) && ld.setEncryption(request.encryptionType) &&
                         ld.setSsdCaching(request.ssdCaching) && ld.setPiType(static_cast<uint8_t>(request.piType)) &&
                         ld.span(0).set(request.startBlock, blocks & stripMask(request.stripExponent), ref);
    return written ? 0 : -1;
}

int ZprData::buildVdOnDrives(VdOnDrivesRequest* request)
{
    if (request == nullptr || request->drives == nullptr || request->drives->count() == 0 ||
        request->drives->count() > ZprArrayRecord::MAX_DRIVES)
        return -1;
    ZprPdList drives;
    ZprConfigBuffer current;
    int status = getPdList(&drives);
    if (status == 0)
        status = readConfig(&current, 0);
    if (status != 0)
        return status;
    const int targetId = findFreeTargetId();
    if (targetId < 0)
        return -1;
    const uint8_t n = request->drives->count();
    DriveFacts facts[ZprArrayRecord::MAX_DRIVES];
    bool member = false;
    for (uint8_t i = 0; i < n; ++i) {
        EnclSlotId* address = request->drives->get(i);
        const int deviceId = address == nullptr ? -1 : findDeviceId(address->getEnclosureId(), address->getSlotNumber());
        if (deviceId < 0)
            return -1;
        if (!member)
            member = findArrayOfDrive(address->getEnclosureId(), address->getSlotNumber()) == 1;
        status = readDriveFacts(controller, static_cast<uint16_t>(deviceId), &facts[i]);
        if (status != 0)
            return status;
    }
    if (!startAdd(1))
        return -1;
    ZprArrayRecord record = ZprConfigBuffer(addBuffer.bytes, addBuffer.size).arrayRecord(0);
    // A drive of an existing array: the logical drive goes on that array, as the controller
    // has it. The array is named by its reference, which a delete may have set apart from its
    // position.
    const ZprArrayRecord existing = member ? current.arrayRecord(arrayIndex) : ZprArrayRecord();
    const uint16_t ref = member ? existing.arrayRef() : firstNewArrayRef(current);
    uint64_t size = member ? existing.sizeBlocks() : facts[0].coercedBlocks;
    for (uint8_t i = 0; i < n && !member; ++i)
        if (facts[i].coercedBlocks < size)
            size = facts[i].coercedBlocks;
    bool written = record.setArrayRef(ref) && record.setDriveCount(n) && record.setSizeBlocks(size);
    for (uint8_t i = 0; i < n && written; ++i)
        written = record.setDrive(i, facts[i].deviceId, facts[i].sequence,
                                  member ? facts[i].state : PD_STATE_ONLINE);
    if (!written)
        return -1;
    status = putDrivesLd(*request, static_cast<uint8_t>(targetId), n, ref);
    if (status != 0)
        return status;
    VdIdZpr* id = new (noThrowNew) VdIdZpr(static_cast<uint16_t>(targetId), VdIdZpr::SEQUENCE_UNKNOWN);
    if (id == nullptr)
        return -1;
    delete request->vdId;
    request->vdId = id;
    return 0;
}

namespace {

// What a direct add over spans reads of its drives: each drive's identity, and the smallest
// coerced size over all of them.
int readSpanDrives(ArrayList<ArrayList<PhysicalDevice*>*>* spans, uint64_t* smallest)
{
    bool first = true;
    for (uint8_t s = 0; s < spans->count(); ++s) {
        ArrayList<PhysicalDevice*>* drives = spans->get(s);
        if (drives == nullptr || drives->count() == 0 || drives->count() > ZprArrayRecord::MAX_DRIVES)
            return -1;
        for (uint8_t d = 0; d < drives->count(); ++d) {
            uint64_t blocks = 0;
            int status = drives->get(d) == nullptr ? -1 : drives->get(d)->getCoercedSize(&blocks);
            if (status != 0)
                return status;
            if (first || blocks < *smallest)
                *smallest = blocks;
            first = false;
        }
    }
    return 0;
}

int putSpanArray(ZprArrayRecord record, ArrayList<PhysicalDevice*>* drives, uint16_t ref, uint64_t size)
{
    if (!record.setArrayRef(ref) || !record.setDriveCount(drives->count()) || !record.setSizeBlocks(size))
        return -1;
    for (uint8_t d = 0; d < drives->count(); ++d) {
        uint16_t deviceId = 0, sequence = 0;
        int status = drives->get(d)->getDeviceId(&deviceId);
        if (status == 0)
            status = drives->get(d)->getSequenceNumber(&sequence);
        if (status != 0)
            return status;
        if (!record.setDrive(d, deviceId, sequence, PD_STATE_ONLINE))
            return -1;
    }
    return 0;
}

// The settings of the logical drive copied from the existing one.
struct CopiedSettings {
    uint8_t level = 0;
    uint8_t strip = 0;
    uint8_t encryption = 0;
    uint8_t defaultCache = 0;
    uint8_t currentCache = 0;
};

int copySettings(VirtualDisk* model, CopiedSettings* settings)
{
    int status = model->getPrimaryRaidLevel(&settings->level);
    if (status == 0)
        status = model->getStripSize(&settings->strip);
    if (status == 0)
        status = model->getEncryptionType(&settings->encryption);
    if (status == 0)
        status = model->getDefaultCachePolicy(&settings->defaultCache);
    if (status == 0)
        status = model->getCurrentCachePolicy(&settings->currentCache);
    return status;
}

// Blocks of each span: the whole of it unless a size below the maximum is asked for, which is
// shared out over the spans and their data drives.
int spanBlocks(const VdOnSpansRequest& request, uint8_t level, uint8_t spanCount, uint8_t drivesPerSpan,
               uint64_t whole, uint64_t* blocks)
{
    *blocks = whole;
    if (request.requestedBlocks == 0 || request.requestedBlocks >= request.maximumBlocks)
        return 0;
    if (!isSpanLevel(level)) {
        std::fputs(NOT_A_SPAN_LEVEL, stdout);
        std::fflush(stdout);
        return -1;
    }
    const uint8_t code = level == ZprLdParameters::RAID_LEVEL_MULTI_MIRROR ? UnConfiguredVd::LEVEL_RAID1 : level;
    return ZprData::blocksPerDrive(code, request.requestedBlocks / spanCount, drivesPerSpan, blocks);
}

}  // namespace

int ZprData::buildVdOnSpans(VirtualDisk* model, ArrayList<ArrayList<PhysicalDevice*>*>* spans,
                            VdOnSpansRequest* request)
{
    if (model == nullptr || request == nullptr || spans == nullptr || spans->count() == 0 ||
        spans->count() > ZprLdRecord::MAX_SPANS)
        return -1;
    VdIdZpr* id = dynamic_cast<VdIdZpr*>(model->getId());
    CopiedSettings settings;
    uint64_t smallest = 0;
    ZprConfigBuffer current;
    int status = id == nullptr ? -1 : copySettings(model, &settings);
    if (status == 0)
        status = readSpanDrives(spans, &smallest);
    if (status == 0)
        status = readConfig(&current, 0);
    if (status != 0)
        return status;
    const int targetId = findFreeTargetId();
    if (targetId < 0)
        return -1;
    const uint8_t n = spans->count();
    const uint8_t perSpan = spans->get(0)->count();
    uint8_t level = settings.level;
    for (uint8_t s = 0; s < n && level == UnConfiguredVd::LEVEL_RAID1; ++s)
        if (spans->get(s)->count() > 2)
            level = ZprLdParameters::RAID_LEVEL_MULTI_MIRROR;
    // Every new array holds whole strips of the smallest drive, and no span reaches past it.
    const uint64_t arraySize = smallest & stripMask(settings.strip);
    uint64_t blocks = 0;
    status = spanBlocks(*request, level, n, perSpan, arraySize, &blocks);
    if (status != 0 || !startAdd(n))
        return status != 0 ? status : -1;
    const ZprConfigBuffer add(addBuffer.bytes, addBuffer.size);
    const uint16_t base = firstNewArrayRef(current);
    for (uint8_t s = 0; s < n; ++s) {
        status = putSpanArray(add.arrayRecord(s), spans->get(s), static_cast<uint16_t>(base + s), arraySize);
        if (status != 0)
            return status;
    }
    ZprLdRecord ld = add.ldRecord(0);
    bool written = putLevel(ld, level, perSpan, settings.strip, n) && ld.setReference(static_cast<uint8_t>(targetId), 0) &&
                   ld.setPolicies(settings.defaultCache, 0, 0, settings.currentCache) &&
                   ld.setStates(ZprLdParameters::STATE_OPTIMAL, 0) && ld.setEncryption(settings.encryption) &&
                   ld.setSsdCaching(request->ssdCaching) && ld.setPiType(static_cast<uint8_t>(request->piType));
    for (uint8_t s = 0; s < n && written; ++s)
        written = ld.span(s).set(0, blocks, static_cast<uint16_t>(base + s));
    if (!written)
        return -1;
    id->setTargetId(static_cast<uint16_t>(targetId));
    return 0;
}
