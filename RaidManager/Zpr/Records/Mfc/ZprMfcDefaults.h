// The manufacturing-defaults record, read with DCMD_ADP_MFC_GET_DEFAULTS: the factory settings
// of the controller and the planning defaults of a new virtual drive.
#ifndef ZPRMFCDEFAULTS_H
#define ZPRMFCDEFAULTS_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprMfcDefaults {
public:
    static constexpr size_t SIZE = 72;

    static constexpr size_t SAS_ADDRESS = 0;             // 64-bit
    static constexpr size_t PHY_POLARITY = 8;
    static constexpr size_t BACKGROUND_RATE = 9;
    static constexpr size_t STRIP_EXPONENT = 10;         // strip of a new virtual drive
    static constexpr size_t FLUSH_TIME = 11;             // seconds
    static constexpr size_t WRITE_POLICY = 12;           // 0 write-through, 1 write-back, 2 adaptive
    static constexpr size_t READ_POLICY = 13;            // 0 none, 1 read-ahead, 2 adaptive
    static constexpr size_t CACHE_WHEN_BBU_BAD = 14;
    static constexpr size_t CACHED_IO = 15;              // not 0: cached
    static constexpr size_t SMART_MODE = 16;
    static constexpr size_t ALARM = 17;
    static constexpr size_t COERCION = 18;
    static constexpr size_t ZCR_CONFIGURATION = 19;
    static constexpr size_t DIRTY_LED = 20;
    static constexpr size_t BIOS_CONTINUE_ON_ERROR = 21;
    static constexpr size_t SPIN_DOWN_MODE = 22;
    static constexpr size_t ALLOWED_DEVICE_TYPE = 23;
    static constexpr size_t ALLOW_MIX_IN_ENCLOSURE = 24;
    static constexpr size_t ALLOW_SAS_SATA_HDD_MIX = 25;
    static constexpr size_t ALLOW_SATA_IN_CLUSTER = 26;
    static constexpr size_t MAX_CHAINED_ENCLOSURES = 27;
    static constexpr size_t CTRL_R_DISABLED = 28;
    static constexpr size_t PREBOOT_UTILITY_ENABLED = 29;
    static constexpr size_t PHY_POLARITY_SPLIT = 30;
    static constexpr size_t DIRECT_PD_MAPPING = 31;
    static constexpr size_t BIOS_ENUMERATES_VDS = 32;
    static constexpr size_t RESTORE_HOT_SPARE = 33;
    static constexpr size_t EXPOSE_ENCLOSURE_DEVICES = 34;
    static constexpr size_t MAINTAIN_PD_FAIL_HISTORY = 35;
    static constexpr size_t PUNCTURING_DISABLED = 36;
    static constexpr size_t ZERO_BASED_ENCLOSURES = 37;
    static constexpr size_t PREBOOT_CLI_DISABLED = 38;   // 0: enabled
    static constexpr size_t QUAD_PORT_CONNECTOR_MAP = 39;
    static constexpr size_t LED_SHOWS_ACTIVITY = 40;
    static constexpr size_t BACKPLANE_DETECTION_DISABLED = 41;   // 1 SGPIO, 2 i2c SEP, 3 both
    static constexpr size_t USE_FDE_ONLY = 42;
    static constexpr size_t LED_HEADER_ENABLED = 43;
    static constexpr size_t ALLOW_SAS_SATA_SSD_MIX = 44;
    static constexpr size_t ALLOW_HDD_SSD_MIX = 45;
    static constexpr size_t POST_DELAY = 46;
    static constexpr size_t CRASH_DUMP_ENABLED = 47;
    static constexpr size_t LD_BBM_ENABLED = 48;
    static constexpr size_t UNCERTIFIED_DRIVES = 49;     // 0 block, 1 allow, 2 warn and allow
    static constexpr size_t TREAT_R1E_AS_R10 = 50;       // not 0: yes
    static constexpr size_t MAX_VDS_PER_ARRAY = 51;      // 0 means 16, 1 means 64
    static constexpr size_t FAIL_PD_ON_SMART_ERROR = 52;
    static constexpr size_t NON_REVERTIBLE_SPARES = 53;
    static constexpr size_t ONLINE_RESET_DISABLED = 54;
    static constexpr size_t POWER_SAVING_OPTIONS = 55;   // POWER_SAVING_UNSET, or the bits below
    static constexpr uint8_t POWER_SAVING_UNSET = 0xFF;  // no option set: every bit reads as set
    static constexpr unsigned NOT_PER_DRIVE_BIT = 3;     // no power-save level per logical drive
    static constexpr unsigned NO_MAXIMUM_BIT = 4;        // no maximum level for logical drives
    static constexpr unsigned SCHEDULE_OFF_BIT = 6;      // power saving may be scheduled off
    static constexpr size_t SPIN_DOWN_TIME = 56;         // 16-bit, minutes
    static constexpr size_t SNAPSHOT_SPACE = 58;
    static constexpr size_t AUTO_SNAPSHOT_SPACE = 59;
    static constexpr size_t VIEW_SPACE = 60;
    static constexpr size_t FEATURE_LEVEL = 62;          // 0 counts as 64; FEATURES is valid above 64
    static constexpr size_t JBOD_ENABLED = 63;
    static constexpr size_t FEATURES = 64;               // bit 4 join mirror disabled
    static constexpr unsigned JOIN_MIRROR_DISABLED_BIT = 4;
    // FEATURES: bit 0 terminal log in flash, 1 automatic enhanced import, 2-3 break-mirror
    // support, 4 join mirror disabled, 5 protection information, 6 protected-drive import
    // prevented, 7 shield state.
    static constexpr unsigned TTY_LOG_IN_FLASH_BIT = 0;
    static constexpr unsigned AUTO_ENHANCED_IMPORT_BIT = 1;
    static constexpr unsigned BREAK_MIRROR_BITS = 2;     // two bits
    static constexpr unsigned ENABLE_PI_BIT = 5;
    static constexpr unsigned PREVENT_PI_IMPORT_BIT = 6;
    static constexpr unsigned SHIELD_STATE_BIT = 7;
    // The second feature byte: bit 0 drive write cache during rebuild, 1 emergency spares, 2
    // global spares for emergencies, 3 unconfigured-good drives for emergencies, 4 SSD write
    // cache change blocked, 5 HII disabled, 6 SMART errors handled, 7 SSD SMART errors handled.
    static constexpr size_t FEATURES2 = 65;
    static constexpr unsigned DRIVE_WCE_FOR_REBUILD_BIT = 0;
    static constexpr unsigned EMERGENCY_SPARE_BIT = 1;
    static constexpr unsigned GLOBAL_SPARES_FOR_EMERGENCY_BIT = 2;
    static constexpr unsigned UNCONFIGURED_FOR_EMERGENCY_BIT = 3;
    static constexpr unsigned BLOCK_SSD_WRITE_CACHE_BIT = 4;
    static constexpr unsigned HII_DISABLED_BIT = 5;
    static constexpr unsigned SMART_ERROR_BIT = 6;
    static constexpr unsigned SSD_SMART_ERROR_BIT = 7;
    // The feature level at or below which FEATURES and bits 0-5 of FEATURES2 are not settable;
    // a stored level of 0 counts as this one.
    static constexpr uint8_t BASE_FEATURE_LEVEL = 64;
    static constexpr size_t CME_DETECT_TIME = 68;        // seconds, 0 means 60

    explicit ZprMfcDefaults(const LeView& bytes) : bytes(bytes) {}
    ZprMfcDefaults(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint8_t byteAt(size_t offset) const { return bytes.u8(offset); }
    uint8_t flag(size_t offset, unsigned bit) const { return bytes.bit(offset, bit) ? 1 : 0; }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
