// The SAS phy, link, connector-mode and drive-mapping commands through the real binary against
// described controllers: the console text, the exit code and the firmware commands that reached
// the controller after the check (discovery, refresh and check are the same for every row; the
// reads that build the model are left out).
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
const char* const PHY_LIST = "0x07010000";
const char* const PHY_CONTROL = "0x07040000";
const char* const SET_PHY_SPEED = "0x07050000";
const char* const GET_MUX = "0x07020100";
const char* const SET_MUX = "0x07020200";
const char* const GET_DEFAULTS = "0x010e0201";
const char* const SET_DEFAULTS = "0x010e0202";
const char* const SET_PCI_SPEED = "0x010e0103";

std::string sent(const char* opcode, const char* outcome = "status=0x00")
{
    return std::string("host=2 opcode=") + opcode + " " + outcome;
}

// A processor that refreshes the model first reads it again.
std::vector<std::string> refreshed(std::vector<std::string> own)
{
    std::vector<std::string> all = refreshReads(2);
    all.insert(all.end(), own.begin(), own.end());
    return all;
}

struct Case {
    const char* what;
    nlohmann::json controller;                      // merged into the preset's first controller
    std::vector<std::vector<std::string>> faults;   // each the arguments of one "quillsim fault HOST ..."
    std::vector<std::string> args;
    int exitCode;
    std::string out;                                // after the blank-out line, before the exit line
    std::vector<std::string> commands;              // after the controller check
    std::vector<WrittenData> written = {};          // the records written, where a row checks them
};

class SasCommandsE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    void expectRuns(const std::vector<Case>& runs)
    {
        for (const Case& run : runs) {
            SCOPED_TRACE(run.what);
            std::string dir = makeSimHost("one");
            cleanup.push_back(dir.substr(0, dir.rfind('/')));
            const std::string path = dir + "/state.json";
            nlohmann::json state = nlohmann::json::parse(readFile(path));
            state["controllers"][0].merge_patch(run.controller);
            std::ofstream(path) << state.dump(2);
            for (const std::vector<std::string>& fault : run.faults)
                ASSERT_EQ(addSimFault(dir, fault), "");
            RunSpec spec;
            spec.args = run.args;
            spec.env = {{"QUILLCLI_SIM_HOST", dir}};
            RunResult r = runProgram(spec);
            cleanup.push_back(r.workDir);
            char code[8];
            snprintf(code, sizeof code, "%02x", run.exitCode);
            EXPECT_EQ(r.exitCode, run.exitCode);
            // The scanner echoes the separators of the line's lists and times.
            std::string echo;
            for (const std::string& arg : run.args)
                for (char ch : arg)
                    if (ch == ',' || ch == ':')
                        echo += ch;
            EXPECT_EQ(r.out, echo + BLANK_OUT + run.out + exitLine(code));
            EXPECT_EQ(r.err, "");
            std::vector<std::string> expected = {sent(INFO)};
            for (const std::string& refresh : refreshReads(2))
                expected.push_back(refresh);
            expected.push_back(sent(OEM));
            expected.insert(expected.end(), run.commands.begin(), run.commands.end());
            EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(dir)), expected);
            for (const WrittenData& data : run.written)
                EXPECT_EQ(writtenDataMismatches(dir, data), "");
            lastState = nlohmann::json::parse(readFile(path));
        }
    }

    std::vector<std::string> cleanup;
    nlohmann::json lastState;
};

const nlohmann::json PHYS = {
    {"phyList",
     {{"phys",
       {{{"deviceType", "0x40"}},
        {{"sasAddress", "0x5000c50012345678"}, {"deviceType", "0x49"}, {"linkRate", 8}, {"invalidDwords", 5},
         {"disparityErrors", 6}, {"lossOfSync", 7}, {"resetProblems", 8}},
        {{"disabled", true}},
        {{"invalidDwords", 99}}}}}}};

}  // namespace

TEST_F(SasCommandsE2e, PhyInformation)
{
    expectRuns({
        {"an end device that is also an initiator shows its type", PHYS, {}, {"-PhyInfo", "-phy1", "-a0"}, 0,
         "    Phy 1 Information:\n    SAS Address   : 0x5000C50012345678\n    Phy Identifier: 1\n"
         "    Device Type   : End Device\n    Link Speed is : 3.0Gb/s  \n",
         {sent(PHY_LIST)}},
        {"no type bits: the first flag", PHYS, {}, {"-PhyInfo", "-phy0", "-a0"}, 0,
         "    Phy 0 Information:\n    SAS Address   : 0x0000000000000000\n    Phy Identifier: 0\n"
         "    Device Type   : SSP Initiator\n    Link Speed is : No limit  \n",
         {sent(PHY_LIST)}},
        {"a phy number equal to the count", PHYS, {}, {"-PhyInfo", "-phy4", "-a0"}, 1, "Phy No. 4  is Invalid\n",
         {sent(PHY_LIST)}},
        {"phy 16 is refused whatever the count says", {{"phyList", {{"patch", {{"0x0", "28000000"}}}}}}, {},
         {"-PhyInfo", "-phy16", "-a0"}, 1, "Phy No. 16  is Invalid\n", {sent(PHY_LIST)}},
        {"the list cannot be read", PHYS, {{"status", PHY_LIST, "0x2d"}}, {"-PhyInfo", "-phy1", "-a0"}, 0x2d,
         "Failed to Get Phy Information on Adapter 0\n" + DEVICE_BUSY, {sent(PHY_LIST, "status=0x2d")}},
    });
}

TEST_F(SasCommandsE2e, PhyErrorCounters)
{
    const std::string counters01 =
        "Adapter #0\n\n================\n"
        "Phy No: 0 \nInvalid DWord Count           : 0 \nRunning Disparity Error Count : 0 \n"
        "Loss of DWord Synch Count     : 0 \nPhy Reset problem Count       : 0 \n\n"
        "Phy No: 1 \nInvalid DWord Count           : 5 \nRunning Disparity Error Count : 6 \n"
        "Loss of DWord Synch Count     : 7 \nPhy Reset problem Count       : 8 \n\n";
    nlohmann::json flat = PHYS;
    flat["info"] = {{"storageFeatures", "0x08"}};
    expectRuns({
        {"the listing ends at the first disabled phy", PHYS, {}, {"-PhyErrorCounters", "-a0"}, 0,
         counters01 + "Phy No. 2 is Disabled.\n",
         refreshed({sent(PHY_LIST), sent(PHY_CONTROL), sent(PHY_CONTROL)})},
        {"flat phy numbers when the controller offers them", flat, {}, {"-PhyErrorCounters", "-a0"}, 0,
         counters01 + "Phy No. 2 is Disabled.\n",
         refreshed({sent(PHY_LIST), sent(PHY_CONTROL), sent(PHY_CONTROL)})},
        {"a counter read fails", PHYS, {{"status", PHY_CONTROL, "0x2d"}}, {"-PhyErrorCounters", "-a0"}, 0x2d,
         "Adapter #0\n\n================\nAdapter #0: Failed to perform Display Phy Error Counters operation.\n" +
             DEVICE_BUSY,
         refreshed({sent(PHY_LIST), sent(PHY_CONTROL, "status=0x2d")})},
        {"the phy list cannot be read", PHYS, {{"status", PHY_LIST, "0x2d"}}, {"-PhyErrorCounters", "-a0"}, 0x2d,
         "Adapter #0: Failed to perform Display Phy Error Counters operation.\n" + DEVICE_BUSY,
         refreshed({sent(PHY_LIST, "status=0x2d")})},
    });
}

TEST_F(SasCommandsE2e, PhyLinkSpeed)
{
    const nlohmann::json speed8 = {{"phyList", PHYS["phyList"]}, {"info", {{"deviceInterface", "0x3e"}}}};
    expectRuns({
        {"speed 3 is refused before anything is sent", PHYS, {}, {"-PhySetLinkSpeed", "-phy", "1", "3", "-a0"}, 1,
         "Phy-Link-Speed can have only 5 values(0,1,2,4 and 8).\n", {}},
        {"speed 8 needs the controller's 12 Gb/s support", PHYS, {}, {"-PhySetLinkSpeed", "-phy", "1", "8", "-a0"}, 1,
         " Requested Phy-Link-Speed is not supported on this controller\n", {sent(INFO)}},
        {"speed 8 where supported", speed8, {}, {"-PhySetLinkSpeed", "-phy", "1", "8", "-a0"}, 0, "",
         {sent(INFO), sent(SET_PHY_SPEED)}},
        {"the controller refuses", PHYS, {{"status", SET_PHY_SPEED, "0x2d"}}, {"-PhySetLinkSpeed", "-phy", "1", "4", "-a0"},
         0x2d, "Failed to Get Phy Information on Adapter 0\n" + DEVICE_BUSY, {sent(INFO), sent(SET_PHY_SPEED, "status=0x2d")}},
        {"speed 4 removes nothing else", PHYS, {}, {"-PhySetLinkSpeed", "-phy", "1", "4", "-a0"}, 0, "",
         {sent(INFO), sent(SET_PHY_SPEED)}},
    });
    EXPECT_EQ(lastState["controllers"][0]["phyList"]["phys"][1]["linkRate"], 16) << "6.0 Gb/s in bits 2-7";
}

TEST_F(SasCommandsE2e, PciLinkSpeed)
{
    const nlohmann::json pci = {{"info", {{"pciMaxLinkSpeed", 3}, {"linkSpeed", 2}}}};
    expectRuns({
        {"not settable: -1 and nothing printed", nlohmann::json::object(), {}, {"-PciSetLinkSpeed", "2", "-a0"}, 1, "",
         {sent(INFO)}},
        {"above the highest speed: 1", pci, {}, {"-PciSetLinkSpeed", "4", "-a0"}, 1, "", {sent(INFO)}},
        {"the current speed: nothing sent", pci, {}, {"-PciSetLinkSpeed", "2", "-a0"}, 0, "", {sent(INFO)}},
        {"a change waits for the reboot", pci, {}, {"-PciSetLinkSpeed", "3", "-a0"}, 0x59,
         "Please reboot the system for the changes to take effect\n"
         "\nFW error description: \n To complete the requested operation, please reboot the system.  \n",
         {sent(INFO), sent(SET_PCI_SPEED, "status=0x59")}},
    });
}

TEST_F(SasCommandsE2e, ConnectorModes)
{
    const nlohmann::json two = {{"connectorModes", {{"modes", {1, 3}}}}};
    const nlohmann::json fixed = {{"connectorModes", {{"modes", {1, 0}}}}};
    const std::string count = "Adapter 0: Total Connector Count is 2\n";
    const std::string setDone =
        "Adapter 0: Set Connector Mode successful.\nPlease reboot the system for the changes to take effect\n";
    expectRuns({
        {"every connector", two, {}, {"-AdpGetConnectorMode", "-ConnectorAll", "-a0"}, 0,
         count + "Adapter 0: Connector 0 Mode Internal\nAdapter 0: Connector 1 Mode Auto\n",
         refreshed({sent(GET_MUX)})},
        {"a connector the controller does not have", two, {}, {"-AdpGetConnectorMode", "-Connector5", "-a0"}, 1,
         count + "Adapter 0: Failed to Get Connector Mode. \n", refreshed({sent(GET_MUX)})},
        {"no connector", nlohmann::json::object(), {}, {"-AdpGetConnectorMode", "-ConnectorAll", "-a0"}, 1,
         "Adapter #0: No Connector is Found.\n", refreshed({sent(GET_MUX)})},
        {"set listed connectors, written once", two, {}, {"-AdpSetConnectorMode", "-External", "-Connector0,1", "-a0"}, 0,
         count + setDone, refreshed({sent(GET_MUX), sent(SET_MUX)}),
         // The count of connectors, then both modes external.
         {{SET_MUX, 0, {{0, "0202020000"}}}}},
        {"a connector whose mode cannot be set: nothing written", fixed, {},
         {"-AdpSetConnectorMode", "-Auto", "-ConnectorAll", "-a0"}, 1, count + "Adapter 0: Failed to Set Connector Mode.\n",
         refreshed({sent(GET_MUX)})},
        {"the write fails", two, {{"status", SET_MUX, "0x2d"}}, {"-AdpSetConnectorMode", "-Internal", "-Connector1", "-a0"},
         0x2d, count + "Adapter 0: Operation Failed.\n" + DEVICE_BUSY,
         refreshed({sent(GET_MUX), sent(SET_MUX, "status=0x2d")})},
    });
    EXPECT_EQ(lastState["controllers"][0]["connectorModes"]["modes"], nlohmann::json({1, 3})) << "nothing written";
}

TEST_F(SasCommandsE2e, DirectDriveMapping)
{
    const nlohmann::json on = {{"mfcDefaults", {{"directPdMapping", 1}}}};
    const std::string setDone = "Adapter 0: Direct Pd Mapping is Set Successfully. \nThis change requires reboot.\n";
    expectRuns({
        {"shown", nlohmann::json::object(), {}, {"-DirectPdMapping", "-Dsply", "-a0"}, 0,
         "Adapter 0: Direct Pd Mapping is: Disabled \n", {sent(GET_DEFAULTS)}},
        {"enabled when it already is: written all the same", on, {}, {"-DirectPdMapping", "-Enbl", "-a0"}, 0, setDone,
         {sent(GET_DEFAULTS), sent(SET_DEFAULTS)}, {{SET_DEFAULTS, 0, {{31, "01"}}}}},
        {"the defaults cannot be read", on, {{"status", GET_DEFAULTS, "0x2d"}}, {"-DirectPdMapping", "-Dsbl", "-a0"}, 1,
         "Failed to get data on Adapter 0\n", {sent(GET_DEFAULTS, "status=0x2d")}},
        {"disabled", on, {}, {"-DirectPdMapping", "-Dsbl", "-a0"}, 0, setDone, {sent(GET_DEFAULTS), sent(SET_DEFAULTS)},
         {{SET_DEFAULTS, 0, {{31, "00"}}}}},
    });
    // Back to the default, which the saved description leaves out.
    EXPECT_EQ(lastState["controllers"][0].value(nlohmann::json::json_pointer("/mfcDefaults/directPdMapping"), 0), 0);
}
