// Rows of end-to-end runs of one adapter command against simulated hosts: the host made from a
// preset with an edit merged into every controller and faults added, the command line, and what
// the run must leave: exit code, console output, and the firmware commands in the host's log
// (without the model reads of the refresh), optionally with the mailboxes of chosen opcodes.
#ifndef FIRMWARECASEE2E_H
#define FIRMWARECASEE2E_H

#include "E2eHarness.h"
#include "TranscriptReaders.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace e2ecase {

const char* const INFO = "0x01010000";
const char* const OEM = "0x010e8481";

inline std::string sent(unsigned host, const char* opcode, const char* status = "0x00")
{
    return "host=" + std::to_string(host) + " opcode=" + opcode + " status=" + status;
}

// The dispatcher's reads before a command: the model's refresh (which reads the information
// the check then uses), the OEM data.
inline Lines checked(unsigned host)
{
    return refreshReads(host) + Lines{sent(host, OEM)};
}

// What one adapter's run sends after the check: `refreshed` when the processor reads the model
// again, then the processor's own commands.
inline Lines action(unsigned host, bool refreshed, const Lines& own)
{
    return checked(host) + (refreshed ? refreshReads(host) : Lines()) + own;
}

struct Case {
    const char* what;
    const char* preset;
    nlohmann::json edit;                   // merged into every controller of the preset
    std::vector<Lines> faults;             // each the arguments of one "quillsim fault HOST ..."
    Lines args;
    int exitCode;
    std::string out;
    Lines commands;
    Lines actionMailboxes;                 // "opcode=... mbox=..." of the action commands, when given
    nlohmann::json hostEdit = nullptr;     // merged into the description itself (host files)
    std::vector<WrittenData> written = {};  // the data the commands wrote, where a row checks it
    std::optional<Lines> shell = {};        // the shell commands run, in order, when given
    std::optional<Lines> visibility = {};   // the operating-system visibility steps, when given
};

class FirmwareCaseE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    std::string host(const Case& run)
    {
        std::string dir = makeSimHost(run.preset);
        cleanup.push_back(dir.substr(0, dir.rfind('/')));
        if (!run.edit.is_null() || !run.hostEdit.is_null()) {
            // The host is made again from the edited description, so that what the host shows
            // outside the firmware (its PCI locations, files) follows the edit too.
            nlohmann::json state = nlohmann::json::parse(readFile(dir + "/state.json"));
            if (!run.edit.is_null())
                for (nlohmann::json& c : state["controllers"])
                    c.merge_patch(run.edit);
            if (!run.hostEdit.is_null())
                state.merge_patch(run.hostEdit);
            dir = makeSimHostFrom(state.dump(2));
            cleanup.push_back(dir.substr(0, dir.rfind('/')));
        }
        for (const Lines& fault : run.faults)
            EXPECT_EQ(addSimFault(dir, fault), "");
        return dir;
    }

    // The "opcode=... mbox=..." of the log's commands with one of `opcodes`.
    static Lines mailboxes(const std::string& hostDir, const Lines& opcodes)
    {
        Lines out;
        std::istringstream log(readFile(hostDir + "/commands.log"));
        std::string line;
        while (std::getline(log, line)) {
            for (const std::string& op : opcodes) {
                size_t at = line.find("opcode=" + op + " ");
                if (at != std::string::npos)
                    out.push_back(line.substr(at, line.find(" len=") - at));
            }
        }
        return out;
    }

    // The data, shell commands and visibility steps the row states.
    static void expectTranscript(const std::string& dir, const Case& run)
    {
        for (const WrittenData& data : run.written)
            EXPECT_EQ(writtenDataMismatches(dir, data), "");
        if (run.shell) {
            EXPECT_EQ(loggedShellCommands(dir), *run.shell);
        }
        if (run.visibility) {
            EXPECT_EQ(loggedVisibilitySteps(dir), *run.visibility);
        }
    }

    // Runs a case's command line on a host made for it (its folder in `hostDir`).
    RunResult runCase(const Case& run, std::string* hostDir)
    {
        *hostDir = host(run);
        RunSpec spec;
        spec.args = run.args;
        spec.env = {{"QUILLCLI_SIM_HOST", *hostDir}};
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        return r;
    }

    void expectRuns(const std::vector<Case>& runs, const Lines& actionOpcodes)
    {
        for (const Case& run : runs) {
            SCOPED_TRACE(run.what);
            std::string dir;
            RunResult r = runCase(run, &dir);
            EXPECT_EQ(r.exitCode, run.exitCode);
            EXPECT_EQ(r.out, run.out);
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(dir)), run.commands);
            if (!run.actionMailboxes.empty()) {
                EXPECT_EQ(mailboxes(dir, actionOpcodes), run.actionMailboxes);
            }
            expectTranscript(dir, run);
        }
    }

    Lines cleanup;
};

}  // namespace e2ecase

#endif
