// Battery backup unit commands of the simulated firmware: the status, capacity and design
// records, the properties (kept as written), the mode list (status 2 when the battery has none
// to give), learn cycle, manufacturing sleep and seal, and the raw read of the gas gauge's
// memory (a controller-private command).
#include "Simulator/Firmware/SimFirmware.h"

#include <algorithm>

namespace sim {

namespace {

const uint32_t OP_BBU_GET_STATUS = 0x05010000;
const uint32_t OP_BBU_GET_CAPACITY_INFO = 0x05020000;
const uint32_t OP_BBU_GET_DESIGN_INFO = 0x05030000;
const uint32_t OP_BBU_START_LEARN = 0x05040000;
const uint32_t OP_BBU_GET_PROPERTIES = 0x05050100;
const uint32_t OP_BBU_SET_PROPERTIES = 0x05050200;
const uint32_t OP_BBU_MFG_DORMANT = 0x05060100;
const uint32_t OP_BBU_MFG_SEAL = 0x05060200;
const uint32_t OP_BBU_GET_DATA_RECORDS = 0x05070100;
const uint32_t OP_ADP_BBU_RAW_READ = 0x010EE100;

const size_t MODE_RECORD_SIZE = 8;
const size_t RAW_READ_REPLY_SIZE = 9;
const size_t RAW_READ_VALUE = 7;
const uint32_t LEARN_ACTIVE_BIT = 1u << 6;

Bytes statusRecord(const BbuStatus& s)
{
    Bytes r(BBU_STATUS_SIZE, 0);
    put8(r, 0, s.type);
    put8(r, 1, s.variant);
    put16(r, 2, s.voltage);
    put16(r, 4, static_cast<uint16_t>(s.current));
    put16(r, 6, s.temperature);
    put32(r, 8, s.firmwareStatus);
    put16(r, 32, s.gasGauge);
    for (size_t i = 0; i < s.readings.size() && i < BBU_STATUS_READINGS; ++i)
        put16(r, 34 + 2 * i, s.readings[i]);
    put8(r, 46, s.chargeTime);
    applyPatch(r, s.patch);
    return r;
}

Bytes capacityRecord(const BbuCapacity& c)
{
    Bytes r(BBU_CAPACITY_SIZE, 0);
    const uint16_t fields[] = {c.relativeCharge,     c.absoluteCharge,   c.remainingCapacity, c.fullChargeCapacity,
                               c.runTimeToEmpty,     c.averageTimeToEmpty, c.averageTimeToFull, c.cycleCount,
                               c.maxError,           c.remainingCapacityAlarm, c.remainingTimeAlarm};
    for (size_t i = 0; i < sizeof fields / sizeof fields[0]; ++i)
        put16(r, 2 * i, fields[i]);
    applyPatch(r, c.patch);
    return r;
}

Bytes designRecord(const Controller& c)
{
    const BbuDesign& d = c.battery.design;
    Bytes r(BBU_DESIGN_SIZE, 0);
    put32(r, 0, static_cast<uint32_t>(d.day & 0x1F) | (static_cast<uint32_t>(d.month & 0xF) << 5) |
                    (static_cast<uint32_t>(d.year) << 9));
    put16(r, 4, d.designCapacity);
    put16(r, 6, d.designVoltage);
    put16(r, 8, d.specificationInfo);
    put16(r, 10, d.serialNumber);
    put16(r, 12, d.packStatConfig);
    putField(r, 14, 12, d.manufacturerName);
    putField(r, 26, 8, d.deviceName);
    putField(r, 34, 5, d.deviceChemistry);
    put8(r, 47, d.modesSupported);
    put8(r, 48, d.transparentLearn);
    putField(r, 49, 8, c.bbuModuleVersion);
    put8(r, 57, d.appData);
    applyPatch(r, d.patch);
    return r;
}

Bytes bbuPropertiesRecord(const BbuProperties& p)
{
    Bytes r(BBU_PROPERTIES_SIZE, 0);
    put32(r, 0, p.autoLearnPeriod);
    put32(r, 4, p.nextLearnTime);
    put8(r, 8, p.learnDelayInterval);
    put8(r, 9, p.autoLearnMode);
    put8(r, 10, p.bbuMode);
    applyPatch(r, p.patch);
    return r;
}

void decodeProperties(const Bytes& r, BbuProperties& p)
{
    p.autoLearnPeriod = get32(r, 0);
    p.nextLearnTime = get32(r, 4);
    p.learnDelayInterval = get8(r, 8);
    p.autoLearnMode = get8(r, 9);
    p.bbuMode = get8(r, 10);
}

uint8_t bbuGetStatus(SimState&, Controller& c, SimCommand& cmd)
{
    return fwReply(cmd, statusRecord(c.battery.status));
}

uint8_t bbuGetCapacityInfo(SimState&, Controller& c, SimCommand& cmd)
{
    return fwReply(cmd, capacityRecord(c.battery.capacity));
}

uint8_t bbuGetDesignInfo(SimState&, Controller& c, SimCommand& cmd)
{
    return fwReply(cmd, designRecord(c));
}

uint8_t bbuGetProperties(SimState&, Controller& c, SimCommand& cmd)
{
    return fwReply(cmd, bbuPropertiesRecord(c.battery.properties));
}

uint8_t bbuSetProperties(SimState& state, Controller& c, SimCommand& cmd)
{
    storeWritten(cmd.data, c.battery.properties, decodeProperties, bbuPropertiesRecord);
    markStateChanged(state);
    return FW_STATUS_OK;
}

// The list: a 32-bit count, then one 8-byte record per mode; a caller's shorter buffer gets
// the count and the records that fit.
uint8_t bbuGetDataRecords(SimState&, Controller& c, SimCommand& cmd)
{
    if (!c.battery.modesAvailable)
        return FW_STATUS_INVALID_COMMAND;
    const std::vector<BbuMode>& modes = c.battery.modes;
    size_t count = std::min(modes.size(), BBU_MAX_MODES);
    Bytes r = listRecord(4 + MODE_RECORD_SIZE * count, 4, MODE_RECORD_SIZE, count, modes,
                         [](Bytes& e, const BbuMode& m) {
                             put8(e, 0, m.id);
                             put8(e, 1, m.retention);
                             put8(e, 2, m.serviceLife);
                             put8(e, 4, m.flags);
                         });
    return fwReply(cmd, r);
}

// A learn cycle starts at once and shows as active in the status until the description says
// otherwise.
uint8_t bbuStartLearn(SimState& state, Controller& c, SimCommand&)
{
    c.battery.status.firmwareStatus |= LEARN_ACTIVE_BIT;
    markStateChanged(state);
    return FW_STATUS_OK;
}

uint8_t bbuManufacturingCommand(SimState&, Controller&, SimCommand&)
{
    return FW_STATUS_OK;
}

// Mailbox word 0 = 1 (read), the low 16 bits of word 1 the address, word 2 the byte count;
// the 16-bit value at the address comes back in reply bytes 7-8. An address outside the
// memory is refused.
uint8_t adpBbuRawRead(SimState&, Controller& c, SimCommand& cmd)
{
    const Bytes& memory = c.battery.gasGaugeMemory;
    size_t address = cmd.mailbox[1] & 0xFFFF;
    if (address >= memory.size()) {
        cmd.note = "refused=address";
        return FW_STATUS_INVALID_ARGUMENT;
    }
    Bytes r(RAW_READ_REPLY_SIZE, 0);
    put8(r, RAW_READ_VALUE, memory[address]);
    if (address + 1 < memory.size() && cmd.mailbox[2] > 1)
        put8(r, RAW_READ_VALUE + 1, memory[address + 1]);
    return fwReply(cmd, r);
}

const FwRegistration registration({
    fwRead(OP_BBU_GET_STATUS, BBU_STATUS_SIZE, bbuGetStatus),
    fwRead(OP_BBU_GET_CAPACITY_INFO, BBU_CAPACITY_SIZE, bbuGetCapacityInfo),
    fwRead(OP_BBU_GET_DESIGN_INFO, BBU_DESIGN_SIZE, bbuGetDesignInfo),
    fwNoData(OP_BBU_START_LEARN, bbuStartLearn),
    fwRead(OP_BBU_GET_PROPERTIES, BBU_PROPERTIES_SIZE, bbuGetProperties),
    fwWrite(OP_BBU_SET_PROPERTIES, BBU_PROPERTIES_SIZE, bbuSetProperties),
    fwNoData(OP_BBU_MFG_DORMANT, bbuManufacturingCommand),
    fwNoData(OP_BBU_MFG_SEAL, bbuManufacturingCommand),
    fwRead(OP_BBU_GET_DATA_RECORDS, 4, bbuGetDataRecords),
    fwRead(OP_ADP_BBU_RAW_READ, RAW_READ_REPLY_SIZE, adpBbuRawRead),
});

} // namespace

} // namespace sim
