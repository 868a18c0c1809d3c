// The enclosure list, read with DCMD_ENCL_GET_LIST: a 32-bit count, then up to 32 entries of
// 144 bytes (ZprEnclosureEntry), one per enclosure.
#ifndef ZPRENCLOSURELIST_H
#define ZPRENCLOSURELIST_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprEnclosureEntry {
public:
    static constexpr size_t SIZE = 144;

    static constexpr size_t DEVICE_ID = 0;   // 16-bit enclosure device id
    static constexpr size_t SLOTS = 3;       // 8-bit counts: slots, power supplies, fans,
    static constexpr size_t POWER_SUPPLIES = 4;   // temperature sensors, alarms, SIM modules
    static constexpr size_t FANS = 5;
    static constexpr size_t TEMPERATURE_SENSORS = 6;
    static constexpr size_t ALARMS = 7;
    static constexpr size_t SIM_MODULES = 8;
    static constexpr size_t STATUS = 9;      // 8-bit: nonzero faulty
    static constexpr size_t TYPE = 10;       // 8-bit: 1 SAF-TE, 2 SES, 3 SGPIO
    static constexpr size_t POSITION = 12;   // 8-bit
    static constexpr size_t PROPERTY = 13;   // 8-bit: the controller connector it hangs on; NO_CONNECTOR none
    static constexpr size_t DRIVES = 15;     // 8-bit number of physical drives

    explicit ZprEnclosureEntry(const LeView& bytes) : bytes(bytes) {}

    uint16_t deviceId() const { return bytes.u16(DEVICE_ID); }
    uint8_t property() const { return bytes.u8(PROPERTY); }
    uint8_t status() const { return bytes.u8(STATUS); }
    uint8_t type() const { return bytes.u8(TYPE); }
    uint8_t position() const { return bytes.u8(POSITION); }
    uint8_t driveCount() const { return bytes.u8(DRIVES); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

class ZprEnclosureList {
public:
    static constexpr size_t SIZE = 4616;

    static constexpr size_t COUNT = 0;   // 32-bit number of enclosures
    static constexpr size_t ENTRIES = 8;
    static constexpr uint32_t MAX_ENTRIES = 32;

    explicit ZprEnclosureList(const LeView& bytes) : bytes(bytes) {}
    ZprEnclosureList(const uint8_t* record, size_t size) : bytes(record, size) {}
    // An absent list: an empty view.
    ZprEnclosureList() {}

    // The count as the firmware reports it: not a loop bound.
    uint32_t count() const { return bytes.u32(COUNT); }
    // The entries to walk: the count, clamped to the entries the record has room for.
    uint32_t entryCount() const
    {
        return clampCount(count(), bytes.room(ENTRIES, ZprEnclosureEntry::SIZE, MAX_ENTRIES));
    }
    // False when the count claims more entries than the list can hold: a corrupt record.
    bool isCountValid() const { return count() <= entryCount(); }
    // Entry `index`; an entry outside the record reads as zeroes.
    ZprEnclosureEntry entry(uint32_t index) const
    {
        return ZprEnclosureEntry(bytes.sub(ENTRIES + static_cast<size_t>(index) * ZprEnclosureEntry::SIZE,
                                           ZprEnclosureEntry::SIZE));
    }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
