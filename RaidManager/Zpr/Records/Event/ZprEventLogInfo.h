// The event-log information, read with DCMD_ADP_EVENT_GET_INFO: five 32-bit sequence numbers.
#ifndef ZPREVENTLOGINFO_H
#define ZPREVENTLOGINFO_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprEventLogInfo {
public:
    static constexpr size_t SIZE = 20;

    static constexpr size_t NEWEST = 0;
    static constexpr size_t OLDEST = 4;
    static constexpr size_t CLEAR = 8;
    static constexpr size_t SHUTDOWN = 12;
    static constexpr size_t REBOOT = 16;

    explicit ZprEventLogInfo(const LeView& bytes) : bytes(bytes) {}
    ZprEventLogInfo(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint32_t newest() const { return bytes.u32(NEWEST); }
    uint32_t oldest() const { return bytes.u32(OLDEST); }
    uint32_t clear() const { return bytes.u32(CLEAR); }
    uint32_t shutdown() const { return bytes.u32(SHUTDOWN); }
    uint32_t reboot() const { return bytes.u32(REBOOT); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
