// The patrol-read status, read with DCMD_ADP_PR_GET_STATUS on every query (never cached).
#ifndef ZPRPATROLREADSTATUS_H
#define ZPRPATROLREADSTATUS_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprPatrolReadStatus {
public:
    static constexpr size_t SIZE = 16;

    static constexpr size_t ITERATIONS = 0;           // 32-bit: completed runs
    static constexpr size_t STATE = 4;                // 0 stopped, 1 ready, 2 active, 255 aborted
    static constexpr size_t PDS_COMPLETED = 5;        // drives done in the current run

    static constexpr uint8_t STATE_ACTIVE = 2;

    ZprPatrolReadStatus(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint32_t iterations() const { return bytes.u32(ITERATIONS); }
    uint8_t state() const { return bytes.u8(STATE); }
    uint8_t pdsCompleted() const { return bytes.u8(PDS_COMPLETED); }

private:
    LeView bytes;
};

#endif
