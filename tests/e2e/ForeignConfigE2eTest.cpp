// Foreign configurations (-CfgForeign) through the real binary and simulated hosts made from
// tests/e2e/data/foreign-host.json: a controller with its own mirror (target id 0, array 0) and
// three foreign configurations on drives moved in from elsewhere: 0 a mirror on slots 4 and 5
// (target id 0, array 0: both collide with the controller's own), 1 a RAID 0 drive on slot 6
// (target id 1, array 1) with a dedicated spare on slot 7, 2 a global spare on slot 8. Checked:
// the console text, the exit code, the foreign-configuration and escrow-key commands that
// reached the controller (mailbox byte 0 and status) and the configuration the controller keeps.
#include "DrivesHostTexts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

const char* const SCAN = "0x04060100";
const char* const GET = "0x04060200";
const char* const PREVIEW = "0x04060300";
const char* const IMPORT = "0x04060400";
const char* const CLEAR = "0x04060500";
const char* const ESCROW = "0x01150800";

// "opcode mailbox-word-0 status" of a logged command.
std::string cmd(const char* opcode, unsigned index = 0, const char* status = "0x00")
{
    char mailbox[16];
    snprintf(mailbox, sizeof mailbox, "0x%08x", index);
    return std::string(opcode) + " " + mailbox + " " + status;
}

// The two reads of one configuration (or of all): the first block, then the whole.
Lines twoReads(const char* opcode, unsigned index)
{
    return {cmd(opcode, index), cmd(opcode, index)};
}

// The foreign-configuration and escrow commands of the host's log.
Lines foreignCommands(const std::string& dir)
{
    Lines out;
    std::istringstream log(readFile(dir + "/commands.log"));
    std::string line;
    while (std::getline(log, line)) {
        for (const char* opcode : {SCAN, GET, PREVIEW, IMPORT, CLEAR, ESCROW}) {
            const size_t at = line.find(std::string("opcode=") + opcode + " mbox=");
            if (at == std::string::npos)
                continue;
            const size_t mbox = at + std::string("opcode=").size() + 10 + std::string(" mbox=").size();
            out.push_back(std::string(opcode) + " " + line.substr(mbox, 10) + " " + line.substr(line.rfind("status=") + 7));
        }
    }
    return out;
}

std::string vdBlock(const std::string& name, int level)
{
    const std::string block = level == 1 ? MIRROR_BLOCK : std::string(
        "Name                :parity\n"
        "RAID Level          : Primary-0, Secondary-0, RAID Level Qualifier-0\n"
        "Size                : 931.0 GB\n"
        "Sector Size         : 512\n"
        "Parity Size         : 0\n"
        "State               : Optimal\n"
        "Strip Size          : 64 KB\n"
        "Number Of Drives    : 1\n"
        "Span Depth          : 1\n"
        "Default Cache Policy: WriteBack, ReadAhead, Direct, No Write Cache if Bad BBU\n"
        "Current Cache Policy: WriteBack, ReadAhead, Direct, No Write Cache if Bad BBU\n"
        "Default Access Policy: Read/Write\n"
        "Current Access Policy: Read/Write\n"
        "Disk Cache Policy   : Disk's Default\n"
        "Encryption Type     : None\n"
        "Is VD Cached: No\n");
    const size_t end = block.find('\n');
    return "Name                :" + name + block.substr(end);
}

std::string foreignDrive(int number, int deviceId, int slot)
{
    return "Physical Disk: " + std::to_string(number) + "\n" +
           driveText({deviceId, slot, "Online, Spun Up", " N/A", "", ""});
}

// A disk group of one span with one virtual drive.
std::string group(int number, int targetId, const std::string& vd, const std::string& drives)
{
    return "DISK GROUP: " + std::to_string(number) + "\nNumber of Spans: 1\nSPAN: 0\nVirtual Drive Information:\n"
           "Virtual Drive: 0 (Target Id: " + std::to_string(targetId) + ")\n" + vd +
           "Physical Disk Information:\n" + drives;
}

const std::string MIRROR_0 = group(0, 0, vdBlock("moved", 1), foreignDrive(0, 12, 4) + foreignDrive(1, 13, 5));

const std::string CONFLICT = "Cannot import physical drive: Configuration conflict. \nThe drive's place may have been "
                             "taken by another drive, it could be part of\nanother configuration, or the drive's "
                             "configuration may be incompatible.\nImport or clear any other configurations that exist "
                             "and then re-scan or\nreturn the drive to the original controller.\n";

struct Case {
    const char* what;
    nlohmann::json edit;   // merged into the description's controller
    Lines args;
    const char* exitCode;
    std::string out;       // between the blank-out line and the exit line
    Lines commands;        // the foreign-configuration and escrow commands
};

// The host's configurations one by one (for edits that keep some of them).
nlohmann::json foreignConfigs(std::initializer_list<int> which)
{
    nlohmann::json all = nlohmann::json::parse(readFile(std::string(QUILL_SOURCE_DIR) +
                                                        "/tests/e2e/data/foreign-host.json"))["controllers"][0]["foreignConfigs"];
    nlohmann::json out = nlohmann::json::array();
    for (int i : which)
        out.push_back(all[i]);
    return out;
}

// Configuration 0 alone, whose entry for drive 13 carries sequence number 0.
const nlohmann::json OUTDATED_13 = nlohmann::json::parse(R"([{"arrays": [{"ref": 0, "drives": [12, 13]}], "outdated": [13],
    "lds": [{"targetId": 0, "name": "moved", "raidLevel": 1, "drivesPerSpan": 2, "sizeBlocks": 1952448512,
             "drives": [12, 13], "spans": [{"array": 0}]}]}])");

const nlohmann::json IMPORT_ALL = {{"info", {{"reportingFeatures", "0x10"}}}};
const nlohmann::json ENCRYPTION = {{"info", {{"storageFeatures", "0x04"}}}};

class ForeignConfigE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    std::string host(const nlohmann::json& edit)
    {
        nlohmann::json description =
            nlohmann::json::parse(readFile(std::string(QUILL_SOURCE_DIR) + "/tests/e2e/data/foreign-host.json"));
        if (!edit.is_null())
            description["controllers"][0].merge_patch(edit);
        const std::string dir = makeSimHostFrom(description.dump(2));
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
        EXPECT_EQ(r.err, "");
        return r;
    }

    void expectRuns(const std::vector<Case>& cases)
    {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            const std::string dir = host(c.edit);
            RunResult r = run(dir, c.args);
            EXPECT_EQ(r.out, BLANK_OUT + c.out + exitLine(c.exitCode));
            EXPECT_EQ(foreignCommands(dir), c.commands);
        }
    }

    nlohmann::json controller(const std::string& dir)
    {
        return nlohmann::json::parse(readFile(dir + "/state.json"))["controllers"][0];
    }

    std::vector<std::string> cleanup;
};

std::string count(int n)
{
    return "There are " + std::to_string(n) + " foreign configuration(s) on controller 0.\n";
}

const std::string NONE = "There is no foreign configuration on controller 0.\n";
const std::string GET_ALL_FAILED = "Failed to get Foreign configuration on controller 0.\n";

} // namespace

TEST_F(ForeignConfigE2e, ScanCountsAndRefusals)
{
    const std::string longKey(104, 'k');
    expectRuns({
        {"three configurations", {}, {"-CfgForeign", "-Scan", "-a0"}, "00", count(3), {cmd(SCAN)}},
        {"one", {{"foreignConfigs", foreignConfigs({1})}}, {"-CfgForeign", "-Scan", "-a0"}, "00", count(1), {cmd(SCAN)}},
        {"none", {{"foreignConfigs", nlohmann::json::array()}}, {"-CfgForeign", "-Scan", "-a0"}, "00", NONE, {cmd(SCAN)}},
        {"none, whatever the action", {{"foreignConfigs", nlohmann::json::array()}}, {"-CfgForeign", "-Import", "-a0"},
         "00", NONE, {cmd(SCAN)}},
        {"an index beyond the count", {}, {"-CfgForeign", "-Dsply", "5", "-a0"}, "00",
         "Foreign configuration 5 does not exist on controller 0.\n", {cmd(SCAN)}},
        {"a pass phrase on a controller of the ordinary dialect", ENCRYPTION,
         {"-CfgForeign", "-Scan", "-Passphrase", "Pa55-phrase", "-a0"}, "01", "Invalid input\n", {}},
        {"a security key on a controller of OEM 2", {{"mfcOemData", {{"oemId", 2}}}},
         {"-CfgForeign", "-Scan", "-SecurityKey", "Tr0ub4dor+3", "-a0"}, "01", "Invalid input\n", {}},
        {"a key longer than its block is refused, not cut", ENCRYPTION,
         {"-CfgForeign", "-Scan", "-SecurityKey", longKey, "-a0"}, "01", "Invalid input\n", {}},
        {"a key while encryption is disabled", {}, {"-CfgForeign", "-Scan", "-SecurityKey", "Tr0ub4dor+3", "-a0"}, "01",
         "Encryption is disabled on adapter 0 \n", {}},
    });
}

TEST_F(ForeignConfigE2e, AFailedScanIsAFailureNotACount)
{
    const std::string dir = host({});
    RunSpec fault;
    fault.program = QUILLSIM_BIN;
    fault.args = {"fault", dir, "status", SCAN, "0x2d"};
    RunResult added = runProgram(fault);
    cleanup.push_back(added.workDir);
    ASSERT_EQ(added.exitCode, 0) << added.err;
    RunResult r = run(dir, {"-CfgForeign", "-Clear", "-a0"});
    EXPECT_EQ(r.out, BLANK_OUT + "Adapter #0: Failed to Perform Foreign Config Operation.\n" + exitLine("01"));
    EXPECT_EQ(foreignCommands(dir), Lines({cmd(SCAN, 0, "0x2d")})) << "nothing is cleared";
}

TEST_F(ForeignConfigE2e, DisplayAndPreview)
{
    expectRuns({
        {"one configuration as stored", {}, {"-CfgForeign", "-Dsply", "0", "-a0"}, "00",
         "Foreign configuration 0 on controller 0:\nNumber of DISK GROUPS: 1\n\n" + MIRROR_0, Lines{cmd(SCAN)} + twoReads(GET, 0)},
        {"a configuration of spares only has no disk group", {}, {"-CfgForeign", "-Dsply", "2", "-a0"}, "00",
         "Foreign configuration 2 on controller 0:\nNumber of DISK GROUPS: 0\n\n", Lines{cmd(SCAN)} + twoReads(GET, 2)},
        {"a preview of one renumbers what collides", {}, {"-CfgForeign", "-Preview", "0", "-a0"}, "00",
         "Foreign configuration 0 on controller 0(after import):\nNumber of DISK GROUPS: 1\n\n" +
             group(0, 1, vdBlock("moved", 1), foreignDrive(0, 12, 4) + foreignDrive(1, 13, 5)),
         Lines{cmd(SCAN)} + twoReads(PREVIEW, 0)},
        {"without the import-all capability each configuration is previewed on its own",
         {{"foreignConfigs", foreignConfigs({2, 2})}}, {"-CfgForeign", "-Preview", "-a0"}, "00",
         "Foreign configuration 0 on controller 0(after import):\nNumber of DISK GROUPS: 0\n\n"
         "Foreign configuration 1 on controller 0(after import):\nNumber of DISK GROUPS: 0\n\n",
         Lines{cmd(SCAN)} + twoReads(PREVIEW, 0) + twoReads(PREVIEW, 1)},
        {"a preview of all: the drives outside its arrays conflict", IMPORT_ALL, {"-CfgForeign", "-Preview", "-a0"}, "00",
         "Foreign configuration on controller 0(After import):\nNumber of DISK GROUPS: 2\n\n" +
             group(0, 1, vdBlock("moved", 1), foreignDrive(0, 12, 4) + foreignDrive(1, 13, 5)) +
             group(1, 2, vdBlock("single", 0), foreignDrive(0, 14, 6)) + "EnclId - 252 SlotId - 7 \n" + CONFLICT +
             "EnclId - 252 SlotId - 8 \n" + CONFLICT,
         Lines{cmd(SCAN)} + twoReads(PREVIEW, 255) + twoReads(PREVIEW, 255)},
        {"the view after an import warns of a drive whose data is outdated",
         {{"info", {{"reportingFeatures", "0x10"}}}, {"foreignConfigs", OUTDATED_13}}, {"-CfgForeign", "-Preview", "-a0"}, "00",
         "Foreign configuration on controller 0(After import):\nNumber of DISK GROUPS: 1\n\n" +
             group(0, 1, vdBlock("moved", 1), foreignDrive(0, 12, 4) + foreignDrive(1, 13, 5)) +
             "Virtual disks could not be imported: Outdated drive data. \nInsert the missing drive(s) and re-scan.\n",
         Lines{cmd(SCAN)} + twoReads(PREVIEW, 255) + twoReads(PREVIEW, 255)},
    });
}

TEST_F(ForeignConfigE2e, ImportOneOrAll)
{
    expectRuns({
        {"import of all without the capability: nothing is imported", {}, {"-CfgForeign", "-Import", "-a0"}, "01",
         GET_ALL_FAILED + GET_ALL_FAILED + GET_ALL_FAILED, {cmd(SCAN)}},
        {"import of one", {}, {"-CfgForeign", "-Import", "1", "-a0"}, "00",
         "Foreign configuration 1 is imported on controller 0.\n", Lines{cmd(SCAN)} + twoReads(PREVIEW, 1) + Lines{cmd(IMPORT, 1)}},
    });
}

TEST_F(ForeignConfigE2e, ImportedConfigurationsJoinTheControllersRenumbered)
{
    const std::string dir = host(IMPORT_ALL);
    RunResult r = run(dir, {"-CfgForeign", "-Import", "-a0"});
    EXPECT_EQ(r.out, BLANK_OUT + "Foreign configuration is imported on controller 0.\n" + exitLine("00"));
    EXPECT_EQ(foreignCommands(dir), Lines({cmd(SCAN)}) + twoReads(PREVIEW, 255) + Lines{cmd(IMPORT, 255)});
    const nlohmann::json c = controller(dir);
    EXPECT_FALSE(c.contains("foreignConfigs"));
    EXPECT_EQ(c["arrays"].dump(), R"([{"drives":[8,9],"ref":0},{"drives":[12,13],"ref":1},{"drives":[14],"ref":2}])");
    std::vector<int> targetIds;
    for (const nlohmann::json& ld : c["lds"])
        targetIds.push_back(ld["targetId"].get<int>());
    EXPECT_EQ(targetIds, std::vector<int>({0, 1, 2}));
    EXPECT_EQ(c["lds"][1]["spans"].dump(), R"([{"array":1}])");
    EXPECT_EQ(c["spares"].dump(), R"([{"arrays":[2],"dedicated":true,"deviceId":15},{"deviceId":16}])");
    // A later scan finds nothing foreign; the new drives show with the others.
    r = run(dir, {"-CfgForeign", "-Scan", "-a0"});
    EXPECT_EQ(r.out, BLANK_OUT + NONE + exitLine("00"));
}

TEST_F(ForeignConfigE2e, ImportedButTheOsStepFailed)
{
    const std::string dir = host({});
    // Without the host's scan attribute the new disks cannot be asked for.
    ASSERT_EQ(std::remove((dir + "/sys/devices/pci0000:00/0000:00:03.0/0000:03:00.0/host2/scsi_host/host2/scan").c_str()), 0);
    RunResult r = run(dir, {"-CfgForeign", "-Import", "0", "-a0"});
    EXPECT_EQ(r.out, BLANK_OUT + "cli_is_path_file: stat on /sys/class/scsi_host/host2/scan failed\n"
                                 "Foreign configuration 0 is imported on controller 0.\n"
                                 "Failed while adding the configuration to OS.\n" + "\nExit Code: 0xfffffffe\n");
    EXPECT_EQ(r.exitCode, 254);
    EXPECT_EQ(controller(dir)["foreignConfigs"].size(), 2u) << "the controller imported it";
}

TEST_F(ForeignConfigE2e, ARefusedImportGivesTheKeyHint)
{
    const std::string dir = host(ENCRYPTION);
    RunSpec fault;
    fault.program = QUILLSIM_BIN;
    fault.args = {"fault", dir, "status", IMPORT, "0x3b"};
    RunResult added = runProgram(fault);
    cleanup.push_back(added.workDir);
    ASSERT_EQ(added.exitCode, 0) << added.err;
    RunResult r = run(dir, {"-CfgForeign", "-Import", "2", "-a0"});
    EXPECT_EQ(r.out, BLANK_OUT + "FW does not have Security key, create Security key first. \n"
                                 "Failed to import foreign configuration 2 on controller 0.\n"
                                 "\nFW error description: \n Foreign drives cannot be imported, as they do not form a "
                                 "complete configuration.  \n" + exitLine("3b"));
    EXPECT_EQ(controller(dir)["foreignConfigs"].size(), 3u);
}

TEST_F(ForeignConfigE2e, LockedDrivesNeedTheEscrowKey)
{
    // A fourth configuration on a drive locked with a key of the other controller.
    nlohmann::json configs = foreignConfigs({0, 1, 2});
    configs.push_back(nlohmann::json::parse(R"({"lockKey": "Tr0ub4dor+3",
        "arrays": [{"ref": 5, "drives": [17]}],
        "lds": [{"targetId": 5, "name": "locked", "drivesPerSpan": 1, "sizeBlocks": 1952448512, "drives": [17],
                 "spans": [{"array": 5}]}]})"));
    nlohmann::json drives = nlohmann::json::parse(readFile(std::string(QUILL_SOURCE_DIR) +
                                                          "/tests/e2e/data/foreign-host.json"))["controllers"][0]["drives"];
    drives.push_back({{"deviceId", 17}, {"enclosureId", 252}, {"slot", 9}, {"security", "0x1f"}});
    const nlohmann::json edit = {{"info", {{"storageFeatures", "0x04"}, {"securityState", "0x02"}}},
                                 {"foreignConfigs", configs}, {"drives", drives}};
    expectRuns({
        {"without the key the locked configuration is not seen", edit, {"-CfgForeign", "-Scan", "-a0"}, "00", count(3),
         {cmd(SCAN)}},
        {"with it, it is", edit, {"-CfgForeign", "-Scan", "-SecurityKey", "Tr0ub4dor+3", "-a0"}, "00", count(4),
         {cmd(ESCROW), cmd(SCAN)}},
        {"another key leaves it unseen", edit, {"-CfgForeign", "-Import", "3", "-SecurityKey", "N0t+theKey", "-a0"},
         "00", "Foreign configuration 3 does not exist on controller 0.\n", {cmd(ESCROW), cmd(SCAN)}},
    });
    const std::string dir = host(edit);
    RunResult r = run(dir, {"-CfgForeign", "-Import", "3", "-SecurityKey", "Tr0ub4dor+3", "-a0"});
    EXPECT_EQ(r.out, BLANK_OUT + "Foreign configuration 3 is imported on controller 0.\n" + exitLine("00"));
    EXPECT_EQ(foreignCommands(dir), Lines({cmd(ESCROW), cmd(SCAN)}) + twoReads(PREVIEW, 3) + Lines{cmd(IMPORT, 3)});
    const nlohmann::json c = controller(dir);
    EXPECT_EQ(c["lds"].back()["name"], "locked");
    EXPECT_EQ(c["drives"].back()["security"], "0x7") << "unlocked by the import";
}

TEST_F(ForeignConfigE2e, ClearOneAtATime)
{
    expectRuns({
        {"all: each clear asks for the index the earlier clears left", {}, {"-CfgForeign", "-Clear", "-a0"}, "00",
         "Foreign configuration 0 is cleared on controller 0.\nForeign configuration 1 is cleared on controller 0.\n"
         "Foreign configuration 2 is cleared on controller 0.\n",
         {cmd(SCAN), cmd(SCAN), cmd(CLEAR, 0), cmd(SCAN), cmd(CLEAR, 0), cmd(SCAN), cmd(CLEAR, 0)}},
        {"one", {}, {"-CfgForeign", "-Clear", "2", "-a0"}, "00", "Foreign configuration 2 is cleared on controller 0.\n",
         {cmd(SCAN), cmd(SCAN), cmd(CLEAR, 2)}},
        {"a typed index above 254 does not parse", {}, {"-CfgForeign", "-Clear", "300", "-a0"}, "01",
         "Failed to parse command. Use -h option for usage.\n", {}},
    });
}
