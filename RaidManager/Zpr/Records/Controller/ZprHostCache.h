// The replies of the integrated-RAID library that the host-cache commands read: the host-cache
// driver's configuration page, its device lists and device records, its statistics, and the
// health record of a flash accelerator card. The library fills them in buffers of the caller's;
// texts are NUL-terminated within their fields. Little-endian.
#ifndef ZPRHOSTCACHE_H
#define ZPRHOSTCACHE_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

// One device the host-cache driver knows: a cache device or a virtual drive it may cache.
class HkDeviceRecord {
public:
    static constexpr size_t SIZE = 832;

    static constexpr size_t DEVICE_NODE = 0;
    static constexpr size_t DEVICE_NODE_WIDTH = 256;
    static constexpr size_t MAPPED_PATH = 256;
    static constexpr size_t MAPPED_PATH_WIDTH = 256;
    static constexpr size_t SECOND_NODE = 512;        // shown in brackets
    static constexpr size_t SECOND_NODE_WIDTH = 64;
    static constexpr size_t VENDOR = 576;
    static constexpr size_t VENDOR_WIDTH = 64;
    static constexpr size_t MODEL = 640;
    static constexpr size_t MODEL_WIDTH = 64;
    static constexpr size_t SCSI_ID = 704;            // the key that command-line names match
    static constexpr size_t SCSI_ID_WIDTH = 97;
    static constexpr size_t STATE = 801;              // 0 online, 2 ready for online, other offline
    static constexpr size_t CONFIGURED = 803;         // 0 configured, other not
    static constexpr size_t CONTENT_WARNING = 804;    // 32-bit: 2, 4, 8, 16 data found; 32 foreign
    static constexpr size_t CAPACITY_BLOCKS = 808;    // 64-bit, 512-byte blocks

    explicit HkDeviceRecord(const LeView& bytes) : bytes(bytes) {}

    size_t deviceNode(char* out, size_t outSize) const { return text(DEVICE_NODE, DEVICE_NODE_WIDTH, out, outSize); }
    size_t mappedPath(char* out, size_t outSize) const { return text(MAPPED_PATH, MAPPED_PATH_WIDTH, out, outSize); }
    size_t secondNode(char* out, size_t outSize) const { return text(SECOND_NODE, SECOND_NODE_WIDTH, out, outSize); }
    size_t vendor(char* out, size_t outSize) const { return text(VENDOR, VENDOR_WIDTH, out, outSize); }
    size_t model(char* out, size_t outSize) const { return text(MODEL, MODEL_WIDTH, out, outSize); }
    size_t scsiId(char* out, size_t outSize) const { return text(SCSI_ID, SCSI_ID_WIDTH, out, outSize); }
    uint8_t state() const { return bytes.u8(STATE); }
    bool configured() const { return bytes.u8(CONFIGURED) == 0; }
    uint32_t contentWarning() const { return bytes.u32(CONTENT_WARNING); }
    uint64_t capacityBlocks() const { return bytes.u64(CAPACITY_BLOCKS); }

    const LeView& view() const { return bytes; }

private:
    size_t text(size_t offset, size_t width, char* out, size_t outSize) const
    {
        return bytes.readText(offset, width, out, outSize);
    }

    LeView bytes;
};

// The host-cache driver's configuration page: version, cache group and the configured slots.
class HkConfigPage {
public:
    static constexpr size_t SIZE = 426320;
    static constexpr size_t SLOTS = 256;

    static constexpr size_t VERSION = 13;             // bits 7-3 major, 2-0 minor
    static constexpr size_t GROUP_NAME = 14;
    static constexpr size_t GROUP_NAME_WIDTH = 256;
    static constexpr size_t CACHE_DEVICE_AREA = 270;  // 32-bit count, then SLOTS records
    static constexpr size_t VD_AREA = 213286;         // 32-bit count, then SLOTS records
    static constexpr size_t AREA_SLOTS = 4;           // within an area

    explicit HkConfigPage(const LeView& bytes) : bytes(bytes) {}

    unsigned versionMajor() const { return bytes.u8(VERSION) >> 3; }
    unsigned versionMinor() const { return bytes.u8(VERSION) & 0x07; }
    size_t groupName(char* out, size_t outSize) const
    {
        return bytes.readText(GROUP_NAME, GROUP_NAME_WIDTH, out, outSize);
    }
    uint32_t configuredCount(size_t area) const { return bytes.u32(area); }
    // Slot i (0..SLOTS-1) of an area; a slot with an empty SCSI ID is free.
    HkDeviceRecord slot(size_t area, size_t i) const
    {
        return HkDeviceRecord(bytes.sub(area + AREA_SLOTS + HkDeviceRecord::SIZE * i, HkDeviceRecord::SIZE));
    }

private:
    LeView bytes;
};

// A device list of the host-cache driver: a 32-bit count, then one record per device.
class HkDeviceList {
public:
    static constexpr size_t SIZE = 213016;
    static constexpr size_t COUNT = 0;
    static constexpr size_t RECORDS = 4;
    static constexpr size_t MAX_DEVICES = 256;

    explicit HkDeviceList(const LeView& bytes) : bytes(bytes) {}

    // The count, kept within the records the list holds.
    uint32_t count() const
    {
        return clampCount(bytes.u32(COUNT), bytes.room(RECORDS, HkDeviceRecord::SIZE, MAX_DEVICES));
    }
    HkDeviceRecord device(size_t i) const
    {
        return HkDeviceRecord(bytes.sub(RECORDS + HkDeviceRecord::SIZE * i, HkDeviceRecord::SIZE));
    }

private:
    LeView bytes;
};

// The host-cache driver's statistics.
class HkPerfStats {
public:
    static constexpr size_t SIZE = 368;

    static constexpr size_t GROUP_NAME = 0;
    static constexpr size_t GROUP_NAME_WIDTH = 256;
    static constexpr size_t VD_COUNT = 256;            // 32-bit
    static constexpr size_t CACHE_DEVICE_COUNT = 260;  // 32-bit
    static constexpr size_t QUEUE_DEPTH = 264;         // 32-bit
    static constexpr size_t TOTAL_CACHE_BLOCKS = 268;  // 64-bit each from here
    static constexpr size_t USED_CACHE_BLOCKS = 276;
    static constexpr size_t CACHE_LINE_BLOCKS = 284;
    static constexpr size_t CACHE_WINDOW_BLOCKS = 292;
    static constexpr size_t READS = 300;
    static constexpr size_t WRITES = 308;
    static constexpr size_t HITS = 316;
    static constexpr size_t MISSES = 324;

    explicit HkPerfStats(const LeView& bytes) : bytes(bytes) {}

    size_t groupName(char* out, size_t outSize) const
    {
        return bytes.readText(GROUP_NAME, GROUP_NAME_WIDTH, out, outSize);
    }
    uint32_t word(size_t offset) const { return bytes.u32(offset); }
    uint64_t counter(size_t offset) const { return bytes.u64(offset); }

private:
    LeView bytes;
};

// The health of a flash accelerator card.
class HkCardHealth {
public:
    static constexpr size_t SIZE = 22;

    static constexpr size_t AUXILIARY_POWER = 0;     // 16-bit: 0 not present, 255 not supported
    static constexpr size_t LIFE_CURVE_STATUS = 2;   // 16-bit
    static constexpr size_t LIFE_LEFT_PERCENT = 4;   // 32-bit
    static constexpr size_t CONTROLLER_STATUS = 8;   // 32-bit: 0 good, 1 warning, 2 error

    explicit HkCardHealth(const LeView& bytes) : bytes(bytes) {}

    uint16_t auxiliaryPower() const { return bytes.u16(AUXILIARY_POWER); }
    uint16_t lifeCurveStatus() const { return bytes.u16(LIFE_CURVE_STATUS); }
    uint32_t lifeLeftPercent() const { return bytes.u32(LIFE_LEFT_PERCENT); }
    uint32_t controllerStatus() const { return bytes.u32(CONTROLLER_STATUS); }

private:
    LeView bytes;
};

#endif
