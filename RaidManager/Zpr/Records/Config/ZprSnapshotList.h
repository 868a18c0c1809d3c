// The list answered by DCMD_LD_SNAPSHOT_SUBCMD_0A: a 152-byte head whose 32-bit count at 4 gives
// the 152-byte entries that follow it; DCMD_LD_SNAPSHOT_SUBCMD_09 answers one such entry.
#ifndef ZPRSNAPSHOTLIST_H
#define ZPRSNAPSHOTLIST_H

#include <cstddef>
#include <cstdint>

class ZprSnapshotList {
public:
    static constexpr size_t HEAD = 152;
    static constexpr size_t COUNT = 4;          // 32-bit
    static constexpr size_t ENTRY_SIZE = 152;
    // Snapshots name logical drives, of which there are at most 256; a larger count is corrupt.
    static constexpr uint32_t MAX_ENTRIES = 256;
    // The default length of one entry read with DCMD_LD_SNAPSHOT_SUBCMD_09.
    static constexpr uint32_t SINGLE_READ = 144;

    static uint32_t sizeFor(uint32_t count) { return static_cast<uint32_t>(HEAD + ENTRY_SIZE * count); }
};

#endif
