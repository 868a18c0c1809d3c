// The battery backup unit's design record, read with DCMD_BBU_GET_DESIGN_INFO: manufacture
// date, design values, the maker's texts (none necessarily ending with a NUL), whether the
// battery has modes and learns transparently, and the cache-protection module's firmware.
#ifndef ZPRBBUDESIGNINFO_H
#define ZPRBBUDESIGNINFO_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprBbuDesignInfo {
public:
    static constexpr size_t SIZE = 64;

    static constexpr size_t MANUFACTURE_DATE = 0;   // u32: day bits 0-4, month 5-8, year 9-24
    static constexpr size_t DESIGN_CAPACITY = 4;    // u16, mAh (joules for type 6)
    static constexpr size_t DESIGN_VOLTAGE = 6;     // u16, mV
    static constexpr size_t SPECIFICATION_INFO = 8;
    static constexpr size_t SERIAL_NUMBER = 10;
    static constexpr size_t PACK_STAT_CONFIG = 12;
    static constexpr size_t MANUFACTURER_NAME = 14;
    static constexpr size_t MANUFACTURER_NAME_WIDTH = 12;
    static constexpr size_t DEVICE_NAME = 26;
    static constexpr size_t DEVICE_NAME_WIDTH = 8;
    static constexpr size_t DEVICE_CHEMISTRY = 34;
    static constexpr size_t DEVICE_CHEMISTRY_WIDTH = 5;
    static constexpr size_t MODES_SUPPORTED = 47;
    static constexpr size_t TRANSPARENT_LEARN = 48;
    static constexpr size_t MODULE_FW_VERSION = 49;          // 8 characters, no NUL needed
    static constexpr size_t MODULE_FW_VERSION_WIDTH = 8;
    static constexpr size_t APP_DATA = 57;

    explicit ZprBbuDesignInfo(const LeView& bytes) : bytes(bytes) {}
    ZprBbuDesignInfo(const uint8_t* record, size_t size) : bytes(record, size) {}

    int manufactureDay() const { return static_cast<int>(bytes.u32(MANUFACTURE_DATE) & 0x1Fu); }
    int manufactureMonth() const { return static_cast<int>((bytes.u32(MANUFACTURE_DATE) >> 5) & 0xFu); }
    int manufactureYear() const { return static_cast<int>((bytes.u32(MANUFACTURE_DATE) >> 9) & 0xFFFFu); }
    uint16_t designCapacity() const { return bytes.u16(DESIGN_CAPACITY); }
    uint16_t designVoltage() const { return bytes.u16(DESIGN_VOLTAGE); }
    uint16_t specificationInfo() const { return bytes.u16(SPECIFICATION_INFO); }
    uint16_t serialNumber() const { return bytes.u16(SERIAL_NUMBER); }
    uint16_t packStatConfig() const { return bytes.u16(PACK_STAT_CONFIG); }
    bool modesSupported() const { return bytes.u8(MODES_SUPPORTED) != 0; }
    uint8_t transparentLearn() const { return bytes.u8(TRANSPARENT_LEARN); }
    uint8_t appData() const { return bytes.u8(APP_DATA); }

    // The texts, each up to its first NUL and never past its field (out: width + 1 bytes).
    size_t manufacturerName(char* out, size_t outSize) const
    {
        return bytes.readText(MANUFACTURER_NAME, MANUFACTURER_NAME_WIDTH, out, outSize);
    }
    size_t deviceName(char* out, size_t outSize) const
    {
        return bytes.readText(DEVICE_NAME, DEVICE_NAME_WIDTH, out, outSize);
    }
    size_t deviceChemistry(char* out, size_t outSize) const
    {
        return bytes.readText(DEVICE_CHEMISTRY, DEVICE_CHEMISTRY_WIDTH, out, outSize);
    }
    // The cache-protection module's firmware version (out needs room for 9 bytes).
    size_t moduleFwVersion(char* out, size_t outSize) const
    {
        return bytes.readText(MODULE_FW_VERSION, MODULE_FW_VERSION_WIDTH, out, outSize);
    }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
