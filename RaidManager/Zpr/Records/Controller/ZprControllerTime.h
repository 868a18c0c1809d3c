// The controller clock, read with DCMD_ADP_GET_TIME and written with DCMD_ADP_SET_TIME: the
// date and time of day, one byte each after a 16-bit year; the last byte is reserved (0).
#ifndef ZPRCONTROLLERTIME_H
#define ZPRCONTROLLERTIME_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprControllerTime {
public:
    static constexpr size_t SIZE = 8;

    static constexpr size_t YEAR = 0;     // 16-bit
    static constexpr size_t MONTH = 2;
    static constexpr size_t DAY = 3;
    static constexpr size_t HOUR = 4;
    static constexpr size_t MINUTE = 5;
    static constexpr size_t SECOND = 6;

    explicit ZprControllerTime(const LeView& bytes) : bytes(bytes) {}
    ZprControllerTime(const uint8_t* record, size_t size) : bytes(record, size) {}
    // A view that also writes the record (the clock to set).
    ZprControllerTime(uint8_t* record, size_t size) : bytes(record, size) {}

    uint16_t year() const { return bytes.u16(YEAR); }
    uint8_t month() const { return bytes.u8(MONTH); }
    uint8_t day() const { return bytes.u8(DAY); }
    uint8_t hour() const { return bytes.u8(HOUR); }
    uint8_t minute() const { return bytes.u8(MINUTE); }
    uint8_t second() const { return bytes.u8(SECOND); }
    // Writes the date and the time of day; the reserved byte is left as it is (0 in a zeroed record).
    void set(uint16_t y, uint8_t mon, uint8_t d, uint8_t h, uint8_t min, uint8_t s)
    {
        bytes.setU16(YEAR, y);
        bytes.setU8(MONTH, mon);
        bytes.setU8(DAY, d);
        bytes.setU8(HOUR, h);
        bytes.setU8(MINUTE, min);
        bytes.setU8(SECOND, s);
    }
    // True when every byte of the record is 0: the clock was never set.
    bool isUnset() const
    {
        for (size_t i = 0; i < SIZE; ++i)
            if (bytes.u8(i) != 0)
                return false;
        return true;
    }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
