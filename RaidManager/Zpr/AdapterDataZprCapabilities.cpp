// The adapter data's capability, limit, image-version, compatibility, OEM-id and runtime-status
// queries, answered from the controller-information and manufacturing-defaults records.
#include <cstring>
#include <initializer_list>

#include "ControllerMgmt/Controller.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "DataProvider/LinuxZprDataProvider.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Zpr/AdapterDataZpr.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcDefaults.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcOemData.h"
#include "RaidManager/Zpr/Records/Controller/ZprRuntimeStatus.h"

namespace {

typedef ZprControllerInfo Info;
typedef ZprMfcDefaults Defaults;

// The OEM whose controllers take at least four drives per RAID 6 span.
const int32_t OEM_ID_RAID6_FOUR_DRIVES = 2;
// The OEMs whose new virtual drives take planning choice 2.
const int32_t OEM_ID_CHOICE2_A = 7;
const int32_t OEM_ID_CHOICE2_B = 9;

// A new list of the given values (owned by the caller); null when memory runs out.
ArrayList<unsigned char>* newList(std::initializer_list<unsigned char> values)
{
    ArrayList<unsigned char>* list = new (noThrowNew) ArrayList<unsigned char>(4);
    if (list == nullptr)
        return nullptr;
    for (unsigned char v : values) {
        if (list->add(v) != 0) {
            delete list;
            return nullptr;
        }
    }
    return list;
}

// The drive-limit word of a level code; false for a code without one.
bool limitWordOf(uint8_t level, size_t& word)
{
    static const struct { uint8_t level; size_t word; } WORDS[] = {
        {LEVEL_RAID0, Info::LIMITS_RAID0}, {LEVEL_RAID1, Info::LIMITS_RAID1},
        {LEVEL_RAID5, Info::LIMITS_RAID5}, {LEVEL_RAID6, Info::LIMITS_RAID6},
        {LEVEL_SPANNED_RAID1, Info::LIMITS_SPANNED_RAID1}, {LEVEL_SPANNED_RAID5, Info::LIMITS_SPANNED_RAID5},
        {LEVEL_SPANNED_RAID6, Info::LIMITS_SPANNED_RAID6}, {LEVEL_35, Info::LIMITS_LEVEL35},
    };
    for (const auto& w : WORDS)
        if (w.level == level) {
            word = w.word;
            return true;
        }
    return false;
}

bool isSpanned(uint8_t level)
{
    return level == LEVEL_SPANNED_RAID1 || level == LEVEL_SPANNED_RAID5 || level == LEVEL_SPANNED_RAID6;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Helpers over the cached records.

template <typename View, typename T, typename F>
int AdapterDataZpr::answerFrom(Record record, T* out, F value)
{
    int status = loadRecord(record);
    if (status == 0 && out != nullptr)
        *out = static_cast<T>(value(View(records[record], View::SIZE)));
    return status;
}

int AdapterDataZpr::infoFlag(size_t offset, unsigned bit, uint8_t* out)
{
    return answerFrom<Info>(CONTROLLER_INFO, out, [=](const Info& i) { return i.flag(offset, bit); });
}

int AdapterDataZpr::infoByte(size_t offset, uint8_t* out)
{
    return answerFrom<Info>(CONTROLLER_INFO, out, [=](const Info& i) { return i.byteAt(offset); });
}

int AdapterDataZpr::infoWord(size_t offset, uint16_t* out)
{
    return answerFrom<Info>(CONTROLLER_INFO, out, [=](const Info& i) { return i.wordAt(offset); });
}

uint8_t AdapterDataZpr::infoFlagOrZero(size_t offset, unsigned bit)
{
    uint8_t value = 0;
    return infoFlag(offset, bit, &value) == 0 ? value : 0;
}

int AdapterDataZpr::defaultsByte(size_t offset, uint8_t* out)
{
    return answerFrom<Defaults>(MFC_DEFAULTS, out, [=](const Defaults& d) { return d.byteAt(offset); });
}

int AdapterDataZpr::infoText(size_t offset, size_t width, string* text)
{
    int status = loadRecord(CONTROLLER_INFO);
    if (status != 0)
        return status;
    // The text ends at its NUL or at the end of its field, whichever comes first.
    char buffer[Info::PACKAGE_BUILD_WIDTH + 1];
    Info(records[CONTROLLER_INFO], Info::SIZE).view().readText(offset, width, buffer, sizeof buffer);
    if (text != nullptr)
        *text = string(buffer);
    return 0;
}

int AdapterDataZpr::imageVersion(const char* prefix, string* version)
{
    int status = loadRecord(CONTROLLER_INFO);
    if (status != 0)
        return status;
    Info info(records[CONTROLLER_INFO], Info::SIZE);
    const size_t prefixLength = strlen(prefix);
    const uint32_t count = info.imageCount();
    for (uint32_t i = 0; i < count; ++i) {
        char name[Info::IMAGE_NAME_WIDTH + 1];
        info.imageName(i, name, sizeof name);
        if (strncmp(name, prefix, prefixLength) != 0)
            continue;
        char text[Info::IMAGE_VERSION_WIDTH + 1];
        info.imageVersion(i, text, sizeof text);
        if (version != nullptr)
            *version = string(text);
        return 0;
    }
    return -1;
}

int AdapterDataZpr::readRuntimeStatus()
{
    uint8_t word[ZprRuntimeStatus::SIZE] = {0, 0, 0, 0};
    int status = send(DCMD_CFG_GET_RUNTIME_STATUS, word, sizeof word);
    if (status == 0)
        runtimeStatus = ZprRuntimeStatus(word, sizeof word).word();
    return status;
}

int AdapterDataZpr::runtimeStatusBit(unsigned bit, uint8_t* out)
{
    uint8_t reported = 0;
    int status = isAllowedOperationsSupported(&reported);
    if (status != 0)
        return status;
    // A controller that does not report allowed operations lets them all run.
    if (reported == 0) {
        if (out != nullptr)
            *out = 1;
        return 0;
    }
    status = readRuntimeStatus();
    if (status == 0 && out != nullptr)
        *out = static_cast<uint8_t>((runtimeStatus >> bit) & 1u);
    return status;
}

// ---------------------------------------------------------------------------------------------
// Answers that are one field of a record, as a table: the operation, the field (and its bit).

#define INFO_FLAG(operation, field, bit) \
    int AdapterDataZpr::operation(uint8_t* out) { return infoFlag(Info::field, bit, out); }
#define INFO_BYTE(operation, field) \
    int AdapterDataZpr::operation(uint8_t* out) { return infoByte(Info::field, out); }
#define INFO_WORD(operation, field) \
    int AdapterDataZpr::operation(uint16_t* out) { return infoWord(Info::field, out); }
#define DEFAULTS_BYTE(operation, field) \
    int AdapterDataZpr::operation(uint8_t* out) { return defaultsByte(Defaults::field, out); }

INFO_WORD(getEccBucketCount, ECC_BUCKET_COUNT)
INFO_WORD(getInfoWord786, INFO_WORD_786)
INFO_FLAG(getDriveMixFlag5f0Bit6, DRIVE_MIXING, 6)
INFO_FLAG(getDriveMixFlag5f0Bit5, DRIVE_MIXING, 5)
INFO_FLAG(getDriveMixFlag5f0Bit3, DRIVE_MIXING, 3)
INFO_FLAG(isFlatPhyIndexingSupported, STORAGE_FEATURES, 3)
INFO_FLAG(isDiskCachePolicyChangeSupported, LD_OPERATIONS, 4)
INFO_BYTE(getMinStripSize, MIN_STRIP_EXPONENT)
INFO_BYTE(getMaxStripSize, MAX_STRIP_EXPONENT)
INFO_BYTE(getMaxVirtualDrives, MAX_VIRTUAL_DRIVES)
INFO_FLAG(getInfoFlag5e2Bit2, REPORTING_FEATURES, 2)
INFO_FLAG(isForeignImportAllSupported, REPORTING_FEATURES, 4)
INFO_FLAG(isConnectorInfoSupported, REPORTING_FEATURES, 5)
INFO_FLAG(isAllowedOperationsSupported, REPORTING_FEATURES, 6)
INFO_FLAG(isAlarmPresent, DEVICES_PRESENT, 1)
INFO_FLAG(isMemoryPresent, DEVICES_PRESENT, 4)
INFO_FLAG(getInfoFlag5e3Bit0, STORAGE_FEATURES, 0)
INFO_FLAG(isEncryptionEnabled, STORAGE_FEATURES, 2)
INFO_FLAG(isOnlineCapacityExpansionSupported, STORAGE_FEATURES, 4)
INFO_FLAG(isExternalKeyManagementSupported, STORAGE_FEATURES, 5)
INFO_FLAG(isSnapshotSupported, STORAGE_FEATURES, 6)
INFO_FLAG(isSecurityKeyAssigned, SECURITY_STATE, 1)
INFO_FLAG(getSecurityKeyBit2, SECURITY_STATE, 2)
INFO_BYTE(getKeyManagementState, KEY_MANAGEMENT_STATE)
INFO_FLAG(isSpinDownSupported, POWER_FEATURES, 0)
INFO_FLAG(getCapabilityFlag5edBit1, POWER_FEATURES, 1)
INFO_FLAG(getInfoFlag5edBit3, POWER_FEATURES, 3)
INFO_FLAG(isBadBlockManagementSupported, LD_FEATURES, 1)
INFO_FLAG(isLdPowerSavingSupported, LD_FEATURES, 4)
INFO_FLAG(isMaxPowerSavingWithoutCacheSupported, LD_FEATURES, 5)
INFO_FLAG(isLdMirrorSupported, LD_FEATURES, 6)
INFO_FLAG(isSscWriteBackSupported, LD_FEATURES, 7)
INFO_FLAG(isManualSscAssociationAllowed, SSC_FEATURES, 0)
INFO_FLAG(isSscRaid5Supported, RAID_LEVEL_OPTIONS, 6)
INFO_FLAG(getInfoFlag5ddBit7, RAID_LEVEL_OPTIONS, 7)
INFO_FLAG(isPiSupported, PI_FEATURES, 0)
INFO_FLAG(getBlockSsdWriteCacheChange, PI_FEATURES, 6)
INFO_FLAG(getAllowedOperations, PI_FEATURES, 7)
INFO_FLAG(isEmergencySpareSupported, SPARE_FEATURES, 0)
INFO_FLAG(getInfoFlag7a6Bit1, FIRMWARE_FEATURES, 1)
INFO_FLAG(isSscReadWriteType, SSC_AND_BOOT_STATE, 1)
INFO_WORD(getMaxSscCount, MAX_SSC_SIZE)
INFO_WORD(getSscCount, SSC_SIZE)
DEFAULTS_BYTE(getDefaultStripSize, STRIP_EXPONENT)
DEFAULTS_BYTE(getUncertifiedDriveMode, UNCERTIFIED_DRIVES)
DEFAULTS_BYTE(getPowerSavingOptions, POWER_SAVING_OPTIONS)

#undef INFO_FLAG
#undef INFO_BYTE
#undef INFO_WORD
#undef DEFAULTS_BYTE

// ---------------------------------------------------------------------------------------------
// Controller-information answers that take more than one field as it is.

int AdapterDataZpr::isRevertibleHotSpareSupported(uint16_t* supported)
{
    return answerFrom<Info>(CONTROLLER_INFO, supported, [](const Info& i) { return i.flag(Info::RAID_FEATURES, 2); });
}

int AdapterDataZpr::getInfoFlag5ddBit0(uint8_t* flag)
{
    // Answers 0 whatever the controller reports in the bit.
    return answerFrom<Info>(CONTROLLER_INFO, flag, [](const Info&) { return 0; });
}

int AdapterDataZpr::isPrl11Supported(uint8_t* supported)
{
    return answerFrom<Info>(CONTROLLER_INFO, supported, [](const Info& i) {
        return (i.flag(Info::RAID_LEVEL_OPTIONS, 2) || i.flag(Info::RAID_LEVEL_OPTIONS, 3)) ? 1 : 0;
    });
}

int AdapterDataZpr::isSpanSlicingSupported(uint8_t* supported)
{
    // Every controller of the family slices spans; nothing is read.
    if (supported != nullptr)
        *supported = 1;
    return 0;
}

int AdapterDataZpr::getSnapshotSupport(uint32_t* supported)
{
    return answerFrom<Info>(CONTROLLER_INFO, supported, [](const Info& i) {
        return i.flag(Info::STORAGE_FEATURES, 6);
    });
}

int AdapterDataZpr::getInfoByte788Or16(uint8_t* value)
{
    return answerFrom<Info>(CONTROLLER_INFO, value, [](const Info& i) {
        const uint8_t byte = i.byteAt(Info::MAX_VDS_PER_ARRAY);
        return byte != 0 ? byte : 16;
    });
}

int AdapterDataZpr::getInfoByte789Or788(uint8_t* value)
{
    return answerFrom<Info>(CONTROLLER_INFO, value, [](const Info& i) {
        const uint8_t byte = i.byteAt(Info::INFO_BYTE_789);
        return byte != 0 ? byte : i.byteAt(Info::MAX_VDS_PER_ARRAY);
    });
}

int AdapterDataZpr::getSecurityKeyBit2OrDefault(uint8_t* bit)
{
    return answerFrom<Info>(CONTROLLER_INFO, bit, [](const Info& i) {
        return i.flag(Info::SECURITY_STATE, 1) == 0 ? 1 : i.flag(Info::SECURITY_STATE, 2);
    });
}

int AdapterDataZpr::getPerfTunedMode(uint8_t* mode)
{
    return answerFrom<Info>(CONTROLLER_INFO, mode, [](const Info& i) {
        return i.byteAt(Info::PERF_TUNED_MODE) & 0x03;
    });
}

int AdapterDataZpr::getPerfModeValues(uint8_t mode, uint8_t* flushLines, uint8_t* latency)
{
    // Four tuning modes have room in the record.
    if (mode > 3)
        return -1;
    int status = loadRecord(CONTROLLER_INFO);
    if (status != 0)
        return status;
    Info info(records[CONTROLLER_INFO], Info::SIZE);
    if (flushLines != nullptr)
        *flushLines = info.byteAt(Info::PERF_MODE_VALUES + 2u * mode);
    if (latency != nullptr)
        *latency = info.byteAt(Info::PERF_MODE_VALUES + 2u * mode + 1u);
    return 0;
}

int AdapterDataZpr::getInfoWord7ccOr16(uint16_t* value)
{
    return answerFrom<Info>(CONTROLLER_INFO, value, [](const Info& i) {
        const uint16_t word = i.wordAt(Info::INFO_WORD_7CC);
        return word != 0 ? word : 16;
    });
}

int AdapterDataZpr::getControllerTemperature(uint8_t* sensorPresent, uint8_t* degrees)
{
    int status = loadRecord(CONTROLLER_INFO);
    if (status == 0) {
        Info info(records[CONTROLLER_INFO], Info::SIZE);
        if (sensorPresent != nullptr)
            *sensorPresent = info.flag(Info::SENSORS_PRESENT, 3);
        if (degrees != nullptr)
            *degrees = info.byteAt(Info::CONTROLLER_TEMPERATURE);
    }
    return status;
}

int AdapterDataZpr::getRocTemperature(uint8_t* sensorPresent, uint8_t* degrees)
{
    int status = loadRecord(CONTROLLER_INFO);
    if (status == 0) {
        Info info(records[CONTROLLER_INFO], Info::SIZE);
        if (sensorPresent != nullptr)
            *sensorPresent = info.flag(Info::SENSORS_PRESENT, 2);
        if (degrees != nullptr)
            *degrees = info.byteAt(Info::ROC_TEMPERATURE);
    }
    return status;
}

int AdapterDataZpr::isSsdCachingSupported(uint8_t* supported)
{
    return answerFrom<Info>(CONTROLLER_INFO, supported, [](const Info& i) {
        return i.wordAt(Info::MAX_SSC_SIZE) != 0 ? 1 : 0;
    });
}

uint8_t AdapterDataZpr::isRealTimeSchedulingSupported() { return infoFlagOrZero(Info::SPARE_FEATURES, 7); }
uint8_t AdapterDataZpr::getBatteryBackupFlag() { return infoFlagOrZero(Info::DEVICES_PRESENT, 0); }
uint8_t AdapterDataZpr::getInfoFlag7a6Bit2() { return infoFlagOrZero(Info::FIRMWARE_FEATURES, 2); }
uint8_t AdapterDataZpr::isSafeBootMode() { return infoFlagOrZero(Info::SSC_AND_BOOT_STATE, 2); }

// ---------------------------------------------------------------------------------------------
// Manufacturing defaults that map their codes.

int AdapterDataZpr::getDefaultVdParameter29(uint8_t* value)
{
    uint8_t policy = 0;
    int status = defaultsByte(Defaults::WRITE_POLICY, &policy);
    if (status != 0)
        return status;
    static const uint8_t CHOICES[] = {1, 0, 2};
    if (policy >= sizeof CHOICES)
        return -1;
    if (value != nullptr)
        *value = CHOICES[policy];
    return 0;
}

int AdapterDataZpr::getDefaultVdParameter28(uint8_t* value)
{
    uint8_t policy = 0;
    int status = defaultsByte(Defaults::READ_POLICY, &policy);
    if (status != 0)
        return status;
    static const uint8_t CHOICES[] = {2, 0, 1};
    if (value != nullptr)
        *value = policy < sizeof CHOICES ? CHOICES[policy] : policy;
    // A code outside the table is handed on raw, with the refusal.
    return policy < sizeof CHOICES ? 0 : -1;
}

int AdapterDataZpr::getDefaultVdParameter30(uint8_t* value)
{
    uint8_t cache = 0;
    int status = defaultsByte(Defaults::CACHE_WHEN_BBU_BAD, &cache);
    if (status != 0)
        return status;
    if (cache > 1)
        return -1;
    if (value != nullptr)
        *value = cache;
    return 0;
}

int AdapterDataZpr::getDefaultVdParameter27(uint8_t* value)
{
    return answerFrom<Defaults>(MFC_DEFAULTS, value, [](const Defaults& d) {
        return d.byteAt(Defaults::CACHED_IO) == 1 ? 0 : 1;
    });
}

int AdapterDataZpr::getTreatSingleSpanR1eAsR10(uint8_t* treat)
{
    return answerFrom<Defaults>(MFC_DEFAULTS, treat, [](const Defaults& d) {
        return d.byteAt(Defaults::TREAT_R1E_AS_R10) != 0 ? 1 : 0;
    });
}

int AdapterDataZpr::isJoinMirrorAllowed(uint8_t* allowed)
{
    return answerFrom<Defaults>(MFC_DEFAULTS, allowed, [](const Defaults& d) {
        return d.flag(Defaults::FEATURES, Defaults::JOIN_MIRROR_DISABLED_BIT) ? 0 : 1;
    });
}

// ---------------------------------------------------------------------------------------------
// RAID levels, spans and strips.

int AdapterDataZpr::getSupportedRaidLevels(ArrayList<unsigned char>** levels)
{
    int status = loadRecord(CONTROLLER_INFO);
    if (status != 0)
        return status;
    Info info(records[CONTROLLER_INFO], Info::SIZE);
    const bool spanning = info.flag(Info::RAID_FEATURES, 0) != 0;
    static const struct { unsigned bit; uint8_t level; uint8_t spanned; } LEVELS[] = {
        {0, LEVEL_RAID0, 0}, {1, LEVEL_RAID1, LEVEL_SPANNED_RAID1}, {2, LEVEL_RAID5, LEVEL_SPANNED_RAID5},
        {4, LEVEL_RAID6, LEVEL_SPANNED_RAID6},
    };
    ArrayList<unsigned char>* list = newList({});
    if (list == nullptr)
        return -1;
    // The single-span levels first, then their spanned forms, each in rising order.
    for (int pass = 0; pass < 2; ++pass)
        for (const auto& l : LEVELS) {
            if (!info.flag(Info::RAID_LEVELS, l.bit) || (pass == 1 && (!spanning || l.spanned == 0)))
                continue;
            if (list->add(pass == 0 ? l.level : l.spanned) != 0) {
                delete list;
                return -1;
            }
        }
    if (levels != nullptr)
        *levels = list;
    else
        delete list;
    return 0;
}

uint8_t AdapterDataZpr::isSpannedRaidLevel(uint8_t level)
{
    return isSpanned(level) ? 1 : 0;
}

int AdapterDataZpr::getLevelMinSpans(uint8_t* spans, uint8_t level)
{
    if (spans != nullptr)
        *spans = isSpanned(level) ? 2 : 1;
    return 0;
}

int AdapterDataZpr::getLevelMaxSpans(uint8_t* spans, uint8_t level)
{
    uint8_t maxSpans = 0;
    int status = infoByte(Info::MAX_SPANS, &maxSpans);
    if (status == 0 && spans != nullptr)
        *spans = isSpanned(level) ? maxSpans : 1;
    return status;
}

int AdapterDataZpr::getLevelMinDrivesPerSpan(uint8_t* drives, uint8_t level)
{
    int status = loadRecord(CONTROLLER_INFO);
    if (status != 0)
        return status;
    size_t word = 0;
    if (!limitWordOf(level, word))
        return -1;
    uint8_t minimum = Info(records[CONTROLLER_INFO], Info::SIZE).minDrives(word);
    // A spanned word counts the drives of two spans.
    if (isSpanned(level))
        minimum = static_cast<uint8_t>(minimum >> 1);
    if (level == LEVEL_RAID6 || level == LEVEL_SPANNED_RAID6) {
        int32_t oemId = 0;
        if (getOemId(&oemId) == 0 && oemId == OEM_ID_RAID6_FOUR_DRIVES)
            minimum = 4;
    }
    if (drives != nullptr)
        *drives = minimum;
    return 0;
}

int AdapterDataZpr::getLevelMaxDrivesPerSpan(uint8_t* drives, uint8_t level)
{
    int status = loadRecord(CONTROLLER_INFO);
    if (status != 0)
        return status;
    Info info(records[CONTROLLER_INFO], Info::SIZE);
    uint8_t prl11 = 0;
    ignoreStatus(isPrl11Supported(&prl11), "the information was read just above: always 0");
    size_t word = 0;
    if (!limitWordOf(level, word))
        return -1;
    if (level == LEVEL_RAID1 && prl11)
        word = Info::LIMITS_LEVEL35;
    if (level == LEVEL_SPANNED_RAID1 && prl11)
        word = Info::LIMITS_SPANNED_PRL11;
    uint32_t maximum = info.maxDrives(word);
    if (isSpanned(level)) {
        // A controller that reports no spans gives no per-span limit instead of a division
        // by zero.
        const uint8_t spans = info.maxSpans();
        if (spans == 0)
            return -1;
        maximum /= spans;
    }
    if (drives != nullptr)
        *drives = static_cast<uint8_t>(maximum);
    return 0;
}

int AdapterDataZpr::getSupportedStripSizes(ArrayList<unsigned char>** exponents)
{
    int status = loadRecord(CONTROLLER_INFO);
    if (status != 0)
        return status;
    Info info(records[CONTROLLER_INFO], Info::SIZE);
    ArrayList<unsigned char>* list = newList({});
    if (list == nullptr)
        return -1;
    const unsigned last = info.byteAt(Info::MAX_STRIP_EXPONENT);
    for (unsigned e = info.byteAt(Info::MIN_STRIP_EXPONENT); e <= last; ++e)
        if (list->add(static_cast<unsigned char>(e)) != 0) {
            delete list;
            return -1;
        }
    if (exponents != nullptr)
        *exponents = list;
    else
        delete list;
    return 0;
}

int AdapterDataZpr::getVdChoiceList1(ArrayList<unsigned char>** choices)
{
    ArrayList<unsigned char>* list = newList({1, 0});
    if (list == nullptr)
        return -1;
    if (choices != nullptr)
        *choices = list;
    else
        delete list;
    return 0;
}

int AdapterDataZpr::getVdChoiceList2(ArrayList<unsigned char>** choices)
{
    ArrayList<unsigned char>* list = newList({2, 0, 1});
    if (list == nullptr)
        return -1;
    if (choices != nullptr)
        *choices = list;
    else
        delete list;
    return 0;
}

int AdapterDataZpr::getVdChoiceList3(ArrayList<unsigned char>** choices)
{
    return getVdChoiceList1(choices);
}

// ---------------------------------------------------------------------------------------------
// Images, texts, compatibility, OEM id, runtime status.

int AdapterDataZpr::getAppImageVersion(string* version) { return imageVersion("APP", version); }
int AdapterDataZpr::getBiosImageVersion(string* version) { return imageVersion("BIOS", version); }
int AdapterDataZpr::getBootBlockImageVersion(string* version) { return imageVersion("BTBL", version); }
int AdapterDataZpr::getProductName(string* name)
{
    return infoText(Info::PRODUCT_NAME, Info::PRODUCT_NAME_WIDTH, name);
}

int AdapterDataZpr::getFirmwarePackageBuild(string* build)
{
    return infoText(Info::PACKAGE_BUILD, Info::PACKAGE_BUILD_WIDTH, build);
}

namespace {

// The firmware's compatibility level beside the program's own; `needsUpdate` tells from the two
// whether one side needs an update.
template <typename NeedsUpdate>
void answerCompatibility(uint16_t level, uint16_t ownLevel, NeedsUpdate needsUpdate, uint8_t* updateNeeded,
                         uint16_t* firmwareLevel, uint16_t* applicationLevel)
{
    if (firmwareLevel != nullptr)
        *firmwareLevel = level;
    if (applicationLevel != nullptr)
        *applicationLevel = ownLevel;
    if (updateNeeded != nullptr)
        *updateNeeded = needsUpdate(level, ownLevel) ? 1 : 0;
}

}  // namespace

int AdapterDataZpr::checkApplicationCompatibility(uint8_t* updateNeeded, uint16_t* firmwareLevel,
                                                  uint16_t* applicationLevel)
{
    uint16_t level = 0;
    int status = infoWord(Info::FW_FORWARD_COMPAT, &level);
    if (status != 0)
        return status;
    answerCompatibility(level, APPLICATION_FORWARD_COMPAT_LEVEL, [](uint16_t fw, uint16_t own) { return fw > own; },
                        updateNeeded, firmwareLevel, applicationLevel);
    return 0;
}

int AdapterDataZpr::checkFirmwareCompatibility(uint8_t* updateNeeded, uint16_t* firmwareLevel,
                                               uint16_t* applicationLevel)
{
    uint16_t level = 0;
    int status = infoWord(Info::FW_BACKWARD_COMPAT, &level);
    if (status != 0)
        return status;
    answerCompatibility(level, APPLICATION_BACKWARD_COMPAT_LEVEL, [](uint16_t fw, uint16_t own) { return fw < own; },
                        updateNeeded, firmwareLevel, applicationLevel);
    return 0;
}

int AdapterDataZpr::getOemId(int32_t* oemId)
{
    if (LinuxZprDataProvider::instance(0) == nullptr || controller == nullptr)
        return -1;
    uint8_t answer[ZprMfcOemData::SIZE];
    memset(answer, 0, sizeof answer);
    DcmdZprDpPrvParams* request =
        new (noThrowNew) DcmdZprDpPrvParams(DCMD_ADP_MFC_GET_OEM_DATA, 0u, 0u, 0u, answer, sizeof answer, 0, 0);
    if (request == nullptr)
        return -1;
    int status = controller->execute(request);
    delete request;
    if (status == 0 && oemId != nullptr)
        *oemId = static_cast<int32_t>(ZprMfcOemData(answer, sizeof answer).oemId());
    return status;
}

int AdapterDataZpr::getDefaultVdParameter31(uint8_t* value)
{
    int32_t oemId = 0;
    int status = getOemId(&oemId);
    if (status == 0 && value != nullptr)
        *value = (oemId == OEM_ID_CHOICE2_A || oemId == OEM_ID_CHOICE2_B) ? 2 : 0;
    return status;
}

int AdapterDataZpr::getRuntimeStatusBit1(uint8_t* bit) { return runtimeStatusBit(1, bit); }
int AdapterDataZpr::getRuntimeStatusBit0(uint8_t* bit) { return runtimeStatusBit(0, bit); }
