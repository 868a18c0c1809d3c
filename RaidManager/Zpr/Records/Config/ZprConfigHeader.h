// The 32-byte header of the configuration buffer: the buffer's total size, and the count and
// record size of each of its three sections (arrays, logical drives, spares).
#ifndef ZPRCONFIGHEADER_H
#define ZPRCONFIGHEADER_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprConfigHeader {
public:
    static constexpr size_t SIZE = 32;

    static constexpr size_t TOTAL_SIZE = 0;          // 32-bit size of the whole buffer
    static constexpr size_t ARRAY_COUNT = 4;         // 16-bit
    static constexpr size_t ARRAY_RECORD_SIZE = 6;   // 16-bit, 288
    static constexpr size_t LD_COUNT = 8;            // 16-bit
    static constexpr size_t LD_RECORD_SIZE = 10;     // 16-bit, 256
    static constexpr size_t SPARE_COUNT = 12;        // 16-bit
    static constexpr size_t SPARE_RECORD_SIZE = 14;  // 16-bit, 40
    static constexpr size_t RESERVED = 16;           // 16 bytes, zero
    static constexpr size_t RESERVED_SIZE = 16;

    explicit ZprConfigHeader(const LeView& bytes) : bytes(bytes) {}

    uint32_t totalSize() const { return bytes.u32(TOTAL_SIZE); }
    uint16_t arrayCount() const { return bytes.u16(ARRAY_COUNT); }
    uint16_t arrayRecordSize() const { return bytes.u16(ARRAY_RECORD_SIZE); }
    uint16_t ldCount() const { return bytes.u16(LD_COUNT); }
    uint16_t ldRecordSize() const { return bytes.u16(LD_RECORD_SIZE); }
    uint16_t spareCount() const { return bytes.u16(SPARE_COUNT); }
    uint16_t spareRecordSize() const { return bytes.u16(SPARE_RECORD_SIZE); }

    bool setTotalSize(uint32_t size) { return bytes.setU32(TOTAL_SIZE, size); }
    bool setArrays(uint16_t count, uint16_t recordSize)
    {
        return bytes.setU16(ARRAY_COUNT, count) && bytes.setU16(ARRAY_RECORD_SIZE, recordSize);
    }
    bool setLds(uint16_t count, uint16_t recordSize)
    {
        return bytes.setU16(LD_COUNT, count) && bytes.setU16(LD_RECORD_SIZE, recordSize);
    }
    bool setSpares(uint16_t count, uint16_t recordSize)
    {
        return bytes.setU16(SPARE_COUNT, count) && bytes.setU16(SPARE_RECORD_SIZE, recordSize);
    }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
