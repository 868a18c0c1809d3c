// The list answered by DCMD_LD_SNAPSHOT_SUBCMD_0C: read in two passes, a 12-byte head whose
// count is at 4, then the whole list of 24 bytes per entry and a 16-byte head.
#ifndef ZPRSNAPSHOTVIEWLIST_H
#define ZPRSNAPSHOTVIEWLIST_H

#include <cstddef>
#include <cstdint>

class ZprSnapshotViewList {
public:
    static constexpr size_t FIRST_READ = 12;
    static constexpr size_t COUNT = 4;         // 32-bit
    static constexpr size_t HEAD = 16;
    static constexpr size_t ENTRY_SIZE = 24;
    // Target ids are 8-bit: no drive has more entries; a larger count is a corrupt answer.
    static constexpr uint32_t MAX_ENTRIES = 256;

    static uint32_t sizeForCount(uint32_t count) { return static_cast<uint32_t>(HEAD + ENTRY_SIZE * count); }
};

#endif
