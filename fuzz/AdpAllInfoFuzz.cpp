// The adapter information display ("-AdpAllInfo"): its eight record reads and everything it
// prints from them (texts, numbers, flags, the key=value texts), to /dev/null.
#include "FirmwareFuzz.h"
#include "FuzzSupport.h"

#include "CpMgmt/CmdPro/Reports/AdpAllInfoCp.h"
#include "CpMgmt/CpController.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietConsole();
    forbidPlatformCalls();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    resetConsole();
    FuzzedFirmware fw(data, size, layout::ADP_ALL_INFO);
    AdpAllInfoParsedObject* request = new AdpAllInfoParsedObject(TOKEN_ADPALLINFO, 0);
    CpController cpController(&fw.controller, request);
    AdpAllInfoCp display;
    display.process(&cpController, request);
    return 0;
}
