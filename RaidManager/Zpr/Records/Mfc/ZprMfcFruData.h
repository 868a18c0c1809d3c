// The field-replaceable-unit data, read with DCMD_ADP_MFC_GET_FRU_DATA: the FRU texts of the
// battery and of the cache module, neither necessarily ending with a NUL.
#ifndef ZPRMFCFRUDATA_H
#define ZPRMFCFRUDATA_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprMfcFruData {
public:
    static constexpr size_t SIZE = 32;

    static constexpr size_t BATTERY_FRU = 0;
    static constexpr size_t BATTERY_FRU_WIDTH = 8;
    static constexpr size_t CACHE_MODULE_FRU = 8;
    static constexpr size_t CACHE_MODULE_FRU_WIDTH = 24;

    explicit ZprMfcFruData(const LeView& bytes) : bytes(bytes) {}
    ZprMfcFruData(const uint8_t* record, size_t size) : bytes(record, size) {}

    bool hasBatteryFru() const { return bytes.u8(BATTERY_FRU) != 0; }
    size_t batteryFru(char* out, size_t outSize) const
    {
        return bytes.readText(BATTERY_FRU, BATTERY_FRU_WIDTH, out, outSize);
    }
    bool hasCacheModuleFru() const { return bytes.u8(CACHE_MODULE_FRU) != 0; }
    size_t cacheModuleFru(char* out, size_t outSize) const
    {
        return bytes.readText(CACHE_MODULE_FRU, CACHE_MODULE_FRU_WIDTH, out, outSize);
    }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
