// A drive (or enclosure device) firmware download: the block that tells the controller a
// download is coming, and the command blocks that carry the image to the device: SCSI WRITE
// BUFFER for SAS devices, ATA PASS-THROUGH(12) with DOWNLOAD MICROCODE for SATA devices.
// Multi-byte fields of the command blocks are big-endian.
#ifndef ZPRDRIVEFIRMWAREDOWNLOAD_H
#define ZPRDRIVEFIRMWAREDOWNLOAD_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

// DCMD_ADP_PD_FW_DOWNLOAD_PREPARE's data (mailbox bytes 0-1: the device id).
class ZprFwDownloadPrepare {
public:
    static constexpr size_t SIZE = 40;

    static constexpr size_t TRANSFER_COUNT = 0;   // 8-bit number of transfers to come
    static constexpr size_t IMAGE_SIZE = 4;       // 32-bit image size in bytes

    explicit ZprFwDownloadPrepare(const LeView& bytes) : bytes(bytes) {}

    bool setTransferCount(uint8_t count) { return bytes.setU8(TRANSFER_COUNT, count); }
    bool setImageSize(uint32_t size) { return bytes.setU32(IMAGE_SIZE, size); }

private:
    LeView bytes;
};

// WRITE BUFFER (10 bytes).
struct ZprWriteBufferCdb {
    static constexpr size_t SIZE = 10;
    static constexpr uint8_t OPERATION = 0x3B;

    static constexpr size_t MODE = 1;
    static constexpr size_t BUFFER_ID = 2;
    static constexpr size_t OFFSET = 3;       // 24 bits
    static constexpr size_t LENGTH = 6;       // 24 bits

    static constexpr uint8_t MODE_DOWNLOAD_AND_SAVE = 0x05;
    static constexpr uint8_t MODE_OFFSETS_AND_SAVE = 0x07;
    static constexpr uint8_t MODE_OFFSETS_SAVE_DEFER = 0x0E;
    static constexpr uint8_t MODE_ACTIVATE_DEFERRED = 0x0F;

    static void build(uint8_t (&cdb)[SIZE], uint8_t mode, uint8_t bufferId, uint32_t offset, uint32_t length)
    {
        for (uint8_t& b : cdb)
            b = 0;
        cdb[0] = OPERATION;
        cdb[MODE] = mode;
        cdb[BUFFER_ID] = bufferId;
        putBe24(cdb + OFFSET, offset);
        putBe24(cdb + LENGTH, length);
    }

private:
    static void putBe24(uint8_t* at, uint32_t value)
    {
        at[0] = static_cast<uint8_t>(value >> 16);
        at[1] = static_cast<uint8_t>(value >> 8);
        at[2] = static_cast<uint8_t>(value);
    }
};

// ATA PASS-THROUGH(12) carrying DOWNLOAD MICROCODE (12 bytes); the length counts 512-byte
// sectors, low byte first.
struct ZprAtaDownloadMicrocodeCdb {
    static constexpr size_t SIZE = 12;
    static constexpr uint32_t SECTOR = 512;

    static void build(uint8_t (&cdb)[SIZE], uint32_t length)
    {
        const uint32_t sectors = length / SECTOR;
        const uint8_t fixed[SIZE] = {0xA1, 0x0A, 0x06, 0x07, 0, 0, 0, 0, 0xA0, 0x92, 0, 0};
        for (size_t i = 0; i < SIZE; ++i)
            cdb[i] = fixed[i];
        cdb[4] = static_cast<uint8_t>(sectors);
        cdb[5] = static_cast<uint8_t>(sectors >> 8);
    }
};

#endif
