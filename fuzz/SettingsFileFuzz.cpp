// The manufacturing settings files: the input is the file that the adapter settings command
// programs from (target settingsfile) or that the verification compares with (target
// verifyfile), read through an in-memory stream in place of the named file. The controller
// answers with fixed records: OEM 8, a defaults block above the base feature level (so that
// every key exists), the strip-size limits and the BIOS permission bit.
#include "FirmwareFuzz.h"
#include "FuzzSupport.h"

#include "CpMgmt/CmdPro/Firmware/AdpSetVerifyCp.h"
#include "CpMgmt/CmdPro/Firmware/AdpSettingsKvxCp.h"
#include "CpMgmt/CpController.h"
#include "PavUtil/FileIO.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcPciIds.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const char* const FILE_NAME = "settings.txt";
std::vector<char> fileBytes;

// The one file the run may open: the input, read only.
FILE* openInput(const char* path, const char* mode)
{
    if (std::strcmp(path, FILE_NAME) != 0 || std::strcmp(mode, "r") != 0)
        std::abort();
    // A stream over no bytes cannot be made: an empty input reads as a file of one blank line.
    if (fileBytes.empty())
        fileBytes.push_back('\n');
    return fmemopen(fileBytes.data(), fileBytes.size(), "r");
}

void answerRecords(UnloggedFirmware& firmware)
{
    std::vector<uint8_t> oem(ZprMfcOemData::SIZE, 0);
    oem[ZprMfcOemData::OEM_ID] = 8;
    std::vector<uint8_t> defaults(ZprMfcDefaults::SIZE, 0);
    defaults[ZprMfcDefaults::FEATURE_LEVEL] = 72;
    std::vector<uint8_t> info(ZprControllerInfo::SIZE, 0);
    info[ZprControllerInfo::MIN_STRIP_EXPONENT] = 3;
    info[ZprControllerInfo::MAX_STRIP_EXPONENT] = 11;
    info[ZprControllerInfo::FIRMWARE_FEATURES] = 1u << ZprControllerInfo::BIOS_HEADLESS_MODES_BIT;
    firmware.records[DCMD_ADP_MFC_GET_OEM_DATA] = oem;
    firmware.records[DCMD_ADP_MFC_GET_DEFAULTS] = defaults;
    firmware.records[DCMD_ADP_GET_INFO] = info;
    firmware.records[DCMD_ADP_MFC_GET_PCI_IDS] = std::vector<uint8_t>(ZprMfcPciIds::SIZE, 0x11);
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
    fileBytes.assign(reinterpret_cast<const char*>(data), reinterpret_cast<const char*>(data) + size);
    setFileStreamOpener(openInput);
    UnloggedFirmware firmware;
    answerRecords(firmware);
    scripted::TestController controller(&firmware);
#ifdef SETTINGS_VERIFY
    AdpSetVerifyPo* request = new AdpSetVerifyPo(TOKEN_ADPSETVERIFY, string(FILE_NAME), 0);
    CpController cpController(&controller, request);
    AdpSetVerifyCp processor;
    processor.process(&cpController, request);
#else
    AdpSettingsPo* request = new AdpSettingsPo(TOKEN_ADPSETTINGS, string(FILE_NAME), 0, 0);
    CpController cpController(&controller, request);
    AdpSettingsKvxCp processor;
    processor.programFromFile(&cpController, request);
#endif
    return 0;
}
