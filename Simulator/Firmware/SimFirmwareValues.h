// The firmware values the simulated host answers with and keeps in its state: statuses, drive
// and logical-drive states, policy codes. The simulator keeps its own (it never sees the
// program's records) but declares each once, here; scripts/check-firmware-values.sh fails when
// another simulator file declares one again.
#ifndef SIMFIRMWAREVALUES_H
#define SIMFIRMWAREVALUES_H

#include <cstdint>

namespace sim {

// Firmware statuses (the frame's status byte).
const uint8_t FW_STATUS_OK = 0x00;
const uint8_t FW_STATUS_NOT_SUPPORTED = 0x01;
const uint8_t FW_STATUS_INVALID_COMMAND = 0x02;    // no handler for the frame's code
const uint8_t FW_STATUS_INVALID_ARGUMENT = 0x03;   // direction or length does not fit
const uint8_t FW_STATUS_CANNOT_ABORT = 0x05;
const uint8_t FW_STATUS_BAD_ARRAY = 0x09;          // an array that the configuration cannot hold
const uint8_t FW_STATUS_IN_USE = 0x0B;
const uint8_t FW_STATUS_NO_DEVICE = 0x0C;          // the addressed device does not exist
const uint8_t FW_STATUS_FLASH_BUSY = 0x0F;         // a download is already open
const uint8_t FW_STATUS_FLASH_SEQUENCE = 0x13;     // a piece out of order, a commit with bytes missing
const uint8_t FW_STATUS_FLASH_NOT_OPEN = 0x14;     // no download in progress
const uint8_t FW_STATUS_CC_RUNNING = 0x17;
const uint8_t FW_STATUS_INIT_RUNNING = 0x18;
const uint8_t FW_STATUS_MAX_LDS = 0x1A;            // no room for another logical drive
const uint8_t FW_STATUS_RECON_RUNNING = 0x1D;
const uint8_t FW_STATUS_WRONG_LEVEL = 0x1E;
const uint8_t FW_STATUS_HARDWARE_NOT_PRESENT = 0x22;
const uint8_t FW_STATUS_NOT_FOUND = 0x23;
const uint8_t FW_STATUS_SCSI_ERROR = 0x2D;         // a pass-through the device answered with an error
const uint8_t FW_STATUS_WRONG_STATE = 0x32;
const uint8_t FW_STATUS_SECURE_LDS_EXIST = 0x4B;
const uint8_t FW_STATUS_SPINNING_UP = 0x55;
const uint8_t FW_STATUS_NO_PATROL_READ_DRIVES = 0x58;
const uint8_t FW_STATUS_REBOOT_REQUIRED = 0x59;
const uint8_t FW_STATUS_CONVERSION_LIMIT = 0x5F;
const uint8_t FW_STATUS_AEC_RUNNING = 0x61;
const uint8_t FW_STATUS_SSD_CACHE_DATA = 0x66;     // a plain clear while SSD-cache data is kept
const uint8_t FW_STATUS_ONLINE_UPDATE_NOT_NOW = 0x69;

// Firmware states of a drive.
const uint8_t PD_STATE_UNCONFIGURED_GOOD = 0x00;
const uint8_t PD_STATE_UNCONFIGURED_BAD = 0x01;
const uint8_t PD_STATE_HOT_SPARE = 0x02;
const uint8_t PD_STATE_OFFLINE = 0x10;
const uint8_t PD_STATE_FAILED = 0x11;
const uint8_t PD_STATE_REBUILD = 0x14;
const uint8_t PD_STATE_ONLINE = 0x18;
const uint8_t PD_STATE_COPYBACK = 0x20;
const uint8_t PD_STATE_JBOD = 0x40;

// Power state of a drive beside 0 (spun up).
const uint8_t POWER_SPUN_DOWN = 0x01;

// Configuration flags of a drive: a hot spare.
const uint8_t CONFIG_FLAG_SPARE = 0x02;

// States of a logical drive, and its blocked access policy.
const uint8_t LD_STATE_OFFLINE = 0;
const uint8_t LD_STATE_DEGRADED = 2;
const uint8_t LD_STATE_OPTIMAL = 3;
const uint8_t ACCESS_BLOCKED = 3;

} // namespace sim

#endif
