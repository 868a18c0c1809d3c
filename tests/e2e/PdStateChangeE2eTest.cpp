// The drive state changes (-PDOffline, -PDMakeGood, -PDMakeJBOD) through the real QuillCli
// binary and simulated hosts: the console text, the exit code, the firmware commands that
// reached the controller, and the state the controller keeps for the next run.
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

const char* const INFO = "0x01010000";
const char* const OEM = "0x010e8481";
const char* const SET_STATE = "0x02030100";

std::string sent(const char* opcode, const char* status = "0x00")
{
    return std::string("host=2 opcode=") + opcode + " status=" + status;
}

// Discovery, the refresh before the command and the controller check, without the model's reads.
Lines checked()
{
    return Lines{sent(INFO)} + refreshReads(2) + Lines{sent(OEM)};
}

// Drives 8-11 in slots 0-3 of enclosure 252 with these states, in no array.
nlohmann::json drivesInStates(const std::vector<int>& states)
{
    nlohmann::json drives = nlohmann::json::array();
    for (size_t i = 0; i < states.size(); ++i)
        drives.push_back({{"deviceId", 8 + i}, {"enclosureId", 252}, {"slot", i}, {"state", states[i]}});
    return {{"drives", drives}, {"arrays", nlohmann::json::array()}, {"lds", nlohmann::json::array()}};
}

struct Case {
    const char* what;
    nlohmann::json edit;     // merged into the controller of preset "one" (drives 8, 9 online in a RAID 1)
    Lines args;
    int exitCode;
    std::string out;
    Lines commands;          // after discovery, refresh and check (the model's reads left out)
    Lines setStates;         // the mailboxes of the state changes sent
    std::vector<int> after;  // the states of drives 8-11 in the next run's description
};

class PdStateChangeE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    static Lines setStateMailboxes(const std::string& hostDir)
    {
        Lines out;
        std::istringstream log(readFile(hostDir + "/commands.log"));
        std::string line;
        while (std::getline(log, line)) {
            const size_t at = line.find("mbox=");
            if (line.find(std::string("opcode=") + SET_STATE) != std::string::npos)
                out.push_back(line.substr(at + 5, line.find(" len=") - at - 5));
        }
        return out;
    }

    // A number of the saved state, written as a number or as a hex text ("0x18").
    static int savedNumber(const nlohmann::json& d, const char* key)
    {
        const nlohmann::json v = d.value(key, nlohmann::json(0));
        return v.is_string() ? std::stoi(v.get<std::string>(), nullptr, 0) : v.get<int>();
    }

    static std::vector<int> savedStates(const std::string& hostDir)
    {
        std::vector<int> states;
        const nlohmann::json state = nlohmann::json::parse(readFile(hostDir + "/state.json"));
        for (const nlohmann::json& d : state["controllers"][0]["drives"]) {
            if (savedNumber(d, "type") == 13)
                continue;   // the enclosure's own entry has no drive state
            states.push_back(savedNumber(d, "state"));
        }
        return states;
    }

    void expectRuns(const std::vector<Case>& runs)
    {
        for (const Case& run : runs) {
            SCOPED_TRACE(run.what);
            const std::string dir = makeSimHost("one");
            cleanup.push_back(dir.substr(0, dir.rfind('/')));
            if (!run.edit.is_null()) {
                const std::string path = dir + "/state.json";
                nlohmann::json state = nlohmann::json::parse(readFile(path));
                state["controllers"][0].merge_patch(run.edit);
                std::ofstream(path) << state.dump(2);
            }
            RunSpec spec;
            spec.args = run.args;
            spec.env = {{"QUILLCLI_SIM_HOST", dir}};
            RunResult r = runProgram(spec);
            cleanup.push_back(r.workDir);
            EXPECT_EQ(r.exitCode, run.exitCode);
            EXPECT_EQ(r.out, run.out);
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(dir)), checked() + run.commands);
            EXPECT_EQ(setStateMailboxes(dir), run.setStates);
            EXPECT_EQ(savedStates(dir), run.after);
        }
    }

    std::vector<std::string> cleanup;
};

const std::string FAILED_0 = "Adapter: 0: Failed to change PD state at EnclId-252 SlotId-0.\n";
const std::string NEEDS_FORCE =
    "To prevent data loss and adverse effect on system, please stop all the IOs to this drive.If it is a file "
    "system drive, please unmount it.\n\n use -force option if you are sure to perform this operation\n";

TEST_F(PdStateChangeE2e, Offline)
{
    expectRuns({
        {"an online member goes offline", nullptr, {"-PDOffline", "-PhysDrv[252:0]", "-a0"}, 0,
         BLANK_OUT + "Adapter: 0: EnclId-252 SlotId-0 state changed to OffLine.\n" + exitLine("00"),
         {sent(SET_STATE)}, {"0x00010008,0x00000010,0x00000000"}, {0x10, 0x18, 0, 0}},
        {"a drive already offline: nothing is sent", {{"drives", {{{"deviceId", 8}, {"enclosureId", 252}, {"state", 0x10}}}}},
         {"-PDOffline", "-PhysDrv[252:0]", "-a0"}, 1, BLANK_OUT + FAILED_0 + exitLine("01"), {}, {}, {0x10}},
        {"the second drive is not there: the first keeps its change", nullptr,
         {"-PDOffline", "-PhysDrv[252:1,252:7]", "-a0"}, 1,
         BLANK_OUT + "Adapter: 0: EnclId-252 SlotId-1 state changed to OffLine.\n" +
             "Adapter 0: Device at Enclosure - 252, Slot - 7 is not found.\n" + exitLine("01"),
         {sent(SET_STATE)},
         {"0x00010009,0x00000010,0x00000000"}, {0x18, 0x10, 0, 0}},
        {"the firmware refuses the change", nullptr, {"-PDOffline", "-PhysDrv[252:2]", "-a0"}, 1,
         BLANK_OUT + "Adapter: 0: Failed to change PD state at EnclId-252 SlotId-2.\n" + exitLine("01"),
         {sent(SET_STATE, "0x32")}, {"0x0001000a,0x00000010,0x00000000"},
         {0x18, 0x18, 0, 0}},
    });
}

TEST_F(PdStateChangeE2e, MakeGoodAndJbod)
{
    expectRuns({
        {"a JBOD drive without -Force: the warning, nothing sent", drivesInStates({0x40}),
         {"-PDMakeGood", "-PhysDrv[252:0]", "-a0"}, 1, BLANK_OUT + NEEDS_FORCE + exitLine("01"), {}, {}, {0x40}},
        {"a JBOD drive with -Force", drivesInStates({0x40}), {"-PDMakeGood", "-PhysDrv[252:0]", "-Force", "-a0"}, 0,
         BLANK_OUT + "Adapter: 0: EnclId-252 SlotId-0 state changed to Unconfigured-Good.\n" + exitLine("00"),
         {sent(SET_STATE)}, {"0x00010008,0x00000000,0x00000000"}, {0}},
        {"an unconfigured bad drive needs no -Force", drivesInStates({0x01}), {"-PDMakeGood", "-PhysDrv[252:0]", "-a0"}, 0,
         BLANK_OUT + "Adapter: 0: EnclId-252 SlotId-0 state changed to Unconfigured-Good.\n" + exitLine("00"),
         {sent(SET_STATE)}, {"0x00010008,0x00000000,0x00000000"}, {0}},
        {"the controller's conversion limit is reached", [] {
             nlohmann::json e = drivesInStates({0x40});
             e["jbodConversionsLeft"] = 0;
             return e;
         }(),
         {"-PDMakeGood", "-PhysDrv[252:0]", "-Force", "-a0"}, 0x5f,
         BLANK_OUT +
             "The drive cannot be converted from JBOD to Unconfigured Good because, Maximum allowed drive conversion has "
             "been reached. \n" +
             "\nFW error description: \n The drive cannot be converted from JBOD to unconfigured good because, Maximum "
             "allowed drive conversion has been reached. \n" +
             exitLine("5f"),
         {sent(SET_STATE, "0x5f")}, {"0x00010008,0x00000000,0x00000000"}, {0x40}},
        {"three drives become JBOD", drivesInStates({0, 0, 0, 0}), {"-PDMakeJBOD", "-PhysDrv[252:1,252:2,252:3]", "-a0"}, 0,
         BLANK_OUT + "Adapter: 0: EnclId-252 SlotId-1 state changed to JBOD.\n" +
             "Adapter: 0: EnclId-252 SlotId-2 state changed to JBOD.\n" +
             "Adapter: 0: EnclId-252 SlotId-3 state changed to JBOD.\n" + exitLine("00"),
         {sent(SET_STATE), sent(SET_STATE), sent(SET_STATE)},
         {"0x00010009,0x00000040,0x00000000", "0x0001000a,0x00000040,0x00000000", "0x0001000b,0x00000040,0x00000000"},
         {0, 0x40, 0x40, 0x40}},
    });
}

}  // namespace
