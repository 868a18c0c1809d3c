// The battery command ("-AdpBbuCmd") through the real QuillCli binary on described hosts: each
// display and command form, what the administrator sees byte for byte, the exit code, and the
// firmware commands that reached the controller (discovery and the controller check included).
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace {

const char* const INFO = "0x01010000";
const char* const OEM = "0x010e8481";
const char* const FRU = "0x010e0302";
const char* const SECONDS = "0x01080201";
const char* const RAW_READ = "0x010ee100";
const char* const STATUS = "0x05010000";
const char* const CAPACITY = "0x05020000";
const char* const DESIGN = "0x05030000";
const char* const LEARN = "0x05040000";
const char* const PROPS = "0x05050100";
const char* const SET_PROPS = "0x05050200";
const char* const SLEEP = "0x05060100";
const char* const SEAL = "0x05060200";
const char* const MODES = "0x05070100";

const std::string UTC = "UTC0";
// A zone with daylight-saving time from the second Sunday of March (2014-03-09).
const std::string EASTERN = "EST5EDT,M3.2.0,M11.1.0";

std::string sent(const char* opcode, const char* outcome = "status=0x00")
{
    return std::string("host=2 opcode=") + opcode + " " + outcome;
}

// The OEM identifier, asked after a model refresh.
std::vector<std::string> oemRead()
{
    return refreshReads(2) + std::vector<std::string>{sent(OEM)};
}

// What every run on adapter 0 of the one-controller host sends before the sub-command (the
// model's own reads aside): discovery, the model refresh and the controller check, the
// processor's own model refresh and its battery-type read.
std::vector<std::string> after(const std::vector<std::string>& own)
{
    return std::vector<std::string>{sent(INFO)} + refreshReads(2) + std::vector<std::string>{sent(OEM)} +
           refreshReads(2) + std::vector<std::string>{sent(STATUS)} + own;
}

struct Case {
    Case(const char* what, nlohmann::json controller, std::vector<std::vector<std::string>> faults,
         std::vector<std::string> args, int exitCode, std::string out, std::vector<std::string> commands,
         std::string tz = UTC)
        : what(what), controller(std::move(controller)), faults(std::move(faults)), args(std::move(args)),
          exitCode(exitCode), out(std::move(out)), commands(std::move(commands)), tz(std::move(tz))
    {
    }

    const char* what;
    nlohmann::json controller;     // merged into the described controller
    std::vector<std::vector<std::string>> faults;
    std::vector<std::string> args;
    int exitCode;
    std::string out;               // after the blank-out line
    std::vector<std::string> commands;
    std::string tz;
    std::string propertiesFile;    // written as bbu.txt in the run's folder when not empty
};

class BatteryE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    std::string host(const nlohmann::json& controllerEdit, const std::vector<std::vector<std::string>>& faults)
    {
        std::string dir = makeSimHost("one");
        cleanup.push_back(dir.substr(0, dir.rfind('/')));
        std::string path = dir + "/state.json";
        nlohmann::json state = nlohmann::json::parse(readFile(path));
        if (!controllerEdit.is_null())
            state["controllers"][0].merge_patch(controllerEdit);
        std::ofstream(path) << state.dump(2);
        for (const std::vector<std::string>& fault : faults)
            EXPECT_EQ(addSimFault(dir, fault), "");
        return dir;
    }

    void expectRuns(const std::vector<Case>& runs)
    {
        for (const Case& run : runs) {
            SCOPED_TRACE(run.what);
            std::string hostDir = host(run.controller, run.faults);
            RunSpec spec;
            spec.args = {"-AdpBbuCmd"};
            spec.args.insert(spec.args.end(), run.args.begin(), run.args.end());
            spec.env = {{"QUILLCLI_SIM_HOST", hostDir}, {"TZ", run.tz}};
            if (!run.propertiesFile.empty()) {
                spec.workDir = makeTempDir("quillbbu");
                std::ofstream(spec.workDir + "/bbu.txt") << run.propertiesFile;
            }
            RunResult r = runProgram(spec);
            cleanup.push_back(r.workDir);
            EXPECT_EQ(r.exitCode, run.exitCode);
            EXPECT_EQ(r.out, BLANK_OUT + run.out);
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(hostDir)), run.commands);
            lastHost = hostDir;
        }
    }

    std::vector<std::string> cleanup;
    std::string lastHost;
};

// ---------------------------------------------------------------------------------------------
// The status display.

// The fifteen lines of the firmware's flags, in display order.
std::string flags(const std::vector<const char*>& v)
{
    static const char* const LABELS[] = {
        "  Voltage                                 : ",   "  Temperature                             : ",
        "  Learn Cycle Requested\t                  : ", "  Learn Cycle Active                      : ",
        "  Learn Cycle Status                      : ",   "  Learn Cycle Timeout                     : ",
        "  I2c Errors Detected                     : ",   "  Battery Pack Missing                    : ",
        "  Battery Replacement required            : ",   "  Remaining Capacity Low                  : ",
        "  Periodic Learn Required                 : ",   "  Transparent Learn                       : ",
        "  No space to cache offload               : ",   "  Pack is about to fail & should be replaced : ",
        "  Module microcode update required        : ",
    };
    std::string text;
    for (size_t i = 0; i < 15; ++i)
        text += std::string(LABELS[i]) + v.at(i) + "\n";
    return text;
}

const std::string ALL_CLEAR = flags({"OK", "OK", "No", "No", "OK", "No", "No", "No", "No", "No", "No", "No", "No", "No", "No"});

std::string gasGaugeFlags(const std::vector<const char*>& v)
{
    static const char* const LABELS[] = {
        "  Fully Discharged        : ", "  Fully Charged           : ", "  Discharging             : ",
        "  Initialized             : ", "  Remaining Time Alarm    : ", "  Remaining Capacity Alarm: ",
        "  Discharge Terminated    : ", "  Over Temperature        : ", "  Charging Terminated     : ",
        "  Over Charged            : ",
    };
    std::string text = "\n\nGasGuageStatus:\n";
    for (size_t i = 0; i < 10; ++i)
        text += std::string(LABELS[i]) + v.at(i) + "\n";
    return text;
}

// Gas-gauge word 0xa0 of the default battery: fully charged, initialized.
const std::string CHARGED_GAUGE = gasGaugeFlags({"No", "Yes", "No", "Yes", "No", "No", "No", "No", "No", "No"});
// The default battery's six readings (100, 0, 0, 0, 98, 2).
const std::string SMART_READINGS = "  Relative State of Charge: 100 %\n  Charger System State: 0\n  Charger System Ctrl: 0\n"
                                   "  Charging current: 0 mA\n  Absolute state of charge: 98 %\n  Max Error: 2 %\n";
const std::string READINGS = "Voltage: 4050 mV\nCurrent: 0 mA\nTemperature: 30 C\n";
const std::string NO_CHARGING = "BBU Firmware Status:\n\n  Charging Status              : None\n";

std::string title(const char* type)
{
    return std::string("BBU status for Adapter: 0\n\nBatteryType: ") + type + "\n";
}

// A status display that stops after its state line: only the two reads of the display.
std::vector<std::string> statusReads = {sent(STATUS), sent(DESIGN)};
// The full status display: its reads, then the properties and mode list of the design mode.
std::vector<std::string> fullStatusReads = {sent(STATUS), sent(DESIGN), sent(PROPS), sent(MODES, "status=0x02")};

TEST_F(BatteryE2e, StatusShowsTheStateTheBitsSelect)
{
    const std::string missing = "Battery State: Missing\n";
    auto bits = [](const char* word) { return nlohmann::json{{"battery", {{"status", {{"firmwareStatus", word}}}}}}; };
    auto withState = [&](const std::string& state, const std::string& flagLines, const char* charging = nullptr) {
        return title("QBU-Li100") + READINGS + state +
               (charging != nullptr ? std::string("BBU Firmware Status:\n\n  Charging Status              : ") + charging + "\n"
                                    : NO_CHARGING) +
               flagLines + CHARGED_GAUGE + SMART_READINGS + exitLine("00");
    };
    expectRuns({
        {"no battery: the missing state ends the block", {{"battery", {{"status", {{"type", 0}}}}}}, {},
         {"-GetBbuStatus", "-a0"}, 0, title("No Battery") + missing + exitLine("00"), after(statusReads)},
        {"a controller without the battery-backup flag shows any battery as missing",
         {{"info", {{"devicesPresent", "0x34"}}}}, {}, {"-GetBbuStatus", "-a0"}, 0,
         title("QBU-Li100") + missing + exitLine("00"), after(statusReads)},
        {"pack missing: missing whatever the other bits", bits("0x0441"), {}, {"-GetBbuStatus", "-a0"}, 0,
         title("QBU-Li100") + missing + exitLine("00"), after(statusReads)},
        {"no relevant bit: optimal", bits("0x1000"), {}, {"-GetBbuStatus", "-a0"}, 0,
         withState("Battery State: Optimal\n",
                   flags({"OK", "OK", "No", "No", "OK", "No", "No", "No", "No", "No", "Yes", "No", "No", "No", "No"})),
         after(fullStatusReads)},
        {"replacement required without a learn request: failed", bits("0x0400"), {}, {"-GetBbuStatus", "-a0"}, 0,
         withState("Battery State: Failed\n",
                   flags({"OK", "OK", "No", "No", "OK", "No", "No", "No", "Yes", "No", "No", "No", "No", "No", "No"})),
         after(fullStatusReads)},
        {"learn cycle active: learning", bits("0x0040"), {}, {"-GetBbuStatus", "-a0"}, 0,
         withState("Battery State: Learning\n",
                   flags({"OK", "OK", "No", "Yes", "OK", "No", "No", "No", "No", "No", "No", "No", "No", "No", "No"})),
         after(fullStatusReads)},
        {"learn cycle active and transparent: optimal", bits("0x2040"), {}, {"-GetBbuStatus", "-a0"}, 0,
         withState("Battery State: Optimal\n",
                   flags({"OK", "OK", "No", "Yes", "OK", "No", "No", "No", "No", "No", "No", "Yes", "No", "No", "No"})),
         after(fullStatusReads)},
        {"learn requested: a manual learn", bits("0x0020"), {}, {"-GetBbuStatus", "-a0"}, 0,
         withState("Battery State: Degraded(Need Attention) \n\t\tA manual learn is required.\n",
                   flags({"OK", "OK", "Yes", "No", "OK", "No", "No", "No", "No", "No", "No", "No", "No", "No", "No"})),
         after(fullStatusReads)},
        {"capacity low with microcode update: firmware corrupted", bits("0x20800"), {}, {"-GetBbuStatus", "-a0"}, 0,
         withState("Battery State: Degraded(Need Attention) \n\t\tBattery FW is corrupted and needs to be updated.\n",
                   flags({"OK", "OK", "No", "No", "OK", "No", "No", "No", "No", "Yes", "No", "No", "No", "No", "Yes"})),
         after(fullStatusReads)},
        {"capacity low, pack about to fail", bits("0x8800"), {}, {"-GetBbuStatus", "-a0"}, 0,
         withState("Battery State: Degraded(Need Attention) \n\t\tBattery is about to fail, replace the pack.\t\n",
                   flags({"OK", "OK", "No", "No", "OK", "No", "No", "No", "No", "Yes", "No", "No", "No", "Yes", "No"})),
         after(fullStatusReads)},
        {"charging with capacity low: degraded while charging", bits("0x0808"), {}, {"-GetBbuStatus", "-a0"}, 0,
         withState("Battery State: Degraded(Charging)\n",
                   flags({"OK", "OK", "No", "No", "OK", "No", "No", "No", "No", "Yes", "No", "No", "No", "No", "No"}),
                   "Charging"),
         after(fullStatusReads)},
        {"capacity low with I2C errors: communication failure; discharging", bits("0x0a10"), {},
         {"-GetBbuStatus", "-a0"}, 0,
         withState("Battery State: Degraded(Communication Failure)\n",
                   flags({"OK", "OK", "No", "No", "OK", "No", "Yes", "No", "No", "Yes", "No", "No", "No", "No", "No"}),
                   "Discharging"),
         after(fullStatusReads)},
        {"capacity low alone: unknown ends the block", bits("0x0800"), {}, {"-GetBbuStatus", "-a0"}, 0,
         title("QBU-Li100") + "Battery State: Unknown\n" + exitLine("00"), after(statusReads)},
        {"low voltage, not charging: failed; the flags say Low, High and Failed", bits("0x0186"), {},
         {"-GetBbuStatus", "-a0"}, 0,
         withState("Battery State: Failed\n",
                   flags({"Low", "High", "No", "No", "Failed", "Yes", "No", "No", "No", "No", "No", "No", "No", "No", "No"})),
         after(fullStatusReads)},
    });
}

TEST_F(BatteryE2e, StatusOfEachBatteryType)
{
    auto battery = [](int type, int variant, nlohmann::json status = nlohmann::json::object()) {
        status["type"] = type;
        status["variant"] = variant;
        return nlohmann::json{{"battery", {{"status", status}, {"design", {{"deviceName", "PACK-77"}}}}}};
    };
    const std::string type2Readings = "Relative State of Charge: 81 %\nCharger Status: In Progress\n"
                                      "Remaining Capacity: 900 mAh\nFull Charge Capacity: 1100 mAh\nisSOHGood: Yes\n";
    const nlohmann::json type2Status = {{"readings", {81, 2, 900, 1100, 1, 0}}, {"gasGauge", "0x0250"}};
    const std::string gauge250 = gasGaugeFlags({"Yes", "No", "Yes", "No", "No", "Yes", "No", "No", "No", "No"});
    auto block = [&](const char* type, const std::string& gauge, const std::string& readings) {
        return title(type) + READINGS + "Battery State: Optimal\n" + NO_CHARGING + ALL_CLEAR + gauge + readings +
               exitLine("00");
    };
    expectRuns({
        {"type 2, first form: the smart-battery flags and the type-2 readings", battery(2, 0, type2Status), {},
         {"-GetBbuStatus", "-a0"}, 0, block("QBU-Li200", gauge250, type2Readings), after(fullStatusReads)},
        {"type 2, second form: the gas-gauge word in hexadecimal", battery(2, 1, type2Status), {},
         {"-GetBbuStatus", "-a0"}, 0, block("QBU-Li200", "\nBBU GasGauge Status: 0x0250 \n", type2Readings),
         after(fullStatusReads)},
        {"type 2, a charger status above 2 is unknown",
         battery(2, 0, {{"readings", {81, 7, 900, 1100, 0, 0}}, {"gasGauge", "0x0250"}}), {}, {"-GetBbuStatus", "-a0"},
         0,
         block("QBU-Li200", gauge250,
               "Relative State of Charge: 81 %\nCharger Status: Unknown\nRemaining Capacity: 900 mAh\n"
               "Full Charge Capacity: 1100 mAh\nisSOHGood: No\n"),
         after(fullStatusReads)},
        {"type 3", battery(3, 0), {}, {"-GetBbuStatus", "-a0"}, 0, block("QBU-NiMH300", CHARGED_GAUGE, SMART_READINGS),
         after(fullStatusReads)},
        {"type 4", battery(4, 0), {}, {"-GetBbuStatus", "-a0"}, 0, block("QBU-Li400", CHARGED_GAUGE, SMART_READINGS),
         after(fullStatusReads)},
        {"type 5, first form: the table's name", battery(5, 0), {}, {"-GetBbuStatus", "-a0"}, 0,
         block("QBU-Li500", "\nBBU GasGauge Status: 0x00a0 \n", SMART_READINGS), after(fullStatusReads)},
        {"type 5, second form: the design record's device name", battery(5, 3), {}, {"-GetBbuStatus", "-a0"}, 0,
         block("PACK-77", "\nBBU GasGauge Status: 0x00a0 \n", SMART_READINGS), after(fullStatusReads)},
        {"type 6: the module's readings", battery(6, 0, {{"gasGauge", "0x2c10"}, {"readings", {0x0355, 0, 0, 0, 0, 0}}}),
         {}, {"-GetBbuStatus", "-a0"}, 0,
         block("PACK-77", "\nBBU GasGauge Status: 0x2c10 \n",
               "  Pack energy             : 784 J \n  Capacitance             : 44 \n  Remaining reserve space : 85 \n\n"),
         after(fullStatusReads)},
        {"a type this program does not know: its device name, no gauge, no readings", battery(9, 0), {},
         {"-GetBbuStatus", "-a0"}, 0, block("PACK-77", "", ""), after(fullStatusReads)},
        {"an unknown type with a bit worth attention is not optimal", battery(9, 0, {{"firmwareStatus", "0x8000"}}), {},
         {"-GetBbuStatus", "-a0"}, 0,
         title("PACK-77") + READINGS + "Battery State: Degraded(Need Attention) \n\t\tBattery is about to fail, replace the pack.\t\n" +
             NO_CHARGING +
             flags({"OK", "OK", "No", "No", "OK", "No", "No", "No", "No", "No", "No", "No", "No", "Yes", "No"}) +
             exitLine("00"),
         after(fullStatusReads)},
    });
}

TEST_F(BatteryE2e, StatusShowsTheDesignModeFromTheModeList)
{
    const nlohmann::json modes = {{"battery",
                                   {{"properties", {{"bbuMode", 4}}},
                                    {"modesAvailable", true},
                                    {"modes",
                                     {{{"id", 3}, {"retention", 24}, {"serviceLife", 5}},
                                      {{"id", 4}, {"retention", 12}, {"serviceLife", 3}, {"flags", "0x1"}},
                                      {{"id", 4}, {"retention", 48}}}}}}};
    expectRuns({
        {"the first record of the current mode", modes, {}, {"-GetBbuStatus", "-a0"}, 0,
         title("QBU-Li100") + READINGS + "Battery State: Optimal\n" +
             "Design Mode  : 12+ Hrs retention with a transparent learn cycle and balanced service life.\n\n" +
             NO_CHARGING + ALL_CLEAR + CHARGED_GAUGE + SMART_READINGS + exitLine("00"),
         after({sent(STATUS), sent(DESIGN), sent(PROPS), sent(MODES), sent(MODES)})},
    });
}

TEST_F(BatteryE2e, FailedReadsOfEachDisplay)
{
    auto refused = [](const char* opcode) { return std::vector<std::string>{"status", opcode, "0x2d", "--from", "2"}; };
    const std::string busy =
        "\nFW error description: \n The requested operation could not be completed as device is busy or unexpected error occurred.  \n";
    expectRuns({
        {"status: the failed read's status", {}, {refused(STATUS)}, {"-GetBbuStatus", "-a0"}, 0x2d,
         "Adapter 0: Get BBU Status Failed.\n" + busy + exitLine("2d"), after({sent(STATUS, "status=0x2d")})},
        {"status: the design read fails", {}, {{"status", DESIGN, "0x2d"}}, {"-GetBbuStatus", "-a0"}, 0x2d,
         "Adapter 0: Get BBU Design Info Failed.\n" + busy + exitLine("2d"),
         after({sent(STATUS), sent(DESIGN, "status=0x2d")})},
        {"capacity: the failed read's status", {}, {{"status", CAPACITY, "0x2d"}}, {"-GetBbuCapacityInfo", "-a0"}, 0x2d,
         "Adapter 0: Get BBU Capacity Info Failed.\n" + busy + exitLine("2d"), after({sent(CAPACITY, "status=0x2d")})},
        {"design: -1", {}, {{"status", DESIGN, "0x2d"}}, {"-GetBbuDesignInfo", "-a0"}, 1,
         "Adapter 0: Get BBU Design Info Failed.\n" + exitLine("01"),
         after({sent(STATUS), sent(FRU), sent(DESIGN, "status=0x2d")})},
        {"design: the status read fails", {}, {refused(STATUS)}, {"-GetBbuDesignInfo", "-a0"}, 1,
         "Adapter 0: Get BBU Status Info Failed.\n" + exitLine("01"), after({sent(STATUS, "status=0x2d")})},
        {"properties: -1", {}, {{"status", PROPS, "0x2d"}}, {"-GetBbuProperties", "-a0"}, 1,
         "Adapter 0: Get BBU Properties Failed.\n" + exitLine("01"), after({sent(PROPS, "status=0x2d")})},
        {"all: a failed status display ends the command", {}, {refused(STATUS)}, {"-a0"}, 0x2d,
         "Adapter 0: Get BBU Status Failed.\n" + busy + exitLine("2d"), after({sent(STATUS, "status=0x2d")})},
    });
}

// ---------------------------------------------------------------------------------------------
// Capacity, design, properties, charge time, the combined display and the gas gauge.

const std::string CAPACITY_BLOCK = "\nBBU Capacity Info for Adapter: 0\n\n  Relative State of Charge: 100 %\n"
                                   "  Absolute State of charge: 98 %\n  Remaining Capacity: 1200 mAh\n"
                                   "  Full Charge Capacity: 1215 mAh\n"
                                   "  Run time to empty: Battery is not being charged.  \n"
                                   "  Average time to empty: Battery is not being charged.  \n"
                                   "  Estimated Time to full recharge: Battery is not being charged.  \n"
                                   "  Cycle Count: 3\n";
const std::string ALARMS = "Max Error = 2 %\nRemaining Capacity Alarm = 120 mAh\nRemining Time Alarm = 10 Min\n";
const std::string DESIGN_BLOCK = "\nBBU Design Info for Adapter: 0\n\n  Date of Manufacture: 06/14, 2013\n"
                                 "  Design Capacity: 1215 mAh\n  Design Voltage: 3700 mV\n  Specification Info: 33\n"
                                 "  Serial Number: 4711\n  Pack Stat Configuration: 0x2a00\n"
                                 "  Manufacture Name: QUILLPOWER\n  Firmware Version   : 01.30.02\n"
                                 "  Device Name: QBU-L1\n  Device Chemistry: LION\n  Battery FRU: N/A\n"
                                 "Module Version = 01.30.02\n  Transparent Learn = 0\n  App Data = 0\n";
const std::string PROPERTIES_BLOCK = "\nBBU Properties for Adapter: 0\n\n  Auto Learn Period: 28 Days\n"
                                     "  Next Learn time: Sat Jan  1 00:00:00 2000\n  Learn Delay Interval:0 Hours\n"
                                     "  Auto-Learn Mode: Enabled\n";

TEST_F(BatteryE2e, CapacityDisplay)
{
    auto capacity = [](nlohmann::json fields) { return nlohmann::json{{"battery", {{"capacity", fields}}}}; };
    expectRuns({
        {"times that do not apply", {}, {}, {"-GetBbuCapacityInfo", "-a0"}, 0, CAPACITY_BLOCK + ALARMS + exitLine("00"),
         after(std::vector<std::string>{sent(CAPACITY), sent(STATUS)} + oemRead())},
        {"days, hours and minutes; a time of 0 is empty",
         capacity({{"runTimeToEmpty", 1501}, {"averageTimeToEmpty", 0}, {"averageTimeToFull", 120}}), {},
         {"-GetBbuCapacityInfo", "-a0"}, 0,
         "\nBBU Capacity Info for Adapter: 0\n\n  Relative State of Charge: 100 %\n"
         "  Absolute State of charge: 98 %\n  Remaining Capacity: 1200 mAh\n  Full Charge Capacity: 1215 mAh\n"
         "  Run time to empty: 1 Day, 1 Hour, 1 Min. \n  Average time to empty:  \n"
         "  Estimated Time to full recharge: 2 Hour,  \n  Cycle Count: 3\n" +
             ALARMS + exitLine("00"),
         after(std::vector<std::string>{sent(CAPACITY), sent(STATUS)} + oemRead())},
        {"OEM 6: no full-charge time is N/A",
         {{"mfcOemData", {{"oemId", 6}}}, {"battery", {{"capacity", {{"averageTimeToFull", 0}}}}}}, {},
         {"-GetBbuCapacityInfo", "-a0"}, 0,
         "\nBBU Capacity Info for Adapter: 0\n\n  Relative State of Charge: 100 %\n"
         "  Absolute State of charge: 98 %\n  Remaining Capacity: 1200 mAh\n  Full Charge Capacity: 1215 mAh\n"
         "  Run time to empty: Battery is not being charged.  \n"
         "  Average time to empty: Battery is not being charged.  \n"
         "  Estimated Time to full recharge: N/A  \n  Cycle Count: 3\n" +
             ALARMS + exitLine("00"),
         after(std::vector<std::string>{sent(CAPACITY), sent(STATUS)} + oemRead())},
        {"type 5: no alarm lines", {{"battery", {{"status", {{"type", 5}}}}}}, {}, {"-GetBbuCapacityInfo", "-a0"}, 0,
         CAPACITY_BLOCK + exitLine("00"), after(std::vector<std::string>{sent(CAPACITY), sent(STATUS)} + oemRead())},
    });
}

TEST_F(BatteryE2e, DesignDisplay)
{
    const nlohmann::json described = {
        {"fruData", {{"batteryFru", "FRU-B001"}, {"cacheModuleFru", "FRU-M0029999"}}},
        {"bbuModuleVersion", ""},
        {"battery",
         {{"design",
           {{"year", 2011}, {"month", 12}, {"day", 3}, {"designCapacity", 250}, {"designVoltage", 9500},
            {"serialNumber", 12}, {"manufacturerName", "ABCDEFGHIJKL"}, {"deviceName", "CAPMOD-1"},
            {"deviceChemistry", "EDLCX"}, {"transparentLearn", 1}, {"appData", 7}}}}}};
    nlohmann::json type6 = described;
    type6["battery"]["status"] = {{"type", 6}};
    expectRuns({
        {"a battery", {}, {}, {"-GetBbuDesignInfo", "-a0"}, 0, DESIGN_BLOCK + exitLine("00"),
         after({sent(STATUS), sent(FRU), sent(DESIGN)})},
        {"type 6: joules and both FRU texts; texts that fill their fields; no module version", type6, {},
         {"-GetBbuDesignInfo", "-a0"}, 0,
         "\nBBU Design Info for Adapter: 0\n\nDate of Manufacture: 12/03, 2011\nDesign Capacity: 250 J\n"
         "Design Voltage: 9500 mV\nSerial Number: 12\nManufacture Name: ABCDEFGHIJKL\nFirmware Version   : \n"
         "Device Name: CAPMOD-1\nDevice Chemistry: EDLCX\nBattery FRU: FRU-B001\nKPRB FRU: FRU-M002\n"
         "  Transparent Learn = 1\n  App Data = 7\n" +
             exitLine("00"),
         after({sent(STATUS), sent(FRU), sent(DESIGN)})},
        {"a failed FRU read: N/A", {{"fruData", {{"batteryFru", "FRU-B001"}}}}, {{"status", FRU, "0x2d"}},
         {"-GetBbuDesignInfo", "-a0"}, 0, DESIGN_BLOCK + exitLine("00"),
         after({sent(STATUS), sent(FRU, "status=0x2d"), sent(DESIGN)})},
    });
}

TEST_F(BatteryE2e, PropertiesDisplay)
{
    auto props = [](nlohmann::json fields, nlohmann::json more = nlohmann::json::object()) {
        more["properties"] = fields;
        return nlohmann::json{{"battery", more}};
    };
    auto block = [](const char* days, const char* next, const char* delay, const char* mode) {
        return std::string("\nBBU Properties for Adapter: 0\n\n  Auto Learn Period: ") + days +
               " Days\n  Next Learn time: " + next + "  Learn Delay Interval:" + delay + " Hours\n  Auto-Learn Mode: " +
               mode + "\n";
    };
    const std::vector<std::string> reads = after({sent(PROPS), sent(STATUS), sent(DESIGN)});
    expectRuns({
        {"enabled: the next learn time as a date line", props({{"nextLearnTime", 447199200}, {"learnDelayInterval", 5}}),
         {}, {"-GetBbuProperties", "-a0"}, 0, block("28", "Mon Mar  3 22:00:00 2014\n", "5", "Enabled") + exitLine("00"),
         reads},
        {"daylight-saving time: the stored time less one offset", props({{"nextLearnTime", 447757200}}), {},
         {"-GetBbuProperties", "-a0"}, 0, block("28", "Mon Mar 10 09:00:00 2014\n", "0", "Enabled") + exitLine("00"),
         reads, EASTERN},
        {"disabled: none, and the delay on the same line", props({{"autoLearnMode", 1}, {"autoLearnPeriod", 700000}}), {},
         {"-GetBbuProperties", "-a0"}, 0, block("8", "None", "0", "Disabled") + exitLine("00"), reads},
        {"warn via event", props({{"autoLearnMode", 2}}), {}, {"-GetBbuProperties", "-a0"}, 0,
         block("28", "None", "0", "Warn via Event") + exitLine("00"), reads},
        {"transparent learner; type 5 with modes shows its mode",
         {{"battery",
           {{"properties", {{"bbuMode", 3}}},
            {"status", {{"type", 5}}},
            {"design", {{"transparentLearn", 1}, {"modesSupported", 1}}}}}},
         {}, {"-GetBbuProperties", "-a0"}, 0,
         block("28", "Sat Jan  1 00:00:00 2000\n", "0", "Transparent") + "  BBU Mode = 3\n" + exitLine("00"), reads},
    });
}

TEST_F(BatteryE2e, CombinedDisplay)
{
    const std::string status = title("QBU-Li100") + READINGS + "Battery State: Optimal\n" + NO_CHARGING + ALL_CLEAR +
                               CHARGED_GAUGE + SMART_READINGS;
    const std::vector<std::string> statusAndCharge =
        std::vector<std::string>{sent(STATUS), sent(DESIGN), sent(PROPS), sent(MODES, "status=0x02")} + oemRead() +
        std::vector<std::string>{sent(STATUS)};
    const std::vector<std::string> designAndProperties = {sent(STATUS), sent(FRU),    sent(DESIGN),
                                                          sent(PROPS),  sent(STATUS), sent(DESIGN)};
    const std::vector<std::string> all = statusAndCharge +
                                         std::vector<std::string>{sent(CAPACITY), sent(STATUS)} + oemRead() +
                                         designAndProperties;
    const std::vector<std::string> noCapacity = statusAndCharge + designAndProperties;
    const std::string type6Status = title("CAPMOD-6") + READINGS + "Battery State: Optimal\n" + NO_CHARGING +
                                    ALL_CLEAR + "\nBBU GasGauge Status: 0x00a0 \n" +
                                    "  Pack energy             : 160 J \n  Capacitance             : 0 \n"
                                    "  Remaining reserve space : 100 \n\n";
    expectRuns({
        {"every block in order", {}, {}, {"-a0"}, 0,
         status + "  Battery backup charge time : 12 hours\n" + CAPACITY_BLOCK + ALARMS + DESIGN_BLOCK +
             PROPERTIES_BLOCK + exitLine("00"),
         after(all)},
        {"type 6: no capacity block; charge time above 48 hours",
         {{"battery", {{"status", {{"type", 6}, {"chargeTime", 49}}}, {"design", {{"deviceName", "CAPMOD-6"}}}}}},
         {}, {"-a0"}, 0,
         type6Status + "  Battery backup charge time : 48 hours +\n" +
             "\nBBU Design Info for Adapter: 0\n\nDate of Manufacture: 06/14, 2013\nDesign Capacity: 1215 J\n"
             "Design Voltage: 3700 mV\nSerial Number: 4711\nManufacture Name: QUILLPOWER\n"
             "Firmware Version   : 01.30.02\nDevice Name: CAPMOD-6\nDevice Chemistry: LION\nBattery FRU: N/A\n"
             "KPRB FRU: N/A\nModule Version = 01.30.02\n  Transparent Learn = 0\n  App Data = 0\n" +
             PROPERTIES_BLOCK + exitLine("00"),
         after(noCapacity)},
        {"charge time 48; OEM 6 with 0 hours would be N/A",
         {{"battery", {{"status", {{"chargeTime", 48}}}}}}, {}, {"-a0"}, 0,
         status + "  Battery backup charge time : 48 hours\n" + CAPACITY_BLOCK + ALARMS + DESIGN_BLOCK +
             PROPERTIES_BLOCK + exitLine("00"),
         after(all)},
        {"OEM 6 and no charge time: N/A", {{"mfcOemData", {{"oemId", 6}}}, {"battery", {{"status", {{"chargeTime", 0}}}}}},
         {}, {"-a0"}, 0,
         status + "  Battery backup charge time : N/A\n" + CAPACITY_BLOCK + ALARMS + DESIGN_BLOCK + PROPERTIES_BLOCK +
             exitLine("00"),
         after(all)},
    });
}

TEST_F(BatteryE2e, GasGaugeRead)
{
    const nlohmann::json memory = {{"battery", {{"gasGaugeMemory", "00112233445566778899aabbccddeeff"}}}};
    expectRuns({
        {"the value at the offset", memory, {}, {"-GetGGEEPData", "-Offset", "0x1A", "-NumBytes", "2", "-a0"}, 0x03,
         "Adapter #0\n\nData Received (in decimal) = 0 \n"
         "\nFW error description: \n The requested command has invalid arguments.  \n" + exitLine("03"),
         after({sent(RAW_READ, "status=0x03")})},
        {"offset 0x0a", memory, {}, {"-GetGGEEPData", "-Offset", "0x0a", "-NumBytes", "2", "-a0"}, 0,
         "Adapter #0\n\nData Received (in decimal) = 48042 \n" + exitLine("00"), after({sent(RAW_READ)})},
        {"no offset: address 0", memory, {}, {"-GetGGEEPData", "-NumBytes", "2", "-a0"}, 0,
         "Adapter #0\n\nData Received (in decimal) = 4352 \n" + exitLine("00"), after({sent(RAW_READ)})},
    });
}

// ---------------------------------------------------------------------------------------------
// The commands.

// A refusal gives -1: exit code 1 without the firmware's description.
TEST_F(BatteryE2e, LearnSleepAndSeal)
{
    expectRuns({
        {"learn", {}, {}, {"-BbuLearn", "-a0"}, 0, "Adapter 0: BBU Learn Succeeded.\n" + exitLine("00"), after({sent(LEARN)})},
        {"learn refused", {}, {{"status", LEARN, "0x2d"}}, {"-BbuLearn", "-a0"}, 1,
         "Adapter 0: BBU Learn Failed\n" + exitLine("01"), after({sent(LEARN, "status=0x2d")})},
        {"sleep", {}, {}, {"-BbuMfgSleep", "-a0"}, 0, "Adapter 0: BBU MFG Sleep Succeeded.\n" + exitLine("00"),
         after({sent(SLEEP)})},
        {"sleep refused", {}, {{"status", SLEEP, "0x2d"}}, {"-BbuMfgSleep", "-a0"}, 1,
         "Adapter 0: BBU MFG Sleep Failed\n" + exitLine("01"), after({sent(SLEEP, "status=0x2d")})},
        {"seal", {}, {}, {"-BbuMfgSeal", "-a0"}, 0, "Adapter 0: BBU MFG SEAL Succeeded.\n" + exitLine("00"),
         after({sent(SEAL)})},
        {"seal refused", {}, {{"status", SEAL, "0x2d"}}, {"-BbuMfgSeal", "-a0"}, 1,
         "Adapter 0: BBU MFG SEAL Failed\n" + exitLine("01"), after({sent(SEAL, "status=0x2d")})},
    });
}

TEST_F(BatteryE2e, ModeList)
{
    const nlohmann::json three = {{"battery",
                                   {{"properties", {{"bbuMode", 2}}},
                                    {"modesAvailable", true},
                                    {"modes",
                                     {{{"id", 1}, {"retention", 24}, {"serviceLife", 5}},
                                      {{"id", 2}, {"retention", 48}, {"serviceLife", 3}, {"flags", "0x1"}},
                                      {{"id", 7}, {"retention", 12}, {"serviceLife", 9}}}}}}};
    const std::string lines = "   24+ Hrs retention with a non-transparent learn cycle and best service life.\n"
                              "   48+ Hrs retention with a transparent learn cycle and balanced service life.\n"
                              "   12+ Hrs retention with a non-transparent learn cycle and moderate service life.\n";
    expectRuns({
        {"three records", three, {}, {"-getBbumodes", "-a0"}, 0, lines + exitLine("00"),
         after({sent(PROPS), sent(MODES), sent(MODES)})},
        {"no records, undefined mode", {{"battery", {{"modesAvailable", true}}}}, {}, {"-getBbumodes", "-a0"}, 0,
         "Undefined BBU Modes.\n" + exitLine("00"), after({sent(PROPS), sent(MODES), sent(MODES)})},
        {"unavailable", {}, {}, {"-getBbumodes", "-a0"}, 2,
         "Undefined BBU Modes.\nAdapter 0: BBU Mode Information not available.\n"
         "\nFW error description: \n The requested command is invalid.  \n" + exitLine("02"),
         after({sent(PROPS), sent(MODES, "status=0x02")})},
        {"another failure", three, {{"status", MODES, "0x2d"}}, {"-getBbumodes", "-a0"}, 0x2d,
         "Adapter 0: Get BBU Modes Failed.\n"
         "\nFW error description: \n The requested operation could not be completed as device is busy or unexpected error occurred.  \n" +
             exitLine("2d"),
         after({sent(PROPS), sent(MODES, "status=0x2d")})},
        // A count word far beyond its reply: the second read is sized by the clamped count, and
        // the list shows no more records than the smaller count of the two replies.
        {"the first reply's count lies", three, {{"corrupt", MODES, "0", "ffffff7f", "--once"}}, {"-getBbumodes", "-a0"},
         0, lines + exitLine("00"), after({sent(PROPS), sent(MODES), sent(MODES)})},
        {"the second reply's count lies", three, {{"corrupt", MODES, "0", "ffffff7f", "--from", "2"}},
         {"-getBbumodes", "-a0"}, 0, lines + exitLine("00"), after({sent(PROPS), sent(MODES), sent(MODES)})},
    });
}

// ---------------------------------------------------------------------------------------------
// The learn schedule. The controller clock stands at Monday 2014-03-03 10:21:07.

const nlohmann::json REAL_TIME = {{"info", {{"spareFeatures", "0x80"}}}};

std::string scheduled(const char* when)
{
    return std::string("Adapter 0:  Battery Learn Scheduling Operation Successful.\n") +
           "Battery Learn Scheduling Information:\n\nAuto Learn Mode:  Enabled\nSchedule Time: " + when +
           " \nInterval : 4 Weeks\n" + exitLine("00");
}

// The schedule reads the properties, then refreshes the model and asks for real-time scheduling.
std::vector<std::string> refreshed(const std::vector<std::string>& rest)
{
    return std::vector<std::string>{sent(PROPS)} + refreshReads(2) + rest;
}

std::vector<std::string> scheduleWrite =
    refreshed({sent(DESIGN), sent(STATUS), sent(SECONDS), sent(SET_PROPS), sent(PROPS)});

TEST_F(BatteryE2e, ScheduleLearnStartTimes)
{
    nlohmann::json onTheHour = REAL_TIME;
    onTheHour["time"] = {{"minute", 0}, {"second", 30}};
    expectRuns({
        {"later today", REAL_TIME, {}, {"-ScheduleLearn", "-STARTTIME", "mon", "22", "-a0"}, 0,
         scheduled("MON, March 3, 2014 at 22:00:00"), after(scheduleWrite)},
        {"an hour already past: next week", REAL_TIME, {}, {"-ScheduleLearn", "-STARTTIME", "MON", "9", "-a0"}, 0,
         scheduled("MON, March 10, 2014 at 09:00:00"), after(scheduleWrite)},
        {"this hour after its first minute: next week", REAL_TIME, {},
         {"-ScheduleLearn", "-STARTTIME", "Mon", "10", "-a0"}, 0, scheduled("MON, March 10, 2014 at 10:00:00"),
         after(scheduleWrite)},
        {"tomorrow at an earlier hour", REAL_TIME, {}, {"-ScheduleLearn", "-STARTTIME", "TUE", "8", "-a0"}, 0,
         scheduled("TUE, March 4, 2014 at 08:00:00"), after(scheduleWrite)},
        {"Sunday: later in the week", REAL_TIME, {}, {"-ScheduleLearn", "-STARTTIME", "sun", "0", "-a0"}, 0,
         scheduled("SUN, March 9, 2014 at 00:00:00"), after(scheduleWrite)},
        {"within the first minute of the hour: nothing written", onTheHour, {},
         {"-ScheduleLearn", "-STARTTIME", "MON", "10", "-a0"}, 1, exitLine("01"),
         after(refreshed({sent(DESIGN), sent(STATUS), sent(SECONDS)}))},
        {"daylight saving starts on the way: the hour asked for", REAL_TIME, {},
         {"-ScheduleLearn", "-STARTTIME", "MON", "9", "-a0"}, 0, scheduled("MON, March 10, 2014 at 09:00:00"),
         after(scheduleWrite), EASTERN},
    });
}

TEST_F(BatteryE2e, ScheduleLearnStoresTheStandardTimeStamp)
{
    expectRuns({
        {"in daylight-saving time one offset is added", REAL_TIME, {},
         {"-ScheduleLearn", "-STARTTIME", "MON", "9", "-a0"}, 0, scheduled("MON, March 10, 2014 at 09:00:00"),
         after(scheduleWrite), EASTERN},
    });
    nlohmann::json state = nlohmann::json::parse(readFile(lastHost + "/state.json"));
    const nlohmann::json& properties = state["controllers"][0]["battery"]["properties"];
    EXPECT_EQ(properties.value("nextLearnTime", nlohmann::json()), nlohmann::json(447757200)) << properties.dump();
}

TEST_F(BatteryE2e, ScheduleLearnDisableInfoAndRefusals)
{
    nlohmann::json transparent6 = REAL_TIME;
    transparent6["battery"] = {{"status", {{"type", 6}}}, {"design", {{"transparentLearn", 1}}}};
    const std::string busy =
        "\nFW error description: \n The requested operation could not be completed as device is busy or unexpected error occurred.  \n";
    expectRuns({
        {"disable", REAL_TIME, {}, {"-ScheduleLearn", "-Dsbl", "-a0"}, 0,
         "Adapter 0: Disable: Battery Learn Scheduling Operation Successful.\n" + exitLine("00"),
         after(refreshed({sent(DESIGN), sent(STATUS), sent(SET_PROPS)}))},
        {"disable refused by the firmware: its status", REAL_TIME, {{"status", SET_PROPS, "0x2d"}},
         {"-ScheduleLearn", "-Dsbl", "-a0"}, 0x2d,
         "Adapter 0: Disable: Battery Learn Scheduling Operation Failed.\n" + busy + exitLine("2d"),
         after(refreshed({sent(DESIGN), sent(STATUS), sent(SET_PROPS, "status=0x2d")}))},
        {"information", REAL_TIME, {}, {"-ScheduleLearn", "-Info", "-a0"}, 0,
         "Battery Learn Scheduling Information:\n\nAuto Learn Mode:  Enabled\n"
         "Schedule Time: SAT, January 1, 2000 at 00:00:00 \nInterval : 4 Weeks\n" + exitLine("00"),
         after(refreshed({sent(DESIGN), sent(STATUS)}))},
        {"information of a transparent type-6 module is allowed", transparent6, {}, {"-ScheduleLearn", "-Info", "-a0"},
         0,
         "Battery Learn Scheduling Information:\n\nAuto Learn Mode:  Transparent\n"
         "Schedule Time: SAT, January 1, 2000 at 00:00:00 \nInterval : 4 Weeks\n" + exitLine("00"),
         after(refreshed({sent(DESIGN), sent(STATUS)}))},
        {"disable on a transparent type-6 module is refused", transparent6, {}, {"-ScheduleLearn", "-Dsbl", "-a0"},
         1,
         "Adapter 0: Can not set bbu Schedule Learn for KPRB Battery with Transparent Learn.\n" + exitLine("01"),
         after(refreshed({sent(DESIGN), sent(STATUS)}))},
        {"a start time on a transparent type-6 module is refused", transparent6, {},
         {"-ScheduleLearn", "-STARTTIME", "MON", "22", "-a0"}, 1,
         "Adapter 0: Can not set bbu Schedule Learn for KPRB Battery with Transparent Learn.\n" + exitLine("01"),
         after(refreshed({sent(DESIGN), sent(STATUS)}))},
        {"without real-time scheduling: 1", {}, {}, {"-ScheduleLearn", "-Info", "-a0"}, 1,
         "Adapter 0: Real Time Scheduling is not supported.\n" + exitLine("01"), after(refreshed({}))},
        {"the clock read fails: its status, nothing written", REAL_TIME, {{"status", SECONDS, "0x2d"}},
         {"-ScheduleLearn", "-STARTTIME", "MON", "22", "-a0"}, 0x2d,
         "Adapter 0: Get FW Time Failed.\n" + busy + exitLine("2d"),
         after(refreshed({sent(DESIGN), sent(STATUS), sent(SECONDS, "status=0x2d")}))},
    });
}

// ---------------------------------------------------------------------------------------------
// Properties from a file.

TEST_F(BatteryE2e, PropertiesFromFile)
{
    const nlohmann::json type5Modes = {{"battery", {{"status", {{"type", 5}}}, {"design", {{"modesSupported", 1}}}}}};
    const nlohmann::json transparent = {{"battery", {{"design", {{"transparentLearn", 1}}}}}};
    const std::vector<std::string> reads = {sent(PROPS), sent(STATUS), sent(DESIGN)};
    std::vector<std::string> written = reads;
    written.push_back(sent(SET_PROPS));
    const std::string done = "Adapter 0: Set BBU Properties Succeeded.\n" + exitLine("00");
    const std::string noMatch = "Adapter 0: No Property match found in File. Set BBU Properties Failed.\n" + exitLine("01");
    Case base{"", {}, {}, {"-SetBbuProperties", "-f", "bbu.txt", "-a0"}, 0, done, after(written)};
    auto with = [&](const char* what, nlohmann::json controller, const char* file, int exitCode, std::string out,
                    bool writes) {
        Case c = base;
        c.what = what;
        c.controller = std::move(controller);
        c.propertiesFile = file;
        c.exitCode = exitCode;
        c.out = std::move(out);
        c.commands = after(writes ? written : reads);
        return c;
    };
    expectRuns({
        with("accepted keys, blanks around them", {}, "  learnDelayInterval = 300 \n\nautoLearnMode=1\n", 0, done, true),
        with("only unknown keys, blank lines and comments", {}, "\n# learnDelayInterval = 5\nBBUMODE = 3\nfoo=1\n\n",
             1, noMatch, false),
        with("a line without a value is skipped", {}, "learnDelayInterval=\n", 1, noMatch, false),
        with("bbuMode on a battery without modes", {}, "learnDelayInterval=3\nbbuMode=3\n", 1,
             "Adapter 0: Does not support BBU Mode.\n" + exitLine("01"), false),
        with("bbuMode 0", type5Modes, "bbuMode=0\n", 1, "\nInvalid bbuMode mode \n" + exitLine("01"), false),
        with("bbuMode 256", type5Modes, "bbuMode=256\n", 1, "\nInvalid bbuMode mode \n" + exitLine("01"), false),
        with("bbuMode on a type-5 battery with modes", type5Modes, "bbuMode = 255\n", 0, done, true),
        with("autoLearnMode 3", {}, "autoLearnMode=3\n", 1,
             "Adapter 0: Set BBU Properties Failed.\n\nInvalid AutoLearn mode \n" + exitLine("01"), false),
        with("autoLearnMode 258 is 2: refused for a transparent learner", transparent, "autoLearnMode=258\n", 1,
             "Adapter 0: Set BBU Properties Failed.\n\nInvalid AutoLearn mode \n" + exitLine("01"), false),
        with("a transparent type-6 module", {{"battery", {{"status", {{"type", 6}}}, {"design", {{"transparentLearn", 1}}}}}},
             "learnDelayInterval=3\n", 1,
             "Adapter 0: Can not set bbu properties for KPRB Battery with Transparent Learn.\n" + exitLine("01"), false),
    });
}

TEST_F(BatteryE2e, PropertiesFileIsWrittenWholeWithOtherBytesKept)
{
    Case c{"two '=' signs; a later line overrides; the other bytes as read",
           {{"battery", {{"properties", {{"patch", {{"0x10", "a5a5"}}}}}}}},
           {},
           {"-SetBbuProperties", "-f", "bbu.txt", "-a0"},
           0,
           "Adapter 0: Set BBU Properties Succeeded.\n" + exitLine("00"),
           after({sent(PROPS), sent(STATUS), sent(DESIGN), sent(SET_PROPS)})};
    c.propertiesFile = "learnDelayInterval=7=9\nautoLearnMode = 2\nlearnDelayInterval = 300\n";
    expectRuns({c});
    nlohmann::json state = nlohmann::json::parse(readFile(lastHost + "/state.json"));
    const nlohmann::json& properties = state["controllers"][0]["battery"]["properties"];
    EXPECT_EQ(properties.value("learnDelayInterval", nlohmann::json()), nlohmann::json(44)) << properties.dump();
    EXPECT_EQ(properties.value("autoLearnMode", nlohmann::json()), nlohmann::json(2)) << properties.dump();
    EXPECT_EQ(properties.value("patch", nlohmann::json()), nlohmann::json({{"0x10", "a5a5"}})) << properties.dump();
}

TEST_F(BatteryE2e, PropertiesFileFailures)
{
    Case missing{"no such file", {}, {}, {"-SetBbuProperties", "-f", "none.txt", "-a0"}, 1,
                 "Adapter 0: Failed open file.\n" + exitLine("01"), after({sent(PROPS), sent(STATUS), sent(DESIGN)})};
    Case refused{"the write is refused", {}, {{"status", SET_PROPS, "0x2d"}}, {"-SetBbuProperties", "-f", "bbu.txt", "-a0"},
                 1,
                 "Adapter 0: Set BBU Properties Failed.\n" + exitLine("01"),
                 after({sent(PROPS), sent(STATUS), sent(DESIGN), sent(SET_PROPS, "status=0x2d")})};
    refused.propertiesFile = "learnDelayInterval=3\n";
    expectRuns({missing, refused});
}

// Every adapter of the list runs the command.
TEST_F(BatteryE2e, AllAdapters)
{
    std::string hostDir = makeSimHost("two");
    cleanup.push_back(hostDir.substr(0, hostDir.rfind('/')));
    for (const char* adapters : {"-aALL", "-a0,1"}) {
        SCOPED_TRACE(adapters);
        RunSpec spec;
        spec.args = {"-AdpBbuCmd", "-BbuMfgSeal", adapters};
        spec.env = {{"QUILLCLI_SIM_HOST", hostDir}, {"TZ", UTC}};
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, std::string(adapters[2] == '0' ? "," : "") + BLANK_OUT +
                             "Adapter 0: BBU MFG SEAL Succeeded.\nAdapter 1: BBU MFG SEAL Succeeded.\n" + exitLine("00"));
    }
}

} // namespace
