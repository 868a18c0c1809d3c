// The 28-byte error-counter response of a phy-control request, laid out as the SAS management
// protocol's phy error log.
#ifndef ZPRPHYERRORCOUNTERS_H
#define ZPRPHYERRORCOUNTERS_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprPhyErrorCounters {
public:
    static constexpr size_t SIZE = 28;

    static constexpr size_t INVALID_DWORDS = 12;
    static constexpr size_t DISPARITY_ERRORS = 16;
    static constexpr size_t LOSS_OF_SYNC = 20;
    static constexpr size_t RESET_PROBLEMS = 24;

    ZprPhyErrorCounters(const uint8_t* counters, size_t size) : bytes(counters, size) {}

    uint32_t invalidDwords() const { return bytes.u32(INVALID_DWORDS); }
    uint32_t disparityErrors() const { return bytes.u32(DISPARITY_ERRORS); }
    uint32_t lossOfSync() const { return bytes.u32(LOSS_OF_SYNC); }
    uint32_t resetProblems() const { return bytes.u32(RESET_PROBLEMS); }

private:
    LeView bytes;
};

#endif
