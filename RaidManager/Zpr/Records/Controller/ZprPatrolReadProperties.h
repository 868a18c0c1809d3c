// The patrol-read properties, read with DCMD_ADP_PR_GET_PROPERTIES and written with
// DCMD_ADP_PR_SET_PROPERTIES. Times are seconds since 1 January 2000 00:00 local time.
#ifndef ZPRPATROLREADPROPERTIES_H
#define ZPRPATROLREADPROPERTIES_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

// The execution delay that runs the background check continuously, here and in the
// consistency-check schedule (ZprCcSchedule::EXECUTION_DELAY), which stores a delay of 0 so.
constexpr uint32_t DELAY_CONTINUOUS = 0xFFFFFFFF;

class ZprPatrolReadProperties {
public:
    static constexpr size_t SIZE = 208;

    static constexpr size_t MODE = 0;                 // 0 automatic, 1 manual, 2 disabled
    static constexpr size_t MAX_CONCURRENT_PDS = 1;
    static constexpr size_t ON_SSD = 2;
    static constexpr size_t NEXT_START = 196;         // 32-bit
    static constexpr size_t EXECUTION_DELAY = 200;    // 32-bit, hours; DELAY_CONTINUOUS

    explicit ZprPatrolReadProperties(const LeView& bytes) : bytes(bytes) {}
    ZprPatrolReadProperties(uint8_t* record, size_t size) : bytes(record, size) {}
    ZprPatrolReadProperties(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint8_t mode() const { return bytes.u8(MODE); }
    uint8_t onSsd() const { return bytes.u8(ON_SSD); }
    uint32_t executionDelay() const { return bytes.u32(EXECUTION_DELAY); }

    LeView& view() { return bytes; }
    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
