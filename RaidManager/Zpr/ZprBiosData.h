// The BIOS-data record, read with DCMD_ADP_BIOS_GET_DATA and written with
// DCMD_ADP_BIOS_SET_DATA: the option-ROM settings and the boot device. Its last byte makes the
// 64 bytes add up to 0 modulo 256.
#ifndef ZPRBIOSDATA_H
#define ZPRBIOSDATA_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprBiosData {
public:
    static constexpr size_t SIZE = 64;

    static constexpr size_t BOOT_DEVICE = 0;          // 16-bit target id or device id; 0xFFFF none
    static constexpr size_t BIOS_DISABLED = 2;        // not 0: disabled
    static constexpr size_t ERROR_HANDLING = 3;       // 0 stop on errors
    static constexpr size_t BOOT_IS_PHYSICAL = 8;     // 1 a physical drive, 0 a virtual drive
    static constexpr size_t KEY_MANAGEMENT_MODE = 9;
    static constexpr size_t AUTO_SELECT_BOOT = 10;
    static constexpr size_t CHECKSUM = 63;

    explicit ZprBiosData(const LeView& bytes) : bytes(bytes) {}
    ZprBiosData(uint8_t* record, size_t size) : bytes(record, size) {}
    ZprBiosData(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint8_t biosDisabled() const { return bytes.u8(BIOS_DISABLED); }
    bool setBiosDisabled(uint8_t disabled) { return bytes.setU8(BIOS_DISABLED, disabled); }

    // Sets the checksum byte: the two's complement of the sum of the bytes before it.
    bool seal()
    {
        uint8_t sum = 0;
        for (size_t i = 0; i < CHECKSUM; ++i)
            sum = static_cast<uint8_t>(sum + bytes.u8(i));
        return bytes.setU8(CHECKSUM, static_cast<uint8_t>(0u - sum));
    }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
