#include "CpMgmt/CmdPro/Firmware/AdpSetVerifyCp.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/Files/MfcSettingsFile.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Output/PavaneLog.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"

namespace {

const uint8_t OEM_OTHER = 10;

// {OEM number, weighted sum of its name}.
const struct {
    uint32_t oem;
    uint32_t nameSum;
} OEM_NAME_SUMS[] = {
    {1, 461}, {2, 738}, {3, 232}, {4, 2008}, {5, 1995}, {6, 417}, {7, 437}, {8, 1137}, {9, 436}, {10, 0},
};

// Keys a file may carry that name nothing to compare.
const char* const SKIPPED_KEYS[] = {
    "SASADDRESS", "CONTROLLERTYPE", "ISRAIDKEYSECONDARY", "SUBOEM", "SERIALNUMBER",
    "REVISIONNUMBER", "MFGDATE", "REWORKDATE", "BATTERYFRU",
};

// A key compared with one field of a record, and the line that reports a difference.
struct DifferenceKey {
    const char* key;
    size_t offset;
    const char* difference;
};

// The PCI ids, read as hexadecimal and compared by their low 16 bits.
const DifferenceKey PCI_ID_KEYS[] = {
    {"SUBVENDORID", ZprMfcPciIds::SUB_VENDOR_ID, "subVendorId\n"},
    {"SUBDEVICEID", ZprMfcPciIds::SUB_DEVICE_ID, "subDeviceId\n"},
    {"VENDORID", ZprMfcPciIds::VENDOR_ID, "VendorId\n"},
    {"DEVICEID", ZprMfcPciIds::DEVICE_ID, "DeviceId\n"},
};

// The feature-data bytes, compared as numbers.
const DifferenceKey OEM_DATA_KEYS[] = {
    {"CLUSTERDISABLE", ZprMfcOemData::CLUSTER_DISABLE, "clusterDisable\n"},
    {"DISABLESAS", ZprMfcOemData::SAS_DISABLE, "disableSAS\n"},
    {"MAXDISKS", ZprMfcOemData::MAX_DISKS, "maxDisks\n"},
    {"ENABLERAID6", ZprMfcOemData::ENABLE_RAID6, "enableRaid6\n"},
    {"DISABLEWIDECACHE", ZprMfcOemData::DISABLE_WIDE_CACHE, "disableWideCache\n"},
    {"DISABLERAID5", ZprMfcOemData::DISABLE_RAID5, "disableRaid5\n"},
    {"ENABLESECURITY", ZprMfcOemData::ENABLE_SECURITY, "EnableSecurity\n"},
    {"ENABLECTIO", ZprMfcOemData::ENABLE_CTIO, "EnableCTIO\n"},
    {"ENABLESNAPSHOT", ZprMfcOemData::ENABLE_SNAPSHOT, "EnableSnapShot\n"},
    {"ENABLESSC", ZprMfcOemData::ENABLE_SSC, "EnableSSC\n"},
    {"ENABLEREDUCEDFEATURESET", ZprMfcOemData::ENABLE_REDUCED_FEATURE_SET, "EnableReducedFeatureSet\n"},
    {"ENABLECACHEOFFLOAD", ZprMfcOemData::ENABLE_CACHE_OFFLOAD, "EnableCacheOffload\n"},
    {"ENABLESSCWB", ZprMfcOemData::ENABLE_SSC_WRITE_BACK, "EnableSSCWB\n"},
};

const int MAX_FIELD_NAME = 64;

// The row of `table` whose key is `key`, or null.
template <size_t N>
const DifferenceKey* findRow(const DifferenceKey (&table)[N], const char* key)
{
    for (const DifferenceKey& row : table)
        if (std::strcmp(key, row.key) == 0)
            return &row;
    return nullptr;
}

bool isSkippedKey(const char* key)
{
    for (const char* skipped : SKIPPED_KEYS)
        if (std::strcmp(key, skipped) == 0)
            return true;
    return false;
}

} // namespace

uint32_t OemManager::nameSum(const char* text)
{
    uint32_t sum = 0;
    if (text == nullptr)
        return 0;
    for (uint32_t position = 1; text[position - 1] != '\0'; ++position)
        sum += static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(text[position - 1]))) * position;
    return sum;
}

uint8_t OemManager::oemNumber(const char* text)
{
    if (text == nullptr)
        return OEM_OTHER;
    if (text[0] >= '0' && text[0] <= '9') {
        // Read saturated: a long number is above 10, never wrapped below it.
        long long number = settingsNumber(text);
        return number > OEM_OTHER ? OEM_OTHER : static_cast<uint8_t>(number);
    }
    const uint32_t sum = nameSum(text);
    for (const auto& row : OEM_NAME_SUMS)
        if (row.nameSum == sum)
            return static_cast<uint8_t>(row.oem);
    return OEM_OTHER;
}

AdpSetVerifyCp::AdpSetVerifyCp()
{
    std::memset(oemData, 0, sizeof oemData);
    std::memset(defaults, 0, sizeof defaults);
    std::memset(pciIds, 0, sizeof pciIds);
}

void AdpSetVerifyCp::trim(char* text)
{
    trimSpace(text);
}

int AdpSetVerifyCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<AdpSetVerifyPo> start(cpController, request, "AdpSetVerifyPo *");
    if (!start)
        return start.result();
    int status = sendPrivateDcmd(cpController, DCMD_ADP_MFC_GET_OEM_DATA, oemData);
    if (status != 0) {
        printMessage(MSG_TEXT, "\nFailed to read MFC feature data from adapter\n");
        return status;
    }
    status = sendDcmd(cpController, DCMD_ADP_MFC_GET_DEFAULTS, defaults);
    if (status != 0) {
        printMessage(MSG_TEXT, "\nFailed to read MFC default data from adapter\n");
        return status;
    }
    const int featureLevel = static_cast<int>(mfcFeatureLevel(LeView(defaults, sizeof defaults)));
    status = sendDcmd(cpController, DCMD_ADP_MFC_GET_PCI_IDS, pciIds);
    if (status != 0) {
        printMessage(MSG_TEXT, "\nFailed to read PCI data from adapter\n");
        return status;
    }
    printMessage(MSG_ADAPTER_HEADER, static_cast<int>(start.number()));
    return compareWithFile(start.request(), featureLevel);
}

int AdpSetVerifyCp::compareWithFile(AdpSetVerifyPo* request, int featureLevel)
{
    const string fileName = request->getFileName();
    SettingsFileReader file(SettingsFileReader::Trim::Both);
    if (!file.open(fileName.c_str())) {
        printMessage(MSG_FILE_OPEN_FAILED, fileName.c_str());
        return -1;
    }
    printMessage(MSG_TEXT, "\nDifferences Found:\n");
    char* key = nullptr;
    char* value = nullptr;
    bool differs = false;
    while (file.next(&key, &value)) {
        Compared compared = compareKey(key, value, featureLevel);
        if (compared == Compared::UnknownKey) {
            printMessage(MSG_INVALID_SETTINGS_KEY, key);
            appLog(__FILE__, __LINE__, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, LOG_ID_FIRMWARE_FAILED, 0u, 0u);
        }
        differs = differs || compared == Compared::Differs;
    }
    const bool unreadable = file.failed();
    file.close();
    // A file that could not be read to its end is not a file without differences.
    if (unreadable) {
        printMessage(MSG_FILE_OPEN_FAILED, fileName.c_str());
        return -1;
    }
    if (differs)
        return -1;
    printMessage(MSG_TEXT, "None\n");
    return 0;
}

AdpSetVerifyCp::Compared AdpSetVerifyCp::compareKey(const char* key, const char* value, int featureLevel)
{
    if (isSkippedKey(key))
        return Compared::Same;
    const char* difference = nullptr;
    if (std::strcmp(key, "OEM") == 0) {
        if (OemManager::oemNumber(value) != ZprMfcOemData(oemData, sizeof oemData).oemId())
            difference = "OEM\n";
    } else if (const auto* pci = findRow(PCI_ID_KEYS, key)) {
        const uint16_t fileId = static_cast<uint16_t>(std::strtoull(value, nullptr, 16));
        if (fileId != ZprMfcPciIds(pciIds, sizeof pciIds).idAt(pci->offset))
            difference = pci->difference;
    } else if (const auto* oem = findRow(OEM_DATA_KEYS, key)) {
        if (settingsNumber(value) != LeView(oemData, sizeof oemData).u8(oem->offset))
            difference = oem->difference;
    } else {
        const MfcSettingKey* row = findMfcSettingKey(key, static_cast<unsigned>(featureLevel));
        if (row == nullptr)
            return Compared::UnknownKey;
        if (settingsNumber(value) != static_cast<long long>(mfcFieldValue(*row, LeView(defaults, sizeof defaults)))) {
            char line[MAX_FIELD_NAME + 2];
            std::snprintf(line, sizeof line, "%s\n", row->fieldName);
            printMessage(MSG_TEXT, line);
            return Compared::Differs;
        }
    }
    if (difference == nullptr)
        return Compared::Same;
    printMessage(MSG_TEXT, difference);
    return Compared::Differs;
}

namespace {

const CpRegistration<AdpSetVerifyCp> registration;

} // namespace
