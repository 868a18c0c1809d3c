// The progress of the operations running on one drive, read with DCMD_PD_GET_PROGRESS (mailbox
// bytes 0-1 the device id): which operations run, one progress entry for rebuild or copyback
// and one for clear or secure erase, and which operations are suspended.
#ifndef ZPRPDPROGRESSBLOCK_H
#define ZPRPDPROGRESSBLOCK_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class PdProgressBlock {
public:
    static constexpr size_t SIZE = 32;

    static constexpr size_t RUNNING = 0;           // 32-bit, operation bits below
    static constexpr size_t REBUILD_OR_COPYBACK = 4;   // progress entry
    static constexpr size_t CLEAR_OR_ERASE = 12;   // progress entry
    static constexpr size_t SUSPENDED = 16;        // 32-bit, operation bits below

    // A progress entry: 16-bit progress in 65535ths, then 16-bit elapsed seconds.
    static constexpr size_t ENTRY_PROGRESS = 0;
    static constexpr size_t ENTRY_ELAPSED = 2;

    static constexpr uint32_t OP_REBUILD = 0x01;
    static constexpr uint32_t OP_PATROL_READ = 0x02;
    static constexpr uint32_t OP_CLEAR = 0x04;
    static constexpr uint32_t OP_COPYBACK = 0x08;
    static constexpr uint32_t OP_SECURE_ERASE = 0x10;

    explicit PdProgressBlock(const LeView& bytes) : bytes(bytes) {}
    PdProgressBlock(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint32_t running() const { return bytes.u32(RUNNING); }
    uint32_t suspended() const { return bytes.u32(SUSPENDED); }
    uint16_t progress(size_t entry) const { return bytes.u16(entry + ENTRY_PROGRESS); }
    uint16_t elapsedSeconds(size_t entry) const { return bytes.u16(entry + ENTRY_ELAPSED); }

private:
    LeView bytes;
};

#endif
