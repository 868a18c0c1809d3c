// The device-list block sent with DCMD_PD_LIST_OPERATION: its own size, a count and the
// 16-bit device ids. The firmware writes back into the count the number of drives it acted on.
#ifndef ZPRDEVICELIST_H
#define ZPRDEVICELIST_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"
#include "RaidManager/Zpr/Records/ZprListHeader.h"

// The time the firmware is given to spin up the drives of a DCMD_PD_LIST_OPERATION, as the
// shell command that waits it: one round of a spin-up.
constexpr const char* SPIN_UP_PAUSE = "sleep 5";
// The rounds a spin-up is waited for at most: 60 rounds of 5 seconds, five minutes, so that a
// controller that never finishes does not hold the command for ever.
constexpr unsigned MAX_SPIN_UP_ROUNDS = 60;

class ZprDeviceList : public ZprListHeader {
public:
    static constexpr size_t RESERVED = 8;    // 16-bit
    static constexpr size_t DEVICE_IDS = 10; // 16-bit device ids
    static constexpr size_t DEVICE_ID_SIZE = 2;

    explicit ZprDeviceList(const LeView& bytes) : ZprListHeader(bytes) {}

    // Device ids are 16-bit, so no list names more devices.
    static constexpr uint32_t MAX_ENTRIES = 0x10000;

    // The length of a block of `count` ids, 10 + 2 x count; false when no list can have that many.
    static bool sizeForCount(uint32_t count, uint32_t* size)
    {
        if (count > MAX_ENTRIES)
            return false;
        *size = static_cast<uint32_t>(DEVICE_IDS + static_cast<size_t>(count) * DEVICE_ID_SIZE);
        return true;
    }

    uint16_t deviceId(uint32_t index) const { return bytes.u16(DEVICE_IDS + static_cast<size_t>(index) * DEVICE_ID_SIZE); }

    bool setSize(uint32_t size) { return bytes.setU32(SIZE, size); }
    bool setCount(uint32_t count) { return bytes.setU32(COUNT, count); }
    bool setDeviceId(uint32_t index, uint16_t id)
    {
        return bytes.setU16(DEVICE_IDS + static_cast<size_t>(index) * DEVICE_ID_SIZE, id);
    }
};

#endif
