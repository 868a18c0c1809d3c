// The configuration, security, secure-erase, firmware-download, drive, phy and logical-drive
// command lines through the real QuillCli binary and a simulated host: a refused line ends
// with its own message (if any), the parse-failure message and exit code 1, and sends no
// firmware command; an accepted line reaches dispatch, where a command whose processor is not
// there yet is reported as unsupported (exit code 1).
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "Parser/TokenIds.h"

namespace {

const std::string EXIT_1 = "\nExit Code: 0x01\n";

struct Refused {
    std::vector<std::string> args;
    std::string shown;   // after the blank-out line, before the parse-failure message
    std::string logged;  // the part of `shown` that reaches the console log
};

class ConfigDriveParsersE2e : public ::testing::Test {
protected:
    void SetUp() override
    {
        hostDir = makeSimHost("one");
        cleanup.push_back(hostDir.substr(0, hostDir.rfind('/')));
    }
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    RunResult run(const std::vector<std::string>& args)
    {
        RunSpec spec;
        spec.args = args;
        // Every firmware command is reported on standard error: an empty one shows none was sent.
        spec.env = {{"QUILLCLI_SIM_HOST", hostDir}, {"QUILLCLI_SIM_TRACE", "1"}};
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        return r;
    }

    std::string hostDir;
    std::vector<std::string> cleanup;
};

std::string joined(const std::vector<std::string>& args)
{
    std::string line;
    for (const std::string& a : args)
        line += (line.empty() ? "" : " ") + a;
    return line;
}

}  // namespace

TEST_F(ConfigDriveParsersE2e, RefusedLines)
{
    const Refused cases[] = {
        // The offline download method is not offered, even on a line that is valid otherwise.
        {{"-PdFwDownload", "-Offline", "-PhysDrv[252:0]", "-f", "fw.bin", "-a0"}, "Invalid command.\n",
         "Invalid command.\n"},
        // The pattern texts go to the screen only.
        {{"-SecureErase", "-Start", "Normal", "-ErasePattern", "1010101x", "-L0", "-a0"},
         "Invalid pattern 1010101x\n", ""},
        {{"-SecureErase", "-Start", "Thorough", "-ErasePattern", "1010", "-L0", "-a0"}, "Invalid pattern\n", ""},
        // Numbers that do not fit their fields are refused, never cut.
        {{"-CfgLdAdd", "-r256", "[252:0]", "-a0"}, "", ""},
        {{"-LdExpansion", "-p300", "-L0", "-a0"}, "", ""},
        {{"-PhySetLinkSpeed", "-Phy", "300", "3", "-a0"}, "", ""},
        {{"-PhySetLinkSpeed", "-Phy", "1", "259", "-a0"}, "", ""},
        {{"-CfgLdAdd", "-r0", "[252:0]", "-strpsz", "65600", "-a0"}, "", ""},
        {{"-CfgAllFreeDrv", "-r5", "-SpanCount", "257", "-a0"}, "", ""},
        {{"-PdFwDownload", "-EncdevId[65537]", "-f", "e.esm", "-a0"}, "", ""},
        {{"-HK", "-BlazeCardInfo", "-i256"}, "", ""},
        {{"-LDJoinMirror", "-DataSrc", "256", "-L0", "-a0"}, "", ""},
        {{"-PdFwDownload", "-PhysDrv[252:0]", "-f", "fw.bin", "-Mode", "6", "-a0"}, "Unsupported mode \n",
         "Unsupported mode \n"},
        {{"-PdFwDownload", "-PhysDrv[252:0]", "-f", "fw.DLP", "-a0"}, "This command is deprecated.\n",
         "This command is deprecated.\n"},
        {{"-LDBBMClr", "-L256", "-a0"}, "Invalid Logical Drive number.\n", "Invalid Logical Drive number.\n"},
        {{"-PDCpyBk", "-Start", "-PhysDrv[252:0,252:300]", "-a0"}, "", ""},
        {{"-GetKeyID", "-PhysDrv[252: 1]", "-a0"}, "", ""},
        {{"-CfgClr", "-a251"}, "Invalid Adapter number.\n", "Invalid Adapter number.\n"},
        {{"-CfgSpanAdd", "-r5", "-Array0[252:0,252:1]", "-Array1[252:2,252:3]", "-a0"}, "", ""},
        {{"-LDRecon", "-Start", "-r300", "-L0", "-a0"}, "", ""},
        {{"-PdReplaceMissing", "-PhysDrv[252:6]", "-array300", "-row1", "-a0"}, "", ""},
        {{"-PdReplaceMissing", "-PhysDrv[252:6]", "-Array0", "-row260", "-a0"}, "", ""},
        {{"-PDHSP", "-Set", "-Dedicated", "-Array256", "-PhysDrv[252:4]", "-a0"}, "", ""},
        {{"-CfgForeign", "-Import", "300", "-a0"}, "", ""},
        {{"-CfgForeign", "-Clear", "255", "-a0"}, "", ""},
        {{"-CfgLdDel", "-L64", "-a0"}, "Invalid Logical Drive number.\n", "Invalid Logical Drive number.\n"},
        {{"-PDOffline", "-PhysDrv[252:256]", "-a0"}, "", ""},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(joined(c.args));
        RunResult r = run(c.args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, BLANK_OUT + c.shown + PARSE_FAILED + EXIT_1);
        EXPECT_EQ(r.files, (std::map<std::string, std::string>{{"QuillSAS.log", c.logged + PARSE_FAILED + EXIT_1}}));
        EXPECT_EQ(r.err, "");
    }
}

