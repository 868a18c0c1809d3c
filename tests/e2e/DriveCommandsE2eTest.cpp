// The drive commands on single drives of an enclosure through the real QuillCli binary and a
// host written as a description (tests/e2e/data/drive-commands-host.json): online, mark
// missing, the missing rows, locate, prepare for removal, replacing a missing drive and hot
// spares. Each row checks the console text, the exit code, the firmware commands that reached
// the controller (with the mailboxes of the command that acts), and what the controller keeps
// for the next run.
#include "E2eHarness.h"
#include "TranscriptReaders.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

const char* const INFO = "0x01010000";
const char* const OEM = "0x010e8481";
const char* const SET_STATE = "0x02030100";
const char* const LOCATE_START = "0x02070100";
const char* const LOCATE_STOP = "0x02070200";
const char* const MARK_MISSING = "0x02080100";
const char* const REPLACE_MISSING = "0x02080200";
const char* const PREPARE_REMOVAL = "0x02090100";
const char* const UNDO_PREPARE_REMOVAL = "0x02090200";
const char* const MAKE_HOTSPARE = "0x04040000";
const char* const REMOVE_HOTSPARE = "0x04050000";
const char* const CONFIG_READ = "0x04010000";

std::string sent(const char* opcode, const char* status = "0x00", unsigned host = 2)
{
    return "host=" + std::to_string(host) + " opcode=" + opcode + " status=" + status;
}

// Discovery, the refresh before the command and the controller check, without the model's reads.
Lines checked(unsigned host = 2)
{
    return Lines{sent(INFO, "0x00", host)} + refreshReads(host) + Lines{sent(OEM, "0x00", host)};
}

std::string firmwareError(const std::string& description)
{
    return "\nFW error description: \n " + description + "\n";
}

const std::string WRONG_STATE =
    firmwareError("The specified device is in a state that doesn't support the requested command.  ");

// A value of the saved description: numbers may be written as hex texts.
nlohmann::json normalized(const nlohmann::json& value)
{
    if (value.is_string()) {
        const std::string text = value.get<std::string>();
        if (text.rfind("0x", 0) == 0)
            return std::stoi(text, nullptr, 16);
    }
    if (value.is_array() || value.is_object()) {
        nlohmann::json out = value;
        for (auto& item : out)
            item = normalized(item);
        return out;
    }
    return value;
}

struct Kept {
    const char* pointer;     // within the controller, e.g. "/drives/2/state"
    nlohmann::json value;    // null: the key is left out (its default)
};

struct Case {
    const char* what;
    nlohmann::json edit;     // merged into the description's controller
    Lines args;
    int exitCode;
    std::string out;
    Lines commands;          // after discovery, refresh and check (the model's reads left out)
    const char* opcode;      // whose mailboxes are checked
    Lines mailboxes;
    std::vector<Kept> kept;  // what the next run's description holds
    std::vector<WrittenData> written = {};   // the records written, where a row checks them
};

class DriveCommandsE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    static nlohmann::json description(const nlohmann::json& edit)
    {
        nlohmann::json d =
            nlohmann::json::parse(readFile(std::string(QUILL_SOURCE_DIR) + "/tests/e2e/data/drive-commands-host.json"));
        if (!edit.is_null())
            d["controllers"][0].merge_patch(edit);
        return d;
    }

    std::string host(const nlohmann::json& described)
    {
        const std::string dir = makeSimHostFrom(described.dump(2));
        cleanup.push_back(dir.substr(0, dir.rfind('/')));
        return dir;
    }

    RunResult run(const std::string& dir, const Lines& args)
    {
        RunSpec spec;
        spec.args = args;
        spec.env = {{"QUILLCLI_SIM_HOST", dir}};
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        return r;
    }

    // The mailboxes of every logged command with the opcode, as "0x...,0x...,0x...".
    static Lines mailboxesOf(const std::string& dir, const char* opcode)
    {
        Lines out;
        std::istringstream log(readFile(dir + "/commands.log"));
        std::string line;
        while (std::getline(log, line)) {
            const size_t at = line.find("mbox=");
            if (line.find(std::string("opcode=") + opcode + " ") != std::string::npos)
                out.push_back(line.substr(at + 5, line.find(" len=") - at - 5));
        }
        return out;
    }

    static nlohmann::json savedController(const std::string& dir, unsigned index = 0)
    {
        return nlohmann::json::parse(readFile(dir + "/state.json"))["controllers"][index];
    }

    void expectRuns(const std::vector<Case>& runs)
    {
        for (const Case& c : runs) {
            SCOPED_TRACE(c.what);
            const std::string dir = host(description(c.edit));
            RunResult r = run(dir, c.args);
            EXPECT_EQ(r.exitCode, c.exitCode);
            EXPECT_EQ(r.out, c.out);
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(dir)), checked() + c.commands);
            EXPECT_EQ(mailboxesOf(dir, c.opcode), c.mailboxes);
            for (const WrittenData& data : c.written)
                EXPECT_EQ(writtenDataMismatches(dir, data), "");
            const nlohmann::json saved = savedController(dir);
            for (const Kept& k : c.kept) {
                const nlohmann::json::json_pointer at(k.pointer);
                if (k.value.is_null())
                    EXPECT_FALSE(saved.contains(at)) << k.pointer;
                else
                    EXPECT_EQ(saved.contains(at) ? normalized(saved[at]) : nlohmann::json(), k.value) << k.pointer;
            }
        }
    }

    std::vector<std::string> cleanup;
};

// The description's drives, one of them changed by `patch`.
nlohmann::json driveChanged(size_t index, const char* patch)
{
    nlohmann::json drives = nlohmann::json::parse(
        readFile(std::string(QUILL_SOURCE_DIR) + "/tests/e2e/data/drive-commands-host.json"))["controllers"][0]["drives"];
    drives[index].merge_patch(nlohmann::json::parse(patch));
    return {{"drives", drives}};
}

// The second array's first row is missing: drive 10 (slot 2) is out of it, unconfigured.
nlohmann::json missingRow()
{
    return nlohmann::json::parse(R"({
        "drives": [{"deviceId": 8, "enclosureId": 252, "slot": 0, "state": "0x18"},
                   {"deviceId": 9, "enclosureId": 252, "slot": 1, "state": "0x18"},
                   {"deviceId": 10, "enclosureId": 252, "slot": 2},
                   {"deviceId": 11, "enclosureId": 252, "slot": 3, "state": "0x18"},
                   {"deviceId": 12, "enclosureId": 252, "slot": 4},
                   {"deviceId": 13, "enclosureId": 252, "slot": 5, "sectorSize": 4096},
                   {"deviceId": 14, "enclosureId": 252, "slot": 6},
                   {"deviceId": 16, "enclosureId": 252, "slot": 9, "type": 1}],
        "arrays": [{"ref": 0, "drives": [8, 9], "sizeBlocks": 4096000},
                   {"ref": 1, "drives": [65535, 11], "sizeBlocks": 2048000}]})");
}

const std::string NOT_FOUND_10 = "Adapter 0: Device at Enclosure - 252, Slot - 10 is not found.\n";

TEST_F(DriveCommandsE2e, OnlineAndMarkMissing)
{
    expectRuns({
        {"an offline member comes online", nullptr, {"-PDOnline", "-PhysDrv[252:2]", "-a0"}, 0,
         BLANK_OUT + "EnclId-252 SlotId-2 state changed to OnLine.\n" + exitLine("00"), {sent(SET_STATE)}, SET_STATE,
         {"0x0001000a,0x00000018,0x00000000"}, {{"/drives/2/state", 0x18}, {"/lds/1/state", nullptr}}},
        {"a drive already online: nothing is sent", nullptr, {"-PDOnline", "-PhysDrv[252:1]", "-a0"}, 1,
         BLANK_OUT + "Adapter: 0: Failed to change PD state at EnclId-252 SlotId-1.\n" + exitLine("01"), {}, SET_STATE,
         {}, {}},
        {"the walk stops at the first drive not there", nullptr, {"-PDOnline", "-PhysDrv[252:2,252:10,252:3]", "-a0"},
         1, BLANK_OUT + "EnclId-252 SlotId-2 state changed to OnLine.\n" + NOT_FOUND_10 + exitLine("01"),
         {sent(SET_STATE)}, SET_STATE, {"0x0001000a,0x00000018,0x00000000"}, {{"/drives/2/state", 0x18}}},
        {"an offline member leaves its row missing", nullptr, {"-PdMarkMissing", "-PhysDrv[252:2]", "-a0"}, 0,
         BLANK_OUT + "EnclId-252 SlotId-2 is marked Missing.\n" + exitLine("00"), {sent(MARK_MISSING)}, MARK_MISSING,
         {"0x0001000a,0x00000000,0x00000000"},
         {{"/arrays/1/drives", nlohmann::json::array({65535, 11})}, {"/drives/2/state", nullptr}}},
        {"the firmware keeps an online member", nullptr, {"-PdMarkMissing", "-PhysDrv[252:0]", "-a0"}, 0x32,
         BLANK_OUT + "Adapter: 0: Failed to change PD state at EnclId-252 SlotId-0.\n" + WRONG_STATE + exitLine("32"),
         {sent(MARK_MISSING, "0x32")}, MARK_MISSING, {"0x00010008,0x00000000,0x00000000"},
         {{"/arrays/0/drives", nlohmann::json::array({8, 9})}}},
    });
}

TEST_F(DriveCommandsE2e, MissingRows)
{
    nlohmann::json twoMissing = missingRow();
    twoMissing["arrays"][0]["drives"] = nlohmann::json::array({8, 65535});
    twoMissing["drives"][1]["state"] = 0;
    expectRuns({
        {"every row has its drive", nullptr, {"-PdGetMissing", "-a0"}, 0,
         BLANK_OUT + "    Adapter 0 - No Missing Drive is Found.\n" + exitLine("00"), {}, SET_STATE, {}, {}},
        {"one missing row: its array's member size in MB", missingRow(), {"-PdGetMissing", "-a0"}, 0,
         BLANK_OUT + "    Adapter 0 - Missing Physical drives\n\n    No.   Array   Row   Size Expected\n" +
             "    0     1       0     1000 MB\n" + exitLine("00"),
         {}, SET_STATE, {}, {}},
        {"two missing rows, in array order", twoMissing, {"-PdGetMissing", "-a0"}, 0,
         BLANK_OUT + "    Adapter 0 - Missing Physical drives\n\n    No.   Array   Row   Size Expected\n" +
             "    0     0       1     2000 MB\n" + "    1     1       0     1000 MB\n" + exitLine("00"),
         {}, SET_STATE, {}, {}},
    });
}

TEST_F(DriveCommandsE2e, MissingRowsReadTheConfigurationTwiceAndNothingWithoutLogicalDrives)
{
    const auto configReads = [](const std::string& dir) {
        // The last reads of the log are the command's own, after the controller check.
        Lines log = loggedFirmwareCommands(dir);
        Lines own;
        for (size_t i = log.size(); i-- > 0 && log[i].find(OEM) == std::string::npos;)
            own.insert(own.begin(), log[i]);
        return own;
    };
    std::string dir = host(description(missingRow()));
    RunResult r = run(dir, {"-PdGetMissing", "-a0"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(configReads(dir), (Lines{sent(CONFIG_READ), sent(CONFIG_READ)}));
    EXPECT_EQ(mailboxesOf(dir, CONFIG_READ).size(), 4u) << "the refresh reads it twice, then the command";

    dir = host(description(nlohmann::json::parse(R"({"lds": []})")));
    r = run(dir, {"-PdGetMissing", "-a0"});
    EXPECT_EQ(r.out, BLANK_OUT + exitLine("00"));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(configReads(dir), (Lines{sent(CONFIG_READ)}));
}

TEST_F(DriveCommandsE2e, Locate)
{
    const std::string started2 =
        "Adapter: 0: Device at EnclId-252 SlotId-2  -- PD Locate Start Command was successfully sent to Firmware \n";
    expectRuns({
        {"without -start or -stop locating starts", nullptr, {"-PdLocate", "-PhysDrv[252:2,252:3]", "-a0"}, 0,
         BLANK_OUT + started2 +
             "Adapter: 0: Device at EnclId-252 SlotId-3  -- PD Locate Start Command was successfully sent to Firmware \n" +
             exitLine("00"),
         {sent(LOCATE_START), sent(LOCATE_START)}, LOCATE_START,
         {"0x0000000a,0x00000000,0x00000000", "0x0000000b,0x00000000,0x00000000"},
         {{"/drives/2/locating", true}, {"/drives/3/locating", true}}},
        {"-start", nullptr, {"-PdLocate", "-start", "-PhysDrv[252:2]", "-a0"}, 0, BLANK_OUT + started2 + exitLine("00"),
         {sent(LOCATE_START)}, LOCATE_START, {"0x0000000a,0x00000000,0x00000000"}, {{"/drives/2/locating", true}}},
        {"-stop", driveChanged(2, R"({"locating": true})"),
         {"-PdLocate", "-stop", "-PhysDrv[252:2]", "-a0"}, 0,
         BLANK_OUT +
             "Adapter: 0: Device at EnclId-252 SlotId-2  -- PD Locate Stop Command was successfully sent to Firmware \n" +
             exitLine("00"),
         {sent(LOCATE_STOP)}, LOCATE_STOP, {"0x0000000a,0x00000000,0x00000000"}, {{"/drives/2/locating", nullptr}}},
        {"a slot without a drive", nullptr, {"-PdLocate", "-PhysDrv[252:10]", "-a0"}, 1,
         BLANK_OUT + NOT_FOUND_10 + exitLine("01"), {}, LOCATE_START, {}, {}},
    });
}

TEST_F(DriveCommandsE2e, PrepareForRemoval)
{
    expectRuns({
        {"an unconfigured drive spins down", nullptr, {"-PdPrpRmv", "-PhysDrv[252:4]", "-a0"}, 0,
         BLANK_OUT + "\nPrepare for removal Success\n" + exitLine("00"), {sent(PREPARE_REMOVAL)}, PREPARE_REMOVAL,
         {"0x0001000c,0x00000000,0x00000000"}, {{"/drives/4/preparedForRemoval", true}}},
        {"-UnDo", driveChanged(4, R"({"preparedForRemoval": true, "powerState": 1})"),
         {"-PdPrpRmv", "-UnDo", "-PhysDrv[252:4]", "-a0"}, 0,
         BLANK_OUT + "\nUndo Prepare for removal Success\n" + exitLine("00"), {sent(UNDO_PREPARE_REMOVAL)},
         UNDO_PREPARE_REMOVAL, {"0x0001000c,0x00000000,0x00000000"}, {{"/drives/4/preparedForRemoval", nullptr}, {"/drives/4/powerState", nullptr}}},
        {"the firmware refuses an array member", nullptr, {"-PdPrpRmv", "-PhysDrv[252:0]", "-a0"}, 0x32,
         BLANK_OUT + "\nAdapter: 0: Prepare for removal Failed\n" + WRONG_STATE + exitLine("32"),
         {sent(PREPARE_REMOVAL, "0x32")}, PREPARE_REMOVAL, {"0x00010008,0x00000000,0x00000000"}, {}},
        {"a drive that is not there is an operation that failed", nullptr, {"-PdPrpRmv", "-PhysDrv[252:10]", "-a0"}, 1,
         BLANK_OUT + "Adapter #0: Failed to Perform prepare for removal Operation.\n" + exitLine("01"), {},
         PREPARE_REMOVAL, {}, {}},
    });
}

TEST_F(DriveCommandsE2e, PrepareForRemovalOnTwoAdaptersReadsTheSameDrives)
{
    nlohmann::json twoControllers = description(nullptr);
    nlohmann::json second = twoControllers["controllers"][0];
    second["host"] = 3;
    second["pci"]["bus"] = 4;
    second["info"]["serialNumber"] = "QR408000127";
    twoControllers["controllers"].push_back(second);
    const std::string dir = host(twoControllers);
    RunResult r = run(dir, {"-PdPrpRmv", "-PhysDrv[252:4]", "-a0,1"});
    EXPECT_EQ(r.out, ",\r" + std::string(37, ' ') + "\n" + "\nPrepare for removal Success\n" +
                         "\nPrepare for removal Success\n" + exitLine("00"));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(mailboxesOf(dir, PREPARE_REMOVAL),
              (Lines{"0x0001000c,0x00000000,0x00000000", "0x0001000c,0x00000000,0x00000000"}));
    EXPECT_EQ(savedController(dir, 0)["drives"][4].value("preparedForRemoval", false), true);
    EXPECT_EQ(savedController(dir, 1)["drives"][4].value("preparedForRemoval", false), true);
}

TEST_F(DriveCommandsE2e, ReplaceMissing)
{
    const std::string notMissing = "Adapter: 0: Physical drive in array 0 at row 1 is not missing.\n";
    expectRuns({
        {"a row whose drive is there", missingRow(), {"-PdReplaceMissing", "-PhysDrv[252:6]", "-Array0", "-row1", "-a0"},
         1, BLANK_OUT + notMissing + exitLine("01"), {}, REPLACE_MISSING, {}, {}},
        {"a row beyond the array", missingRow(), {"-PdReplaceMissing", "-PhysDrv[252:6]", "-Array1", "-row2", "-a0"}, 1,
         BLANK_OUT + "Adapter: 0: Row number specified is out of range.\n" + exitLine("01"), {}, REPLACE_MISSING, {}, {}},
        {"an array beyond the configuration", missingRow(),
         {"-PdReplaceMissing", "-PhysDrv[252:6]", "-Array2", "-row0", "-a0"}, 1,
         BLANK_OUT + "Array number specified is out of range.\n" + exitLine("01"), {}, REPLACE_MISSING, {}, {}},
        {"a drive with other sectors", missingRow(), {"-PdReplaceMissing", "-PhysDrv[252:5]", "-Array1", "-row0", "-a0"},
         1, BLANK_OUT + "Cannot perform replace operation with drives having different Sector size . \n" + exitLine("01"),
         {}, REPLACE_MISSING, {}, {}},
        {"a slot without a drive", missingRow(), {"-PdReplaceMissing", "-PhysDrv[252:10]", "-Array1", "-row0", "-a0"}, 1,
         BLANK_OUT + NOT_FOUND_10 + exitLine("01"), {}, REPLACE_MISSING, {}, {}},
        {"the drive takes the row: reference, then array reference and row", missingRow(),
         {"-PdReplaceMissing", "-PhysDrv[252:6,252:4]", "-Array1", "-row0", "-a0"}, 0,
         BLANK_OUT + "Adapter: 0: Missing PD at Array 1, Row 0 is replaced.\n" + exitLine("00"), {sent(REPLACE_MISSING)},
         REPLACE_MISSING, {"0x0001000e,0x00000001,0x00000000"},
         {{"/arrays/1/drives", nlohmann::json::array({14, 11})}, {"/drives/6/state", 0x10}}},
        {"the firmware refuses a drive in use", [] {
             nlohmann::json e = missingRow();
             e["spares"] = nlohmann::json::parse(R"([{"deviceId": 14}])");
             e["drives"][6]["state"] = 2;
             return e;
         }(),
         {"-PdReplaceMissing", "-PhysDrv[252:6]", "-Array1", "-row0", "-a0"}, 0x32,
         BLANK_OUT + "Adapter: 0: Failed to replace Missing PD at Array 1, Row 0.\n" + WRONG_STATE + exitLine("32"),
         {sent(REPLACE_MISSING, "0x32")}, REPLACE_MISSING, {"0x0001000e,0x00000001,0x00000000"},
         {{"/arrays/1/drives", nlohmann::json::array({65535, 11})}}},
    });
}

const std::string SET_6 = "Adapter: 0: Set Physical Drive at EnclId-252 SlotId-6 as Hot Spare Success.\n";
const std::string HSP_FAILED = "Adapter #0: Failed to Perform PD hotspare Operation.\n";

TEST_F(DriveCommandsE2e, HotSpares)
{
    expectRuns({
        {"a global spare, revertible where the controller can", nullptr, {"-PDHSP", "-Set", "-PhysDrv[252:6]", "-a0"}, 0,
         BLANK_OUT + SET_6 + exitLine("00"), {sent(INFO), sent(MAKE_HOTSPARE)}, MAKE_HOTSPARE,
         {"0x00000000,0x00000000,0x00000000"},
         {{"/spares", nlohmann::json::parse(R"([{"deviceId": 14, "revertible": true}])")}, {"/drives/6/state", 2}},
         // Device id 14, sequence number 1, flags: revertible; no arrays.
         {{MAKE_HOTSPARE, 0, {{0, "0e00010002000000"}, {8, "0000"}}}}},
        {"a controller without revertible spares", nlohmann::json::parse(R"({"info": {"raidFeatures": "0x4b"}})"),
         {"-PDHSP", "-Set", "-PhysDrv[252:6]", "-a0"}, 0, BLANK_OUT + SET_6 + exitLine("00"),
         {sent(INFO), sent(MAKE_HOTSPARE)}, MAKE_HOTSPARE, {"0x00000000,0x00000000,0x00000000"},
         {{"/spares", nlohmann::json::parse(R"([{"deviceId": 14}])")}}, {{MAKE_HOTSPARE, 0, {{0, "0e00010000000000"}}}}},
        {"dedicated to two arrays, with enclosure affinity, not revertible", nullptr,
         {"-PDHSP", "-Set", "-Dedicated", "-Array0,1", "-EnclAffinity", "-nonRevertible", "-PhysDrv[252:6]", "-a0"}, 0,
         "," + BLANK_OUT + SET_6 + exitLine("00"), {sent(INFO), sent(MAKE_HOTSPARE)}, MAKE_HOTSPARE,
         {"0x00000000,0x00000000,0x00000000"},
         {{"/spares", nlohmann::json::parse(
                          R"([{"deviceId": 14, "dedicated": true, "enclosureAffinity": true, "arrays": [0, 1]}])")}},
         // Flags: dedicated and enclosure affinity; two array references, 0 and 1.
         {{MAKE_HOTSPARE, 0, {{0, "0e00010005000002"}, {8, "00000100"}, {12, "0000"}}}}},
        {"an array the configuration does not have", nullptr,
         {"-PDHSP", "-Set", "-Dedicated", "-Array7", "-PhysDrv[252:6]", "-a0"}, 9, BLANK_OUT + HSP_FAILED + exitLine("09"),
         {sent(INFO)}, MAKE_HOTSPARE, {}, {{"/spares", nullptr}}},
        {"a member of an array", nullptr, {"-PDHSP", "-Set", "-PhysDrv[252:0]", "-a0"}, 11,
         BLANK_OUT + HSP_FAILED + exitLine("0b"), {}, MAKE_HOTSPARE, {}, {}},
        {"a tape is no disk", nullptr, {"-PDHSP", "-Set", "-PhysDrv[252:9]", "-a0"}, 12,
         BLANK_OUT + HSP_FAILED + exitLine("0c"), {}, MAKE_HOTSPARE, {}, {}},
        {"a slot without a drive", nullptr, {"-PDHSP", "-Set", "-PhysDrv[252:10]", "-a0"}, 12,
         BLANK_OUT + NOT_FOUND_10 + exitLine("0c"), {}, MAKE_HOTSPARE, {}, {}},
        {"a dedicated spare with other sectors than the array's", nullptr,
         {"-PDHSP", "-Set", "-Dedicated", "-Array0", "-PhysDrv[252:5]", "-a0"}, 1,
         BLANK_OUT + "Failed to assign Ded. HS to one or more arrays due to sector size mismatch . \n" + exitLine("01"),
         {sent(INFO)}, MAKE_HOTSPARE, {}, {{"/spares", nullptr}}},
        {"a spare removed", [] {
             nlohmann::json e = driveChanged(4, R"({"state": 2})");
             e["spares"] = nlohmann::json::parse(R"([{"deviceId": 12}])");
             return e;
         }(),
         {"-PDHSP", "-Rmv", "-PhysDrv[252:4]", "-a0"}, 0,
         BLANK_OUT + "Adapter: 0: Remove Physical Drive at EnclId-252 SlotId-4 as Hot Spare Success.\n" + exitLine("00"),
         {sent(REMOVE_HOTSPARE)}, REMOVE_HOTSPARE, {"0x0001000c,0x00000000,0x00000000"}, {{"/spares", nullptr}}},
        {"a drive that is no spare", nullptr, {"-PDHSP", "-Rmv", "-PhysDrv[252:6]", "-a0"}, 0x32,
         BLANK_OUT + "Adapter: 0: Remove Physical Drive at EnclId-252 SlotId-6 as Hot Spare Failed.\n" + WRONG_STATE +
             exitLine("32"),
         {sent(REMOVE_HOTSPARE, "0x32")}, REMOVE_HOTSPARE, {"0x0001000e,0x00000000,0x00000000"}, {}},
    });
}

TEST_F(DriveCommandsE2e, DedicatedSpareOfMoreArraysThanItsRecordHoldsIsRefusedBeforeAnyCommand)
{
    const std::string dir = host(description(nullptr));
    RunResult r = run(dir, {"-PDHSP", "-Set", "-Dedicated", "-Array0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16",
                            "-PhysDrv[252:6]", "-a0"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find(HSP_FAILED), std::string::npos) << r.out;
    EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(dir)), checked());
}

TEST_F(DriveCommandsE2e, ANewSpareIsListedAsSuch)
{
    const std::string dir = host(description(nullptr));
    ASSERT_EQ(run(dir, {"-PDHSP", "-Set", "-PhysDrv[252:6]", "-a0"}).exitCode, 0);
    RunResult r = run(dir, {"-PDList", "-a0"});
    EXPECT_EQ(r.exitCode, 0);
    const size_t slot6 = r.out.find("Slot Number: 6\n");
    ASSERT_NE(slot6, std::string::npos) << r.out;
    const size_t next = r.out.find("Slot Number:", slot6 + 1);
    const std::string drive = r.out.substr(slot6, next - slot6);
    EXPECT_NE(drive.find("Hotspare Information: \nType: Global, is revertible\n"), std::string::npos) << drive;
    EXPECT_NE(drive.find("Firmware state: Hotspare, Spun Up\n"), std::string::npos) << drive;
}

}  // namespace
