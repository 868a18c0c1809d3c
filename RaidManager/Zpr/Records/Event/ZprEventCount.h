// The answer of DCMD_ADP_EVENT_GET_COUNT: one 32-bit count.
#ifndef ZPREVENTCOUNT_H
#define ZPREVENTCOUNT_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprEventCount {
public:
    static constexpr size_t SIZE = 4;

    ZprEventCount(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint32_t count() const { return bytes.u32(0); }

private:
    LeView bytes;
};

#endif
