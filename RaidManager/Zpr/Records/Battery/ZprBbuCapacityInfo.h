// The battery's capacity record, read with DCMD_BBU_GET_CAPACITY_INFO: charge, capacities,
// times in minutes (0xFFFF: does not apply), cycle count and the gauge's alarms.
#ifndef ZPRBBUCAPACITYINFO_H
#define ZPRBBUCAPACITYINFO_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprBbuCapacityInfo {
public:
    static constexpr size_t SIZE = 48;

    static constexpr size_t RELATIVE_CHARGE = 0;        // %
    static constexpr size_t ABSOLUTE_CHARGE = 2;        // %
    static constexpr size_t REMAINING_CAPACITY = 4;     // mAh
    static constexpr size_t FULL_CHARGE_CAPACITY = 6;   // mAh
    static constexpr size_t RUN_TIME_TO_EMPTY = 8;      // minutes
    static constexpr size_t AVERAGE_TIME_TO_EMPTY = 10;
    static constexpr size_t AVERAGE_TIME_TO_FULL = 12;
    static constexpr size_t CYCLE_COUNT = 14;
    static constexpr size_t MAX_ERROR = 16;             // %
    static constexpr size_t REMAINING_CAPACITY_ALARM = 18;   // mAh
    static constexpr size_t REMAINING_TIME_ALARM = 20;       // minutes

    static constexpr uint16_t TIME_NOT_APPLICABLE = 0xFFFF;

    explicit ZprBbuCapacityInfo(const LeView& bytes) : bytes(bytes) {}
    ZprBbuCapacityInfo(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint16_t field(size_t offset) const { return bytes.u16(offset); }
    uint16_t relativeCharge() const { return bytes.u16(RELATIVE_CHARGE); }
    uint16_t absoluteCharge() const { return bytes.u16(ABSOLUTE_CHARGE); }
    uint16_t remainingCapacity() const { return bytes.u16(REMAINING_CAPACITY); }
    uint16_t fullChargeCapacity() const { return bytes.u16(FULL_CHARGE_CAPACITY); }
    uint16_t runTimeToEmpty() const { return bytes.u16(RUN_TIME_TO_EMPTY); }
    uint16_t averageTimeToEmpty() const { return bytes.u16(AVERAGE_TIME_TO_EMPTY); }
    uint16_t averageTimeToFull() const { return bytes.u16(AVERAGE_TIME_TO_FULL); }
    uint16_t cycleCount() const { return bytes.u16(CYCLE_COUNT); }
    uint16_t maxError() const { return bytes.u16(MAX_ERROR); }
    uint16_t remainingCapacityAlarm() const { return bytes.u16(REMAINING_CAPACITY_ALARM); }
    uint16_t remainingTimeAlarm() const { return bytes.u16(REMAINING_TIME_ALARM); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
