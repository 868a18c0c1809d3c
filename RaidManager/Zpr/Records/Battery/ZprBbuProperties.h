// The battery's settings record, read with DCMD_BBU_GET_PROPERTIES and written back whole with
// DCMD_BBU_SET_PROPERTIES; bytes not named here are sent back as they were read.
#ifndef ZPRBBUPROPERTIES_H
#define ZPRBBUPROPERTIES_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprBbuProperties {
public:
    static constexpr size_t SIZE = 32;

    static constexpr size_t AUTO_LEARN_PERIOD = 0;    // u32, seconds
    static constexpr size_t NEXT_LEARN_TIME = 4;      // u32, controller time stamp
    static constexpr size_t LEARN_DELAY_INTERVAL = 8; // hours
    static constexpr size_t AUTO_LEARN_MODE = 9;      // 0 enabled, 1 disabled, 2 warn via event
    static constexpr size_t BBU_MODE = 10;            // id of the current mode record; 0 undefined

    static constexpr uint8_t AUTO_LEARN_ENABLED = 0;
    static constexpr uint8_t AUTO_LEARN_DISABLED = 1;
    static constexpr uint8_t AUTO_LEARN_WARN = 2;

    explicit ZprBbuProperties(const LeView& bytes) : bytes(bytes) {}
    ZprBbuProperties(uint8_t* record, size_t size) : bytes(record, size) {}
    ZprBbuProperties(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint32_t autoLearnPeriod() const { return bytes.u32(AUTO_LEARN_PERIOD); }
    uint32_t nextLearnTime() const { return bytes.u32(NEXT_LEARN_TIME); }
    uint8_t learnDelayInterval() const { return bytes.u8(LEARN_DELAY_INTERVAL); }
    uint8_t autoLearnMode() const { return bytes.u8(AUTO_LEARN_MODE); }
    uint8_t bbuMode() const { return bytes.u8(BBU_MODE); }

    bool setNextLearnTime(uint32_t value) { return bytes.setU32(NEXT_LEARN_TIME, value); }
    bool setLearnDelayInterval(uint8_t value) { return bytes.setU8(LEARN_DELAY_INTERVAL, value); }
    bool setAutoLearnMode(uint8_t value) { return bytes.setU8(AUTO_LEARN_MODE, value); }
    bool setBbuMode(uint8_t value) { return bytes.setU8(BBU_MODE, value); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
