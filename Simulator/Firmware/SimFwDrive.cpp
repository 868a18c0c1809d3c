// Drive commands of the simulated firmware: the drive list, the drive query, each drive's
// information record and the device-list operation (spinning listed drives up).
#include "Simulator/Firmware/SimConsistency.h"
#include "Simulator/Firmware/SimFirmware.h"
#include "Simulator/Firmware/SimFirmwareValues.h"

#include <algorithm>

namespace sim {

namespace {

const uint32_t OP_PD_GET_LIST = 0x02010000;
const uint32_t OP_PD_LIST_QUERY = 0x02010100;
const uint32_t OP_PD_LIST_OPERATION = 0x020D0200;
const uint32_t OP_PD_GET_INFO = 0x02020000;

// The list: size and count at 0 and 4, then 24-byte entries from 8 (device id, enclosure
// device id, enclosure index, slot, SCSI device type).
const size_t PD_LIST_HEADER = 8;
const size_t PD_LIST_ENTRY_SIZE = 24;
const size_t PD_LIST_DEFAULT_READ = 32;
const uint8_t NO_ENCLOSURE_INDEX = 0xFF;

// The device list: size at 0, count at 4, the 16-bit device ids from 10.
const size_t DEVICE_LIST_COUNT = 4;
const size_t DEVICE_LIST_IDS = 10;
const size_t DEVICE_LIST_MIN = 12;   // one device id

// The position of the drive's enclosure in the enclosure list.
uint8_t enclosureIndex(const Controller& c, uint16_t enclosureId)
{
    for (size_t i = 0; i < c.enclosures.size(); ++i)
        if (c.enclosures[i].deviceId == enclosureId)
            return static_cast<uint8_t>(i);
    return NO_ENCLOSURE_INDEX;
}

Bytes driveList(const Controller& c)
{
    Bytes r(PD_LIST_HEADER + PD_LIST_ENTRY_SIZE * c.drives.size(), 0);
    put32(r, 0, r.size());
    put32(r, 4, c.drives.size());
    for (size_t i = 0; i < c.drives.size(); ++i) {
        const Drive& d = c.drives[i];
        const size_t e = PD_LIST_HEADER + PD_LIST_ENTRY_SIZE * i;
        put16(r, e + 0, d.deviceId);
        put16(r, e + 2, d.enclosureId);
        put8(r, e + 4, enclosureIndex(c, d.enclosureId));
        put8(r, e + 5, d.slot);
        put8(r, e + 6, d.type);
    }
    return r;
}

// DCMD_PD_GET_LIST: every device; a short frame gets the header and the entries it holds.
uint8_t pdGetList(SimState&, Controller& c, SimCommand& cmd)
{
    return fwReply(cmd, driveList(c));
}

// DCMD_PD_LIST_QUERY (mailbox byte 0 = query type): the same list, whatever the type.
uint8_t pdListQuery(SimState&, Controller& c, SimCommand& cmd)
{
    return fwReply(cmd, driveList(c));
}

// DCMD_PD_LIST_OPERATION: the listed drives are spun up; the count field comes back as the
// number of listed ids that name drives of the controller. Ids past the frame are not read.
// While a listed spun-down drive has spin-up rounds left, the list is answered 0x55 (still
// spinning up) and each such drive uses one round; nothing else changes.
uint8_t pdListOperation(SimState& state, Controller& c, SimCommand& cmd)
{
    Bytes& b = cmd.data;
    const uint64_t listed = getN(b.data(), b.size(), DEVICE_LIST_COUNT, 4);
    const uint64_t room = b.size() > DEVICE_LIST_IDS ? (b.size() - DEVICE_LIST_IDS) / 2 : 0;
    bool spinning = false;
    for (uint64_t i = 0; i < std::min(listed, room); ++i) {
        Drive* d = findDriveById(c, static_cast<uint16_t>(getN(b.data(), b.size(), DEVICE_LIST_IDS + 2 * i, 2)));
        if (d != nullptr && d->powerState != 0 && d->spinUpRounds > 0) {
            --d->spinUpRounds;
            spinning = true;
        }
    }
    if (spinning) {
        markStateChanged(state);
        return FW_STATUS_SPINNING_UP;
    }
    uint64_t found = 0;
    for (uint64_t i = 0; i < std::min(listed, room); ++i) {
        Drive* d = findDriveById(c, static_cast<uint16_t>(getN(b.data(), b.size(), DEVICE_LIST_IDS + 2 * i, 2)));
        if (d == nullptr)
            continue;
        ++found;
        if (d->powerState != 0) {
            d->powerState = 0;
            markStateChanged(state);
        }
    }
    put32(b, DEVICE_LIST_COUNT, found);
    cmd.dataReturned = true;
    return FW_STATUS_OK;
}

uint8_t interfaceCode(const std::string& name)
{
    static const char* const NAMES[] = {"SCSI", "SAS", "SATA", "FC"};
    for (uint8_t i = 0; i < 4; ++i)
        if (name == NAMES[i])
            return static_cast<uint8_t>(i + 1);
    return 0;
}

// An ASCII field that fills its whole width (no terminating NUL), NUL-padded when shorter.
void putAscii(Bytes& r, size_t off, size_t width, const std::string& s)
{
    for (size_t i = 0; i < width; ++i)
        put8(r, off + i, i < s.size() ? static_cast<uint8_t>(s[i]) : 0);
}

// Inquiry data (from 4): device type, vendor, product, revision.
void putInquiry(Bytes& r, const Drive& d)
{
    put8(r, 4, d.type);
    putAscii(r, 12, 8, d.vendor);
    putAscii(r, 20, 16, d.product);
    putAscii(r, 36, 4, d.revision);
}

// Ports (count at 192, passive and wide bits at 193, connectors from 194, addresses from 200).
void putPorts(Bytes& r, const Drive& d)
{
    put8(r, 166, d.connectedPorts);
    uint8_t flags = d.widePort ? 0x80 : 0;
    for (size_t i = 0; i < 6; ++i)
        put8(r, 194 + i, 0xFF);
    for (size_t i = 0; i < d.ports.size() && i < PD_MAX_PORTS; ++i) {
        flags |= d.ports[i].passive ? static_cast<uint8_t>(1u << i) : 0;
        put8(r, 194 + i, d.ports[i].connector);
        put64(r, 200 + 8 * i, d.ports[i].sasAddress);
    }
    put8(r, 192, std::min(d.ports.size(), PD_MAX_PORTS));
    put8(r, 193, flags);
}

// Running operations: bits at 260, one progress entry each from 264.
void putProgress(Bytes& r, const Drive& d)
{
    uint8_t running = 0;
    for (const DriveProgress& p : d.progress) {
        const unsigned index = static_cast<unsigned>(p.operation);
        if (index > static_cast<unsigned>(DriveOperation::CLEAR))
            continue;   // copyback and secure erase show in the progress block only
        running |= static_cast<uint8_t>(1u << index);
        put16(r, 264 + 4 * index, p.progress);
        put16(r, 266 + 4 * index, p.elapsed);
    }
    put8(r, 260, running);
}

// The security, bridge, sector, protection, diagnostics and flag bytes from 358.
void putDetails(Bytes& r, const Drive& d)
{
    put8(r, 358, d.powerState);
    put8(r, 359, d.position);
    put8(r, 361, d.flags361);
    put8(r, 362, d.flags362);
    put16(r, 364, d.partnerId);
    put16(r, 366, d.slotCount);
    put8(r, 368, d.security);
    put8(r, 370, d.media == "SSD" ? 1 : 0);
    put8(r, 371, d.notCertified);
    putAscii(r, 372, 8, d.bridgeVendor);
    putAscii(r, 380, 16, d.bridgeProduct);
    putAscii(r, 396, 4, d.bridgeRevision);
    put8(r, 400, d.bridgeVendor.empty() && d.bridgeProduct.empty() && d.bridgeRevision.empty() ? 0 : 1);
    put8(r, 401, interfaceCode(d.interface));
    put8(r, 402, d.temperature);
    put8(r, 403, d.physicalSectorExponent);
    put16(r, 404, d.sectorSize);
    put8(r, 408, d.protection);
    put8(r, 409, d.spareFlags);
    for (size_t i = 0; i < d.diagnosticsDate.size() && i < PD_DIAGNOSTICS_DATE_PARTS; ++i)
        putN(r, i == 0 ? 412 : 413 + i, d.diagnosticsDate[i], i == 0 ? 2 : 1);
    put8(r, 420, d.shieldCounter);
    put8(r, 421, d.secondLinkSpeed);
}

Bytes driveInfo(const Controller& c, const Drive& d)
{
    Bytes r(PD_INFO_SIZE, 0);
    put16(r, 0, d.deviceId);
    put16(r, 2, d.sequence);
    putInquiry(r, d);
    Bytes first(d.vpd83.begin(), d.vpd83.begin() + std::min<size_t>(d.vpd83.size(), 64));
    putBytes(r, 100, first);
    if (d.vpd83.size() > 64)
        putBytes(r, 294, Bytes(d.vpd83.begin() + 64, d.vpd83.end()));
    put8(r, 164, d.unsupported);
    put8(r, 165, d.type);
    put8(r, 167, d.deviceSpeed);
    put32(r, 168, d.mediaErrors);
    put32(r, 172, d.otherErrors);
    put32(r, 176, d.predictiveFailures);
    put32(r, 180, d.lastPredictiveSeq);
    put16(r, 184, d.state);
    put8(r, 187, d.linkSpeed);
    // The configuration gives the drive its in-use bits; the description adds others.
    put8(r, 188, d.configFlags | inUseFlags(c, d.deviceId) | foreignFlag(c, d.deviceId));
    put8(r, 189, interfaceCode(d.interface) << 4);
    putPorts(r, d);
    put64(r, 232, d.rawBlocks);
    put64(r, 240, d.nonCoercedBlocks.value_or(d.rawBlocks));
    put64(r, 248, d.coercedBlocks);
    put16(r, 256, d.enclosureId);
    put8(r, 258, enclosureIndex(c, d.enclosureId));
    put8(r, 259, d.slot);
    putProgress(r, d);
    putDetails(r, d);
    applyPatch(r, d.patch);
    return r;
}

// DCMD_PD_GET_INFO (mailbox bytes 0-1 = device id): the drive's information record; "no such
// device" for an id the controller does not have.
uint8_t pdGetInfo(SimState&, Controller& c, SimCommand& cmd)
{
    const uint32_t id = cmd.mailbox[0] & 0xFFFF;
    for (const Drive& d : c.drives)
        if (d.deviceId == id)
            return fwReply(cmd, driveInfo(c, d));
    return FW_STATUS_NO_DEVICE;
}

const FwRegistration registration({
    fwRead(OP_PD_GET_LIST, PD_LIST_DEFAULT_READ, pdGetList),
    fwRead(OP_PD_LIST_QUERY, PD_LIST_DEFAULT_READ, pdListQuery),
    fwBoth(OP_PD_LIST_OPERATION, DEVICE_LIST_MIN, pdListOperation),
    fwRead(OP_PD_GET_INFO, PD_INFO_SIZE, pdGetInfo),
});

} // namespace

} // namespace sim
