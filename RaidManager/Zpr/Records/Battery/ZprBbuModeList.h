// The battery's mode list, read with DCMD_BBU_GET_DATA_RECORDS: a u32 count, then one 8-byte
// record per mode (id, retention hours, service-life code, a flags byte whose bit 0 marks a
// transparent learn cycle). The list is 4 + 8 x count bytes long; the count is the firmware's
// word and is clamped before it sizes a buffer or bounds a loop.
#ifndef ZPRBBUMODELIST_H
#define ZPRBBUMODELIST_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprBbuModeList {
public:
    static constexpr size_t COUNT = 0;
    static constexpr size_t FIRST_RECORD = 4;
    static constexpr size_t RECORD_SIZE = 8;
    // Mode ids are bytes, so a battery cannot have more distinct modes than this.
    static constexpr uint32_t MAX_RECORDS = 255;
    // The first read: the count and one record.
    static constexpr size_t PROBE_SIZE = FIRST_RECORD + RECORD_SIZE;

    // Fields of a record, from its start.
    static constexpr size_t MODE_ID = 0;
    static constexpr size_t RETENTION_HOURS = 1;
    static constexpr size_t SERVICE_LIFE = 2;
    static constexpr size_t FLAGS = 4;            // bit 0: transparent learn cycle

    static constexpr size_t sizeFor(uint32_t count) { return FIRST_RECORD + RECORD_SIZE * count; }

    explicit ZprBbuModeList(const LeView& bytes) : bytes(bytes) {}
    ZprBbuModeList(const uint8_t* list, size_t size) : bytes(list, size) {}

    // The count as the firmware gave it.
    uint32_t countWord() const { return bytes.u32(COUNT); }
    // The records the list can hold: the count, clamped to MAX_RECORDS and to the room.
    size_t count() const
    {
        uint32_t given = countWord() < MAX_RECORDS ? countWord() : MAX_RECORDS;
        return bytes.room(FIRST_RECORD, RECORD_SIZE, given);
    }
    uint8_t modeId(size_t index) const { return bytes.u8(at(index) + MODE_ID); }
    uint8_t retentionHours(size_t index) const { return bytes.u8(at(index) + RETENTION_HOURS); }
    uint8_t serviceLife(size_t index) const { return bytes.u8(at(index) + SERVICE_LIFE); }
    bool transparentLearn(size_t index) const { return bytes.bit(at(index) + FLAGS, 0); }

    const LeView& view() const { return bytes; }

private:
    static size_t at(size_t index) { return FIRST_RECORD + RECORD_SIZE * index; }

    LeView bytes;
};

#endif
