// Configuration commands of the simulated firmware: the configuration buffer.
#include "Simulator/Firmware/SimConsistency.h"
#include "Simulator/Firmware/SimFirmware.h"
#include "Simulator/Firmware/SimFirmwareValues.h"
#include "Simulator/SimState.h"

#include <algorithm>

namespace sim {

namespace {

const uint32_t OP_CFG_READ = 0x04010000;
const uint32_t OP_CFG_GET_RUNTIME_STATUS = 0x04070000;
const uint32_t OP_CFG_SET_ARRAY = 0x04060000;
const uint32_t OP_CFG_MAKE_HOTSPARE = 0x04040000;
const uint32_t OP_CFG_REMOVE_HOTSPARE = 0x04050000;
const uint32_t OP_CFG_CLEAR = 0x04030000;
const uint32_t CLEAR_FORCED = 1;                 // mailbox byte 0 of a forced clear
const size_t RUNTIME_STATUS_SIZE = 4;

// The buffer: a 32-byte header (total size; count and record size of the arrays, the logical
// drives and the spares), then the records of each section.
const size_t CFG_HEADER_SIZE = 32;
const size_t CFG_DEFAULT_READ = 616;   // a header and one record of each kind

// Array record: size, drive count, reference, then 8-byte drive entries from 32 (device id,
// the drive's sequence number and state).
Bytes arrayRecord(const Controller& c, const Array& a)
{
    Bytes r(CFG_ARRAY_SIZE, 0);
    const size_t drives = std::min(a.drives.size(), CFG_ARRAY_MAX_DRIVES);
    put64(r, 0, arraySizeOf(c, a));
    put8(r, 8, drives);
    put16(r, 10, a.ref);
    for (size_t i = 0; i < drives; ++i) {
        const Drive* d = driveOf(c, a.drives[i]);
        put16(r, 32 + 8 * i, a.drives[i]);
        put16(r, 34 + 8 * i, d ? d->sequence : 0);
        put16(r, 36 + 8 * i, d ? d->state : 0);
    }
    for (const ArrayMember& m : a.members) {
        if (m.row >= drives)
            continue;
        if (m.sequence)
            put16(r, 34 + 8 * m.row, *m.sequence);
        if (m.state)
            put16(r, 36 + 8 * m.row, *m.state);
    }
    applyPatch(r, a.patch);
    return r;
}

// Logical-drive record: properties and parameters as in the drive's information, the span
// count at 37, then 24-byte span records from 64 (start, length, array reference).
Bytes ldRecord(const Controller& c, const LogicalDrive& ld)
{
    Bytes r(CFG_LD_SIZE, 0);
    putLdPropertiesAndParameters(r, 0, ld);
    putLdSpans(r, 0, c, ld);
    // The information record begins with this record: its patch reaches both.
    applyPatch(r, ld.patch);
    applyPatch(r, ld.configPatch);
    return r;
}

// Spare record: device id, the drive's sequence number, flags (bit 0 dedicated, bit 1
// revertible, bit 2 enclosure affinity), the count of array references at 7, the references
// from 8.
Bytes spareRecord(const Controller& c, const Spare& s)
{
    Bytes r(CFG_SPARE_SIZE, 0);
    const Drive* d = driveOf(c, s.deviceId);
    const size_t arrays = std::min(s.arrays.size(), CFG_SPARE_MAX_ARRAYS);
    put16(r, 0, s.deviceId);
    put16(r, 2, d ? d->sequence : 0);
    put8(r, 4, (s.dedicated ? 1 : 0) | (s.revertible ? 2 : 0) | (s.enclosureAffinity ? 4 : 0));
    put8(r, 7, arrays);
    for (size_t i = 0; i < arrays; ++i)
        put16(r, 8 + 2 * i, s.arrays[i]);
    applyPatch(r, s.patch);
    return r;
}

// DCMD_CFG_READ: the whole buffer, of exactly the size its records take; a shorter frame gets
// its first bytes (the header always whole).
uint8_t cfgRead(SimState&, Controller& c, SimCommand& cmd)
{
    return fwReply(cmd, configBuffer(c, c.arrays, c.lds, c.spares));
}

// DCMD_CFG_GET_RUNTIME_STATUS: the controller's 32-bit runtime-status word.
uint8_t cfgGetRuntimeStatus(SimState&, Controller& c, SimCommand& cmd)
{
    Bytes r(RUNTIME_STATUS_SIZE, 0);
    put32(r, 0, c.runtimeStatus);
    return fwReply(cmd, r);
}

// DCMD_CFG_SET_ARRAY: an array record; the array it names (reference at 10) takes the size at
// 0. The drives and the rest of the record are not looked at. A size that would cut a span
// short, or that a member drive cannot hold, is refused; spans that took the array's whole size
// keep the blocks they had.
uint8_t cfgSetArray(SimState& state, Controller& c, SimCommand& cmd)
{
    const uint16_t ref = get16(cmd.data, 10);
    const uint64_t size = get64(cmd.data, 0);
    for (Array& a : c.arrays) {
        if (a.ref != ref)
            continue;
        const uint64_t old = arraySizeOf(c, a);
        for (uint16_t id : a.drives) {
            const Drive* d = driveOf(c, id);
            if (d != nullptr && d->coercedBlocks < size)
                return FW_STATUS_BAD_ARRAY;
        }
        for (const LogicalDrive& ld : c.lds)
            for (const Span& s : ld.spans)
                if (s.array == ref && s.startBlock + s.blockCount.value_or(old - s.startBlock) > size)
                    return FW_STATUS_BAD_ARRAY;
        for (LogicalDrive& ld : c.lds)
            for (Span& s : ld.spans)
                if (s.array == ref && !s.blockCount)
                    s.blockCount = old - s.startBlock;
        a.sizeBlocks = size;
        state.markChanged();
        return FW_STATUS_OK;
    }
    return FW_STATUS_NO_DEVICE;
}

// DCMD_CFG_MAKE_HOTSPARE (a spare record written): an unconfigured good drive becomes a global
// spare, or one dedicated to the arrays listed (each must exist).
uint8_t cfgMakeHotSpare(SimState& state, Controller& c, SimCommand& cmd)
{
    Spare spare;
    const uint8_t status = readSpareRecord(c, cmd.data, 0, {}, {}, spare);
    if (status != FW_STATUS_OK)
        return status;
    keepSpare(c, spare);
    markStateChanged(state);
    return FW_STATUS_OK;
}

// DCMD_CFG_REMOVE_HOTSPARE (word 0 the drive's reference): the spare is unconfigured good again.
uint8_t cfgRemoveHotSpare(SimState& state, Controller& c, SimCommand& cmd)
{
    Drive* d = findDriveById(c, static_cast<uint16_t>(cmd.mailbox[0] & 0xFFFF));
    if (d == nullptr)
        return FW_STATUS_NO_DEVICE;
    if (d->sequence != (cmd.mailbox[0] >> 16))
        return FW_STATUS_INVALID_ARGUMENT;
    const uint16_t id = d->deviceId;
    const auto spare = std::find_if(c.spares.begin(), c.spares.end(), [id](const Spare& s) { return s.deviceId == id; });
    if (spare == c.spares.end())
        return FW_STATUS_WRONG_STATE;
    c.spares.erase(spare);
    d->state = PD_STATE_UNCONFIGURED_GOOD;
    d->configFlags &= static_cast<uint8_t>(~CONFIG_FLAG_SPARE);
    markStateChanged(state);
    return FW_STATUS_OK;
}

// DCMD_CFG_CLEAR (mailbox byte 0 = 1 for a forced clear): the logical drives, arrays and spares
// go, their drives unconfigured good; JBOD drives stay. A plain clear is refused while an SSD
// cache caches a logical drive.
uint8_t cfgClear(SimState& state, Controller& c, SimCommand& cmd)
{
    const bool forced = (cmd.mailbox[0] & 0xFF) == CLEAR_FORCED;
    const bool cached = std::any_of(c.lds.begin(), c.lds.end(),
                                    [](const LogicalDrive& l) { return l.sscCache != 1 && l.cacheAssociation == 1; });
    if (cached && !forced)
        return FW_STATUS_SSD_CACHE_DATA;
    for (Drive& d : c.drives) {
        if (inUseFlags(c, d.deviceId) == 0)
            continue;
        d.state = PD_STATE_UNCONFIGURED_GOOD;
        d.configFlags &= static_cast<uint8_t>(~CONFIG_FLAG_SPARE);
    }
    c.lds.clear();
    c.arrays.clear();
    c.spares.clear();
    markStateChanged(state);
    return FW_STATUS_OK;
}

const FwRegistration registration({
    fwNoData(OP_CFG_CLEAR, cfgClear),
    fwWrite(OP_CFG_MAKE_HOTSPARE, CFG_SPARE_SIZE, cfgMakeHotSpare),
    fwNoData(OP_CFG_REMOVE_HOTSPARE, cfgRemoveHotSpare),
    fwRead(OP_CFG_READ, CFG_DEFAULT_READ, cfgRead),
    fwRead(OP_CFG_GET_RUNTIME_STATUS, RUNTIME_STATUS_SIZE, cfgGetRuntimeStatus),
    fwWrite(OP_CFG_SET_ARRAY, CFG_ARRAY_SIZE, cfgSetArray),
});

} // namespace

void putLdSpans(Bytes& r, size_t at, const Controller& c, const LogicalDrive& ld)
{
    const size_t spans = std::min(ld.spans.size(), CFG_LD_MAX_SPANS);
    put8(r, at + 37, spans);
    for (size_t i = 0; i < spans; ++i) {
        const Span& s = ld.spans[i];
        const Array* a = arrayOf(c, s.array);
        put64(r, at + 64 + 24 * i, s.startBlock);
        put64(r, at + 72 + 24 * i, s.blockCount ? *s.blockCount : (a ? arraySizeOf(c, *a) : 0));
        put16(r, at + 80 + 24 * i, s.array);
    }
}

Bytes configBuffer(const Controller& c, const std::vector<Array>& arrays, const std::vector<LogicalDrive>& lds,
                   const std::vector<Spare>& spares)
{
    Bytes r(CFG_HEADER_SIZE, 0);
    auto append = [&r](const Bytes& record) { r.insert(r.end(), record.begin(), record.end()); };
    for (const Array& a : arrays)
        append(arrayRecord(c, a));
    for (const LogicalDrive& ld : lds)
        append(ldRecord(c, ld));
    for (const Spare& s : spares)
        append(spareRecord(c, s));
    put32(r, 0, r.size());
    put16(r, 4, arrays.size());
    put16(r, 6, CFG_ARRAY_SIZE);
    put16(r, 8, lds.size());
    put16(r, 10, CFG_LD_SIZE);
    put16(r, 12, spares.size());
    put16(r, 14, CFG_SPARE_SIZE);
    return r;
}

} // namespace sim
