// The raw read of the battery gas gauge's memory, a controller-private command
// (DCMD_ADP_BBU_RAW_READ): its 12-byte mailbox names the address and the byte count, and the
// 9-byte reply carries the value read in its last two bytes.
#ifndef ZPRBBUGASGAUGEREAD_H
#define ZPRBBUGASGAUGEREAD_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprBbuGasGaugeRead {
public:
    // The mailbox as its three 32-bit words.
    static constexpr uint32_t MAILBOX_READ = 1;        // word 0: byte 0 = 1
    static constexpr uint32_t MAILBOX_OFFSET_MASK = 0xFFFF;   // word 1: u16 address at byte 4
    // word 2: the u32 byte count at byte 8

    static constexpr size_t REPLY_SIZE = 9;
    static constexpr size_t VALUE = 7;                 // u16

    explicit ZprBbuGasGaugeRead(const LeView& bytes) : bytes(bytes) {}
    ZprBbuGasGaugeRead(const uint8_t* reply, size_t size) : bytes(reply, size) {}

    uint16_t value() const { return bytes.u16(VALUE); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
