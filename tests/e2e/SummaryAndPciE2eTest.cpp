// The system summary ("-ShowSummary") and the PCI location display ("-AdpGetPciInfo") through
// the real binary and simulated hosts: console, exit code, the summary file, and the firmware
// commands each controller received.
#include "FirmwareCaseE2e.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

using namespace e2ecase;

const std::string BLANK_OUT = "\r" + std::string(37, ' ') + "\n";

class SummaryAndPciE2e : public FirmwareCaseE2e {};

std::string pciBlock(int adapter, const char* bus, const char* device, const char* function)
{
    return "PCI information for Controller " + std::to_string(adapter) + "\n--------------------------------\n" +
           "Bus Number      : " + bus + "\nDevice Number   : " + device + "\nFunction Number : " + function + "\n\n";
}

}  // namespace

// The location comes from discovery: no firmware command beyond the dispatcher's own.
TEST_F(SummaryAndPciE2e, PciLocation)
{
    const nlohmann::json location = {{"pci", {{"bus", 0x1a}, {"device", 0x1f}, {"function", 7}}}};
    expectRuns({
        {"hexadecimal without prefix", "one", location, {}, {"-AdpGetPciInfo", "-a0"}, 0,
         BLANK_OUT + pciBlock(0, "1a", "1f", "7") + exitLine("00"), Lines{sent(2, INFO)} + action(2, false, {}), {}},
        {"-aALL: one block per controller", "two", {}, {}, {"-AdpGetPciInfo", "-aALL"}, 0,
         BLANK_OUT + pciBlock(0, "3", "0", "0") + pciBlock(1, "4", "0", "0") + exitLine("00"),
         Lines{sent(2, INFO), sent(3, INFO)} + action(2, false, {}) + action(3, false, {}), {}},
    }, {});
}
