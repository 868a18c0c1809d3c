// Firmware statuses: the 8-bit status the firmware writes into a request's frame (byte 2), which
// the model passes on as the result of the call. One declaration each; the texts printed for
// them are the rows of CpMgmt/FwErrorDescriptions.cpp. Every user includes this header;
// scripts/check-firmware-values.sh fails when a file declares one again.
#ifndef ZPRFIRMWARESTATUS_H
#define ZPRFIRMWARESTATUS_H

#include <cstdint>

constexpr uint8_t STATUS_OK = 0x00;
constexpr uint8_t STATUS_NOT_SUPPORTED = 0x01;        // not supported at this time
constexpr uint8_t STATUS_INVALID_COMMAND = 0x02;
constexpr uint8_t STATUS_INVALID_SEQUENCE = 0x04;     // check the configuration and retry
constexpr uint8_t STATUS_INVALID_ARRAY = 0x09;
constexpr uint8_t STATUS_RESOURCE_IN_USE = 0x0B;
constexpr uint8_t STATUS_NO_DEVICE = 0x0C;
constexpr uint8_t STATUS_NO_FLASH_MEMORY = 0x0E;
constexpr uint8_t STATUS_DOWNLOAD_IN_PROGRESS = 0x0F; // flash in use
constexpr uint8_t STATUS_HARDWARE_NOT_PRESENT = 0x22;
constexpr uint8_t STATUS_NOT_FOUND = 0x23;            // the object does not exist (no events)
constexpr uint8_t STATUS_PATROL_READ_DISABLED = 0x27;
constexpr uint8_t STATUS_WRONG_STATE = 0x32;          // the device's state does not allow it
constexpr uint8_t STATUS_SECURE_VDS_PRESENT = 0x4B;
constexpr uint8_t STATUS_POWER_UPDATE_BUSY = 0x55;
constexpr uint8_t STATUS_OTHER_POWER_UPDATE_BUSY = 0x56;
constexpr uint8_t STATUS_NO_PATROL_READ_DRIVES = 0x58;
constexpr uint8_t STATUS_REBOOT_REQUIRED = 0x59;
constexpr uint8_t STATUS_CONVERSION_LIMIT = 0x5F;     // no more drives can leave JBOD
constexpr uint8_t STATUS_CAPTURE_RUNNING = 0x61;
constexpr uint8_t STATUS_SSD_CACHE_DATA = 0x66;
constexpr uint8_t STATUS_ONLINE_UPDATE_NOT_NOW = 0x69;

#endif
