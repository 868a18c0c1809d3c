// The data a drive itself returns to SCSI pass-through reads: the ATA identify data of a SATA
// drive, the standard inquiry data, the vital-product-data pages 0x01 and 0xC3 of an
// enclosure, and the temperature and bridge-firmware log pages; with the command blocks that
// read them.
#ifndef ZPRSCSIPAGES_H
#define ZPRSCSIPAGES_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

// ATA PASS-THROUGH(12), PIO data-in, IDENTIFY DEVICE: 512 bytes of 16-bit words whose text
// fields hold the second character of each pair first.
struct ZprAtaIdentify {
    static constexpr size_t SIZE = 512;
    static constexpr uint8_t CDB[12] = {0xA1, 0x08, 0x0B, 0, 0, 0, 0, 0, 0, 0xEC, 0, 0};

    static constexpr size_t SERIAL = 20;
    static constexpr size_t SERIAL_SIZE = 20;
    static constexpr size_t FIRMWARE = 46;
    static constexpr size_t FIRMWARE_SIZE = 8;
    static constexpr size_t MODEL = 54;
    static constexpr size_t MODEL_SIZE = 40;
    // Serial number, model number and firmware revision, one after the other.
    static constexpr size_t TEXT_SIZE = SERIAL_SIZE + MODEL_SIZE + FIRMWARE_SIZE;
};

// The standard inquiry data (256 bytes read).
struct ZprInquiry {
    static constexpr size_t SIZE = 256;
    static constexpr uint8_t CDB[6] = {0x12, 0x00, 0x00, 0x00, 0xFF, 0x00};

    static constexpr size_t VENDOR = 8;
    static constexpr size_t VENDOR_SIZE = 8;
    static constexpr size_t PRODUCT = 16;
    static constexpr size_t PRODUCT_SIZE = 16;
    static constexpr size_t ENCLOSURE_SERIAL = 36;
    static constexpr size_t ENCLOSURE_SERIAL_SIZE = 8;
    static constexpr size_t FRU_CRU = 114;
    static constexpr size_t FRU_CRU_SIZE = 12;
};

// Vital product data page 0x01 of an enclosure model.
struct ZprVpdPage01 {
    static constexpr size_t SIZE = 256;
    static constexpr uint8_t CDB[6] = {0x12, 0x01, 0x01, 0x00, 0xFF, 0x00};

    static constexpr size_t FIELD_5 = 5;          // three bytes
    static constexpr size_t FIELD_5_SIZE = 3;
    static constexpr size_t FRU_PART_NUMBER = 8;
    static constexpr size_t FRU_PART_NUMBER_SIZE = 8;
    static constexpr size_t ESM_SERIAL = 26;
    static constexpr size_t ESM_SERIAL_SIZE = 6;
};

// Vital product data page 0xC3 of an enclosure model: its zoning mode.
struct ZprVpdPageC3 {
    static constexpr size_t SIZE = 256;
    static constexpr uint8_t CDB[6] = {0x12, 0x01, 0xC3, 0x00, 0xFF, 0x00};

    static constexpr size_t ZONING_MODE = 8;
    static constexpr size_t ZONING_MODE_SIZE = 4;
};

// LOG SENSE of the cumulative temperature page (0x0D), 32 bytes.
struct ZprTemperaturePage {
    static constexpr size_t SIZE = 32;
    static constexpr uint8_t CDB[10] = {0x4D, 0x00, 0x4D, 0, 0, 0, 0, 0x00, 0x20, 0};

    static constexpr size_t TEMPERATURE = 9;      // degrees Celsius; 0 none
};

// LOG SENSE of the cumulative page 0x35 of a SAS-SATA bridge, 158 bytes: its firmware,
// boot-loader and configuration versions.
struct ZprBridgeFirmwarePage {
    static constexpr size_t SIZE = 158;
    static constexpr uint8_t CDB[10] = {0x4D, 0x00, 0x75, 0, 0, 0, 0, 0x00, 0x9E, 0};

    static constexpr size_t FIRMWARE_VERSION = 126;
    static constexpr size_t FIRMWARE_VERSION_SIZE = 12;
    static constexpr size_t BOOT_LOADER_VERSION = 138;
    static constexpr size_t BOOT_LOADER_VERSION_SIZE = 12;
    static constexpr size_t CONFIG_VERSION = 150;
    static constexpr size_t CONFIG_VERSION_SIZE = 8;
};

// READ DEFECT DATA(12) of the primary or the grown defect list in format 5 (physical sector),
// allocation length 8: only the list header is wanted, whose bytes 2-3 (big-endian) give the
// list's length in bytes, 8 bytes per entry. Read into a zeroed 512-byte buffer.
struct ZprDefectListHeader {
    static constexpr size_t SIZE = 512;
    static constexpr uint8_t CDB_PRIMARY[12] = {0xB7, 0x15, 0, 0, 0, 0, 0, 0, 0, 0x08, 0x00, 0x00};
    static constexpr uint8_t CDB_GROWN[12] = {0xB7, 0x0D, 0, 0, 0, 0, 0, 0, 0, 0x08, 0x00, 0x00};

    static constexpr size_t LIST_LENGTH_HIGH = 2;
    static constexpr size_t LIST_LENGTH_LOW = 3;
    static constexpr uint32_t ENTRY_SIZE = 8;

    // The entries of the list the header describes.
    static uint32_t entryCount(const uint8_t* reply, size_t size)
    {
        const LeView bytes(reply, size);
        return (bytes.u8(LIST_LENGTH_HIGH) * 256u + bytes.u8(LIST_LENGTH_LOW)) / ENTRY_SIZE;
    }
};

#endif
