// The virtual drives whose cache the controller preserved, read with
// DCMD_LD_GET_PRESERVED_CACHE_LIST: a 64-bit mask whose bit t stands for target id t.
#ifndef ZPRPRESERVEDCACHELIST_H
#define ZPRPRESERVEDCACHELIST_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprPreservedCacheList {
public:
    static constexpr size_t SIZE = 8;

    static constexpr size_t MASK = 0;

    ZprPreservedCacheList(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint64_t mask() const { return bytes.u64(MASK); }

private:
    LeView bytes;
};

#endif
