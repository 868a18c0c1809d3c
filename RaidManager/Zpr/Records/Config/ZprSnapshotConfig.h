// The block answered by DCMD_LD_SNAPSHOT_SUBCMD_08: read first as 288 bytes, whose counts at 32
// and 33 give the entries of 88 and of 144 bytes that follow the 288-byte head.
#ifndef ZPRSNAPSHOTCONFIG_H
#define ZPRSNAPSHOTCONFIG_H

#include <cstddef>
#include <cstdint>

class ZprSnapshotConfig {
public:
    static constexpr size_t HEAD = 288;
    static constexpr size_t FIRST_COUNT = 32;    // 8-bit
    static constexpr size_t SECOND_COUNT = 33;   // 8-bit
    static constexpr size_t FIRST_ENTRY_SIZE = 88;
    static constexpr size_t SECOND_ENTRY_SIZE = 144;

    static uint32_t sizeFor(uint8_t first, uint8_t second)
    {
        return static_cast<uint32_t>(HEAD + FIRST_ENTRY_SIZE * first + SECOND_ENTRY_SIZE * second);
    }
};

#endif
