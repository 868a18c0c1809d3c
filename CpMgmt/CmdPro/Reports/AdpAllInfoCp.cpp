#include "CpMgmt/CmdPro/Reports/AdpAllInfoCp.h"

#include <climits>
#include <cstring>

#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Output/PavaneLog.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcOemData.h"

namespace {

const char* const POST_DELAY_KEY = "delaySOD";
const int FEATURE_LEVEL_BASE = 64;

// The decimal number at the start of a text: leading blanks, an optional sign, digits up to
// the first other character; no digits give 0; kept within int.
int decimalValue(const char* text, size_t length)
{
    size_t i = 0;
    while (i < length && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    value = negative ? -value : value;
    if (value > INT_MAX)
        return INT_MAX;
    return static_cast<int>(value);
}

} // namespace

AdpAllInfoCp::AdpAllInfoCp()
    : clusterDisable(1), sasDisable(0), fruStatus(0), postDelaySeconds(DEFAULT_POST_DELAY)
{
    std::memset(info, 0, sizeof info);
    std::memset(defaults, 0, sizeof defaults);
    std::memset(time, 0, sizeof time);
    std::memset(mfg, 0, sizeof mfg);
    std::memset(fru, 0, sizeof fru);
    std::memset(keyValues, 0, sizeof keyValues);
    std::memset(bios, 0, sizeof bios);
}

int AdpAllInfoCp::postDelayFrom(const ZprKeyValueBlock& block, int fallback)
{
    char text[ZprKeyValueBlock::SIZE + 1];
    for (size_t at = block.firstText(); at < block.view().size();) {
        size_t length = block.textLength(at);
        if (length == 0)
            break;
        for (size_t i = 0; i < length; ++i)
            text[i] = block.charAt(at + i);
        text[length] = '\0';
        if (std::strstr(text, POST_DELAY_KEY) != nullptr) {
            // The pieces between runs of '=': the value is the second one.
            size_t i = 0;
            while (i < length && text[i] == '=')
                ++i;
            while (i < length && text[i] != '=')
                ++i;
            while (i < length && text[i] == '=')
                ++i;
            if (i == length)
                return fallback;
            size_t end = i;
            while (end < length && text[end] != '=')
                ++end;
            return decimalValue(text + i, end - i);
        }
        at = block.nextText(at, length);
    }
    return fallback;
}

int AdpAllInfoCp::readRecords(const CpOpening& start, int& featureLevel, int& result)
{
    CpController* cpController = start.executor();
    if (sendDcmd(cpController, DCMD_ADP_MFC_GET_MFG_DATA, mfg) != 0) {
        // Reported, and the display goes on without the manufacturing data.
        start.failed(INFO_READ_NAME, 0);
        std::memset(mfg, 0, sizeof mfg);
    }

    std::memset(keyValues, 0, sizeof keyValues);
    postDelaySeconds = DEFAULT_POST_DELAY;
    if (sendDcmd(cpController, DCMD_ADP_GET_KEY_VALUES, keyValues) == 0)
        postDelaySeconds = postDelayFrom(ZprKeyValueBlock(keyValues, sizeof keyValues), DEFAULT_POST_DELAY);

    uint8_t oemRecord[ZprMfcOemData::SIZE] = {};
    ZprMfcOemData oem(oemRecord, sizeof oemRecord);
    bool oemRead = sendPrivateDcmd(cpController, DCMD_ADP_MFC_GET_OEM_DATA, oemRecord) == 0;
    clusterDisable = oemRead ? oem.clusterDisable() : 1;
    sasDisable = oemRead ? oem.sasDisable() : 0;

    std::memset(defaults, 0, sizeof defaults);
    int status = sendDcmd(cpController, DCMD_ADP_MFC_GET_DEFAULTS, defaults);
    if (status != 0) {
        std::memset(defaults, 0, sizeof defaults);
        return start.failed(INFO_READ_NAME, status);
    }
    featureLevel = defaults[ZprMfcDefaults::FEATURE_LEVEL] != 0 ? defaults[ZprMfcDefaults::FEATURE_LEVEL]
                                                                  : FEATURE_LEVEL_BASE;

    std::memset(bios, 0, sizeof bios);
    status = sendDcmd(cpController, DCMD_ADP_BIOS_GET_DATA, bios);
    if (status != 0)
        return status;

    status = sendDcmd(cpController, DCMD_ADP_GET_INFO, info);
    if (status != 0) {
        std::memset(info, 0, sizeof info);
        return start.failed(INFO_READ_NAME, status);
    }

    std::memset(time, 0, sizeof time);
    result = sendDcmd(cpController, DCMD_ADP_GET_TIME, time);
    fruStatus = sendDcmd(cpController, DCMD_ADP_MFC_GET_FRU_DATA, fru);
    if (fruStatus == 0)
        result = 0;
    return 0;
}

int AdpAllInfoCp::process(CpController* cpController, ParsedObject* request)
{
    appLog(__FILE__, __LINE__, LOG_MODULE_VOLANT, LOGLEVEL_DEBUG, LOG_ID_ALL_INFO_STARTED);
    CpStartOnController<AdpAllInfoParsedObject> start(cpController, request, "AdpAllInfoParsedObject *");
    if (!start)
        return start.result();

    int featureLevel = FEATURE_LEVEL_BASE;
    int result = 0;
    int status = readRecords(start, featureLevel, result);
    if (status != 0)
        return status;
    printAdapterInfo(start.request()->getAdapterNumber(), featureLevel);
    return result;
}

namespace {

const CpRegistration<AdpAllInfoCp> registration;

} // namespace
