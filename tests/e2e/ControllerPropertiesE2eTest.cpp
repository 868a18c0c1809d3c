// The controller-property, boot-drive, patrol-read, consistency-check-schedule and
// preserved-cache commands through the real binary against described controllers: the console
// text, the exit code and the firmware commands after the controller check. A case may run
// several command lines on one host, one process each: a setting made by one is what the next
// one reads.
#include "E2eHarness.h"
#include "TranscriptReaders.h"

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace {

const char* const INFO = "0x01010000";
const char* const OEM = "0x010e8481";
const char* const GET_PROPS = "0x01020100";
const char* const SET_PROPS = "0x01020200";
const char* const ALARM_GET = "0x01030100";
const char* const ALARM_DISABLE = "0x01030300";
const char* const BIOS_GET = "0x010c0100";
const char* const BIOS_SET = "0x010c0200";
const char* const GET_DEFAULTS = "0x010e0201";
const char* const BBU_STATUS = "0x05010000";
const char* const DPM_GET = "0x0a010000";
const char* const DPM_SET = "0x0a030000";
const char* const PR_STATUS = "0x01070100";
const char* const PR_GET = "0x01070200";
const char* const PR_SET = "0x01070300";
const char* const PR_START = "0x01070400";
const char* const PR_STOP = "0x01070500";
const char* const PR_SUSPEND_RESUME = "0x01070600";
const char* const CC_STATUS = "0x01140100";
const char* const CC_GET = "0x01140200";
const char* const CC_SET = "0x01140300";
const char* const PRESERVED_LIST = "0x030d0000";
const char* const DISCARD = "0x030d0100";
const char* const LD_LIST = "0x03020000";
const char* const LD_DELETE = "0x03090000";
const char* const LD_PROGRESS = "0x03080000";
const char* const PHY_LIST = "0x07010000";
const char* const GET_MUX = "0x07020100";

std::string sent(unsigned host, const char* opcode, const char* outcome = "status=0x00")
{
    return "host=" + std::to_string(host) + " opcode=" + opcode + " " + outcome;
}

// What reaches controller `host` before its command: the refresh and the check.
std::vector<std::string> checked(unsigned host)
{
    return refreshReads(host) + std::vector<std::string>{sent(host, OEM)};
}

// The whole log of a run on the one-controller host: discovery, the check, the command's own
// commands on host 2 (each opcode given with status 0 unless it carries its outcome).
std::vector<std::string> one(const std::vector<std::string>& own)
{
    return std::vector<std::string>{sent(2, INFO)} + checked(2) + own;
}

// The command's own commands on host 2.
std::vector<std::string> on2(std::initializer_list<const char*> opcodes)
{
    std::vector<std::string> all;
    for (const char* opcode : opcodes)
        all.push_back(sent(2, opcode));
    return all;
}

// A processor that reads the model afresh first.
std::vector<std::string> refreshed(const std::vector<std::string>& own)
{
    return refreshReads(2) + own;
}

struct Step {
    std::vector<std::string> args;
    int exitCode;
    std::string out;                     // after the blank-out line, before the exit line
    std::vector<std::string> commands;   // the whole log without the model reads
    std::vector<WrittenData> written = {};   // records written, counted over the host's runs so far
};

struct Case {
    const char* what;
    const char* preset;
    nlohmann::json controller;                      // merged into the preset's first controller
    std::vector<std::vector<std::string>> faults;   // each the arguments of one "quillsim fault HOST ..."
    std::vector<Step> steps;
};

class ControllerPropertiesE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    void expectRuns(const std::vector<Case>& cases)
    {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            const std::string dir = makeSimHost(c.preset);
            cleanup.push_back(dir.substr(0, dir.rfind('/')));
            const std::string path = dir + "/state.json";
            nlohmann::json state = nlohmann::json::parse(readFile(path));
            state["controllers"][0].merge_patch(c.controller);
            std::ofstream(path) << state.dump(2);
            for (const std::vector<std::string>& fault : c.faults)
                ASSERT_EQ(addSimFault(dir, fault), "");
            size_t logged = 0;
            for (const Step& step : c.steps)
                logged = expectStep(dir, step, logged);
            lastState = nlohmann::json::parse(readFile(path))["controllers"][0];
        }
    }

    std::vector<std::string> cleanup;
    nlohmann::json lastState;

private:
    size_t expectStep(const std::string& dir, const Step& step, size_t logged)
    {
        SCOPED_TRACE(step.args.front() + " " + (step.args.size() > 1 ? step.args[1] : ""));
        RunSpec spec;
        spec.args = step.args;
        spec.env = {{"QUILLCLI_SIM_HOST", dir}};
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        // The scanner echoes the commas of the line's lists.
        std::string echo;
        for (const std::string& arg : step.args)
            for (char ch : arg)
                if (ch == ',')
                    echo += ch;
        EXPECT_EQ(r.exitCode, step.exitCode);
        EXPECT_EQ(r.out, echo + BLANK_OUT + step.out + exitLine(step.exitCode));
        EXPECT_EQ(r.err, "");
        const std::vector<std::string> log = withoutModelReads(loggedFirmwareCommands(dir));
        EXPECT_EQ(std::vector<std::string>(log.begin() + static_cast<long>(std::min(logged, log.size())), log.end()),
                  step.commands);
        for (const WrittenData& data : step.written)
            EXPECT_EQ(writtenDataMismatches(dir, data), "");
        return log.size();
    }
};

// What every property command reads before its row: the information and the OEM data.
std::vector<std::string> property(const std::vector<std::string>& own)
{
    return one(on2({INFO, OEM}) + own);
}

// The same for a row that reads the properties record (or changes it: then it is read first).
std::vector<std::string> props(const std::vector<std::string>& own)
{
    return property(on2({GET_PROPS}) + own);
}

}  // namespace

TEST_F(ControllerPropertiesE2e, PropertyRateSetThenShown)
{
    expectRuns({
        {"a rate set is what the next process shows", "one", nlohmann::json::object(), {},
         {{{"-AdpSetProp", "RebuildRate", "30", "-a0"}, 0, "Adapter 0: Set rebuild rate to 30% success.\n",
           props(on2({SET_PROPS}))},
          {{"-AdpGetProp", "RebuildRate", "-a0"}, 0, "Adapter 0: Rebuild Rate = 30%\n", props({})},
          {{"-AdpSetProp", "RebuildRate", "77", "-a0"}, 0, "Adapter 0: Set rebuild rate to 77% success.\n",
           props(on2({SET_PROPS})),
           // The record as read, sequence 2 after the first write, the rate at 8 (the other rates
           // and settings as the host holds them: 300 s poll, throttle 16 and 50, rates of 30).
           {{SET_PROPS, 1, {{0, "02002c0110003200"}, {8, "4d1e1e1e1e"}}}}},
          {{"-AdpGetProp", "RebuildRate", "-a0"}, 0, "Adapter 0: Rebuild Rate = 77%\n", props({})}}},
    });
    EXPECT_EQ(lastState["properties"]["rebuildRate"], 77);
}

TEST_F(ControllerPropertiesE2e, PropertyShows)
{
    // The default host: coercion 2, backplane detection 0, battery warnings on, copyback on.
    const struct {
        const char* word;
        std::string out;
        std::vector<std::string> own;   // after the properties record when the row reads it
        bool readsProperties;
    } rows[] = {
        {"CoercionMode", "Adapter 0: Coercion Mode : 1GB\n", {}, true},
        {"AutoDetectBackPlaneDsbl", "Adapter 0: AutoDetect BackPlane Disabled : None.\n", {}, true},
        {"BatWarnDsbl", "Adapter 0: Battery Warning : Enabled\n", {}, true},
        {"CopyBackDsbl", "Adapter 0: Copyback: Enabled\n", {}, true},
        {"LoadBalanceMode", "Adapter 0: Load Balance Mode: Auto\n", {}, true},
        {"PredFailPollInterval", "Adapter 0: Predictive Fail Poll Interval = 300s\n", {}, true},
        {"EccBucketCount", "Adapter 0: Ecc Bucket Count : 0\n", {}, false},
        {"DisableLdPsTime", "Adapter does not support Power savings on logical drives.\n", {}, false},
        {"-AlarmDsply", "Adapter 0: Alarm Status is Missing\n", {sent(2, ALARM_GET, "status=0x22")}, false},
        {"-NCQDsply", "Adapter 0: NCQ Status is Enabled\n", {}, true},
        {"DPMenable", "DPM is Disabled on Adapter 0.\n", {sent(2, DPM_GET)}, false},
        {"Perfmode", "Fw Not Support Perf Tuning\n", {}, false},
        {"DsblCacheBypass", "Not Supported\n", {}, false},
        {"WBSupport", "\nAdapter 0: Write Back is possible now\n", {sent(2, BBU_STATUS), sent(2, LD_PROGRESS)}, false},
    };
    std::vector<Case> cases;
    for (const auto& row : rows) {
        const bool refused = row.out.rfind("Adapter does not", 0) == 0 || row.out.rfind("Fw Not", 0) == 0;
        cases.push_back({row.word, "one", nlohmann::json::object(), {},
                         {{{"-AdpGetProp", row.word, "-a0"}, refused ? 1 : 0, row.out,
                          row.readsProperties ? props(row.own) : property(row.own)}}});
    }
    expectRuns(cases);
}

TEST_F(ControllerPropertiesE2e, PropertyChangesWithTheirOwnRules)
{
    const nlohmann::json spinDown = {{"info", {{"powerFeatures", 1}}}};
    const nlohmann::json powerSaving = {{"info", {{"ldFeatures", "0x10"}}}};
    const nlohmann::json perfTuning = {{"info", {{"spareFeatures", "0x20"}}}};
    const nlohmann::json perfTuningOem2 = {{"info", {{"spareFeatures", "0x20"}}}, {"mfcOemData", {{"oemId", 2}}}};
    const std::string setFailed = "Adapter 0: Failed to Set Adapter Properties.\n";
    expectRuns({
        {"the cache bypass is never set", "one", nlohmann::json::object(), {},
         {{{"-AdpSetProp", "DsblCacheBypass", "1", "-a0"}, 0, "Not Supported\n", props({})}}},
        {"spin-down time below 30 minutes", "one", spinDown, {},
         {{{"-AdpSetProp", "SpinDownTime", "29", "-a0"}, 1,
           "SpinDown time value should be greater than 30 Minutes\n" + setFailed, props({})}}},
        {"spin-down time above 1440 minutes", "one", spinDown, {},
         {{{"-AdpSetProp", "SpinDownTime", "1441", "-a0"}, 1,
           "SpinDown time value should be less than 1440 Minutes\n" + setFailed, props({})}}},
        {"spin-down time at both ends", "one", spinDown, {},
         {{{"-AdpSetProp", "SpinDownTime", "30", "-a0"}, 0, "Adapter 0: Set SpinDown time: 30 minutes success.\n",
           props(on2({SET_PROPS}))},
          {{"-AdpSetProp", "SpinDownTime", "1440", "-a0"}, 0, "Adapter 0: Set SpinDown time: 1440 minutes success.\n",
           props(on2({SET_PROPS}))},
          {{"-AdpGetProp", "SpinDownTime", "-a0"}, 0, "Adapter 0: Spin Down time is: 1440 Minutes\n", props({})}}},
        {"spin-down time on a controller without spin-down", "one", nlohmann::json::object(), {},
         {{{"-AdpSetProp", "SpinDownTime", "60", "-a0"}, 1,
           "\nAdapter 0: Spin Down of UnConfigured drive option is not supported.\n" + setFailed, props({})}}},
        {"maximum without caching where the controller has no such level", "one", powerSaving, {},
         {{{"-AdpSetProp", "DefaultLdPSPolicy", "-MaximumWithoutCaching", "-a0"}, 1,
           "Invalid power savings level input.\n", props({})}}},
        {"maximum there is sent as 6 and shown as maximum", "one", powerSaving, {},
         {{{"-AdpSetProp", "DefaultLdPSPolicy", "-Maximum", "-a0"}, 0,
           "Adapter 0: Set Default LD power savings policy to Maximum success.\n", props(on2({SET_PROPS}))},
          {{"-AdpGetProp", "DefaultLdPSPolicy", "-a0"}, 0, "\n Adapter 0: Default power savings policy : Maximum \n",
           props({})}}},
        {"power-saving schedule on defaults that do not allow it", "one",
         {{"info", {{"ldFeatures", "0x10"}}}, {"mfcDefaults", {{"powerSavingOptions", "0xff"}}}}, {},
         {{{"-AdpSetProp", "DisableLdPS", "-Interval", "2", "-Time", "90", "-a0"}, 1,
           "Failed to schedule disable power savings on the adapter.\n", props(on2({GET_DEFAULTS}))}}},
        {"power-saving schedule", "one",
         {{"info", {{"ldFeatures", "0x10"}}}, {"mfcDefaults", {{"powerSavingOptions", "0x40"}}}}, {},
         {{{"-AdpSetProp", "DisableLdPS", "-Interval", "2", "-Time", "90", "-a0"}, 0,
           "Adapter 0: Set Disable LD power saving schedule  success.\n", props(on2({GET_DEFAULTS, SET_PROPS}))},
          {{"-AdpGetProp", "DisableLdPsTime", "-a0"}, 0, "\n Adapter 0: Power savings disabled time : 1:30 \n",
           props({})}}},
        {"ordered I/Os on an OEM that takes a latency", "one", perfTuningOem2, {},
         {{{"-AdpSetProp", "Perfmode", "1", "-MaxFlushLines", "4", "-NumIOsToOrder", "20", "-a0"}, 1,
           "numOrderIOs is an Invalid option\n", props({})}}},
        {"ordered I/Os elsewhere: sent in tens", "one", perfTuning, {},
         {{{"-AdpSetProp", "Perfmode", "1", "-MaxFlushLines", "4", "-NumIOsToOrder", "20", "-a0"}, 0,
           "Adapter 0: Set Perf Mode :  1 Max Flush Lines :  4 , Number of Order IOs : 20 \n success.\n",
           props(on2({SET_PROPS}))},
          {{"-AdpGetProp", "PerfModeValues", "-a0"}, 0,
           "Perf Tuned Mode : 0,  Max Flush lines = 0,  Number Order IOs  = 0\n"
           "Perf Tuned Mode : 1,  Max Flush lines = 4,  Number Order IOs  = 20\n",
           property({})}}},
        {"emergency spares on a controller without them", "one", nlohmann::json::object(), {},
         {{{"-AdpGetProp", "ENABLEEGHSP", "-a0"}, 1, "Adapter does not support Emergency Spare.\n", property({})}}},
        {"the alarm needs its hardware", "one", nlohmann::json::object(), {},
         {{{"-AdpSetProp", "-AlarmDsbl", "-a0"}, 0x22, setFailed + "\nFW error description: \n The required hardware component is not present.  \n",
           props({sent(2, ALARM_DISABLE, "status=0x22")})}}},
    });
}

TEST_F(ControllerPropertiesE2e, PropertySwitchesSeenByTheNextRun)
{
    const nlohmann::json alarm = {{"info", {{"devicesPresent", "0x37"}}}};
    expectRuns({
        {"alarm off, then shown", "one", alarm, {},
         {{{"-AdpSetProp", "-AlarmDsbl", "-a0"}, 0, "Adapter 0: Set alarm to Disabled success.\n",
           props(on2({ALARM_DISABLE}))},
          {{"-AdpGetProp", "-AlarmDsply", "-a0"}, 0, "Adapter 0: Alarm Status is Disabled\n", property(on2({ALARM_GET}))}}},
        {"NCQ off, then shown", "one", nlohmann::json::object(), {},
         {{{"-AdpSetProp", "-NCQDsbl", "-a0"}, 0, "Adapter 0: Set NCQ to Disabled success.\n", props(on2({SET_PROPS}))},
          {{"-AdpGetProp", "-NCQDsply", "-a0"}, 0, "Adapter 0: NCQ Status is Disabled\n", props({})}}},
        {"battery warnings off: the words turn round", "one", nlohmann::json::object(), {},
         {{{"-AdpSetProp", "BatWarnDsbl", "1", "-a0"}, 0, "Adapter 0: Set Battery Warning to Disable success.\n",
           props(on2({SET_PROPS}))},
          {{"-AdpGetProp", "BatWarnDsbl", "-a0"}, 0, "Adapter 0: Battery Warning : Disabled\n", props({})}}},
        {"drive performance monitoring is sent at once", "one", nlohmann::json::object(), {},
         {{{"-AdpSetProp", "DPMenable", "1", "-a0"}, 0, "Adapter 0: Set DPM is Enabled success.\n",
           props(on2({DPM_SET}))},
          {{"-AdpGetProp", "DPMenable", "-a0"}, 0, "DPM is Enabled on Adapter 0.\n", property(on2({DPM_GET}))}}},
    });
}

TEST_F(ControllerPropertiesE2e, PropertyFailures)
{
    const std::string setFailed = "Adapter 0: Failed to Set Adapter Properties.\n";
    expectRuns({
        {"the write of the record fails: -1, not the status", "one", nlohmann::json::object(),
         {{"status", SET_PROPS, "0x2d"}},
         {{{"-AdpSetProp", "CCRate", "40", "-a0"}, 1, setFailed, props({sent(2, SET_PROPS, "status=0x2d")})}}},
        {"no battery: write-back is not possible, and still 0", "one", {{"battery", {{"status", {{"type", 0}}}}}}, {},
         {{{"-AdpGetProp", "WBSupport", "-a0"}, 0, "No battery present\n\nAdapter 0: Write Back is not possible now\n",
           property(on2({BBU_STATUS}))}}},
    });
}

TEST_F(ControllerPropertiesE2e, PropertyOnSeveralControllers)
{
    const std::string two = "Adapter 0: Rebuild Rate = 30%\nAdapter 1: Rebuild Rate = 30%\n";
    const std::vector<std::string> discovered = {sent(2, INFO), sent(3, INFO)};
    const std::vector<std::string> own2 = {sent(2, INFO), sent(2, OEM), sent(2, GET_PROPS)};
    const std::vector<std::string> own3 = {sent(3, INFO), sent(3, OEM), sent(3, GET_PROPS)};
    expectRuns({
        {"-aALL", "two", nlohmann::json::object(), {},
         {{{"-AdpGetProp", "RebuildRate", "-aALL"}, 0, two, discovered + checked(2) + own2 + checked(3) + own3}}},
        {"-a0,1", "two", nlohmann::json::object(), {},
         {{{"-AdpGetProp", "RebuildRate", "-a0,1"}, 0, two,
           std::vector<std::string>{sent(2, INFO)} + checked(2) + own2 + std::vector<std::string>{sent(3, INFO)} +
               checked(3) + own3}}},
    });
}

TEST_F(ControllerPropertiesE2e, BootDrive)
{
    const nlohmann::json jbod = {{"drives", {{{"deviceId", 8}, {"enclosureId", 252}, {"state", "0x18"}},
                                             {{"deviceId", 9}, {"enclosureId", 252}, {"slot", 1}, {"state", "0x18"}},
                                             {{"deviceId", 10}, {"enclosureId", 252}, {"slot", 2}, {"state", "0x40"}},
                                             {{"deviceId", 11}, {"enclosureId", 252}, {"slot", 3}}}}};
    const std::string none = "Adapter 0: No Virtual drive or Physical Drive is configured as boot drive.\n";
    expectRuns({
        {"a virtual drive set, shown, unset", "one", nlohmann::json::object(), {},
         {{{"-AdpBootDrive", "-Get", "-a0"}, 0, none, one(refreshed(on2({BIOS_GET})))},
          {{"-AdpBootDrive", "-Set", "-L0", "-a0"}, 0, "Boot Virtual Drive is set to #0 (target id #0) on Adapter 0\n",
           one(refreshed(on2({BIOS_GET, BIOS_SET})))},
          {{"-AdpBootDrive", "-Get", "-a0"}, 0, "Adapter 0: Boot Virtual Drive - #0 (target id - 0).\n",
           one(refreshed(on2({BIOS_GET})))},
          {{"-AdpBootDrive", "-Unset", "-L0", "-a0"}, 0,
           "Boot Virtual Drive is unset to #0 (target id #0) on Adapter 0\n", one(refreshed(on2({BIOS_GET, BIOS_SET})))},
          {{"-AdpBootDrive", "-Get", "-a0"}, 0, none, one(refreshed(on2({BIOS_GET})))}}},
        {"a virtual drive the configuration does not have", "one", nlohmann::json::object(), {},
         {{{"-AdpBootDrive", "-Set", "-L5", "-a0"}, 1, "Adapter 0: Virtual Drive 5 Does not Exist.\n", one(refreshed({}))}}},
        {"a drive that is not of JBOD kind", "one", nlohmann::json::object(), {},
         {{{"-AdpBootDrive", "-Set", "-PhysDrv[252:2]", "-a0"}, 1,
           "Adapter 0: Physical Device at Enclosure - 252, Slot - 2 is not a JBOD disk .\n", one(refreshed({}))}}},
        {"a drive that is not there", "one", nlohmann::json::object(), {},
         {{{"-AdpBootDrive", "-Set", "-PhysDrv[252:7]", "-a0"}, 1,
           "Adapter 0: Device at Enclosure - 252, Slot - 7 is not found.\n", one(refreshed({}))}}},
        {"a JBOD drive set, shown, unset", "one", jbod, {},
         {{{"-AdpBootDrive", "-Set", "-PhysDrv[252:2]", "-a0"}, 0, "Boot Physical drive is successfully set on Adapter 0\n",
           one(refreshed(on2({BIOS_GET, BIOS_SET})))},
          {{"-AdpBootDrive", "-Get", "-a0"}, 0, "Adapter 0: Boot Physical Drive -- EnclId- 252 Slotid - 2.\n",
           one(refreshed(on2({BIOS_GET})))},
          {{"-AdpBootDrive", "-Unset", "-PhysDrv[252:2]", "-a0"}, 0,
           "Boot Physical drive is successfully unset on Adapter 0\n", one(refreshed(on2({BIOS_GET, BIOS_SET})))}}},
        {"the BIOS data cannot be written", "one", nlohmann::json::object(), {{"status", BIOS_SET, "0x2d"}},
         {{{"-AdpBootDrive", "-Set", "-L0", "-a0"}, 1, "Failed to set Boot Virtual Drive on Adapter 0\n",
           one(refreshed({sent(2, BIOS_GET), sent(2, BIOS_SET, "status=0x2d")}))}}},
    });
    EXPECT_EQ(lastState.value(nlohmann::json::json_pointer("/bios/bootDevice"), 0xffff), 0xffff);
}

TEST_F(ControllerPropertiesE2e, PatrolReadSettings)
{
    const std::string info = "Adapter 0: Patrol Read Information:\n\n";
    expectRuns({
        {"a delay of 0 is continuous", "one", nlohmann::json::object(), {},
         {{{"-AdpPR", "-SetDelay", "0", "-a0"}, 0, "Adapter 0: Patrol Read Execution Delay is set to Immediate.\n",
           one(refreshed(on2({PR_GET, PR_SET})))},
          {{"-AdpPR", "-Info", "-a0"}, 0,
           info + "Patrol Read Mode: Auto\nPatrol Read Execution Delay: Continuous\nNumber of iterations completed: 0 \n"
                  "Current State: Stopped\nPatrol Read on SSD Devices: Disabled\n",
           one(refreshed(on2({PR_GET, PR_STATUS, PR_STATUS, GET_PROPS})))}}},
        {"mode, delay in hours, concurrent drives cut to a byte", "one", nlohmann::json::object(), {},
         {{{"-AdpPR", "-EnblMan", "-a0"}, 0, "Adapter 0: Patrol Read Mode is set to MANUAL.\n",
           one(refreshed(on2({PR_GET, PR_SET}))), {{PR_SET, 0, {{0, "01"}}}}},
          {{"-AdpPR", "-SetDelay", "12", "-a0"}, 0, "Adapter 0: Patrol Read Execution Delay is set to 12 hours.\n",
           one(refreshed(on2({PR_GET, PR_SET}))), {{PR_SET, 1, {{0, "01"}}}}},
          {{"-AdpPR", "-maxConcurrentPD", "300", "-a0"}, 0,
           "Adapter 0: max concurrent PD value for Patrol Read is set.\n", one(refreshed(on2({PR_GET, PR_SET}))),
           {{PR_SET, 2, {{0, "012c"}}}}},
          {{"-AdpPR", "-Info", "-a0"}, 0,
           info + "Patrol Read Mode: Manual\nPatrol Read Execution Delay: 12 hours\nNumber of iterations completed: 0 \n"
                  "Current State: Stopped\nPatrol Read on SSD Devices: Disabled\n",
           one(refreshed(on2({PR_GET, PR_STATUS, PR_STATUS, GET_PROPS})))}}},
        {"SSD patrol read where the controller does not patrol SSDs", "one", nlohmann::json::object(), {},
         {{{"-AdpPR", "-SSDPatrolReadEnbl", "-a0"}, 1, "Adapter 0: Failed to set Patrol Read on SSD devices\n",
           one(refreshed(on2({GET_PROPS, PR_GET})))}}},
    });
    EXPECT_EQ(lastState.value(nlohmann::json::json_pointer("/patrolRead/onSsd"), 0), 0);
}

TEST_F(ControllerPropertiesE2e, PatrolReadRuns)
{
    const nlohmann::json active = {{"patrolRead", {{"state", 2}, {"startedAt", 0}, {"pdsCompleted", 0}}}};
    const nlohmann::json suspendable = {{"info", {{"piFeatures", "0x80"}}},
                                        {"patrolRead", {{"state", 2}, {"startedAt", 0}}}};
    const nlohmann::json noDrives = {{"drives", nlohmann::json::array()}, {"lds", nlohmann::json::array()},
                                     {"arrays", nlohmann::json::array()}};
    expectRuns({
        {"stop with nothing running: nothing sent", "one", nlohmann::json::object(), {},
         {{{"-AdpPR", "-Stop", "-a0"}, 0, "No Patrol Read is in progress\n", one(refreshed(on2({PR_STATUS})))}}},
        {"start, then stop", "one", nlohmann::json::object(), {},
         {{{"-AdpPR", "-Start", "-a0"}, 0, "Adapter 0: Patrol Read is started.\n", one(refreshed(on2({PR_START})))},
          {{"-AdpPR", "-Stop", "-a0"}, 0, "Adapter 0: Patrol Read is stopped.\n",
           one(refreshed(on2({PR_STATUS, PR_STOP})))}}},
        {"a stop answered 0x27 is reported as stopped", "one", active, {{"status", PR_STOP, "0x27"}},
         {{{"-AdpPR", "-Stop", "-a0"}, 0x27, "Adapter 0: Patrol Read is stopped.\n\nFW error description: \n The Patrol Read operation cannot be performed, because it is disabled.  \n",
           one(refreshed({sent(2, PR_STATUS), sent(2, PR_STOP, "status=0x27")}))}}},
        {"no drive to patrol", "one", noDrives, {},
         {{{"-AdpPR", "-Start", "-a0"}, 0x58,
           "Adapter 0: Patrol Read can't be started, as PDs are either not ONLINE, or are in a VD with an active "
           "process, or are in an excluded VD \n\nFW error description: \n There are no physical disk(s) available to execute a "
           "patrol read operation.  \n",
           one(refreshed({sent(2, PR_START, "status=0x58")}))}}},
        {"suspend without the controller's permission", "one", active, {},
         {{{"-AdpPR", "-Suspend", "-a0"}, 1, "FW Not Allowed Suspend-Resume on BG Operations.\n", one(refreshed({}))}}},
        {"suspend and resume", "one", suspendable, {},
         {{{"-AdpPR", "-Suspend", "-a0"}, 0, "Patrol Read Suspend Successfull.\n",
           one(refreshed(on2({PR_SUSPEND_RESUME})))},
          {{"-AdpPR", "-Resume", "-a0"}, 0, "Patrol Read Resume Successfull.\n", one(refreshed(on2({PR_SUSPEND_RESUME})))}}},
        {"a failed suspend shows its status", "one", suspendable, {{"status", PR_SUSPEND_RESUME, "0x32"}},
         {{{"-AdpPR", "-Suspend", "-a0"}, 0x32, "Patrol Read Suspend Fail retCode = 0x0032 \n\nFW error description: \n The specified device is in a state that "
           "doesn't support the requested command.  \n",
           one(refreshed({sent(2, PR_SUSPEND_RESUME, "status=0x32")}))}}},
        {"active: the drives done", "one", active, {},
         {{{"-AdpPR", "-Info", "-a0"}, 0,
           "Adapter 0: Patrol Read Information:\n\nPatrol Read Mode: Auto\nPatrol Read Execution Delay: 168 hours\n"
           "Number of iterations completed: 0 \nCurrent State: Active\nAdapter 0: Number of PDs completed: 0\n"
           "Patrol Read on SSD Devices: Disabled\n",
           one(refreshed(on2({PR_GET, PR_STATUS, PR_STATUS, PR_STATUS, GET_PROPS})))}}},
    });
}

TEST_F(ControllerPropertiesE2e, ConsistencyCheckSchedule)
{
    const std::string shown = "Adapter #0\n\nOperation Mode: %s\nExecution Delay: %s\n"
                              "Next start time: %s\nCurrent State: Stopped\nNumber of iterations: 0\n"
                              "Number of VD completed: 0\nExcluded VDs          : ";
    auto display = [&](const char* mode, const char* delay, const char* start, const char* excluded) {
        char text[512];
        snprintf(text, sizeof text, shown.c_str(), mode, delay, start);
        return std::string(text) + excluded;
    };
    const std::vector<std::string> showCommands = one(refreshed(on2({CC_GET}) + refreshed(on2({CC_GET, CC_STATUS, CC_STATUS, CC_STATUS}))));
    const std::vector<std::string> setCommands = one(refreshed(on2({CC_GET}) + refreshed(on2({CC_GET, CC_SET}))));
    expectRuns({
        {"nothing scheduled", "one", nlohmann::json::object(), {},
         {{{"-AdpCcSched", "-Info", "-a0"}, 0, display("Disabled", "0", "01/01/2000, 00:00:00", "None"), showCommands}}},
        {"the controller has no schedule", "one", {{"ccSchedule", {{"supported", false}}}}, {},
         {{{"-AdpCcSched", "-Info", "-a0"}, 1, "Adapter 0: Scheduled Chceck Consistency is not supported.\n",
           one(refreshed({sent(2, CC_GET, "status=0x02")}))}}},
        {"a drive to leave out that does not exist: nothing written", "one", nlohmann::json::object(), {},
         {{{"-AdpCcSched", "-ModeConc", "-ExcludeLD", "-L5", "-a0"}, 1, "Adapter 0: Virtual Drive 5 Does not Exist.\n",
           one(refreshed(on2({CC_GET}) + refreshReads(2)))}}},
        {"mode with exclusions, kept by a mode alone, a delay, a start", "one", nlohmann::json::object(), {},
         {{{"-AdpCcSched", "-ModeSeq", "-ExcludeLD", "-L0", "-a0"}, 0, "Adapter 0: Scheduled CC mode is set to Sequential.\n",
           setCommands, {{CC_SET, 0, {{0, "01"}, {3, "010000"}}}}},
          {{"-AdpCcSched", "-ModeConc", "-a0"}, 0, "Adapter 0: Scheduled CC mode is set to Concurrent.\n", setCommands,
           {{CC_SET, 1, {{0, "02"}, {3, "010000"}}}}},
          // The delay in seconds (24 hours), the start in seconds since 2000-01-01 00:00.
          {{"-AdpCcSched", "-SetDelay", "24", "-a0"}, 0, "Adapter 0: Scheduled CC execution delay is set to 24 hours.\n",
           setCommands, {{CC_SET, 2, {{0, "02"}, {156, "80510100"}}}}},
          {{"-AdpCcSched", "-SetStartTime", "20240101", "3", "-a0"}, 0, "Adapter 0: Scheduled CC start time is set.\n",
           setCommands, {{CC_SET, 3, {{152, "30e7242d80510100"}}}}},
          {{"-AdpCcSched", "-Info", "-a0"}, 0, display("Concurrent", "24", "01/01/2024, 03:00:00", "0 \n"), showCommands},
          {{"-AdpCcSched", "-Dsbl", "-a0"}, 0, "Adapter 0: Scheduled CC mode is set to Disabled.\n", setCommands,
           {{CC_SET, 4, {{0, "00"}}}}},
          // A delay of 0 (continuous) is written as 0xffffffff.
          {{"-AdpCcSched", "-SetDelay", "0", "-a0"}, 0, "Adapter 0: Scheduled CC execution delay is set to Continuous.\n",
           setCommands, {{CC_SET, 5, {{0, "00"}, {156, "ffffffff"}}}}},
          {{"-AdpCcSched", "-Info", "-a0"}, 0, display("Disabled", "0", "01/01/2024, 03:00:00", "0 \n"), showCommands}}},
    });
    EXPECT_EQ(lastState["ccSchedule"]["excluded"], nlohmann::json::array({0}));
}

TEST_F(ControllerPropertiesE2e, PreservedCacheList)
{
    const nlohmann::json preserved = {
        {"lds", {{{"targetId", 0}, {"name", "Data"}, {"raidLevel", 1}, {"drivesPerSpan", 2}, {"sizeBlocks", 1952448512},
                  {"drives", {8, 9}}, {"spans", {{{"array", 0}}}}, {"preservedCache", 1}}}}};
    const std::string listFailed = "Adapter #0: Failed to Perform Get Preserved Cache List Operation.\n"
                                   "\nFW error description: \n The requested operation could not be completed as "
                                   "device is busy or unexpected error occurred.  \n";
    expectRuns({
        {"no drive keeps cache", "one", nlohmann::json::object(), {},
         {{{"-GetPreservedCacheList", "-a0"}, 0, "Adapter 0: No Virtual Drive has Preserved Cache Data.\n",
           one(on2({PRESERVED_LIST}))}}},
        {"a drive of the configuration, and one that is gone", "one", preserved,
         {{"corrupt", PRESERVED_LIST, "0", "09"}},
         {{{"-GetPreservedCacheList", "-a0"}, 0,
           "Adapter #0\n\nVirtual Drive:00(Target ID 00): Data, Size:953344MB, Offline .\n"
           "Virtual Drive(Target ID 03): Missing.\n",
           one(on2({PRESERVED_LIST}))}}},
        {"the list cannot be read: said, and its status is the result", "one", preserved,
         {{"status", PRESERVED_LIST, "0x2d"}},
         {{{"-GetPreservedCacheList", "-a0"}, 0x2d, listFailed, one({sent(2, PRESERVED_LIST, "status=0x2d")})},
          {{"-DiscardPreservedCache", "-L0", "-force", "-a0"}, 0x2d, listFailed,
           one({sent(2, PRESERVED_LIST, "status=0x2d")})}}},
    });
}

TEST_F(ControllerPropertiesE2e, SasCommandsOnSeveralControllers)
{
    const std::vector<std::string> discovered = {sent(2, INFO), sent(3, INFO)};
    const std::string phy0 = "    Phy 0 Information:\n    SAS Address   : 0x0000000000000000\n    Phy Identifier: 0\n"
                             "    Device Type   : SSP Initiator\n    Link Speed is : No limit  \n";
    const nlohmann::json phys = {{"phyList", {{"phys", {{{"deviceType", "0x40"}}}}}}};
    expectRuns({
        {"-aALL: each controller in turn, the second has no phy", "two", phys, {},
         {{{"-PhyInfo", "-phy0", "-aALL"}, 1, phy0 + "Phy No. 0  is Invalid\n",
           discovered + checked(2) + std::vector<std::string>{sent(2, PHY_LIST)} + checked(3) +
               std::vector<std::string>{sent(3, PHY_LIST)}}}},
        {"-a0,1: the connectors of each controller", "two", {{"connectorModes", {{"modes", {1, 3}}}}}, {},
         {{{"-AdpGetConnectorMode", "-ConnectorAll", "-a0,1"}, 1,
           "Adapter 0: Total Connector Count is 2\nAdapter 0: Connector 0 Mode Internal\nAdapter 0: Connector 1 Mode Auto\n"
           "Adapter #1: No Connector is Found.\n",
           std::vector<std::string>{sent(2, INFO)} + checked(2) + refreshReads(2) +
               std::vector<std::string>{sent(2, GET_MUX), sent(3, INFO)} + checked(3) + refreshReads(3) +
               std::vector<std::string>{sent(3, GET_MUX)}}}},
    });
}

TEST_F(ControllerPropertiesE2e, DiscardPreservedCache)
{
    auto ld0 = [](int state) {
        return nlohmann::json{{"lds", {{{"targetId", 0}, {"raidLevel", 1}, {"drivesPerSpan", 2}, {"sizeBlocks", 1952448512},
                                        {"drives", {8, 9}}, {"spans", {{{"array", 0}}}}, {"state", state},
                                        {"preservedCache", 1}}}}};
    };
    const std::string cleared = "Adapter #0\n\nVirtual Drive(Target ID 00): Preserved Cache Data Cleared.\n";
    expectRuns({
        {"no drive keeps cache", "one", nlohmann::json::object(), {},
         {{{"-DiscardPreservedCache", "-L0", "-a0"}, 0, "Adapter 0: No Virtual Drive has Preserved Cache Data.\n",
           one(on2({PRESERVED_LIST}))}}},
        {"an offline drive without -force: nothing discarded", "one", ld0(0), {},
         {{{"-DiscardPreservedCache", "-L0", "-a0"}, 0,
           "Adapter #0\n\n\n One or more virtual drives are Offline. In order to discard preserved cache use -force "
           "option. This will discard the preserved cache & delete the offline virtual drives.\n",
           one(on2({PRESERVED_LIST}))}}},
        {"an offline drive with -force: discarded and deleted", "one", ld0(0), {},
         {{{"-DiscardPreservedCache", "-L0", "-force", "-a0"}, 0, cleared,
           one(on2({PRESERVED_LIST, DISCARD, LD_LIST, LD_DELETE}))}}},
        {"a drive without preserved cache named", "one", ld0(3), {},
         {{{"-DiscardPreservedCache", "-L4", "-a0"}, 0,
           "Adapter #0\n\nVirtual Drive(Target ID 04): Doesn't have Preserved Cache Data.\n", one(on2({PRESERVED_LIST}))}}},
        {"every drive: those without cache passed over", "one", ld0(3), {},
         {{{"-DiscardPreservedCache", "-Lall", "-a0"}, 0, cleared, one(on2({PRESERVED_LIST, DISCARD}))}}},
    });
    EXPECT_EQ(lastState.value("lds", nlohmann::json::array()).size(), 1u);
}
