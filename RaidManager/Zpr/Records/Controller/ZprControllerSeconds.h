// The controller clock as one number, read with DCMD_ADP_GET_TIME_SECONDS: u32 seconds since
// 2000-01-01 00:00:00 in the controller's local standard time.
#ifndef ZPRCONTROLLERSECONDS_H
#define ZPRCONTROLLERSECONDS_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprControllerSeconds {
public:
    static constexpr size_t SIZE = 4;

    static constexpr size_t SECONDS = 0;

    explicit ZprControllerSeconds(const LeView& bytes) : bytes(bytes) {}
    ZprControllerSeconds(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint32_t seconds() const { return bytes.u32(SECONDS); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
