// The logical-drive list, read with DCMD_LD_GET_LIST: a 32-bit count, then up to 64 entries
// of 16 bytes, each naming one logical drive by its target id.
#ifndef ZPRLDLIST_H
#define ZPRLDLIST_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprLdList {
public:
    static constexpr size_t SIZE = 1032;

    static constexpr size_t COUNT = 0;               // 32-bit number of logical drives
    static constexpr size_t ENTRIES = 8;
    static constexpr size_t ENTRY_SIZE = 16;
    static constexpr uint32_t MAX_ENTRIES = 64;
    static constexpr size_t ENTRY_TARGET_ID = 0;     // 8-bit, within an entry

    explicit ZprLdList(const LeView& bytes) : bytes(bytes) {}
    ZprLdList(const uint8_t* record, size_t size) : bytes(record, size) {}

    // The count as the firmware reports it: not a loop bound.
    uint32_t count() const { return bytes.u32(COUNT); }
    // The entries to walk: the count, clamped to the entries the record has room for.
    uint32_t entryCount() const { return clampCount(count(), bytes.room(ENTRIES, ENTRY_SIZE, MAX_ENTRIES)); }
    // The target id of entry `index` (0 for an entry outside the record).
    uint8_t targetId(uint32_t index) const { return bytes.u8(ENTRIES + index * ENTRY_SIZE + ENTRY_TARGET_ID); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
