// The controller-properties record, read with DCMD_ADP_GET_PROPERTIES and written whole with
// DCMD_ADP_SET_PROPERTIES: the controller's adjustable settings. The controller-information
// record carries a copy of it. Rates are percentages; bits are numbered from 0.
#ifndef ZPRCONTROLLERPROPERTIES_H
#define ZPRCONTROLLERPROPERTIES_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprControllerProperties {
public:
    static constexpr size_t SIZE = 64;

    static constexpr size_t SEQUENCE_NUMBER = 0;             // 16-bit
    static constexpr size_t PREDICTIVE_FAIL_POLL = 2;        // 16-bit, seconds
    static constexpr size_t INTERRUPT_THROTTLE_COUNT = 4;    // 16-bit
    static constexpr size_t INTERRUPT_THROTTLE_TIME = 6;     // 16-bit, microseconds
    static constexpr size_t REBUILD_RATE = 8;
    static constexpr size_t PATROL_READ_RATE = 9;
    static constexpr size_t BGI_RATE = 10;
    static constexpr size_t CC_RATE = 11;
    static constexpr size_t RECONSTRUCTION_RATE = 12;
    static constexpr size_t CACHE_FLUSH_INTERVAL = 13;       // seconds
    static constexpr size_t SPINUP_DRIVE_COUNT = 14;
    static constexpr size_t SPINUP_DELAY = 15;               // seconds
    static constexpr size_t CLUSTER_ENABLE = 16;
    static constexpr size_t COERCION_MODE = 17;              // 0 none, 1 128 MB, 2 1 GB
    static constexpr size_t ALARM_ENABLED = 18;
    static constexpr size_t AUTO_REBUILD_DISABLED = 19;
    static constexpr size_t BATTERY_WARNING_DISABLED = 20;
    static constexpr size_t ECC_BUCKET_SIZE = 21;
    static constexpr size_t ECC_BUCKET_LEAK_RATE = 22;       // 16-bit, minutes
    static constexpr size_t RESTORE_HOT_SPARE = 24;
    static constexpr size_t EXPOSE_ENCLOSURE_DEVICES = 25;
    static constexpr size_t MAINTAIN_PD_FAIL_HISTORY = 26;
    static constexpr size_t REORDERING_DISABLED = 27;
    static constexpr size_t ABORT_CC_ON_ERROR = 28;
    static constexpr size_t LOAD_BALANCE_MODE = 29;          // 0 automatic
    static constexpr size_t AUTO_DETECT_BACKPLANE_DISABLED = 30;
    static constexpr size_t DEFAULT_SNAPSHOT_SPACE = 31;
    // Byte 32: bit 0 copyback disabled, 1 SMART copyback, 2 patrol read corrects unconfigured
    // areas, 3 drive-based encryption only, 4 NCQ disabled, 5 SSD SMART copyback, 6 patrol read
    // on SSDs, 7 spin down unconfigured drives.
    static constexpr size_t DRIVE_FLAGS = 32;
    // Byte 33: bit 0 automatic enhanced import, 2 online controller reset disabled, 3 boot with
    // pinned cache, 4 spin down hot spares, 5 JBOD, 6 (no known meaning), 7 disk activity for
    // locate.
    static constexpr size_t CONTROLLER_FLAGS = 33;
    // Byte 34: bit 0 protection information, 1 prevent import of such drives, 2-4 emergency
    // spares (global hot spares, unconfigured-good drives, on SMART error), 5 force SGPIO.
    static constexpr size_t SPARE_FLAGS = 34;
    static constexpr size_t AUTO_SNAPSHOT_SPACE = 36;
    static constexpr size_t DEFAULT_VIEW_SPACE = 37;
    static constexpr size_t SPIN_DOWN_TIME = 38;             // 16-bit, minutes
    static constexpr size_t DEFAULT_LD_POWER_SAVING = 40;
    static constexpr size_t POWER_SAVING_DISABLED_INTERVAL = 41;   // hours
    static constexpr size_t POWER_SAVING_DISABLED_TIME = 42;       // 16-bit, minutes after midnight
    static constexpr size_t SPINUP_ENCLOSURE_DRIVE_COUNT = 44;
    static constexpr size_t SPINUP_ENCLOSURE_DELAY = 45;     // seconds
    static constexpr size_t PERF_TUNED_MODE = 47;            // bits 0-1
    static constexpr size_t PERF_MODE_VALUES = 48;           // flush lines, latency per mode 0-3

    explicit ZprControllerProperties(const LeView& bytes) : bytes(bytes) {}
    ZprControllerProperties(uint8_t* record, size_t size) : bytes(record, size) {}
    ZprControllerProperties(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint8_t rebuildRate() const { return bytes.u8(REBUILD_RATE); }
    bool setRebuildRate(uint8_t rate) { return bytes.setU8(REBUILD_RATE, rate); }

    LeView& view() { return bytes; }
    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
