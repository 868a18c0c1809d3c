// One span of a logical drive, inside the drive's configuration record: the extent it takes
// on each drive of one array.
#ifndef ZPRSPANRECORD_H
#define ZPRSPANRECORD_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprSpanRecord {
public:
    static constexpr size_t SIZE = 24;

    static constexpr size_t START_BLOCK = 0;   // 64-bit first block on each drive
    static constexpr size_t BLOCK_COUNT = 8;   // 64-bit length of the extent on each drive
    static constexpr size_t ARRAY_REF = 16;    // 16-bit array the span lies on

    // An absent record: an empty view.
    ZprSpanRecord() {}
    explicit ZprSpanRecord(const LeView& bytes) : bytes(bytes) {}

    bool isPresent() const { return bytes.size() != 0; }

    uint64_t startBlock() const { return bytes.u64(START_BLOCK); }
    uint64_t blockCount() const { return bytes.u64(BLOCK_COUNT); }
    uint16_t arrayRef() const { return bytes.u16(ARRAY_REF); }
    // False, nothing changed, over a read-only record.
    bool set(uint64_t start, uint64_t count, uint16_t arrayRef)
    {
        return bytes.setU64(START_BLOCK, start) && bytes.setU64(BLOCK_COUNT, count) && bytes.setU16(ARRAY_REF, arrayRef);
    }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
