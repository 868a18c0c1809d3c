// The battery backup unit's design record, read with DCMD_BBU_GET_DESIGN_INFO. Only the fields
// read today are named; the others join here as their readers arrive.
#ifndef ZPRBBUDESIGNINFO_H
#define ZPRBBUDESIGNINFO_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprBbuDesignInfo {
public:
    static constexpr size_t SIZE = 64;

    static constexpr size_t MODULE_FW_VERSION = 49;          // 8 characters, no NUL needed
    static constexpr size_t MODULE_FW_VERSION_WIDTH = 8;

    explicit ZprBbuDesignInfo(const LeView& bytes) : bytes(bytes) {}
    ZprBbuDesignInfo(const uint8_t* record, size_t size) : bytes(record, size) {}

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
