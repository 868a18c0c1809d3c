#include "CpMgmt/CmdPro/Display/InterfaceNames.h"

#include <cstddef>

namespace {

// The first set bit in the order given names the interface.
struct InterfaceBit {
    unsigned bit;
    const char* name;
};

const InterfaceBit HOST_INTERFACES[] = {{0, "PCIX"}, {1, "PCIE"}, {2, "iSCSI"}, {3, "SAS-3G"}};
const InterfaceBit DEVICE_INTERFACES[] = {{0, "SPI"},    {2, "SATA-1-5G"}, {3, "SATA-3G"},
                                          {1, "SAS-3G"}, {4, "SAS-6G"},    {5, "SAS-12G"}};

template <size_t N>
const char* interfaceName(uint8_t bits, const InterfaceBit (&order)[N])
{
    for (const InterfaceBit& entry : order)
        if ((bits >> entry.bit) & 1u)
            return entry.name;
    return "UNKNOWN";
}

} // namespace

const char* hostInterfaceName(uint8_t bits)
{
    return interfaceName(bits, HOST_INTERFACES);
}

const char* deviceInterfaceName(uint8_t bits)
{
    return interfaceName(bits, DEVICE_INTERFACES);
}
