// A list of logical-drive target ids, read with DCMD_LD_LIST_QUERY and
// DCMD_LD_TIDEWELL_GET_ASSOCIATIONS: a size and a count, three reserved bytes, then one 8-bit
// target id per entry. It is read in units of 12 bytes: first one unit for the count, then
// one unit per entry.
#ifndef ZPRLDIDLIST_H
#define ZPRLDIDLIST_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"
#include "RaidManager/Zpr/Records/ZprListHeader.h"

// Mailbox byte 0 of the SSD-cache association commands: the model's read of the list
// (DCMD_LD_TIDEWELL_GET_ASSOCIATIONS), and the write of the whole list
// (DCMD_LD_TIDEWELL_SET_ASSOCIATIONS).
constexpr uint8_t ASSOCIATIONS_QUERY = 0;
constexpr uint8_t ASSOCIATIONS_WRITE_ALL = 255;

class ZprLdIdList : public ZprListHeader {
public:
    static constexpr size_t IDS = 11;       // 8-bit target ids
    static constexpr uint32_t UNIT = 12;    // the list is read in units of this many bytes
    // Target ids are 8-bit, so no list names more drives; a larger count is a corrupt record.
    static constexpr uint32_t MAX_ENTRIES = 256;

    ZprLdIdList() {}
    explicit ZprLdIdList(const LeView& bytes) : ZprListHeader(bytes) {}
    ZprLdIdList(const uint8_t* list, size_t size) : ZprListHeader(LeView(list, size)) {}

    // The length the second pass reads for `count` entries (one unit when the count is 0);
    // false when no list can have that many.
    static bool sizeForCount(uint32_t count, uint32_t* size)
    {
        if (count > MAX_ENTRIES)
            return false;
        *size = count == 0 ? UNIT : count * UNIT;
        return true;
    }

    // The entries to walk: the count, clamped to the ids the list has room for.
    uint32_t entryCount() const { return clampCount(count(), bytes.room(IDS, 1, MAX_ENTRIES)); }
    uint8_t targetId(uint32_t index) const { return bytes.u8(IDS + index); }
    // Whether an entry holds the target id.
    bool holds(uint8_t id) const
    {
        for (uint32_t i = 0; i < entryCount(); ++i)
            if (targetId(i) == id)
                return true;
        return false;
    }
};

#endif
