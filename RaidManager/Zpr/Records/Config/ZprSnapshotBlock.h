// The 72-byte block of the snapshot commands DCMD_LD_SNAPSHOT_SUBCMD_03 and _05: the drive's
// reference, then values whose meaning the system does not use.
#ifndef ZPRSNAPSHOTBLOCK_H
#define ZPRSNAPSHOTBLOCK_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprSnapshotBlock {
public:
    static constexpr size_t SIZE = 72;

    static constexpr size_t REFERENCE = 0;     // 32-bit ZprLdRef
    static constexpr size_t VALUE64 = 4;       // 64-bit
    static constexpr size_t NAME = 12;         // text with its NUL (subcommand 03)
    static constexpr size_t NAME_MAX_LENGTH = 16;
    static constexpr size_t VALUE16 = 12;      // 16 bytes (subcommand 05)
    static constexpr size_t VALUE16_SIZE = 16;
    static constexpr size_t VALUE32 = 32;      // 32-bit value widened to 64 bits
    static constexpr size_t TEXT = 40;         // first 16 bytes of a text
    static constexpr size_t TEXT_SIZE = 16;
    static constexpr size_t VALUE8 = 64;       // 8-bit

    explicit ZprSnapshotBlock(const LeView& bytes) : bytes(bytes) {}

    LeView& view() { return bytes; }

private:
    LeView bytes;
};

#endif
