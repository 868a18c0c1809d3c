// The system summary ("-ShowSummary") and the PCI location display ("-AdpGetPciInfo") through
// the real binary and simulated hosts: console, exit code, the summary file, and the firmware
// commands each controller received.
#include "FirmwareCaseE2e.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include <unistd.h>

namespace {

using namespace e2ecase;

class SummaryAndPciE2e : public FirmwareCaseE2e {};

std::string pciBlock(int adapter, const char* bus, const char* device, const char* function)
{
    return "PCI information for Controller " + std::to_string(adapter) + "\n--------------------------------\n" +
           "Bus Number      : " + bus + "\nDevice Number   : " + device + "\nFunction Number : " + function + "\n\n";
}

}  // namespace

// The location comes from discovery: no firmware command beyond the dispatcher's own.
TEST_F(SummaryAndPciE2e, PciLocation)
{
    const nlohmann::json location = {{"pci", {{"bus", 0x1a}, {"device", 0x1f}, {"function", 7}}}};
    expectRuns({
        {"hexadecimal without prefix", "one", location, {}, {"-AdpGetPciInfo", "-a0"}, 0,
         BLANK_OUT + pciBlock(0, "1a", "1f", "7") + exitLine("00"), Lines{sent(2, INFO)} + action(2, false, {}), {}},
        {"-aALL: one block per controller", "two", {}, {}, {"-AdpGetPciInfo", "-aALL"}, 0,
         BLANK_OUT + pciBlock(0, "3", "0", "0") + pciBlock(1, "4", "0", "0") + exitLine("00"),
         Lines{sent(2, INFO), sent(3, INFO)} + action(2, false, {}) + action(3, false, {}), {}},
    }, {});
}

namespace {

const char* const MFC_DEFAULTS = "0x010e0201";
const char* const DRIVER_INFO = "0xf0010200";
const char* const BBU_STATUS = "0x05010000";
const char* const BBU_DESIGN = "0x05030000";
const char* const CONNECTORS = "0x07030000";
const char* const PD_PROGRESS = "0x02060000";
const char* const LD_INFO = "0x03020000";

// A controller with an enclosure (its own entry among the drives), two array members in it, a
// hot spare attached directly that is being cleared, and a RAID 50 logical drive running a
// check and a reconstruction.
const nlohmann::json CONTROLLER = nlohmann::json::parse(R"({
  "mfcDefaults": {"sasAddress": "0x5a0b0c0d00000000"},
  "enclosures": [{"deviceId": 252, "slots": 12}],
  "drives": [
    {"deviceId": 252, "type": 13, "enclosureId": 252, "vendor": "QUILL", "product": "QSES-12"},
    {"deviceId": 8, "enclosureId": 252, "slot": 0, "state": "0x18", "vendor": "QV", "product": "QD1000SAS"},
    {"deviceId": 9, "enclosureId": 252, "slot": 1, "state": "0x18", "media": "SSD", "interface": "SATA",
     "security": 1},
    {"deviceId": 10, "slot": 2, "state": "0x2", "progress": [{"operation": "clear"}]}
  ],
  "lds": [{"targetId": 0, "name": "data", "raidLevel": 5, "spanDepth": 3, "sizeBlocks": 1952448512,
           "drives": [8, 9], "spans": [{"array": 0}],
           "progress": [{"operation": "consistencyCheck"}, {"operation": "reconstruction"}]}],
  "arrays": [{"ref": 0, "drives": [8, 9]}]
})");

const std::string SYSTEM =
    "System\n\tOperating System:  Linux version 3.10.0-quill \n\tDriver Version: 06.803.01.00\n";
const std::string CONTROLLER_LINES =
    "Hardware\n        Controller\n                 ProductName       : QuillRAID SAS 4080-8i(Bus 3, Dev 0)\n"
    "                 SAS Address       : 5a0b0c0d00000000\n                 FW Package Version: 4.80.0-0123\n"
    "                 Status            : Optimal";
const std::string ENCLOSURE =
    "\n        Enclosure\n                 Product Id        : QSES-12         \n"
    "                 Type              : SES\n                 Status            : OK\n\n";

std::string driveBlock(const std::string& connector, const std::string& vendor, const std::string& state,
                       const std::string& type, const std::string& operation)
{
    return "                Connector          : " + connector + "                Vendor Id          : " + vendor +
           "\n                Product Id         : QD1000SAS       \n                State              : " + state +
           "\n                Disk Type          : " + type + "\n                Capacity           : 931.0 GB\n"
           "                Power State        : Active\n" + operation + "\n";
}

const std::string SCREEN_REPORT =
    SYSTEM + "\tCLI Version: 1.02.00\n\n" + CONTROLLER_LINES +
    "\n        BBU\n                 BBU Type          : QBU-Li100\n                 Status            : Healthy" +
    ENCLOSURE + "        PD \n" +
    driveBlock("<Unknown><Encl Pos 0 >: Slot 0 \n", "QV      ", "Online", "SAS,Hard Disk Device", "") +
    driveBlock("<Unknown><Encl Pos 0 >: Slot 1 \n", "QUILLDSK", "Online", "SATA,FDE,Solid State Device", "") +
    driveBlock("<Unknown>: Slot 2 \n", "QUILLDSK", "Dedicated HotSpare", "SAS,Hard Disk Device",
               "                Operation In Progress : Clear\n") +
    "Storage\n\n       Virtual Drives\n                Virtual drive      : Target Id 0 ,VD name data\n"
    "                Size               : 931.0 GB\n                State              : Optimal\n"
    "                Operation In Progress : Consistency CheckReconstruction\n"
    "                RAID Level         : 50 \n\n";

const std::string FILE_REPORT =
    SYSTEM + "\tCLI Version: 1.02.00\n\n" + CONTROLLER_LINES +
    "\n        BBU\n                 BBU Type          : QBU-Li100\n                 Status            : Healthy\n" +
    ENCLOSURE + "        PD \n" +
    driveBlock("<Unknown><Encl Pos 0>: Slot 0\n", "QV      ", "Online", "SAS,Hard Disk Device", "") +
    driveBlock("<Unknown><Encl Pos 0>: Slot 1\n", "QUILLDSK", "Online", "SATA,FDE,Solid State Device", "") +
    driveBlock("<Unknown> : Slot 2\n", "QUILLDSK", "Dedicated HotSpare", "SAS,Hard Disk Device",
               "                Operation In Progress : Clear\n") +
    "Storage\n\n       Virtual Drives\n                Virtual drive      : Target Id 0,VD name data\n"
    "                Size               : 931.0 GB\n                State              : Optimal\n"
    "                Operation In Progress : Consistency Check\nReconstruction\n"
    "                RAID Level         : 50\n\n";

// The summary's own commands on adapter 0 after the dispatcher's (the model's list and drive
// reads are left out of the comparison).
Lines summaryCommands(const Lines& own)
{
    return Lines{sent(2, INFO)} + action(2, false, Lines{sent(2, INFO), sent(2, DRIVER_INFO), sent(2, MFC_DEFAULTS)} + own);
}

const Lines BATTERY_READS = {sent(2, BBU_STATUS), sent(2, BBU_DESIGN)};

}  // namespace

TEST_F(SummaryAndPciE2e, SummaryOnTheScreen)
{
    expectRuns({
        {"the whole report", "one", CONTROLLER, {}, {"-ShowSummary", "-a0"}, 0,
         BLANK_OUT + SCREEN_REPORT + exitLine("00"),
         // Per drive its progress, and the connector table for the one attached directly; then
         // the logical drive's information.
         summaryCommands(BATTERY_READS + Lines{sent(2, PD_PROGRESS), sent(2, PD_PROGRESS), sent(2, CONNECTORS),
                                               sent(2, PD_PROGRESS), sent(2, LD_INFO)}),
         {}},
        {"the information read fails", "one", {}, {{"status", INFO, "0x2d", "--from", "3"}}, {"-ShowSummary", "-a0"},
         0x2d,
         BLANK_OUT + SYSTEM + "\tCLI Version: 1.02.00\nAdapter #0: Failed to Perform AdpAll information Operation.\n" +
             "\nFW error description: \n The requested operation could not be completed as device is busy or "
             "unexpected error occurred.  \n" + exitLine("2d"),
         Lines{sent(2, INFO)} + action(2, false, {sent(2, INFO, "0x2d")}), {}},
    }, {});
}

// With -f the report goes to the file; the screen keeps only the newlines of the drive and
// virtual-drive headings and of the RAID level.
TEST_F(SummaryAndPciE2e, SummaryToAFile)
{
    Case run{"file", "one", CONTROLLER, {}, {"-ShowSummary", "-f", "sum.txt", "-a0"}, 0, "", {}, {}};
    std::string dir;
    RunResult r = runCase(run, &dir);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, BLANK_OUT + "\n\n\n" + exitLine("00"));
    EXPECT_EQ(r.files["sum.txt"], FILE_REPORT);
    EXPECT_EQ(r.files.count("sum.txt.tmp"), 0u);
}

const char* const ENCLOSURE_LIST = "0x09010000";
const std::string BUSY_DESCRIPTION =
    "\nFW error description: \n The requested operation could not be completed as device is busy or "
    "unexpected error occurred.  \n";

// A failure after the file was opened ends the command with the file holding the parts written
// before it; a file that cannot be opened ends the command first.
TEST_F(SummaryAndPciE2e, SummaryFileKeepsWhatWasWrittenBeforeAFailure)
{
    struct Row {
        Case run;
        std::string shown;
        std::string file;
    } rows[] = {
        // The enclosure list is read with the other records, before the controller part.
        {{"the enclosure list cannot be read", "one", CONTROLLER, {{"status", ENCLOSURE_LIST, "0x2d"}},
          {"-ShowSummary", "-f", "sum.txt", "-a0"}, 0, "", {}, {}},
         "Failed to get Enclosure List...\n" + BUSY_DESCRIPTION,
         SYSTEM + "\tCLI Version: 1.02.00\n\n"},
        // The connector table is read for the drive attached directly, the third one.
        {{"the connector table cannot be read", "one", CONTROLLER, {{"status", CONNECTORS, "0x2d"}},
          {"-ShowSummary", "-f", "sum.txt", "-a0"}, 0, "", {}, {}},
         "\n" + BUSY_DESCRIPTION,
         SYSTEM + "\tCLI Version: 1.02.00\n\n" + CONTROLLER_LINES +
             "\n        BBU\n                 BBU Type          : QBU-Li100\n"
             "                 Status            : Healthy\n" +
             ENCLOSURE + "        PD \n" +
             driveBlock("<Unknown><Encl Pos 0>: Slot 0\n", "QV      ", "Online", "SAS,Hard Disk Device", "") +
             driveBlock("<Unknown><Encl Pos 0>: Slot 1\n", "QUILLDSK", "Online", "SATA,FDE,Solid State Device", "") +
             "                Connector          : "},
    };
    for (Row& row : rows) {
        SCOPED_TRACE(row.run.what);
        std::string dir;
        RunResult r = runCase(row.run, &dir);
        EXPECT_EQ(r.exitCode, 0x2d);
        EXPECT_EQ(r.out, BLANK_OUT + row.shown + exitLine("2d"));
        EXPECT_EQ(r.files["sum.txt"], row.file);
        EXPECT_EQ(r.files.count("sum.txt.tmp"), 0u);
    }

    Case unopenable{"no such folder", "one", {}, {}, {"-ShowSummary", "-f", "no/such/dir/sum.txt", "-a0"}, 0, "", {}, {}};
    std::string dir;
    RunResult r = runCase(unopenable, &dir);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, BLANK_OUT + "Failed to open the file\n" + exitLine("01"));
}

// The summary runs in a folder that holds the file already: a file of that name is replaced, by
// the whole report or by what was written before a failure; a file that cannot take the report
// (a full device) fails the command.
TEST_F(SummaryAndPciE2e, SummaryReplacesAnEarlierFile)
{
    struct Row {
        const char* what;
        std::vector<Lines> faults;
        bool fullDevice;
        int exitCode;
        std::string out;
        std::string file;
    } rows[] = {
        {"a whole report", {}, false, 0, BLANK_OUT + "\n\n\n" + exitLine("00"), FILE_REPORT},
        {"the enclosure list cannot be read", {{"status", ENCLOSURE_LIST, "0x2d"}}, false, 0x2d,
         BLANK_OUT + "Failed to get Enclosure List...\n" + BUSY_DESCRIPTION + exitLine("2d"),
         SYSTEM + "\tCLI Version: 1.02.00\n\n"},
        {"the file is a full device", {}, true, 1, BLANK_OUT + "\n\n\n\n File write failed \n" + exitLine("01"), ""},
        // The host's file system refuses the report: no space at a write, an I/O error at the close.
        {"a write finds no space", {{"file", "sum.txt", "write", "no-space"}}, false, 1,
         BLANK_OUT + "\n\n\n\n File write failed \n" + exitLine("01"), ""},
        {"the close fails", {{"file", "sum.txt", "close", "io"}}, false, 1,
         BLANK_OUT + "\n\n\n\n File write failed \n" + exitLine("01"), ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string work = makeTempDir("quillwork");
        cleanup.push_back(work);
        if (row.fullDevice)
            ASSERT_EQ(symlink("/dev/full", (work + "/sum.txt").c_str()), 0);
        else
            std::ofstream(work + "/sum.txt") << "earlier report, longer than the part written before a failure\n"
                                             << std::string(4096, 'x') << "\n";
        Case run{row.what, "one", CONTROLLER, row.faults, {"-ShowSummary", "-f", "sum.txt", "-a0"}, 0, "", {}, {}};
        const std::string dir = host(run);
        RunSpec spec;
        spec.args = run.args;
        spec.env = {{"QUILLCLI_SIM_HOST", dir}};
        spec.workDir = work;
        RunResult r = runProgram(spec);
        EXPECT_EQ(r.exitCode, row.exitCode);
        EXPECT_EQ(r.out, row.out);
        if (!row.fullDevice && row.exitCode != 1) {
            EXPECT_EQ(readFile(work + "/sum.txt"), row.file);
        }
        EXPECT_EQ(r.files.count("sum.txt.tmp"), 0u);
    }
}

// What turns the controller's status, and the other lines that depend on one record, each
// checked by the part of the screen report it changes.
TEST_F(SummaryAndPciE2e, SummaryStatusAndNames)
{
    auto with = [](const nlohmann::json& change) {
        nlohmann::json c = CONTROLLER;
        c.merge_patch(change);
        return c;
    };
    auto drives = [](nlohmann::json change) {
        nlohmann::json d = CONTROLLER["drives"];
        d[1].merge_patch(change);
        return nlohmann::json{{"drives", d}};
    };
    auto ld = [](nlohmann::json change) {
        nlohmann::json l = CONTROLLER["lds"];
        l[0].merge_patch(change);
        l[0].erase("progress");
        return nlohmann::json{{"lds", l}};
    };
    const std::string attention = "                 Status            : Need Attention\n        BBU";
    struct Row {
        const char* what;
        nlohmann::json edit;
        std::vector<Lines> faults;
        std::string expected;
    };
    const std::vector<Row> rows = {
        {"a failed drive", with(drives({{"state", "0x11"}})), {}, attention},
        {"a faulty enclosure", with({{"enclosures", {{{"deviceId", 252}, {"status", 1}}}}}), {},
         attention + "\n                 BBU Type          : QBU-Li100\n                 Status            : Healthy\n"
                     "        Enclosure\n                 Product Id        : QSES-12         \n"
                     "                 Type              : SES\n                 Status            : Faulty\n"},
        {"a degraded logical drive", with(ld({{"state", 2}})), {}, attention},
        {"one uncorrectable memory error", with({{"info", {{"uncorrectableErrors", 1}}}}), {}, attention},
        {"a battery bit without a name: no status text", with({{"battery", {{"status", {{"firmwareStatus", "0x2000"}}}}}}),
         {}, attention + "\n                 BBU Type          : QBU-Li100\n                 Status            : \n"},
        {"the first named battery bit", with({{"battery", {{"status", {{"firmwareStatus", "0x0220"}}}}}}), {},
         "                 Status            : Learn Cycle Requested\n"},
        {"no battery hardware: no battery part, still optimal", CONTROLLER, {{"status", BBU_STATUS, "0x22"}},
         "                 Status            : Optimal\n        Enclosure\n"},
        {"enclosure type 7", with({{"enclosures", {{{"deviceId", 252}, {"type", 7}}}}}), {},
         "                 Type              : Unknown\n"},
        {"RAID 5 of one span", with(ld({{"spanDepth", 1}})), {}, "                RAID Level         : 5 \n"},
        {"level 17 spanned", with(ld({{"raidLevel", 17}, {"spanDepth", 2}})), {},
         "                RAID Level         : 10 \n"},
        {"an SSD cache", with(ld({{"sscCache", 1}})), {}, "                RAID Level         : Tidewell \n\n"},
        {"a foreign drive", with(drives({{"configFlags", 16}})), {}, "                State              : Foreign\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Case run{row.what, "one", row.edit, row.faults, {"-ShowSummary", "-a0"}, 0, "", {}, {}};
        std::string dir;
        RunResult r = runCase(run, &dir);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_NE(r.out.find(row.expected), std::string::npos) << r.out;
    }
}

// The host's version files: without them their lines are left out.
TEST_F(SummaryAndPciE2e, SummaryWithoutHostVersionFiles)
{
    Case run{"no files", "one", CONTROLLER, {}, {"-ShowSummary", "-a0"}, 0, "", {}, {}};
    run.hostEdit = {{"procVersion", ""}, {"driverVersionFile", ""}};
    std::string dir;
    RunResult r = runCase(run, &dir);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.find(BLANK_OUT + "System\n\tCLI Version: 1.02.00\n\nHardware\n"), 0u);

    run.hostEdit = {{"procVersion", "Linux version 5.4 no parenthesis\n"}};
    r = runCase(run, &dir);
    EXPECT_NE(r.out.find("System\n\tOperating System:  Linux version 5.4 no parenthesis\n\n\tDriver Version"),
              std::string::npos);
}
