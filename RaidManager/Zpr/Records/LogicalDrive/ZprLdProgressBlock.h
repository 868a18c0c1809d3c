// The progress of a logical drive's long operations, read with DCMD_LD_GET_PROGRESS: which
// operations run, one progress entry per kind of operation, and which are suspended. A
// secure erase reports its progress in the consistency-check entry.
#ifndef ZPRLDPROGRESSBLOCK_H
#define ZPRLDPROGRESSBLOCK_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "PavUtil/LeView.h"

// One operation's progress: done so far in 65535ths, and the seconds it has run.
struct ProgressEntry {
    uint16_t progress;
    uint16_t elapsedSeconds;
};

class LdProgressBlock {
public:
    static constexpr size_t SIZE = 36;

    static constexpr size_t RUNNING = 0;               // 32-bit set of RUNNING_* bits
    static constexpr size_t CONSISTENCY_CHECK = 4;     // ProgressEntry (also the secure erase's)
    static constexpr size_t BACKGROUND_INIT = 8;       // ProgressEntry
    static constexpr size_t INITIALIZATION = 12;       // ProgressEntry
    static constexpr size_t RECONSTRUCTION = 16;       // ProgressEntry
    static constexpr size_t SUSPENDED = 24;            // 32-bit set of RUNNING_* bits (CC, BGI)
    static constexpr size_t ENTRY_PROGRESS = 0;        // 16-bit, within an entry
    static constexpr size_t ENTRY_ELAPSED = 2;         // 16-bit seconds, within an entry

    static constexpr uint32_t RUNNING_CONSISTENCY_CHECK = 0x01;
    static constexpr uint32_t RUNNING_BACKGROUND_INIT = 0x02;
    static constexpr uint32_t RUNNING_INITIALIZATION = 0x04;
    static constexpr uint32_t RUNNING_RECONSTRUCTION = 0x08;
    static constexpr uint32_t RUNNING_SECURE_ERASE = 0x10;

    LdProgressBlock() { memset(raw, 0, sizeof raw); }

    uint8_t* bytes() { return raw; }
    uint32_t running() const { return view().u32(RUNNING); }
    uint32_t suspended() const { return view().u32(SUSPENDED); }
    // The entry at one of the entry offsets above.
    ProgressEntry entry(size_t offset) const
    {
        ProgressEntry e = {view().u16(offset + ENTRY_PROGRESS), view().u16(offset + ENTRY_ELAPSED)};
        return e;
    }

private:
    LeView view() const { return LeView(static_cast<const uint8_t*>(raw), SIZE); }

    uint8_t raw[SIZE];
};

#endif
