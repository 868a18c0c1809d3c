// The device-list block sent with DCMD_PD_LIST_OPERATION: its own size, a count and the
// 16-bit device ids. The firmware writes back into the count the number of drives it acted on.
#ifndef ZPRDEVICELIST_H
#define ZPRDEVICELIST_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"
#include "RaidManager/Zpr/ZprListHeader.h"

class ZprDeviceList : public ZprListHeader {
public:
    static constexpr size_t RESERVED = 8;    // 16-bit
    static constexpr size_t DEVICE_IDS = 10; // 16-bit device ids
    static constexpr size_t DEVICE_ID_SIZE = 2;

    explicit ZprDeviceList(const LeView& bytes) : ZprListHeader(bytes) {}

    // The length of a block of `count` ids (64-bit: no count overflows it), 10 + 2 x count.
    static uint64_t sizeForCount(uint32_t count) { return DEVICE_IDS + static_cast<uint64_t>(count) * DEVICE_ID_SIZE; }

    uint16_t deviceId(uint32_t index) const { return bytes.u16(DEVICE_IDS + static_cast<size_t>(index) * DEVICE_ID_SIZE); }

    bool setSize(uint32_t size) { return bytes.setU32(SIZE, size); }
    bool setCount(uint32_t count) { return bytes.setU32(COUNT, count); }
    bool setDeviceId(uint32_t index, uint16_t id)
    {
        return bytes.setU16(DEVICE_IDS + static_cast<size_t>(index) * DEVICE_ID_SIZE, id);
    }
};

#endif
