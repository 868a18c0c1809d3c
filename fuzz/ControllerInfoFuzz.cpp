// The controller-information record and the OEM data, through the RAID model's adapter: every
// question the adapter answers from them, its text, and a second read after a refresh.
#include "FirmwareFuzz.h"
#include "FuzzSupport.h"

#include "DataProvider/DcmdOpcodes.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/ZprData.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcOemData.h"

namespace {

void askAdapter(Adapter* adapter)
{
    uint8_t count = 0, flag = 0, security = 0;
    uint16_t firmwareLevel = 0, applicationLevel = 0;
    int32_t oemId = 0;
    ignoreStatus(adapter->getMaxVirtualDrives(&count),
                 "the fuzzer exercises the read; its answer does not matter");
    ignoreStatus(adapter->getOemId(&oemId), "the fuzzer exercises the read; its answer does not matter");
    ignoreStatus(adapter->checkApplicationCompatibility(&flag, &firmwareLevel, &applicationLevel),
                 "the fuzzer exercises the read; its answer does not matter");
    ignoreStatus(adapter->checkFirmwareCompatibility(&flag, &firmwareLevel, &applicationLevel),
                 "the fuzzer exercises the read; its answer does not matter");
    ignoreStatus(adapter->refreshControllerInfo(&security),
                 "the fuzzer exercises the read; its answer does not matter");
    (void)adapter->toString();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietConsole();
    forbidPlatformCalls();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedFirmware fw(data, size, layout::CONTROLLER_INFO);
    RaidManager* manager = getRaidManager(&fw.controller);
    for (int pass = 0; manager != nullptr && pass < 2; ++pass) {
        Adapter* adapter = nullptr;
        if (manager->refresh() == 0 && manager->getAdapter(&adapter) == 0 && adapter != nullptr)
            askAdapter(adapter);
    }
    releaseRaidManagers();
    ZprData::releaseAll();
    return 0;
}
