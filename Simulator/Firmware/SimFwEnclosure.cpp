// Enclosure commands of the simulated firmware: the enclosure list.
#include "Simulator/Firmware/SimFirmware.h"

namespace sim {

namespace {

const uint32_t OP_ENCL_GET_LIST = 0x09010000;

// The list: count at 0, then up to 32 entries of 144 bytes from 8.
const size_t ENCL_LIST_SIZE = 4616;
const size_t ENCL_LIST_MAX_ENTRIES = 32;
const size_t ENCL_ENTRY_OFFSET = 8;

// Drives of the controller that sit in the enclosure with this device id.
uint64_t drivesInEnclosure(const Controller& c, uint16_t deviceId)
{
    uint64_t n = 0;
    for (const Drive& d : c.drives)
        if (d.enclosureId == deviceId)
            ++n;
    return n;
}

// DCMD_ENCL_GET_LIST: one entry per enclosure (at most 32): device id, slot, power-supply,
// fan, sensor, alarm and SIM counts, status, type, position, the connector it hangs on and
// the number of drives in it. An enclosure's "patch" is laid over its entry, with offsets
// within the entry.
uint8_t enclGetList(SimState&, Controller& c, SimCommand& cmd)
{
    auto entry = [&c](Bytes& e, const Enclosure& encl) {
        put16(e, 0, encl.deviceId);
        put8(e, 3, encl.slots);
        put8(e, 4, encl.powerSupplies);
        put8(e, 5, encl.fans);
        put8(e, 6, encl.temperatureSensors);
        put8(e, 7, encl.alarms);
        put8(e, 8, encl.simModules);
        put8(e, 9, encl.status);
        put8(e, 10, encl.type);
        put8(e, 12, encl.position);
        put8(e, 13, encl.connector);
        put8(e, 15, encl.driveCount ? *encl.driveCount : drivesInEnclosure(c, encl.deviceId));
        applyPatch(e, encl.patch);
    };
    return fwReply(cmd, listRecord(ENCL_LIST_SIZE, ENCL_ENTRY_OFFSET, ENCL_ENTRY_SIZE, ENCL_LIST_MAX_ENTRIES,
                                   c.enclosures, entry));
}

const FwRegistration registration({
    fwRead(OP_ENCL_GET_LIST, ENCL_LIST_SIZE, enclGetList),
});

} // namespace

} // namespace sim
