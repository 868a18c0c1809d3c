#include "CpMgmt/CmdPro/Firmware/AdpSettingsKvxCp.h"

#include <cstring>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/Files/MfcSettingsFile.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Output/PavaneLog.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"

namespace {

// The only OEM whose controllers take the command.
const int32_t SETTINGS_OEM = 8;
const unsigned char DIRECTION_WRITE = 1;
const int RESULT_INVALID_VALUE = 3;

// Keys that are accepted and not stored.
const char* const IGNORED_HEX_KEYS[] = {"SUBVENDORID", "SUBDEVICEID", "SUBOEM"};

// ZCR configurations other than 0 and 1 lie in this range.
const uint32_t ZCR_FIRST = 16;
const uint32_t ZCR_LAST = 31;
const uint32_t BIOS_COE_BASIC_MAX = 1;

bool isIgnoredKey(const char* key)
{
    for (const char* ignored : IGNORED_HEX_KEYS)
        if (std::strcmp(key, ignored) == 0)
            return true;
    return false;
}

// The value tested against `row`'s rule; true when it may be stored.
bool valueAccepted(const MfcSettingKey& row, long long value, const LeView& info)
{
    if (value < 0 || value > 0xFFFFFFFFLL)
        return false;
    const uint32_t v = static_cast<uint32_t>(value);
    switch (row.rule) {
    case MfcValueRule::Range:
        return v >= row.min && v <= row.max;
    case MfcValueRule::StripSize:
        return v >= info.u8(ZprControllerInfo::MIN_STRIP_EXPONENT) && v <= info.u8(ZprControllerInfo::MAX_STRIP_EXPONENT);
    case MfcValueRule::BiosContinueOnError:
        return v <= BIOS_COE_BASIC_MAX ||
               (v <= row.max && info.bit(ZprControllerInfo::FIRMWARE_FEATURES, ZprControllerInfo::BIOS_HEADLESS_MODES_BIT));
    case MfcValueRule::ZcrConfig:
        return v <= 1 || (v >= ZCR_FIRST && v <= ZCR_LAST);
    case MfcValueRule::SpinDownTime:
        return v == 0 || (v >= row.min && v <= row.max);
    case MfcValueRule::Any:
        return true;
    }
    return false;
}

} // namespace

AdpSettingsKvxCp::AdpSettingsKvxCp()
{
    std::memset(defaults, 0, sizeof defaults);
}

void AdpSettingsKvxCp::trimTrailingSpace(char* text)
{
    ::trimTrailingSpace(text);
}

int AdpSettingsKvxCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<AdpSettingsPo> start(cpController, request, "AdpSettingsPo *", CP_NEEDS_MODEL_ADAPTER);
    if (!start)
        return start.result();
    AdpSettingsPo* settings = start.request();
    int32_t oemId = 0;
    if (start.adapter()->getOemId(&oemId) != 0 || oemId != SETTINGS_OEM || settings->getDirection() == DIRECTION_WRITE)
        return -1;
    return programFromFile(cpController, settings);
}

int AdpSettingsKvxCp::programFromFile(CpController* cpController, AdpSettingsPo* request)
{
    int status = sendDcmd(cpController, DCMD_ADP_MFC_GET_DEFAULTS, defaults);
    if (status != 0) {
        printMessage(MSG_TEXT, "\nFailed to get current setting on the adapter\n");
        return status;
    }
    const unsigned featureLevel = mfcFeatureLevel(LeView(defaults, sizeof defaults));
    uint8_t info[ZprControllerInfo::SIZE] = {};
    status = sendDcmd(cpController, DCMD_ADP_GET_INFO, info);
    if (status != 0)
        return status;
    const LeView infoView(static_cast<const uint8_t*>(info), sizeof info);

    const string fileName = request->getFileName();
    SettingsFileReader file(SettingsFileReader::Trim::Trailing);
    if (!file.open(fileName.c_str())) {
        printMessage(MSG_FILE_OPEN_FAILED, fileName.c_str());
        return -1;
    }
    // The block is changed in a copy, so that a file that fails half-way leaves nothing behind.
    uint8_t original[ZprMfcDefaults::SIZE];
    std::memcpy(original, defaults, sizeof original);
    char* key = nullptr;
    char* value = nullptr;
    bool invalid = false;
    while (!invalid && file.next(&key, &value)) {
        Applied applied = applyKey(key, value, featureLevel, infoView);
        if (applied == Applied::UnknownKey) {
            printMessage(MSG_INVALID_SETTINGS_KEY, key);
            appLog(__FILE__, __LINE__, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, LOG_ID_FIRMWARE_FAILED, 0u, 0u);
        }
        invalid = applied == Applied::Invalid;
    }
    const bool unreadable = !invalid && file.failed();
    file.close();
    if (invalid || unreadable) {
        std::memcpy(defaults, original, sizeof defaults);
        if (unreadable) {
            printMessage(MSG_FILE_OPEN_FAILED, fileName.c_str());
            return -1;
        }
        printMessage(MSG_SETTINGS_PROGRAM_FAILED, key);
        return RESULT_INVALID_VALUE;
    }
    status = sendDcmd(cpController, DCMD_ADP_MFC_SET_DEFAULTS, defaults);
    if (status != 0)
        printMessage(MSG_SETTINGS_PROGRAM_FAILED, fileName.c_str());
    return status;
}

AdpSettingsKvxCp::Applied AdpSettingsKvxCp::applyKey(const char* key, const char* value, unsigned featureLevel,
                                                     const LeView& info)
{
    if (std::strcmp(key, "SASADDRESS") == 0) {
        uint64_t address = 0;
        if (parseSasAddress(value, &address) != 0)
            return Applied::Invalid;
        LeView(defaults, sizeof defaults).setU64(ZprMfcDefaults::SAS_ADDRESS, address);
        return Applied::Stored;
    }
    if (std::strcmp(key, "OEM") == 0) {
        printMessage(MSG_TEXT, "OEM =");
        printMessage(MSG_TEXT, value);
        printMessage(MSG_NEWLINE);
        return Applied::Stored;
    }
    if (isIgnoredKey(key))
        return Applied::Stored;
    const MfcSettingKey* row = findMfcSettingKey(key, featureLevel);
    if (row == nullptr)
        return Applied::UnknownKey;
    return applyFieldKey(*row, value, info);
}

AdpSettingsKvxCp::Applied AdpSettingsKvxCp::applyFieldKey(const MfcSettingKey& row, const char* value,
                                                          const LeView& info)
{
    const long long number = settingsNumber(value);
    if (row.rule != MfcValueRule::Any && !valueAccepted(row, number, info))
        return Applied::Invalid;
    // A spin-down time of 0 is taken and leaves the field as it was.
    if (row.rule == MfcValueRule::SpinDownTime && number == 0)
        return Applied::Stored;
    LeView block(defaults, sizeof defaults);
    storeMfcField(row, block, static_cast<uint32_t>(static_cast<unsigned long long>(number)));
    return Applied::Stored;
}

namespace {

const CpRegistration<AdpSettingsKvxCp> registration;

} // namespace
