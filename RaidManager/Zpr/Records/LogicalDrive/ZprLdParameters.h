// The 32-byte parameters of a logical drive (its fixed layout and state), found inside the
// logical-drive information and inside the configuration's logical-drive records.
#ifndef ZPRLDPARAMETERS_H
#define ZPRLDPARAMETERS_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprLdParameters {
public:
    static constexpr size_t SIZE = 32;

    static constexpr size_t PRIMARY_RAID_LEVEL = 0;     // 8-bit: 0, 1, 5, 6; 17 a mirror of more than two
    static constexpr size_t RAID_QUALIFIER = 1;         // 8-bit
    static constexpr size_t SECONDARY_RAID_LEVEL = 2;   // 8-bit: 0 not spanned, 3 spanned
    static constexpr size_t STRIP_EXPONENT = 3;         // 8-bit: strip of 2^(e-1) KiB; 0 512 bytes
    static constexpr size_t DRIVES_PER_SPAN = 4;        // 8-bit
    static constexpr size_t SPAN_DEPTH = 5;             // 8-bit number of spans
    static constexpr size_t STATE = 6;          // 8-bit: 0 offline, 1 partially degraded, 2 degraded, 3 optimal
    static constexpr size_t INITIALIZED = 8;            // 8-bit: nonzero yes
    static constexpr size_t ENCRYPTION = 10;            // 8-bit: 0 none, 1 FDE, 2 controller based
    static constexpr size_t PRESERVED_CACHE = 11;       // 8-bit: nonzero preserved cache data present
    static constexpr size_t BAD_BLOCKS = 12;            // 8-bit: nonzero bad blocks exist
    static constexpr size_t SNAPSHOT = 13;              // 8-bit: nonzero snapshot enabled
    static constexpr size_t SSD_CACHE = 15;     // 8-bit: 1 when the drive is an SSD cache
    static constexpr size_t POWER_CONDITIONS = 16;      // 8-bit power-condition bits
    static constexpr size_t PI_TYPE = 17;               // 8-bit: 0 none, 1-7, PI_TYPE_PROPRIETARY
    static constexpr size_t CACHE_ASSOCIATION = 18;     // 8-bit: 1 when an SSD cache caches this drive
    static constexpr size_t CURRENT_ACCESS_POLICY = 19; // 8-bit, coded as the properties' access policy

    // The primary level the firmware gives a mirror of more than two drives.
    static constexpr uint8_t RAID_LEVEL_MULTI_MIRROR = 17;

    static constexpr uint8_t STATE_OFFLINE = 0;
    static constexpr uint8_t STATE_PARTIALLY_DEGRADED = 1;
    static constexpr uint8_t STATE_DEGRADED = 2;
    static constexpr uint8_t STATE_OPTIMAL = 3;

    explicit ZprLdParameters(const LeView& bytes) : bytes(bytes) {}

    uint8_t byteAt(size_t offset) const { return bytes.u8(offset); }
    bool setByteAt(size_t offset, uint8_t value) { return bytes.setU8(offset, value); }
    uint8_t state() const { return bytes.u8(STATE); }
    bool isSsdCache() const { return bytes.u8(SSD_CACHE) == 1; }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
