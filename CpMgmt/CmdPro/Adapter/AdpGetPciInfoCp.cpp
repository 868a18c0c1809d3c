#include "CpMgmt/CmdPro/Adapter/AdpGetPciInfoCp.h"

#include <cstdio>
#include <cstring>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/ParsedObject.h"
#include "Parser/TokenIds.h"

namespace {

// One formatted line through the console printer; the numbers are hexadecimal without prefix.
void printFormatted(const char* format, unsigned value)
{
    char line[64];
    snprintf(line, sizeof line, format, value);
    printMessage(MSG_TEXT, line);
    printMessage(MSG_NEWLINE);
}

} // namespace

AdpGetPciInfoCp::AdpGetPciInfoCp()
{
    std::memset(&pciInfo, 0, sizeof pciInfo);
}

int AdpGetPciInfoCp::process(CpController* cpController, ParsedObject* request)
{
    const CpOpening start(cpController, request);
    std::memset(&pciInfo, 0, sizeof pciInfo);
    Controller* controller = controllerOf(cpController);
    const uint8_t result = controller != nullptr ? controller->getPciInfo(&pciInfo) : 0xFF;
    if (result != 0) {
        printMessage(MSG_TEXT, "Unable to get PCI Information : ");
        return result;
    }
    printFormatted("PCI information for Controller %d", static_cast<unsigned>(start.number()));
    printMessage(MSG_TEXT, "--------------------------------");
    printMessage(MSG_NEWLINE);
    printFormatted("Bus Number      : %x", static_cast<unsigned>(pciInfo.busNumber));
    printFormatted("Device Number   : %x", pciInfo.deviceNumber);
    printFormatted("Function Number : %x", pciInfo.functionNumber);
    printMessage(MSG_NEWLINE);
    return 0;
}

namespace {

const CpRegistration<AdpGetPciInfoCp> registration;

} // namespace
