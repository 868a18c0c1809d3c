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

    static constexpr size_t STATE = 6;          // 8-bit: 0 offline, 1 partially degraded, 2 degraded, 3 optimal
    static constexpr size_t SSD_CACHE = 15;     // 8-bit: 1 when the drive is an SSD cache

    static constexpr uint8_t STATE_OFFLINE = 0;

    explicit ZprLdParameters(const LeView& bytes) : bytes(bytes) {}

    uint8_t state() const { return bytes.u8(STATE); }
    bool isSsdCache() const { return bytes.u8(SSD_CACHE) == 1; }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
