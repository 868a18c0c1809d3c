// Commands to the controller's kernel driver, answered by the simulated host for it: the
// driver's information about the controller (its PCI location).
#include "Simulator/Firmware/SimFirmware.h"

namespace sim {

namespace {

const uint32_t OP_DRIVER_GET_INFO = 0xF0010200;
const uint32_t DRIVER_INFO_SIZE = 112;

// The PCI bus number at 0 (32-bit), the device number at 4 and the function number at 5.
uint8_t driverGetInfo(SimState&, Controller& c, SimCommand& cmd)
{
    Bytes r(DRIVER_INFO_SIZE, 0);
    put32(r, 0, c.pci.bus);
    put8(r, 4, c.pci.device);
    put8(r, 5, c.pci.function);
    return fwReply(cmd, r);
}

const FwRegistration registration({
    fwRead(OP_DRIVER_GET_INFO, DRIVER_INFO_SIZE, driverGetInfo, FrameKind::DRIVER),
});

} // namespace

} // namespace sim
