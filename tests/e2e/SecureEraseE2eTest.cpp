// Instant secure erase (-PDInstantSecureErase, and the deprecated -PDReprovision) and the
// overwriting secure erase of drives and virtual drives (-SecureErase) through the real binary and
// simulated hosts made from tests/e2e/data/erase-host.json: the console text, the exit code and
// the firmware commands that reached the controller. The erases run on the host's clock, so the
// progress lines and the progress display follow them to their end.
//
// The host: an encryption-enabled controller that reports allowed-operation words, enclosure 252
// with drives 8-15 in slots 0-7. Drives 8 and 9 carry virtual drive 0, drives 13 and 15 virtual
// drive 1; drive 10 (slot 2) is marked reprovisionable, drive 11 (slot 3) is locked by a foreign
// key, drive 12 (slot 4) is a secured drive neither can erase, drive 14 (slot 6) is unconfigured.
#include "E2eHarness.h"
#include "LongOperationRuns.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

using namespace longops;

const char* const REPROVISION_CHECK = "0x020c0100";
const char* const REPROVISION_START = "0x020c0300";
const char* const PD_PROGRESS = "0x02060000";
const char* const PD_ALLOWED = "0x020a0000";
const char* const PD_ERASE_START = "0x020f0100";
const char* const PD_ERASE_STOP = "0x020f0200";
const char* const LD_PROGRESS = "0x03080000";
const char* const LD_ALLOWED = "0x030b0000";
const char* const LD_ERASE_START = "0x03130100";
const char* const LD_ERASE_STOP = "0x03130200";

const std::string FORCE_NEEDED = "Performing this operation will result in data corruption or data lost, use -force "
                                 "option if you are sure to perform this operation. \n";
const std::string WRONG_STATE =
    "\nFW error description: \n The specified device is in a state that doesn't support the requested command.  \n";
const std::string ERASE_TITLE = "\n      Secure Erase progress on physical drives...\n\n\r";
const std::string VD_TITLE = " Progress of Virtual Drives...\n\n\r";
const std::string VD_COLUMNS = "  Virtual Drive #              Percent Complete                       Time Elps\n\r";

std::string notAllowed(int slot)
{
    return "Adapter 0: Secure Erase is not allowed on device at Enclosure - 252, Slot - " + std::to_string(slot) +
           ". \n";
}

std::string erased(int slot)
{
    return "Adapter 0: Pd Secure Erase is successfully done on device at Enclosure - 252, Slot - " +
           std::to_string(slot) + ".\n";
}

class SecureEraseE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    // A host of the erase description with the edit merged into its controller.
    std::string host(const nlohmann::json& edit = nlohmann::json())
    {
        nlohmann::json description =
            nlohmann::json::parse(readFile(std::string(QUILL_SOURCE_DIR) + "/tests/e2e/data/erase-host.json"));
        if (!edit.is_null())
            description["controllers"][0].merge_patch(edit);
        const std::string dir = makeSimHostFrom(description.dump(2));
        cleanup.push_back(dir.substr(0, dir.rfind('/')));
        return dir;
    }

    // One run on a terminal the program cannot open; the host's command log starts afresh.
    RunResult run(const std::string& dir, const Lines& args, const std::string& terminal = NO_TERMINAL)
    {
        remove((dir + "/commands.log").c_str());
        RunSpec spec;
        spec.args = args;
        spec.env = {{"QUILLCLI_SIM_HOST", dir}, {"TERM", terminal}};
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        EXPECT_EQ(r.err, "");
        return r;
    }

    // The run's exit code, its output from the blank-out line on (what the front end echoes
    // before it is not these commands' concern), and the firmware commands after the check,
    // without the model's reads.
    void expectRun(const std::string& dir, const Lines& args, int exitCode, const std::string& out,
                   const Lines& commands)
    {
        std::string line;
        for (const std::string& arg : args)
            line += arg + " ";
        SCOPED_TRACE(line);
        RunResult r = run(dir, args);
        EXPECT_EQ(r.exitCode, exitCode);
        const size_t blankOut = r.out.find('\r');
        EXPECT_EQ(r.out.substr(blankOut == std::string::npos ? 0 : blankOut), BLANK_OUT + out);
        EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(dir)), checked() + commands);
    }

    void fault(const std::string& dir, const Lines& args) { EXPECT_EQ(addSimFault(dir, args), ""); }

    // A drive of the host's saved state, by device id.
    static nlohmann::json savedDrive(const std::string& dir, int deviceId)
    {
        const nlohmann::json state = nlohmann::json::parse(readFile(dir + "/state.json"));
        for (const nlohmann::json& d : state["controllers"][0]["drives"])
            if (d["deviceId"] == deviceId)
                return d;
        return nullptr;
    }

    std::vector<std::string> cleanup;
};

// -PDInstantSecureErase and -PDReprovision ------------------------------------------------------

struct InstantCase {
    const char* what;
    nlohmann::json edit;
    Lines faults;           // one "quillsim fault" when given
    Lines args;
    int exitCode;
    std::string out;
    Lines commands;
};

TEST_F(SecureEraseE2e, InstantErase)
{
    const nlohmann::json none;
    const nlohmann::json noEncryption = {{"info", {{"storageFeatures", 0}}}};
    const std::vector<InstantCase> cases = {
        {"a reprovisionable drive: the reprovisioning start", none, {},
         {"-PDInstantSecureErase", "-PhysDrv[252:2]", "-Force", "-a0"}, 0, erased(2) + exitLine("00"),
         {sent(REPROVISION_START)}},
        {"a drive locked by a foreign key: the reprovisioning check", none, {},
         {"-PDInstantSecureErase", "-PhysDrv[252:3]", "-Force", "-a0"}, 0, erased(3) + exitLine("00"),
         {sent(REPROVISION_CHECK)}},
        {"either needs -Force", none, {}, {"-PDInstantSecureErase", "-PhysDrv[252:2]", "-a0"}, 1,
         FORCE_NEEDED + exitLine("01"), {}},
        {"a drive neither can erase is reported, and the command still succeeds", none, {},
         {"-PDInstantSecureErase", "-PhysDrv[252:4,252:0]", "-Force", "-a0"}, 0,
         notAllowed(4) + notAllowed(0) + exitLine("00"), {}},
        {"not allowed needs no -Force; the walk goes on", none, {},
         {"-PDInstantSecureErase", "-PhysDrv[252:4,252:3]", "-a0"}, 1, notAllowed(4) + FORCE_NEEDED + exitLine("01"),
         {}},
        {"a foreign lock without encryption enabled", noEncryption, {},
         {"-PDInstantSecureErase", "-PhysDrv[252:3]", "-Force", "-a0"}, 0, notAllowed(3) + exitLine("00"), {}},
        {"a drive not found ends the walk; the drives before stay erased", none, {},
         {"-PDInstantSecureErase", "-PhysDrv[252:2,252:9,252:3]", "-Force", "-a0"}, 1,
         erased(2) + "Adapter 0: Device at Enclosure - 252, Slot - 9 is not found.\n" + exitLine("01"),
         {sent(REPROVISION_START)}},
        {"a refused erase ends the walk", none, {"status", REPROVISION_START, "0x32"},
         {"-PDInstantSecureErase", "-PhysDrv[252:2,252:3]", "-Force", "-a0"}, 1,
         "Adapter 0: Pd Secure Erase failed on device at Enclosure - 252, Slot - 2.\n" + exitLine("01"),
         {sent(REPROVISION_START, "0x32")}},
        {"the older word only prints its note", none, {}, {"-PDReprovision", "-PhysDrv[252:2]", "-a0"}, 1,
         "This option is deprecated So please use PdInstantSecureErase option.\n " + exitLine("01"), {}},
    };
    for (const InstantCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string dir = host(c.edit);
        if (!c.faults.empty())
            fault(dir, c.faults);
        expectRun(dir, c.args, c.exitCode, c.out, c.commands);
    }
}

TEST_F(SecureEraseE2e, InstantEraseSendsTheDriveAndLeavesItUnsecured)
{
    const std::string dir = host();
    expectRun(dir, {"-PDInstantSecureErase", "-PhysDrv[252:2,252:3]", "-Force", "-a0"}, 0,
              erased(2) + erased(3) + exitLine("00"), {sent(REPROVISION_START), sent(REPROVISION_CHECK)});
    EXPECT_EQ(mailboxes(dir, REPROVISION_CHECK), (Lines{"0x0001000b,0x00000000,0x00000000"}));
    // FDE capable and enabled stay; secured, locked and the foreign lock are gone.
    EXPECT_EQ(savedDrive(dir, 10).value("security", ""), "0x3");
    EXPECT_EQ(savedDrive(dir, 11).value("security", ""), "0x3");
}

// -SecureErase on drives ------------------------------------------------------------------------

TEST_F(SecureEraseE2e, DriveEraseStartShowAndStop)
{
    const std::string dir = host();
    expectRun(dir, {"-SecureErase", "-Start", "Normal", "-ErasePattern", "10101010", "-PhysDrv[252:6]", "-a0"}, 0,
              "Adapter 0: Secure Erase is started on Physical Device at EnclId-252 SlotId-6.\n" + exitLine("00"),
              {sent(PD_ERASE_START)});
    // Type 1, the pattern given, the second pattern the default 0x55.
    EXPECT_EQ(mailboxes(dir, PD_ERASE_START), (Lines{"0x0001000e,0x0055aa01,0x00000000"}));
    // A member is only reported; the firmware refuses a second erase, which ends the command.
    expectRun(dir, {"-SecureErase", "-Start", "Simple", "-PhysDrv[252:5,252:6,252:4]", "-a0"}, 0x32,
              "Adapter: 0: Physical Device at EnclId-252 SlotId-5 is not in appropriate state to start the requested "
              "operation\n"
              "Adapter: 0: Failed to start Secure Erase on Physical Device at EnclId-252 SlotId-6 \n" +
                  WRONG_STATE + exitLine("32"),
              {sent(PD_ERASE_START, "0x32")});
    // Patterns of zeros are sent as the defaults.
    expectRun(dir,
              {"-SecureErase", "-Start", "Thorough", "-ErasePattern", "00000000", "-ErasePattern", "00000000",
               "-PhysDrv[252:4]", "-a0"},
              0, "Adapter 0: Secure Erase is started on Physical Device at EnclId-252 SlotId-4.\n" + exitLine("00"),
              {sent(PD_ERASE_START)});
    EXPECT_EQ(mailboxes(dir, PD_ERASE_START), (Lines{"0x0001000c,0x0055aa02,0x00000000"}));
    // Half of the controller's 600 seconds: 32767/65535 shows 49 %.
    advanceClock(dir, 300);
    expectRun(dir, {"-SecureErase", "-ShowProg", "-PhysDrv[252:6,252:3]", "-a0"}, 0,
              "Secure Erase Progress on Device at Enclosure 252, Slot 6 Completed 49% in 5 Minutes.\n"
              "Secure Erase is not in progress on Device(Encl-252 Slot-3)\n" +
                  exitLine("00"),
              {sent(PD_PROGRESS), sent(PD_PROGRESS)});
    expectRun(dir, {"-SecureErase", "-Stop", "-PhysDrv[252:3,252:6]", "-a0"}, 0,
              "Secure Erase is not in progress on Device(Encl-252 Slot-3)\n"
              "Adapter 0: Secure Erase is stopped on Physical Device at EnclId-252 SlotId-6.\n" +
                  exitLine("00"),
              {sent(PD_PROGRESS), sent(PD_PROGRESS), sent(PD_ALLOWED), sent(PD_ERASE_STOP)});
    expectRun(dir, {"-SecureErase", "-Stop", "-PhysDrv[252:6]", "-a0"}, 0,
              "Secure Erase is not in progress on Device(Encl-252 Slot-6)\n" + exitLine("00"), {sent(PD_PROGRESS)});
    expectRun(dir, {"-SecureErase", "-ShowProg", "-PhysDrv[252:9,252:4]", "-a0"}, 1,
              "Adapter 0: Device at Enclosure - 252, Slot - 9 is not found.\n" + exitLine("01"), {});
    // Drive 12's erase runs to its end and leaves the drive unsecured.
    advanceClock(dir, 400);
    expectRun(dir, {"-SecureErase", "-ShowProg", "-PhysDrv[252:4]", "-a0"}, 0,
              "Secure Erase is not in progress on Device(Encl-252 Slot-4)\n" + exitLine("00"), {sent(PD_PROGRESS)});
    EXPECT_EQ(savedDrive(dir, 12).value("security", ""), "0x3");
}

// What cannot be read is not taken for an answer: a progress block that cannot be read ends the
// command, also for a stop; an allowed-operations word that cannot be read does not allow the stop.
TEST_F(SecureEraseE2e, DriveEraseUnreadableAnswers)
{
    const std::string dir = host();
    expectRun(dir, {"-SecureErase", "-Start", "Simple", "-PhysDrv[252:6]", "-a0"}, 0,
              "Adapter 0: Secure Erase is started on Physical Device at EnclId-252 SlotId-6.\n" + exitLine("00"),
              {sent(PD_ERASE_START)});
    const std::string readFailed =
        "Adapter: 0: Failed to get Secure Erase progress on Physical Device at EnclId-252 SlotId-6 \n";
    fault(dir, {"status", PD_PROGRESS, "0x0c", "--once"});
    expectRun(dir, {"-SecureErase", "-Stop", "-PhysDrv[252:6,252:4]", "-a0"}, 1, readFailed + exitLine("01"),
              {sent(PD_PROGRESS, "0x0c")});
    fault(dir, {"status", PD_PROGRESS, "0x0c", "--once"});
    expectRun(dir, {"-SecureErase", "-ShowProg", "-PhysDrv[252:6]", "-a0"}, 1, readFailed + exitLine("01"),
              {sent(PD_PROGRESS, "0x0c")});
    fault(dir, {"status", PD_ALLOWED, "0x0c", "--once"});
    expectRun(dir, {"-SecureErase", "-Stop", "-PhysDrv[252:6]", "-a0"}, 0,
              "Adapter: 0: Secure Erase can not be stopped on Physical Device at EnclId-252 SlotId-6 \n" +
                  exitLine("00"),
              {sent(PD_PROGRESS), sent(PD_ALLOWED, "0x0c")});
    fault(dir, {"status", PD_ERASE_STOP, "0x32", "--once"});
    expectRun(dir, {"-SecureErase", "-Stop", "-PhysDrv[252:6]", "-a0"}, 0x32,
              "Adapter: 0: Failed to stop Secure Erase on Physical Device at EnclId-252 SlotId-6 \n" + WRONG_STATE +
                  exitLine("32"),
              {sent(PD_PROGRESS), sent(PD_ALLOWED), sent(PD_ERASE_STOP, "0x32")});
}

// The erase of a 20-second drive, followed from its start to its end, as every drive display:
// read at cycles 0, 15 and 30.
TEST_F(SecureEraseE2e, DriveEraseDisplay)
{
    const std::string dir = host({{"operationSeconds", 20}});
    expectRun(dir, {"-SecureErase", "-ProgDsply", "-PhysDrv[252:6,252:4]", "-a0"}, 0,
              "Secure Erase is not in progress on Device(Encl-252 Slot-6)\n"
              "Secure Erase is not in progress on Device(Encl-252 Slot-4)\n" +
                  exitLine("00"),
              {sent(PD_PROGRESS), sent(PD_PROGRESS)});
    expectRun(dir, {"-SecureErase", "-ProgDsply", "-PhysDrv[252:9]", "-a0"}, 1,
              "Adapter 0: Device at Enclosure - 252, Slot - 9 is not found.\n" + exitLine("01"), {});
    run(dir, {"-SecureErase", "-Start", "Simple", "-PhysDrv[252:6]", "-a0"});
    expectRun(dir, {"-SecureErase", "-ProgDsply", "-PhysDrv[252:6]", "-a0"}, 0,
              wholeDisplay(ERASE_TITLE, "       252 :06     ") + exitLine("00"),
              {sent(PD_PROGRESS), sent(PD_PROGRESS), sent(PD_PROGRESS), sent(PD_PROGRESS)});
}

// -SecureErase on virtual drives ----------------------------------------------------------------

TEST_F(SecureEraseE2e, VdEraseStartShowStopAndDelete)
{
    const std::string dir = host();
    expectRun(dir, {"-SecureErase", "-ShowProg", "-L1", "-a0"}, 0,
              "Secure Erase on VD #1 is not in progress.\n" + exitLine("00"), {sent(LD_PROGRESS)});
    expectRun(dir, {"-SecureErase", "-Stop", "-L1", "-a0"}, 0,
              "Secure Erase on VD #1 is not in progress.\n" + exitLine("00"), {sent(LD_PROGRESS)});
    expectRun(dir, {"-SecureErase", "-Start", "Thorough", "-L1", "-a0"}, 0,
              "Adapter 0: Secure Erase is started on Virtual Drive 1.\n" + exitLine("00"),
              {sent(LD_ALLOWED), sent(LD_ERASE_START)});
    // Type 2, the default patterns, no deletion.
    EXPECT_EQ(mailboxes(dir, LD_ERASE_START), (Lines{"0x00010001,0x0055aa02,0x00000000"}));
    // A target id not configured is reported and the walk goes on; a drive already erasing may
    // not start again.
    expectRun(dir, {"-SecureErase", "-Start", "Normal", "-L5,1", "-a0"}, 0,
              "Adapter 0: Virtual Drive 5 Does not Exist.\n"
              "Adapter: 0: Failed to start Secure Erase on Virtual Drive 1 \n" +
                  exitLine("00"),
              {sent(LD_ALLOWED)});
    advanceClock(dir, 50);
    expectRun(dir, {"-SecureErase", "-ShowProg", "-LALL", "-a0"}, 0,
              "Secure Erase on VD #0 is not in progress.\n"
              "Secure Erase on VD #1 (target id #1) Completed 50% in 0 Minutes.\n" +
                  exitLine("00"),
              {sent(LD_PROGRESS), sent(LD_PROGRESS)});
    expectRun(dir, {"-SecureErase", "-Stop", "-L1", "-a0"}, 0,
              "Adapter 0: Secure Erase is stopped on Virtual Drive 1.\n" + exitLine("00"),
              {sent(LD_PROGRESS), sent(LD_ALLOWED), sent(LD_ERASE_STOP)});
    EXPECT_EQ(mailboxes(dir, LD_ERASE_STOP), (Lines{"0x00010001,0x00000000,0x00000000"}));
    // With -DeleteVD the drive is gone once its erase has run to the end.
    expectRun(dir, {"-SecureErase", "-Start", "Thorough", "-DeleteVD", "-L1", "-a0"}, 0,
              "Adapter 0: Secure Erase is started on Virtual Drive 1.\n" + exitLine("00"),
              {sent(LD_ALLOWED), sent(LD_ERASE_START)});
    EXPECT_EQ(mailboxes(dir, LD_ERASE_START), (Lines{"0x00010001,0x0155aa02,0x00000000"}));
    advanceClock(dir, 100);
    expectRun(dir, {"-SecureErase", "-ShowProg", "-L1,0", "-a0"}, 0,
              "Adapter 0: Virtual Drive 1 Does not Exist.\nSecure Erase on VD #0 is not in progress.\n" +
                  exitLine("00"),
              {sent(LD_PROGRESS)});
}

TEST_F(SecureEraseE2e, VdEraseRefusals)
{
    struct Case {
        const char* what;
        nlohmann::json edit;
        Lines faults;
        Lines args;
        int exitCode;
        std::string out;
        Lines commands;
    };
    const nlohmann::json offline = {{"lds", {{{"targetId", 1}, {"raidLevel", 1}, {"drivesPerSpan", 2},
                                              {"sizeBlocks", 1952448512}, {"drives", {13, 15}},
                                              {"spans", {{{"array", 1}}}}, {"state", 0}}}}};
    const nlohmann::json noVds = {{"lds", nlohmann::json::array()}, {"arrays", nlohmann::json::array()}};
    const std::string readFailed = "Adapter: 0: Failed to get Secure Erase progress on Virtual Drive 1 \n";
    const std::vector<Case> cases = {
        {"an offline drive is only reported", offline, {}, {"-SecureErase", "-Start", "Simple", "-L1", "-a0"}, 0,
         "Adapter: 0: Virtual Drive 1 is not in appropriate state to start the requested operation\n" + exitLine("00"),
         {}},
        {"a start the firmware refuses ends the command with its status", nlohmann::json(),
         {"status", LD_ERASE_START, "0x32"}, {"-SecureErase", "-Start", "Simple", "-L1,0", "-a0"}, 0x32,
         "Adapter: 0: Failed to start Secure Erase on Virtual Drive 1 \n" + WRONG_STATE + exitLine("32"),
         {sent(LD_ALLOWED), sent(LD_ERASE_START, "0x32")}},
        {"no virtual drives", noVds, {}, {"-SecureErase", "-ShowProg", "-LALL", "-a0"}, 1,
         "Adapter 0: No Virtual Drive Configured.\n" + exitLine("01"), {}},
        {"a progress block that cannot be read ends a stop", nlohmann::json(), {"status", LD_PROGRESS, "0x0c"},
         {"-SecureErase", "-Stop", "-L1,0", "-a0"}, 1, readFailed + exitLine("01"), {sent(LD_PROGRESS, "0x0c")}},
        {"and a progress line", nlohmann::json(), {"status", LD_PROGRESS, "0x0c"},
         {"-SecureErase", "-ShowProg", "-L1,0", "-a0"}, 1, readFailed + exitLine("01"), {sent(LD_PROGRESS, "0x0c")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string dir = host(c.edit);
        if (!c.faults.empty())
            fault(dir, c.faults);
        expectRun(dir, c.args, c.exitCode, c.out, c.commands);
    }
}

// One screen of the virtual-drive display: drive 1 with the bar and time, or no line.
std::string vdScreen(const std::string& bar, int seconds)
{
    std::string text = "\n" + VD_TITLE + VD_COLUMNS;
    if (!bar.empty())
        text += "          1         " + bar + elapsed(seconds);
    return text + PRESS_ESC;
}

// The erase of drive 1 with -DeleteVD, 70 seconds after its start (656/65535 per second): read at
// cycle 0 (70 %, 70 s) and cycle 15 (85 %, 85 s), counted on in between; at cycle 30 the erase
// has ended and deleted the drive, which is no longer shown, and the display ends.
std::string deletedVdDisplay()
{
    const std::string bar70 = repeat('#', 22) + "#70 %" + repeat('#', 8) + repeat('*', 15);
    const std::string bar85 = repeat('#', 22) + "#85 %" + repeat('#', 15) + repeat('*', 8);
    std::string text;
    for (int cycle = 0; cycle < 30; ++cycle)
        text += vdScreen(cycle < 15 ? bar70 : bar85, 70 + cycle);
    return text + vdScreen("", 0);
}

TEST_F(SecureEraseE2e, VdEraseDisplayFollowsTheEraseUntilTheDriveIsGone)
{
    const std::string dir = host();
    expectRun(dir, {"-SecureErase", "-ProgDsply", "-LALL", "-a0"}, 0,
              "Secure Erase on VD #0 is not in progress.\nSecure Erase on VD #1 is not in progress.\n" +
                  exitLine("00"),
              {sent(LD_PROGRESS), sent(LD_PROGRESS)});
    run(dir, {"-SecureErase", "-Start", "Thorough", "-DeleteVD", "-L1", "-a0"});
    advanceClock(dir, 70);
    expectRun(dir, {"-SecureErase", "-ProgDsply", "-L1", "-a0"}, 0, deletedVdDisplay() + exitLine("00"),
              {sent(LD_PROGRESS), sent(LD_PROGRESS), sent(LD_PROGRESS)});
    expectRun(dir, {"-SecureErase", "-ProgDsply", "-L1", "-a0"}, 0,
              "Adapter 0: Virtual Drive 1 Does not Exist.\n" + exitLine("00"), {});
}

// On a terminal the display takes the screen through the terminal library and still follows the
// erase to its end.
TEST_F(SecureEraseE2e, VdEraseDisplayOnATerminal)
{
    const std::string dir = host();
    run(dir, {"-SecureErase", "-Start", "Thorough", "-DeleteVD", "-L1", "-a0"});
    advanceClock(dir, 70);
    RunResult r = run(dir, {"-SecureErase", "-ProgDsply", "-L1", "-a0"}, "dumb");
    EXPECT_EQ(r.exitCode, 0);
    const std::string bar70 = repeat('#', 22) + "#70 %" + repeat('#', 8) + repeat('*', 15);
    EXPECT_NE(r.out.find(vdScreen(bar70, 70)), std::string::npos) << r.out;
    const std::string last = vdScreen("", 0);
    const size_t end = r.out.rfind(last);
    ASSERT_NE(end, std::string::npos) << r.out;
    EXPECT_EQ(r.out.find(last), end);
    EXPECT_EQ(r.out.substr(r.out.size() - 16), "Exit Code: 0x00\n");
    const Lines threeReads = {sent(LD_PROGRESS), sent(LD_PROGRESS), sent(LD_PROGRESS)};
    EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(dir)), checked() + threeReads);
}

}  // namespace

namespace {

// Erases the description gives as they stand (they do not move with the clock): a full progress
// value shows 100 %, and 119 seconds one minute.
TEST_F(SecureEraseE2e, ProgressLinesOfGivenErases)
{
    nlohmann::json edit = nlohmann::json::parse(readFile(std::string(QUILL_SOURCE_DIR) +
                                                         "/tests/e2e/data/erase-host.json"))["controllers"][0];
    edit["drives"][6]["progress"] = {{{"operation", "secureErase"}, {"progress", 65535}, {"elapsed", 119}}};
    edit["lds"][1]["progress"] = {{{"operation", "secureErase"}, {"progress", 65534}, {"elapsed", 119}, {"rate", 0}}};
    const std::string dir = host(edit);
    expectRun(dir, {"-SecureErase", "-ShowProg", "-PhysDrv[252:6]", "-a0"}, 0,
              "Secure Erase Progress on Device at Enclosure 252, Slot 6 Completed 100% in 1 Minutes.\n" +
                  exitLine("00"),
              {sent(PD_PROGRESS)});
    expectRun(dir, {"-SecureErase", "-ShowProg", "-L1", "-a0"}, 0,
              "Secure Erase on VD #1 (target id #1) Completed 99% in 1 Minutes.\n" + exitLine("00"),
              {sent(LD_PROGRESS)});
}

}  // namespace
