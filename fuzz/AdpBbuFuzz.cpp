// The battery displays ("-AdpBbuCmd" without a sub-command, and the mode list): the status,
// design, properties, capacity, FRU and mode-list records and everything printed from them,
// to /dev/null. The mode list is answered with the same record to both of its reads.
#include "FirmwareFuzz.h"
#include "FuzzSupport.h"

#include "CpMgmt/CmdPro/Adapter/AdpBbuCp.h"
#include "CpMgmt/CpController.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"

namespace {

const unsigned char SHOW_ALL = 10;
const unsigned char SHOW_MODES = 11;

void run(const uint8_t* data, size_t size, unsigned char action)
{
    FuzzedFirmware fw(data, size, layout::BBU);
    const unsigned char schedule[AdpBbuPo::LEARN_SCHEDULE_SIZE] = {};
    AdpBbuPo* request = new AdpBbuPo(TOKEN_ADPBBUCMD, string(), action, 0, 0, 0, 0, schedule, 0);
    CpController cpController(&fw.controller, request);
    AdpBbuCp processor;
    processor.process(&cpController, request);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietConsole();
    forbidPlatformCalls();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    resetConsole();
    run(data, size, SHOW_ALL);
    run(data, size, SHOW_MODES);
    return 0;
}
