// What the simulated hosts show and record, through the real binary: the informational commands
// on the preset a reader tries first, and the steps by which new and deleted logical drives
// reach the operating system on current and old kernels.
#include "E2eHarness.h"
#include "TranscriptReaders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class HostRecordsE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    std::string host(const char* preset)
    {
        const std::string dir = makeSimHost(preset);
        cleanup.push_back(dir.substr(0, dir.rfind('/')));
        return dir;
    }

    RunResult run(const std::string& dir, const std::vector<std::string>& args)
    {
        RunSpec spec;
        spec.args = args;
        spec.env = {{"QUILLCLI_SIM_HOST", dir}};
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        return r;
    }

    std::vector<std::string> cleanup;
};

// Every informational command of the simulated host's guide runs on preset "one" as on a real
// host: no failure of any read, nothing on standard error, exit code 0.
TEST_F(HostRecordsE2e, InformationalCommandsRunCleanOnPresetOne)
{
    const std::vector<std::vector<std::string>> commands = {
        {"-AdpAllInfo", "-a0"},   {"-ShowSummary", "-a0"}, {"-Version", "-Pd", "-a0"},
        {"-EncInfo", "-a0"},      {"-CfgDsply", "-a0"},    {"-LDInfo", "-Lall", "-a0"},
        {"-PDList", "-a0"},       {"-AdpAlILog", "-a0"},   {"-AdpEventLog", "-GetEventLogInfo", "-a0"},
        {"-AdpBbuCmd", "-a0"},
    };
    const std::string dir = host("one");
    for (const std::vector<std::string>& args : commands) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        RunResult r = run(dir, args);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out.find("Failed to"), std::string::npos) << r.out;
        EXPECT_EQ(r.out.rfind("\nExit Code: 0x00\n"), r.out.size() - 17) << r.out;
    }
    // The enclosure has its own entry in the drive list, and the drives' inquiry texts are
    // padded with blanks, so the revision shows after the product.
    RunResult summary = run(dir, {"-ShowSummary", "-a0"});
    EXPECT_NE(summary.out.find("        Enclosure\n                 Product Id        : QSES-12         \n"),
              std::string::npos) << summary.out;
    RunResult versions = run(dir, {"-Version", "-Pd", "-a0"});
    EXPECT_EQ(versions.out, BLANK_OUT + "Location\tModel\t        Fw Version\n252 2 \t\tQD1000SAS       A001\n"
                                        "252 3 \t\tQD1000SAS       A001\n252 0 \t\tQD1000SAS       A001\n"
                                        "252 1 \t\tQD1000SAS       A001\n\nExit Code: 0x00\n");
}

// A new logical drive: a rescan of the host through sysfs on a current kernel, one add line per
// logical drive through /proc on an old one. A deleted one: its disk looked up by its
// identification page, or its line removed through /proc.
TEST_F(HostRecordsE2e, VisibilityStepsOnCurrentAndOldKernels)
{
    const struct {
        const char* preset;
        std::vector<std::string> args;
        std::string out;
        std::vector<std::string> steps;
    } rows[] = {
        {"one", {"-CfgLdAdd", "-r0[252:2]", "-a0"},
         "Adapter 0: Created VD 1\n\nAdapter 0: Configured the Adapter!!\n", {"add host=2 via=sysfs"}},
        {"one", {"-CfgLdDel", "-L0", "-a0"}, "Adapter 0: Deleted Virtual Drive-0(target id-0)\n",
         {"find host=2 channel=2 target=0 lun=0 via=sysfs"}},
        {"old-kernel", {"-CfgLdAdd", "-r0[252:2]", "-a0"},
         "Adapter 0: Created VD 1\n\nAdapter 0: Configured the Adapter!!\n",
         {"add host=2 channel=2 target=0 lun=0 via=proc", "add host=2 channel=2 target=1 lun=0 via=proc"}},
        {"old-kernel", {"-CfgLdDel", "-L0", "-a0"}, "Adapter 0: Deleted Virtual Drive-0(target id-0)\n",
         {"remove host=2 channel=2 target=0 lun=0 via=proc"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.preset) + " " + row.args[0]);
        const std::string dir = host(row.preset);
        RunResult r = run(dir, row.args);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, BLANK_OUT + row.out + "\nExit Code: 0x00\n");
        EXPECT_EQ(loggedVisibilitySteps(dir), row.steps);
        EXPECT_EQ(loggedShellCommands(dir), std::vector<std::string>());
    }
}

// The transcript keeps each command's data whole, in order with the visibility steps: the
// configuration added is the record that was sent, and the rescan follows it.
TEST_F(HostRecordsE2e, TranscriptHoldsDataAndStepsInOrder)
{
    const std::string dir = host("one");
    RunResult r = run(dir, {"-CfgLdAdd", "-r0[252:2]", "-a0"});
    ASSERT_EQ(r.exitCode, 0);
    const std::vector<LoggedCommand> added = loggedCommandData(dir, "0x04020000");
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].dir, "write");
    EXPECT_EQ(added[0].status, "0x00");
    EXPECT_EQ(added[0].returned, "");
    // The header: total size, then one array record (288 bytes) and one logical drive (256).
    EXPECT_EQ(hexFieldMismatches(added[0].sent, {{0, "40020000010020010100000100002800"}}), "");
    EXPECT_EQ(added[0].sent.size(), 2u * 0x240);
    const std::vector<std::string> outline = transcriptOutline(dir);
    ASSERT_GE(outline.size(), 2u);
    size_t at = 0;
    while (at < outline.size() && outline[at] != "command opcode=0x04020000 status=0x00")
        ++at;
    ASSERT_LT(at, outline.size());
    bool rescanAfter = false;
    for (size_t i = at + 1; i < outline.size(); ++i)
        rescanAfter = rescanAfter || outline[i] == "visibility add host=2 via=sysfs";
    EXPECT_TRUE(rescanAfter);
    // A read returns what the controller answered: the information record's vendor id first.
    const std::vector<LoggedCommand> info = loggedCommandData(dir, "0x01010000");
    ASSERT_FALSE(info.empty());
    EXPECT_EQ(info[0].dir, "read");
    EXPECT_EQ(info[0].sent, "");
    EXPECT_EQ(hexBytesAt(info[0].returned, 0, 2), "7a1e");
    EXPECT_EQ(info[0].returned.size(), 2u * 2048);
}

} // namespace
