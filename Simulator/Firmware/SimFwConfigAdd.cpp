// DCMD_CFG_ADD of the simulated firmware: a configuration buffer of new arrays, logical drives
// and spares added to what the controller has. An array record whose reference is in use names
// that array (a logical drive on its free space); any other array record makes a new array of
// unconfigured-good drives, which go online. A drive entry 0xFFFF in a new array is a missing
// member (a restored configuration that had one): the array keeps the row, and its logical
// drives are degraded. A spare record makes an unconfigured-good drive a hot spare. Nothing
// changes unless the whole buffer is taken.
#include "Simulator/Firmware/SimConsistency.h"
#include "Simulator/Firmware/SimFirmware.h"
#include "Simulator/Firmware/SimFirmwareValues.h"
#include "Simulator/SimState.h"

#include <algorithm>
#include <cstdint>

namespace sim {

namespace {

const uint32_t OP_CFG_ADD = 0x04020000;
const uint16_t MISSING_MEMBER = 0xFFFF;
const size_t CFG_HEADER_SIZE = 32;
// A buffer carries at least its header; the header gives the rest of its length.
const size_t CFG_MIN_WRITE = CFG_HEADER_SIZE;

// The section sizes a buffer must give: its header says what follows.
bool layoutFits(const Bytes& b)
{
    if (b.size() < CFG_HEADER_SIZE)
        return false;
    const uint64_t arrays = get16(b, 4), lds = get16(b, 8), spares = get16(b, 12);
    if ((arrays && get16(b, 6) != CFG_ARRAY_SIZE) || (lds && get16(b, 10) != CFG_LD_SIZE) ||
        (spares && get16(b, 14) != CFG_SPARE_SIZE))
        return false;
    const uint64_t total = CFG_HEADER_SIZE + arrays * CFG_ARRAY_SIZE + lds * CFG_LD_SIZE + spares * CFG_SPARE_SIZE;
    return get32(b, 0) == total && total <= b.size();
}

// An array record: an existing array (its drives must be those named) or a new one of
// unconfigured-good drives.
uint8_t readArray(const Controller& c, const Bytes& b, size_t at, std::vector<Array>& added)
{
    const uint16_t ref = get16(b, at + 10);
    const size_t count = get8(b, at + 8);
    if (count == 0 || count > CFG_ARRAY_MAX_DRIVES)
        return FW_STATUS_BAD_ARRAY;
    Array a;
    a.ref = ref;
    a.sizeBlocks = get64(b, at);
    for (size_t i = 0; i < count; ++i) {
        const uint16_t id = get16(b, at + 32 + 8 * i);
        if (id == MISSING_MEMBER && !arrayOf(c, ref)) {
            a.drives.push_back(id);
            continue;
        }
        const Drive* d = driveOf(c, id);
        if (d == nullptr)
            return FW_STATUS_NO_DEVICE;
        if (d->sequence != get16(b, at + 34 + 8 * i))
            return FW_STATUS_INVALID_ARGUMENT;
        a.drives.push_back(id);
    }
    if (const Array* existing = arrayOf(c, ref))
        return existing->drives == a.drives ? FW_STATUS_OK : FW_STATUS_BAD_ARRAY;
    for (const Array& other : added)
        if (other.ref == ref)
            return FW_STATUS_BAD_ARRAY;
    if (std::count(a.drives.begin(), a.drives.end(), MISSING_MEMBER) == static_cast<long>(a.drives.size()))
        return FW_STATUS_BAD_ARRAY;
    for (uint16_t id : a.drives) {
        if (id == MISSING_MEMBER)
            continue;
        if (driveOf(c, id)->state != PD_STATE_UNCONFIGURED_GOOD)
            return FW_STATUS_WRONG_STATE;
        for (const Array& other : added)
            if (std::find(other.drives.begin(), other.drives.end(), id) != other.drives.end())
                return FW_STATUS_WRONG_STATE;
    }
    uint64_t smallest = UINT64_MAX;
    for (uint16_t id : a.drives)
        if (id != MISSING_MEMBER)
            smallest = std::min(smallest, driveOf(c, id)->coercedBlocks);
    if (a.sizeBlocks.value_or(0) == 0 || *a.sizeBlocks > smallest)
        return FW_STATUS_BAD_ARRAY;
    added.push_back(a);
    return FW_STATUS_OK;
}

// True when the extent overlaps a span of one of the drives on the array.
bool overlapsSpans(const std::vector<LogicalDrive>& lds, uint16_t ref, uint64_t start, uint64_t count)
{
    for (const LogicalDrive& ld : lds)
        for (const Span& s : ld.spans)
            if (s.array == ref && start < s.startBlock + s.blockCount.value_or(0) && s.startBlock < start + count)
                return true;
    return false;
}

// A logical-drive record, whose spans must lie inside their arrays (old or new), off the spans
// already there.
uint8_t readLd(const Controller& c, const Bytes& b, size_t at, const std::vector<Array>& added,
               std::vector<LogicalDrive>& lds)
{
    LogicalDrive ld;
    ld.targetId = get8(b, at);
    // A new logical drive has no sequence number of its own yet.
    if (ld.targetId >= c.info.maxVirtualDrives || get16(b, at + 2) != 0)
        return FW_STATUS_INVALID_ARGUMENT;
    for (const LogicalDrive& other : c.lds)
        if (other.targetId == ld.targetId)
            return FW_STATUS_INVALID_ARGUMENT;
    if (c.lds.size() + lds.size() >= c.info.maxVirtualDrives)
        return FW_STATUS_MAX_LDS;
    char name[17] = {0};
    for (size_t i = 0; i < 16 && b[at + 4 + i] != 0; ++i)
        name[i] = static_cast<char>(b[at + 4 + i]);
    ld.name = name;
    ld.defaultCachePolicy = get8(b, at + 20);
    ld.accessPolicy = get8(b, at + 21);
    ld.diskCachePolicy = get8(b, at + 22);
    ld.currentCachePolicy = get8(b, at + 23);
    ld.powerSavingPolicy = get8(b, at + 26);
    ld.raidLevel = get8(b, at + 32);
    ld.raidQualifier = get8(b, at + 33);
    ld.stripExponent = get8(b, at + 35);
    ld.drivesPerSpan = get8(b, at + 36);
    ld.spanDepth = get8(b, at + 37);
    ld.encryption = get8(b, at + 42);
    ld.sscCache = get8(b, at + 47);
    ld.piType = get8(b, at + 49);
    // The controller keeps its own view of the layout: spanned when there is more than one span.
    ld.secondaryRaidLevel = ld.spanDepth > 1 ? 3 : 0;
    ld.state = LD_STATE_OPTIMAL;
    if (ld.spanDepth == 0 || ld.spanDepth > CFG_LD_MAX_SPANS || ld.drivesPerSpan == 0)
        return FW_STATUS_INVALID_ARGUMENT;
    for (size_t i = 0; i < ld.spanDepth; ++i) {
        Span s;
        s.startBlock = get64(b, at + 64 + 24 * i);
        s.blockCount = get64(b, at + 72 + 24 * i);
        s.array = get16(b, at + 80 + 24 * i);
        const Array* a = arrayOf(c, s.array);
        for (const Array& n : added)
            if (n.ref == s.array)
                a = &n;
        if (a == nullptr || a->drives.size() != ld.drivesPerSpan)
            return FW_STATUS_BAD_ARRAY;
        if (*s.blockCount == 0 || s.startBlock + *s.blockCount > arraySizeOf(c, *a) ||
            overlapsSpans(c.lds, s.array, s.startBlock, *s.blockCount) ||
            overlapsSpans(lds, s.array, s.startBlock, *s.blockCount))
            return FW_STATUS_INVALID_ARGUMENT;
        ld.spans.push_back(s);
        ld.drives.insert(ld.drives.end(), a->drives.begin(), a->drives.end());
    }
    ld.sizeBlocks = ldSize(ld);
    lds.push_back(ld);
    return FW_STATUS_OK;
}

// True when the drive is a member of one of the arrays.
bool inArrays(const std::vector<Array>& arrays, uint16_t id)
{
    for (const Array& a : arrays)
        if (std::find(a.drives.begin(), a.drives.end(), id) != a.drives.end())
            return true;
    return false;
}

// New logical drives over an array with a missing member start degraded (offline for RAID 0).
void degradeOverMissing(const Controller& c, std::vector<LogicalDrive>& lds)
{
    for (LogicalDrive& ld : lds)
        for (const Span& s : ld.spans) {
            const Array* a = arrayOf(c, s.array);
            if (a != nullptr && std::find(a->drives.begin(), a->drives.end(), MISSING_MEMBER) != a->drives.end())
                ld.state = ld.raidLevel == 0 ? LD_STATE_OFFLINE : LD_STATE_DEGRADED;
        }
}

uint8_t cfgAdd(SimState& state, Controller& c, SimCommand& cmd)
{
    const Bytes& b = cmd.data;
    // The buffer as it came, for the command log: what a configuration command asked for.
    cmd.note = "data=" + toHex(b);
    if (!layoutFits(b))
        return FW_STATUS_INVALID_ARGUMENT;
    const size_t arrays = get16(b, 4), lds = get16(b, 8);
    std::vector<Array> added;
    std::vector<LogicalDrive> newLds;
    for (size_t i = 0; i < arrays; ++i) {
        const uint8_t status = readArray(c, b, CFG_HEADER_SIZE + i * CFG_ARRAY_SIZE, added);
        if (status != FW_STATUS_OK)
            return status;
    }
    const size_t ldsAt = CFG_HEADER_SIZE + arrays * CFG_ARRAY_SIZE;
    for (size_t i = 0; i < lds; ++i) {
        const uint8_t status = readLd(c, b, ldsAt + i * CFG_LD_SIZE, added, newLds);
        if (status != FW_STATUS_OK)
            return status;
    }
    const size_t sparesAt = ldsAt + lds * CFG_LD_SIZE;
    std::vector<Spare> newSpares;
    for (size_t i = 0; i < get16(b, 12); ++i) {
        Spare spare;
        const uint8_t status = readSpareRecord(c, b, sparesAt + i * CFG_SPARE_SIZE, added, newSpares, spare);
        if (status != FW_STATUS_OK)
            return status;
        newSpares.push_back(spare);
    }
    for (const Array& a : added) {
        for (uint16_t id : a.drives)
            if (Drive* d = findDriveById(c, id))
                d->state = PD_STATE_ONLINE;
        c.arrays.push_back(a);
    }
    for (const Spare& spare : newSpares)
        keepSpare(c, spare);
    degradeOverMissing(c, newLds);
    // The controller counts its SSD caches at 0x792 of its information.
    for (const LogicalDrive& ld : newLds)
        if (ld.sscCache == 1 && c.info.sscSizeGB < UINT16_MAX)
            ++c.info.sscSizeGB;
    c.lds.insert(c.lds.end(), newLds.begin(), newLds.end());
    markStateChanged(state);
    return FW_STATUS_OK;
}

const FwRegistration registration({
    fwWrite(OP_CFG_ADD, CFG_MIN_WRITE, cfgAdd),
});

} // namespace

uint8_t readSpareRecord(const Controller& c, const Bytes& b, size_t at, const std::vector<Array>& newArrays,
                        const std::vector<Spare>& newSpares, Spare& spare)
{
    spare = Spare();
    spare.deviceId = get16(b, at);
    const Drive* d = driveOf(c, spare.deviceId);
    if (d == nullptr)
        return FW_STATUS_NO_DEVICE;
    if (d->sequence != get16(b, at + 2))
        return FW_STATUS_INVALID_ARGUMENT;
    const uint16_t id = spare.deviceId;
    if (d->state != PD_STATE_UNCONFIGURED_GOOD || inArrays(newArrays, id) ||
        std::any_of(newSpares.begin(), newSpares.end(), [id](const Spare& s) { return s.deviceId == id; }))
        return FW_STATUS_WRONG_STATE;
    const uint8_t flags = get8(b, at + 4);
    const size_t count = get8(b, at + 7);
    if (count > CFG_SPARE_MAX_ARRAYS)
        return FW_STATUS_INVALID_ARGUMENT;
    spare.dedicated = (flags & 1) != 0;
    spare.revertible = (flags & 2) != 0;
    spare.enclosureAffinity = (flags & 4) != 0;
    for (size_t i = 0; spare.dedicated && i < count; ++i) {
        const uint16_t ref = get16(b, at + 8 + 2 * i);
        const bool isNew = std::any_of(newArrays.begin(), newArrays.end(), [ref](const Array& a) { return a.ref == ref; });
        if (arrayOf(c, ref) == nullptr && !isNew)
            return FW_STATUS_BAD_ARRAY;
        spare.arrays.push_back(ref);
    }
    return FW_STATUS_OK;
}

void keepSpare(Controller& c, const Spare& spare)
{
    if (Drive* d = findDriveById(c, spare.deviceId)) {
        d->state = PD_STATE_HOT_SPARE;
        d->configFlags |= CONFIG_FLAG_SPARE;
    }
    c.spares.push_back(spare);
}

} // namespace sim
