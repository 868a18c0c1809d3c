// Adapter commands of the simulated firmware behind the information display and the factory
// reset: manufacturing data, FRU data, PCI ids, the key=value texts, the controller clock, and the
// restore of the factory settings.
#include "Simulator/Firmware/SimFirmware.h"

namespace sim {

namespace {

const uint32_t OP_ADP_SET_FACTORY_DEFAULTS = 0x010D0000;
const uint32_t OP_ADP_MFC_GET_MFG_DATA = 0x010E0301;
const uint32_t OP_ADP_MFC_GET_FRU_DATA = 0x010E0302;
const uint32_t OP_ADP_MFC_GET_PCI_IDS = 0x010E0100;
const uint32_t PCI_IDS_SIZE = 8;
const uint32_t OP_ADP_GET_KEY_VALUES = 0x010B0100;
const uint32_t OP_ADP_GET_TIME = 0x01080101;
const uint32_t OP_ADP_SET_TIME = 0x01080102;
const uint32_t TIME_SIZE = 8;
const uint32_t OP_ADP_GET_TIME_SECONDS = 0x01080201;
const uint32_t TIME_SECONDS_SIZE = 4;

// A packed date: bits 0-4 day, bits 5-8 month, bits 9-15 year.
uint64_t packedDate(unsigned year, unsigned month, unsigned day)
{
    return (year << 9) | ((month & 0x0F) << 5) | (day & 0x1F);
}

// DCMD_ADP_MFC_GET_MFG_DATA: dates at 0 and 18, serial number at 2 (16), revision at 20 (8).
uint8_t adpMfcGetMfgData(SimState&, Controller& c, SimCommand& cmd)
{
    const MfgData& m = c.mfgData;
    Bytes r(MFG_DATA_SIZE, 0);
    put16(r, 0, packedDate(m.mfgYear, m.mfgMonth, m.mfgDay));
    putField(r, 2, 16, m.serialNumber);
    put16(r, 18, packedDate(m.reworkYear, m.reworkMonth, m.reworkDay));
    putField(r, 20, 8, m.revision);
    applyPatch(r, m.patch);
    return fwReply(cmd, r);
}

// DCMD_ADP_MFC_GET_FRU_DATA: the battery's FRU text at 0 (8), the cache module's from 8.
uint8_t adpMfcGetFruData(SimState&, Controller& c, SimCommand& cmd)
{
    Bytes r(FRU_DATA_SIZE, 0);
    putField(r, 0, 8, c.fruData.batteryFru);
    putField(r, 8, 24, c.fruData.cacheModuleFru);
    applyPatch(r, c.fruData.patch);
    return fwReply(cmd, r);
}

// DCMD_ADP_MFC_GET_PCI_IDS: the subsystem vendor and device ids, then the vendor and device
// ids, as the controller information gives them.
uint8_t adpMfcGetPciIds(SimState&, Controller& c, SimCommand& cmd)
{
    Bytes r(PCI_IDS_SIZE, 0);
    put16(r, 0, c.info.subVendorId);
    put16(r, 2, c.info.subDeviceId);
    put16(r, 4, c.info.vendorId);
    put16(r, 6, c.info.deviceId);
    return fwReply(cmd, r);
}

// DCMD_ADP_GET_KEY_VALUES: a 32-bit word (the texts' total length), then "key=value" texts,
// each with its NUL; an empty text (the zeros after them) ends the list.
uint8_t adpGetKeyValues(SimState&, Controller& c, SimCommand& cmd)
{
    Bytes r(KEY_VALUES_SIZE, 0);
    size_t at = 4;
    for (const KeyValue& kv : c.keyValues) {
        std::string text = kv.key + "=" + kv.value;
        if (at + text.size() + 1 > KEY_VALUES_SIZE)
            break;
        putText(r, at, text.size() + 1, text);
        at += text.size() + 1;
    }
    put32(r, 0, at - 4);
    applyPatch(r, c.keyValuesPatch);
    return fwReply(cmd, r);
}

// DCMD_ADP_GET_TIME: the 16-bit year, then month, day, hour, minute, second and a zero byte.
uint8_t adpGetTime(SimState&, Controller& c, SimCommand& cmd)
{
    const ControllerClock& t = c.time;
    Bytes r(TIME_SIZE, 0);
    put16(r, 0, t.year);
    put8(r, 2, t.month);
    put8(r, 3, t.day);
    put8(r, 4, t.hour);
    put8(r, 5, t.minute);
    put8(r, 6, t.second);
    return fwReply(cmd, r);
}

// DCMD_ADP_SET_TIME: the same eight bytes as the read; the clock keeps what was written.
uint8_t adpSetTime(SimState& state, Controller& c, SimCommand& cmd)
{
    ControllerClock& t = c.time;
    t.year = static_cast<uint16_t>(get16(cmd.data, 0));
    t.month = get8(cmd.data, 2);
    t.day = get8(cmd.data, 3);
    t.hour = get8(cmd.data, 4);
    t.minute = get8(cmd.data, 5);
    t.second = get8(cmd.data, 6);
    markStateChanged(state);
    return FW_STATUS_OK;
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
int64_t daysFromCivil(int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// DCMD_ADP_GET_TIME_SECONDS: the same clock as seconds since 2000-01-01 00:00:00 (0 for a
// clock never set or set before then).
uint8_t adpGetTimeSeconds(SimState&, Controller& c, SimCommand& cmd)
{
    const ControllerClock& t = c.time;
    int64_t seconds = 0;
    if (t.year >= 2000 && t.month >= 1 && t.month <= 12 && t.day >= 1) {
        int64_t days = daysFromCivil(t.year, t.month, t.day) - daysFromCivil(2000, 1, 1);
        seconds = days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
    }
    Bytes r(TIME_SECONDS_SIZE, 0);
    put32(r, 0, static_cast<uint32_t>(seconds));
    return fwReply(cmd, r);
}

// DCMD_ADP_SET_FACTORY_DEFAULTS: the settings return to the factory's at the next boot; the
// simulated controller has nothing to change before that.
uint8_t adpSetFactoryDefaults(SimState&, Controller&, SimCommand&)
{
    return FW_STATUS_OK;
}

const FwRegistration registration({
    fwNoData(OP_ADP_SET_FACTORY_DEFAULTS, adpSetFactoryDefaults),
    fwRead(OP_ADP_MFC_GET_MFG_DATA, MFG_DATA_SIZE, adpMfcGetMfgData),
    fwRead(OP_ADP_MFC_GET_FRU_DATA, FRU_DATA_SIZE, adpMfcGetFruData),
    fwRead(OP_ADP_MFC_GET_PCI_IDS, PCI_IDS_SIZE, adpMfcGetPciIds),
    fwRead(OP_ADP_GET_KEY_VALUES, KEY_VALUES_SIZE, adpGetKeyValues),
    fwRead(OP_ADP_GET_TIME, TIME_SIZE, adpGetTime),
    fwWrite(OP_ADP_SET_TIME, TIME_SIZE, adpSetTime),
    fwRead(OP_ADP_GET_TIME_SECONDS, TIME_SECONDS_SIZE, adpGetTimeSeconds),
});

} // namespace

} // namespace sim
