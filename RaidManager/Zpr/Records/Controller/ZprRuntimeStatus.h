// The runtime-status word, read with DCMD_CFG_GET_RUNTIME_STATUS on every use.
#ifndef ZPRRUNTIMESTATUS_H
#define ZPRRUNTIMESTATUS_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprRuntimeStatus {
public:
    static constexpr size_t SIZE = 4;

    static constexpr size_t WORD = 0;   // 32-bit; bits 0 and 1 are read

    explicit ZprRuntimeStatus(const LeView& bytes) : bytes(bytes) {}
    ZprRuntimeStatus(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint32_t word() const { return bytes.u32(WORD); }
    uint8_t bit(unsigned n) const { return n < 32 && ((word() >> n) & 1u) != 0 ? 1 : 0; }

private:
    LeView bytes;
};

#endif
