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
    static constexpr size_t ENTRY_SEQUENCE = 2;      // 16-bit, within an entry
    static constexpr size_t ENTRY_STATE = 4;         // 8-bit, within an entry: 3 optimal
    static constexpr size_t ENTRY_SIZE_BLOCKS = 8;   // 64-bit, within an entry

    explicit ZprLdList(const LeView& bytes) : bytes(bytes) {}
    ZprLdList(const uint8_t* record, size_t size) : bytes(record, size) {}
    // An absent list: an empty view.
    ZprLdList() {}

    // The count as the firmware reports it: not a loop bound.
    uint32_t count() const { return bytes.u32(COUNT); }
    // The entries to walk: the count, clamped to the entries the record has room for.
    uint32_t entryCount() const { return clampCount(count(), bytes.room(ENTRIES, ENTRY_SIZE, MAX_ENTRIES)); }
    // False when the count claims more entries than the list can hold: a corrupt record.
    bool isCountValid() const { return count() <= entryCount(); }
    // The target id of entry `index` (0 for an entry outside the record).
    uint8_t targetId(uint32_t index) const { return bytes.u8(ENTRIES + index * ENTRY_SIZE + ENTRY_TARGET_ID); }
    uint8_t state(uint32_t index) const { return bytes.u8(ENTRIES + index * ENTRY_SIZE + ENTRY_STATE); }
    uint16_t sequenceNumber(uint32_t index) const { return bytes.u16(ENTRIES + index * ENTRY_SIZE + ENTRY_SEQUENCE); }
    uint64_t sizeBlocks(uint32_t index) const { return bytes.u64(ENTRIES + index * ENTRY_SIZE + ENTRY_SIZE_BLOCKS); }
    // The logical-drive reference of entry `index`: target id, reserved byte, sequence number.
    uint32_t reference(uint32_t index) const { return bytes.u32(ENTRIES + index * ENTRY_SIZE + ENTRY_TARGET_ID); }

    bool isPresent() const { return bytes.size() != 0; }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
