// The background operations of virtual drives (-LDCC, -LDInit, -LDBI) through the real QuillCli
// binary and simulated hosts: the console text, the exit code and the firmware commands that
// reached the controller, including the progress display, which follows the operation on the
// host's clock.
#include "E2eHarness.h"
#include "LongOperationRuns.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

using namespace longops;

const char* const LD_LIST = "0x03010000";
const char* const LD_SET_PROPERTIES = "0x03040000";
const char* const CC_START = "0x03050100";
const char* const CC_ABORT = "0x03050200";
const char* const INIT_START = "0x03060100";
const char* const LD_PROGRESS = "0x03080000";
const char* const LD_ALLOWED = "0x030b0000";
const char* const BGOP_SUSPEND_RESUME = "0x03120200";

const std::string VD_TITLE = " Progress of Virtual Drives...\n\n\r";
const std::string VD_COLUMNS = "  Virtual Drive #              Percent Complete                       Time Elps\n\r";

// Two logical drives on the array of preset "one", target ids 3 and 1 in that order.
nlohmann::json twoDrives()
{
    return {{"lds",
             {{{"targetId", 3}, {"raidLevel", 1}, {"drivesPerSpan", 2}, {"sizeBlocks", 1000}, {"drives", {8, 9}},
               {"spans", {{{"array", 0}, {"startBlock", 0}, {"blockCount", 1000}}}}},
              {{"targetId", 1}, {"raidLevel", 1}, {"drivesPerSpan", 2}, {"sizeBlocks", 1000}, {"drives", {8, 9}},
               {"spans", {{{"array", 0}, {"startBlock", 1000}, {"blockCount", 1000}}}}}}}};
}

// Preset "one"'s logical drive 0 with these settings.
nlohmann::json drive0(const nlohmann::json& settings)
{
    nlohmann::json ld = {{"targetId", 0}, {"raidLevel", 1}, {"drivesPerSpan", 2}, {"sizeBlocks", 1952448512},
                         {"drives", {8, 9}}, {"spans", {{{"array", 0}}}}};
    ld.merge_patch(settings);
    return {{"lds", {ld}}};
}

class VdOperationsE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    std::string host(const nlohmann::json& edit) { return hostOfPresetOne(edit, cleanup); }

    // One run; the host's command log starts afresh for it. The firmware commands are compared
    // without the model's reads and the logical-drive list reads of the drive lookups.
    void expectRun(const std::string& dir, const Lines& args, int exitCode, const std::string& out,
                   const Lines& commands, const std::string& input = "")
    {
        SCOPED_TRACE(args[0] + " " + args[1] + " " + args[2]);
        remove((dir + "/commands.log").c_str());
        RunSpec spec;
        spec.args = args;
        spec.env = {{"QUILLCLI_SIM_HOST", dir}, {"TERM", NO_TERMINAL}};
        spec.stdinText = input;
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.exitCode, exitCode);
        // What the front end shows before its blank-out line is not these commands' concern.
        EXPECT_EQ(r.out.substr(r.out.find('\r') == std::string::npos ? 0 : r.out.find('\r')), out);
        Lines log;
        for (const std::string& line : withoutModelReads(loggedFirmwareCommands(dir)))
            if (line.find(LD_LIST) == std::string::npos)
                log.push_back(line);
        EXPECT_EQ(log, checked() + commands);
    }

    std::vector<std::string> cleanup;
};

TEST_F(VdOperationsE2e, ConsistencyCheckStart)
{
    const std::string dir = host(drive0({{"initialized", 0}}));
    expectRun(dir, {"-LDCC", "-Start", "-L0", "-a0"}, 1,
              BLANK_OUT +
                  "The virtual disk has not been initialized.  Running a consistency check may result in inconsistent "
                  "messages in the log.\n" +
                  exitLine("01"),
              {});
    expectRun(dir, {"-LDCC", "-Start", "-force", "-L0", "-a0"}, 0,
              BLANK_OUT + "Start Check Consistency on Virtual Drive 0 (target id: 0) Success.\n" + exitLine("00"),
              {sent(CC_START)});
    // A check runs already: the firmware refuses, the status is the result.
    expectRun(dir, {"-LDCC", "-Start", "-force", "-L0", "-a0"}, 0x17,
              BLANK_OUT + "Start Check Consistency on Virtual Drive 0 (target id: 0) Failed.\n" +
                  "\nFW error description: \n The requested virtual disk operation cannot be performed because "
                  "consistency check is in progress.  \n" +
                  exitLine("17"),
              {sent(CC_START, "0x17")});
}

TEST_F(VdOperationsE2e, AllDrivesInTargetIdOrder)
{
    const std::string dir = host(twoDrives());
    expectRun(dir, {"-LDCC", "-Start", "-LALL", "-a0"}, 0,
              BLANK_OUT + "Start Check Consistency on Virtual Drive 1 (target id: 1) Success.\n" +
                  "Start Check Consistency on Virtual Drive 3 (target id: 3) Success.\n" + exitLine("00"),
              {sent(CC_START), sent(CC_START)});
    EXPECT_EQ(mailboxes(dir, CC_START), (Lines{"0x00010001,0x00000000,0x00000000", "0x00010003,0x00000000,0x00000000"}));
    // A drive that does not exist is reported and the walk goes on; the last drive's status is
    // the result.
    expectRun(dir, {"-LDCC", "-ShowProg", "-L5,3", "-a0"}, 0,
              BLANK_OUT + "Adapter 0: Virtual Drive 5 Does not Exist.\n" +
                  "Check Consistency on VD #3 (target id #3) Completed 0% in 0 Minutes.\n" + exitLine("00"),
              {sent(LD_PROGRESS)});
    expectRun(dir, {"-LDInit", "-Abort", "-L3,5", "-a0"}, 1,
              BLANK_OUT + "Initialization on VD #3 is not in progress.\n" +
                  "Adapter 0: Virtual Drive 5 Does not Exist.\n" + exitLine("01"),
              {sent(LD_PROGRESS)});
}

TEST_F(VdOperationsE2e, InitializationFastAndFull)
{
    const std::string dir = host(twoDrives());
    expectRun(dir, {"-LDInit", "-Start", "-full", "-L3", "-a0"}, 0,
              BLANK_OUT + "Start Initialization on Virtual Drive 3 (target id: 3) Success.\n" + exitLine("00"),
              {sent(INIT_START)});
    EXPECT_EQ(mailboxes(dir, INIT_START), (Lines{"0x00010003,0x00000001,0x00000000"}));
    expectRun(dir, {"-LDInit", "-ShowProg", "-L3", "-a0"}, 0,
              BLANK_OUT + "Initialization on VD #3 (target id #3) Complete 0% in 0 Minutes.\n" + exitLine("00"),
              {sent(LD_PROGRESS)});
    expectRun(dir, {"-LDInit", "-Abort", "-L3", "-a0"}, 0,
              BLANK_OUT + "Abort Initialization on Virtual Drive 3 (target id: 3) Success.\n" + exitLine("00"),
              {sent(LD_PROGRESS), sent("0x03060200")});
    expectRun(dir, {"-LDInit", "-Start", "-L1", "-a0"}, 0,
              BLANK_OUT + "Start Initialization on Virtual Drive 1 (target id: 1) Success.\n" + exitLine("00"),
              {sent(INIT_START)});
    EXPECT_EQ(mailboxes(dir, INIT_START), (Lines{"0x00010001,0x00000000,0x00000000"}));
}

TEST_F(VdOperationsE2e, BackgroundInitialization)
{
    const std::string dir = host(drive0({{"progress", {{{"operation", "backgroundInit"}, {"progress", 32767},
                                                        {"elapsed", 600}}}}}));
    expectRun(dir, {"-LDBI", "-ShowProg", "-L0", "-a0"}, 0,
              BLANK_OUT + "Background Initialization on VD #0 (target id #0) Complete 49% in 10 Minutes.\n" +
                  exitLine("00"),
              {sent(LD_PROGRESS)});
    // The consistency-check abort ends a background initialization too.
    expectRun(dir, {"-LDBI", "-Abort", "-L0", "-a0"}, 0,
              BLANK_OUT + "Abort Background Initialization on Virtual Drive 0 (target id: 0) Success.\n" +
                  exitLine("00"),
              {sent(LD_PROGRESS), sent(CC_ABORT)});
    expectRun(dir, {"-LDBI", "-ShowProg", "-L0", "-a0"}, 0,
              BLANK_OUT + "Background Initialization on VD #0 is not in Progress.\n" + exitLine("00"),
              {sent(LD_PROGRESS)});
    expectRun(dir, {"-LDBI", "-Dsbl", "-L0", "-a0"}, 0,
              BLANK_OUT + "Background Initialization is Disabled on VD 0 (target id: 0) on Adapter 0\n" +
                  exitLine("00"),
              {sent(LD_SET_PROPERTIES)});
    expectRun(dir, {"-LDBI", "-getSetting", "-L0", "-a0"}, 0,
              BLANK_OUT + "Background Initialization is Disabled on VD 0 (target id: 0) on Adapter 0\n" +
                  exitLine("00"),
              {});
    expectRun(dir, {"-LDBI", "-Enbl", "-L0", "-a0"}, 0,
              BLANK_OUT + "Background Initialization is Enabled on VD 0 (target id: 0) on Adapter 0\n" +
                  exitLine("00"),
              {sent(LD_SET_PROPERTIES)});
}

TEST_F(VdOperationsE2e, SuspendAndResume)
{
    // Without the firmware's capability: once, before any drive.
    expectRun(host(twoDrives()), {"-LDCC", "-Suspend", "-LALL", "-a0"}, 1,
              BLANK_OUT + "FW Not Allowed Suspend-Resume on BG Operations.\n" + exitLine("01"), {});
    nlohmann::json edit = drive0({{"progress", {{{"operation", "consistencyCheck"}, {"progress", 32767},
                                                 {"elapsed", 600}}}}});
    edit["info"] = {{"piFeatures", 0x80}, {"reportingFeatures", 0x40}};
    const std::string dir = host(edit);
    expectRun(dir, {"-LDCC", "-Resume", "-L0", "-a0"}, 0,
              BLANK_OUT + "CC/BGI Resume not allowed operation on this VD = 0 \n" + exitLine("00"), {sent(LD_ALLOWED)});
    expectRun(dir, {"-LDCC", "-Suspend", "-L0", "-a0"}, 0,
              BLANK_OUT + "CC/BGI Suspend operation successful on VD - 0 \n" + exitLine("00"),
              {sent(LD_ALLOWED), sent(BGOP_SUSPEND_RESUME)});
    EXPECT_EQ(mailboxes(dir, BGOP_SUSPEND_RESUME), (Lines{"0x00010000,0x00000000,0x00000000"}));
    expectRun(dir, {"-LDCC", "-ShowProg", "-L0", "-a0"}, 0,
              BLANK_OUT + "LD-CC is in Suspend Stage\n" + exitLine("00"), {sent(LD_PROGRESS)});
    // A suspended check is not shown: the two lines, the pause and no screen.
    expectRun(dir, {"-LDCC", "-ProgDsply", "-L0", "-a0"}, 0,
              BLANK_OUT + "LD-CC is in Suspend Stage\n" + "Check Consistency on VD #0 is not in progress.\n" +
                  exitLine("00"),
              {sent(LD_PROGRESS)});
    expectRun(dir, {"-LDCC", "-Resume", "-L0", "-a0"}, 0,
              BLANK_OUT + "CC/BGI Resume operation successful on VD - 0 \n" + exitLine("00"),
              {sent(LD_ALLOWED), sent(BGOP_SUSPEND_RESUME)});
    EXPECT_EQ(mailboxes(dir, BGOP_SUSPEND_RESUME), (Lines{"0x00010000,0x00000001,0x00000000"}));
}

TEST_F(VdOperationsE2e, SuspendAndResumeWithoutAllowedOperationWords)
{
    // The firmware can suspend background operations but keeps no allowed-operations words: a
    // word never read allows nothing, so neither command is sent.
    nlohmann::json edit = drive0({{"progress", {{{"operation", "consistencyCheck"}, {"progress", 32767}}}}});
    edit["info"] = {{"piFeatures", 0x80}};
    const std::string dir = host(edit);
    expectRun(dir, {"-LDCC", "-Suspend", "-L0", "-a0"}, 0,
              BLANK_OUT + "CC/BGI Suspend not allowed operation on this VD = 0 \n" + exitLine("00"), {});
    expectRun(dir, {"-LDBI", "-Resume", "-L0", "-a0"}, 0,
              BLANK_OUT + "CC/BGI Resume not allowed operation on this VD = 0 \n" + exitLine("00"), {});
}

// Every drive of the list, in target-id order, with the firmware's capability and words: a
// running check on drive 1, a suspended one on drive 3, none on drive 0 of another array.
TEST_F(VdOperationsE2e, AllDrivesRunningSuspendedAndIdle)
{
    nlohmann::json edit = twoDrives();
    edit["lds"][0]["progress"] = {{{"operation", "consistencyCheck"}, {"progress", 13107}, {"elapsed", 120},
                                   {"suspended", true}}};
    edit["lds"][1]["progress"] = {{{"operation", "consistencyCheck"}, {"progress", 32767}, {"elapsed", 600}}};
    edit["info"] = {{"piFeatures", 0x80}, {"reportingFeatures", 0x40}};
    const std::string dir = host(edit);
    expectRun(dir, {"-LDCC", "-ShowProg", "-LALL", "-a0"}, 0,
              BLANK_OUT + "Check Consistency on VD #1 (target id #1) Completed 49% in 10 Minutes.\n" +
                  "LD-CC is in Suspend Stage\n" + exitLine("00"),
              {sent(LD_PROGRESS), sent(LD_PROGRESS)});
    expectRun(dir, {"-LDCC", "-Suspend", "-LALL", "-a0"}, 0,
              BLANK_OUT + "CC/BGI Suspend operation successful on VD - 1 \n" +
                  "CC/BGI Suspend not allowed operation on this VD = 3 \n" + exitLine("00"),
              {sent(LD_ALLOWED), sent(BGOP_SUSPEND_RESUME), sent(LD_ALLOWED)});
    expectRun(dir, {"-LDCC", "-Resume", "-LALL", "-a0"}, 0,
              BLANK_OUT + "CC/BGI Resume operation successful on VD - 1 \n" +
                  "CC/BGI Resume operation successful on VD - 3 \n" + exitLine("00"),
              {sent(LD_ALLOWED), sent(BGOP_SUSPEND_RESUME), sent(LD_ALLOWED), sent(BGOP_SUSPEND_RESUME)});
    EXPECT_EQ(mailboxes(dir, BGOP_SUSPEND_RESUME),
              (Lines{"0x00010001,0x00000001,0x00000000", "0x00010003,0x00000001,0x00000000"}));
    expectRun(dir, {"-LDCC", "-Abort", "-LALL", "-a0"}, 0,
              BLANK_OUT + "Abort Check Consistency on Virtual Drive 1 (target id: 1) Success.\n" +
                  "Abort Check Consistency on Virtual Drive 3 (target id: 3) Success.\n" + exitLine("00"),
              {sent(LD_PROGRESS), sent(CC_ABORT), sent(LD_PROGRESS), sent(CC_ABORT)});
    expectRun(dir, {"-LDCC", "-ShowProg", "-LALL", "-a0"}, 0,
              BLANK_OUT + "Check Consistency on VD #1 is not in progress.\n" +
                  "Check Consistency on VD #3 is not in progress.\n" + exitLine("00"),
              {sent(LD_PROGRESS), sent(LD_PROGRESS)});
}

TEST_F(VdOperationsE2e, WithoutVirtualDrives)
{
    const std::string dir = host({{"lds", nlohmann::json::array()}, {"arrays", nlohmann::json::array()},
                                  {"drives", {{{"deviceId", 8}, {"enclosureId", 252}}}}});
    const std::string none = BLANK_OUT + "Adapter 0: No Virtual Drive Configured.\n" + exitLine("01");
    expectRun(dir, {"-LDCC", "-Start", "-LALL", "-a0"}, 1, none, {});
    expectRun(dir, {"-LDInit", "-Abort", "-L0", "-a0"}, 1, none, {});
    expectRun(dir, {"-LDBI", "-getSetting", "-L0", "-a0"}, 1, none, {});
    // The display has a check of its own.
    expectRun(dir, {"-LDBI", "-ProgDsply", "-LALL", "-a0"}, 1, none, {});
}

// A background initialization on drive 3 of 40000/65535 per second, none on drive 1: drive 1
// is reported as not running and left off the screen; the pause after that line lets drive 3's
// end, which the first screen shows (no running time was ever read, so none is counted).
TEST_F(VdOperationsE2e, BackgroundInitializationDisplayOfEveryDrive)
{
    nlohmann::json edit = twoDrives();
    edit["lds"][0]["progress"] = {{{"operation", "backgroundInit"}, {"progress", 0}, {"elapsed", 0}, {"rate", 40000}}};
    const std::string dir = host(edit);
    expectRun(dir, {"-LDBI", "-ProgDsply", "-LALL", "-a0"}, 0,
              BLANK_OUT + "Background Initialization on VD #1 is not in Progress.\n" + "\n" + VD_TITLE + VD_COLUMNS +
                  "          3         " + repeat('#', 22) + "100 %" + repeat('#', 23) + " 00:00:00\n\r" + PRESS_ESC +
                  exitLine("00"),
              {sent(LD_PROGRESS), sent(LD_PROGRESS), sent(LD_PROGRESS)});
}

// A consistency check of 3000/65535 per second: read at cycle 0 (0 %, no time reported yet, so
// none is counted), at cycle 15 (68 %, 15 s), then counted on, and found ended at cycle 30.
TEST_F(VdOperationsE2e, ConsistencyCheckDisplayFollowsTheClock)
{
    const std::string dir = host(drive0({{"progress", {{{"operation", "consistencyCheck"}, {"progress", 0},
                                                        {"elapsed", 0}, {"rate", 3000}}}}}));
    const std::string bar0 = repeat(' ', 22) + " 00 %" + repeat(' ', 23);
    const std::string bar68 = repeat('#', 22) + "#68 %" + repeat('#', 7) + repeat(' ', 16);
    const std::string bar100 = repeat('#', 22) + "100 %" + repeat('#', 23);
    std::string screens;
    Lines commands = {sent(LD_PROGRESS)};
    for (int cycle = 0; cycle <= 30; ++cycle) {
        const int seconds = cycle < 15 ? 0 : cycle < 30 ? cycle : 29;
        char time[32];
        snprintf(time, sizeof time, " 00:00:%.2d\n\r", seconds);
        screens += "\n" + VD_TITLE + VD_COLUMNS + "          0         " +
                   (cycle < 15 ? bar0 : cycle < 30 ? bar68 : bar100) + time + PRESS_ESC;
        if (cycle % 15 == 0)
            commands.push_back(sent(LD_PROGRESS));
    }
    expectRun(dir, {"-LDCC", "-ProgDsply", "-L0", "-a0"}, 0, BLANK_OUT + screens + exitLine("00"), commands);
}

}  // namespace
