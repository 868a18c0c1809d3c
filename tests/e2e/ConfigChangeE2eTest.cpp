// Clearing the configuration (-CfgClr) and deleting virtual drives (-CfgLdDel, -CfgTidewellDel)
// through the real binary and simulated hosts: console, exit code, the firmware commands that
// reached the controller, and the virtual drives a later -LDInfo still finds.
#include "FirmwareCaseE2e.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

using namespace e2ecase;

const std::string SSD_CACHE_DATA = "\nFW error description: \n LD Cached data is present on a (this) SSCD\n";
const std::string FORCE_HINT = "Performing this operation will result in data corruption or data lost, use -force option "
                               "if you are sure to perform this operation. \n";

const char* const CLEAR = "0x04030000";
const char* const ASSOCIATIONS = "0x03100200";
const char* const LD_INFO = "0x03020000";
const char* const LD_DELETE = "0x03090000";

std::string cleared(int a)
{
    return "Adapter " + std::to_string(a) + ": Configuration is Cleared.\n";
}

// The disks of the controller's logical drives leave the operating system: each drive's
// information is read for its state, then (its target id checked against the controller's
// range) again for its identification page.
Lines osRemoval(unsigned host, unsigned drives)
{
    Lines out;
    for (unsigned i = 0; i < drives; ++i)
        out = out + Lines{sent(host, LD_INFO), sent(host, INFO), sent(host, LD_INFO)};
    return out;
}

// The association list is read in two passes when it is not empty.
Lines associations(unsigned host, bool empty)
{
    return empty ? Lines{sent(host, ASSOCIATIONS)} : Lines{sent(host, ASSOCIATIONS), sent(host, ASSOCIATIONS)};
}

const Lines DISCOVERED_2 = {sent(2, INFO)};

class ConfigClearE2e : public FirmwareCaseE2e {};

const nlohmann::json CACHED = nlohmann::json::parse(R"({"lds": [{"targetId": 0, "raidLevel": 1, "drivesPerSpan": 2,
    "drives": [8, 9], "spans": [{"array": 0}], "cacheAssociation": 1}]})");

}  // namespace

TEST_F(ConfigClearE2e, ClearWithAndWithoutForce)
{
    expectRuns({
        {"plain clear: the disks leave the OS first", "one", {}, {}, {"-CfgClr", "-a0"}, 0,
         BLANK_OUT + "\n" + cleared(0) + exitLine("00"),
         DISCOVERED_2 + action(2, false, associations(2, true) + osRemoval(2, 1) + Lines{sent(2, CLEAR)}),
         {"opcode=0x04030000 mbox=0x00000000,0x00000000,0x00000000"}},
        {"SSD-cache data refuses a plain clear: the hint, the blank line, the failure", "one", CACHED, {},
         {"-CfgClr", "-a0"}, 0x66, BLANK_OUT + FORCE_HINT + "\n" + "Adapter 0: Failed to Clear Configuration.\n" +
                                       SSD_CACHE_DATA + exitLine("66"),
         DISCOVERED_2 + action(2, false, associations(2, false) + Lines{sent(2, CLEAR, "0x66")}), {}},
        {"-Force clears it, without the blank line", "one", CACHED, {}, {"-CfgClr", "-Force", "-a0"}, 0,
         BLANK_OUT + cleared(0) + exitLine("00"),
         DISCOVERED_2 + action(2, false, associations(2, false) + osRemoval(2, 1) + Lines{sent(2, CLEAR)}),
         {"opcode=0x04030000 mbox=0x00000001,0x00000000,0x00000000"}},
        {"a refused forced clear brings the disks back", "one", {}, {{"status", CLEAR, "0x2d"}},
         {"-CfgClr", "-Force", "-a0"}, 0x2d,
         BLANK_OUT + "Adapter 0: Failed to Clear Configuration.\n" + DEVICE_BUSY + exitLine("2d"),
         DISCOVERED_2 + action(2, false, associations(2, true) + osRemoval(2, 1) + Lines{sent(2, CLEAR, "0x2d")}),
         {}},
        {"-aALL", "two", {}, {}, {"-CfgClr", "-aALL"}, 0, BLANK_OUT + "\n" + cleared(0) + "\n" + cleared(1) + exitLine("00"),
         Lines{sent(2, INFO), sent(3, INFO)} +
             action(2, false, associations(2, true) + osRemoval(2, 1) + Lines{sent(2, CLEAR)}) +
             action(3, false, associations(3, true) + osRemoval(3, 1) + Lines{sent(3, CLEAR)}),
         {}},
    }, {CLEAR});
}

// A fault that matches the plain clear's mailbox (byte 0 = 0) leaves the forced clear (byte 0 =
// 1) alone; the disks leave the operating system before either, and come back after the
// refused one.
TEST_F(ConfigClearE2e, PlainClearRefusedForcedClearTaken)
{
    const Lines plainOnly = {"status", CLEAR, "0x2d", "--mailbox", "0=00"};
    const Lines diskLookedUp = {"find host=2 channel=2 target=0 lun=0 via=sysfs"};
    expectRuns({
        {"the plain clear meets the fault", "one", {}, {plainOnly}, {"-CfgClr", "-a0"}, 0x2d,
         BLANK_OUT + "\n" + "Adapter 0: Failed to Clear Configuration.\n" + DEVICE_BUSY + exitLine("2d"),
         DISCOVERED_2 + action(2, false, associations(2, true) + osRemoval(2, 1) + Lines{sent(2, CLEAR, "0x2d")}),
         {"opcode=0x04030000 mbox=0x00000000,0x00000000,0x00000000"}, nullptr, {}, Lines{},
         diskLookedUp + Lines{"add host=2 via=sysfs"}},
        {"the forced clear passes it", "one", {}, {plainOnly}, {"-CfgClr", "-Force", "-a0"}, 0,
         BLANK_OUT + cleared(0) + exitLine("00"),
         DISCOVERED_2 + action(2, false, associations(2, true) + osRemoval(2, 1) + Lines{sent(2, CLEAR)}),
         {"opcode=0x04030000 mbox=0x00000001,0x00000000,0x00000000"}, nullptr, {}, Lines{}, diskLookedUp},
    }, {CLEAR});
}

TEST_F(ConfigClearE2e, ClearedButTheOsStepFailed)
{
    Case run{"", "one", {}, {}, {"-CfgClr", "-a0"}, 0, "", {}, {}};
    const std::string dir = host(run);
    // Without the SCSI device directory no disk can be found.
    removeTree(dir + "/sys/bus/scsi/devices");
    RunSpec spec;
    spec.args = run.args;
    spec.env = {{"QUILLCLI_SIM_HOST", dir}};
    RunResult r = runProgram(spec);
    cleanup.push_back(r.workDir);
    EXPECT_EQ(r.out, BLANK_OUT + "\nFailed while adding the configuration to OS.\n" + "\nExit Code: 0xfffffffe\n");
    EXPECT_EQ(r.exitCode, 254);
    nlohmann::json state = nlohmann::json::parse(readFile(dir + "/state.json"));
    EXPECT_TRUE(state["controllers"][0]["lds"].empty()) << "the controller cleared it";
}

// ---------------------------------------------------------------------------------------------

namespace {

// A host with four virtual drives (tests/e2e/data/config-change-host.json): 0 a mirror, 1 with
// a snapshot, 2 served by the SSD cache 4.
class LdDeleteE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    std::string host(const nlohmann::json& edit = nlohmann::json::object(), const Lines& fault = {})
    {
        nlohmann::json description =
            nlohmann::json::parse(readFile(std::string(QUILL_SOURCE_DIR) + "/tests/e2e/data/config-change-host.json"));
        description["controllers"][0].merge_patch(edit);
        std::string base = makeTempDir("quilldelete");
        cleanup.push_back(base);
        std::ofstream(base + "/description.json") << description.dump(2);
        RunSpec spec;
        spec.program = QUILLSIM_BIN;
        spec.args = {"create", base + "/host", "--from", base + "/description.json"};
        RunResult made = runProgram(spec);
        cleanup.push_back(made.workDir);
        EXPECT_EQ(made.exitCode, 0) << made.err;
        if (!fault.empty()) {
            EXPECT_EQ(addSimFault(base + "/host", fault), "");
        }
        return base + "/host";
    }

    RunResult run(const std::string& hostDir, const Lines& args)
    {
        RunSpec spec;
        spec.args = args;
        spec.env = {{"QUILLCLI_SIM_HOST", hostDir}};
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        EXPECT_EQ(r.err, "");
        return r;
    }

    // The target ids -LDInfo -LALL shows, in its order.
    Lines shownDrives(const std::string& hostDir)
    {
        RunResult r = run(hostDir, {"-LDInfo", "-LALL", "-a0"});
        Lines shown;
        std::istringstream out(r.out);
        std::string line;
        while (std::getline(out, line))
            if (line.rfind("Virtual Drive: ", 0) == 0 || line.rfind("Tidewell Virtual Drive: ", 0) == 0)
                shown.push_back(line);
        return shown;
    }

    // The "opcode=... mbox=..." of the deletes in the host's log.
    static Lines deletes(const std::string& hostDir)
    {
        Lines out;
        std::istringstream log(readFile(hostDir + "/commands.log"));
        std::string line;
        while (std::getline(log, line)) {
            size_t at = line.find(std::string("opcode=") + LD_DELETE + " ");
            if (at != std::string::npos)
                out.push_back(line.substr(at, line.find(" len=") - at));
        }
        return out;
    }

    Lines cleanup;
};

const std::string SNAPSHOT_LINE = "Snapshot is enabled on the Virtual Disk 1. Cannot delete Virtual Disk 1\n";
const char* const SHOWN_0 = "Virtual Drive: 0 (Target Id: 0)";
const char* const SHOWN_1 = "Virtual Drive: 1 (Target Id: 1)";
const char* const SHOWN_2 = "Virtual Drive: 2 (Target Id: 2)";
const char* const SHOWN_4 = "Tidewell Virtual Drive: 4 (Target Id: 4)";
const nlohmann::json SSD_CACHING = nlohmann::json::parse(R"({"info": {"maxSscSizeGB": 200}})");

std::string deleted(int t)
{
    return "Adapter 0: Deleted Virtual Drive-" + std::to_string(t) + "(target id-" + std::to_string(t) + ")\n";
}

}  // namespace

TEST_F(LdDeleteE2e, NamedDrivesWithoutSsdCaching)
{
    std::string dir = host();
    RunResult r = run(dir, {"-CfgLdDel", "-L1,0,5", "-a0"});
    EXPECT_EQ(r.out, ",," + BLANK_OUT + SNAPSHOT_LINE + deleted(0) + "Adapter 0: Virtual Drive 5 Does not Exist.\n" +
                         exitLine("01"));
    EXPECT_EQ(r.exitCode, 1) << "the snapshot refusal";
    EXPECT_EQ(deletes(dir), Lines{"opcode=0x03090000 mbox=0x00010000,0x00000000,0x00000000"});
    EXPECT_EQ(shownDrives(dir), (Lines{SHOWN_1, SHOWN_2, SHOWN_4}));
    EXPECT_EQ(r.files.count("QuillSAS.log"), 1u);
    EXPECT_EQ(r.files["QuillSAS.log"].find("Snapshot is enabled"), std::string::npos) << "the snapshot line is not logged";
}

TEST_F(LdDeleteE2e, ServedDriveNeedsForceWhichSkipsTheOsStep)
{
    std::string dir = host(SSD_CACHING);
    RunResult refused = run(dir, {"-CfgLdDel", "-L2", "-a0"});
    EXPECT_EQ(refused.out, BLANK_OUT + " Virtual Disk is associate with Tidewell. Please Use force option to delete \n" +
                               exitLine("01"));
    EXPECT_TRUE(deletes(dir).empty());

    // The drive's information is read once, for its snapshot byte; the search for its disk
    // would read it twice more.
    auto infoReads = [&dir]() {
        const std::string log = readFile(dir + "/commands.log");
        const std::string read = std::string("opcode=") + LD_INFO + " mbox=0x00000002,";
        size_t reads = 0;
        for (size_t at = log.find(read); at != std::string::npos; at = log.find(read, at + 1))
            ++reads;
        return reads;
    };
    const size_t before = infoReads();
    RunResult forced = run(dir, {"-CfgLdDel", "-L2", "-Force", "-a0"});
    EXPECT_EQ(forced.out, BLANK_OUT + deleted(2) + exitLine("00"));
    EXPECT_EQ(forced.exitCode, 0);
    EXPECT_EQ(deletes(dir), Lines{"opcode=0x03090000 mbox=0x00010002,0x00000000,0x00000000"});
    const size_t reads = infoReads() - before;
    EXPECT_EQ(reads, 1u) << "with -Force the disk was not looked for";
    EXPECT_EQ(shownDrives(dir), (Lines{SHOWN_0, SHOWN_1, SHOWN_4}));
}

TEST_F(LdDeleteE2e, AllDrivesPassOverTheSsdCacheAndStopAtAServedDrive)
{
    std::string dir = host(SSD_CACHING);
    RunResult r = run(dir, {"-CfgLdDel", "-LALL", "-a0"});
    EXPECT_EQ(r.out, BLANK_OUT + deleted(0) + SNAPSHOT_LINE +
                         " Virtual Disk is associate with Tidewell. Please Use force option to delete \n" + exitLine("01"));
    EXPECT_EQ(shownDrives(dir), (Lines{SHOWN_1, SHOWN_2, SHOWN_4}));
}

TEST_F(LdDeleteE2e, SsdCacheDeletion)
{
    struct Row {
        const char* what;
        nlohmann::json edit;
        Lines args;
        int exitCode;
        std::string out;
        Lines left;
    } rows[] = {
        {"the cache itself", SSD_CACHING, {"-CfgTidewellDel", "-L4", "-a0"}, 0, BLANK_OUT + deleted(4) + exitLine("00"),
         {SHOWN_0, SHOWN_1, SHOWN_2}},
        {"an ordinary drive named", SSD_CACHING, {"-CfgTidewellDel", "-L0", "-a0"}, 1,
         BLANK_OUT + "VD is not Tidewell\n" + exitLine("01"), {SHOWN_0, SHOWN_1, SHOWN_2, SHOWN_4}},
        {"-LALL passes over the ordinary drives", SSD_CACHING, {"-CfgTidewellDel", "-LALL", "-a0"}, 1,
         BLANK_OUT + SNAPSHOT_LINE + deleted(4) + exitLine("01"), {SHOWN_0, SHOWN_1, SHOWN_2}},
        {"the cache named to -CfgLdDel", SSD_CACHING, {"-CfgLdDel", "-L4", "-a0"}, 1,
         BLANK_OUT + " Virtual Disk is an Tidewell. Please Use Tidewell Command for Deleting the VD \n" + exitLine("01"),
         {SHOWN_0, SHOWN_1, SHOWN_2, SHOWN_4}},
        {"without SSD caching", nlohmann::json::object(), {"-CfgTidewellDel", "-L4", "-a0"}, 1,
         BLANK_OUT + "Tidewell is not supported \n" + exitLine("01"), {SHOWN_0, SHOWN_1, SHOWN_2, SHOWN_4}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::string dir = host(row.edit);
        RunResult r = run(dir, row.args);
        EXPECT_EQ(r.exitCode, row.exitCode);
        EXPECT_EQ(r.out, row.out);
        EXPECT_EQ(shownDrives(dir), row.left);
    }
}

TEST_F(LdDeleteE2e, FailedDeleteEndsTheCommandWithItsStatus)
{
    std::string dir = host(nlohmann::json::object(), {"status", LD_DELETE, "0x2d"});
    RunResult r = run(dir, {"-CfgLdDel", "-L0,2", "-a0"});
    EXPECT_EQ(r.out, "," + BLANK_OUT + "Adapter 0: Failed to delete Virtual Drive-0\n" + DEVICE_BUSY + exitLine("2d"));
    EXPECT_EQ(r.exitCode, 0x2d);
    EXPECT_EQ(deletes(dir).size(), 1u) << "drive 2 was not tried";
    EXPECT_EQ(shownDrives(dir), (Lines{SHOWN_0, SHOWN_1, SHOWN_2, SHOWN_4}));
}

TEST_F(LdDeleteE2e, DeletedButTheOsStepFailed)
{
    std::string dir = host();
    removeTree(dir + "/sys/bus/scsi/devices");
    RunResult r = run(dir, {"-CfgLdDel", "-L0", "-a0"});
    EXPECT_EQ(r.out, BLANK_OUT + deleted(0) + "Failed while adding the configuration to OS.\n" + exitLine("00"));
    EXPECT_EQ(r.exitCode, 0);
}
