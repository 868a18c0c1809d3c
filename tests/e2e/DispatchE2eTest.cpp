// The command pipeline from the program's arguments to the exit code, through the real
// QuillCli binary and the simulated host.
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "Parser/ParserFactory.h"
#include "Parser/TokenIds.h"

namespace {

// Runs quillsim with the arguments; fails the test when it does not succeed.
void quillsim(const std::vector<std::string>& args)
{
    RunSpec spec;
    spec.program = QUILLSIM_BIN;
    spec.args = args;
    RunResult r = runProgram(spec);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    removeTree(r.workDir);
}

// Changes the state of the first controller of a simulated host.
void editFirstController(const std::string& host, const std::function<void(nlohmann::json&)>& edit)
{
    std::string path = host + "/state.json";
    nlohmann::json state = nlohmann::json::parse(readFile(path));
    edit(state["controllers"][0]);
    std::ofstream(path) << state.dump(2);
}

class DispatchE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    std::string host(const std::string& preset)
    {
        std::string dir = makeSimHost(preset);
        cleanup.push_back(dir.substr(0, dir.rfind('/')));
        return dir;
    }

    RunResult run(const std::vector<std::string>& args, const std::string& hostDir = "", const std::string& input = "")
    {
        RunSpec spec;
        spec.args = args;
        if (!hostDir.empty())
            spec.env = {{"QUILLCLI_SIM_HOST", hostDir}};
        spec.stdinText = input;
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        return r;
    }

    std::vector<std::string> cleanup;
};

TEST_F(DispatchE2e, NoArguments)
{
    RunResult r = run({});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "Fatal error - Volant invoked with wrong parameters" + exitLine("01"));
    // Nothing switched the console log off: the whole text reaches it.
    EXPECT_EQ(r.files["QuillSAS.log"], r.out);
}

TEST_F(DispatchE2e, GrammarRejectionsNeverReachTheConsoleLog)
{
    std::string simHost = host("one");
    const std::vector<std::vector<std::string>> lines = {
        {"-NoSuchCommand"},
        {"-AdpCount", "-a0"},
        {"-AdpAllInfo"},
        {"-PDList", "-a0", "-extra"},
        {"-LDInfo", "-a0"},
        {"-CfgLdAdd", "-a0"},
        {"-AdpEventLog", "-GetEvents", "-a0", "-page", "-Silent"},
        {"-EncInfo", "-a0", "-Silent", "-Silent"},
    };
    for (const auto& line : lines) {
        SCOPED_TRACE(line[0] + (line.size() > 1 ? " " + line[1] : ""));
        RunResult r = run(line, simHost);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.out.find("Invalid input at or near token"), std::string::npos) << r.out;
        EXPECT_EQ(r.out.size() >= exitLine("01").size() ? r.out.substr(r.out.size() - exitLine("01").size()) : "",
                  exitLine("01"));
        EXPECT_EQ(r.files.count("QuillSAS.log"), 0u) << "rejections and the exit line stay off the console log";
    }
}

TEST_F(DispatchE2e, ValidLinesWithoutAParser)
{
    struct Line {
        unsigned short command;
        std::vector<std::string> args;
    } lines[] = {
        {TOKEN_APPVERSION, {"-v"}},
        {TOKEN_ADPALLINFO, {"-AdpAllInfo", "-a0"}},
        {TOKEN_PDLIST, {"-PDList", "-aALL"}},
        {TOKEN_LDINFO, {"-LDInfo", "-L0", "-a0"}},
        {TOKEN_ADPBBUCMD, {"-AdpBbuCmd", "-a0"}},
        {TOKEN_ADPLIST, {"-AdpList"}},
    };
    int tried = 0;
    for (const Line& line : lines) {
        if (ParserFactory::instance()->hasCreator(line.command))
            continue;  // that command has its parser by now
        ++tried;
        SCOPED_TRACE(line.args[0]);
        RunResult r = run(line.args, host("one"));
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, BLANK_OUT + exitLine("01"));
        EXPECT_TRUE(r.files.empty()) << "nothing is logged";
    }
    EXPECT_GT(tried, 0) << "extend the table with commands that have no parser yet";
}

TEST_F(DispatchE2e, ControllerCount)
{
    struct Case {
        const char* preset;
        std::vector<std::string> options;
        int exitCode;
        std::string out;
        std::map<std::string, std::string> files;
    } cases[] = {
        {"two", {}, 2, BLANK_OUT + "\nController Count: 2.\n" + exitLine("02"),
         {{"QuillSAS.log", "\nController Count: 2.\n" + exitLine("02")}}},
        {"no-driver", {}, 0, BLANK_OUT + "\nController Count: 0.\n" + exitLine("00"),
         {{"QuillSAS.log", "\nController Count: 0.\n" + exitLine("00")}}},
        {"two", {"-Silent"}, 2, BLANK_OUT, {{"QuillSAS.log", "\nController Count: 2.\n" + exitLine("02")}}},
        {"two", {"-NoLog"}, 2, BLANK_OUT + "\nController Count: 2.\n" + exitLine("02"), {}},
        {"one", {"-AppLogFile", "my-console.log"}, 1, BLANK_OUT + "\nController Count: 1.\n" + exitLine("01"),
         {{"my-console.log", "\nController Count: 1.\n" + exitLine("01")}}},
        {"two", {"-page1"}, 2,
         BLANK_OUT + "\nPress <ENTER> to continue....\nController Count: 2.\nPress <ENTER> to continue....\n"
                     "\nPress <ENTER> to continue....\nExit Code: 0x02\nPress <ENTER> to continue....\n",
         {{"QuillSAS.log", "\nController Count: 2.\n" + exitLine("02")}}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"-AdpCount"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        SCOPED_TRACE(std::string(c.preset) + (c.options.empty() ? "" : " " + c.options[0]));
        RunResult r = run(args, host(c.preset));
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.files, c.files);
    }
}

TEST_F(DispatchE2e, FirmwareStatusOfTheControllerCheck)
{
    struct Case {
        const char* what;
        int oemId;
        int exitCode;
        std::string description;
    } cases[] = {
        {"plain wording", 1, 12,
         "\nFW error description: \n The requested command cannot be completed, as the specified device does not "
         "exist.  \n"},
        {"OEM 2 wording", 2, 12,
         "\nFW error description: \n  The requested command cannot be completed, as the specified device does not "
         "exist.  \n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string simHost = host("one");
        editFirstController(simHost, [&](nlohmann::json& controller) { controller["mfcOemData"]["oemId"] = c.oemId; });
        // Discovery reads the controller information first; the check's own read fails.
        quillsim({"fault", simHost, "status", "0x01010000", "12", "--from", "2"});
        RunResult r = run({"-AdpFacDefSet", "-a0"}, simHost);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out, BLANK_OUT + c.description + exitLine("0c"));
        EXPECT_EQ(r.files["QuillSAS.log"], c.description + exitLine("0c"));
    }
}

TEST_F(DispatchE2e, FirmwareTooNewStopsTheCommand)
{
    std::string simHost = host("two");
    editFirstController(simHost, [](nlohmann::json& controller) { controller["info"]["forwardCompatibility"] = 3; });
    RunResult r = run({"-AdpFacDefSet", "-aALL"}, simHost);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, BLANK_OUT +
                         "Adapter #0: Please Update Application.\nFirmware Forward Compatibility Version:3\n"
                         "Application Forward Compatibility Version:0\n" +
                         exitLine("01"))
        << "adapter 1 is not run after adapter 0 failed";
}

TEST_F(DispatchE2e, AbsentAdapterAndMissingDriver)
{
    RunResult absent = run({"-AdpFacDefSet", "-a3"}, host("two"));
    EXPECT_EQ(absent.exitCode, 1);
    EXPECT_EQ(absent.out, BLANK_OUT + "User specified controller is not present.\nFailed to get CpController object.\n" +
                              exitLine("01"));

    RunResult noDriver = run({"-AdpFacDefSet", "-a0"}, host("no-driver"));
    EXPECT_EQ(noDriver.exitCode, 1);
    EXPECT_EQ(noDriver.out, BLANK_OUT +
                                "ERROR:Could not detect controller.\nFailed to get ControllerId List.\n"
                                "Failed to get CpController object.\n" +
                                exitLine("01"));
    EXPECT_EQ(noDriver.files["QuillSAS.log"],
              "Failed to get ControllerId List.\nFailed to get CpController object.\n" + exitLine("01"))
        << "the detection error is written around the console printer";
}

}  // namespace
