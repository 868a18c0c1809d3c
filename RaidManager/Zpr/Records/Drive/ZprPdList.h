// The drive list, read with DCMD_PD_GET_LIST and (for one query type) DCMD_PD_LIST_QUERY: a
// size and an entry count, then one 24-byte entry per device the controller sees. It is read
// in two passes: a short first block for the count, then the whole list.
#ifndef ZPRPDLIST_H
#define ZPRPDLIST_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"
#include "RaidManager/Zpr/Records/ZprListHeader.h"

class ZprPdListEntry {
public:
    static constexpr size_t SIZE = 24;

    static constexpr size_t DEVICE_ID = 0;         // 16-bit
    static constexpr size_t ENCLOSURE_ID = 2;      // 16-bit enclosure device id, 0xFFFF none
    static constexpr size_t ENCLOSURE_INDEX = 4;   // 8-bit
    static constexpr size_t SLOT = 5;              // 8-bit
    static constexpr size_t DEVICE_TYPE = 6;       // 8-bit SCSI device type, 0 disk

    static constexpr uint8_t DEVICE_TYPE_DISK = 0;

    explicit ZprPdListEntry(const LeView& bytes) : bytes(bytes) {}

    uint16_t deviceId() const { return bytes.u16(DEVICE_ID); }
    uint16_t enclosureId() const { return bytes.u16(ENCLOSURE_ID); }
    uint8_t enclosureIndex() const { return bytes.u8(ENCLOSURE_INDEX); }
    uint8_t slotNumber() const { return bytes.u8(SLOT); }
    uint8_t deviceType() const { return bytes.u8(DEVICE_TYPE); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

class ZprPdList : public ZprListHeader {
public:
    static constexpr size_t ENTRIES = 8;
    // The first pass reads this much: the command's default length.
    static constexpr uint32_t FIRST_READ_SIZE = 32;
    // Devices are addressed by 16-bit ids, so no list names more of them; a larger count is
    // a corrupt record.
    static constexpr uint32_t MAX_ENTRIES = 0x10000;

    ZprPdList() {}
    explicit ZprPdList(const LeView& bytes) : ZprListHeader(bytes) {}
    ZprPdList(const uint8_t* list, size_t size) : ZprListHeader(LeView(list, size)) {}

    // The length of a list of `count` entries; false when no list can have that many.
    static bool sizeForCount(uint32_t count, uint32_t* size)
    {
        if (count > MAX_ENTRIES)
            return false;
        *size = static_cast<uint32_t>(ENTRIES + static_cast<size_t>(count) * ZprPdListEntry::SIZE);
        return true;
    }

    // The entries to walk: the count, clamped to the entries the list has room for.
    uint32_t entryCount() const { return clampCount(count(), bytes.room(ENTRIES, ZprPdListEntry::SIZE, MAX_ENTRIES)); }
    // Entry `index`; an entry outside the list reads as zeroes.
    ZprPdListEntry entry(uint32_t index) const
    {
        return ZprPdListEntry(bytes.sub(ENTRIES + static_cast<size_t>(index) * ZprPdListEntry::SIZE, ZprPdListEntry::SIZE));
    }
};

#endif
