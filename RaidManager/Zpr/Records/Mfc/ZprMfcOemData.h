// The manufacturing feature data, read with DCMD_ADP_MFC_GET_OEM_DATA (a private command):
// its first byte is the OEM identifier that brands the program and selects wordings.
#ifndef ZPRMFCOEMDATA_H
#define ZPRMFCOEMDATA_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprMfcOemData {
public:
    static constexpr size_t SIZE = 24;

    static constexpr size_t OEM_ID = 0;   // 8-bit
    static constexpr size_t CLUSTER_DISABLE = 1;
    static constexpr size_t SAS_DISABLE = 2;
    static constexpr size_t MAX_DISKS = 3;
    static constexpr size_t ENABLE_RAID6 = 4;
    static constexpr size_t DISABLE_WIDE_CACHE = 5;
    static constexpr size_t DISABLE_RAID5 = 6;
    static constexpr size_t ENABLE_SECURITY = 7;
    static constexpr size_t ENABLE_CTIO = 9;
    static constexpr size_t ENABLE_SNAPSHOT = 10;
    static constexpr size_t ENABLE_SSC = 11;
    static constexpr size_t ENABLE_REDUCED_FEATURE_SET = 12;
    static constexpr size_t ENABLE_CACHE_OFFLOAD = 13;
    static constexpr size_t ENABLE_SSC_WRITE_BACK = 14;

    explicit ZprMfcOemData(const LeView& bytes) : bytes(bytes) {}
    ZprMfcOemData(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint8_t oemId() const { return bytes.u8(OEM_ID); }
    uint8_t clusterDisable() const { return bytes.u8(CLUSTER_DISABLE); }
    uint8_t sasDisable() const { return bytes.u8(SAS_DISABLE); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
