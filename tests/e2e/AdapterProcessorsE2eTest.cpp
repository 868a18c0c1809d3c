// The adapter command processors through the real QuillCli binary and simulated hosts: what the
// administrator sees, the exit code, and the firmware commands that reached each controller
// (the host's command log, discovery and controller check included, in the order sent).
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const INFO = "0x01010000";
const char* const OEM = "0x010e8481";
const char* const FACTORY = "0x010d0000";

std::string sent(unsigned host, const char* opcode, const char* outcome = "status=0x00")
{
    return "host=" + std::to_string(host) + " opcode=" + opcode + " " + outcome;
}

// Discovery reads each controller's information; the refresh before the command reads the
// model and the information again, the check the OEM data (the information it needs is the
// refresh's).
std::vector<std::string> checked(unsigned host)
{
    std::vector<std::string> reads = refreshReads(host);
    reads.push_back(sent(host, OEM));
    return reads;
}

struct Case {
    const char* what;
    const char* preset;
    std::vector<std::vector<std::string>> faults;   // each the arguments of one "quillsim fault HOST ..."
    std::vector<std::string> args;
    int exitCode;
    std::string out;
    std::vector<std::string> commands;
};

class AdapterProcessorsE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    void expectRuns(const std::vector<Case>& runs)
    {
        for (const Case& run : runs) {
            SCOPED_TRACE(run.what);
            std::string hostDir = makeSimHost(run.preset);
            cleanup.push_back(hostDir.substr(0, hostDir.rfind('/')));
            for (const std::vector<std::string>& fault : run.faults)
                ASSERT_EQ(addSimFault(hostDir, fault), "");
            RunSpec spec;
            spec.args = run.args;
            spec.env = {{"QUILLCLI_SIM_HOST", hostDir}};
            RunResult r = runProgram(spec);
            cleanup.push_back(r.workDir);
            EXPECT_EQ(r.exitCode, run.exitCode);
            EXPECT_EQ(r.out, run.out);
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(hostDir)), run.commands);
            last = r;
        }
    }

    std::vector<std::string> cleanup;
    RunResult last;
};

std::string factoryDone(int adapter)
{
    return "Adapter " + std::to_string(adapter) +
           ": Factory Default Set Successfully. \nPlease reboot the system for the changes to take effect\n";
}

std::string factoryFailed(int adapter)
{
    return "Adapter " + std::to_string(adapter) + ": Factory Default Set FAILED. \n";
}

TEST_F(AdapterProcessorsE2e, FactoryDefaults)
{
    const std::vector<std::string> discovered2 = {sent(2, INFO), sent(3, INFO)};
    expectRuns({
        {"one controller", "one", {}, {"-AdpFacDefSet", "-a0"}, 0, BLANK_OUT + factoryDone(0) + exitLine("00"),
         std::vector<std::string>{sent(2, INFO)} + checked(2) + std::vector<std::string>{sent(2, FACTORY)}},
        {"the firmware refuses: its status is the result", "one", {{"status", FACTORY, "0x2d"}}, {"-AdpFacDefSet", "-a0"},
         0x2d, BLANK_OUT + factoryFailed(0) + DEVICE_BUSY + exitLine("2d"),
         std::vector<std::string>{sent(2, INFO)} + checked(2) + std::vector<std::string>{sent(2, FACTORY, "status=0x2d")}},
        {"-aALL: every controller in adapter order", "two", {}, {"-AdpFacDefSet", "-aALL"}, 0,
         BLANK_OUT + factoryDone(0) + factoryDone(1) + exitLine("00"),
         discovered2 + checked(2) + std::vector<std::string>{sent(2, FACTORY)} + checked(3) +
             std::vector<std::string>{sent(3, FACTORY)}},
        {"-aALL: a refusal on adapter 0 leaves adapter 1 alone", "two", {{"status", FACTORY, "0x2d", "--host", "2"}},
         {"-AdpFacDefSet", "-aALL"}, 0x2d, BLANK_OUT + factoryFailed(0) + DEVICE_BUSY + exitLine("2d"),
         discovered2 + checked(2) + std::vector<std::string>{sent(2, FACTORY, "status=0x2d")}},
        {"-a0,1: a refusal on adapter 0, adapter 1 still runs", "two", {{"status", FACTORY, "0x2d", "--host", "2"}},
         {"-AdpFacDefSet", "-a0,1"}, 0, "," + BLANK_OUT + factoryFailed(0) + factoryDone(1) + exitLine("00"),
         std::vector<std::string>{sent(2, INFO)} + checked(2) + std::vector<std::string>{sent(2, FACTORY, "status=0x2d")} +
             std::vector<std::string>{sent(3, INFO)} + checked(3) + std::vector<std::string>{sent(3, FACTORY)}},
    });
}

// A failed firmware command of a processor's own leaves one application-log line that names the
// opcode and the status.
TEST_F(AdapterProcessorsE2e, FailedFirmwareCommandIsLoggedWithOpcodeAndStatus)
{
    expectRuns({
        {"refused", "one", {{"status", FACTORY, "0x2d"}}, {"-AdpFacDefSet", "-a0"}, 0x2d,
         BLANK_OUT + factoryFailed(0) + DEVICE_BUSY + exitLine("2d"),
         std::vector<std::string>{sent(2, INFO)} + checked(2) + std::vector<std::string>{sent(2, FACTORY, "status=0x2d")}},
    });
    ASSERT_EQ(last.files.count("Volant.log"), 1u);
    const std::string& log = last.files["Volant.log"];
    EXPECT_NE(log.find("(Volant)(Error) "), std::string::npos) << log;
    EXPECT_NE(log.find(" : ZPR opcode 0x010d0000 returned with error code 0x0000002d\n"), std::string::npos) << log;
}

} // namespace
