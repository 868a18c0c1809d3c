#include "CpMgmt/CmdPro/Adapter/AdpPropertyCp.h"

#include <cstdio>
#include <cstring>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/Adapter/AdpPropertyWords.h"
#include "CpMgmt/CmdPro/VirtualDrive/WriteBackCheck.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/Cmd/Adapter/AdpPropertyParser.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuStatus.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdProgressBlock.h"

namespace {

typedef ZprControllerInfo Info;

// The codes that need a capability before anything else, with the line that refuses them.
struct CapabilityGate {
    unsigned short code;
    size_t offset;
    unsigned bit;
    const char* refusal;
};

const CapabilityGate CAPABILITY_GATES[] = {
    {TOKEN_DEFAULTLDPSPOLICY, Info::LD_FEATURES, Info::LD_POWER_SAVING_BIT, "Adapter does not support Power savings on logical drives.\n"},
    {TOKEN_DISABLELDPS, Info::LD_FEATURES, Info::LD_POWER_SAVING_BIT, "Adapter does not support Power savings on logical drives.\n"},
    {TOKEN_SPINUPENCDRVCNT, Info::LD_FEATURES, Info::LD_POWER_SAVING_BIT, "Adapter does not support Power savings on logical drives.\n"},
    {TOKEN_SPINUPENCDELAY, Info::LD_FEATURES, Info::LD_POWER_SAVING_BIT, "Adapter does not support Power savings on logical drives.\n"},
    {TOKEN_DISABLELDPSINTERVAL, Info::LD_FEATURES, Info::LD_POWER_SAVING_BIT, "Adapter does not support Power savings on logical drives.\n"},
    {TOKEN_DISABLELDPSTIME, Info::LD_FEATURES, Info::LD_POWER_SAVING_BIT, "Adapter does not support Power savings on logical drives.\n"},
    {TOKEN_ENBL_E_GHSP, Info::SPARE_FEATURES, Info::EMERGENCY_SPARES_BIT, "Adapter does not support Emergency Spare.\n"},
    {TOKEN_ENBL_E_UG, Info::SPARE_FEATURES, Info::EMERGENCY_SPARES_BIT, "Adapter does not support Emergency Spare.\n"},
    {TOKEN_ENBL_E_SMARTER, Info::SPARE_FEATURES, Info::EMERGENCY_SPARES_BIT, "Adapter does not support Emergency Spare.\n"},
};

// ---------------------------------------------------------------------------------------------
// The show rows that read one value and print it in one line.

// Reads one value of the adapter element into 32 bits.
typedef int (*ValueReader)(Adapter* adapter, uint32_t* value);

template <class T, int (Adapter::*Get)(T*)>
int readValue(Adapter* adapter, uint32_t* value)
{
    T read = 0;
    const int status = (adapter->*Get)(&read);
    if (status == 0)
        *value = read;
    return status;
}

#define READ(type, getter) &readValue<type, &Adapter::getter>

struct ShowRow {
    unsigned short code;
    ValueReader read;
    uint32_t message;              // "Adapter %d: ..." with the number or the word
    const PropertyWords* words;    // null: the number itself
    PropertyNeed need;
};

const ShowRow SHOW_ROWS[] = {
    {TOKEN_ENBL_JBOD, READ(uint32_t, getJbodEnabled), MSG_PROP_JBOD, &ENABLED_WORDS, PropertyNeed::NONE},
    {TOKEN_REBUILDRATE, READ(uint8_t, getRebuildRate), MSG_PROP_REBUILD_RATE, nullptr, PropertyNeed::NONE},
    {TOKEN_PATROLREADRATE, READ(uint8_t, getPatrolReadRate), MSG_PROP_PATROL_READ_RATE, nullptr, PropertyNeed::NONE},
    {TOKEN_BGIRATE, READ(uint8_t, getBgiRate), MSG_PROP_BGI_RATE, nullptr, PropertyNeed::NONE},
    {TOKEN_CCRATE, READ(uint8_t, getCheckConsistencyRate), MSG_PROP_CC_RATE, nullptr, PropertyNeed::NONE},
    {TOKEN_RECONRATE, READ(uint8_t, getReconstructionRate), MSG_PROP_RECON_RATE, nullptr, PropertyNeed::NONE},
    {TOKEN_SPINUPDRVCNT, READ(uint8_t, getSpinupDriveCount), MSG_PROP_SPINUP_COUNT, nullptr, PropertyNeed::NONE},
    {TOKEN_SPINUPDELAY, READ(uint8_t, getSpinupDelay), MSG_PROP_SPINUP_DELAY, nullptr, PropertyNeed::NONE},
    {TOKEN_COERCIONMODE, READ(uint8_t, getCoercionMode), MSG_PROP_COERCION, &COERCION_WORDS, PropertyNeed::NONE},
    {TOKEN_PREDFAILPOLLINT, READ(uint16_t, getPredictiveFailPollInterval), MSG_PROP_PRED_FAIL_POLL, nullptr,
     PropertyNeed::NONE},
    {TOKEN_CLUSTERENABLE, READ(uint8_t, getClusterEnable), MSG_PROP_CLUSTER, &ENABLED_WORDS, PropertyNeed::NONE},
    {TOKEN_CACHEFLUSH, READ(uint8_t, getCacheFlushInterval), MSG_PROP_CACHE_FLUSH, nullptr, PropertyNeed::NONE},
    {AdpPropertyParser::PROPERTY_ALARM, READ(uint8_t, getAlarmState), MSG_PROP_ALARM, &ALARM_SHOW_WORDS,
     PropertyNeed::NONE},
    {TOKEN_BATWARNDISABLE, READ(uint8_t, getBatteryWarningDisabled), MSG_PROP_BATTERY_WARNING, &DISABLED_WORDS,
     PropertyNeed::NONE},
    {TOKEN_ECCBUCKETSIZE, READ(uint8_t, getEccBucketSize), MSG_PROP_ECC_SIZE, nullptr, PropertyNeed::NONE},
    {TOKEN_ECCBUCKETLEAKRATE, READ(uint16_t, getEccBucketLeakRate), MSG_PROP_ECC_LEAK_RATE, nullptr, PropertyNeed::NONE},
    {TOKEN_ECCBUCKETCOUNT, READ(uint16_t, getEccBucketCount), MSG_PROP_ECC_COUNT, nullptr, PropertyNeed::NONE},
    {TOKEN_ABORTCCONERROR, READ(uint8_t, getAbortCcOnError), MSG_PROP_ABORT_CC, nullptr, PropertyNeed::NONE},
    {TOKEN_AUTODTBACKPLANEDISABLE, READ(uint8_t, getAutoDetectBackplaneDisabled), MSG_PROP_BACKPLANE,
     &BACKPLANE_WORDS, PropertyNeed::NONE},
    {TOKEN_DISABLEONLINECTRLRESET, READ(uint8_t, getOnlineControllerReset), MSG_PROP_ONLINE_RESET, &DISABLED_WORDS,
     PropertyNeed::NONE},
    {TOKEN_ALLOWBOOTWITHPINNEDCACHE, READ(uint8_t, getBootWithPinnedCache), MSG_PROP_BOOT_PINNED_CACHE,
     &ENABLED_WORDS, PropertyNeed::NONE},
    {TOKEN_RSTRHOTSPAREONINSERT, READ(uint8_t, getRestoreHotSpareOnInsertion), MSG_PROP_RESTORE_HOT_SPARE,
     &ENABLED_WORDS, PropertyNeed::NONE},
    {TOKEN_SSD_SMART_CPYBKENABLE, READ(uint32_t, getSsdSmartCopybackEnabled), MSG_PROP_SSD_SMART_COPYBACK,
     &ENABLED_WORDS, PropertyNeed::NONE},
    {TOKEN_ENBLSPINDNUNCFGDRV, READ(uint32_t, getSpinDownUnconfiguredDrives), MSG_PROP_SPIN_DOWN_UNCONFIGURED,
     &ENABLED_WORDS, PropertyNeed::SPIN_DOWN},
    {TOKEN_MAINT_PD_FAIL_HIST_ENBL, READ(uint8_t, getMaintainPdFailHistory), MSG_PROP_PD_FAIL_HISTORY,
     &ENABLED_WORDS, PropertyNeed::NONE},
    {TOKEN_PRCORRECTUNCFGDAREAS, READ(uint32_t, getPatrolReadCorrectsUnconfigured), MSG_PROP_PR_CORRECT_UNCONFIGURED,
     &ENABLED_WORDS, PropertyNeed::NONE},
    {TOKEN_DSBLSPINDNHOTSPARE, READ(uint32_t, getSpinDownHotSpares), MSG_PROP_SPIN_DOWN_HOT_SPARES, &DISABLED_WORDS,
     PropertyNeed::SPIN_DOWN},
    {TOKEN_SPINDOWNTIME, READ(uint16_t, getSpinDownTime), MSG_PROP_SPIN_DOWN_TIME, nullptr, PropertyNeed::SPIN_DOWN},
    {TOKEN_EXPOSE_ENCL_DEV_ENBL, READ(uint8_t, getExposeEnclosureDevices), MSG_PROP_EXPOSE_ENCLOSURES,
     &ENABLED_WORDS, PropertyNeed::NONE},
    {TOKEN_DEFAULT_VIEW_SPACE, READ(uint8_t, getDefaultViewSpace), MSG_PROP_VIEW_SPACE, nullptr, PropertyNeed::NONE},
    {TOKEN_AUTO_SNAPSHOT_SPACE, READ(uint8_t, getAutoSnapshotSpace), MSG_PROP_AUTO_SNAPSHOT_SPACE, nullptr,
     PropertyNeed::NONE},
    {TOKEN_DEFAULT_SNAPSHOT_SPACE, READ(uint8_t, getDefaultSnapshotSpace), MSG_PROP_SNAPSHOT_SPACE, nullptr,
     PropertyNeed::NONE},
    {TOKEN_USE_DISK_ACTIVITY_FOR_LOCATE, READ(uint8_t, getUseDiskActivityForLocate), MSG_PROP_LOCATE_ACTIVITY,
     &ENABLED_WORDS, PropertyNeed::NONE},
    {TOKEN_CPYBKENABLE, READ(uint32_t, getCopybackDisabled), MSG_PROP_COPYBACK, &DISABLED_WORDS, PropertyNeed::NONE},
    {TOKEN_SMART_CPYBKENABLE, READ(uint32_t, getSmartCopybackEnabled), MSG_PROP_SMART_COPYBACK, &ENABLED_WORDS,
     PropertyNeed::NONE},
    {TOKEN_LOADBALANCE, READ(uint32_t, getLoadBalanceMode), MSG_PROP_LOAD_BALANCE, &LOAD_BALANCE_SHOW_WORDS,
     PropertyNeed::NONE},
    {TOKEN_USEFDEONLYENCRYPT, READ(uint32_t, getUseFdeOnlyEncryption), MSG_PROP_FDE_ONLY, &ENABLED_WORDS,
     PropertyNeed::NONE},
    {TOKEN_SPINUPENCDRVCNT, READ(uint8_t, getSpinupEnclosureDriveCount), MSG_PROP_ENCLOSURE_SPINUP_COUNT, nullptr,
     PropertyNeed::NONE},
    {TOKEN_SPINUPENCDELAY, READ(uint8_t, getSpinupEnclosureDelay), MSG_PROP_ENCLOSURE_SPINUP_DELAY, nullptr,
     PropertyNeed::NONE},
    {TOKEN_DISABLELDPSINTERVAL, READ(uint8_t, getLdPowerSavingDisabledInterval), MSG_PROP_PS_DISABLED_INTERVAL,
     nullptr, PropertyNeed::NONE},
    {TOKEN_PREVENTPIIMPORT, READ(uint8_t, getPreventPiImport), MSG_PROP_PREVENT_PI_IMPORT, &ENABLED_WORDS,
     PropertyNeed::NONE},
    {TOKEN_ENBLPI, READ(uint8_t, getPiEnabled), MSG_PROP_PI, &ENABLED_WORDS, PropertyNeed::PI},
    {TOKEN_SUPPORTSSDPATROLREAD, READ(uint8_t, getPatrolReadOnSsd), MSG_PROP_SSD_PATROL_READ, &ENABLED_WORDS,
     PropertyNeed::NONE},
    {TOKEN_FORCESGPIO, READ(uint8_t, getForceSgpio), MSG_PROP_FORCE_SGPIO, &ENABLED_WORDS, PropertyNeed::NONE},
    {AdpPropertyParser::PROPERTY_NCQ, READ(uint32_t, getNcqDisabled), MSG_PROP_NCQ, &DISABLED_WORDS,
     PropertyNeed::NONE},
    {AdpPropertyParser::PROPERTY_AUTO_ENHANCED_IMPORT, READ(uint32_t, getAutoEnhancedImport),
     MSG_PROP_AUTO_ENHANCED_IMPORT, &ENABLED_WORDS, PropertyNeed::NONE},
};

#undef READ

int showValue(PropertyRun& run, const ShowRow& row)
{
    int status = 0;
    if (!propertyNeedMet(run, row.need, &status))
        return status;
    uint32_t value = 0;
    status = row.read(run.adapter, &value);
    if (status != 0)
        return status;
    const int adapter = static_cast<int>(run.adapterNumber);
    if (row.words != nullptr)
        printMessage(row.message, adapter, propertyWord(*row.words, value));
    else
        printMessage(row.message, adapter, static_cast<int>(value));
    return 0;
}

// ---------------------------------------------------------------------------------------------
// The show rows of their own.

int showCacheBypass(PropertyRun&, int provisional)
{
    printMessage(MSG_TEXT, "Not Supported\n");
    return provisional;
}

int showWriteBack(PropertyRun& run, int)
{
    const bool possible = AdpPropertyCp::isWriteBackPossible(run.cpController) == 0;
    printMessage(possible ? MSG_PROP_WRITE_BACK_POSSIBLE : MSG_PROP_WRITE_BACK_NOT_POSSIBLE,
                 static_cast<int>(run.adapterNumber));
    return 0;
}

int showPowerSavingPolicy(PropertyRun& run, int)
{
    uint8_t policy = 0;
    const int status = run.adapter->getDefaultLdPowerSavingPolicy(&policy);
    if (status != 0)
        return status;
    uint8_t withoutCache = 0;
    if (policy == POWER_SAVE_MAXIMUM_WITHOUT_CACHING && run.adapter->isMaxPowerSavingWithoutCacheSupported(&withoutCache) != 0)
        withoutCache = 0;
    printMessage(MSG_PROP_PS_POLICY, static_cast<int>(run.adapterNumber), powerSavingPolicyText(policy, withoutCache != 0));
    return 0;
}

int showPowerSavingTime(PropertyRun& run, int)
{
    uint16_t minutes = 0;
    const int status = run.adapter->getLdPowerSavingDisabledTime(&minutes);
    if (status == 0)
        printMessage(MSG_PROP_PS_DISABLED_TIME, static_cast<int>(run.adapterNumber), minutes / 60, minutes % 60);
    return status;
}

int showDpm(PropertyRun& run, int)
{
    uint8_t enabled = 0;
    const int status = run.adapter->getDpmConfiguration(&enabled, nullptr);
    if (status == 0)
        printMessage(MSG_PROP_DPM, propertyWord(ENABLED_WORDS, enabled), static_cast<int>(run.adapterNumber));
    return status;
}

// Global hot spare and unconfigured good drive as emergency spares, in one text.
int showEmergencySpares(PropertyRun& run, int provisional)
{
    uint8_t supported = 0;
    if (run.adapter->isEmergencySpareSupported(&supported) != 0 || supported == 0)
        return provisional;
    uint8_t global = 0;
    uint8_t unconfigured = 0;
    const int status = run.adapter->getEmergencyGlobalHotSpare(&global);
    const int otherStatus = run.adapter->getEmergencyUnconfiguredGoodSpare(&unconfigured);
    if (status == 0 || otherStatus == 0) {
        const bool g = status == 0 && global != 0;
        const bool u = otherStatus == 0 && unconfigured != 0;
        const char* text = g && u ? "Emergency Spare : Unconfigured Good & Global HotSpare"
                           : g    ? "Emergency Spare : Global HotSpare"
                           : u    ? "Emergency Spare : Unconfigured Good"
                                  : "Emergency Spare : None";
        printMessage(MSG_TEXT, text);
    }
    return status;
}

int showEmergencySpareForSmarter(PropertyRun& run, int provisional)
{
    uint8_t supported = 0;
    if (run.adapter->isEmergencySpareSupported(&supported) != 0 || supported == 0)
        return provisional;
    uint8_t enabled = 0;
    const int status = run.adapter->getEmergencySpareForSmarter(&enabled);
    if (status == 0) {
        char line[64];
        snprintf(line, sizeof line, "%s %s", "Emergency Spare For SMARTer:", propertyWord(ENABLED_WORDS, enabled));
        printMessage(MSG_TEXT, line);
        printMessage(MSG_NEWLINE);
    }
    return status;
}

bool perfTuningSupported(PropertyRun& run)
{
    if (propertyCapability(run, Info::SPARE_FEATURES, Info::PERF_TUNING_BIT))
        return true;
    printMessage(MSG_TEXT, "Fw Not Support Perf Tuning\n");
    run.endNow = true;
    return false;
}

int showPerfMode(PropertyRun& run, int provisional)
{
    if (!perfTuningSupported(run))
        return -1;
    const uint8_t mode = static_cast<uint8_t>(run.info[Info::PERF_TUNED_MODE] & 0x03);
    if (mode == 0)
        printMessage(MSG_TEXT, "Perf Tuned Mode : Best IOPS\n");
    else if (mode == 1)
        printMessage(MSG_TEXT, "Perf Tuned Mode : Least Latency\n");
    return provisional;
}

int showPerfModeValues(PropertyRun& run, int provisional)
{
    if (!perfTuningSupported(run))
        return -1;
    const bool latency = run.oemId == PROPERTY_OEM_LATENCY;
    int status = provisional;
    for (uint8_t mode = 0; mode < 2; ++mode) {
        uint8_t flushLines = 255;
        uint8_t second = 255;
        status = run.adapter->getPerfModeValues(mode, &flushLines, &second);
        if (status != 0)
            continue;
        char line[96];
        snprintf(line, sizeof line, "Perf Tuned Mode : %d, %s = %d, %s = %d\n", static_cast<int>(mode),
                 " Max Flush lines", static_cast<int>(flushLines), latency ? " Max PD I/O Latency(ms)" : " Number Order IOs ",
                 second * (latency ? 25 : 10));
        printMessage(MSG_TEXT, line);
    }
    return status;
}

struct SpecialShowRow {
    unsigned short code;
    int (*show)(PropertyRun& run, int provisional);
};

const SpecialShowRow SPECIAL_SHOW_ROWS[] = {
    {TOKEN_DSBL_CACHEBYPASS, showCacheBypass},
    {TOKEN_WBSUPPORT, showWriteBack},
    {TOKEN_DEFAULTLDPSPOLICY, showPowerSavingPolicy},
    {TOKEN_DISABLELDPSTIME, showPowerSavingTime},
    {TOKEN_DPMENABLE, showDpm},
    {TOKEN_ENBL_E_GHSP, showEmergencySpares},
    {TOKEN_ENBL_E_UG, showEmergencySpares},
    {TOKEN_ENBL_E_SMARTER, showEmergencySpareForSmarter},
    {TOKEN_PERFMODE, showPerfMode},
    {TOKEN_PERFMODEVALUES, showPerfModeValues},
};

}  // namespace

bool propertyCapability(const PropertyRun& run, size_t offset, unsigned bit)
{
    return run.info != nullptr && offset < run.infoSize && bit < 8 && ((run.info[offset] >> bit) & 1u) != 0;
}

bool showPropertyRow(PropertyRun& run, unsigned short code, int* status)
{
    const int provisional = *status;
    for (const SpecialShowRow& row : SPECIAL_SHOW_ROWS)
        if (row.code == code) {
            *status = row.show(run, provisional);
            return true;
        }
    for (const ShowRow& row : SHOW_ROWS)
        if (row.code == code) {
            *status = showValue(run, row);
            return true;
        }
    return false;
}

// ---------------------------------------------------------------------------------------------

int AdpPropertyCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<AdpPropertyPo> start(cpController, request, "AdpPropertyPo *", CP_NEEDS_MODEL_ADAPTER);
    if (!start)
        return start.result();
    AdpPropertyPo* own = start.request();
    const unsigned short code = own->getProperty();
    const uint8_t adapterNumber = start.number();
    Adapter* adapter = start.adapter();

    uint8_t info[Info::SIZE] = {};
    int status = sendDcmd(cpController, DCMD_ADP_GET_INFO, info);
    // A failed read leaves every capability bit clear.
    if (status != 0)
        memset(info, 0, sizeof info);
    PropertyRun run = {cpController, adapter, own, adapterNumber, 0, info, sizeof info, false, {0}};
    if (adapter->getOemId(&run.oemId) != 0)
        run.oemId = 0;

    for (const CapabilityGate& gate : CAPABILITY_GATES)
        if (gate.code == code && !propertyCapability(run, gate.offset, gate.bit)) {
            printMessage(MSG_TEXT, gate.refusal);
            return -1;
        }
    if (own->getCommandToken() == TOKEN_GET_ADPPROPERTY)
        return show(run, code, status);
    return change(run, code);
}

int AdpPropertyCp::show(PropertyRun& run, unsigned short code, int provisional)
{
    int status = provisional;
    if (!showPropertyRow(run, code, &status)) {
        printMessage(MSG_INVALID_OPTION);
        status = -1;
    }
    if (run.endNow)
        return status;
    if (status != 0)
        printMessage(MSG_PROP_GET_FAILED, static_cast<int>(run.adapterNumber));
    return status;
}

int AdpPropertyCp::change(PropertyRun& run, unsigned short code)
{
    int status = run.adapter->loadProperties();
    if (status != 0)
        return status;
    if (!changePropertyRow(run, code, &status)) {
        printMessage(MSG_INVALID_OPTION);
        status = -1;
    }
    if (run.endNow)
        return status;
    const int adapter = static_cast<int>(run.adapterNumber);
    if (status != 0) {
        // The change stays in the kept copy only: the controller keeps its old value.
        printMessage(MSG_PROP_SET_FAILED, adapter);
        return status;
    }
    if (run.adapter->commitProperties() != 0) {
        printMessage(MSG_PROP_SET_FAILED, adapter);
        return -1;
    }
    if (code != TOKEN_DSBL_CACHEBYPASS)
        printMessage(MSG_PROP_SET_DONE, adapter, run.setText);
    return 0;
}

int AdpPropertyCp::isWriteBackPossible(CpController* cpController)
{
    return checkWriteBackPossible(cpController);
}

namespace {

const CpRegistration<AdpPropertyCp> registration;

}  // namespace
