// The information of one logical drive, read with DCMD_LD_GET_INFO (mailbox word 0 the
// target id): its properties and parameters, and the device-identification page (SCSI VPD
// page 0x83) that the drive presents to the host.
#ifndef ZPRLDINFO_H
#define ZPRLDINFO_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"
#include "RaidManager/Zpr/ZprLdParameters.h"

class ZprLdInfo {
public:
    static constexpr size_t SIZE = 384;

    static constexpr size_t PARAMETERS = 32;          // ZprLdParameters
    static constexpr size_t DEVICE_ID_PAGE = 304;
    static constexpr size_t DEVICE_ID_PAGE_SIZE = 64;

    explicit ZprLdInfo(const LeView& bytes) : bytes(bytes) {}
    ZprLdInfo(const uint8_t* record, size_t size) : bytes(record, size) {}

    ZprLdParameters parameters() const { return ZprLdParameters(bytes.sub(PARAMETERS, ZprLdParameters::SIZE)); }
    // Copies the device-identification page to `page` (DEVICE_ID_PAGE_SIZE bytes); false, and
    // the page zeroed, when the record is too short to hold it.
    bool copyDeviceIdPage(uint8_t* page) const { return bytes.readBytes(DEVICE_ID_PAGE, page, DEVICE_ID_PAGE_SIZE); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
