// Saving a configuration to a file (-CfgSave) and restoring it (-CfgRestore) through the real
// binary and simulated hosts: console, exit code, the file left in the working folder, the
// firmware commands that reached the controller, and the configuration the host keeps.
#include "FirmwareCaseE2e.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

using namespace e2ecase;

const std::string SAVED = "Config data is saved to the file.\n";
const std::string SAVE_FAILED = "Failed to get config data.\n";
const std::string RESTORED = "Config data is restored to the adapter.\n";
const std::string RESTORE_FAILED = "Failed to restore config data.\n";

const char* const GET_PROPERTIES = "0x01020100";
const char* const SET_PROPERTIES = "0x01020200";
const char* const CFG_ADD = "0x04020000";

// What a run sends on the preset's controller (host 2) before the command's own commands: the
// discovery, the check, and the processor's own refresh of the model.
Lines before()
{
    return Lines{sent(2, INFO)} + action(2, true, {});
}

// The restore's own refresh, the controller information read by each member's spin-up step,
// the add, the properties read for their sequence number and the write (the operating-system
// step between them reads only the logical-drive list, a model read).
Lines restoreCommands(const char* addStatus = "0x00")
{
    Lines out = refreshReads(2) + Lines{sent(2, INFO), sent(2, INFO), sent(2, CFG_ADD, addStatus)};
    if (std::string(addStatus) == "0x00")
        out = out + Lines{sent(2, GET_PROPERTIES), sent(2, SET_PROPERTIES)};
    return out;
}

class ConfigSaveRestoreE2e : public FirmwareCaseE2e {
protected:
    // A run in `work` on the host folder `dir`.
    RunResult runIn(const std::string& dir, const std::string& work, const Lines& args)
    {
        RunSpec spec;
        spec.args = args;
        spec.env = {{"QUILLCLI_SIM_HOST", dir}};
        spec.workDir = work;
        RunResult r = runProgram(spec);
        EXPECT_EQ(r.err, "");
        return r;
    }

    std::string work()
    {
        const std::string dir = makeTempDir("quillsaved");
        cleanup.push_back(dir);
        return dir;
    }

    // The saved file of the preset "one", made by a run on a host of its own.
    std::string savedFile()
    {
        const std::string dir = host({"", "one", {}, {}, {}, 0, "", {}, {}});
        const std::string folder = work();
        EXPECT_EQ(runIn(dir, folder, {"-CfgSave", "-f", "saved.cfg", "-a0"}).exitCode, 0);
        return readFile(folder + "/saved.cfg");
    }
};

}  // namespace

TEST_F(ConfigSaveRestoreE2e, SaveThenRestoreOnAClearedController)
{
    const std::string dir = host({"", "one", {}, {}, {}, 0, "", {}, {}});
    const std::string folder = work();
    RunResult save = runIn(dir, folder, {"-CfgSave", "-f", "saved.cfg", "-a0"});
    EXPECT_EQ(save.out, BLANK_OUT + SAVED + exitLine("00"));
    EXPECT_EQ(save.exitCode, 0);
    ASSERT_EQ(save.files["saved.cfg"].size(), 728u) << "88 + a buffer of 576 + 64";
    EXPECT_EQ(save.files["saved.cfg"].substr(0, 30), std::string("1.00.00\0ORVANESASCONFIGSTRUCT\0", 30));
    EXPECT_EQ(save.files.count("saved.cfg.tmp"), 0u);
    EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(dir)), before() + Lines{sent(2, GET_PROPERTIES)});

    EXPECT_EQ(runIn(dir, folder, {"-CfgClr", "-a0"}).exitCode, 0);
    nlohmann::json state = nlohmann::json::parse(readFile(dir + "/state.json"));
    ASSERT_TRUE(state["controllers"][0]["lds"].empty());
    ::remove((dir + "/commands.log").c_str());

    RunResult restore = runIn(dir, folder, {"-CfgRestore", "-f", "saved.cfg", "-a0"});
    EXPECT_EQ(restore.out, BLANK_OUT + RESTORED + exitLine("00"));
    EXPECT_EQ(restore.exitCode, 0);
    EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(dir)), before() + restoreCommands());
    EXPECT_EQ(mailboxes(dir, {CFG_ADD}), Lines{"opcode=0x04020000 mbox=0x00000000,0x00000000,0x00000000"});
    state = nlohmann::json::parse(readFile(dir + "/state.json"));
    const nlohmann::json& c = state["controllers"][0];
    ASSERT_EQ(c["lds"].size(), 1u);
    EXPECT_EQ(c["lds"][0]["targetId"], 0);
    EXPECT_EQ(c["lds"][0]["raidLevel"], 1);
    ASSERT_EQ(c["arrays"].size(), 1u);
    EXPECT_EQ(c["arrays"][0]["drives"], nlohmann::json::parse("[8, 9]"));
    EXPECT_EQ(c["properties"]["sequence"], 2) << "the controller's 1 written back, then moved on";
}

TEST_F(ConfigSaveRestoreE2e, AFailedSaveLeavesAnEarlierFileAlone)
{
    struct Row {
        const char* what;
        Lines faults;
        Lines args;
        bool blockTemporaryName;          // a folder stands where the temporary file would go
        int exitCode;
        std::string out;
        Lines own;                        // the commands after the processor's refresh
    };
    const std::vector<Row> rows = {
        {"a folder that does not exist", {}, {"-CfgSave", "-f", "no/such/dir/saved.cfg", "-a0"}, false, 1,
         BLANK_OUT + SAVE_FAILED + exitLine("01"), {sent(2, GET_PROPERTIES)}},
        {"the temporary file cannot be made", {}, {"-CfgSave", "-f", "saved.cfg", "-a0"}, true, 1,
         BLANK_OUT + SAVE_FAILED + exitLine("01"), {sent(2, GET_PROPERTIES)}},
        {"the properties cannot be read", {"status", GET_PROPERTIES, "0x2d"}, {"-CfgSave", "-f", "saved.cfg", "-a0"},
         false, 0x2d, BLANK_OUT + SAVE_FAILED + DEVICE_BUSY + exitLine("2d"), {sent(2, GET_PROPERTIES, "0x2d")}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Case made{"", "one", {}, {}, {}, 0, "", {}, {}};
        if (!row.faults.empty())
            made.faults = {row.faults};
        const std::string dir = host(made);
        const std::string folder = work();
        std::ofstream(folder + "/saved.cfg") << "earlier file\n";
        if (row.blockTemporaryName) {
            ::mkdir((folder + "/saved.cfg.tmp").c_str(), 0700);
            std::ofstream(folder + "/saved.cfg.tmp/x") << "x";
        }
        RunResult r = runIn(dir, folder, row.args);
        EXPECT_EQ(r.out, row.out);
        EXPECT_EQ(r.exitCode, row.exitCode);
        EXPECT_EQ(r.files["saved.cfg"], "earlier file\n");
        EXPECT_EQ(r.files.count("saved.cfg.tmp"), 0u);
        EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(dir)), before() + row.own);
    }
}

TEST_F(ConfigSaveRestoreE2e, ARefusedRestoreSendsNothingToTheConfiguration)
{
    const std::string saved = savedFile();
    ASSERT_EQ(saved.size(), 728u);
    const nlohmann::json clearedEdit = nlohmann::json::parse(R"({"lds": [], "arrays": [],
        "drives": [{"deviceId": 8, "enclosureId": 252, "slot": 0}, {"deviceId": 9, "enclosureId": 252, "slot": 1},
                   {"deviceId": 10, "enclosureId": 252, "slot": 2}, {"deviceId": 11, "enclosureId": 252, "slot": 3}]})");
    const nlohmann::json drivesGone = nlohmann::json::parse(R"({"lds": [], "arrays": [],
        "drives": [{"deviceId": 10, "enclosureId": 252, "slot": 2}, {"deviceId": 11, "enclosureId": 252, "slot": 3}]})");
    struct Row {
        const char* what;
        nlohmann::json edit;
        Lines faults;
        std::string file;
        int exitCode;
        std::string out;
        Lines own;                        // the commands after the processor's refresh
    };
    const std::vector<Row> rows = {
        {"a file one byte longer than it says", clearedEdit, {}, saved + std::string(1, '\0'), 1,
         BLANK_OUT + RESTORE_FAILED + exitLine("01"), {}},
        {"a file one byte shorter", clearedEdit, {}, saved.substr(0, saved.size() - 1), 1,
         BLANK_OUT + RESTORE_FAILED + exitLine("01"), {}},
        {"a file damaged inside", clearedEdit, {}, saved.substr(0, 200) + "x" + saved.substr(201), 1,
         BLANK_OUT + RESTORE_FAILED + exitLine("01"), {}},
        {"the configuration still there", nlohmann::json::object(), {}, saved, 1,
         BLANK_OUT + RESTORE_FAILED + exitLine("01"), refreshReads(2)},
        {"the saved drives no longer present", drivesGone, {}, saved, 1, BLANK_OUT + RESTORE_FAILED + exitLine("01"),
         refreshReads(2)},
        // The exit code is the processor's -1, not the firmware's status, so no description of
        // that status follows.
        {"the controller refuses the configuration", clearedEdit, {"status", CFG_ADD, "0x2d"}, saved, 1,
         BLANK_OUT + RESTORE_FAILED + exitLine("01"), restoreCommands("0x2d")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Case made{"", "one", row.edit, {}, {}, 0, "", {}, {}};
        if (!row.faults.empty())
            made.faults = {row.faults};
        const std::string dir = host(made);
        const std::string folder = work();
        std::ofstream(folder + "/saved.cfg", std::ios::binary) << row.file;
        RunResult r = runIn(dir, folder, {"-CfgRestore", "-f", "saved.cfg", "-a0"});
        EXPECT_EQ(r.out, row.out);
        EXPECT_EQ(r.exitCode, row.exitCode);
        EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(dir)), before() + row.own);
        EXPECT_EQ(r.files["saved.cfg"], row.file) << "the file is only read";
    }
}
