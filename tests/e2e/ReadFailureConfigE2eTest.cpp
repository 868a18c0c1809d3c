// The configuration, SAS and report commands when a read they depend on fails: the configuration,
// the drive list, a drive's or a virtual drive's information, or the controller information,
// with a firmware status or a failed ioctl. Unknown is not absent: each row's command prints one
// line naming the read, sends nothing that changes the controller after it, and ends with the
// read's status (a failed ioctl: 0xFFFF, exit status 255); what it did before the failure stays.
// Beside them, absence found by a read that succeeded keeps its message, and a command that does
// not depend on the failing read answers as on a healthy host.
#include "ReadFailureE2e.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

const char* const CFG_READ = "0x04010000";
const char* const PD_LIST = "0x02010000";
const char* const PD_INFO = "0x02020000";
const char* const LD_INFO = "0x03020000";
const char* const CONTROLLER_INFO = "0x01010000";

// The commands these commands send that change the controller.
const char* const CFG_ADD = "0x04020000";
const char* const MAKE_SPARE = "0x04040000";
const char* const SET_PCI_SPEED = "0x010e0103";
const char* const SET_MUX = "0x07020200";
const Lines CHANGES = {CFG_ADD, MAKE_SPARE, SET_PCI_SPEED, SET_MUX};

// The host of the drive-creation rows: drives 252:0-1 hold virtual drives 0 and 1, 252:2-7 are
// unconfigured (252:5 is device 13), slot 12 is empty.
const char* const LDADD_HOST = "ldadd-host.json";

const std::string CFG_FAILED = "\nAdapter 0: Configure Adapter Failed\n";
const std::string UNUSED_DRIVES_FAILED = "Adapter #0: Failed to Perform to get unconfig pd list Operation.\n";

using e2ecase::sent;

// The controller summary and layout that -CfgDsply prints for the "configs" preset before the
// first virtual drive's block.
const std::string CONFIGS_LAYOUT_HEAD =
    "==============================================================================\n"
    "Adapter: 0\nProduct Name: QuillRAID SAS 4080-8i\nMemory: 1024MB\nBBU: Present\nSerial No: QR408001001\n"
    "==============================================================================\n"
    "Number of DISK GROUPS: 1\n\nDISK GROUP: 0\nNumber of Spans: 1\nSPAN: 0\nSpan Reference: 0x00\n"
    "Number of PDs: 2\nNumber of VDs: 1\nNumber of dedicated Hotspares: 0\nVirtual Drive Information:\n"
    "Virtual Drive: 0 (Target Id: 0)\n";

// The performance-monitor heading of -DpmStat -Dsply on the "configs" preset.
const std::string DPM_HEADING = "Drive Performance Monitor Configuration for 0\nPerformance Monitor: OFF\n"
                                "Max commands for averaging: 0\nMax latency commands to save: 0\n\n";

struct Row {
    const char* what;
    const char* host;          // a preset, or a description in tests/e2e/data (ending in .json)
    nlohmann::json edit;       // merged into the host's first controller
    Lines fault;               // the arguments of "quillsim fault HOST ...", when there is one
    Lines args;
    int exitStatus;
    std::string out;           // the whole console output
    Lines changes;             // the commands that change the controller, in the order logged
};

class ReadFailureConfigE2e : public ReadFailureE2e {
protected:
    void expectRows(const std::vector<Row>& rows)
    {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.what);
            const std::string dir = hostNamed(row.host, merged(row.edit), row.fault);
            const RunResult r = run(dir, row.args);
            EXPECT_EQ(r.exitCode, row.exitStatus);
            EXPECT_EQ(r.out, row.out);
            EXPECT_EQ(loggedWithOpcodes(dir, CHANGES), row.changes);
        }
    }
};

TEST_F(ReadFailureConfigE2e, AReadThatFailsIsNamedAndEndsTheCommand)
{
    const nlohmann::json none;
    const nlohmann::json pci = {{"info", {{"pciMaxLinkSpeed", 3}, {"linkSpeed", 2}}}};
    const nlohmann::json connectors = {{"connectorModes", {{"modes", {1, 3}}}}};
    expectRows({
        // Automatic configuration: the free drives are unknown, not none.
        {"all free drives: the drive list cannot be read", "configs", none, {"status", PD_LIST, "3"},
         {"-CfgAllFreeDrv", "-r0", "-a0"}, 3,
         BLANK_OUT + UNUSED_DRIVES_FAILED + INVALID_ARGUMENTS + exitLine("03"), {}},
        {"all free drives: the drives' information cannot be read (failed ioctl)", "configs", none,
         {"ioctl", "--opcode", PD_INFO}, {"-CfgAllFreeDrv", "-r5", "-a0"}, 255,
         BLANK_OUT + UNUSED_DRIVES_FAILED + exitLine("ffff"), {}},
        // One named drive: not "is not Disk" from a list that was not read.
        {"a named drive: the drive list cannot be read", LDADD_HOST, none, {"status", PD_LIST, "3"},
         {"-CfgLdAdd", "-r0[252:5]", "-a0"}, 3,
         BLANK_OUT + driveUnreadable(0, 5) + INVALID_ARGUMENTS + exitLine("03"), {}},
        {"a named drive: no drive at the address of a list that was read", LDADD_HOST, none, {},
         {"-CfgLdAdd", "-r0[252:12]", "-a0"}, 12,
         BLANK_OUT + "\nDevice at [252 : 12] is not Disk\n" + CFG_FAILED + exitLine("0c"), {}},
        {"a named drive of a span: its information cannot be read", LDADD_HOST, none,
         {"status", PD_INFO, "3", "--mailbox", "0=0d"},
         {"-CfgSpanAdd", "-r10", "-Array0[252:2,252:3]", "-Array1[252:4,252:5]", "-a0"}, 3,
         BLANK_OUT + driveUnreadable(0, 5) + INVALID_ARGUMENTS + exitLine("03"), {}},
        // The free space of a disk group is judged against the configuration, which must be read.
        {"drives of a disk group: the configuration cannot be read", LDADD_HOST, none, {"status", CFG_READ, "3"},
         {"-CfgLdAdd", "-r1[252:0,252:1]", "-sz10GB", "-a0"}, 3,
         BLANK_OUT + "Failed to get Disk Group list\n" + INVALID_ARGUMENTS + exitLine("03"), {}},
        // The drive made stays; the spare is not set and the command does not claim success.
        {"a hot spare's information cannot be read after the drive is made", LDADD_HOST, none,
         {"status", PD_INFO, "3", "--mailbox", "0=0d", "--from", "3"},
         {"-CfgLdAdd", "-r1[252:2,252:3]", "-Hsp[252:5]", "-a0"}, 3,
         BLANK_OUT + "Adapter 0: Created VD 2\n" + driveUnreadable(0, 5) + INVALID_ARGUMENTS + exitLine("03"),
         {sent(2, CFG_ADD)}},
        {"one drive per disk: the unused drives cannot be read again after the first", "configs", none,
         {"status", PD_LIST, "3", "--from", "5"}, {"-CfgEachDskRaid0", "-a0"}, 3,
         BLANK_OUT + "Adapter 0: Created VD 1\nConfigured physical device at Encl-252:Slot-2.\n" + UNUSED_DRIVES_FAILED +
             INVALID_ARGUMENTS + exitLine("03"),
         {sent(2, CFG_ADD)}},
        // Displays: the block of what could not be read is not left out in silence.
        {"the configuration display: a virtual drive's information cannot be read", "configs", none,
         {"status", LD_INFO, "3"}, {"-CfgDsply", "-a0"}, 3,
         BLANK_OUT + CONFIGS_LAYOUT_HEAD + vdDataUnreadable(0, 0) + INVALID_ARGUMENTS + exitLine("03"), {}},
        {"drive statistics of a named drive: the drive list cannot be read", "configs", none, {"status", PD_LIST, "3"},
         {"-DpmStat", "-Dsply", "-Hist", "-PhysDrv[252:0]", "-a0"}, 3,
         BLANK_OUT + DPM_HEADING + driveUnreadable(0, 0) + INVALID_ARGUMENTS + exitLine("03"), {}},
        // A drive of the configuration is known by its device id alone: the line names the read.
        {"drive statistics of every drive: the drives' information cannot be read", "configs", none,
         {"status", PD_INFO, "3"}, {"-DpmStat", "-Dsply", "-Lct", "-a0"}, 3,
         BLANK_OUT + DPM_HEADING + PD_INFO_FAILED + INVALID_ARGUMENTS + exitLine("03"), {}},
        {"the summary to a file: the drive list cannot be read (failed ioctl)", "configs", none,
         {"ioctl", "--opcode", PD_LIST}, {"-ShowSummary", "-f", "s.txt", "-a0"}, 255,
         BLANK_OUT + "Adapter #0: Failed to Perform get PD list Operation.\n" + exitLine("ffff"), {}},
        // A count that cannot be read ends with the read's status, not a count of 1.
        {"drive counts: the second adapter's drive list cannot be read", "two", none,
         {"status", PD_LIST, "3", "--host", "3"}, {"-PDGetNum", "-aALL"}, 3,
         BLANK_OUT + " Number of Physical Drives on Adapter 0: 4\nAdapter 1: Failed to get PD Count\n" +
             INVALID_ARGUMENTS + exitLine("03"),
         {}},
        {"PCI link speed: the controller information cannot be read", "configs", pci,
         {"status", CONTROLLER_INFO, "3", "--from", "3"}, {"-PciSetLinkSpeed", "3", "-a0"}, 3,
         BLANK_OUT + "Adapter #0: Failed to Perform Controller information Operation.\n" + INVALID_ARGUMENTS +
             exitLine("03"),
         {}},
        // Connector modes are their own record: the drive list does not decide them.
        {"connectors while the drive list cannot be read", "configs", connectors, {"status", PD_LIST, "3"},
         {"-AdpGetConnectorMode", "-ConnectorAll", "-a0"}, 0,
         BLANK_OUT + "Adapter 0: Total Connector Count is 2\nAdapter 0: Connector 0 Mode Internal\n"
                     "Adapter 0: Connector 1 Mode Auto\n" + exitLine("00"),
         {}},
    });
}

}  // namespace
