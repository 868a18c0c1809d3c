// The drive performance monitor's configuration, read with DCMD_DPM_GET_CONFIG: byte 0 is the
// monitor's configuration byte.
#ifndef ZPRDPMCONFIGURATION_H
#define ZPRDPMCONFIGURATION_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprDpmConfiguration {
public:
    static constexpr size_t SIZE = 16;

    static constexpr size_t CONFIGURATION = 0;

    ZprDpmConfiguration(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint8_t configuration() const { return bytes.u8(CONFIGURATION); }

private:
    LeView bytes;
};

#endif
