// The drive performance monitor's configuration, read with DCMD_DPM_GET_CONFIG: byte 0 is the
// monitor's configuration byte.
#ifndef ZPRDPMCONFIGURATION_H
#define ZPRDPMCONFIGURATION_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprDpmConfiguration {
public:
    static constexpr size_t SIZE = 16;

    static constexpr size_t CONFIGURATION = 0;           // not 0: the monitor is on
    static constexpr size_t MAX_AVERAGING_COMMANDS = 2;  // 16-bit
    static constexpr size_t MAX_LATENCY_COMMANDS = 4;    // 16-bit
    static constexpr size_t TICKS_PER_SECOND = 8;        // 32-bit: the divisor of every response time

    ZprDpmConfiguration(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint8_t configuration() const { return bytes.u8(CONFIGURATION); }
    uint16_t maxAveragingCommands() const { return bytes.u16(MAX_AVERAGING_COMMANDS); }
    uint16_t maxLatencyCommands() const { return bytes.u16(MAX_LATENCY_COMMANDS); }
    uint32_t ticksPerSecond() const { return bytes.u32(TICKS_PER_SECOND); }

private:
    LeView bytes;
};

#endif
