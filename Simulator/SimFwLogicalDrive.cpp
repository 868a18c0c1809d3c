// Logical-drive commands of the simulated firmware: the list and each drive's information,
// and the identification page the drive shows as a SCSI disk.
#include "Simulator/SimFirmware.h"

namespace sim {

namespace {

const uint32_t OP_LD_GET_LIST = 0x03010000;
const uint32_t OP_LD_GET_INFO = 0x03020000;
const uint32_t OP_LD_LIST_QUERY = 0x03010100;

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

// DCMD_LD_GET_INFO (mailbox byte 0 = target id): properties, parameters, size, progress and
// the device-identification page of one logical drive.
uint8_t ldGetInfo(SimState&, Controller& c, SimCommand& cmd)
{
    const LogicalDrive* ld = findLd(c, cmd.mailbox[0] & 0xFF);
    if (!ld)
        return FW_STATUS_NO_DEVICE;
    Bytes r(LD_INFO_SIZE, 0);
    putLdPropertiesAndParameters(r, 0, *ld);
    put64(r, 256, ld->sizeBlocks);
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

const FwRegistration registration({
    fwRead(OP_LD_GET_LIST, LD_LIST_SIZE, ldGetList),
    fwRead(OP_LD_GET_INFO, LD_INFO_SIZE, ldGetInfo),
    fwRead(OP_LD_LIST_QUERY, LD_ID_LIST_UNIT, ldListQuery),
});

} // namespace

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
    put8(r, at + 47, ld.sscCache);
    put8(r, at + 49, ld.piType);
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
