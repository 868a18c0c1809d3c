// The scheduled consistency check's status, read with DCMD_ADP_CC_SCHEDULE_GET_STATUS on every
// query (never cached).
#ifndef ZPRCCSCHEDULESTATUS_H
#define ZPRCCSCHEDULESTATUS_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprCcScheduleStatus {
public:
    static constexpr size_t SIZE = 16;

    static constexpr size_t ITERATIONS = 0;           // 32-bit: completed runs
    static constexpr size_t STATE = 4;                // 0 stopped, 1 ready, 2 active, 3 aborted
    static constexpr size_t VDS_COMPLETED = 5;

    ZprCcScheduleStatus(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint32_t iterations() const { return bytes.u32(ITERATIONS); }
    uint8_t state() const { return bytes.u8(STATE); }
    uint8_t vdsCompleted() const { return bytes.u8(VDS_COMPLETED); }

private:
    LeView bytes;
};

#endif
