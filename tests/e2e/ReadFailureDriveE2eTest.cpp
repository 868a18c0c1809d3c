// The drive commands when a read they depend on fails, through the real binary: the drive list
// (0x02010000), a drive's information (0x02020000), the configuration (0x04010000) or a virtual
// drive's allowed-operations word (0x030b0000), each failing always, from a later send or in its
// ioctl. A read that failed is never a drive "not found", a drive "not in appropriate state", a
// drive outside every disk group, an empty drive block or a refusal: the command prints the line
// naming the read, sends nothing more that acts on a drive, and ends with the read's status
// (0xffff, exit status 255, for a failed ioctl). A walk keeps what it did before the failure. A
// drive missing from a drive list that WAS read is still "not found".
//
// Each row gives the console text between the blank-out line and the exit line, the exit code,
// and the commands of the command's own that reached the controller: those that act on a drive
// or virtual drive, and the reads that follow only a drive found (the key id).
#include "ReadFailureE2e.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

const Lines OWN_COMMANDS = {
    "0x02030100",   // a drive's state
    "0x02040100",   // rebuild start
    "0x02050100",   // clear start
    "0x02070100",   // locate start
    "0x02080200",   // replace missing
    "0x02090100",   // prepare for removal
    "0x020b0100",   // copyback start
    "0x020f0100",   // a drive's secure erase start
    "0x03130100",   // a virtual drive's secure erase start
    "0x03130200",   // a virtual drive's secure erase stop
    "0x01130200",   // drive firmware download prepare
    "0x01150301",   // a drive's key id
};

using e2ecase::sent;

// Virtual drive 1 of the erase host with its secure erase running.
void eraseRunningOnVd1(nlohmann::json& controller)
{
    for (nlohmann::json& ld : controller["lds"])
        if (ld["targetId"] == 1)
            ld["progress"] = nlohmann::json::array({{{"operation", "secureErase"}, {"progress", 1000}}});
}

struct Case {
    const char* what;
    const char* host;   // a preset, or a description of tests/e2e/data ending in .json
    Lines fault;        // the arguments of "quillsim fault HOST ..."; none when empty
    Lines args;
    const char* exitCode;
    std::string out;
    Lines commands;
    std::function<void(nlohmann::json&)> edit = nullptr;   // of a description's controller
};

class ReadFailureDriveE2e : public ReadFailureE2e {
protected:
    void expectRuns(const std::vector<Case>& cases)
    {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            const std::string dir = hostNamed(c.host, c.edit, c.fault);
            const std::string work = makeTempDir("quilldrive");   // removed after the test (run records it)
            std::ofstream(work + "/fw.bin", std::ios::binary) << std::string(70000, '\x5a');
            const RunResult r = run(dir, c.args, work);
            const std::string code = c.exitCode;
            EXPECT_EQ(r.exitCode, code == "ffff" ? 255 : std::stoi(code, nullptr, 16));
            EXPECT_EQ(r.out, BLANK_OUT + c.out + exitLine(c.exitCode));
            // The log's commands of OWN_COMMANDS, in the order sent.
            EXPECT_EQ(loggedWithOpcodes(dir, OWN_COMMANDS), c.commands);
        }
    }
};

TEST_F(ReadFailureDriveE2e, AFailedReadIsNeitherAbsenceNorARefusal)
{
    const Lines listFails = {"status", "0x02010000", "3"};
    const Lines infoFails = {"status", "0x02020000", "3"};
    expectRuns({
        {"a display of a drive whose information cannot be read", "configs", infoFails,
         {"-pdInfo", "-PhysDrv[252:0]", "-a0"}, "03", driveUnreadable(0, 0) + INVALID_ARGUMENTS, {}},
        {"a drive's place: the configuration", "configs", {"status", "0x04010000", "3"},
         {"-pdInfo", "-PhysDrv[252:0]", "-a0"}, "03", "Failed to get Disk Group list\n" + INVALID_ARGUMENTS, {}},
        {"the drive list display: no empty block for a drive that cannot be read", "configs", infoFails,
         {"-PDList", "-a0"}, "03", "Adapter #0\n\n" + PD_INFO_FAILED + INVALID_ARGUMENTS, {}},
        {"the drive list's ioctl fails", "configs", {"ioctl", "--opcode", "0x02010000"},
         {"-PdLocate", "-start", "-PhysDrv[252:2]", "-a0"}, "ffff", driveUnreadable(0, 2), {}},
        {"a state change keeps the drive changed before the one that cannot be read", "configs",
         {"status", "0x02020000", "3", "--from", "4"}, {"-PDMakeJBOD", "-PhysDrv[252:2,252:3]", "-a0"}, "03",
         "Adapter: 0: EnclId-252 SlotId-2 state changed to JBOD.\n" + driveUnreadable(0, 3) + INVALID_ARGUMENTS,
         {sent(2, "0x02030100")}},
        {"the drive list from its second send: removal", "configs", {"status", "0x02010000", "3", "--from", "2"},
         {"-PdPrpRmv", "-PhysDrv[252:2]", "-a0"}, "03", driveUnreadable(0, 2) + INVALID_ARGUMENTS, {}},
        {"a copyback's destination cannot be read", "configs", {"status", "0x02020000", "3", "--from", "3"},
         {"-PDCpyBk", "-Start", "-PhysDrv[252:0,252:2]", "-a0"}, "03", driveUnreadable(0, 2) + INVALID_ARGUMENTS, {}},
        {"drive firmware: no drive passed over as not found", "configs", listFails,
         {"-PdFwDownload", "-PhysDrv[252:4]", "-f", "fw.bin", "-a0"}, "03", driveUnreadable(0, 4) + INVALID_ARGUMENTS,
         {}},
        {"a drive's key id", "security-host.json", listFails, {"-GetKeyID", "-PhysDrv[252:1]", "-a0"}, "03",
         driveUnreadable(0, 1) + INVALID_ARGUMENTS, {}},
        {"an unread state is no wrong state for a secure erase", "configs", infoFails,
         {"-SecureErase", "-Start", "Simple", "-PhysDrv[252:4]", "-a0"}, "03",
         driveUnreadable(0, 4) + INVALID_ARGUMENTS, {}},
        {"\"?\" resolves to the enclosure of the list when no drive can be read", "configs", infoFails,
         {"-PDOffline", "-PhysDrv[?:1]", "-a0"}, "03", driveUnreadable(0, 1) + INVALID_ARGUMENTS, {}},
        {"two controllers: the second one's drive list fails", "two", {"status", "0x02010000", "3", "--host", "3"},
         {"-PDOffline", "-PhysDrv[252:1]", "-aALL"}, "03",
         "Adapter: 0: EnclId-252 SlotId-1 state changed to OffLine.\n" + driveUnreadable(1, 1) + INVALID_ARGUMENTS,
         {sent(2, "0x02030100")}},
        {"a drive absent from a drive list that was read is still not found", "configs", {},
         {"-PDOffline", "-PhysDrv[252:7]", "-a0"}, "01",
         "Adapter 0: Device at Enclosure - 252, Slot - 7 is not found.\n", {}},
    });
}

TEST_F(ReadFailureDriveE2e, TheCommandsOwnReadsOfTheFirmware)
{
    const std::string allowedUnreadable = "Adapter #0: Failed to Perform get allowed operations Operation.\n";
    expectRuns({
        {"missing drives: the configuration", "configs", {"status", "0x04010000", "3"}, {"-PdGetMissing", "-a0"}, "03",
         "Adapter #0: Failed to Perform read configuration Operation.\n" + INVALID_ARGUMENTS, {}},
        {"replace missing: the drive list", "configs", {"status", "0x02010000", "3"},
         {"-PdReplaceMissing", "-PhysDrv[252:2]", "-Array0", "-row0", "-a0"}, "03",
         "Adapter #0: Failed to Perform read PD list Operation.\n" + INVALID_ARGUMENTS, {}},
        {"a virtual drive's erase: its allowed operations", "erase-host.json", {"status", "0x030b0000", "3"},
         {"-SecureErase", "-Start", "Simple", "-L1", "-a0"}, "03", allowedUnreadable + INVALID_ARGUMENTS, {}},
        {"every virtual drive: the one started before stays started", "erase-host.json",
         {"status", "0x030b0000", "3", "--from", "2"}, {"-SecureErase", "-Start", "Simple", "-LALL", "-a0"}, "03",
         "Adapter 0: Secure Erase is started on Virtual Drive 0.\n" + allowedUnreadable + INVALID_ARGUMENTS,
         {sent(2, "0x03130100")}},
        {"a stop: its allowed operations", "erase-host.json", {"ioctl", "--opcode", "0x030b0000"},
         {"-SecureErase", "-Stop", "-L1", "-a0"}, "ffff", allowedUnreadable, {}, eraseRunningOnVd1},
    });
}

}  // namespace
