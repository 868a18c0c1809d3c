// The manufacturing PCI identifiers, read with DCMD_ADP_MFC_GET_PCI_IDS: four 16-bit ids.
#ifndef ZPRMFCPCIIDS_H
#define ZPRMFCPCIIDS_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprMfcPciIds {
public:
    static constexpr size_t SIZE = 8;

    static constexpr size_t SUB_VENDOR_ID = 0;   // 16-bit each
    static constexpr size_t SUB_DEVICE_ID = 2;
    static constexpr size_t VENDOR_ID = 4;
    static constexpr size_t DEVICE_ID = 6;

    ZprMfcPciIds(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint16_t idAt(size_t offset) const { return bytes.u16(offset); }

private:
    LeView bytes;
};

#endif
