#include "CpMgmt/CmdPro/Adapter/AdpBiosCp.h"

#include <cstring>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"

namespace {

// The messages of one group of BIOS settings: already set, set, failed; each takes the name
// text and the adapter number.
struct SettingMessages {
    uint32_t already;
    uint32_t done;
    uint32_t failed;
};

const SettingMessages BIOS_SWITCH = {MSG_BIOS_ALREADY, MSG_BIOS_SET, MSG_BIOS_SET_FAILED};
const SettingMessages BIOS_ERROR_MODE = {MSG_BIOS_ALREADY, MSG_BIOS_ERROR_MODE_SET, MSG_BIOS_ERROR_MODE_FAILED};
const SettingMessages AUTO_SELECT_BOOT = {MSG_AUTO_SELECT_BOOT_ALREADY, MSG_AUTO_SELECT_BOOT_SET,
                                          MSG_AUTO_SELECT_BOOT_FAILED};

// Each setting action word: the BIOS-data byte it sets and to what, whether it needs the
// controller's permission for the ignore-error and safe modes, its texts and messages.
struct BiosSetting {
    unsigned short action;
    size_t offset;
    uint8_t value;
    bool needsHeadlessModes;
    const char* name;
    const char* failureName;
    const SettingMessages* messages;
};

const BiosSetting SETTINGS[] = {
    {TOKEN_ENABLE, ZprBiosData::BIOS_DISABLED, 0, false, "Enabled", "Enable", &BIOS_SWITCH},
    {TOKEN_DISABLE, ZprBiosData::BIOS_DISABLED, 1, false, "Disabled", "Disable", &BIOS_SWITCH},
    {TOKEN_STOPONERROR, ZprBiosData::ERROR_HANDLING, 0, false, "Stop On Error", "Stop On Error", &BIOS_ERROR_MODE},
    {TOKEN_BYPASSERROR, ZprBiosData::ERROR_HANDLING, 1, false, "Bypass Error", "Bypass Error", &BIOS_ERROR_MODE},
    {TOKEN_HEADLESSCONTINUEONERROR, ZprBiosData::ERROR_HANDLING, 2, true, "Ignore Error", "Ignore Error",
     &BIOS_ERROR_MODE},
    {TOKEN_HEADLESSAFEMODE, ZprBiosData::ERROR_HANDLING, 3, true, "Safe Mode", "Safe Mode", &BIOS_ERROR_MODE},
    {TOKEN_ENBLAUTOSELECTBOOTLD, ZprBiosData::AUTO_SELECT_BOOT, 1, false, "Enabled", "Enable", &AUTO_SELECT_BOOT},
    {TOKEN_DSBLAUTOSELECTBOOTLD, ZprBiosData::AUTO_SELECT_BOOT, 0, false, "Disabled", "Disable", &AUTO_SELECT_BOOT},
};

// What the BIOS does on an error, by error-handling mode 0 to 3.
const char* const ERROR_MODE_TEXTS[] = {"Stop on", "Bypass", "Ignore", "Safe Mode"};

const char* enabledText(bool enabled)
{
    return enabled ? "Enabled" : "Disabled";
}

}  // namespace

AdpBiosCp::AdpBiosCp()
{
    memset(biosData, 0, sizeof biosData);
}

int AdpBiosCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<AdpBiosParsedObject> start(cpController, request, "AdpBiosCp::process(): PoPtr...");
    if (!start)
        return start.result();
    AdpBiosParsedObject* own = start.request();
    const uint8_t adapterNumber = start.number();

    uint8_t info[ZprControllerInfo::SIZE] = {};
    int status = sendDcmd(cpController, DCMD_ADP_GET_INFO, info);
    if (status != 0)
        return start.failed(INFO_READ_NAME, status);
    const bool headlessAllowed = ZprControllerInfo(info, sizeof info).biosHeadlessModesAllowed();

    if (sendBiosDcmd(cpController, DCMD_ADP_BIOS_GET_DATA, biosData) != 0) {
        printMessage(MSG_GET_DATA_FAILED, static_cast<int>(adapterNumber));
        return -1;
    }
    if (own->getAction() == TOKEN_DISPLAY) {
        display(adapterNumber);
        return 0;
    }
    return change(cpController, own->getAction(), adapterNumber, headlessAllowed);
}

void AdpBiosCp::display(uint8_t adapterNumber)
{
    const ZprBiosData bios(biosData, sizeof biosData);
    printMessage(MSG_BIOS_STATE, static_cast<int>(adapterNumber), enabledText(bios.biosDisabled() == 0));
    const uint8_t mode = bios.errorHandling();
    if (mode < sizeof ERROR_MODE_TEXTS / sizeof ERROR_MODE_TEXTS[0])
        printMessage(MSG_BIOS_ERROR_MODE, ERROR_MODE_TEXTS[mode]);
    printMessage(MSG_AUTO_SELECT_BOOT_STATE, static_cast<int>(adapterNumber),
                 enabledText(bios.view().u8(ZprBiosData::AUTO_SELECT_BOOT) != 0));
}

int AdpBiosCp::change(CpController* cpController, unsigned short action, uint8_t adapterNumber, bool headlessAllowed)
{
    const BiosSetting* setting = nullptr;
    for (const BiosSetting& s : SETTINGS)
        if (s.action == action)
            setting = &s;
    // Another action word changes nothing.
    if (setting == nullptr)
        return 0;
    LeView bytes(biosData, sizeof biosData);
    if (bytes.u8(setting->offset) == setting->value) {
        printMessage(setting->messages->already, setting->name, static_cast<int>(adapterNumber));
        return 0;
    }
    if (setting->needsHeadlessModes && !headlessAllowed)
        return -1;
    bytes.setU8(setting->offset, setting->value);
    if (sendBiosDcmd(cpController, DCMD_ADP_BIOS_SET_DATA, biosData) != 0) {
        printMessage(setting->messages->failed, setting->failureName, static_cast<int>(adapterNumber));
        return -1;
    }
    printMessage(setting->messages->done, setting->name, static_cast<int>(adapterNumber));
    return 0;
}

// ---------------------------------------------------------------------------------------------

int AdpAutoRbldCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<AdpAutoRbldParsedObject> start(cpController, request, "AdpAutoRbldCp::process(): PoPtr...",
                                           CP_NEEDS_MODEL_ADAPTER);
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    Adapter* adapter = start.adapter();

    const unsigned short action = start.request()->getAction();
    if (action == TOKEN_DISPLAY) {
        uint8_t disabled = 0;
        if (adapter->getAutoRebuildDisabled(&disabled) != 0) {
            printMessage(MSG_GET_DATA_FAILED, static_cast<int>(adapterNumber));
            return -1;
        }
        printMessage(MSG_AUTO_REBUILD_STATE, static_cast<int>(adapterNumber), enabledText(disabled == 0));
        return 0;
    }
    if (action != TOKEN_ENABLE && action != TOKEN_DISABLE) {
        printMessage(MSG_INVALID_OPTION);
        return -1;
    }
    uint8_t disabled = action == TOKEN_DISABLE ? 1 : 0;
    if (adapter->setAutoRebuildDisabled(&disabled) != 0) {
        printMessage(MSG_SET_DATA_FAILED, static_cast<int>(adapterNumber));
        return -1;
    }
    // The record was read by the setter; a failure here is reported and the commit still tried.
    if (adapter->loadProperties() != 0)
        printMessage(MSG_SET_DATA_FAILED, static_cast<int>(adapterNumber));
    if (adapter->commitProperties() != 0) {
        printMessage(MSG_SET_DATA_FAILED, static_cast<int>(adapterNumber));
        return -1;
    }
    printMessage(MSG_AUTO_REBUILD_STATE, static_cast<int>(adapterNumber), enabledText(disabled == 0));
    return 0;
}

namespace {

const CpRegistration<AdpBiosCp> biosRegistration;
const CpRegistration<AdpAutoRbldCp> autoRebuildRegistration;

}  // namespace
