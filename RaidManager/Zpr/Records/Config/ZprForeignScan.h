// The answer of DCMD_CFG_FOREIGN_SCAN: the number of foreign configurations the controller
// found on its drives. Nothing else of the block is read.
#ifndef ZPRFOREIGNSCAN_H
#define ZPRFOREIGNSCAN_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

// Mailbox byte 0 of the foreign-configuration commands (preview, import, clear) that stands for
// every configuration the scan found.
constexpr uint8_t ALL_FOREIGN_CONFIGS = 255;

class ZprForeignScan {
public:
    static constexpr size_t SIZE = 196;

    static constexpr size_t COUNT = 0;   // 32-bit number of foreign configurations

    ZprForeignScan(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint32_t count() const { return bytes.u32(COUNT); }

private:
    LeView bytes;
};

#endif
