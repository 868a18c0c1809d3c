// The controller-information record, read with DCMD_ADP_GET_INFO: the controller's identity,
// limits, capabilities and compatibility levels. Only the fields read today are named; the
// others join here as their readers arrive.
#ifndef ZPRCONTROLLERINFO_H
#define ZPRCONTROLLERINFO_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprControllerInfo {
public:
    static constexpr size_t SIZE = 2048;

    static constexpr size_t PCI_VENDOR_ID = 0x00;            // 16-bit
    static constexpr size_t PCI_DEVICE_ID = 0x02;            // 16-bit
    static constexpr size_t PCI_SUBVENDOR_ID = 0x04;         // 16-bit
    static constexpr size_t PCI_SUBDEVICE_ID = 0x06;         // 16-bit
    static constexpr size_t MAX_VIRTUAL_DRIVES = 0x53F;      // 8-bit
    static constexpr size_t SECURITY_FLAGS = 0x5F8;          // 8-bit, bit 6 the security bit
    static constexpr unsigned SECURITY_BIT = 6;
    static constexpr size_t FW_FORWARD_COMPAT = 0x5FC;       // 16-bit firmware forward-compatibility level
    static constexpr size_t FW_BACKWARD_COMPAT = 0x5FE;      // 16-bit firmware backward-compatibility level

    explicit ZprControllerInfo(const LeView& bytes) : bytes(bytes) {}
    ZprControllerInfo(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint16_t pciVendorId() const { return bytes.u16(PCI_VENDOR_ID); }
    uint16_t pciDeviceId() const { return bytes.u16(PCI_DEVICE_ID); }
    uint16_t pciSubvendorId() const { return bytes.u16(PCI_SUBVENDOR_ID); }
    uint16_t pciSubdeviceId() const { return bytes.u16(PCI_SUBDEVICE_ID); }
    uint8_t maxVirtualDrives() const { return bytes.u8(MAX_VIRTUAL_DRIVES); }
    uint8_t securityBit() const { return bytes.bit(SECURITY_FLAGS, SECURITY_BIT) ? 1 : 0; }
    uint16_t firmwareForwardCompatLevel() const { return bytes.u16(FW_FORWARD_COMPAT); }
    uint16_t firmwareBackwardCompatLevel() const { return bytes.u16(FW_BACKWARD_COMPAT); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
