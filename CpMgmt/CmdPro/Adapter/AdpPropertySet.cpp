// The change rows of the controller properties: which adapter-element setter takes the value,
// and the set text that the success line shows.
#include <cstdio>

#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/Adapter/AdpPropertyCp.h"
#include "CpMgmt/CmdPro/Adapter/AdpPropertyWords.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Output/VoMessage.h"
#include "Output/VtMessages.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/Cmd/Adapter/AdpPropertyParser.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcDefaults.h"

namespace {

typedef ZprControllerInfo Info;

const uint8_t NOT_GIVEN = 255;
const uint16_t SPIN_DOWN_MINUTES_MIN = 30;
const uint16_t SPIN_DOWN_MINUTES_MAX = 1440;

// Hands the value to one setter of the adapter element, cut to the setter's width; *stored is
// the value as the setter took it.
typedef int (*ValueWriter)(Adapter* adapter, uint32_t value, uint32_t* stored);

template <class T, int (Adapter::*Set)(T*)>
int writeThrough(Adapter* adapter, uint32_t value, uint32_t* stored)
{
    T taken = static_cast<T>(value);
    *stored = taken;
    return (adapter->*Set)(&taken);
}

template <class T, int (Adapter::*Set)(T)>
int writeValue(Adapter* adapter, uint32_t value, uint32_t* stored)
{
    const T taken = static_cast<T>(value);
    *stored = taken;
    return (adapter->*Set)(taken);
}

// Drive performance monitoring is switched by its own command, at once.
int writeDpm(Adapter* adapter, uint32_t value, uint32_t* stored)
{
    *stored = static_cast<uint8_t>(value);
    return adapter->setDpmConfiguration(static_cast<uint8_t>(value), 0);
}

#define THROUGH(type, setter) &writeThrough<type, &Adapter::setter>
#define VALUE(type, setter) &writeValue<type, &Adapter::setter>

// How the set text shows the value: the number ("%d" or "%ld"), or a word.
enum class Shown : uint8_t { NUMBER, LONG_NUMBER, WORD };

struct ChangeRow {
    unsigned short code;
    ValueWriter write;
    const char* setText;            // printf format with the number or the word
    Shown shown;
    const PropertyWords* words;     // for Shown::WORD
    uint32_t largest;               // a larger value has no meaning for this row
    PropertyNeed need;
};

const uint32_t ANY = 0xFFFFFFFF;

const ChangeRow CHANGE_ROWS[] = {
    {TOKEN_ENBL_JBOD, THROUGH(uint32_t, setJbodEnabled), "JBOD to %s", Shown::WORD, &ENABLE_WORDS, ANY, PropertyNeed::NONE},
    {TOKEN_REBUILDRATE, THROUGH(uint8_t, setRebuildRate), "rebuild rate to %d%%", Shown::NUMBER, nullptr, ANY,
     PropertyNeed::NONE},
    {TOKEN_PATROLREADRATE, THROUGH(uint8_t, setPatrolReadRate), "Patrol Read Rate to %d%%", Shown::NUMBER, nullptr, ANY,
     PropertyNeed::NONE},
    {TOKEN_BGIRATE, THROUGH(uint8_t, setBgiRate), "BGI Rate to %d%%", Shown::NUMBER, nullptr, ANY, PropertyNeed::NONE},
    {TOKEN_CCRATE, THROUGH(uint8_t, setCheckConsistencyRate), "Check consistency rate to %d%%", Shown::NUMBER, nullptr,
     ANY, PropertyNeed::NONE},
    {TOKEN_RECONRATE, THROUGH(uint8_t, setReconstructionRate), "Reconstruction Rate to %d%%", Shown::NUMBER, nullptr,
     ANY, PropertyNeed::NONE},
    {TOKEN_SPINUPDRVCNT, THROUGH(uint8_t, setSpinupDriveCount), "Spin up Drive Count to %d", Shown::NUMBER, nullptr,
     ANY, PropertyNeed::NONE},
    {TOKEN_SPINUPDELAY, THROUGH(uint8_t, setSpinupDelay), "Spin up delay to %ld", Shown::LONG_NUMBER, nullptr, ANY,
     PropertyNeed::NONE},
    {TOKEN_COERCIONMODE, THROUGH(uint8_t, setCoercionMode), "Coercion Mode to %d", Shown::NUMBER, nullptr, ANY,
     PropertyNeed::NONE},
    {TOKEN_PREDFAILPOLLINT, THROUGH(uint16_t, setPredictiveFailPollInterval),
     "Predictive Fail Poll Interval to %d Seconds", Shown::NUMBER, nullptr, ANY, PropertyNeed::NONE},
    {TOKEN_CLUSTERENABLE, VALUE(uint8_t, setClusterEnable), "cluster to %s", Shown::WORD, &ENABLE_WORDS, ANY,
     PropertyNeed::NONE},
    {TOKEN_CACHEFLUSH, THROUGH(uint8_t, setCacheFlushInterval), "Cache Flash Interval to %ld", Shown::LONG_NUMBER,
     nullptr, ANY, PropertyNeed::NONE},
    {AdpPropertyParser::PROPERTY_ALARM, VALUE(uint8_t, setAlarmState), "alarm to %s", Shown::WORD, &ALARM_SET_WORDS, 2,
     PropertyNeed::NONE},
    {TOKEN_BATWARNDISABLE, VALUE(uint8_t, setBatteryWarningDisabled), "Battery Warning to %s", Shown::WORD,
     &DISABLE_WORDS, ANY, PropertyNeed::NONE},
    {TOKEN_ECCBUCKETSIZE, VALUE(uint8_t, setEccBucketSize), "Ecc Bucket size to %d", Shown::NUMBER, nullptr, ANY,
     PropertyNeed::NONE},
    {TOKEN_ECCBUCKETLEAKRATE, VALUE(uint16_t, setEccBucketLeakRate), "Ecc Bucket leak rate to %dminutes", Shown::NUMBER,
     nullptr, ANY, PropertyNeed::NONE},
    {TOKEN_ABORTCCONERROR, VALUE(uint8_t, setAbortCcOnError), "Abort CC On Error to %s", Shown::WORD, &ENABLE_WORDS,
     ANY, PropertyNeed::NONE},
    {TOKEN_AUTODTBACKPLANEDISABLE, THROUGH(uint8_t, setAutoDetectBackplaneDisabled),
     "AutoDetect Backplane Disabled to : %d", Shown::NUMBER, nullptr, ANY, PropertyNeed::NONE},
    {TOKEN_DISABLEONLINECTRLRESET, VALUE(uint8_t, setOnlineControllerReset), "Online Controller Reset %s", Shown::WORD,
     &DISABLED_WORDS, ANY, PropertyNeed::NONE},
    {TOKEN_ALLOWBOOTWITHPINNEDCACHE, VALUE(uint8_t, setBootWithPinnedCache), "Boot with Pinned Cache %s", Shown::WORD,
     &ENABLED_WORDS, ANY, PropertyNeed::NONE},
    {TOKEN_RSTRHOTSPAREONINSERT, VALUE(uint8_t, setRestoreHotSpareOnInsertion), "Restore Hot Spare on Insertion is %s",
     Shown::WORD, &ENABLED_WORDS, ANY, PropertyNeed::NONE},
    {TOKEN_SSD_SMART_CPYBKENABLE, THROUGH(uint32_t, setSsdSmartCopybackEnabled),
     "Copyback on SMART error for SSD device is %s", Shown::WORD, &ENABLE_WORDS, ANY, PropertyNeed::NONE},
    {TOKEN_ENBLSPINDNUNCFGDRV, VALUE(uint8_t, setSpinDownUnconfiguredDrives), "%s Spin Down of Unconfigured Drives : ",
     Shown::WORD, &ENABLE_WORDS, ANY, PropertyNeed::SPIN_DOWN},
    {TOKEN_MAINT_PD_FAIL_HIST_ENBL, THROUGH(uint8_t, setMaintainPdFailHistory), "Maintain PD Fail History is %s",
     Shown::WORD, &ENABLE_WORDS, ANY, PropertyNeed::NONE},
    {TOKEN_PRCORRECTUNCFGDAREAS, THROUGH(uint32_t, setPatrolReadCorrectsUnconfigured),
     "PR Correct Unconfigured Areas to %s", Shown::WORD, &ENABLE_WORDS, ANY, PropertyNeed::NONE},
    {TOKEN_DSBLSPINDNHOTSPARE, VALUE(uint8_t, setSpinDownHotSpares), "%s spin Down of Hot Spares : ", Shown::WORD,
     &DISABLE_WORDS, ANY, PropertyNeed::SPIN_DOWN},
    {TOKEN_EXPOSE_ENCL_DEV_ENBL, THROUGH(uint8_t, setExposeEnclosureDevices), "Expose Enclosure Devices to %s",
     Shown::WORD, &ENABLE_WORDS, ANY, PropertyNeed::NONE},
    {TOKEN_DEFAULT_VIEW_SPACE, VALUE(uint8_t, setDefaultViewSpace), "Default View Space to %d Percent", Shown::NUMBER,
     nullptr, ANY, PropertyNeed::NONE},
    {TOKEN_AUTO_SNAPSHOT_SPACE, VALUE(uint8_t, setAutoSnapshotSpace), "Auto Snapshot Space to %d Percent",
     Shown::NUMBER, nullptr, ANY, PropertyNeed::NONE},
    {TOKEN_DEFAULT_SNAPSHOT_SPACE, VALUE(uint8_t, setDefaultSnapshotSpace), "Default Snapshot Space to %d Percent",
     Shown::NUMBER, nullptr, ANY, PropertyNeed::NONE},
    {TOKEN_USE_DISK_ACTIVITY_FOR_LOCATE, VALUE(uint8_t, setUseDiskActivityForLocate),
     "Use Disk Activity For Locate to %s", Shown::WORD, &ENABLED_WORDS, ANY, PropertyNeed::NONE},
    {TOKEN_CPYBKENABLE, THROUGH(uint32_t, setCopybackDisabled), "CopyBack to %s", Shown::WORD, &DISABLE_WORDS, ANY,
     PropertyNeed::NONE},
    {TOKEN_SMART_CPYBKENABLE, THROUGH(uint32_t, setSmartCopybackEnabled), "Copyback on SMART error is %s", Shown::WORD,
     &ENABLE_WORDS, ANY, PropertyNeed::NONE},
    {TOKEN_LOADBALANCE, THROUGH(uint32_t, setLoadBalanceMode), "Load Balance Mode to %s", Shown::WORD,
     &LOAD_BALANCE_SET_WORDS, ANY, PropertyNeed::NONE},
    {TOKEN_USEFDEONLYENCRYPT, THROUGH(uint32_t, setUseFdeOnlyEncryption), "Use FDE Only Encryption to %s", Shown::WORD,
     &ENABLE_WORDS, ANY, PropertyNeed::NONE},
    {TOKEN_SPINUPENCDRVCNT, VALUE(uint8_t, setSpinupEnclosureDriveCount), "Spin up enclosure drive count to %d",
     Shown::NUMBER, nullptr, ANY, PropertyNeed::NONE},
    {TOKEN_SPINUPENCDELAY, VALUE(uint8_t, setSpinupEnclosureDelay), "Spin up enclosure delay to %d", Shown::NUMBER,
     nullptr, ANY, PropertyNeed::NONE},
    {TOKEN_DPMENABLE, &writeDpm, "DPM is %s", Shown::WORD, &ENABLED_WORDS, ANY, PropertyNeed::NONE},
    {TOKEN_ENBL_E_GHSP, THROUGH(uint8_t, setEmergencyGlobalHotSpare), "Emergency GHSP : %s", Shown::WORD,
     &ENABLED_WORDS, ANY, PropertyNeed::NONE},
    {TOKEN_ENBL_E_UG, THROUGH(uint8_t, setEmergencyUnconfiguredGoodSpare), "Emergency Unconfigured Good Spare : %s",
     Shown::WORD, &ENABLED_WORDS, ANY, PropertyNeed::NONE},
    {TOKEN_ENBL_E_SMARTER, THROUGH(uint8_t, setEmergencySpareForSmarter), "Emergency Spare for SMARTER : %s",
     Shown::WORD, &ENABLED_WORDS, ANY, PropertyNeed::NONE},
    {TOKEN_PREVENTPIIMPORT, THROUGH(uint8_t, setPreventPiImport), "Prevent PI Import to %s", Shown::WORD,
     &ENABLE_WORDS, ANY, PropertyNeed::NONE},
    {TOKEN_ENBLPI, THROUGH(uint8_t, setPiEnabled), "PI to %s", Shown::WORD, &ENABLE_WORDS, ANY, PropertyNeed::PI},
    {TOKEN_SUPPORTSSDPATROLREAD, VALUE(uint8_t, setPatrolReadOnSsd), "Patrol Read on SSD Devices is %s", Shown::WORD,
     &ENABLE_WORDS, ANY, PropertyNeed::SSD_PATROL_READ},
    {TOKEN_FORCESGPIO, THROUGH(uint8_t, setForceSgpio), "ForceSGPIO to %s", Shown::WORD, &ENABLE_WORDS, ANY,
     PropertyNeed::NONE},
    {AdpPropertyParser::PROPERTY_NCQ, VALUE(uint8_t, setNcqDisabled), "NCQ to %s", Shown::WORD, &DISABLED_WORDS, 1,
     PropertyNeed::NONE},
    {AdpPropertyParser::PROPERTY_AUTO_ENHANCED_IMPORT, VALUE(uint8_t, setAutoEnhancedImport),
     "Auto Enhanced Import to %s", Shown::WORD, &ENABLE_WORDS, 1, PropertyNeed::NONE},
};

#undef THROUGH
#undef VALUE

int changeValue(PropertyRun& run, const ChangeRow& row)
{
    const uint32_t value = static_cast<uint32_t>(run.request->getValue());
    // The display words of the alarm, NCQ and import properties reach here with a value that
    // names no change.
    if (value > row.largest) {
        printMessage(MSG_INVALID_OPTION);
        return -1;
    }
    int status = 0;
    if (!propertyNeedMet(run, row.need, &status))
        return -1;
    uint32_t stored = 0;
    status = row.write(run.adapter, value, &stored);
    if (status != 0)
        return status;
    if (row.shown == Shown::WORD)
        snprintf(run.setText, sizeof run.setText, row.setText, propertyWord(*row.words, stored));
    else if (row.shown == Shown::LONG_NUMBER)
        snprintf(run.setText, sizeof run.setText, row.setText, static_cast<long>(stored));
    else
        snprintf(run.setText, sizeof run.setText, row.setText, static_cast<int>(stored));
    return 0;
}

// ---------------------------------------------------------------------------------------------
// The change rows of their own.

int changeCacheBypass(PropertyRun&)
{
    printMessage(MSG_TEXT, "Not Supported\n");
    return 0;
}

int changeSpinDownTime(PropertyRun& run)
{
    int status = 0;
    if (!propertyNeedMet(run, PropertyNeed::SPIN_DOWN, &status))
        return -1;
    const uint32_t minutes = static_cast<uint32_t>(run.request->getValue());
    if (minutes < SPIN_DOWN_MINUTES_MIN) {
        printMessage(MSG_TEXT, "SpinDown time value should be greater than 30 Minutes\n");
        return -1;
    }
    if (minutes > SPIN_DOWN_MINUTES_MAX) {
        printMessage(MSG_TEXT, "SpinDown time value should be less than 1440 Minutes\n");
        return -1;
    }
    status = run.adapter->setSpinDownTime(static_cast<uint16_t>(minutes));
    if (status == 0)
        snprintf(run.setText, sizeof run.setText, "SpinDown time: %d minutes", static_cast<int>(minutes));
    return status;
}

int changePowerSavingPolicy(PropertyRun& run)
{
    uint8_t policy = static_cast<uint8_t>(run.request->getValue());
    const bool withoutCache = propertyCapability(run, Info::LD_FEATURES, Info::MAXIMUM_WITHOUT_CACHING_BIT);
    if (!withoutCache) {
        // Without the capability the controller's maximum is what policy 6 means elsewhere.
        if (policy == POWER_SAVE_MAXIMUM_WITHOUT_CACHING) {
            printMessage(MSG_TEXT, "Invalid power savings level input.\n");
            run.endNow = true;
            return -1;
        }
        if (policy == POWER_SAVE_MAXIMUM)
            policy = POWER_SAVE_MAXIMUM_WITHOUT_CACHING;
    }
    const int status = run.adapter->setDefaultLdPowerSavingPolicy(policy);
    if (status == 0)
        snprintf(run.setText, sizeof run.setText, "Default LD power savings policy to %s",
                 powerSavingPolicyText(policy, withoutCache));
    return status;
}

int changePowerSavingSchedule(PropertyRun& run)
{
    uint8_t defaults[ZprMfcDefaults::SIZE] = {};
    if (sendDcmd(run.cpController, DCMD_ADP_MFC_GET_DEFAULTS, defaults) != 0) {
        printMessage(MSG_TEXT, "\nFailed to read MFC default data from adapter\n");
        run.endNow = true;
        return -1;
    }
    const uint8_t options = ZprMfcDefaults(defaults, sizeof defaults).byteAt(ZprMfcDefaults::POWER_SAVING_OPTIONS);
    if (options == ZprMfcDefaults::POWER_SAVING_UNSET || ((options >> ZprMfcDefaults::SCHEDULE_OFF_BIT) & 1u) == 0) {
        printMessage(MSG_TEXT, "Failed to schedule disable power savings on the adapter.\n");
        run.endNow = true;
        return -1;
    }
    int status = run.adapter->setLdPowerSavingDisabledInterval(static_cast<uint8_t>(run.request->getValue()));
    if (status == 0)
        status = run.adapter->setLdPowerSavingDisabledTime(static_cast<uint16_t>(run.request->getValue3()));
    if (status == 0)
        snprintf(run.setText, sizeof run.setText, "Disable LD power saving schedule ");
    return status;
}

int changePerfMode(PropertyRun& run)
{
    if (!propertyCapability(run, Info::SPARE_FEATURES, Info::PERF_TUNING_BIT)) {
        printMessage(MSG_TEXT, "Fw Not Support Perf Tuning\n");
        run.endNow = true;
        return -1;
    }
    const uint8_t mode = static_cast<uint8_t>(run.request->getValue());
    int status = run.adapter->setPerfTunedMode(mode);
    if (status != 0)
        return status;
    snprintf(run.setText, sizeof run.setText, "Perf Mode :  %d", static_cast<int>(mode));
    const uint8_t flushLines = run.request->getValue2();
    const int ordered = run.request->getValue3();
    const uint8_t latency = run.request->getValue4();
    if (ordered == NOT_GIVEN && latency == NOT_GIVEN)
        return 0;
    const bool latencyOem = run.oemId == PROPERTY_OEM_LATENCY;
    if (latencyOem ? latency == NOT_GIVEN : ordered == NOT_GIVEN) {
        printMessage(MSG_TEXT, latencyOem ? "numOrderIOs is an Invalid option\n" : "maxPDLatency is an Invalid option\n");
        run.endNow = true;
        return -1;
    }
    if (latencyOem) {
        status = run.adapter->setPerfModeValues(mode, flushLines, static_cast<uint8_t>(latency / 25));
        snprintf(run.setText, sizeof run.setText, "Perf Mode :  %d Max Flush Lines :  %d , Max PD I/O Latency(ms) : %d \n",
                 static_cast<int>(mode), static_cast<int>(flushLines), static_cast<int>(latency));
    } else {
        status = run.adapter->setPerfModeValues(mode, flushLines, static_cast<uint8_t>(ordered / 10));
        snprintf(run.setText, sizeof run.setText, "Perf Mode :  %d Max Flush Lines :  %d , Number of Order IOs : %d \n",
                 static_cast<int>(mode), static_cast<int>(flushLines), ordered);
    }
    return status;
}

struct SpecialChangeRow {
    unsigned short code;
    int (*change)(PropertyRun& run);
};

const SpecialChangeRow SPECIAL_CHANGE_ROWS[] = {
    {TOKEN_DSBL_CACHEBYPASS, changeCacheBypass},
    {TOKEN_SPINDOWNTIME, changeSpinDownTime},
    {TOKEN_DEFAULTLDPSPOLICY, changePowerSavingPolicy},
    {TOKEN_DISABLELDPS, changePowerSavingSchedule},
    {TOKEN_PERFMODE, changePerfMode},
};

}  // namespace

bool changePropertyRow(PropertyRun& run, unsigned short code, int* status)
{
    for (const SpecialChangeRow& row : SPECIAL_CHANGE_ROWS)
        if (row.code == code) {
            *status = row.change(run);
            return true;
        }
    for (const ChangeRow& row : CHANGE_ROWS)
        if (row.code == code) {
            *status = changeValue(run, row);
            return true;
        }
    return false;
}
