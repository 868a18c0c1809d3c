// Logical-drive commands of the simulated firmware: the list, each drive's information and
// its settings written back, and the identification page the drive shows as a SCSI disk.
#include "Simulator/Firmware/SimConsistency.h"
#include "Simulator/Firmware/SimFirmware.h"
#include "Simulator/SimState.h"

#include <algorithm>
#include <vector>

namespace sim {

namespace {

const uint32_t OP_LD_GET_LIST = 0x03010000;
const uint32_t OP_LD_GET_INFO = 0x03020000;
const uint32_t OP_LD_GET_ASSOCIATIONS = 0x03100200;
const uint32_t OP_LD_LIST_QUERY = 0x03010100;
const uint32_t OP_LD_SET_PROPERTIES = 0x03040000;
const uint32_t OP_LD_DELETE = 0x03090000;

const size_t LD_PROPERTIES_SIZE = 32;
const uint8_t CONFIG_FLAG_HOT_SPARE = 0x02;   // drive information byte 188

// Target-id lists are read in units of 12 bytes.
const size_t LD_ID_LIST_UNIT = 12;

// The list: a count, then one 16-byte entry per logical drive from offset 8.
const size_t LD_LIST_SIZE = 1032;
const size_t LD_LIST_ENTRY_OFFSET = 8;
const size_t LD_LIST_ENTRY_SIZE = 16;
const size_t LD_LIST_MAX_ENTRIES = 64;

const LogicalDrive* findLd(const Controller& c, uint32_t targetId)
{
    for (const LogicalDrive& ld : c.lds)
        if (ld.targetId == targetId)
            return &ld;
    return nullptr;
}

// DCMD_LD_GET_LIST: count, then one 16-byte entry per logical drive (at most 64).
uint8_t ldGetList(SimState&, Controller& c, SimCommand& cmd)
{
    auto entry = [](Bytes& e, const LogicalDrive& ld) {
        put8(e, 0, ld.targetId);
        put16(e, 2, ld.sequence);
        put8(e, 4, ld.state);
        put64(e, 8, ld.sizeBlocks);
    };
    return fwReply(cmd, listRecord(LD_LIST_SIZE, LD_LIST_ENTRY_OFFSET, LD_LIST_ENTRY_SIZE, LD_LIST_MAX_ENTRIES, c.lds,
                                   entry));
}

// DCMD_LD_GET_INFO (mailbox byte 0 = target id): properties, parameters, spans, size, progress
// and the device-identification page of one logical drive.
uint8_t ldGetInfo(SimState&, Controller& c, SimCommand& cmd)
{
    const LogicalDrive* ld = findLd(c, cmd.mailbox[0] & 0xFF);
    if (!ld)
        return FW_STATUS_NO_DEVICE;
    Bytes r(LD_INFO_SIZE, 0);
    putLdPropertiesAndParameters(r, 0, *ld);
    // The record begins with the drive's configuration record, spans included; the span count
    // stays the parameters' own.
    const uint8_t spanDepth = r[37];
    putLdSpans(r, 0, c, *ld);
    r[37] = spanDepth;
    put64(r, 256, ld->sizeBlocks);
    // Running operations: bits at 264, one progress entry each from 268.
    uint32_t running = 0;
    for (const LdProgress& p : ld->progress) {
        const unsigned index = static_cast<unsigned>(p.operation);
        running |= 1u << index;
        // The record has entries for the first four kinds only.
        if (index >= 4)
            continue;
        put16(r, 268 + 4 * index, p.progress);
        put16(r, 270 + 4 * index, p.elapsed);
    }
    put32(r, 264, running);
    put8(r, 303, ld->sizeIsDriveSize ? 1 : 0);
    putBytes(r, 304, ldDeviceIdPage(c, *ld));
    applyPatch(r, ld->patch);
    return fwReply(cmd, r);
}

// DCMD_LD_LIST_QUERY (mailbox byte 0 = query type): a target-id list, answered with the
// description's reserved target ids whatever the type. Size and count at 0 and 4, the ids one
// byte each from 11; the list takes one 12-byte unit per id (one unit when empty).
uint8_t ldListQuery(SimState&, Controller& c, SimCommand& cmd)
{
    const size_t count = c.reservedTargetIds.size();
    Bytes r(count == 0 ? LD_ID_LIST_UNIT : LD_ID_LIST_UNIT * count, 0);
    put32(r, 0, r.size());
    put32(r, 4, count);
    for (size_t i = 0; i < count; ++i)
        put8(r, 11 + i, c.reservedTargetIds[i]);
    return fwReply(cmd, r);
}

// DCMD_LD_SET_PROPERTIES (mailbox word 0 = the drive's reference: target id, a reserved byte,
// sequence number): stores the name and the policies of the 32 bytes written. A reference
// whose sequence number is not the drive's is refused, as for a drive that changed meanwhile.
uint8_t ldSetProperties(SimState& state, Controller& c, SimCommand& cmd)
{
    LogicalDrive* ld = nullptr;
    for (LogicalDrive& l : c.lds)
        if (l.targetId == (cmd.mailbox[0] & 0xFF))
            ld = &l;
    if (!ld)
        return FW_STATUS_NO_DEVICE;
    if ((cmd.mailbox[0] >> 16) != ld->sequence)
        return FW_STATUS_INVALID_ARGUMENT;
    const Bytes& b = cmd.data;
    std::string name;
    for (size_t i = 4; i < 20 && b[i] != 0; ++i)
        name += static_cast<char>(b[i]);
    ld->name = name.substr(0, 15);
    // The current policies are the firmware's: a new default takes effect at once; otherwise
    // the current ones sent back are kept.
    ld->currentCachePolicy = b[20] != ld->defaultCachePolicy ? b[20] : b[23];
    ld->currentPowerSavingPolicy = b[26] != ld->powerSavingPolicy ? b[26] : b[27];
    ld->defaultCachePolicy = b[20];
    ld->accessPolicy = b[21];
    ld->diskCachePolicy = b[22];
    ld->bgiDisabled = b[24];
    ld->propertyFlags = b[25];
    ld->powerSavingPolicy = b[26];
    state.markChanged();
    return FW_STATUS_OK;
}

// DCMD_LD_TIDEWELL_GET_ASSOCIATIONS: the controller's SSD-cache association list, whichever
// drive mailbox byte 0 names (a cache asks for the drives it caches, a cached drive finds itself
// in it): every drive whose cacheAssociation is 1. 12 bytes per entry (one unit when there is
// none): size at 0, count at 4, one target id per byte from 11.
uint8_t ldGetAssociations(SimState&, Controller& c, SimCommand& cmd)
{
    std::vector<uint8_t> ids;
    for (const LogicalDrive& l : c.lds)
        if (l.sscCache != 1 && l.cacheAssociation == 1)
            ids.push_back(l.targetId);
    Bytes r(LD_ID_LIST_UNIT * std::max<size_t>(ids.size(), 1), 0);
    put32(r, 0, r.size());
    put32(r, 4, ids.size());
    for (size_t i = 0; i < ids.size() && 11 + i < r.size(); ++i)
        put8(r, 11 + i, ids[i]);
    return fwReply(cmd, r);
}

// DCMD_LD_DELETE (mailbox word 0 = the drive's reference: target id, a reserved byte, sequence
// number): the drive goes, with the arrays only it used. A reference whose sequence number is
// not the drive's is refused, as for a drive that changed meanwhile.
uint8_t ldDelete(SimState& state, Controller& c, SimCommand& cmd)
{
    const LogicalDrive* ld = findLd(c, cmd.mailbox[0] & 0xFF);
    if (!ld)
        return FW_STATUS_NO_DEVICE;
    if ((cmd.mailbox[0] >> 16) != ld->sequence)
        return FW_STATUS_INVALID_ARGUMENT;
    deleteLogicalDrive(c, ld->targetId);
    state.markChanged();
    return FW_STATUS_OK;
}

const FwRegistration registration({
    fwRead(OP_LD_GET_ASSOCIATIONS, LD_ID_LIST_UNIT, ldGetAssociations),
    fwRead(OP_LD_GET_LIST, LD_LIST_SIZE, ldGetList),
    fwRead(OP_LD_GET_INFO, LD_INFO_SIZE, ldGetInfo),
    fwNoData(OP_LD_DELETE, ldDelete),
    fwRead(OP_LD_LIST_QUERY, LD_ID_LIST_UNIT, ldListQuery),
    fwWrite(OP_LD_SET_PROPERTIES, LD_PROPERTIES_SIZE, ldSetProperties),
});

} // namespace

void deleteLogicalDrive(Controller& c, uint8_t targetId)
{
    auto at = std::find_if(c.lds.begin(), c.lds.end(), [targetId](const LogicalDrive& l) { return l.targetId == targetId; });
    if (at == c.lds.end())
        return;
    c.lds.erase(at);
    auto used = [&c](uint16_t ref) {
        for (const LogicalDrive& l : c.lds)
            for (const Span& s : l.spans)
                if (s.array == ref)
                    return true;
        return false;
    };
    auto unconfigure = [&c](uint16_t deviceId) {
        for (Drive& d : c.drives)
            if (d.deviceId == deviceId)
                d.state = PD_STATE_UNCONFIGURED_GOOD;
    };
    for (const Array& a : c.arrays)
        if (!used(a.ref))
            for (uint16_t id : a.drives)
                unconfigure(id);
    c.arrays.erase(std::remove_if(c.arrays.begin(), c.arrays.end(), [&](const Array& a) { return !used(a.ref); }),
                   c.arrays.end());
    for (Spare& s : c.spares)
        s.arrays.erase(std::remove_if(s.arrays.begin(), s.arrays.end(), [&](uint16_t ref) { return arrayOf(c, ref) == nullptr; }),
                       s.arrays.end());
    auto orphan = [](const Spare& s) { return s.dedicated && s.arrays.empty(); };
    for (const Spare& s : c.spares)
        if (orphan(s))
            for (Drive& d : c.drives)
                if (d.deviceId == s.deviceId) {
                    d.state = PD_STATE_UNCONFIGURED_GOOD;
                    d.configFlags &= static_cast<uint8_t>(~CONFIG_FLAG_HOT_SPARE);
                }
    c.spares.erase(std::remove_if(c.spares.begin(), c.spares.end(), orphan), c.spares.end());
}

void putLdPropertiesAndParameters(Bytes& r, size_t at, const LogicalDrive& ld)
{
    // Properties (0-31).
    put8(r, at + 0, ld.targetId);
    put16(r, at + 2, ld.sequence);
    putText(r, at + 4, 16, ld.name);
    put8(r, at + 20, ld.defaultCachePolicy);
    put8(r, at + 21, ld.accessPolicy);
    put8(r, at + 22, ld.diskCachePolicy);
    put8(r, at + 23, ld.currentCachePolicy.value_or(ld.defaultCachePolicy));
    put8(r, at + 24, ld.bgiDisabled);
    put8(r, at + 25, ld.propertyFlags);
    put8(r, at + 26, ld.powerSavingPolicy);
    put8(r, at + 27, ld.currentPowerSavingPolicy.value_or(ld.powerSavingPolicy));
    // Parameters (32-63).
    put8(r, at + 32, ld.raidLevel);
    put8(r, at + 33, ld.raidQualifier);
    put8(r, at + 34, ld.secondaryRaidLevel);
    put8(r, at + 35, ld.stripExponent);
    put8(r, at + 36, ld.drivesPerSpan);
    put8(r, at + 37, ld.spanDepth);
    put8(r, at + 38, ld.state);
    put8(r, at + 40, ld.initialized);
    put8(r, at + 42, ld.encryption);
    put8(r, at + 43, ld.preservedCache);
    put8(r, at + 44, ld.badBlocks);
    put8(r, at + 45, ld.snapshot);
    put8(r, at + 47, ld.sscCache);
    put8(r, at + 48, ld.powerConditions);
    put8(r, at + 49, ld.piType);
    put8(r, at + 50, ld.cacheAssociation);
    put8(r, at + 51, ld.currentAccessPolicy.value_or(ld.accessPolicy));
}

Bytes ldDeviceIdPage(const Controller& controller, const LogicalDrive& ld)
{
    Bytes page(VPD83_PAGE_SIZE, 0);
    if (!ld.vpd83.empty()) {
        putBytes(page, 0, ld.vpd83);
        return page;
    }
    // Header: disk device, page 0x83, page length 20 (one 4-byte descriptor header + 16).
    put8(page, 1, 0x83);
    put8(page, 3, 20);
    // Designation descriptor: binary code set, NAA designator of the logical unit, 16 bytes.
    put8(page, 4, 0x01);
    put8(page, 5, 0x03);
    put8(page, 7, 16);
    // NAA 6 (registered extended): the controller's serial number folded into the identifier,
    // then the target id, so every drive of every simulated controller is told apart.
    uint64_t fold = 1469598103934665603ull;
    for (char c : controller.info.serialNumber)
        fold = (fold ^ static_cast<uint8_t>(c)) * 1099511628211ull;
    uint64_t hi = (0x6ull << 60) | (fold >> 4);
    uint64_t lo = (static_cast<uint64_t>(controller.host) << 32) | (static_cast<uint64_t>(ld.targetId) << 16) |
                  ld.sequence;
    for (int i = 0; i < 8; ++i) {
        put8(page, 8 + i, hi >> (56 - 8 * i));
        put8(page, 16 + i, lo >> (56 - 8 * i));
    }
    return page;
}

} // namespace sim
