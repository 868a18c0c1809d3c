// What the controller's kernel driver reports about the controller (DCMD_DRIVER_GET_INFO, a
// command to the driver itself): where the controller sits on the PCI bus.
#ifndef ZPRDRIVERINFO_H
#define ZPRDRIVERINFO_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprDriverInfo {
public:
    static constexpr size_t SIZE = 112;

    static constexpr size_t BUS = 0;      // 32-bit PCI bus number
    static constexpr size_t DEVICE = 4;   // 8-bit PCI device number

    ZprDriverInfo(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint32_t bus() const { return bytes.u32(BUS); }
    uint8_t device() const { return bytes.u8(DEVICE); }

private:
    LeView bytes;
};

#endif
