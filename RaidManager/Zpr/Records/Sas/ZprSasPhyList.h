// The SAS phy list, read with DCMD_SAS_GET_PHY_INFO: a 32-bit phy count and 16 entries of 16
// bytes.
#ifndef ZPRSASPHYLIST_H
#define ZPRSASPHYLIST_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprSasPhyList {
public:
    static constexpr size_t SIZE = 264;

    static constexpr size_t COUNT = 0;                // 32-bit
    static constexpr size_t ENTRIES = 8;
    static constexpr size_t ENTRY_SIZE = 16;
    static constexpr size_t MAX_ENTRIES = 16;
    static constexpr size_t SAS_ADDRESS = 0;          // within an entry, 64-bit
    static constexpr size_t PHY_ID = 8;
    static constexpr size_t DISABLED = 11;            // 0xFF: disabled
    static constexpr size_t DEVICE_TYPE = 12;
    static constexpr size_t TARGET_FLAGS = 13;
    static constexpr size_t LINK_RATE = 14;

    explicit ZprSasPhyList(const LeView& bytes) : bytes(bytes) {}
    ZprSasPhyList(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint32_t count() const { return bytes.u32(COUNT); }
    // The count clamped to the entries the record has room for.
    uint32_t phyCount() const { return clampCount(count(), MAX_ENTRIES); }
    static constexpr size_t entryAt(size_t index) { return ENTRIES + ENTRY_SIZE * index; }
    bool isDisabled(size_t index) const { return bytes.u8(entryAt(index) + DISABLED) == 0xFF; }
    uint64_t sasAddress(size_t index) const { return bytes.u64(entryAt(index) + SAS_ADDRESS); }
    uint8_t phyId(size_t index) const { return bytes.u8(entryAt(index) + PHY_ID); }
    uint8_t deviceType(size_t index) const { return bytes.u8(entryAt(index) + DEVICE_TYPE); }
    uint8_t targetFlags(size_t index) const { return bytes.u8(entryAt(index) + TARGET_FLAGS); }
    uint8_t linkRate(size_t index) const { return bytes.u8(entryAt(index) + LINK_RATE); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
