// The events DCMD_ADP_EVENT_GET hands out: a 32-bit count, 4 bytes not read, then that many
// 256-byte event records.
#ifndef ZPREVENTLIST_H
#define ZPREVENTLIST_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"
#include "RaidManager/Zpr/Records/Event/ZprEventRecord.h"

class ZprEventList {
public:
    static constexpr size_t COUNT = 0;
    static constexpr size_t EVENTS = 8;
    static constexpr uint32_t MAX_BATCH = 128;

    // The buffer length that holds `events` events.
    static constexpr uint32_t sizeFor(uint32_t events) { return EVENTS + events * ZprEventRecord::SIZE; }

    ZprEventList(const uint8_t* list, size_t size) : bytes(list, size) {}

    // The count as the controller gives it: not a loop bound.
    uint32_t count() const { return bytes.u32(COUNT); }
    // The events to walk: the count, clamped to the records the buffer holds and to `asked`.
    uint32_t eventCount(uint32_t asked) const
    {
        const size_t room = bytes.size() < EVENTS ? 0 : (bytes.size() - EVENTS) / ZprEventRecord::SIZE;
        uint32_t n = count();
        if (n > room)
            n = static_cast<uint32_t>(room);
        return n < asked ? n : asked;
    }
    const uint8_t* event(uint32_t index) const { return bytes.data() + EVENTS + index * ZprEventRecord::SIZE; }

private:
    LeView bytes;
};

#endif
