// Drive commands of the simulated firmware: the drive list, the drive query and the
// device-list operation (spinning listed drives up).
#include "Simulator/SimFirmware.h"

#include <algorithm>

namespace sim {

namespace {

const uint32_t OP_PD_GET_LIST = 0x02010000;
const uint32_t OP_PD_LIST_QUERY = 0x02010100;
const uint32_t OP_PD_LIST_OPERATION = 0x020D0200;

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
uint8_t pdListOperation(SimState&, Controller& c, SimCommand& cmd)
{
    Bytes& b = cmd.data;
    const uint64_t listed = getN(b.data(), b.size(), DEVICE_LIST_COUNT, 4);
    const uint64_t room = b.size() > DEVICE_LIST_IDS ? (b.size() - DEVICE_LIST_IDS) / 2 : 0;
    uint64_t found = 0;
    for (uint64_t i = 0; i < std::min(listed, room); ++i) {
        const uint64_t id = getN(b.data(), b.size(), DEVICE_LIST_IDS + 2 * i, 2);
        found += std::any_of(c.drives.begin(), c.drives.end(), [id](const Drive& d) { return d.deviceId == id; });
    }
    put32(b, DEVICE_LIST_COUNT, found);
    cmd.dataReturned = true;
    return FW_STATUS_OK;
}

const FwRegistration registration({
    fwRead(OP_PD_GET_LIST, PD_LIST_DEFAULT_READ, pdGetList),
    fwRead(OP_PD_LIST_QUERY, PD_LIST_DEFAULT_READ, pdListQuery),
    fwBoth(OP_PD_LIST_OPERATION, DEVICE_LIST_MIN, pdListOperation),
});

} // namespace

} // namespace sim
