// The commands on named virtual drives, and the controller commands that name virtual drives,
// when a read they depend on fails: the configuration (0x04010000), the drive list (0x02010000),
// a logical drive's information (0x03020000) or its allowed operations (0x030b0000). Unknown is
// not absent: each run prints the one line that names the read, sends nothing that changes
// the controller after it, and ends with the read's status (a failed ioctl: 0xFFFF, exit status
// 255). A walk keeps what it did before the failure. Absence seen in a read that succeeded keeps
// its message and result.
//
// What the rows rely on:
// - The host is tests/e2e/data/drives-host.json: virtual drives 0 (RAID 1 on slots 0 and 1, with
//   the dedicated spare in slot 5) and 2 (RAID 5 on slots 2 to 4), an unconfigured disk in slot
//   6; a row turns on the controller features its command checks before any drive.
// - The RAID manager's refresh reads the configuration twice (its first block, then the whole),
//   so a configuration read that fails from its second send fails the refresh as well.
// - The commands logged are compared without the model's reads and the controller check's
//   reads: what is left is what the command itself sent.
#include "ReadFailureE2e.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace {

const std::string LD_HEADER = "\nAdapter 0 -- Virtual Drive Information:\n";

// Faults, as the arguments of "quillsim fault HOST ...".
const Lines CONFIG_FAILS = {"status", "0x04010000", "3"};

// One firmware command of the host's log, as loggedFirmwareCommands gives it.
using e2ecase::sent;

// What the command sent itself: the log without the model's reads, the controller information
// and the OEM data.
Lines ownCommands(const std::string& hostDir)
{
    Lines own;
    for (const std::string& line : withoutModelReads(loggedFirmwareCommands(hostDir)))
        if (line.find(std::string(" opcode=") + e2ecase::INFO + " ") == std::string::npos &&
            line.find(std::string(" opcode=") + e2ecase::OEM + " ") == std::string::npos)
            own.push_back(line);
    return own;
}

struct Row {
    const char* what;
    const char* preset;                  // "" for the described host
    nlohmann::json edit;                 // changes to the described host's controller
    std::vector<Lines> faults;
    Lines args;
    std::string out;                     // after the blank-out line, without the exit line
    const char* exitCode;                // as the exit line shows it
    int status;                          // the process's exit status
    Lines commands;                      // ownCommands after the run
};

class ReadFailureVdE2e : public ReadFailureE2e {
protected:
    void expectRows(const std::vector<Row>& rows)
    {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.what);
            const std::string dir =
                *row.preset != '\0' ? hostNamed(row.preset, nullptr, row.faults) : host(row.edit, row.faults);
            RunResult r = run(dir, row.args);
            std::string line;
            for (const std::string& a : row.args)
                line += " " + a;
            // The scanner's line starts with one comma for each comma of the line.
            const std::string commas(static_cast<size_t>(std::count(line.begin(), line.end(), ',')), ',');
            EXPECT_EQ(r.out, commas + BLANK_OUT + row.out + exitLine(row.exitCode));
            EXPECT_EQ(r.exitCode, row.status);
            EXPECT_EQ(ownCommands(dir), row.commands);
        }
    }
};

} // namespace

TEST_F(ReadFailureVdE2e, AFailedReadEndsTheCommandWithItsLineAndStatus)
{
    const nlohmann::json none = nlohmann::json::object();
    const std::string mirrorShown = "Virtual Drive: 0 (Target Id: 0)\n" + MIRROR_BLOCK +
                                    "\n\nNumber of Dedicated Hot Spares: 1\n    0 : EnclId - 252 SlotId - 5 \n";
    expectRows({
        {"a display: the configuration cannot be read", "", none, {CONFIG_FAILS}, {"-LDInfo", "-L0,2", "-a0"},
         LD_HEADER + VD_LIST_FAILED + INVALID_ARGUMENTS, "03", 3, {}},
        {"a display walk: drive 0 is shown, drive 2's information cannot be read", "", none,
         {{"status", "0x03020000", "3", "--mailbox", "0=02"}}, {"-LDInfo", "-LALL", "-a0"},
         LD_HEADER + mirrorShown + vdDataUnreadable(0, 2) + INVALID_ARGUMENTS, "03", 3,
         {sent(2, "0x03020000"), sent(2, "0x03100200"), sent(2, "0x03020000", "0x03")}},
        {"the layout: the first drive's information cannot be read", "", none, {{"status", "0x03020000", "3"}},
         {"-LdPdInfo", "-a0"},
         "Adapter #0\n\nNumber of Virtual Disks: 2\n" + vdDataUnreadable(0, 0) + INVALID_ARGUMENTS, "03", 3,
         {sent(2, "0x03020000", "0x03")}},
        {"the layout: a member drive's information cannot be read, so no empty block is shown", "", none,
         {{"status", "0x02020000", "3"}}, {"-LdPdInfo", "-a0"},
         "Adapter #0\n\nNumber of Virtual Disks: 2\nVirtual Drive: 0 (Target Id: 0)\n" + MIRROR_BLOCK +
             "Number of Spans: 1\nSpan: 0 - Number of PDs: 2\n" + PD_INFO_FAILED + INVALID_ARGUMENTS,
         "03", 3, {sent(2, "0x03020000"), sent(2, "0x03100200")}},
        {"a property change: nothing is written", "", none, {CONFIG_FAILS}, {"-LDSetProp", "WT", "-L0", "-a0"},
         VD_LIST_FAILED + INVALID_ARGUMENTS, "03", 3, {}},
        {"a property shown: the configuration read's ioctl fails", "", none, {{"ioctl", "--opcode", "0x04010000"}},
         {"-LDGetProp", "-Cache", "-L2", "-a0"}, VD_LIST_FAILED, "ffff", 255, {}},
        {"the power policy: the configuration fails from its second read", "", {{"info", {{"ldFeatures", "0x30"}}}},
         {{"status", "0x04010000", "3", "--from", "2"}}, {"-LDSetPowerPolicy", "-None", "-L0", "-a0"},
         VD_LIST_FAILED + INVALID_ARGUMENTS, "03", 3, {sent(2, "0x010e0201")}},
        {"a reconstruction: the named drive is not taken for absent", "", none, {CONFIG_FAILS},
         {"-LDRecon", "-Start", "-r0", "-L0", "-a0"}, VD_LIST_FAILED + INVALID_ARGUMENTS, "03", 3, {}},
        {"a reconstruction adding a drive: the drive list cannot be read", "", none,
         {{"ioctl", "--opcode", "0x02010000"}},
         {"-LDRecon", "-Start", "-r5", "-Add", "-PhysDrv[252:6]", "-L2", "-a0"},
         driveUnreadable(0, 6), "ffff", 255, {}},
        {"joining mirrors: nothing is joined", "", {{"info", {{"ldFeatures", "0x40"}}}}, {CONFIG_FAILS},
         {"-LDJoinMirror", "-DataSrc", "0", "-L0,2", "-a0"}, VD_LIST_FAILED + INVALID_ARGUMENTS, "03", 3, {}},
        {"making drives secure: nothing is made secure", "", none, {CONFIG_FAILS}, {"-LDMakeSecure", "-L0,2", "-a0"},
         VD_LIST_FAILED + INVALID_ARGUMENTS, "03", 3, {}},
        {"expansion: allowed operations that cannot be read are not 'not possible'", "",
         {{"info", {{"storageFeatures", "0x10"}, {"reportingFeatures", "0x40"}}}}, {{"status", "0x030b0000", "3"}},
         {"-getLdExpansionInfo", "-L0", "-a0"}, vdDataUnreadable(0, 0) + INVALID_ARGUMENTS, "03", 3,
         {sent(2, "0x030b0000", "0x03")}},
        {"the boot drive: nothing is set", "", none, {CONFIG_FAILS}, {"-AdpBootDrive", "-Set", "-L0", "-a0"},
         VD_LIST_FAILED + INVALID_ARGUMENTS, "03", 3, {}},
        {"the check schedule's excluded drives: the schedule is not written", "", none, {CONFIG_FAILS},
         {"-AdpCcSched", "-ModeSeq", "-ExcludeLD", "-L0,2", "-a0"}, VD_LIST_FAILED + INVALID_ARGUMENTS, "03", 3,
         {sent(2, "0x01140200")}},
        {"a drive's key id: the drive list cannot be read", "",
         {{"info", {{"storageFeatures", "0x04"}, {"securityState", "0x40"}}}}, {{"status", "0x02010000", "3"}},
         {"-GetKeyID", "-PhysDrv[252:0]", "-a0"},
         driveUnreadable(0, 0) + INVALID_ARGUMENTS, "03", 3, {}},
        {"two adapters: adapter 0 is changed, adapter 1's configuration cannot be read", "two", none,
         {{"status", "0x04010000", "3", "--host", "3"}}, {"-LDSetProp", "WT", "-L0", "-aALL"},
         "Set Write Policy to WriteThrough on Adapter 0, VD 0 (target id: 0) success\n" + VD_LIST_FAILED +
             INVALID_ARGUMENTS,
         "03", 3, {sent(2, "0x03040000")}},
        {"absence in a configuration that was read keeps its message and result", "", none, {},
         {"-LDSetProp", "WT", "-L5", "-a0"}, "Adapter 0: Virtual Drive 5 Does not Exist.\n", "00", 0, {}},
    });
}
