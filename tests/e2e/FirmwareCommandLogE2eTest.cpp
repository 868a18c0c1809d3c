// The firmware commands a command sends, as the simulated host logs them. An administrator's
// script runs informational commands over every drive every minute, so each record is read once
// per run and nothing is re-read per controller, per drive or per line printed. Each
// informational command gets its rows here as its processor lands.
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// "host=N opcode=0x01010000 status=0x00": the controller information, read without fault.
std::string infoRead(int host)
{
    return "host=" + std::to_string(host) + " opcode=0x01010000 status=0x00";
}

struct Row {
    std::vector<std::string> args;
    const char* preset;
    std::vector<std::string> sent;
};

class FirmwareCommandLogE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    void expectSent(const std::vector<Row>& rows)
    {
        for (const Row& row : rows) {
            std::string args;
            for (const std::string& a : row.args)
                args += " " + a;
            SCOPED_TRACE(std::string(row.preset) + ":" + args);
            std::string host = makeSimHost(row.preset);
            cleanup.push_back(host.substr(0, host.rfind('/')));
            RunSpec spec;
            spec.args = row.args;
            spec.env = {{"QUILLCLI_SIM_HOST", host}};
            RunResult result = runProgram(spec);
            cleanup.push_back(result.workDir);
            EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(host)), row.sent);
        }
    }

    std::vector<std::string> cleanup;
};

// A line that needs no controller sends nothing.
TEST_F(FirmwareCommandLogE2e, LinesWithoutControllerSendNothing)
{
    expectSent({
        {{"-Foo"}, "big", {}},
        {{"-AdpAllInfo"}, "big", {}},
    });
}

// The version and help commands run for adapter 0 when controllers are present: the model is
// refreshed and the controller check reads the first controller's information and OEM data, as
// before every command, and the
// banner asks for the OEM data once more.
TEST_F(FirmwareCommandLogE2e, VersionAndHelpCheckTheFirstController)
{
    const std::string oemRead = "host=2 opcode=0x010e8481 status=0x00";
    std::vector<std::string> check = {infoRead(2)};
    for (const std::string& refresh : refreshReads(2))
        check.push_back(refresh);
    check.insert(check.end(), {oemRead, oemRead});
    expectSent({
        {{"-v"}, "big", check},
        {{"-h"}, "big", check},
        {{"-v"}, "no-driver", {}},
    });
}

// The count reads each controller's information once, to recognise it, and nothing more: no
// controller check, no second read.
TEST_F(FirmwareCommandLogE2e, ControllerCountReadsEachControllerOnce)
{
    expectSent({
        {{"-AdpCount"}, "no-driver", {}},
        {{"-AdpCount"}, "one", {infoRead(2)}},
        {{"-AdpCount"}, "mixed", {infoRead(1), infoRead(3)}},
        {{"-AdpCount"}, "big", {infoRead(2), infoRead(3), infoRead(4), infoRead(5)}},
    });
}

}  // namespace

// The refresh before a command reads the whole model of the controller: the drive list (two
// passes: its count, then every entry) for the drive cache, the configuration (one read holds
// the "one" preset's array and logical drive), the information of each of its four disks as
// the unused drives are looked up among the cached ones, the drive query (two passes) for the JBOD drives,
// the information of the enclosure's own drive-list entry after it, then the controller
// information for the drive-mix flags, which the check reuses.
TEST_F(FirmwareCommandLogE2e, RefreshReadsTheWholeModel)
{
    const std::string info = infoRead(2);
    const std::string driveList = "host=2 opcode=0x02010000 status=0x00";
    const std::string config = "host=2 opcode=0x04010000 status=0x00";
    const std::string driveInfo = "host=2 opcode=0x02020000 status=0x00";
    const std::string driveQuery = "host=2 opcode=0x02010100 status=0x00";
    const std::string oem = "host=2 opcode=0x010e8481 status=0x00";
    const std::vector<std::string> expected = {info,      driveList, driveList,  config,     driveInfo,
                                               driveInfo, driveInfo, driveInfo,  driveQuery, driveQuery,
                                               driveInfo, info,      oem,        oem};
    std::string host = makeSimHost("one");
    cleanup.push_back(host.substr(0, host.rfind('/')));
    RunSpec spec;
    spec.args = {"-v"};
    spec.env = {{"QUILLCLI_SIM_HOST", host}};
    RunResult result = runProgram(spec);
    cleanup.push_back(result.workDir);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(loggedFirmwareCommands(host), expected);
}
