// The allowed-operations word of one drive, read with DCMD_PD_SUBCMD_0A (mailbox bytes 0-1 the
// device id) from controllers that report such words: which drive operations the controller
// lets run now.
#ifndef ZPRALLOWEDOPERATIONS_H
#define ZPRALLOWEDOPERATIONS_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprAllowedOperations {
public:
    static constexpr size_t SIZE = 4;

    static constexpr size_t WORD = 0;   // 32-bit, bits below

    static constexpr unsigned FIRST_OPERATION_BIT = 0;    // bits 0-12: operations allowed
    static constexpr unsigned LAST_OPERATION_BIT = 12;
    static constexpr unsigned FOREIGN_NOT_IMPORTABLE = 13;
    static constexpr unsigned FIRMWARE_DOWNLOAD_BLOCKED = 16;
    static constexpr unsigned OPERATION_BIT_24 = 24;
    static constexpr unsigned SECURE_ERASE_STOPPABLE = 25;

    ZprAllowedOperations(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint32_t word() const { return bytes.u32(WORD); }
    static uint8_t bit(uint32_t word, unsigned n) { return n < 32 && ((word >> n) & 1u) != 0 ? 1 : 0; }

private:
    LeView bytes;
};

#endif
