// The information of one logical drive, read with DCMD_LD_GET_INFO (mailbox word 0 the
// target id): its properties and parameters, its size, the progress of running operations,
// and the device-identification page (SCSI VPD page 0x83) that the drive presents to the host.
#ifndef ZPRLDINFO_H
#define ZPRLDINFO_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdParameters.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdProperties.h"

class ZprLdInfo {
public:
    static constexpr size_t SIZE = 384;

    static constexpr size_t PROPERTIES = 0;           // ZprLdProperties
    static constexpr size_t PARAMETERS = 32;          // ZprLdParameters
    static constexpr size_t SIZE_BLOCKS = 256;        // 64-bit size of the drive in blocks
    static constexpr size_t RUNNING = 264;            // 32-bit: 1 CC, 2 BGI, 4 FGI, 8 reconstruction
    static constexpr size_t PROGRESS = 268;           // 16-bit progress, 16-bit seconds, per operation
    static constexpr size_t PROGRESS_ENTRIES = 4;
    static constexpr size_t OWNER_DEVICE_ID = 300;    // 16-bit: the device id of the drive's owner
    static constexpr size_t FLAGS_303 = 303;          // bit 0: the size at SIZE_BLOCKS is the drive's
    static constexpr size_t DEVICE_ID_PAGE = 304;
    static constexpr size_t DEVICE_ID_PAGE_SIZE = 64;

    explicit ZprLdInfo(const LeView& bytes) : bytes(bytes) {}
    ZprLdInfo(const uint8_t* record, size_t size) : bytes(record, size) {}

    ZprLdProperties properties() const { return ZprLdProperties(bytes.sub(PROPERTIES, ZprLdProperties::SIZE)); }
    ZprLdParameters parameters() const { return ZprLdParameters(bytes.sub(PARAMETERS, ZprLdParameters::SIZE)); }
    // Copies the device-identification page to `page` (DEVICE_ID_PAGE_SIZE bytes); false, and
    // the page zeroed, when the record is too short to hold it.
    bool copyDeviceIdPage(uint8_t* page) const { return bytes.readBytes(DEVICE_ID_PAGE, page, DEVICE_ID_PAGE_SIZE); }

    uint64_t sizeBlocks() const { return bytes.u64(SIZE_BLOCKS); }
    uint32_t runningOperations() const { return bytes.u32(RUNNING); }
    uint16_t ownerDeviceId() const { return bytes.u16(OWNER_DEVICE_ID); }
    uint16_t progress(size_t entry) const { return entry < PROGRESS_ENTRIES ? bytes.u16(PROGRESS + 4 * entry) : 0; }
    uint16_t elapsedSeconds(size_t entry) const { return entry < PROGRESS_ENTRIES ? bytes.u16(PROGRESS + 4 * entry + 2) : 0; }
    bool sizeIsDriveSize() const { return bytes.bit(FLAGS_303, 0); }
    uint8_t snapshotEnabled() const { return bytes.u8(PARAMETERS + ZprLdParameters::SNAPSHOT); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
