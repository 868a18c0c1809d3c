// The names of the controller's host and device interfaces, as the displays of the controller
// information show them: the first set bit of the interface byte in a fixed order names it.
#ifndef INTERFACENAMES_H
#define INTERFACENAMES_H

#include <cstdint>

// Bit 0 "PCIX", 1 "PCIE", 2 "iSCSI", 3 "SAS-3G"; none set "UNKNOWN".
const char* hostInterfaceName(uint8_t bits);
// Bit 0 "SPI", then 2 "SATA-1-5G", 3 "SATA-3G", 1 "SAS-3G", 4 "SAS-6G", 5 "SAS-12G"; none
// set "UNKNOWN".
const char* deviceInterfaceName(uint8_t bits);

#endif
