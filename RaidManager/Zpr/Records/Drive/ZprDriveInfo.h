// The information record of one device on the drive list (a disk, a tape or the device entry
// of an enclosure), read with DCMD_PD_GET_INFO (mailbox bytes 0-1 the device id). The
// firmware writes it; the program only reads it. Bytes not named here are not interpreted.
#ifndef ZPRDRIVEINFO_H
#define ZPRDRIVEINFO_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"

class ZprDriveInfo {
public:
    static constexpr size_t SIZE = 512;

    static constexpr size_t DEVICE_ID = 0;               // 16-bit
    static constexpr size_t SEQUENCE = 2;                // 16-bit sequence number of the record
    static constexpr size_t DEVICE_REF = 0;              // 32-bit: device id and sequence number
    static constexpr size_t INQUIRY = 4;                 // standard SCSI INQUIRY data
    static constexpr size_t INQUIRY_SIZE = 96;
    static constexpr size_t VENDOR = 12;                 // inquiry bytes 8-15
    static constexpr size_t VENDOR_SIZE = 8;
    static constexpr size_t PRODUCT = 20;                // inquiry bytes 16-31
    static constexpr size_t PRODUCT_SIZE = 16;
    static constexpr size_t REVISION = 36;               // inquiry bytes 32-35
    static constexpr size_t REVISION_SIZE = 4;
    static constexpr size_t VENDOR_SPECIFIC = 40;        // inquiry bytes 36-55
    static constexpr size_t VENDOR_SPECIFIC_SIZE = 20;
    static constexpr size_t DEVICE_ID_DATA = 100;        // VPD page 0x83, first part
    static constexpr size_t DEVICE_ID_DATA_SIZE = 64;
    static constexpr size_t UNSUPPORTED = 164;           // 8-bit: nonzero, not supported
    static constexpr size_t SCSI_DEVICE_TYPE = 165;      // 8-bit: 0 disk, 1 tape
    static constexpr size_t CONNECTED_PORTS = 166;       // 8-bit
    static constexpr size_t DEVICE_SPEED = 167;          // 8-bit speed code
    static constexpr size_t MEDIA_ERRORS = 168;          // 32-bit
    static constexpr size_t OTHER_ERRORS = 172;          // 32-bit
    static constexpr size_t PREDICTIVE_FAILURES = 176;   // 32-bit
    static constexpr size_t LAST_PREDICTIVE_SEQ = 180;   // 32-bit
    static constexpr size_t FIRMWARE_STATE = 184;        // 16-bit
    static constexpr size_t LINK_SPEED = 187;            // 8-bit speed code, active path
    static constexpr size_t CONFIG_FLAGS = 188;          // 8-bit, bits below
    static constexpr size_t INTERFACE = 189;             // 8-bit: interface in the high nibble
    static constexpr size_t PORT_COUNT = 192;            // 8-bit, at most MAX_PORTS
    static constexpr size_t PORT_FLAGS = 193;            // 8-bit: bits 0-3 passive path, bit 7 wide port
    static constexpr size_t CONNECTOR_INDEX = 194;       // 8-bit per port; NO_CONNECTOR none
    static constexpr size_t SAS_ADDRESSES = 200;         // 64-bit per port
    static constexpr size_t RAW_SIZE = 232;              // 64-bit sectors
    static constexpr size_t NON_COERCED_SIZE = 240;      // 64-bit sectors
    static constexpr size_t COERCED_SIZE = 248;          // 64-bit sectors
    static constexpr size_t ENCLOSURE_DEVICE_ID = 256;   // 16-bit; 0xFFFF none
    static constexpr size_t ENCLOSURE_INDEX = 258;       // 8-bit
    static constexpr size_t SLOT = 259;                  // 8-bit
    static constexpr size_t OPERATIONS = 260;            // 8-bit: bit 0 rebuild, 1 patrol read, 2 clear
    static constexpr size_t PROGRESS_REBUILD = 264;      // 16-bit progress, 16-bit elapsed seconds
    static constexpr size_t PROGRESS_PATROL_READ = 268;
    static constexpr size_t PROGRESS_CLEAR = 272;
    static constexpr size_t DEVICE_ID_DATA_2 = 294;      // VPD page 0x83, second part
    static constexpr size_t POWER_STATE = 358;           // 8-bit: 0 spun up, 0xFF in transition
    static constexpr size_t ENCLOSURE_POSITION = 359;    // 8-bit
    static constexpr size_t FLAGS_361 = 361;             // 8-bit
    static constexpr size_t OPERATION_FLAGS = 362;       // 8-bit, bits below
    static constexpr size_t PARTNER_DEVICE_ID = 364;     // 16-bit; 0xFFFF none
    static constexpr size_t SLOT_COUNT = 366;            // 16-bit
    static constexpr size_t SECURITY_FLAGS = 368;        // 8-bit, bits below
    static constexpr size_t MEDIA_TYPE = 370;            // 8-bit: nonzero solid state
    static constexpr size_t NOT_CERTIFIED = 371;         // 8-bit: nonzero not certified
    static constexpr size_t BRIDGE_VENDOR = 372;         // 8 ASCII bytes
    static constexpr size_t BRIDGE_VENDOR_SIZE = 8;
    static constexpr size_t BRIDGE_PRODUCT = 380;        // 16 ASCII bytes
    static constexpr size_t BRIDGE_PRODUCT_SIZE = 16;
    static constexpr size_t BRIDGE_REVISION = 396;       // 4 ASCII bytes
    static constexpr size_t BRIDGE_REVISION_SIZE = 4;
    static constexpr size_t BRIDGE_PRESENT = 400;        // 8-bit: nonzero
    static constexpr size_t INTERFACE_CODE = 401;        // 8-bit: 1 SCSI, 2 SAS, 3 SATA, 4 FC
    static constexpr size_t TEMPERATURE = 402;           // 8-bit Celsius; 0 and 0xFF none
    static constexpr size_t PHYSICAL_SECTOR_EXPONENT = 403;  // 8-bit: physical = logical << (v & 31)
    static constexpr size_t LOGICAL_SECTOR_SIZE = 404;   // 16-bit bytes; 0 counts as BASE_BLOCK_SIZE
    static constexpr size_t PROTECTION = 408;            // 8-bit, bits below
    static constexpr size_t SPARE_FLAGS = 409;           // 8-bit: bit 0 emergency spare
    static constexpr size_t DIAGNOSTICS_DATE = 412;      // 16-bit year, month, day, hour, minute, second
    static constexpr size_t SHIELD_COUNTER = 420;        // 8-bit
    static constexpr size_t LINK_SPEED_2 = 421;          // 8-bit speed code, second path

    static constexpr uint32_t MAX_PORTS = 4;

    // Configuration flags (offset 188).
    static constexpr uint8_t CONFIG_IN_USE_MASK = 0x0E;  // bits 1-3
    static constexpr unsigned CONFIG_SPARE = 1;
    static constexpr unsigned CONFIG_FOREIGN = 4;
    // Port flags (offset 193).
    static constexpr unsigned PORT_WIDE = 7;
    // Operation flags (offset 362).
    static constexpr unsigned OP_FLAG_REPROVISION = 1;
    static constexpr unsigned OP_FLAG_2 = 2;
    static constexpr unsigned OP_REBUILD_SUSPENDABLE = 4;
    static constexpr unsigned OP_REBUILD_RESUMABLE = 5;
    static constexpr unsigned OP_COPYBACK_SUSPENDABLE = 6;
    static constexpr unsigned OP_COPYBACK_RESUMABLE = 7;
    // Security flags (offset 368).
    static constexpr unsigned SEC_FDE_CAPABLE = 0;
    static constexpr unsigned SEC_ENABLED = 1;
    static constexpr unsigned SEC_SECURED = 2;
    static constexpr unsigned SEC_LOCKED = 3;
    static constexpr unsigned SEC_FOREIGN_LOCKED = 4;
    static constexpr unsigned SEC_EKM_ATTENTION = 5;
    // Protection information (offset 408).
    static constexpr uint8_t PI_TYPE_MASK = 0x07;
    static constexpr unsigned PI_FORMATTED = 3;
    static constexpr unsigned PI_ELIGIBLE = 4;
    static constexpr unsigned PI_COMMISSIONED_SPARE = 7;
    static constexpr unsigned SPARE_EMERGENCY = 0;

    explicit ZprDriveInfo(const LeView& bytes) : bytes(bytes) {}
    ZprDriveInfo(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint16_t deviceId() const { return bytes.u16(DEVICE_ID); }
    uint16_t sequenceNumber() const { return bytes.u16(SEQUENCE); }
    uint32_t deviceRef() const { return bytes.u32(DEVICE_REF); }
    size_t vendor(char* out, size_t outSize) const { return bytes.readText(VENDOR, VENDOR_SIZE, out, outSize); }
    size_t product(char* out, size_t outSize) const { return bytes.readText(PRODUCT, PRODUCT_SIZE, out, outSize); }
    size_t revision(char* out, size_t outSize) const { return bytes.readText(REVISION, REVISION_SIZE, out, outSize); }
    uint8_t unsupported() const { return bytes.u8(UNSUPPORTED); }
    uint8_t scsiDeviceType() const { return bytes.u8(SCSI_DEVICE_TYPE); }
    uint8_t connectedPorts() const { return bytes.u8(CONNECTED_PORTS); }
    uint8_t deviceSpeed() const { return bytes.u8(DEVICE_SPEED); }
    uint32_t mediaErrors() const { return bytes.u32(MEDIA_ERRORS); }
    uint32_t otherErrors() const { return bytes.u32(OTHER_ERRORS); }
    uint32_t predictiveFailures() const { return bytes.u32(PREDICTIVE_FAILURES); }
    uint32_t lastPredictiveFailureSeq() const { return bytes.u32(LAST_PREDICTIVE_SEQ); }
    uint16_t firmwareState() const { return bytes.u16(FIRMWARE_STATE); }
    uint8_t linkSpeed() const { return bytes.u8(LINK_SPEED); }
    uint8_t configFlags() const { return bytes.u8(CONFIG_FLAGS); }
    bool isForeign() const { return bytes.bit(CONFIG_FLAGS, CONFIG_FOREIGN); }
    uint8_t interfaceType() const { return static_cast<uint8_t>(bytes.u8(INTERFACE) >> 4); }
    // The count as the firmware reports it: not a loop bound.
    uint8_t portCount() const { return bytes.u8(PORT_COUNT); }
    uint32_t portEntryCount() const { return clampCount(portCount(), MAX_PORTS); }
    uint8_t portFlags() const { return bytes.u8(PORT_FLAGS); }
    bool isWidePortCapable() const { return bytes.bit(PORT_FLAGS, PORT_WIDE); }
    uint8_t connectorIndex(uint32_t port) const
    {
        return port < MAX_PORTS ? bytes.u8(CONNECTOR_INDEX + port) : NO_CONNECTOR;
    }
    uint64_t sasAddress(uint32_t port) const { return port < MAX_PORTS ? bytes.u64(SAS_ADDRESSES + port * 8) : 0; }
    uint64_t rawSize() const { return bytes.u64(RAW_SIZE); }
    uint64_t nonCoercedSize() const { return bytes.u64(NON_COERCED_SIZE); }
    uint64_t coercedSize() const { return bytes.u64(COERCED_SIZE); }
    uint16_t enclosureDeviceId() const { return bytes.u16(ENCLOSURE_DEVICE_ID); }
    uint8_t enclosureIndex() const { return bytes.u8(ENCLOSURE_INDEX); }
    uint8_t slotNumber() const { return bytes.u8(SLOT); }
    uint8_t operationsInProgress() const { return bytes.u8(OPERATIONS); }
    uint8_t powerState() const { return bytes.u8(POWER_STATE); }
    uint8_t enclosurePosition() const { return bytes.u8(ENCLOSURE_POSITION); }
    uint8_t flags361() const { return bytes.u8(FLAGS_361); }
    uint8_t operationFlags() const { return bytes.u8(OPERATION_FLAGS); }
    uint16_t partnerDeviceId() const { return bytes.u16(PARTNER_DEVICE_ID); }
    uint16_t slotCount() const { return bytes.u16(SLOT_COUNT); }
    uint8_t securityFlags() const { return bytes.u8(SECURITY_FLAGS); }
    uint8_t mediaType() const { return bytes.u8(MEDIA_TYPE); }
    uint8_t notCertified() const { return bytes.u8(NOT_CERTIFIED); }
    bool hasBridge() const { return bytes.u8(BRIDGE_PRESENT) != 0; }
    uint8_t interfaceCode() const { return bytes.u8(INTERFACE_CODE); }
    uint8_t temperature() const { return bytes.u8(TEMPERATURE); }
    uint8_t physicalSectorExponent() const { return bytes.u8(PHYSICAL_SECTOR_EXPONENT); }
    uint16_t logicalSectorSize() const { return bytes.u16(LOGICAL_SECTOR_SIZE); }
    uint8_t protection() const { return bytes.u8(PROTECTION); }
    uint8_t piType() const { return static_cast<uint8_t>(protection() & PI_TYPE_MASK); }
    uint8_t spareFlags() const { return bytes.u8(SPARE_FLAGS); }
    uint16_t diagnosticsYear() const { return bytes.u16(DIAGNOSTICS_DATE); }
    // Month (0: never), day, hour, minute, second: index 0-4.
    uint8_t diagnosticsDatePart(uint32_t index) const { return index < 5 ? bytes.u8(DIAGNOSTICS_DATE + 2 + index) : 0; }
    uint8_t shieldCounter() const { return bytes.u8(SHIELD_COUNTER); }
    uint8_t secondLinkSpeed() const { return bytes.u8(LINK_SPEED_2); }
    // Progress entries: 16-bit progress in 65535ths, then 16-bit elapsed seconds.
    uint16_t progress(size_t entry) const { return bytes.u16(entry); }
    uint16_t elapsedSeconds(size_t entry) const { return bytes.u16(entry + 2); }

    bool bit(size_t offset, unsigned bitNumber) const { return bytes.bit(offset, bitNumber); }
    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
