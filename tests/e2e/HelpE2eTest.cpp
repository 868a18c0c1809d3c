// The version and help commands through the real binary and simulated hosts: the banner of
// each controller's OEM, the full usage text compared in full for OEM 1, 2 and 8, help topics,
// the two no-match lines, a controller that fails its checks, and paging.
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

const std::string QUILL_BANNER = "\n      QuillCLI SAS RAID Management Tool  Ver 1.02.00 Dec 10, 2026\n\n";
const std::string VOLANT_BANNER =
    "\n\tKolvex(R) RAID Command Line Utilities Version 2\n\t\tVer 1.02.00 Dec 10, 2026\n\n";

std::string noMatch(const std::string& word)
{
    return "Invalid input at or near token     " + word + "\nUse -help to know command name\n";
}

// The full usage text as the administrator sees it for the OEM (test data written from the
// usage text of the command reference).
std::string usageText(int oemId)
{
    return readFile(std::string(QUILL_SOURCE_DIR) + "/tests/e2e/data/usage-oem" + std::to_string(oemId) + ".txt");
}

void quillsim(const std::vector<std::string>& args)
{
    RunSpec spec;
    spec.program = QUILLSIM_BIN;
    spec.args = args;
    RunResult r = runProgram(spec);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    removeTree(r.workDir);
}

class HelpE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    // A host from the preset whose controllers carry these OEM identifiers, in order.
    std::string host(const std::string& preset, const std::vector<int>& oemIds = {},
                     const std::function<void(nlohmann::json&)>& edit = nullptr)
    {
        std::string dir = makeSimHost(preset);
        cleanup.push_back(dir.substr(0, dir.rfind('/')));
        if (oemIds.empty() && !edit)
            return dir;
        std::string path = dir + "/state.json";
        nlohmann::json state = nlohmann::json::parse(readFile(path));
        for (size_t i = 0; i < oemIds.size(); ++i)
            state["controllers"][i]["mfcOemData"]["oemId"] = oemIds[i];
        if (edit)
            edit(state);
        std::ofstream(path) << state.dump(2);
        return dir;
    }

    RunResult run(const std::vector<std::string>& args, const std::string& hostDir)
    {
        RunSpec spec;
        spec.args = args;
        spec.env = {{"QUILLCLI_SIM_HOST", hostDir}};
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        return r;
    }

    // What the run shows and what the console log keeps.
    void expectRun(const RunResult& r, int exitCode, const std::string& shown, const char* code)
    {
        EXPECT_EQ(r.exitCode, exitCode);
        EXPECT_EQ(r.out, BLANK_OUT + shown + exitLine(code));
        auto log = r.files.find("QuillSAS.log");
        ASSERT_NE(log, r.files.end());
        EXPECT_EQ(log->second, shown + exitLine(code));
        EXPECT_EQ(r.err, "");
    }

    std::vector<std::string> cleanup;
};

TEST_F(HelpE2e, VersionBanners)
{
    struct Case {
        const char* preset;
        std::vector<int> oemIds;
        std::vector<std::string> args;
        std::string shown;
    } cases[] = {
        {"no-driver", {}, {"-v"}, QUILL_BANNER},
        {"no-driver", {}, {"-v", "-aALL"}, QUILL_BANNER},
        {"no-driver", {}, {"-v", "-a3"}, QUILL_BANNER},
        {"one", {1}, {"-v"}, QUILL_BANNER},
        {"one", {2}, {"-v"}, QUILL_BANNER},
        {"one", {8}, {"-v"}, VOLANT_BANNER},
        {"one", {8}, {"-v", "-a0"}, VOLANT_BANNER},
        // An adapter that is not there: the command runs without a controller.
        {"one", {8}, {"-v", "-a5"}, QUILL_BANNER},
        {"two", {8, 2}, {"-v", "-a0", "1"}, VOLANT_BANNER + QUILL_BANNER},
        {"two", {1, 8}, {"-v", "-a1", "0"}, VOLANT_BANNER + QUILL_BANNER},
        {"two", {1, 8}, {"-v", "-aALL"}, QUILL_BANNER + VOLANT_BANNER},
        {"two", {8, 8}, {"-v", "-aALL"}, VOLANT_BANNER + VOLANT_BANNER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.preset) + " " + c.args.back());
        RunResult r = run(c.args, host(c.preset, c.oemIds));
        expectRun(r, 0, c.shown, "00");
    }
}

TEST_F(HelpE2e, VersionForAnAdapterList)
{
    // The scanner echoes the comma of "-a0,1" before anything else is printed.
    RunResult r = run({"-v", "-a0,1"}, host("two", {8, 2}));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "," + BLANK_OUT + VOLANT_BANNER + QUILL_BANNER + exitLine("00"));
}

// An adapter number above 250 refuses no version or help line: the number is reported, and the
// version is shown for the adapters accepted before it (adapter 0 when there are none); the help
// falls back to the full usage.
TEST_F(HelpE2e, AnAdapterNumberThatNamesNoAdapter)
{
    struct Case {
        std::vector<std::string> args;
        std::string echo;
        std::string shown;
    } cases[] = {
        {{"-v", "-a251"}, "", QUILL_BANNER},
        {{"-v", "-a0,251"}, ",", QUILL_BANNER},
        {{"-v", "-a0,1,251"}, ",,", QUILL_BANNER + VOLANT_BANNER},
        {{"-v", "-a256"}, "", QUILL_BANNER},
        {{"-help", "AdpAllInfo", "-a251"}, "", QUILL_BANNER + usageText(1)},
    };
    std::string dir = host("two", {1, 8});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args.back());
        RunResult r = run(c.args, dir);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, c.echo + BLANK_OUT + "Invalid Adapter number.\n" + c.shown + exitLine("00"));
        auto log = r.files.find("QuillSAS.log");
        ASSERT_NE(log, r.files.end());
        EXPECT_EQ(log->second, "Invalid Adapter number.\n" + c.shown + exitLine("00"));
        EXPECT_EQ(r.err, "");
    }
    // Right after the help word an adapter choice is read as text, which asks for the full usage.
    RunResult help = run({"-h", "-a251"}, dir);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out, BLANK_OUT + QUILL_BANNER + usageText(1) + exitLine("00"));
    // The controller count takes no adapter option at all.
    RunResult count = run({"-AdpCount", "-a251"}, dir);
    EXPECT_EQ(count.exitCode, 1);
    EXPECT_NE(count.out.find("Invalid input at or near token -a"), std::string::npos) << count.out;
}

TEST_F(HelpE2e, FullUsageForEveryOem)
{
    struct Case {
        const char* preset;
        int oemId;
        std::string banner;
    } cases[] = {
        {"no-driver", 1, QUILL_BANNER},
        {"one", 1, QUILL_BANNER},
        {"one", 2, QUILL_BANNER},
        {"one", 8, VOLANT_BANNER},
    };
    const std::vector<std::vector<std::string>> lines = {
        {"-h"}, {"-help"}, {"?"}, {"-?"}, {"-h", "default"}, {"-help", "-DEFAULT"}, {"-h", "-a0"}, {"-help", "-a0"},
    };
    for (const Case& c : cases) {
        std::string dir = std::string(c.preset) == "no-driver" ? host(c.preset) : host(c.preset, {c.oemId});
        for (const auto& line : lines) {
            SCOPED_TRACE(std::string(c.preset) + " OEM " + std::to_string(c.oemId) + ": " + line[0] +
                         (line.size() > 1 ? " " + line[1] : ""));
            RunResult r = run(line, dir);
            expectRun(r, 0, c.banner + usageText(c.oemId), "00");
        }
    }
}

TEST_F(HelpE2e, TopicWords)
{
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string shown;
        const char* code;
    } cases[] = {
        {{"-h", "-PdList"}, 0, "\n        \tPDList\n        \t------\n\nSyntax: QuillCli -PDList -aN|-a0,1,2|-aALL\n", "00"},
        {{"-help", "pdlist"}, 0, "\n        \tPDList\n        \t------\n\nSyntax: QuillCli -PDList -aN|-a0,1,2|-aALL\n", "00"},
        {{"?", "PDLIST", "-a0"}, 0, "\n        \tPDList\n        \t------\n\nSyntax: QuillCli -PDList -aN|-a0,1,2|-aALL\n", "00"},
        {{"-h", "--pdlist"}, 1, noMatch("-PDLIST"), "01"},
        {{"-h", "h"}, 1, noMatch("H"), "01"},
        {{"-h", "NoSuchCommand"}, 1, noMatch("NOSUCHCOMMAND"), "01"},
        {{"-h", "%s%n%d"}, 1, noMatch("%S%N%D"), "01"},
        // A topic longer than the word buffer is cut and names no command.
        {{"-h", std::string(300, 'x')}, 1, noMatch(std::string(47, 'X')), "01"},
        {{"-h", "help"}, 0, "\n        \thelp\n        \t----\n\nSyntax: QuillCli -help|-h|?\n\nDescription: \n"
                            "        Displays help for the QuillCLI utility.\n", "00"},
        {{"-h", "vdlist"}, 0, "\n        \tVdList command\n        \t--------------\n\nSyntax: QuillCli HK -VdList | -configured | -unconfigured\n", "00"},
        {{"-h", "deletesecuritykey"}, 1, noMatch("DELETESECURITYKEY"), "01"},
    };
    std::string dir = host("no-driver");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1].substr(0, 20));
        RunResult r = run(c.args, dir);
        EXPECT_EQ(r.exitCode, c.exitCode);
        ASSERT_GE(r.out.size(), BLANK_OUT.size() + QUILL_BANNER.size());
        EXPECT_EQ(r.out.substr(0, BLANK_OUT.size() + QUILL_BANNER.size()), BLANK_OUT + QUILL_BANNER);
        if (c.exitCode == 0)
            EXPECT_EQ(r.out.substr(BLANK_OUT.size() + QUILL_BANNER.size(), c.shown.size()), c.shown);
        else
            EXPECT_EQ(r.out, BLANK_OUT + QUILL_BANNER + c.shown + exitLine(c.code));
    }
}

TEST_F(HelpE2e, OemWordingsOfHelpTexts)
{
    struct Case {
        int oemId;
        std::vector<std::string> args;
        std::string part;
    } cases[] = {
        {2, {"-h", "-DeleteSecurityKey"}, "\n\t\t\tDeleteSecurityKey\n\t\t\t------------------\n\nSyntax: QuillCli -DeleteSecurityKey | [-Force] -aN\n"},
        {2, {"-h", "DestroySecurityKey"}, "\n\t\t\tDeleteSecurityKey\n\t\t\t------------------\n\nSyntax: QuillCli -DeleteSecurityKey | [-Force] -aN\n"},
        {1, {"-h", "DestroySecurityKey"}, "\n        \tDestroySecurityKey\n        \t------------------\n\nSyntax: QuillCli -DestroySecurityKey | [-Force] -aN\n"},
        {8, {"-h", "DestroySecurityKey"}, "Syntax: Volant2 -DestroySecurityKey | [-Force] -aN\n"},
        {2, {"-h", "adpsetprop"}, "    | {PerfMode -val \x96MaxFlushLines -val \x96MaxPDLatencyMS -val} -aN|-a0,1,2|-aALL \n"},
        {8, {"-h", "adpsetprop"}, "    | {PerfMode -val \x96MaxFlushLines -val \x96NumIOsToOrder -val} -aN|-a0,1,2|-aALL \n"},
        {1, {"-h", "adpsetprop"}, "|{DefaultSnapshotSpace -Val%}|{AutoSnapshotSpace -Val%} \n"},
        {2, {"-h", "cfgforeign"}, "Syntax: QuillCli -CfgForeign -Clear [x]|[-Passphrase sssssssssss] -aN|-a0,1,2|-aALL    \n"},
        {8, {"-h", "cfgforeign"}, "Syntax: Volant2 -CfgForeign -Clear [x]|[-SecurityKey sssssssssss] -aN|-a0,1,2|-aALL    \n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.oemId) + " " + c.args[1]);
        RunResult r = run(c.args, host("one", {c.oemId}));
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_NE(r.out.find(c.part), std::string::npos) << r.out;
    }
    RunResult other = run({"-h", "-DeleteSecurityKey"}, host("one", {8}));
    EXPECT_EQ(other.exitCode, 1);
    EXPECT_EQ(other.out, BLANK_OUT + VOLANT_BANNER + noMatch("DELETESECURITYKEY") + exitLine("01"));
}

TEST_F(HelpE2e, ControllerThatFailsItsChecksBlocksTheHelp)
{
    std::string dir = host("one", {8}, [](nlohmann::json& state) {
        state["controllers"][0]["info"]["forwardCompatibility"] = 3;
    });
    RunResult r = run({"-h", "adpallinfo"}, dir);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, BLANK_OUT +
                         "Adapter #0: Please Update Application.\nFirmware Forward Compatibility Version:3\n"
                         "Application Forward Compatibility Version:0\n" +
                         exitLine("01"));
}

TEST_F(HelpE2e, OwnOemQueryFailingBrandsAsOem1)
{
    std::string dir = host("one", {8});
    // The controller check's query passes; the processor's own one fails.
    quillsim({"fault", dir, "status", "0x010e8481", "3", "--from", "2"});
    RunResult r = run({"-v"}, dir);
    expectRun(r, 0, QUILL_BANNER, "00");
}

TEST_F(HelpE2e, UsageIsPaged)
{
    std::string dir = host("one", {1});
    RunSpec spec;
    spec.args = {"-h", "-a0", "-page20"};
    spec.env = {{"QUILLCLI_SIM_HOST", dir}};
    RunResult r = runProgram(spec);
    cleanup.push_back(r.workDir);
    EXPECT_EQ(r.exitCode, 0);
    // The prompt stops the text after every 20 completed lines; the console log has no prompts.
    std::string text = QUILL_BANNER + usageText(1) + exitLine("00");
    std::string paged;
    int lines = 0;
    for (char c : text) {
        paged += c;
        if (c == '\n' && ++lines % 20 == 0)
            paged += "Press <ENTER> to continue....\n";
    }
    EXPECT_EQ(r.out, BLANK_OUT + paged);
    EXPECT_EQ(r.files["QuillSAS.log"], text);
}

}  // namespace
