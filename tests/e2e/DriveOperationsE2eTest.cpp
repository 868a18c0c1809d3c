// The long drive operations (-PDRbld, -PDCpyBk, -PDClear) through the real QuillCli binary and
// simulated hosts: the console text, the exit code and the firmware commands that reached the
// controller, for starting, stopping, suspending, resuming, the one-line progress report and the
// progress display, which follows the operation on the host's clock.
#include "E2eHarness.h"
#include "LongOperationRuns.h"
#include "TranscriptReaders.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

using namespace longops;

const char* const PROGRESS = "0x02060000";
const char* const REBUILD_START = "0x02040100";
const char* const REBUILD_STOP = "0x02040200";
const char* const CLEAR_START = "0x02050100";
const char* const COPYBACK_START = "0x020b0100";
const char* const COPYBACK_STOP = "0x020b0200";
const char* const REBUILD_SUSPEND_RESUME = "0x020e0100";
const char* const COPYBACK_SUSPEND_RESUME = "0x020e0200";

const std::string REBUILD_TITLE = "\n      Rebuild progress of physical drives...\n\n\r";
const std::string CLEAR_TITLE = "\n      Clear progress of physical drives...\n\n\r";
const std::string COPYBACK_TITLE = "\n      Copyback Progress of Physical Drive...\n\n\r";
const std::string WRONG_STATE =
    "\nFW error description: \n The specified device is in a state that doesn't support the requested command.  \n";

// A drive in enclosure 252 of preset "one": drives 8 and 9 are the RAID 1 members in slots 0
// and 1, drives 10 and 11 unconfigured good in slots 2 and 3.
nlohmann::json drive(int deviceId, int slot, int state)
{
    return {{"deviceId", deviceId}, {"enclosureId", 252}, {"slot", slot}, {"state", state}};
}

class DriveOperationsE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    // A host of preset "one" with the edit merged into its controller; operations run 20 s.
    std::string host(nlohmann::json edit)
    {
        if (!edit.contains("operationSeconds"))
            edit["operationSeconds"] = 20;
        return hostOfPresetOne(edit, cleanup);
    }

    // One run; the host's command log starts afresh for it.
    RunResult run(const std::string& dir, const Lines& args, const std::string& input = "")
    {
        remove((dir + "/commands.log").c_str());
        remove((dir + "/transcript.log").c_str());
        RunSpec spec;
        spec.args = args;
        spec.env = {{"QUILLCLI_SIM_HOST", dir}, {"TERM", NO_TERMINAL}};
        spec.stdinText = input;
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        EXPECT_EQ(r.err, "");
        return r;
    }

    void expectRun(const std::string& dir, const Lines& args, int exitCode, const std::string& out,
                   const Lines& commands, const std::string& input = "")
    {
        SCOPED_TRACE(args[0] + " " + args[1] + " " + args[2]);
        RunResult r = run(dir, args, input);
        EXPECT_EQ(r.exitCode, exitCode);
        EXPECT_EQ(r.out, out);
        EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(dir)), checked() + commands);
    }

    std::vector<std::string> cleanup;
};

// Rebuild ---------------------------------------------------------------------------------------

TEST_F(DriveOperationsE2e, RebuildStartsOnEachDriveInListOrder)
{
    const std::string dir = host({{"drives", {drive(8, 0, 0x10), drive(9, 1, 0x10)}}});
    expectRun(dir, {"-PDRbld", "-Start", "-PhysDrv[252:1,252:0]", "-a0"}, 0,
              BLANK_OUT + "Started rebuild progress on device(Encl-252 Slot-1)\n" +
                  "Started rebuild progress on device(Encl-252 Slot-0)\n" + exitLine("00"),
              {sent(REBUILD_START), sent(REBUILD_START)});
    EXPECT_EQ(mailboxes(dir, REBUILD_START), (Lines{"0x00010009,0x00000000,0x00000000",
                                                    "0x00010008,0x00000000,0x00000000"}));
}

TEST_F(DriveOperationsE2e, RebuildStopAndStartRefusals)
{
    const std::string dir = host({{"drives", {drive(8, 0, 0x10), drive(9, 1, 0x18)}}});
    // A refusal on the first drive is reported in its line; the walk goes on and the last
    // drive's status is the result.
    expectRun(dir, {"-PDRbld", "-Stop", "-PhysDrv[252:1,252:0]", "-a0"}, 0x32,
              BLANK_OUT + "Device at Enclosure - 252, Slot - 1 is not in Rebuild state.\n" +
                  "Device at Enclosure - 252, Slot - 0 is not in Rebuild state.\n" + WRONG_STATE + exitLine("32"),
              {sent(REBUILD_STOP, "0x32"), sent(REBUILD_STOP, "0x32")});
    expectRun(dir, {"-PDRbld", "-Start", "-PhysDrv[252:1,252:0]", "-a0"}, 0,
              BLANK_OUT + "Cannot Rebuild Physical Drive at Enclosure - 252, Slot - 1.\n" +
                  "Started rebuild progress on device(Encl-252 Slot-0)\n" + exitLine("00"),
              {sent(REBUILD_START, "0x32"), sent(REBUILD_START)});
    // A drive that is not there ends the walk with -1; the drive before it was acted on.
    expectRun(dir, {"-PDRbld", "-Stop", "-PhysDrv[252:0,252:7]", "-a0"}, 1,
              BLANK_OUT + "Stopped rebuild progress on device(Encl-252 Slot-0)\n" +
                  "Adapter 0: Device at Enclosure - 252, Slot - 7 is not found.\n" + exitLine("01"),
              {sent(REBUILD_STOP)});
}

TEST_F(DriveOperationsE2e, RebuildSuspendAndResume)
{
    // Without the controller's suspend-resume capability nothing is touched.
    const std::string plain = host({{"drives", {drive(8, 0, 0x10)}}});
    expectRun(plain, {"-PDRbld", "-Suspend", "-PhysDrv[252:0]", "-a0"}, 1,
              BLANK_OUT + "FW not Supported BG Suspend Resume Operations." + exitLine("01"), {});

    nlohmann::json edit = {{"info", {{"piFeatures", 0x80}}},
                           {"drives", {drive(8, 0, 0x10), drive(9, 1, 0x10)}}};
    edit["drives"][0]["flags362"] = 0x30;   // rebuild may be suspended and resumed
    const std::string dir = host(edit);
    expectRun(dir, {"-PDRbld", "-Start", "-PhysDrv[252:0,252:1]", "-a0"}, 0,
              BLANK_OUT + "Started rebuild progress on device(Encl-252 Slot-0)\n" +
                  "Started rebuild progress on device(Encl-252 Slot-1)\n" + exitLine("00"),
              {sent(REBUILD_START), sent(REBUILD_START)});
    // Drive 9 does not allow it: its line says so, and the result stays 0.
    expectRun(dir, {"-PDRbld", "-Suspend", "-PhysDrv[252:0,252:1]", "-a0"}, 0,
              BLANK_OUT + "PD Rebuild Suspend Operation is Successfull. PDID= 8" +
                  "PD Rebuild Suspend Operation is not allowed. PDID= 9" + exitLine("00"),
              {sent(REBUILD_SUSPEND_RESUME)});
    EXPECT_EQ(mailboxes(dir, REBUILD_SUSPEND_RESUME), (Lines{"0x00010008,0x00000000,0x00000000"}));
    expectRun(dir, {"-PDRbld", "-ShowProg", "-PhysDrv[252:0]", "-a0"}, 0,
              BLANK_OUT + "PD-Rebuild is in Suspend Stage\n" + exitLine("00"), {sent(PROGRESS)});
    // The firmware refuses a second suspend.
    expectRun(dir, {"-PDRbld", "-Suspend", "-PhysDrv[252:0]", "-a0"}, 0,
              BLANK_OUT + "PD Rebuild Suspend Operation is Failed. PDID= 8 retCode = 0x32" + exitLine("00"),
              {sent(REBUILD_SUSPEND_RESUME, "0x32")});
    expectRun(dir, {"-PDRbld", "-Resume", "-PhysDrv[252:0]", "-a0"}, 0,
              BLANK_OUT + "PD Rebuild Resume Operation is Successfull. PDID= 8" + exitLine("00"),
              {sent(REBUILD_SUSPEND_RESUME)});
    EXPECT_EQ(mailboxes(dir, REBUILD_SUSPEND_RESUME), (Lines{"0x00010008,0x00000001,0x00000000"}));
}

TEST_F(DriveOperationsE2e, RebuildProgressLineFollowsTheClock)
{
    const std::string dir = host({{"drives", {drive(8, 0, 0x18), drive(9, 1, 0x10)}}});
    run(dir, {"-PDRbld", "-Start", "-PhysDrv[?:1]", "-a0"});
    advanceClock(dir, 10);
    // "?" stands for the adapter's only enclosure.
    expectRun(dir, {"-PDRbld", "-ShowProg", "-PhysDrv[?:1,252:0]", "-a0"}, 0,
              BLANK_OUT + "Rebuild Progress on Device at Enclosure 252, Slot 1 Completed 49% in 0 Minutes.\n" +
                  "Device(Encl-252 Slot-0) is not in rebuild process\n" + exitLine("00"),
              {sent(PROGRESS), sent(PROGRESS)});
}

TEST_F(DriveOperationsE2e, RebuildDisplayFollowsTheDriveUntilItEnds)
{
    const std::string dir = host({{"drives", {drive(8, 0, 0x18), drive(9, 1, 0x10)}}});
    run(dir, {"-PDRbld", "-Start", "-PhysDrv[252:1]", "-a0"});
    // A key other than Escape is read and ignored.
    expectRun(dir, {"-PDRbld", "-ProgDsply", "-PhysDrv[252:1]", "-a0"}, 0,
              BLANK_OUT + wholeDisplay(REBUILD_TITLE, "       252 :01     ") + exitLine("00"),
              {sent(PROGRESS), sent(PROGRESS), sent(PROGRESS), sent(PROGRESS)}, "x");
    // The drive is online again: nothing runs, so no screen.
    expectRun(dir, {"-PDRbld", "-ProgDsply", "-PhysDrv[252:1,252:7,252:0]", "-a0"}, 0,
              BLANK_OUT + "Device(Encl-252 Slot-1) is not in rebuild process\n" +
                  "Device(Encl-252 Slot-0) is not in rebuild process\n" + exitLine("00"),
              {sent(PROGRESS), sent(PROGRESS)});
}

TEST_F(DriveOperationsE2e, RebuildDisplayLeftWithEscape)
{
    const std::string dir = host({{"drives", {drive(8, 0, 0x18), drive(9, 1, 0x10)}}});
    run(dir, {"-PDRbld", "-Start", "-PhysDrv[252:1]", "-a0"});
    // The not-running line stays five seconds on the screen: the rebuild has run 5 of its 20 s.
    const std::string bar24 = repeat('#', 12) + repeat('*', 10) + "*24 %" + repeat('*', 23);
    expectRun(dir, {"-PDRbld", "-ProgDsply", "-PhysDrv[252:0,252:1]", "-a0"}, 0,
              BLANK_OUT + "Device(Encl-252 Slot-0) is not in rebuild process\n" +
                  screen(REBUILD_TITLE, {{"       252 :01     ", bar24, 5}}) + exitLine("00"),
              {sent(PROGRESS), sent(PROGRESS), sent(PROGRESS)}, "\x1b");
    // The five seconds are one shell sleep; the screen is cleared before each of its pictures.
    EXPECT_EQ(loggedShellCommands(dir), (Lines{"sleep 5", "clear", "clear"}));
}

TEST_F(DriveOperationsE2e, ProgressReadFailingForOneDriveOnly)
{
    const std::string dir = host({{"drives", {drive(8, 0, 0x10), drive(9, 1, 0x10)}}});
    run(dir, {"-PDRbld", "-Start", "-PhysDrv[252:0,252:1]", "-a0"});
    // Only the progress read of drive 9 (mailbox bytes 0-1) fails: drive 8's line is shown, and
    // the last drive's status is the result.
    ASSERT_EQ(addSimFault(dir, {"status", PROGRESS, "0x0c", "--mailbox", "0=0900"}), "");
    expectRun(dir, {"-PDRbld", "-ShowProg", "-PhysDrv[252:0,252:1]", "-a0"}, 0x0c,
              BLANK_OUT + "Rebuild Progress on Device at Enclosure 252, Slot 0 Completed 0% in 0 Minutes.\n" +
                  "\nFW error description: \n The requested command cannot be completed, as the specified device "
                  "does not exist.  \n" + exitLine("0c"),
              {sent(PROGRESS), sent(PROGRESS, "0x0c")});
    EXPECT_EQ(mailboxes(dir, PROGRESS), (Lines{"0x00000008,0x00000000,0x00000000",
                                               "0x00000009,0x00000000,0x00000000"}));
}

// Clear -----------------------------------------------------------------------------------------

TEST_F(DriveOperationsE2e, ClearStopsAtTheFirstFailure)
{
    const std::string dir = host({{"operationSeconds", 240}});
    expectRun(dir, {"-PDClear", "-Start", "-PhysDrv[252:0,252:2]", "-a0"}, 0x32,
              BLANK_OUT + "Failed to start clear progress on device(Encl-252 Slot-0)\n" + WRONG_STATE + exitLine("32"),
              {sent(CLEAR_START, "0x32")});
    expectRun(dir, {"-PDClear", "-Start", "-PhysDrv[252:2,252:3]", "-a0"}, 0,
              BLANK_OUT + "Started clear progress on device(Encl-252 Slot-2)\n" +
                  "Started clear progress on device(Encl-252 Slot-3)\n" + exitLine("00"),
              {sent(CLEAR_START), sent(CLEAR_START)});
    advanceClock(dir, 120);
    expectRun(dir, {"-PDClear", "-ShowProg", "-PhysDrv[252:2,252:0]", "-a0"}, 0,
              BLANK_OUT + "Clear Progress on Device at Enclosure 252, Slot 2 Completed 49% in 2 Minutes.\n" +
                  "Device(Encl-252 Slot-0) is not in clear process\n" + exitLine("00"),
              {sent(PROGRESS), sent(PROGRESS)});
    // A drive that is not there is named with the enclosure as written.
    expectRun(dir, {"-PDClear", "-Stop", "-PhysDrv[252:3,:5]", "-a0"}, 1,
              BLANK_OUT + "Stopped clear progress on device(Encl-252 Slot-3)\n" +
                  "Adapter 0: Device at Enclosure - N/A, Slot - 5 is not found.\n" + exitLine("01"),
              {sent("0x02050200")});
}

TEST_F(DriveOperationsE2e, ClearDisplay)
{
    const std::string dir = host(nlohmann::json::object());
    run(dir, {"-PDClear", "-Start", "-PhysDrv[252:2]", "-a0"});
    // Every drive shown must be clearing: the first that is not ends the display, no pause.
    expectRun(dir, {"-PDClear", "-ProgDsply", "-PhysDrv[252:2,252:0,252:3]", "-a0"}, 1,
              BLANK_OUT + "Device(Encl-252 Slot-0) is not in clear process\n" + exitLine("01"),
              {sent(PROGRESS), sent(PROGRESS)});
    expectRun(dir, {"-PDClear", "-ProgDsply", "-PhysDrv[252:2]", "-a0"}, 0,
              BLANK_OUT + wholeDisplay(CLEAR_TITLE, "       252 :02     ") + exitLine("00"),
              {sent(PROGRESS), sent(PROGRESS), sent(PROGRESS), sent(PROGRESS)});
}

// Copyback --------------------------------------------------------------------------------------

TEST_F(DriveOperationsE2e, CopybackChecksBeforeAnythingIsSent)
{
    nlohmann::json edit = {{"drives", {drive(8, 0, 0x18), drive(9, 1, 0x18), drive(10, 2, 0), drive(11, 3, 0)}}};
    edit["drives"][3]["sectorSize"] = 4096;
    const std::string dir = host(edit);
    expectRun(dir, {"-PDCpyBk", "-Start", "-PhysDrv[252:1]", "-a0"}, 1,
              BLANK_OUT + "Invalid Physical drive(s) specified.\n" + exitLine("01"), {});
    expectRun(dir, {"-PDCpyBk", "-Stop", "-PhysDrv[252:1,252:2]", "-a0"}, 1,
              BLANK_OUT + "Invalid Physical drive(s) specified.\n" + exitLine("01"), {});
    expectRun(dir, {"-PDCpyBk", "-Start", "-PhysDrv[252:1,252:3]", "-a0"}, 1,
              BLANK_OUT + "Cannot perform CopyBack operation on drives with different Sector size" + exitLine("01"), {});
    expectRun(dir, {"-PDCpyBk", "-Suspend", "-PhysDrv[252:1]", "-a0"}, 1,
              BLANK_OUT + "FW Not Allowed Suspend-Resume on BG Operations.\n" + exitLine("01"), {});
    expectRun(dir, {"-PDCpyBk", "-Stop", "-PhysDrv[252:0]", "-a0"}, 0x32,
              BLANK_OUT + "Physical Drive is not in Copyback state.\n" + WRONG_STATE + exitLine("32"),
              {sent(COPYBACK_STOP, "0x32")});
    expectRun(dir, {"-PDCpyBk", "-ShowProg", "-PhysDrv[252:6]", "-a0"}, 1,
              BLANK_OUT + "Adapter 0: Device at Enclosure - 252, Slot - 6 is not found.\n" + exitLine("01"), {});
}

TEST_F(DriveOperationsE2e, CopybackStartSuspendResumeAndFollow)
{
    nlohmann::json edit = {{"info", {{"piFeatures", 0x80}}},
                           {"drives", {drive(8, 0, 0x18), drive(9, 1, 0x18), drive(10, 2, 0)}}};
    edit["drives"][2]["flags362"] = 0xc0;   // the copyback may be suspended and resumed
    const std::string dir = host(edit);
    expectRun(dir, {"-PDCpyBk", "-Start", "-PhysDrv[252:1,252:2]", "-a0"}, 0,
              BLANK_OUT + "Started Copyback Operation Successfully. \n" + exitLine("00"), {sent(COPYBACK_START)});
    // The destination's reference first, then the source's.
    EXPECT_EQ(mailboxes(dir, COPYBACK_START), (Lines{"0x0001000a,0x00010009,0x00000000"}));
    expectRun(dir, {"-PDCpyBk", "-Suspend", "-PhysDrv[252:2]", "-a0"}, 0,
              BLANK_OUT + "Suspend Copy Back Operation Successfull. PdId =  10" + exitLine("00"),
              {sent(COPYBACK_SUSPEND_RESUME)});
    expectRun(dir, {"-PDCpyBk", "-ShowProg", "-PhysDrv[252:2]", "-a0"}, 0,
              BLANK_OUT + "PD-Copyback is in Suspend Stage\n" + exitLine("00"), {sent(PROGRESS)});
    // A suspended copyback is not shown: the line alone, the pause, and no screen.
    expectRun(dir, {"-PDCpyBk", "-ProgDsply", "-PhysDrv[252:2]", "-a0"}, 0,
              BLANK_OUT + "PD-Copyback is in Suspend Stage\n" + exitLine("00"), {sent(PROGRESS)});
    expectRun(dir, {"-PDCpyBk", "-Resume", "-PhysDrv[252:2]", "-a0"}, 0,
              BLANK_OUT + "Resume Copy Back Operation Successfull. PdId =  10" + exitLine("00"),
              {sent(COPYBACK_SUSPEND_RESUME)});
    EXPECT_EQ(mailboxes(dir, COPYBACK_SUSPEND_RESUME), (Lines{"0x0001000a,0x00000001,0x00000000"}));
    expectRun(dir, {"-PDCpyBk", "-ProgDsply", "-PhysDrv[252:2]", "-a0"}, 0,
              BLANK_OUT + screen(COPYBACK_TITLE, {{"       252 :02     ", BAR_0, 0}}) + exitLine("00"),
              {sent(PROGRESS), sent(PROGRESS)}, "\x1b");
    advanceClock(dir, 15);
    expectRun(dir, {"-PDCpyBk", "-ShowProg", "-PhysDrv[252:2]", "-a0"}, 0,
              BLANK_OUT + "Copyback Progress on Device at Enclosure 252, Slot 2 Completed 74% in 0 Minutes.\n" +
                  exitLine("00"),
              {sent(PROGRESS)});
    expectRun(dir, {"-PDCpyBk", "-Stop", "-PhysDrv[252:2]", "-a0"}, 0,
              BLANK_OUT + "Stopped Copyback Operation Successfully. \n" + exitLine("00"), {sent(COPYBACK_STOP)});
}

}  // namespace

namespace {

// On a terminal the display takes the screen through the terminal library; Escape leaves it
// with the operation still running.
TEST_F(DriveOperationsE2e, DisplayOnATerminal)
{
    const std::string dir = host({{"drives", {drive(8, 0, 0x18), drive(9, 1, 0x10)}}});
    run(dir, {"-PDRbld", "-Start", "-PhysDrv[252:1]", "-a0"});
    remove((dir + "/commands.log").c_str());
    RunSpec spec;
    spec.args = {"-PDRbld", "-ProgDsply", "-PhysDrv[252:1]", "-a0"};
    spec.env = {{"QUILLCLI_SIM_HOST", dir}, {"TERM", "dumb"}};
    spec.stdinText = "\x1b";
    RunResult r = runProgram(spec);
    cleanup.push_back(r.workDir);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find(screen(REBUILD_TITLE, {{"       252 :01     ", BAR_0, 0}})), std::string::npos) << r.out;
    EXPECT_EQ(r.out.substr(r.out.size() - 16), "Exit Code: 0x00\n");
    const Lines twoReads = {sent(PROGRESS), sent(PROGRESS)};
    EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(dir)), checked() + twoReads);
    expectRun(dir, {"-PDRbld", "-ShowProg", "-PhysDrv[252:1]", "-a0"}, 0,
              BLANK_OUT + "Rebuild Progress on Device at Enclosure 252, Slot 1 Completed 0% in 0 Minutes.\n" +
                  exitLine("00"),
              {sent(PROGRESS)});
}

}  // namespace
