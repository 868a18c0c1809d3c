// The simple adapter commands through the real QuillCli binary and a simulated host: factory
// defaults, the drive counts, the enclosure information, the diagnostic and the controller
// count. Each goes from the command line through its parser to dispatch; a command whose
// processor is not there yet is reported as unsupported and fails (exit code 1): with -aALL the
// first adapter's failure ends the command, the drive counts run on every adapter. (Factory
// defaults with firmware failures: AdapterProcessorsE2eTest.cpp.)
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/TokenIds.h"

namespace {

const std::string BAD_ADAPTER = "Invalid Adapter number.\n";

std::string joined(const std::vector<std::string>& args)
{
    std::string line;
    for (const std::string& a : args)
        line += (line.empty() ? "" : " ") + a;
    return line;
}

// One run: the line, the host preset, and what the administrator sees and the console log keeps.
struct Case {
    std::vector<std::string> args;
    const char* preset;
    int exitCode;
    std::string out;
    std::map<std::string, std::string> files;   // left in the working folder, by name
};

// The console log under its default name, holding `text`.
std::map<std::string, std::string> consoleLog(const std::string& text)
{
    return {{"QuillSAS.log", text}};
}

const std::map<std::string, std::string> NO_FILES;

class SimpleCommandsE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    // With `firmwareTraced` the simulated host reports every firmware command on standard
    // error, so an empty standard error also shows that none was sent.
    void expectRuns(const std::vector<Case>& cases, bool firmwareTraced = false)
    {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.preset) + ": " + joined(c.args));
            std::string dir = makeSimHost(c.preset);
            cleanup.push_back(dir.substr(0, dir.rfind('/')));
            RunSpec spec;
            spec.args = c.args;
            spec.env = {{"QUILLCLI_SIM_HOST", dir}};
            if (firmwareTraced)
                spec.env.push_back({"QUILLCLI_SIM_TRACE", "1"});
            RunResult r = runProgram(spec);
            cleanup.push_back(r.workDir);
            EXPECT_EQ(r.exitCode, c.exitCode);
            EXPECT_EQ(r.out, c.out);
            EXPECT_EQ(r.files, c.files);
            EXPECT_EQ(r.err, "");
        }
    }

    // The dispatch of a command without processor is what these cases pin. Once the command's
    // processor is registered they no longer hold: the test fails and asks to be updated.
    static ::testing::AssertionResult hasNoProcessor(unsigned short command, const char* what)
    {
        if (CpFactoryRegistry::instance()->creatorCount(command) == 0)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "the " << what << " command (token " << command << ") now has its processor: replace "
               << "these cases with the output of that processor";
    }

    std::vector<std::string> cleanup;
};

// A valid adapter number beyond 250 passes the grammar but not the parser: the messages reach
// the console log (the grammar's blank-out line does not), and no firmware command is sent.
TEST_F(SimpleCommandsE2e, ParserRejectsAdapterNumbersBeyond250)
{
    const std::string shown = BAD_ADAPTER + PARSE_FAILED + exitLine("01");
    expectRuns(
        {
            {{"-AdpFacDefSet", "-a251"}, "one", 1, BLANK_OUT + shown, consoleLog(shown)},
            {{"-AdpFacDefSet", "-a0,251"}, "two", 1, "," + BLANK_OUT + shown, consoleLog(shown)},
            {{"-LDGetNum", "-a2147483647"}, "one", 1, BLANK_OUT + shown, consoleLog(shown)},
            {{"-PDGetNum", "-a0,300"}, "one", 1, "," + BLANK_OUT + shown, consoleLog(shown)},
            {{"-EncInfo", "-a999"}, "one", 1, BLANK_OUT + shown, consoleLog(shown)},
            {{"-EncStatus", "-a256", "-NoLog"}, "one", 1, BLANK_OUT + shown, NO_FILES},
            {{"-AdpDiag", "5", "-a251"}, "one", 1, BLANK_OUT + shown, consoleLog(shown)},
            {{"-AdpDiag", "-a1,2,251", "-Silent"}, "two", 1, ",," + BLANK_OUT, consoleLog(shown)},
        },
        true);
}

TEST_F(SimpleCommandsE2e, FactoryDefaults)
{
    auto done = [](int adapter) {
        return "Adapter " + std::to_string(adapter) +
               ": Factory Default Set Successfully. \nPlease reboot the system for the changes to take effect\n";
    };
    const std::string absent = "User specified controller is not present.\nFailed to get CpController object.\n";
    const std::string one = done(0) + exitLine("00");
    const std::string both = done(0) + done(1) + exitLine("00");
    const std::string reversed = done(1) + done(0) + exitLine("00");
    expectRuns({
        {{"-AdpFacDefSet", "-a0"}, "one", 0, BLANK_OUT + one, consoleLog(one)},
        {{"-AdpFacDefSet", "-aALL"}, "two", 0, BLANK_OUT + both, consoleLog(both)},
        {{"-AdpFacDefSet", "-a1,0"}, "two", 0, "," + BLANK_OUT + reversed, consoleLog(reversed)},
        // Adapter 0 runs; adapter 5 cannot be dispatched, which ends the command with 1.
        {{"-AdpFacDefSet", "-a0,5"}, "two", 1, "," + BLANK_OUT + done(0) + absent + exitLine("01"),
         consoleLog(done(0) + absent + exitLine("01"))},
    });
}

TEST_F(SimpleCommandsE2e, DriveCounts)
{
    auto vds = [](int adapter, int count) {
        return " Number of Virtual Drives Configured on Adapter " + std::to_string(adapter) + ": " +
               std::to_string(count) + "\n";
    };
    auto pds = [](int adapter, int count) {
        return " Number of Physical Drives on Adapter " + std::to_string(adapter) + ": " + std::to_string(count) +
               "\n";
    };
    // The count is the command's result, and so its exit code.
    const std::string one = vds(0, 1) + exitLine("01");
    const std::string both = pds(0, 4) + pds(1, 4) + exitLine("04");
    const std::string second = vds(1, 1) + exitLine("01");
    expectRuns({
        {{"-LDGetNum", "-a0"}, "one", 1, BLANK_OUT + one, consoleLog(one)},
        // The drive counts run on every adapter whatever the result of the one before.
        {{"-PDGetNum", "-aALL"}, "two", 4, BLANK_OUT + both, consoleLog(both)},
        {{"-ldgetnum", "-a1", "-AppLogFile", "counts.log"}, "two", 1, BLANK_OUT + second, {{"counts.log", second}}},
    });
}

// The enclosure commands' own output is EnclosureE2eTest's; here only the dispatch without a
// controller.
TEST_F(SimpleCommandsE2e, EnclosureInformationAndStatus)
{
    expectRuns({
        {{"-EncStatus", "-a0"}, "no-driver", 1,
         BLANK_OUT + "ERROR:Could not detect controller.\nFailed to get ControllerId List.\n"
                     "Failed to get CpController object.\n" + exitLine("01"),
         consoleLog("Failed to get ControllerId List.\nFailed to get CpController object.\n" + exitLine("01"))},
    });
}

TEST_F(SimpleCommandsE2e, Diagnostic)
{
    auto ran = [](const char* adapter, const char* seconds) {
        return std::string("Performing Diagnostic on Controller ") + adapter + ".\n It will take " + seconds +
               " seconds to complete. Please wait...\nDiagnostic Completed on Controller " + adapter + ".\n";
    };
    const std::string one = ran("0", "20") + exitLine("00");
    const std::string all = ran("0", "30") + ran("1", "30") + exitLine("00");
    expectRuns({
        {{"-AdpDiag", "-a0"}, "one", 0, BLANK_OUT + one, consoleLog(one)},
        {{"-AdpDiag", "30", "-aALL"}, "two", 0, BLANK_OUT + all, consoleLog(all)},
        {{"-AdpDiag", "0", "-a1", "-NoLog"}, "two", 0, BLANK_OUT + ran("1", "0") + exitLine("00"), NO_FILES},
    });
}

// The count is answered by the dispatcher itself and is the exit code. The grammar lets only
// global options follow the command word, and the global-option pass takes them all, so the
// count's parser has nothing to reject.
TEST_F(SimpleCommandsE2e, ControllerCount)
{
    auto count = [](const char* n, const char* code) {
        return "\nController Count: " + std::string(n) + ".\n" + exitLine(code);
    };
    expectRuns({
        {{"-AdpCount"}, "one", 1, BLANK_OUT + count("1", "01"), consoleLog(count("1", "01"))},
        {{"-AdpCount"}, "old-kernel", 1, BLANK_OUT + count("1", "01"), consoleLog(count("1", "01"))},
        {{"-adpcount", "-NoLog"}, "big", 4, BLANK_OUT + count("4", "04"), NO_FILES},
    });
}

}  // namespace
