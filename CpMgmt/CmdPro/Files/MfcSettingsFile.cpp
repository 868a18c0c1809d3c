#include "CpMgmt/CmdPro/Files/MfcSettingsFile.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "PavUtil/FileIO.h"
#include "PavUtil/LeView.h"
#include "PavUtil/TextScan.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcDefaults.h"

namespace {

typedef ZprMfcDefaults D;
typedef MfcValueRule R;

const uint32_t U16_MAX = 0xFFFF;

// Every key that names a field of the defaults record, with the rule its value must pass.
const MfcSettingKey KEYS[] = {
    {"PHYPOLARITY", "phyPolarity", D::PHY_POLARITY, 0, 8, R::Any, 0, 0, false},
    {"BACKGROUNDRATE", "backGroundRate", D::BACKGROUND_RATE, 0, 8, R::Range, 0, 100, false},
    {"STRIPESIZE", "stripeSize", D::STRIP_EXPONENT, 0, 8, R::StripSize, 0, 0, false},
    {"FLUSHTIME", "flushTime", D::FLUSH_TIME, 0, 8, R::Range, 0, 255, false},
    {"WRITEBACK", "writeBack", D::WRITE_POLICY, 0, 8, R::Range, 0, 2, false},
    {"READAHEAD", "readAhead", D::READ_POLICY, 0, 8, R::Range, 0, 2, false},
    {"CACHEWHENBBUBAD", "cacheWhenBbuBad", D::CACHE_WHEN_BBU_BAD, 0, 8, R::Range, 0, 1, false},
    {"CACHEDIO", "cachedIo", D::CACHED_IO, 0, 8, R::Any, 0, 0, false},
    {"SMARTMODE", "smartMode", D::SMART_MODE, 0, 8, R::Range, 0, 2, false},
    {"ALARMDISABLE", "alarmDisable", D::ALARM, 0, 8, R::Range, 0, 1, false},
    {"COERCION", "coercion", D::COERCION, 0, 8, R::Range, 0, 2, false},
    {"ZCRCONFIG", "zcrConfig", D::ZCR_CONFIGURATION, 0, 8, R::ZcrConfig, 0, 0, false},
    {"DIRTYLEDSHOWSDRIVEACTIVITY", "dirtyLedShowsDriveActivity", D::DIRTY_LED, 0, 8, R::Range, 0, 1, false},
    {"BIOSCONTINUEONERROR", "biosContinueOnError", D::BIOS_CONTINUE_ON_ERROR, 0, 8, R::BiosContinueOnError, 0, 3,
     false},
    {"SPINDOWNMODE", "spindownMode", D::SPIN_DOWN_MODE, 0, 8, R::Range, 0, 3, false},
    {"ALLOWEDDEVICETYPES", "allowedDeviceTypes", D::ALLOWED_DEVICE_TYPE, 0, 8, R::Any, 0, 0, false},
    {"ALLOWMIXINENCLOSURE", "allowMixInEnclosure", D::ALLOW_MIX_IN_ENCLOSURE, 0, 8, R::Any, 0, 0, false},
    {"ALLOWMIXINLD", "allowMixInLD", D::ALLOW_SAS_SATA_HDD_MIX, 0, 8, R::Any, 0, 0, false},
    {"ALLOWSSDMIXINLD", "allowSSDMixInLD", D::ALLOW_SAS_SATA_SSD_MIX, 0, 8, R::Any, 0, 0, false},
    {"ALLOWMIXSSDHDDINLD", "allowMixSSDHDDInLD", D::ALLOW_HDD_SSD_MIX, 0, 8, R::Any, 0, 0, false},
    {"ALLOWSATAINCLUSTER", "allowSataInCluster", D::ALLOW_SATA_IN_CLUSTER, 0, 8, R::Any, 0, 0, false},
    {"MAXCHAINEDENCLOSURES", "maxChainedEnclosures", D::MAX_CHAINED_ENCLOSURES, 0, 8, R::Any, 0, 0, false},
    {"DISABLECTRLR", "disableCtrlR", D::CTRL_R_DISABLED, 0, 8, R::Range, 0, 1, false},
    {"ENABLEVENTANA", "enableVentana", D::PREBOOT_UTILITY_ENABLED, 0, 8, R::Range, 0, 1, false},
    {"PHYPOLARITYSPLIT", "phyPolaritySplit", D::PHY_POLARITY_SPLIT, 0, 8, R::Any, 0, 0, false},
    {"DIRECTPDMAPPING", "directPdMapping", D::DIRECT_PD_MAPPING, 0, 8, R::Range, 0, 1, false},
    {"BIOSENUMERATELDS", "biosEnumerateLds", D::BIOS_ENUMERATES_VDS, 0, 8, R::Any, 0, 0, false},
    {"RESTOREHOTSPAREONINSERTION", "restoreHotSpareOnInsertion", D::RESTORE_HOT_SPARE, 0, 8, R::Any, 0, 0, false},
    {"EXPOSEENCLOSUREDEVICES", "exposeEnclosureDevices", D::EXPOSE_ENCLOSURE_DEVICES, 0, 8, R::Range, 0, 1, false},
    {"MAINTAINPDFAILHISTORY", "maintainPdFailHistory", D::MAINTAIN_PD_FAIL_HISTORY, 0, 8, R::Range, 0, 1, false},
    {"DISABLEPUNCTURING", "disablePuncturing", D::PUNCTURING_DISABLED, 0, 8, R::Range, 0, 1, false},
    {"ZEROBASEDENCLENUMERATION", "zeroBasedEnclEnumeration", D::ZERO_BASED_ENCLOSURES, 0, 8, R::Range, 0, 1, false},
    {"DISABLEBOOTCLI", "disableBootCLI", D::PREBOOT_CLI_DISABLED, 0, 8, R::Range, 0, 1, false},
    {"QUADPORTCONNECTORMAP", "quadPortConnectorMap", D::QUAD_PORT_CONNECTOR_MAP, 0, 8, R::Range, 0, 255, false},
    {"DRIVEACTIVITYLED", "driveActivityLed", D::LED_SHOWS_ACTIVITY, 0, 8, R::Range, 0, 1, false},
    {"DISABLEAUTODETECTBACKPLANE", "disableAutoDetectBackplane", D::BACKPLANE_DETECTION_DISABLED, 0, 8, R::Range, 0,
     3, false},
    {"USEFDEONLY", "useFdeOnly", D::USE_FDE_ONLY, 0, 8, R::Range, 0, 3, false},
    {"ENABLELEDHEADERS", "enableLedHeaders", D::LED_HEADER_ENABLED, 0, 8, R::Range, 0, 1, false},
    {"DELAYPOST", "delayPOST", D::POST_DELAY, 0, 8, R::Range, 0, 7, false},
    {"ENABLECRASHDUMP", "enableCrashDump", D::CRASH_DUMP_ENABLED, 0, 8, R::Range, 0, 1, false},
    {"DISABLEONLINECTRLRESET", "disableOnlineCtrlReset", D::ONLINE_RESET_DISABLED, 0, 8, R::Range, 0, 1, false},
    {"ENABLELDBBM", "enableLDBBM", D::LD_BBM_ENABLED, 0, 8, R::Range, 0, 1, false},
    {"ALLOWUNCERTIFIEDHDDS", "allowUnCertifiedHDDs", D::UNCERTIFIED_DRIVES, 0, 8, R::Range, 0, 1, false},
    {"TREATR1EASR10", "treatR1EAsR10", D::TREAT_R1E_AS_R10, 0, 8, R::Range, 0, 1, false},
    {"MAXLDSPERARRAY", "maxLdsPerArray", D::MAX_VDS_PER_ARRAY, 0, 8, R::Range, 0, 1, false},
    {"SSDSMARTERENABLED", "SSDSMARTerEnabled", D::FEATURES2, D::SSD_SMART_ERROR_BIT, 1, R::Range, 0, 1, false},
    {"SMARTERENABLED", "SMARTerEnabled", D::FEATURES2, D::SMART_ERROR_BIT, 1, R::Range, 0, 1, false},
    {"FAILPDONSMARTER", "failPdOnSMARTer", D::FAIL_PD_ON_SMART_ERROR, 0, 8, R::Range, 0, 1, false},
    {"NONREVERTIBLESPARES", "nonRevertibleSpares", D::NON_REVERTIBLE_SPARES, 0, 8, R::Range, 0, 1, false},
    {"ENABLEJBOD", "EnableJBOD", D::JBOD_ENABLED, 0, 8, R::Range, 0, 1, false},
    {"DISABLEPOWERSAVINGS", "disablePowerSavings", D::POWER_SAVING_OPTIONS, 0, 8, R::Range, 0, 255, false},
    {"SPINDOWNTIME", "spinDownTime", D::SPIN_DOWN_TIME, 0, 16, R::SpinDownTime, 30, U16_MAX, false},
    {"SNAPVDSPACE", "snapVDSpace", D::SNAPSHOT_SPACE, 0, 8, R::Any, 0, 0, false},
    {"AUTOSNAPVDSPACE", "autoSnapVDSpace", D::AUTO_SNAPSHOT_SPACE, 0, 8, R::Any, 0, 0, false},
    {"VIEWSPACE", "viewSpace", D::VIEW_SPACE, 0, 8, R::Any, 0, 0, false},
    {"DETECTCMETIMER", "detectCMETimer", D::CME_DETECT_TIME, 0, 8, R::Any, 0, 0, false},
    // The feature bits that exist only above the base feature level.
    {"TTYLOGINFLASH", "ttyLogInFlash", D::FEATURES, D::TTY_LOG_IN_FLASH_BIT, 1, R::Range, 0, 1, true},
    {"AUTOENHANCEDIMPORT", "autoEnhancedImport", D::FEATURES, D::AUTO_ENHANCED_IMPORT_BIT, 1, R::Range, 0, 1, true},
    {"BREAKMIRRORRAIDSUPPORT", "breakMirrorRAIDSupport", D::FEATURES, D::BREAK_MIRROR_BITS, 2, R::Any, 0, 0, true},
    {"DISABLEJOINMIRROR", "disableJoinMirror", D::FEATURES, D::JOIN_MIRROR_DISABLED_BIT, 1, R::Range, 0, 1, true},
    {"ENABLEPI", "enablePI", D::FEATURES, D::ENABLE_PI_BIT, 1, R::Range, 0, 1, true},
    {"PREVENTPIIMPORT", "preventPIImport", D::FEATURES, D::PREVENT_PI_IMPORT_BIT, 1, R::Range, 0, 1, true},
    {"ENABLESHIELDSTATE", "enableShieldState", D::FEATURES, D::SHIELD_STATE_BIT, 1, R::Range, 0, 1, true},
    {"ENABLEDRIVEWCEFORREBUILD", "enableDriveWCEforRebuild", D::FEATURES2, D::DRIVE_WCE_FOR_REBUILD_BIT, 1, R::Range,
     0, 1, true},
    {"ENABLEEMERGENCYSPARE", "enableEmergencySpare", D::FEATURES2, D::EMERGENCY_SPARE_BIT, 1, R::Range, 0, 1, true},
    {"USEGLOBALSPARESFOREMERGENCY", "useGlobalSparesForEmergency", D::FEATURES2, D::GLOBAL_SPARES_FOR_EMERGENCY_BIT,
     1, R::Range, 0, 1, true},
    {"USEUNCONFGOODFOREMERGENCY", "useUnconfGoodForEmergency", D::FEATURES2, D::UNCONFIGURED_FOR_EMERGENCY_BIT, 1,
     R::Range, 0, 1, true},
    {"BLOCKSSDWRITECACHECHANGE", "blockSSDWriteCacheChange", D::FEATURES2, D::BLOCK_SSD_WRITE_CACHE_BIT, 1, R::Range,
     0, 1, true},
    {"DISABLEHII", "disableHII", D::FEATURES2, D::HII_DISABLED_BIT, 1, R::Range, 0, 1, true},
};

// The SAS address text is read no further than this.
const size_t SAS_ADDRESS_TEXT = 31;
const unsigned SAS_ADDRESS_BYTES = 8;
// A group's value above this is a bad group.
const uint64_t SAS_GROUP_MAX = 0xFF;

uint32_t fieldMask(const MfcSettingKey& row)
{
    return row.width >= 32 ? 0xFFFFFFFFu : (1u << row.width) - 1u;
}

bool isSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// True when the group, read as parseHex reads it, has more significant hex digits than a byte
// holds: parseHex itself wraps a long group, which would otherwise pass as a small value.
bool groupTooWide(const char* group)
{
    const char* p = group;
    while (*p == ' ')
        ++p;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
        p += 2;
    while (*p == '0')
        ++p;
    size_t digits = 0;
    while (std::isxdigit(static_cast<unsigned char>(p[digits])) != 0)
        ++digits;
    return digits > 2;
}

} // namespace

const MfcSettingKey* findMfcSettingKey(const char* key, unsigned featureLevel)
{
    if (key == nullptr)
        return nullptr;
    for (const MfcSettingKey& row : KEYS) {
        if (std::strcmp(row.key, key) != 0)
            continue;
        if (row.aboveBaseLevel && featureLevel <= ZprMfcDefaults::BASE_FEATURE_LEVEL)
            return nullptr;
        return &row;
    }
    return nullptr;
}

unsigned mfcFeatureLevel(const LeView& defaults)
{
    unsigned level = defaults.u8(ZprMfcDefaults::FEATURE_LEVEL);
    return level == 0 ? ZprMfcDefaults::BASE_FEATURE_LEVEL : level;
}

uint32_t mfcFieldValue(const MfcSettingKey& row, const LeView& defaults)
{
    if (row.width == 16)
        return defaults.u16(row.offset);
    return (static_cast<uint32_t>(defaults.u8(row.offset)) >> row.shift) & fieldMask(row);
}

void storeMfcField(const MfcSettingKey& row, LeView& defaults, uint32_t value)
{
    if (row.width == 16) {
        defaults.setU16(row.offset, static_cast<uint16_t>(value));
        return;
    }
    const uint32_t mask = fieldMask(row) << row.shift;
    const uint32_t old = defaults.u8(row.offset);
    defaults.setU8(row.offset, static_cast<uint8_t>((old & ~mask) | ((value << row.shift) & mask)));
}

int parseSasAddress(const char* text, uint64_t* address)
{
    if (address == nullptr)
        return 1;
    *address = 0;
    char copy[SAS_ADDRESS_TEXT + 1] = {};
    if (text != nullptr)
        std::strncpy(copy, text, SAS_ADDRESS_TEXT);
    uint64_t value = 0;
    unsigned group = 0;
    char* cursor = copy;
    while (*cursor != '\0') {
        while (*cursor == ':')
            ++cursor;
        if (*cursor == '\0')
            break;
        char* start = cursor;
        while (*cursor != '\0' && *cursor != ':')
            ++cursor;
        if (*cursor == ':')
            *cursor++ = '\0';
        const uint64_t byte = parseHex(start);
        if (byte > SAS_GROUP_MAX || groupTooWide(start))
            return 1;
        value |= byte << (8 * ((SAS_ADDRESS_BYTES - 1 - group % SAS_ADDRESS_BYTES) % SAS_ADDRESS_BYTES));
        ++group;
    }
    *address = value;
    return 0;
}

long long settingsNumber(const char* text)
{
    if (text == nullptr)
        return 0;
    // strtoll saturates at its limits: a long number never wraps into a small one.
    return std::strtoll(text, nullptr, 10);
}

void trimTrailingSpace(char* text)
{
    if (text == nullptr)
        return;
    size_t length = std::strlen(text);
    while (length > 0 && isSpace(text[length - 1]))
        text[--length] = '\0';
}

void trimSpace(char* text)
{
    if (text == nullptr)
        return;
    trimTrailingSpace(text);
    size_t lead = 0;
    while (text[lead] != '\0' && isSpace(text[lead]))
        ++lead;
    if (lead > 0)
        std::memmove(text, text + lead, std::strlen(text + lead) + 1);
}

// ---------------------------------------------------------------------------------------------

bool SettingsFileReader::open(const char* path)
{
    close();
    readFailed = false;
    file = path != nullptr ? FileIO::instance()->open(path, "r") : nullptr;
    return file != nullptr;
}

void SettingsFileReader::close()
{
    if (file != nullptr)
        FileIO::instance()->close(file);
    file = nullptr;
}

bool SettingsFileReader::next(char** key, char** value)
{
    FileIO* io = FileIO::instance();
    while (file != nullptr) {
        if (io->gets(piece, PIECE_SIZE, file) == nullptr) {
            readFailed = io->error(file) != 0;
            return false;
        }
        stripComment(piece);
        if (trimMode == Trim::Both) {
            trimSpace(piece);
            if (piece[0] == '\0')
                continue;
        }
        if (split(key, value))
            return true;
    }
    return false;
}

// The first two runs of characters other than '=', trimmed; false when either is missing or
// empty.
bool SettingsFileReader::split(char** key, char** value)
{
    char* runs[2] = {nullptr, nullptr};
    char* p = piece;
    for (int i = 0; i < 2; ++i) {
        while (*p == '=')
            ++p;
        if (*p == '\0')
            return false;
        runs[i] = p;
        while (*p != '\0' && *p != '=')
            ++p;
        if (*p == '=')
            *p++ = '\0';
    }
    for (char* run : runs) {
        if (trimMode == Trim::Both)
            trimSpace(run);
        else
            trimTrailingSpace(run);
        if (run[0] == '\0')
            return false;
    }
    for (char* c = runs[0]; *c != '\0'; ++c)
        *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    *key = runs[0];
    *value = runs[1];
    return true;
}
