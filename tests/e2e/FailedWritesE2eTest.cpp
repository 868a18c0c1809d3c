// Files the program writes on a host whose file system fails (the simulated host's file faults):
// a write that fails (no space) or a close that fails (an I/O error) fails the command with the
// write-failure message; a log that cannot be written loses its text in silence and leaves the
// command's result alone. Also the drive-list commands on a controller whose configuration
// cannot be read, which the sanitizer build's leak check runs as well.
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

const std::string WRITE_FAILED = "\n File write failed \n";

class FailedWritesE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    // A host of the "one" preset with `edit` merged into its controller and `faults` added.
    std::string host(const nlohmann::json& edit, const std::vector<Lines>& faults)
    {
        std::string dir = makeSimHost("one");
        cleanup.push_back(dir.substr(0, dir.rfind('/')));
        const std::string path = dir + "/state.json";
        nlohmann::json state = nlohmann::json::parse(readFile(path));
        if (!edit.is_null())
            state["controllers"][0].merge_patch(edit);
        std::ofstream(path) << state.dump(2);
        for (const Lines& fault : faults)
            EXPECT_EQ(addSimFault(dir, fault), "");
        return dir;
    }

    RunResult run(const std::string& dir, const Lines& args)
    {
        RunSpec spec;
        spec.args = args;
        spec.env = {{"QUILLCLI_SIM_HOST", dir}, {"TZ", "UTC"}};
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        return r;
    }

    Lines cleanup;
};

const nlohmann::json EVENTS = {
    {"eventLog",
     {{"oldest", "0x20"}, {"boot", "0x20"},
      {"events", {{{"seq", "0x20"}, {"code", "0x3f"}, {"class", 0}, {"locale", "0x1"}, {"argType", 9},
                   {"args", "00000000000000000000"}, {"description", "Consistency check found inconsistent parity"}}}}}}};
const nlohmann::json CAPTURE = {
    {"eventCapture", {{"state", 1}, {"startValue", 500}, {"captured", 77}, {"segments", 2}, {"filterMask", 12}}}};

struct WriterCase {
    const char* what;
    nlohmann::json edit;
    Lines args;
    const char* file;      // the file the fault names
    std::string out;       // the console after the write-failure message
};

}  // namespace

// Every writer of a file named on the command line, with the write failing (the disk is full)
// and with the close failing (an I/O error): non-zero exit and the write-failure message.
TEST_F(FailedWritesE2e, EveryWriterFailsTheCommand)
{
    const std::string eventFailed = "AdpEventLog failed\n" + exitLine("01");
    const WriterCase writers[] = {
        {"events from a sequence number", EVENTS, {"-AdpEventLog", "-GetEvents", "-f", "out.txt", "-a0"}, "out.txt",
         eventFailed},
        {"the newest events", EVENTS, {"-AdpEventLog", "-GetLatest", "1", "-f", "out.txt", "-a0"}, "out.txt",
         eventFailed},
        {"the consistency-check report", EVENTS, {"-AdpEventLog", "-GetCCIncon", "-f", "out.txt", "-L0", "-a0"},
         "out.txt", eventFailed},
        {"the event capture", CAPTURE, {"-AdpAEC", "-Get", "-f", "cap.dat", "-a0"}, "cap.dat", exitLine("01")},
    };
    for (const WriterCase& w : writers) {
        for (const Lines& failure : {Lines{"write", "no-space"}, Lines{"close", "io"}}) {
            SCOPED_TRACE(std::string(w.what) + ", " + failure[0]);
            const std::string dir = host(w.edit, {Lines{"file", w.file} + failure});
            RunResult r = run(dir, w.args);
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_EQ(r.out.substr(0, BLANK_OUT.size()), BLANK_OUT);
            EXPECT_NE(r.out.find(WRITE_FAILED), std::string::npos) << r.out;
            EXPECT_EQ(r.out.substr(r.out.size() - std::min(r.out.size(), w.out.size())), w.out);
            EXPECT_EQ(r.err, "");
        }
    }
}

// The saved configuration goes to a temporary file beside the target, which replaces the target
// only once it was written and closed whole: a failure leaves no saved file behind.
TEST_F(FailedWritesE2e, SavedConfigurationIsNotReportedSaved)
{
    for (const Lines& failure : {Lines{"write", "no-space"}, Lines{"close", "io"}}) {
        SCOPED_TRACE(failure[0]);
        const std::string dir = host(nullptr, {Lines{"file", "saved.cfg.tmp"} + failure});
        RunResult r = run(dir, {"-CfgSave", "-f", "saved.cfg", "-a0"});
        EXPECT_NE(r.exitCode, 0);
        EXPECT_EQ(r.out.find("Config data is saved to the file."), std::string::npos) << r.out;
        EXPECT_EQ(r.files.count("saved.cfg"), 0u);
        EXPECT_EQ(r.files.count("saved.cfg.tmp"), 0u);
    }
}

// The console log copies the screen: a full disk under it loses the copy, not the command.
TEST_F(FailedWritesE2e, AFailingConsoleLogLeavesTheCommandAlone)
{
    const std::string healthy = host(nullptr, {});
    RunResult expected = run(healthy, {"-AdpGetTime", "-a0"});
    ASSERT_EQ(expected.exitCode, 0);
    for (const Lines& failure : {Lines{"write", "no-space"}, Lines{"close", "io"}}) {
        SCOPED_TRACE(failure[0]);
        const std::string dir = host(nullptr, {Lines{"file", "QuillSAS.log"} + failure});
        RunResult r = run(dir, {"-AdpGetTime", "-a0"});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, expected.out);
        EXPECT_EQ(r.err, "");
    }
}

// The drive lists of a controller whose configuration cannot be read (the read fails, or comes
// back short) come from the drive list itself and stay the model's: the commands that walk them
// run to their end, and the sanitizer build's leak check finds nothing left over.
TEST_F(FailedWritesE2e, DriveListsWithoutAConfiguration)
{
    const std::vector<Lines> commands = {
        {"-PDList", "-a0"},
        {"-Version", "-Pd", "-a0"},
        {"-DpmStat", "-Dsply", "-Hist", "-a0"},
        {"-CfgLdAdd", "-r0", "[252:2]", "-a0"},
        {"-CfgSpanAdd", "-r10", "-Array0[252:0,252:1]", "-Array1[252:2,252:3]", "-a0"},
        {"-CfgAllFreeDrv", "-r0", "-a0"},
    };
    for (const Lines& fault : {Lines{"status", "0x04010000", "0x0c"}, Lines{"short", "0x04010000", "16"}}) {
        for (const Lines& args : commands) {
            SCOPED_TRACE(fault[0] + " " + args[0]);
            RunResult r = run(host(nullptr, {fault}), args);
            EXPECT_EQ(r.err, "");
            EXPECT_LT(r.exitCode, 128);
            EXPECT_NE(r.out.find("\nExit Code: 0x"), std::string::npos) << r.out;
        }
    }
}
