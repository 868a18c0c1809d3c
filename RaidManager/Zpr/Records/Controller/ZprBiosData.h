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

    // The boot device as read: 255 names none (0xFFFF is what is written for none).
    static constexpr uint16_t BOOT_DEVICE_READ_NONE = 255;
    static constexpr uint16_t BOOT_DEVICE_WRITE_NONE = 0xFFFF;

    uint8_t biosDisabled() const { return bytes.u8(BIOS_DISABLED); }
    bool setBiosDisabled(uint8_t disabled) { return bytes.setU8(BIOS_DISABLED, disabled); }
    uint8_t errorHandling() const { return bytes.u8(ERROR_HANDLING); }
    bool setErrorHandling(uint8_t mode) { return bytes.setU8(ERROR_HANDLING, mode); }
    uint16_t bootDevice() const { return bytes.u16(BOOT_DEVICE); }
    bool bootIsPhysical() const { return bytes.u8(BOOT_IS_PHYSICAL) != 0; }
    // The boot device and whether it is a physical drive.
    void setBootDevice(uint16_t device, bool physical)
    {
        bytes.setU16(BOOT_DEVICE, device);
        bytes.setU8(BOOT_IS_PHYSICAL, physical ? 1 : 0);
    }
    uint8_t keyManagementMode() const { return bytes.u8(KEY_MANAGEMENT_MODE); }

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
