// The scheduled consistency check's properties, read with DCMD_ADP_CC_SCHEDULE_GET_PROPERTIES
// and written with DCMD_ADP_CC_SCHEDULE_SET_PROPERTIES.
#ifndef ZPRCCSCHEDULE_H
#define ZPRCCSCHEDULE_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprCcSchedule {
public:
    static constexpr size_t SIZE = 168;

    static constexpr size_t MODE = 0;                 // 0 disabled, 1 sequential, 2 concurrent
    static constexpr size_t EXCLUDED_COUNT = 3;
    static constexpr size_t EXCLUDED = 4;             // 16-bit target ids
    static constexpr size_t MAX_EXCLUDED = 74;        // what fits before the start time
    static constexpr size_t NEXT_START = 152;         // 32-bit
    static constexpr size_t EXECUTION_DELAY = 156;    // 32-bit, seconds; DELAY_CONTINUOUS for 0

    explicit ZprCcSchedule(const LeView& bytes) : bytes(bytes) {}
    ZprCcSchedule(uint8_t* record, size_t size) : bytes(record, size) {}
    ZprCcSchedule(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint8_t mode() const { return bytes.u8(MODE); }
    // The excluded count, kept to the room the record has.
    uint8_t excludedCount() const { return static_cast<uint8_t>(clampCount(bytes.u8(EXCLUDED_COUNT), MAX_EXCLUDED)); }
    uint16_t excluded(size_t index) const { return bytes.u16(EXCLUDED + 2 * index); }
    uint32_t nextStart() const { return bytes.u32(NEXT_START); }
    uint32_t executionDelay() const { return bytes.u32(EXECUTION_DELAY); }

    // The excluded target ids; refused (nothing changed) when more than the record holds.
    bool setExcluded(const uint16_t* targetIds, size_t count)
    {
        if (count > MAX_EXCLUDED)
            return false;
        bytes.setU8(EXCLUDED_COUNT, static_cast<uint8_t>(count));
        for (size_t i = 0; i < count; ++i)
            bytes.setU16(EXCLUDED + 2 * i, targetIds[i]);
        return true;
    }

    LeView& view() { return bytes; }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
