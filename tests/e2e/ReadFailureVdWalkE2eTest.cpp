// The walks over virtual drives that change them (-CfgLdDel, -CfgTidewellDel, -LDCC, -LDInit,
// -LDBI, the SSD-cache commands) and the progress displays, with one firmware read failing:
// the configuration, the logical-drive list, the drive list, a drive's or a logical drive's
// information, the allowed-operations word, the progress, the SSD cache's association list.
// A read that fails is never an answer: the run prints the line that names it, sends nothing
// that changes the controller after it, and ends with its status; the drives a walk changed
// before it stay changed. Absence found by a read that succeeded keeps its message and result.
#include "FirmwareCaseE2e.h"
#include "ReadFailureE2e.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

using namespace e2ecase;

const char* const CFG_READ = "0x04010000";
const char* const PD_LIST = "0x02010000";
const char* const LD_LIST = "0x03010000";
const char* const LD_INFO = "0x03020000";
const char* const ALLOWED_OPS = "0x030b0000";
const char* const LD_PROGRESS = "0x03080000";
const char* const ASSOCIATIONS = "0x03100200";

// What changes the controller: deletes, starts and aborts, properties, associations, adds.
const char* const LD_DELETE = "0x03090000";
const char* const CC_START = "0x03050100";
const char* const CC_ABORT = "0x03050200";
const char* const INIT_START = "0x03060100";
const char* const LD_SET_PROPERTIES = "0x03040000";
const char* const SET_ASSOCIATIONS = "0x03100100";
const char* const CFG_ADD = "0x04020000";
const Lines CHANGES = {LD_DELETE, CC_START, CC_ABORT, INIT_START, LD_SET_PROPERTIES, SET_ASSOCIATIONS, CFG_ADD};

// What "-a0,1" prints before the command's own output.
const std::string TWO_ADAPTERS = "," + BLANK_OUT;

std::string deleted(int adapter, int target)
{
    return "Adapter " + std::to_string(adapter) + ": Deleted Virtual Drive-" + std::to_string(target) + "(target id-" +
           std::to_string(target) + ")\n";
}

std::string ccStarted(int target)
{
    return "Start Check Consistency on Virtual Drive " + std::to_string(target) + " (target id: " +
           std::to_string(target) + ") Success.\n";
}

// The logged command with the opcode and the mailbox's first word.
std::string change(unsigned host, const char* opcode, const char* mailbox)
{
    return "host=" + std::to_string(host) + " opcode=" + opcode + " mbox=" + mailbox;
}

// Two mirrors, virtual drives 0 (drives 8, 9) and 1 (10, 11).
#define TWO_MIRRORS_DRIVES                                                                      \
    R"("enclosures": [{"deviceId": 252, "slots": 8}], "spares": [],)"                           \
    R"("drives": [{"deviceId": 8, "enclosureId": 252, "slot": 0, "state": "0x18"},)"            \
    R"({"deviceId": 9, "enclosureId": 252, "slot": 1, "state": "0x18"},)"                       \
    R"({"deviceId": 10, "enclosureId": 252, "slot": 2, "state": "0x18"},)"                      \
    R"({"deviceId": 11, "enclosureId": 252, "slot": 3, "state": "0x18"}],)"                     \
    R"("arrays": [{"ref": 0, "drives": [8, 9]}, {"ref": 1, "drives": [10, 11]}],)"
#define MIRROR_1 R"({"targetId": 1, "raidLevel": 1, "drivesPerSpan": 2, "drives": [10, 11], "spans": [{"array": 1}]})"

const char* const TWO_MIRRORS = "{" TWO_MIRRORS_DRIVES R"("lds": [
    {"targetId": 0, "raidLevel": 1, "drivesPerSpan": 2, "drives": [8, 9], "spans": [{"array": 0}]}, )" MIRROR_1 "]}";
// The same where the controller reports each drive's allowed operations.
const char* const ALLOWED_WORDS = "{" R"("info": {"reportingFeatures": "0x40"},)" TWO_MIRRORS_DRIVES R"("lds": [
    {"targetId": 0, "raidLevel": 1, "drivesPerSpan": 2, "drives": [8, 9], "spans": [{"array": 0}]}, )" MIRROR_1 "]}";
// The same with a consistency check running on virtual drive 0.
const char* const CHECKING_0 = "{" TWO_MIRRORS_DRIVES R"("lds": [
    {"targetId": 0, "raidLevel": 1, "drivesPerSpan": 2, "drives": [8, 9], "spans": [{"array": 0}],
     "progress": [{"operation": "consistencyCheck", "progress": 60000, "elapsed": 30}]}, )" MIRROR_1 "]}";

// Two solid-state drives, free, and room for one SSD cache.
#define SSD_DRIVES                                                                              \
    R"("enclosures": [{"deviceId": 252, "slots": 8}], "spares": [],)"                           \
    R"("drives": [{"deviceId": 8, "enclosureId": 252, "slot": 0, "state": "0x18"},)"            \
    R"({"deviceId": 9, "enclosureId": 252, "slot": 1, "state": "0x18"},)"                       \
    R"({"deviceId": 10, "enclosureId": 252, "slot": 2, "state": "0x18"},)"                      \
    R"({"deviceId": 14, "enclosureId": 252, "slot": 6, "media": "SSD"},)"                       \
    R"({"deviceId": 15, "enclosureId": 252, "slot": 7, "media": "SSD"}],)"
const char* const NO_CACHE_YET = "{" R"("info": {"maxSscSizeGB": 1, "sscFeatures": "0x01"},)" SSD_DRIVES R"(
    "arrays": [{"ref": 0, "drives": [8, 9]}, {"ref": 1, "drives": [10]}],
    "lds": [{"targetId": 0, "raidLevel": 1, "drivesPerSpan": 2, "drives": [8, 9], "spans": [{"array": 0}]},
            {"targetId": 1, "drives": [10], "spans": [{"array": 1}]}]})";
// The SSD cache 2 serves virtual drive 0.
const char* const CACHE_SERVES_0 = "{" R"("info": {"maxSscSizeGB": 2, "sscSizeGB": 1, "sscFeatures": "0x01"},)"
    SSD_DRIVES R"(
    "arrays": [{"ref": 0, "drives": [8, 9]}, {"ref": 1, "drives": [10]}, {"ref": 2, "drives": [14, 15]}],
    "lds": [{"targetId": 0, "raidLevel": 1, "drivesPerSpan": 2, "drives": [8, 9], "spans": [{"array": 0}],
             "cacheAssociation": 1},
            {"targetId": 1, "drives": [10], "spans": [{"array": 1}]},
            {"targetId": 2, "name": "cache0", "drivesPerSpan": 2, "drives": [14, 15], "spans": [{"array": 2}],
             "sscCache": 1}]})";

struct Row {
    const char* what;
    const char* preset;
    const char* controller;        // JSON merged into every controller of the preset; null: none
    std::vector<Lines> faults;
    Lines args;
    int exitCode;
    std::string out;
    Lines changes;                 // the commands that change the controller, "host=N opcode=... mbox=..."
};

class ReadFailureVdWalkE2e : public FirmwareCaseE2e {
protected:
    // The commands of the host's log that change the controller, in the order sent.
    static Lines changesIn(const std::string& hostDir)
    {
        Lines out;
        std::istringstream log(readFile(hostDir + "/commands.log"));
        std::string line;
        while (std::getline(log, line)) {
            const std::string opcode = commandLogField(line, "opcode");
            bool changing = false;
            for (const std::string& op : CHANGES)
                changing = changing || op == opcode;
            if (!changing)
                continue;
            const std::string mailbox = commandLogField(line, "mbox");
            out.push_back("host=" + commandLogField(line, "host") + " opcode=" + opcode +
                          " mbox=" + mailbox.substr(0, mailbox.find(',')));
        }
        return out;
    }

    void expectRows(const std::vector<Row>& rows)
    {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.what);
            const nlohmann::json edit = row.controller != nullptr ? nlohmann::json::parse(row.controller) : nullptr;
            Case run{row.what, row.preset, edit, row.faults, row.args, row.exitCode, row.out, {}, {}};
            std::string dir;
            RunResult r = runCase(run, &dir);
            EXPECT_EQ(r.exitCode, row.exitCode);
            EXPECT_EQ(r.out, row.out);
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(changesIn(dir), row.changes);
        }
    }
};

}  // namespace

// Deleting: the configuration, the logical-drive list, a drive's information and the SSD cache's
// association list.
TEST_F(ReadFailureVdWalkE2e, Deletions)
{
    expectRows({
        {"-LALL with the configuration unreadable: nothing deleted", "one", TWO_MIRRORS, {{"status", CFG_READ, "3"}},
         {"-CfgLdDel", "-LALL", "-a0"}, 3, BLANK_OUT + VD_LIST_FAILED + INVALID_ARGUMENTS + exitLine("03"), {}},
        {"-CfgTidewellDel -LALL with the configuration unreadable: no silent success", "one", CACHE_SERVES_0,
         {{"ioctl", "--opcode", CFG_READ}}, {"-CfgTidewellDel", "-LALL", "-a0"}, 255,
         BLANK_OUT + VD_LIST_FAILED + exitLine("ffff"), {}},
        {"the logical-drive list unreadable: the count's line and its status", "one", TWO_MIRRORS,
         {{"status", LD_LIST, "3"}}, {"-CfgLdDel", "-L1", "-a0"}, 3,
         BLANK_OUT + "Failed to get VD count on adapter 0.\n" + INVALID_ARGUMENTS + exitLine("03"), {}},
        {"drive 1's information unreadable: drive 0 stays deleted, no snapshot is claimed for 1", "one", TWO_MIRRORS,
         {{"status", LD_INFO, "3", "--from", "2"}}, {"-CfgLdDel", "-LALL", "-Force", "-a0"}, 3,
         BLANK_OUT + deleted(0, 0) + vdDataUnreadable(0, 1) + INVALID_ARGUMENTS + exitLine("03"),
         {change(2, LD_DELETE, "0x00010000")}},
        {"the association list unreadable: the drive the cache may serve is not deleted", "one", CACHE_SERVES_0,
         {{"status", ASSOCIATIONS, "3"}}, {"-CfgLdDel", "-L0", "-a0"}, 3,
         BLANK_OUT + "Adapter #0: Failed to Perform get Tidewell association Operation.\n" + INVALID_ARGUMENTS +
             exitLine("03"),
         {}},
        // The walk goes on to the last drive; each delete's step that shows the change to the
        // operating system reads the list again and says that it failed.
        {"the logical-drive list failing from its second read: every drive is deleted", "one", TWO_MIRRORS,
         {{"status", LD_LIST, "3", "--from", "2"}}, {"-CfgLdDel", "-LALL", "-a0"}, 0,
         BLANK_OUT + deleted(0, 0) + "Failed while adding the configuration to OS.\n" + deleted(0, 1) +
             "Failed while adding the configuration to OS.\n" + exitLine("00"),
         {change(2, LD_DELETE, "0x00010000"), change(2, LD_DELETE, "0x00010001")}},
        {"a drive the configuration read does not hold keeps its message and result", "one", TWO_MIRRORS, {},
         {"-CfgLdDel", "-L5", "-a0"}, 0, BLANK_OUT + "Adapter 0: Virtual Drive 5 Does not Exist.\n" + exitLine("00"),
         {}},
    });
}

// Starting and stopping operations on every drive or a named one.
TEST_F(ReadFailureVdWalkE2e, Operations)
{
    expectRows({
        {"-LDCC -Start -LALL with the configuration unreadable: nothing started", "one", TWO_MIRRORS,
         {{"status", CFG_READ, "3"}}, {"-LDCC", "-Start", "-LALL", "-a0"}, 3,
         BLANK_OUT + VD_LIST_FAILED + INVALID_ARGUMENTS + exitLine("03"), {}},
        {"-LDBI -Enbl -L0 with the configuration's ioctl failing", "one", TWO_MIRRORS,
         {{"ioctl", "--opcode", CFG_READ}}, {"-LDBI", "-Enbl", "-L0", "-a0"}, 255,
         BLANK_OUT + VD_LIST_FAILED + exitLine("ffff"), {}},
        {"-LDInit -Start -full -LALL with the logical-drive list unreadable", "one", TWO_MIRRORS,
         {{"status", LD_LIST, "3"}}, {"-LDInit", "-Start", "-full", "-LALL", "-a0"}, 3,
         BLANK_OUT + "Adapter #0: Failed to Perform LD Operation.\n" + INVALID_ARGUMENTS + exitLine("03"), {}},
        {"drive 1's allowed operations unreadable: not called impossible, not started", "one", ALLOWED_WORDS,
         {{"status", ALLOWED_OPS, "3", "--from", "2"}}, {"-LDCC", "-Start", "-LALL", "-a0"}, 3,
         BLANK_OUT + ccStarted(0) + "Fail to Get VD Allowed operation. VD = 1 \n" + INVALID_ARGUMENTS + exitLine("03"),
         {change(2, CC_START, "0x00010000")}},
        {"drive 0's progress unreadable: the abort walk goes on and ends with the read's status", "one", CHECKING_0,
         {{"status", LD_PROGRESS, "3", "--once"}}, {"-LDCC", "-Stop", "-LALL", "-a0"}, 3,
         BLANK_OUT + " Failed to get progress data for VD 0. Failed.\n" + "Check Consistency on VD #1 is not in progress.\n" +
             INVALID_ARGUMENTS + exitLine("03"),
         {}},
    });
}

// The SSD cache: its drives, the configuration and its association list.
TEST_F(ReadFailureVdWalkE2e, SsdCache)
{
    expectRows({
        {"the drive list unreadable: the drive is not called missing, no cache is made", "one", NO_CACHE_YET,
         {{"status", PD_LIST, "3"}}, {"-CfgTidewellAdd", "-r0", "-Physdrv[252:6,252:7]", "-a0"}, 3,
         BLANK_OUT + driveUnreadable(0, 6) + INVALID_ARGUMENTS + exitLine("03"), {}},
        {"the configuration unreadable: no claim that there is no SSD cache", "one", CACHE_SERVES_0,
         {{"status", CFG_READ, "3"}}, {"-Tidewell", "-assign", "-L1", "-a0"}, 3,
         BLANK_OUT + VD_LIST_FAILED + INVALID_ARGUMENTS + exitLine("03"), {}},
    });
}

// The progress displays: of virtual drives, and of drives (a display of the drives' commands).
TEST_F(ReadFailureVdWalkE2e, ProgressDisplays)
{
    expectRows({
        {"virtual drives with the configuration unreadable: the line, not a silent success", "one", CHECKING_0,
         {{"status", CFG_READ, "3"}}, {"-LDCC", "-ProgDsply", "-LALL", "-a0"}, 3,
         BLANK_OUT + VD_LIST_FAILED + INVALID_ARGUMENTS + exitLine("03"), {}},
        {"a drive with the drive list unreadable: the line, not a silent success", "one", nullptr,
         {{"status", PD_LIST, "3"}}, {"-PDRbld", "-ProgDsply", "-PhysDrv[252:0]", "-a0"}, 3,
         BLANK_OUT + driveUnreadable(0, 0) + INVALID_ARGUMENTS + exitLine("03"), {}},
    });
}

// Two controllers, the second one's read failing: adapter 0's work stays, adapter 1 says which
// read failed, and the run ends with its status.
TEST_F(ReadFailureVdWalkE2e, SecondAdapter)
{
    expectRows({
        {"-LDCC -Start -LALL -aALL, the second configuration unreadable", "two", nullptr,
         {{"status", CFG_READ, "3", "--host", "3"}}, {"-LDCC", "-Start", "-LALL", "-aALL"}, 3,
         BLANK_OUT + ccStarted(0) + VD_LIST_FAILED + INVALID_ARGUMENTS + exitLine("03"),
         {change(2, CC_START, "0x00010000")}},
        {"-LDCC -Start -LALL -aALL, the second drive list unreadable: not needed, both started", "two", nullptr,
         {{"status", PD_LIST, "3", "--host", "3"}}, {"-LDCC", "-Start", "-LALL", "-aALL"}, 0,
         BLANK_OUT + ccStarted(0) + ccStarted(0) + exitLine("00"),
         {change(2, CC_START, "0x00010000"), change(3, CC_START, "0x00010000")}},
        {"-CfgLdDel -L0 -a0,1, the second configuration unreadable", "two", nullptr,
         {{"status", CFG_READ, "3", "--host", "3"}}, {"-CfgLdDel", "-L0", "-a0,1"}, 3,
         TWO_ADAPTERS + deleted(0, 0) + VD_LIST_FAILED + INVALID_ARGUMENTS + exitLine("03"),
         {change(2, LD_DELETE, "0x00010000")}},
    });
}
