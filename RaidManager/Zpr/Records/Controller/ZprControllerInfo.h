// The controller-information record, read with DCMD_ADP_GET_INFO: the controller's identity,
// images, limits, capabilities, compatibility levels and a copy of its current properties.
// Bits are numbered from 0, the least significant; multi-byte values are little-endian.
#ifndef ZPRCONTROLLERINFO_H
#define ZPRCONTROLLERINFO_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprControllerInfo {
public:
    static constexpr size_t SIZE = 2048;

    static constexpr size_t PCI_VENDOR_ID = 0x00;            // 16-bit
    static constexpr size_t PCI_DEVICE_ID = 0x02;            // 16-bit
    static constexpr size_t PCI_SUBVENDOR_ID = 0x04;         // 16-bit
    static constexpr size_t PCI_SUBDEVICE_ID = 0x06;         // 16-bit
    static constexpr size_t CONTROLLER_ID = 0x08;            // 16-bit
    static constexpr size_t CHIP_REVISION = 0x0A;            // 2 characters; 0: no revision
    static constexpr size_t HOST_INTERFACE = 0x20;           // bit 0 PCI-X, 1 PCIe, 2 iSCSI, 3 SAS 3G
    static constexpr size_t PCI_MAX_LINK_SPEED = 0x21;       // 8-bit: the highest settable; 0 not settable
    static constexpr size_t LINK_SPEED = 0x22;               // 8-bit
    static constexpr size_t FRONTEND_PORT_COUNT = 0x27;      // 8-bit
    static constexpr size_t FRONTEND_PORTS = 0x28;           // 8 x 64-bit addresses
    static constexpr size_t DEVICE_INTERFACE = 0x68;         // bit 0 SPI, 1 SAS 3G, 2 SATA 1.5G, 3 SATA 3G, 4 SAS 6G, 5 SAS 12G
    static constexpr size_t BACKEND_PORT_COUNT = 0x6F;       // 8-bit
    static constexpr size_t BACKEND_PORTS = 0x70;            // addresses of ports 0-7 (64-bit each)
    static constexpr size_t BACKEND_PORTS_HIGH = 0x6A0;      // addresses of ports 8-15

    // Image components: a signed 32-bit count, then entries of a name and a version text.
    static constexpr size_t IMAGE_COUNT = 0xB4;
    static constexpr size_t IMAGES = 0xB8;
    static constexpr size_t PENDING_IMAGE_COUNT = 0x2F8;
    static constexpr size_t PENDING_IMAGES = 0x2FC;
    static constexpr size_t IMAGE_ENTRY_SIZE = 72;
    static constexpr size_t MAX_IMAGES = 8;
    static constexpr size_t IMAGE_NAME = 0;                  // within an entry, 8 bytes
    static constexpr size_t IMAGE_NAME_WIDTH = 8;
    static constexpr size_t IMAGE_VERSION = 8;               // within an entry, NUL-terminated
    static constexpr size_t IMAGE_VERSION_WIDTH = 64;
    static constexpr size_t IMAGE_BUILD_TIME = 40;           // within an entry, NUL-terminated
    static constexpr size_t IMAGE_BUILD_TIME_WIDTH = 32;

    static constexpr size_t MAX_ARMS = 0x53C;                // 8-bit
    static constexpr size_t MAX_SPANS = 0x53D;               // 8-bit
    static constexpr size_t MAX_ARRAYS = 0x53E;              // 8-bit
    static constexpr size_t MAX_VIRTUAL_DRIVES = 0x53F;      // 8-bit
    static constexpr size_t PRODUCT_NAME = 0x540;
    static constexpr size_t PRODUCT_NAME_WIDTH = 80;
    static constexpr size_t DEVICES_PRESENT = 0x5B0;         // bit 0 battery unit, 1 alarm, 4 memory
    static constexpr unsigned CACHE_MEMORY_BIT = 4;          // of DEVICES_PRESENT: without it nothing is cached
    static constexpr size_t SENSORS_PRESENT = 0x5B1;         // bit 2 ROC, 3 controller temperature
    static constexpr size_t MAX_PARALLEL_COMMANDS = 0x5B8;   // 16-bit
    static constexpr size_t MAX_SGE_COUNT = 0x5BA;           // 16-bit
    static constexpr size_t MAX_TRANSFER_SECTORS = 0x5BC;    // 32-bit
    static constexpr size_t DEVICE_COUNTS = 0x5C0;           // 7 x 16-bit
    static constexpr size_t NVRAM_SIZE = 0x5CE;              // 16-bit, KB
    static constexpr size_t MEMORY_SIZE = 0x5D0;             // 16-bit, MB
    static constexpr size_t FLASH_SIZE = 0x5D2;              // 16-bit, MB
    static constexpr size_t MEMORY_CORRECTABLE_ERRORS = 0x5D4;     // 16-bit
    static constexpr size_t MEMORY_UNCORRECTABLE_ERRORS = 0x5D6;   // 16-bit
    static constexpr size_t CLUSTER_PERMITTED = 0x5D8;       // not 0: yes
    static constexpr size_t CLUSTER_ACTIVE = 0x5D9;          // not 0: yes
    static constexpr size_t MAX_STRIPS_PER_IO = 0x5DA;       // 16-bit
    static constexpr size_t RAID_LEVELS = 0x5DC;             // bit 0 RAID 0, 1 RAID 1, 2 RAID 5, 4 RAID 6
    static constexpr size_t RAID_LEVEL_OPTIONS = 0x5DD;      // bit 2, 3 PRL 11; 6 SSD-cache RAID 5
    static constexpr size_t ADAPTER_OPERATIONS = 0x5E0;
    static constexpr size_t RAID_FEATURES = 0x5E1;           // bit 0 spanning, 2 revertible hot spares
    static constexpr unsigned REVERTIBLE_SPARES_BIT = 2;
    static constexpr size_t REPORTING_FEATURES = 0x5E2;      // bits 2, 4, 5, 6
    static constexpr size_t STORAGE_FEATURES = 0x5E3;        // bits 0, 2, 3, 4, 5, 6
    static constexpr unsigned SNAPSHOT_BIT = 6;              // of STORAGE_FEATURES: snapshots supported
    static constexpr size_t LD_OPERATIONS = 0x5E4;           // bit 4 disk cache policy
    static constexpr size_t LD_FEATURES = 0x5E5;             // bits 1, 3, 4, 5, 6, 7
    static constexpr unsigned PERF_MONITOR_BIT = 3;          // of LD_FEATURES: the controller performance monitor
    static constexpr unsigned LD_POWER_SAVING_BIT = 4;       // of LD_FEATURES: power saving on logical drives
    static constexpr unsigned MAXIMUM_WITHOUT_CACHING_BIT = 5; // of LD_FEATURES: both maximum power-save levels
    static constexpr size_t SSC_FEATURES = 0x5E6;            // bit 0 manual association
    static constexpr size_t MIN_STRIP_EXPONENT = 0x5E8;      // 8-bit
    static constexpr size_t MAX_STRIP_EXPONENT = 0x5E9;      // 8-bit
    static constexpr size_t PD_OPERATIONS = 0x5EC;
    static constexpr size_t POWER_FEATURES = 0x5ED;          // bits 0, 1, 3
    static constexpr unsigned SPIN_UP_BEFORE_CONFIG_BIT = 1; // of POWER_FEATURES: spin drives up before use
    static constexpr size_t DRIVE_MIXING = 0x5F0;            // bits 3, 5, 6
    static constexpr size_t ECC_BUCKET_COUNT = 0x5F4;        // 16-bit
    static constexpr size_t SECURITY_STATE = 0x5F8;          // bit 1 key assigned, 2 key failed, 6 security bit
    static constexpr unsigned SECURITY_BIT = 6;
    static constexpr size_t SSC_AND_BOOT_STATE = 0x5F9;      // bit 1 read-write SSD cache, 2 safe boot
    static constexpr size_t FW_FORWARD_COMPAT = 0x5FC;       // 16-bit firmware forward-compatibility level
    static constexpr size_t FW_BACKWARD_COMPAT = 0x5FE;      // 16-bit firmware backward-compatibility level
    static constexpr size_t CURRENT_PROPERTIES = 0x600;      // 64 bytes, laid out as the properties record
    static constexpr size_t PERF_TUNED_MODE = 0x62F;         // bits 0-1 (properties byte 47)
    static constexpr size_t PERF_MODE_VALUES = 0x630;        // 2 bytes per tuning mode 0-3
    static constexpr size_t SERIAL_NUMBER = 0x590;
    static constexpr size_t SERIAL_NUMBER_WIDTH = 32;
    static constexpr size_t DRIVER_VERSION = 0x7A8;          // the version of the controller's kernel driver
    static constexpr size_t DRIVER_VERSION_WIDTH = 32;
    static constexpr size_t PACKAGE_BUILD = 0x640;
    static constexpr size_t PACKAGE_BUILD_WIDTH = 96;

    // Drive-limit words: the minimum drives (of one span, for spanned codes) in bits 0-3, the
    // maximum in bits 4-15.
    static constexpr size_t LIMITS_RAID0 = 0x760;
    static constexpr size_t LIMITS_RAID1 = 0x762;
    static constexpr size_t LIMITS_RAID5 = 0x764;
    static constexpr size_t LIMITS_RAID6 = 0x768;
    static constexpr size_t LIMITS_SPANNED_RAID1 = 0x76A;    // level code 32
    static constexpr size_t LIMITS_SPANNED_RAID5 = 0x76C;    // level code 33
    static constexpr size_t LIMITS_SPANNED_RAID6 = 0x76E;    // level code 34
    static constexpr size_t LIMITS_LEVEL35 = 0x770;          // also RAID 1 with PRL 11
    static constexpr size_t LIMITS_SPANNED_PRL11 = 0x772;    // level code 32 with PRL 11

    static constexpr size_t INFO_WORD_786 = 0x786;           // 16-bit, position only
    static constexpr size_t MAX_VDS_PER_ARRAY = 0x788;       // 8-bit, 0 means 16
    static constexpr size_t INFO_BYTE_789 = 0x789;           // position only
    static constexpr size_t KEY_MANAGEMENT_STATE = 0x78A;
    static constexpr size_t MAX_SSC_SIZE = 0x790;            // 16-bit, GB (0: no SSD caching)
    static constexpr size_t SSC_SIZE = 0x792;                // 16-bit, GB
    static constexpr size_t EXPANDER_VERSION = 0x794;        // on-board expander firmware version
    static constexpr size_t EXPANDER_VERSION_WIDTH = 12;
    static constexpr size_t FW_CACHE_SIZE = 0x7A2;           // 16-bit, MB
    static constexpr size_t PI_FEATURES = 0x7A4;             // bits 0, 6, 7
    static constexpr size_t SPARE_FEATURES = 0x7A5;          // bit 0 emergency spares, 7 real-time scheduling
    static constexpr unsigned EMERGENCY_SPARES_BIT = 0;      // of SPARE_FEATURES
    static constexpr unsigned PERF_TUNING_BIT = 5;           // of SPARE_FEATURES: performance tuning modes
    static constexpr unsigned SSD_PATROL_READ_BIT = 6;       // of SPARE_FEATURES: patrol read of SSDs switchable
    static constexpr size_t FIRMWARE_FEATURES = 0x7A6;       // bits 0, 1, 2
    static constexpr unsigned ONLINE_FW_UPDATE_BIT = 0;      // of FIRMWARE_FEATURES
    static constexpr unsigned BIOS_HEADLESS_MODES_BIT = 2;   // of FIRMWARE_FEATURES: ignore-error and safe mode
    static constexpr size_t IMAGE_CHECK_WORD = 0xB0;         // 32-bit, the firmware image's first signature
    static constexpr size_t SPINUP_PER_MINUTE = 0x7C8;       // direct-attached drives spun up per minute
    static constexpr size_t ROC_TEMPERATURE = 0x7C9;         // degrees Celsius
    static constexpr size_t CONTROLLER_TEMPERATURE = 0x7CA;  // degrees Celsius
    static constexpr size_t INFO_WORD_7CC = 0x7CC;           // 16-bit, position only, 0 means 16

    explicit ZprControllerInfo(const LeView& bytes) : bytes(bytes) {}
    ZprControllerInfo(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint16_t pciVendorId() const { return bytes.u16(PCI_VENDOR_ID); }
    uint16_t pciDeviceId() const { return bytes.u16(PCI_DEVICE_ID); }
    uint16_t pciSubvendorId() const { return bytes.u16(PCI_SUBVENDOR_ID); }
    uint16_t pciSubdeviceId() const { return bytes.u16(PCI_SUBDEVICE_ID); }
    uint8_t maxSpans() const { return bytes.u8(MAX_SPANS); }
    uint8_t maxVirtualDrives() const { return bytes.u8(MAX_VIRTUAL_DRIVES); }
    uint8_t securityBit() const { return flag(SECURITY_STATE, SECURITY_BIT); }
    uint16_t firmwareForwardCompatLevel() const { return bytes.u16(FW_FORWARD_COMPAT); }
    uint16_t firmwareBackwardCompatLevel() const { return bytes.u16(FW_BACKWARD_COMPAT); }

    // Image components: the count, kept within 0..8 (a negative or larger count names no more
    // entries than the record holds), and entry i's name and version (NUL-terminated within
    // their fields).
    uint32_t imageCount() const;
    size_t imageName(uint32_t index, char* out, size_t outSize) const;
    size_t imageVersion(uint32_t index, char* out, size_t outSize) const;
    size_t imageBuildTime(uint32_t index, char* out, size_t outSize) const
    {
        return bytes.readText(IMAGES + IMAGE_ENTRY_SIZE * index + IMAGE_BUILD_TIME, IMAGE_BUILD_TIME_WIDTH, out,
                              outSize);
    }
    size_t productName(char* out, size_t outSize) const
    {
        return bytes.readText(PRODUCT_NAME, PRODUCT_NAME_WIDTH, out, outSize);
    }
    size_t serialNumber(char* out, size_t outSize) const
    {
        return bytes.readText(SERIAL_NUMBER, SERIAL_NUMBER_WIDTH, out, outSize);
    }
    size_t driverVersion(char* out, size_t outSize) const
    {
        return bytes.readText(DRIVER_VERSION, DRIVER_VERSION_WIDTH, out, outSize);
    }
    uint16_t memorySizeMb() const { return bytes.u16(MEMORY_SIZE); }
    bool batteryPresent() const { return bytes.bit(DEVICES_PRESENT, 0); }
    size_t packageBuild(char* out, size_t outSize) const
    {
        return bytes.readText(PACKAGE_BUILD, PACKAGE_BUILD_WIDTH, out, outSize);
    }

    // A one-byte field, a 16-bit field, or bit `bit` of a byte as 0 or 1, by offset.
    uint8_t byteAt(size_t offset) const { return bytes.u8(offset); }
    uint16_t wordAt(size_t offset) const { return bytes.u16(offset); }
    uint8_t flag(size_t offset, unsigned bit) const { return bytes.bit(offset, bit) ? 1 : 0; }
    // The minimum and maximum drives of a drive-limit word.
    uint8_t minDrives(size_t limitWord) const { return static_cast<uint8_t>(bytes.u16(limitWord) & 0x0F); }
    uint16_t maxDrives(size_t limitWord) const { return static_cast<uint16_t>(bytes.u16(limitWord) >> 4); }

    // What a firmware image is checked against: the signature word its first component header
    // must carry, and whether the controller takes an online firmware update.
    uint32_t imageCheckWord() const { return bytes.u32(IMAGE_CHECK_WORD); }
    bool revertibleSparesSupported() const { return bytes.bit(RAID_FEATURES, REVERTIBLE_SPARES_BIT); }
    bool onlineFwUpdateSupported() const { return bytes.bit(FIRMWARE_FEATURES, ONLINE_FW_UPDATE_BIT); }
    bool biosHeadlessModesAllowed() const { return bytes.bit(FIRMWARE_FEATURES, BIOS_HEADLESS_MODES_BIT); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

inline uint32_t ZprControllerInfo::imageCount() const
{
    int32_t count = static_cast<int32_t>(bytes.u32(IMAGE_COUNT));
    if (count < 0)
        return 0;
    return clampCount(static_cast<uint32_t>(count), bytes.room(IMAGES, IMAGE_ENTRY_SIZE, MAX_IMAGES));
}

inline size_t ZprControllerInfo::imageName(uint32_t index, char* out, size_t outSize) const
{
    return bytes.readText(IMAGES + IMAGE_ENTRY_SIZE * index + IMAGE_NAME, IMAGE_NAME_WIDTH, out, outSize);
}

inline size_t ZprControllerInfo::imageVersion(uint32_t index, char* out, size_t outSize) const
{
    return bytes.readText(IMAGES + IMAGE_ENTRY_SIZE * index + IMAGE_VERSION, IMAGE_VERSION_WIDTH, out, outSize);
}

#endif
