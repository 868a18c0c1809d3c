// The manufacturing data, read with DCMD_ADP_MFC_GET_MFG_DATA: the board's manufacturing and
// rework dates, its serial number and its revision. The texts need not end with a NUL.
#ifndef ZPRMFCMFGDATA_H
#define ZPRMFCMFGDATA_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprMfcMfgData {
public:
    static constexpr size_t SIZE = 32;

    static constexpr size_t MFG_DATE = 0;            // 16-bit packed date
    static constexpr size_t SERIAL_NUMBER = 2;
    static constexpr size_t SERIAL_NUMBER_WIDTH = 16;
    static constexpr size_t REWORK_DATE = 18;        // 16-bit packed date
    static constexpr size_t REVISION = 20;
    static constexpr size_t REVISION_WIDTH = 8;

    // A packed date: bits 0-4 day, bits 5-8 month, bits 9-15 year (two digits).
    static unsigned dayOf(uint16_t date) { return date & 0x1Fu; }
    static unsigned monthOf(uint16_t date) { return (date >> 5) & 0x0Fu; }
    static unsigned yearOf(uint16_t date) { return date >> 9; }

    explicit ZprMfcMfgData(const LeView& bytes) : bytes(bytes) {}
    ZprMfcMfgData(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint16_t mfgDate() const { return bytes.u16(MFG_DATE); }
    uint16_t reworkDate() const { return bytes.u16(REWORK_DATE); }
    size_t serialNumber(char* out, size_t outSize) const
    {
        return bytes.readText(SERIAL_NUMBER, SERIAL_NUMBER_WIDTH, out, outSize);
    }
    size_t revision(char* out, size_t outSize) const { return bytes.readText(REVISION, REVISION_WIDTH, out, outSize); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
