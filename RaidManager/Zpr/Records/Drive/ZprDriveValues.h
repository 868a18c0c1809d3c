// The values of the drive records' fields (ZprDriveInfo, the drive list, the configuration's
// array members): one declaration each, with the width of the field that holds it. Every user
// includes this header; scripts/check-firmware-values.sh fails when a file declares one again.
#ifndef ZPRDRIVEVALUES_H
#define ZPRDRIVEVALUES_H

#include <cstdint>

// Firmware state of a drive (ZprDriveInfo::FIRMWARE_STATE, 16-bit; the value DCMD_PD_SET_STATE
// takes).
constexpr uint16_t PD_STATE_UNCONFIGURED_GOOD = 0x00;
constexpr uint16_t PD_STATE_UNCONFIGURED_BAD = 0x01;
constexpr uint16_t PD_STATE_HOT_SPARE = 0x02;
constexpr uint16_t PD_STATE_OFFLINE = 0x10;
constexpr uint16_t PD_STATE_FAILED = 0x11;
constexpr uint16_t PD_STATE_REBUILD = 0x14;
constexpr uint16_t PD_STATE_ONLINE = 0x18;
constexpr uint16_t PD_STATE_COPYBACK = 0x20;
constexpr uint16_t PD_STATE_JBOD = 0x40;
constexpr uint16_t PD_STATE_UNCONFIGURED_SHIELDED = 0x80;
constexpr uint16_t PD_STATE_HOT_SPARE_SHIELDED = 0x82;
constexpr uint16_t PD_STATE_CONFIGURED_SHIELDED = 0x90;

// Power state of a drive (ZprDriveInfo::POWER_STATE, 8-bit); anything else is spun down.
constexpr uint8_t PD_POWER_SPUN_UP = 0x00;
constexpr uint8_t PD_POWER_TRANSITION = 0xFF;

// Interface of a drive (ZprDriveInfo::INTERFACE_CODE, 8-bit).
constexpr uint8_t INTERFACE_SCSI = 1;
constexpr uint8_t INTERFACE_SAS = 2;
constexpr uint8_t INTERFACE_SATA = 3;
constexpr uint8_t INTERFACE_FC = 4;

// Media of a drive (ZprDriveInfo::MEDIA_TYPE, 8-bit): anything but 0 is solid state; the
// firmware reports solid state as 1.
constexpr uint8_t MEDIA_ROTATING = 0;
constexpr uint8_t MEDIA_SOLID_STATE = 1;

// Logical sector size of a drive that reports 0 (ZprDriveInfo::LOGICAL_SECTOR_SIZE, 16-bit), and
// the block the controller counts sizes in.
constexpr uint16_t BASE_BLOCK_SIZE = 512;

// The connector of a drive port or an enclosure that hangs on none (ZprDriveInfo::CONNECTOR_INDEX,
// ZprEnclosureEntry::PROPERTY; 8-bit).
constexpr uint8_t NO_CONNECTOR = 0xFF;

// Device id of an array member that is missing (ZprArrayDrive::DEVICE_ID, 16-bit): the drive
// left the array and no drive stands in its place yet.
constexpr uint16_t MISSING_DEVICE_ID = 0xFFFF;

#endif
