// The 16-byte block of DCMD_LD_SNAPSHOT_SUBCMD_01: a 64-bit value, an 8-bit value and a flag.
#ifndef ZPRSNAPSHOTSPACE_H
#define ZPRSNAPSHOTSPACE_H

#include <cstddef>

class ZprSnapshotSpace {
public:
    static constexpr size_t SIZE = 16;

    static constexpr size_t VALUE64 = 0;   // 64-bit
    static constexpr size_t VALUE8 = 8;    // 8-bit
    static constexpr size_t FLAG = 9;      // 8-bit: 1 or 0
};

#endif
