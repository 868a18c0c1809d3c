// The controller properties and the alarm of the adapter data over described controllers: every
// getter answers its field from one read of the record, setters change only their field (or
// bit) and are written by one commit, and the alarm commands with their answers.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DescribedAdapter.h"

namespace {

const uint32_t ADP_GET_PROPERTIES = 0x01020100;
const uint32_t ADP_SET_PROPERTIES = 0x01020200;
const uint32_t ADP_ALARM_GET = 0x01030100;
const uint32_t ADP_ALARM_ENABLE = 0x01030200;
const uint32_t ADP_ALARM_DISABLE = 0x01030300;
const uint32_t ADP_ALARM_SILENCE = 0x01030400;

using describedadapter::DescribedAdapter;
using describedadapter::failing;

// Properties whose every field differs from the others, and from the defaults.
const char* DISTINCT =
    "\"properties\": {\"sequence\": 41, \"predictiveFailPoll\": 301, \"throttleCount\": 17, \"throttleTime\": 51,"
    " \"rebuildRate\": 31, \"patrolReadRate\": 32, \"bgiRate\": 33, \"ccRate\": 34, \"reconstructionRate\": 35,"
    " \"cacheFlushInterval\": 5, \"spinupDriveCount\": 3, \"spinupDelay\": 13, \"clusterEnable\": 7,"
    " \"coercionMode\": 1, \"autoRebuildDisabled\": 1, \"batteryWarningDisabled\": 1, \"eccBucketSize\": 16,"
    " \"eccBucketLeakRate\": 1441, \"restoreHotSpare\": 1, \"exposeEnclosureDevices\": 0,"
    " \"maintainPdFailHistory\": 0, \"abortCcOnError\": 1, \"loadBalanceMode\": 1,"
    " \"autoDetectBackplaneDisabled\": 3, \"defaultSnapshotSpace\": 22, \"driveFlags\": \"0xa5\","
    " \"controllerFlags\": \"0x5a\", \"spareFlags\": \"0x2a\", \"autoSnapshotSpace\": 23, \"defaultViewSpace\": 24,"
    " \"spinDownTime\": 62, \"defaultLdPowerSaving\": 4, \"powerSavingDisabledInterval\": 5,"
    " \"powerSavingDisabledTime\": 600, \"spinupEnclosureDriveCount\": 6, \"spinupEnclosureDelay\": 7}";

// A getter run on the adapter data: its status, and the value it wrote.
struct Read {
    int status;
    uint32_t value;
};
template <typename T>
std::function<Read(AdapterDataZpr&)> getter(int (AdapterDataZpr::*get)(T*))
{
    return [get](AdapterDataZpr& d) {
        T value = static_cast<T>(0xEEEEEEEE);
        int status = (d.*get)(&value);
        return Read{status, static_cast<uint32_t>(value)};
    };
}

}  // namespace

TEST(AdapterProperties, EveryGetterAnswersItsFieldFromOneRead)
{
    struct Case {
        const char* name;
        std::function<Read(AdapterDataZpr&)> get;
        uint32_t expected;
    } cases[] = {
        {"sequence number", getter(&AdapterDataZpr::getPropertiesSequenceNumber), 41},
        {"predictive-failure poll", getter(&AdapterDataZpr::getPredictiveFailPollInterval), 301},
        {"throttle count", getter(&AdapterDataZpr::getInterruptThrottleCount), 17},
        {"throttle time", getter(&AdapterDataZpr::getInterruptThrottleTime), 51},
        {"rebuild rate", getter(&AdapterDataZpr::getRebuildRate), 31},
        {"patrol-read rate", getter(&AdapterDataZpr::getPatrolReadRate), 32},
        {"BGI rate", getter(&AdapterDataZpr::getBgiRate), 33},
        {"CC rate", getter(&AdapterDataZpr::getCheckConsistencyRate), 34},
        {"reconstruction rate", getter(&AdapterDataZpr::getReconstructionRate), 35},
        {"cache flush interval", getter(&AdapterDataZpr::getCacheFlushInterval), 5},
        {"spin-up drive count", getter(&AdapterDataZpr::getSpinupDriveCount), 3},
        {"spin-up delay", getter(&AdapterDataZpr::getSpinupDelay), 13},
        {"cluster: 1 for a stored 7", getter(&AdapterDataZpr::getClusterEnable), 1},
        {"coercion", getter(&AdapterDataZpr::getCoercionMode), 1},
        {"auto rebuild disabled", getter(&AdapterDataZpr::getAutoRebuildDisabled), 1},
        {"battery warning disabled", getter(&AdapterDataZpr::getBatteryWarningDisabled), 1},
        {"ECC bucket size", getter(&AdapterDataZpr::getEccBucketSize), 16},
        {"ECC leak rate", getter(&AdapterDataZpr::getEccBucketLeakRate), 1441},
        {"restore hot spare", getter(&AdapterDataZpr::getRestoreHotSpareOnInsertion), 1},
        {"expose enclosures", getter(&AdapterDataZpr::getExposeEnclosureDevices), 0},
        {"fail history", getter(&AdapterDataZpr::getMaintainPdFailHistory), 0},
        {"abort CC on error", getter(&AdapterDataZpr::getAbortCcOnError), 1},
        {"load balance", getter(&AdapterDataZpr::getLoadBalanceMode), 1},
        {"backplane detection", getter(&AdapterDataZpr::getAutoDetectBackplaneDisabled), 3},
        {"default snapshot space", getter(&AdapterDataZpr::getDefaultSnapshotSpace), 22},
        // Byte 32 = 0xa5: bits 0, 2, 5, 7.
        {"copyback disabled", getter(&AdapterDataZpr::getCopybackDisabled), 1},
        {"SMART copyback", getter(&AdapterDataZpr::getSmartCopybackEnabled), 0},
        {"PR corrects unconfigured", getter(&AdapterDataZpr::getPatrolReadCorrectsUnconfigured), 1},
        {"FDE only", getter(&AdapterDataZpr::getUseFdeOnlyEncryption), 0},
        {"NCQ disabled", getter(&AdapterDataZpr::getNcqDisabled), 0},
        {"SSD SMART copyback", getter(&AdapterDataZpr::getSsdSmartCopybackEnabled), 1},
        {"PR on SSD", getter(&AdapterDataZpr::getPatrolReadOnSsd), 0},
        {"spin down unconfigured", getter(&AdapterDataZpr::getSpinDownUnconfiguredDrives), 1},
        // Byte 33 = 0x5a: bits 1, 3, 4, 6.
        {"enhanced import", getter(&AdapterDataZpr::getAutoEnhancedImport), 0},
        {"online reset", getter(&AdapterDataZpr::getOnlineControllerReset), 0},
        {"boot with pinned cache", getter(&AdapterDataZpr::getBootWithPinnedCache), 1},
        {"spin down hot spares", getter(&AdapterDataZpr::getSpinDownHotSpares), 1},
        {"JBOD", getter(&AdapterDataZpr::getJbodEnabled), 0},
        {"byte 33 bit 6", getter(&AdapterDataZpr::getPropertyFlag21Bit6), 1},
        {"activity for locate", getter(&AdapterDataZpr::getUseDiskActivityForLocate), 0},
        // Byte 34 = 0x2a: bits 1, 3, 5.
        {"PI enabled", getter(&AdapterDataZpr::getPiEnabled), 0},
        {"prevent PI import", getter(&AdapterDataZpr::getPreventPiImport), 1},
        {"emergency global spare", getter(&AdapterDataZpr::getEmergencyGlobalHotSpare), 0},
        {"emergency UG spare", getter(&AdapterDataZpr::getEmergencyUnconfiguredGoodSpare), 1},
        {"emergency for SMART", getter(&AdapterDataZpr::getEmergencySpareForSmarter), 0},
        {"force SGPIO", getter(&AdapterDataZpr::getForceSgpio), 1},
        {"auto snapshot space", getter(&AdapterDataZpr::getAutoSnapshotSpace), 23},
        {"default view space", getter(&AdapterDataZpr::getDefaultViewSpace), 24},
        {"spin-down time", getter(&AdapterDataZpr::getSpinDownTime), 62},
        {"power-saving policy", getter(&AdapterDataZpr::getDefaultLdPowerSavingPolicy), 4},
        {"power saving off, hours", getter(&AdapterDataZpr::getLdPowerSavingDisabledInterval), 5},
        {"power saving off, start", getter(&AdapterDataZpr::getLdPowerSavingDisabledTime), 600},
        {"enclosure spin-up count", getter(&AdapterDataZpr::getSpinupEnclosureDriveCount), 6},
        {"enclosure spin-up delay", getter(&AdapterDataZpr::getSpinupEnclosureDelay), 7},
    };
    DescribedAdapter a(DISTINCT);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Read r = c.get(*a.data);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.value, c.expected);
    }
    EXPECT_EQ(a.sent(ADP_GET_PROPERTIES), 1u);
}

TEST(AdapterProperties, AFailedReadChangesNothingAndIsAskedAgain)
{
    DescribedAdapter a("\"properties\": {\"spinDownTime\": 62}", failing(ADP_GET_PROPERTIES, 0x2d));
    uint16_t minutes = 7;
    EXPECT_EQ(a.data->setSpinDownTime(90), 0x2d);
    EXPECT_EQ(a.data->getSpinDownTime(&minutes), 0);
    EXPECT_EQ(minutes, 62) << "the failed setter left nothing in the cache";
    EXPECT_EQ(a.data->commitProperties(), 0);
    EXPECT_EQ(a.sent(ADP_GET_PROPERTIES), 2u);
    EXPECT_EQ(a.sent(ADP_SET_PROPERTIES), 0u);
}

TEST(AdapterProperties, OneBitSettersKeepTheOtherBitsOfTheirByte)
{
    struct Case {
        const char* name;
        std::function<int(AdapterDataZpr&)> set;
        uint8_t sim::ControllerProperties::*byte;
        uint8_t expected;   // every flag byte holds 0x5a before
    } cases[] = {
        {"copyback disabled with 3: only bit 0",
         [](AdapterDataZpr& d) { uint32_t v = 3; return d.setCopybackDisabled(&v); },
         &sim::ControllerProperties::driveFlags, 0x5b},
        {"SMART copyback with 2: bit 0 of the argument is 0",
         [](AdapterDataZpr& d) { uint32_t v = 2; return d.setSmartCopybackEnabled(&v); },
         &sim::ControllerProperties::driveFlags, 0x58},
        {"NCQ disabled", [](AdapterDataZpr& d) { return d.setNcqDisabled(1); },
         &sim::ControllerProperties::driveFlags, 0x5a},
        {"spin down unconfigured", [](AdapterDataZpr& d) { return d.setSpinDownUnconfiguredDrives(1); },
         &sim::ControllerProperties::driveFlags, 0xda},
        {"byte 33 bit 6 off", [](AdapterDataZpr& d) { uint32_t v = 0; return d.setPropertyFlag21Bit6(&v); },
         &sim::ControllerProperties::controllerFlags, 0x1a},
        {"JBOD", [](AdapterDataZpr& d) { uint32_t v = 1; return d.setJbodEnabled(&v); },
         &sim::ControllerProperties::controllerFlags, 0x7a},
        {"online reset", [](AdapterDataZpr& d) { return d.setOnlineControllerReset(1); },
         &sim::ControllerProperties::controllerFlags, 0x5e},
        {"activity for locate", [](AdapterDataZpr& d) { return d.setUseDiskActivityForLocate(1); },
         &sim::ControllerProperties::controllerFlags, 0xda},
        {"force SGPIO", [](AdapterDataZpr& d) { uint8_t v = 1; return d.setForceSgpio(&v); },
         &sim::ControllerProperties::spareFlags, 0x7a},
        {"emergency global spare", [](AdapterDataZpr& d) { uint8_t v = 1; return d.setEmergencyGlobalHotSpare(&v); },
         &sim::ControllerProperties::spareFlags, 0x5e},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DescribedAdapter a("\"properties\": {\"driveFlags\": \"0x5a\", \"controllerFlags\": \"0x5a\","
                           " \"spareFlags\": \"0x5a\"}");
        ASSERT_EQ(c.set(*a.data), 0);
        EXPECT_EQ(a.sent(ADP_SET_PROPERTIES), 0u) << "a setter sends nothing";
        ASSERT_EQ(a.data->commitProperties(), 0);
        EXPECT_EQ(a.saved().properties.*c.byte, c.expected);
    }
}

TEST(AdapterProperties, TuningModeAndValues)
{
    DescribedAdapter a("\"properties\": {\"perfTunedMode\": \"0xfc\"}");
    EXPECT_EQ(a.data->setPerfModeValues(4, 1, 2), -1) << "the record has four tuning modes";
    EXPECT_EQ(a.host.commands().size(), 0u);
    ASSERT_EQ(a.data->setPerfTunedMode(5), 0);
    ASSERT_EQ(a.data->setPerfModeValues(1, 7, 9), 0);
    ASSERT_EQ(a.data->commitProperties(), 0);
    const sim::ControllerProperties saved = a.saved().properties;
    EXPECT_EQ(saved.perfTunedMode, 0xfd) << "5 stores 1 in bits 0-1; bits 2-7 kept";
    EXPECT_EQ(saved.perfModeValues, (sim::Bytes{0, 0, 7, 9, 0, 0, 0, 0})) << "mode 1: bytes 50 and 51";
}

TEST(AdapterProperties, SeveralChangesGoInOneWrite)
{
    DescribedAdapter a("\"properties\": {\"sequence\": 41}");
    uint8_t rebuild = 60, patrol = 15;
    uint16_t sequence = 40;
    ASSERT_EQ(a.data->setRebuildRate(&rebuild), 0);
    ASSERT_EQ(a.data->setPatrolReadRate(&patrol), 0);
    ASSERT_EQ(a.data->setSpinDownTime(120), 0);
    ASSERT_EQ(a.data->setPropertiesSequenceNumber(&sequence), 0);
    EXPECT_EQ(a.data->commitProperties(), 0);
    EXPECT_EQ(a.sent(ADP_GET_PROPERTIES), 1u);
    EXPECT_EQ(a.sent(ADP_SET_PROPERTIES), 1u);
    const sim::ControllerProperties saved = a.saved().properties;
    EXPECT_EQ(saved.rebuildRate, 60);
    EXPECT_EQ(saved.patrolReadRate, 15);
    EXPECT_EQ(saved.spinDownTime, 120);
    EXPECT_EQ(saved.sequence, 41) << "the controller moved the written sequence number on";

    // The next run reads what was written.
    a.renew();
    uint8_t rate = 0;
    ASSERT_EQ(a.data->getRebuildRate(&rate), 0);
    EXPECT_EQ(rate, 60);
}

TEST(AdapterProperties, NullValuePointersAreRefusedBeforeAnythingIsSent)
{
    DescribedAdapter a("");
    EXPECT_EQ(a.data->setRebuildRate(nullptr), -1);
    EXPECT_EQ(a.data->setCopybackDisabled(nullptr), -1);
    EXPECT_EQ(a.data->setPropertiesSequenceNumber(nullptr), -1);
    EXPECT_EQ(a.host.commands().size(), 0u);
}

TEST(AdapterProperties, StubsReadTheRecordAndTwoOfThemMarkItChanged)
{
    {
        DescribedAdapter a("");
        EXPECT_EQ(a.data->getPropertyStub48(nullptr), 0);
        EXPECT_EQ(a.data->setPropertyStub90(nullptr), 0);
        EXPECT_EQ(a.data->commitProperties(), 0);
        EXPECT_EQ(a.sent(ADP_SET_PROPERTIES), 0u);
        EXPECT_EQ(a.data->setPropertyStub224(9), 0);
        EXPECT_EQ(a.data->commitProperties(), 0);
        EXPECT_EQ(a.sent(ADP_GET_PROPERTIES), 1u);
        EXPECT_EQ(a.sent(ADP_SET_PROPERTIES), 1u);
    }
    // Marked although the read failed: the commit finds no record.
    DescribedAdapter a("", failing(ADP_GET_PROPERTIES, 0x2d));
    EXPECT_EQ(a.data->setPropertyStub226(1), 0x2d);
    EXPECT_EQ(a.data->commitProperties(), -1);
    EXPECT_EQ(a.sent(ADP_SET_PROPERTIES), 0u);
}

TEST(AdapterAlarm, StateAndSwitches)
{
    const std::string fitted = "\"info\": {\"devicesPresent\": \"0x37\"}, \"properties\": {\"alarmEnabled\": 0}";
    struct Case {
        const char* name;
        std::string fields;
        simhost::StateEdit faults;
        int result;
        uint8_t state;   // 0xEE: untouched
    } cases[] = {
        {"an alarm switched off", fitted, nullptr, 0, 0},
        {"an alarm switched on", "\"info\": {\"devicesPresent\": \"0x37\"}", nullptr, 0, 1},
        {"no alarm: 3, result 0", "\"info\": {\"devicesPresent\": \"0x35\"}", nullptr, 0, 3},
        {"another failure", fitted, failing(ADP_ALARM_GET, 0x2d), 0x2d, 0xEE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DescribedAdapter a(c.fields, c.faults);
        uint8_t state = 0xEE;
        EXPECT_EQ(a.data->getAlarmState(&state), c.result);
        EXPECT_EQ(state, c.state);
        EXPECT_EQ(a.sent(ADP_ALARM_GET), 1u);
    }
}

TEST(AdapterAlarm, SwitchingSendsItsOwnCommandAndKeepsTheCachedByte)
{
    DescribedAdapter a("\"info\": {\"devicesPresent\": \"0x37\"}, \"properties\": {\"alarmEnabled\": 0}");
    EXPECT_EQ(a.data->setAlarmState(3), -1);
    EXPECT_EQ(a.host.commands().size(), 0u) << "3 is no alarm action";

    ASSERT_EQ(a.data->loadProperties(), 0);
    EXPECT_EQ(a.data->setAlarmState(1), 0);
    EXPECT_EQ(a.data->setAlarmState(2), 0);
    EXPECT_EQ(a.sent(ADP_ALARM_ENABLE), 1u);
    EXPECT_EQ(a.sent(ADP_ALARM_SILENCE), 1u);
    EXPECT_EQ(a.saved().properties.alarmEnabled, 1);
    EXPECT_EQ(a.data->commitProperties(), 0);
    EXPECT_EQ(a.sent(ADP_SET_PROPERTIES), 0u) << "byte 18 follows the alarm without marking the record";

    // A change committed afterwards carries the alarm's new byte, so it does not switch it back.
    uint8_t rate = 44;
    ASSERT_EQ(a.data->setRebuildRate(&rate), 0);
    ASSERT_EQ(a.data->commitProperties(), 0);
    EXPECT_EQ(a.saved().properties.alarmEnabled, 1);

    DescribedAdapter absent("");
    EXPECT_EQ(absent.data->setAlarmState(0), 0x22);
    EXPECT_EQ(absent.sent(ADP_ALARM_DISABLE), 1u);
}
