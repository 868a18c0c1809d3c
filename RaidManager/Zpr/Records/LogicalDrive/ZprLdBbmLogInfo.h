// The bad-block management log of one logical drive, read with DCMD_LD_BBM_GET_LOG_INFO (the
// drive's reference in mailbox word 0): the numbers of corrected and uncorrected entries of
// the drive's bad-block table.
#ifndef ZPRLDBBMLOGINFO_H
#define ZPRLDBBMLOGINFO_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprLdBbmLogInfo {
public:
    static constexpr size_t SIZE = 32;

    static constexpr size_t CORRECTED = 0;      // 64-bit
    static constexpr size_t UNCORRECTED = 8;    // 64-bit

    explicit ZprLdBbmLogInfo(const LeView& bytes) : bytes(bytes) {}
    ZprLdBbmLogInfo(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint64_t corrected() const { return bytes.u64(CORRECTED); }
    uint64_t uncorrected() const { return bytes.u64(UNCORRECTED); }

private:
    LeView bytes;
};

#endif
