// The configuration display, the virtual-drive layout, the drive counts, the virtual-drive
// properties, power-saving policy, mirror and bad-block commands through QuillCliSim, against
// hosts made from tests/e2e/data/drives-host.json: the console output, the exit code, the firmware
// commands the run sent and, for the changes, what a later command shows.
#include "DrivesHostTexts.h"
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string RULE = std::string(78, '=') + "\n";
const std::string SUMMARY = RULE +
                            "Adapter: 0\nProduct Name: QuillRAID SAS 4080-8i\nMemory: 1024MB\nBBU: Present\n"
                            "Serial No: QR408000101\n" +
                            RULE;

std::string spanText(int ref, int pds, int spares)
{
    return "Span Reference: 0x0" + std::to_string(ref) + "\nNumber of PDs: " + std::to_string(pds) +
           "\nNumber of VDs: 1\nNumber of dedicated Hotspares: " + std::to_string(spares) + "\n";
}

// The drive lists of the two arrays, as the configuration display numbers them.
std::string physicalDisks(std::initializer_list<int> slots)
{
    std::string text = "Physical Disk Information:\n";
    int k = 0;
    for (int slot : slots)
        text += "Physical Disk: " + std::to_string(k++) + "\n" + driveText(describedDrives()[slot]);
    return text;
}

std::string layoutDisks(std::initializer_list<int> slots)
{
    std::string text;
    int k = 0;
    for (int slot : slots)
        text += "\nPD: " + std::to_string(k++) + " Information\n" + driveText(describedDrives()[slot]);
    return text;
}

// The lines of the output that give its layout (titles and counts), without the element blocks.
std::string layoutLines(const std::string& out)
{
    static const char* const prefixes[] = {"Number of DISK", "DISK GROUP", "SPANNED", "TIDEWELL", "SPAN:",
                                           "Number of Spans", "Number of PDs", "Span:", "Virtual Drive:",
                                           "Virtual Drive Information", "Tidewell Virtual Drive", "Physical Disk",
                                           "PD:", "Number of Virtual", "Exit Code"};
    std::istringstream in(out);
    std::string line;
    std::string kept;
    while (std::getline(in, line))
        for (const char* prefix : prefixes)
            if (line.rfind(prefix, 0) == 0) {
                kept += line + "\n";
                break;
            }
    return kept;
}

// The raw lines of the host's command log with the opcode.
std::vector<std::string> rawLines(const std::string& hostDir, const std::string& opcode)
{
    std::istringstream in(readFile(hostDir + "/commands.log"));
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line))
        if (line.find("opcode=" + opcode + " ") != std::string::npos)
            lines.push_back(line.substr(line.find("opcode=")));
    return lines;
}

// A value of the host's state after the runs: the first controller's logical drive with the
// target id.
nlohmann::json ldState(const std::string& hostDir, int targetId)
{
    nlohmann::json state = nlohmann::json::parse(readFile(hostDir + "/state.json"));
    for (const nlohmann::json& ld : state["controllers"][0]["lds"])
        if (ld["targetId"] == targetId)
            return ld;
    return nlohmann::json();
}

struct Case {
    std::vector<std::string> args;
    std::string out;      // after the blank-out line, without the exit line
    const char* exitCode;
};

class LdViewsE2e : public DrivesHostE2e {
protected:
    // Runs the cases in order on one host.
    void expectCases(const std::string& hostDir, const std::vector<Case>& cases)
    {
        for (const Case& c : cases) {
            std::string line;
            for (const std::string& a : c.args)
                line += " " + a;
            SCOPED_TRACE(line);
            RunResult r = run(hostDir, c.args);
            // The scanner's line starts with one comma for each comma of the line.
            std::string commas(static_cast<size_t>(std::count(line.begin(), line.end(), ',')), ',');
            EXPECT_EQ(r.out, commas + BLANK_OUT + c.out + exitLine(c.exitCode));
            EXPECT_EQ(r.exitCode, std::stoi(c.exitCode, nullptr, 16));
        }
    }
};

} // namespace

TEST_F(LdViewsE2e, ConfigurationDisplayWalksDiskGroupsSpansAndDrives)
{
    std::string dir = host();
    RunResult r = run(dir, {"-CfgDsply", "-a0"});
    EXPECT_EQ(r.out, BLANK_OUT + SUMMARY + "Number of DISK GROUPS: 2\n\n" + "DISK GROUP: 0\nNumber of Spans: 1\nSPAN: 0\n" +
                         spanText(1, 3, 0) + "Virtual Drive Information:\nVirtual Drive: 2 (Target Id: 2)\n" +
                         PARITY_BLOCK + physicalDisks({2, 3, 4}) + "DISK GROUP: 1\nNumber of Spans: 1\nSPAN: 0\n" +
                         spanText(0, 2, 1) + "Virtual Drive Information:\nVirtual Drive: 0 (Target Id: 0)\n" +
                         MIRROR_BLOCK + physicalDisks({0, 1}) + exitLine("00"));
    EXPECT_EQ(r.exitCode, 0);
    std::vector<std::string> log = loggedFirmwareCommands(dir);
    // The controller check's read and its refresh's, the summary's and the display's refresh.
    EXPECT_EQ(sent(log, "0x01010000"), 4u);
    for (const std::string& line : log)
        EXPECT_NE(line.find("status=0x00"), std::string::npos) << line;
}

TEST_F(LdViewsE2e, ConfigurationDisplaysWithoutConfiguration)
{
    std::string dir = host(nlohmann::json::parse(R"({"lds": [], "arrays": [], "spares": []})"));
    expectCases(dir, {
                         {{"-CfgDsply", "-a0"}, SUMMARY + "Number of DISK GROUPS: 0\n\n", "00"},
                         {{"-CfgTidewellDsply", "-a0"}, SUMMARY, "00"},
                     });
}

TEST_F(LdViewsE2e, ConfigurationDisplayEndsWhenTheControllerCannotBeRead)
{
    // The third read of the controller information is the summary's.
    std::string dir = host(nlohmann::json::object(), {{"status", "0x01010000", "0x2d", "--from", "3"}});
    expectCases(dir, {{{"-CfgDsply", "-a0"},
                       "Adapter #0: Failed to Perform get/print controller properties Operation.\n", "01"}});
    EXPECT_EQ(sent(loggedFirmwareCommands(dir), "0x01010000"), 3u);
}

// A spanned disk group shows its group text once, then every span; an SSD-caching drive is titled
// with its own prefix and number 0 in the full display, and only its spans show in the SSD-cache
// display, where its drives are numbered across the display.
TEST_F(LdViewsE2e, ConfigurationDisplayOfSpannedAndSsdCachingDrives)
{
    std::string dir = host(nlohmann::json::parse(R"({
        "lds": [
          {"targetId": 1, "name": "spanned", "raidLevel": 1, "drivesPerSpan": 2, "spanDepth": 2,
           "drives": [8, 9, 10, 11], "spans": [{"array": 0}, {"array": 1}]},
          {"targetId": 5, "name": "cache", "sscCache": 1, "drives": [12], "spans": [{"array": 2}]}],
        "arrays": [{"ref": 0, "drives": [8, 9]}, {"ref": 1, "drives": [10, 11]}, {"ref": 2, "drives": [12]}],
        "spares": []})"));
    RunResult full = run(dir, {"-CfgDsply", "-a0"});
    EXPECT_EQ(layoutLines(full.out), "Number of DISK GROUPS: 2\n"
                                     "SPANNED DISK GROUP: 0\nNumber of Spans: 2\nSPAN: 0\nNumber of PDs: 2\n"
                                     "Virtual Drive Information:\nVirtual Drive: 1 (Target Id: 1)\n"
                                     "Physical Disk Information:\nPhysical Disk: 0\nPhysical Disk: 1\n"
                                     "SPAN: 1\nNumber of PDs: 2\n"
                                     "Virtual Drive Information:\nVirtual Drive: 1 (Target Id: 1)\n"
                                     "Physical Disk Information:\nPhysical Disk: 0\nPhysical Disk: 1\n"
                                     "TIDEWELL DISK GROUP: 0\n"
                                     "Tidewell Virtual Drive Information:\nTidewell Virtual Drive: 0 (Target Id: 5)\n"
                                     "Physical Disk Information:\nPhysical Disk: 0\n"
                                     "Exit Code: 0x00\n");
    RunResult ssd = run(dir, {"-CfgTidewellDsply", "-a0"});
    EXPECT_EQ(layoutLines(ssd.out), "SPANNED DISK GROUP: 0\nTIDEWELL DISK GROUP: 0\nNumber of Spans: 1\nSPAN: 0\n"
                                    "Number of PDs: 1\nVirtual Drive Information:\nVirtual Drive: 0 (Target Id: 5)\n"
                                    "Physical Disk Information:\nPhysical Disk: 0\nExit Code: 0x00\n");
    RunResult layout = run(dir, {"-LdPdInfo", "-a0"});
    EXPECT_EQ(layoutLines(layout.out), "Number of Virtual Disks: 2\nVirtual Drive: 1 (Target Id: 1)\n"
                                       "Number of Spans: 2\nSpan: 0 - Number of PDs: 2\nPD: 0 Information\n"
                                       "PD: 1 Information\nSpan: 1 - Number of PDs: 2\nPD: 0 Information\n"
                                       "PD: 1 Information\nTidewell Virtual Drive: 5 (Target Id: 5)\n"
                                       "Number of Spans: 1\nSpan: 0 - Number of PDs: 1\nPD: 0 Information\n"
                                       "Exit Code: 0x00\n");
}

TEST_F(LdViewsE2e, LayoutOfEveryVirtualDriveByTargetId)
{
    std::string dir = host();
    expectCases(dir, {{{"-LdPdInfo", "-a0"},
                       "Adapter #0\n\nNumber of Virtual Disks: 2\nVirtual Drive: 0 (Target Id: 0)\n" + MIRROR_BLOCK +
                           "Number of Spans: 1\nSpan: 0 - Number of PDs: 2\n" + layoutDisks({0, 1}) +
                           "Virtual Drive: 2 (Target Id: 2)\n" + PARITY_BLOCK +
                           "Number of Spans: 1\nSpan: 0 - Number of PDs: 3\n" + layoutDisks({2, 3, 4}),
                       "00"}});
    std::string empty = host(nlohmann::json::parse(R"({"lds": [], "arrays": [], "spares": []})"));
    expectCases(empty, {{{"-LdPdInfo", "-a0"}, "Adapter #0\n\nNumber of Virtual Disks: 0\n", "00"}});
    EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(empty)),
              (std::vector<std::string>{"host=2 opcode=0x01010000 status=0x00", "host=2 opcode=0x01010000 status=0x00",
                                        "host=2 opcode=0x010e8481 status=0x00",
                                        "host=2 opcode=0x01010000 status=0x00"}));
}

TEST_F(LdViewsE2e, DriveCountsAreTheExitCode)
{
    std::string dir = host();
    expectCases(dir, {
                         {{"-LDGetNum", "-a0"}, " Number of Virtual Drives Configured on Adapter 0: 2\n", "02"},
                         // The seven disks; the enclosure's own entry does not count.
                         {{"-PDGetNum", "-a0"}, " Number of Physical Drives on Adapter 0: 7\n", "07"},
                     });
    // The counts come from the model's reads alone.
    std::vector<std::string> log = withoutModelReads(loggedFirmwareCommands(dir));
    EXPECT_EQ(sent(log, "0x01010000"), 4u);
    EXPECT_EQ(log.size(), 6u);
}

TEST_F(LdViewsE2e, PropertiesShown)
{
    std::string dir = host();
    const std::string missing3 = "Adapter 0: Virtual Drive 3 Does not Exist.\n";
    expectCases(dir, {
        {{"-LDGetProp", "-Cache", "-Lall", "-a0"},
         "Adapter 0-VD 0(target id: 0): Cache Policy:WriteBack, ReadAhead, Direct, No Write Cache if bad BBU\n"
         "Adapter 0-VD 2(target id: 2): Cache Policy:WriteBack, ReadAhead, Direct, No Write Cache if bad BBU\n",
         "00"},
        {{"-LDGetProp", "-Access", "-L2", "-a0"},
         "Adapter 0-VD 2(target id: 2): Access Policy: Read/Write\nCurrent Access Policy: Read/Write\n\n", "00"},
        {{"-LDGetProp", "-DskCache", "-L0", "-a0"}, "Adapter 0-VD 0(target id: 0): Disk Write Cache : Disk's Default\n",
         "00"},
        {{"-LDGetProp", "-Name", "-L2,0", "-a0"},
         "Adapter 0-VD 2(target id: 2): Name: parity\nAdapter 0-VD 0(target id: 0): Name: mirror\n", "00"},
        {{"-LDGetProp", "-Consistency", "-L0", "-a0"}, "Virtual Drive:00(Target ID 00): Consistent.\n", "00"},
        {{"-LDGetProp", "-PSPolicy", "-L0", "-a0"}, "Adapter does not support Power savings on logical drives.\n", "01"},
        {{"-LDGetProp", "-DsblPI", "-L0", "-a0"}, "\nThis feature is not supported on Adapter\n", "01"},
        // A drive that is not configured is reported and does not change the result.
        {{"-LDGetProp", "-Cache", "-L3", "-a0"}, missing3, "00"},
        {{"-LDGetProp", "-Name", "-L3,2", "-a0"}, missing3 + "Adapter 0-VD 2(target id: 2): Name: parity\n", "00"},
    });
    std::string none = host(nlohmann::json::parse(R"({"lds": [], "arrays": [], "spares": []})"));
    expectCases(none, {{{"-LDGetProp", "-Cache", "-L0", "-a0"}, "No Logical drive configured.\n", "01"}});
}

TEST_F(LdViewsE2e, PowerSavingAndProtectionInformationShownWhereSupported)
{
    std::string dir = host(nlohmann::json::parse(R"({"info": {"ldFeatures": "0x10", "piFeatures": "0x01"},
        "lds": [{"targetId": 0, "name": "mirror", "raidLevel": 1, "drivesPerSpan": 2, "drives": [8, 9],
                 "spans": [{"array": 0}], "powerSavingPolicy": 6, "currentPowerSavingPolicy": 254, "piType": 3}],
        "arrays": [{"ref": 0, "drives": [8, 9]}], "spares": []})"));
    expectCases(dir, {
        // Without the mode "maximum without caching" the controller calls its level maximum.
        {{"-LDGetProp", "-PSPolicy", "-L0", "-a0"},
         "\nVirtual Drive:00(Target ID 00):  .\n\n\nDefault power saving policy : Maximum\n"
         "Current power saving policy : None\n\n",
         "00"},
        {{"-LDGetProp", "-DsblPI", "-L0", "-a0"}, "Virtual Drive:00(Target ID 00): .\nPI Enabled :  Yes,PI with type 3\n",
         "00"},
        {{"-LDSetProp", "-DsblPI", "-L0", "-a0"}, "Set PI Disabled on Adapter 0, VD 0 (target id: 0) success\n", "00"},
        {{"-LDGetProp", "-DsblPI", "-L0", "-a0"}, "Virtual Drive:00(Target ID 00): .\nPI Enabled :  No \n ", "00"},
    });
    EXPECT_EQ(rawLines(dir, "0x03140100").size(), 1u);
}

TEST_F(LdViewsE2e, PropertyChangesAreShownAfterwards)
{
    std::string dir = host();
    expectCases(dir, {
        {{"-LDSetProp", "-Name", "Data1", "-L0", "-a0"}, "Set name to Data1 on Adapter 0, VD 0 (target id: 0) success\n",
         "00"},
        {{"-LDSetProp", "-WT", "-Lall", "-a0"},
         "Set Write Policy to WriteThrough on Adapter 0, VD 0 (target id: 0) success\n"
         "Set Write Policy to WriteThrough on Adapter 0, VD 2 (target id: 2) success\n",
         "00"},
        {{"-LDSetProp", "ADRA", "-L2", "-a0"},
         "Set Read Policy to Adaptive ReadAhead on Adapter 0, VD 2 (target id: 2) success\n", "00"},
        {{"-LDSetProp", "CachedBadBBU", "-L2", "-a0"}, "Set Write Cache OK if bad BBU on Adapter 0, VD 2 (target id: 2) success\n",
         "00"},
        {{"-LDSetProp", "-Cached", "-L2", "-a0"}, "Set Cache Policy to Cached on Adapter 0, VD 2 (target id: 2) success\n",
         "00"},
        {{"-LDSetProp", "-RO", "-L0", "-a0"}, "Set Access Policy to Read Only on Adapter 0, VD 0 (target id: 0) success\n",
         "00"},
        {{"-LDSetProp", "-DisDskCache", "-L0", "-a0"},
         "Set Disk Cache Policy to Disabled on Adapter 0, VD 0 (target id: 0) success\n", "00"},
        {{"-LDSetProp", "-Inconsistent", "-L2", "-a0"},
         "Set target Inconsistent on Adapter 0, VD 2 (target id: 2) success\n", "00"},
        {{"-LDGetProp", "-Name", "-L0", "-a0"}, "Adapter 0-VD 0(target id: 0): Name: Data1\n", "00"},
        {{"-LDGetProp", "-Cache", "-Lall", "-a0"},
         "Adapter 0-VD 0(target id: 0): Cache Policy:WriteThrough, ReadAhead, Direct, No Write Cache if bad BBU\n"
         "Adapter 0-VD 2(target id: 2): Cache Policy:WriteThrough, ReadAdaptive, Cached, Write Cache OK if bad BBU\n",
         "00"},
        {{"-LDGetProp", "-Access", "-L0", "-a0"},
         "Adapter 0-VD 0(target id: 0): Access Policy: ReadOnly\nCurrent Access Policy: ReadOnly\n\n", "00"},
        {{"-LDGetProp", "-DskCache", "-L0", "-a0"}, "Adapter 0-VD 0(target id: 0): Disk Write Cache : Disabled\n",
         "00"},
        {{"-LDGetProp", "-Consistency", "-L2", "-a0"}, "Virtual Drive:02(Target ID 02): Inconsistent.\n", "00"},
    });
    // Each change of the properties is one write; the consistency mark is its own command.
    EXPECT_EQ(rawLines(dir, "0x03040000").size(), 8u);
    EXPECT_EQ(rawLines(dir, "0x0305e100"),
              (std::vector<std::string>{"opcode=0x0305e100 mbox=0x00000002,0x00000000,0x00000000 len=0 status=0x00"}));
}

// The name field holds 15 characters: a longer name is refused before anything is written.
TEST_F(LdViewsE2e, NameLongerThanTheFieldIsRefused)
{
    std::string dir = host();
    expectCases(dir, {
        {{"-LDSetProp", "-Name", "abcdefghijklmnop", "-L0", "-a0"}, "\nAdapter 0: Set Property Failed on Vd object\n",
         "01"},
        {{"-LDSetProp", "-Name", "abcdefghijklmno", "-L0", "-a0"},
         "Set name to abcdefghijklmno on Adapter 0, VD 0 (target id: 0) success\n", "00"},
        {{"-LDGetProp", "-Name", "-L0", "-a0"}, "Adapter 0-VD 0(target id: 0): Name: abcdefghijklmno\n", "00"},
    });
    EXPECT_EQ(rawLines(dir, "0x03040000").size(), 1u);
}

TEST_F(LdViewsE2e, WriteBackChecksTheBattery)
{
    const std::string noBattery = "No battery present\n";
    const std::string wb = "Set Write Policy to WriteBack on Adapter 0, VD 0 (target id: 0) success\n";
    const std::string shownWt =
        "Adapter 0-VD 0(target id: 0): Cache Policy:WriteThrough, ReadAhead, Direct, No Write Cache if bad BBU\n";
    const std::string shownWb =
        "Adapter 0-VD 0(target id: 0): Cache Policy:WriteBack, ReadAhead, Direct, No Write Cache if bad BBU\n";
    const char* writeThrough = R"({"battery": {"status": {"type": 0}},
        "lds": [{"targetId": 0, "name": "mirror", "raidLevel": 1, "drivesPerSpan": 2, "drives": [8, 9],
                 "spans": [{"array": 0}], "defaultCachePolicy": 4}], "arrays": [{"ref": 0, "drives": [8, 9]}],
        "spares": []})";
    std::string dir = host(nlohmann::json::parse(writeThrough));
    expectCases(dir, {
        // With -Immediate the policy stays as it was.
        {{"-LDSetProp", "-WB", "-Immediate", "-L0", "-a0"}, noBattery + "\nAdapter 0: Set Property Failed on Vd object\n",
         "01"},
        {{"-LDGetProp", "-Cache", "-L0", "-a0"}, shownWt, "00"},
        // Without it the change stands, with a note.
        {{"-LDSetProp", "-WB", "-L0", "-a0"},
         noBattery + "\nSo policy Change to WB will not come into effect immediately\n\n" + wb, "00"},
        {{"-LDGetProp", "-Cache", "-L0", "-a0"}, shownWb, "00"},
    });
    EXPECT_EQ(rawLines(dir, "0x03040000").size(), 1u);
    EXPECT_EQ(rawLines(dir, "0x05010000").size(), 2u);
    nlohmann::json learning = nlohmann::json::parse(writeThrough);
    learning["battery"]["status"] = {{"firmwareStatus", "0x40"}};
    std::string busy = host(learning);
    expectCases(busy, {{{"-LDSetProp", "-WB", "-Immediate", "-L0", "-a0"},
                        "Learn cycle is active currently\n\nAdapter 0: Set Property Failed on Vd object\n", "01"}});
    learning["battery"]["status"] = {{"firmwareStatus", "0x400"}};
    std::string worn = host(learning);
    expectCases(worn, {{{"-LDSetProp", "-WB", "-Immediate", "-L0", "-a0"},
                        "Battery needs replacement\n\nAdapter 0: Set Property Failed on Vd object\n", "01"}});
    learning["battery"]["status"] = nlohmann::json::object();
    std::string good = host(learning);
    expectCases(good, {{{"-LDSetProp", "-WB", "-Immediate", "-L0", "-a0"}, wb, "00"}});
}

TEST_F(LdViewsE2e, DiskCacheChangeRefusedByTheController)
{
    std::string dir = host(nlohmann::json::parse(R"({"info": {"ldOperations": "0x2f"}})"));
    // Refused before any drive is looked at: the drive named does not exist.
    expectCases(dir, {{{"-LDSetProp", "-EnDskCache", "-L7", "-a0"},
                       "Change setting of DiskCache Policy on Adapter 0 is not supported.\n", "01"}});
    EXPECT_EQ(rawLines(dir, "0x03040000").size(), 0u);
}

TEST_F(LdViewsE2e, RemoveBlockedAccess)
{
    const char* blocked = R"({"lds": [
        {"targetId": 2, "name": "parity", "raidLevel": 5, "raidQualifier": 3, "drivesPerSpan": 3,
         "drives": [10, 11, 12], "spans": [{"array": 1}]},
        {"targetId": 0, "name": "mirror", "raidLevel": 1, "drivesPerSpan": 2, "drives": [8, 9],
         "spans": [{"array": 0}], "currentAccessPolicy": 3, "cacheAssociation": 1}]})";
    std::string dir = host(nlohmann::json::parse(blocked));
    expectCases(dir, {
        {{"-LDGetProp", "-Access", "-L0", "-a0"},
         "Adapter 0-VD 0(target id: 0): Access Policy: Read/Write\nCurrent Access Policy: Blocked\n"
         "Reason for difference in Access Policy: Associated Tidewell - SSD Caching virtual drive is offline\n\n",
         "00"},
        // One command for every drive.
        {{"-LDSetProp", "-RemoveBlocked", "-LALL", "-a0"}, "Adapter 0: Remove Blocked access is Success\n", "00"},
        {{"-LDGetProp", "-Access", "-L0", "-a0"},
         "Adapter 0-VD 0(target id: 0): Access Policy: Read/Write\nCurrent Access Policy: Read/Write\n\n", "00"},
        {{"-LDSetProp", "-RemoveBlocked", "-LALL", "-a0"},
         "Access Policy is not Blocked on Vd object or SSCD is not Offline \n", "00"},
    });
    EXPECT_EQ(rawLines(dir, "0x03040010"),
              (std::vector<std::string>{"opcode=0x03040010 mbox=0x000100ff,0x00000000,0x00000000 len=0 status=0x00"}));
    std::string one = host(nlohmann::json::parse(blocked));
    expectCases(one, {{{"-LDSetProp", "-RemoveBlocked", "-L0", "-a0"},
                       "Set Remove Blocked access  on Adapter 0, VD 0 (target id: 0) success\n", "00"}});
    EXPECT_EQ(rawLines(one, "0x03040010"),
              (std::vector<std::string>{"opcode=0x03040010 mbox=0x00010000,0x00000000,0x00000000 len=0 status=0x00"}));
}

TEST_F(LdViewsE2e, PowerSavingPolicyByTheControllerLevels)
{
    struct Row {
        const char* features;     // info.ldFeatures
        const char* word;
        int written;              // -1: refused, nothing written
    };
    const Row rows[] = {
        {"0x10", "-Maximum", 6},
        {"0x10", "-MaximumWithoutCaching", -1},
        {"0x30", "-Maximum", 2},
        {"0x30", "-MaximumWithoutCaching", 6},
        {"0x30", "-Automatic", 1},
        {"0x30", "-None", 254},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.features) + " " + row.word);
        std::string dir = host(nlohmann::json::parse(std::string(R"({"info": {"ldFeatures": ")") + row.features +
                                                     R"("}, "mfcDefaults": {"powerSavingOptions": "0x00"}})"));
        expectCases(dir, {{{"-LDSetPowerPolicy", row.word, "-L0", "-a0"},
                           row.written < 0 ? "Invalid power savings level input.\n"
                                           : "Set LdPowerPolicy on Adapter 0, VD 0 (target id: 0) success\n",
                           row.written < 0 ? "01" : "00"}});
        EXPECT_EQ(ldState(dir, 0).value("powerSavingPolicy", 0), row.written < 0 ? 0 : row.written);
        EXPECT_EQ(rawLines(dir, "0x010e0201").size(), row.written < 0 ? 1u : 1u);
    }
}

TEST_F(LdViewsE2e, PowerSavingPolicyOfSeveralDrivesAndRefusals)
{
    std::string dir = host(nlohmann::json::parse(R"({"info": {"ldFeatures": "0x30"},
        "mfcDefaults": {"powerSavingOptions": "0x00"}})"));
    expectCases(dir, {
        {{"-LDSetPowerPolicy", "-None", "-LALL", "-a0"},
         "Set LdPowerPolicy on Adapter 0, VD 0 (target id: 0) success\n"
         "Set LdPowerPolicy on Adapter 0, VD 2 (target id: 2) success\n",
         "00"},
        {{"-LDSetPowerPolicy", "-Default", "-L0,7", "-a0"},
         "Set LdPowerPolicy on Adapter 0, VD 0 (target id: 0) success\nAdapter 0: Virtual Drive 7 Does not Exist.\n",
         "00"},
    });
    EXPECT_EQ(ldState(dir, 0).value("powerSavingPolicy", 0), 0);
    EXPECT_EQ(ldState(dir, 2).value("powerSavingPolicy", -1), 254);
    struct Refusal {
        const char* edit;
        const char* word;
        std::string out;
    };
    const Refusal refusals[] = {
        {R"({"info": {"ldFeatures": "0x00"}})", "-Automatic",
         "Adapter does not support Power savings on logical drives.\n"},
        {R"({"info": {"ldFeatures": "0x30"}, "mfcDefaults": {"powerSavingOptions": "0x08"}})", "-Automatic",
         "Power savings level cannot be set on per logical drive basis.\n"},
        // Defaults that are not set allow the setting per drive but refuse both maximum levels.
        {R"({"info": {"ldFeatures": "0x30"}, "mfcDefaults": {"powerSavingOptions": "0xff"}})", "-Maximum",
         "Maximum power saving on logical drives is not allowed\n"},
        {R"({"info": {"ldFeatures": "0x30"}, "lds": [], "arrays": [], "spares": []})", "-Automatic",
         "Adapter 0: No Virtual Drive Configured.\n"},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.edit);
        std::string refused = host(nlohmann::json::parse(r.edit));
        expectCases(refused, {{{"-LDSetPowerPolicy", r.word, "-L0", "-a0"}, r.out, "01"}});
        EXPECT_EQ(rawLines(refused, "0x03040000").size(), 0u);
    }
    std::string unset = host(nlohmann::json::parse(R"({"info": {"ldFeatures": "0x30"},
        "mfcDefaults": {"powerSavingOptions": "0xff"}})"));
    expectCases(unset, {{{"-LDSetPowerPolicy", "-Automatic", "-L0", "-a0"},
                         "Set LdPowerPolicy on Adapter 0, VD 0 (target id: 0) success\n", "00"}});
}

TEST_F(LdViewsE2e, MirrorCommands)
{
    std::string dir = host(nlohmann::json::parse(R"({"info": {"ldFeatures": "0x40"}})"));
    expectCases(dir, {
        {{"-LDBreakMirror", "-L0", "-a0"}, "\nInvalid operation!! \nBreak mirror is an offline operation.\n", "01"},
        {{"-LDJoinMirror", "-DataSrc", "1", "-L0", "-a0"},
         "Performing this operation will change the Data on Source VD.\n"
         " use -force option if you are sure to perform this operation\n",
         "01"},
        {{"-LDJoinMirror", "-DataSrc", "1", "-Force", "-L0", "-a0"}, "", "00"},
        {{"-LDJoinMirror", "-DataSrc", "0", "-L2", "-a0"}, "", "00"},
        {{"-LDJoinMirror", "-DataSrc", "0", "-L5", "-a0"}, "Adapter 0: Virtual Drive 5 Does not Exist.\n", "01"},
    });
    EXPECT_EQ(rawLines(dir, "0x03110100").size(), 0u);
    EXPECT_EQ(rawLines(dir, "0x03110300"),
              (std::vector<std::string>{"opcode=0x03110300 mbox=0x00010000,0x00000001,0x00000000 len=0 status=0x00",
                                        "opcode=0x03110300 mbox=0x00010002,0x00000000,0x00000000 len=0 status=0x00"}));
    // The view lists each drive's mirror configuration, the drive numbered within its span.
    RunResult view = run(dir, {"-LDViewMirror", "-LALL", "-a0"});
    EXPECT_EQ(layoutLines(view.out), "Number of DISK GROUPS: 1\nDISK GROUP: 0\nNumber of Spans: 1\nSPAN: 0\n"
                                     "Number of PDs: 2\nVirtual Drive Information:\nVirtual Drive: 0 (Target Id: 0)\n"
                                     "Physical Disk Information:\nPhysical Disk: 0\nPhysical Disk: 1\n"
                                     "Number of DISK GROUPS: 1\nDISK GROUP: 0\nNumber of Spans: 1\nSPAN: 0\n"
                                     "Number of PDs: 3\nVirtual Drive Information:\nVirtual Drive: 0 (Target Id: 2)\n"
                                     "Physical Disk Information:\nPhysical Disk: 0\nPhysical Disk: 1\n"
                                     "Physical Disk: 2\nExit Code: 0x00\n");
    EXPECT_NE(view.out.find(spanText(0, 2, 1) + "Virtual Drive Information:\nVirtual Drive: 0 (Target Id: 0)\n" +
                            "Name                :mirror\n"),
              std::string::npos)
        << view.out;
    EXPECT_NE(view.out.find("Physical Disk: 1\nEnclosure Device ID: 252\nSlot Number: 1\n"), std::string::npos)
        << view.out;
    EXPECT_EQ(rawLines(dir, "0x03110200").size(), 2u);
}

TEST_F(LdViewsE2e, MirrorCommandsRefused)
{
    std::string unsupported = host();
    expectCases(unsupported, {{{"-LDViewMirror", "-L0", "-a0"}, "\nThis feature is not supported\n", "01"}});
    // A controller that keeps allowed-operation words tells which drives have a mirror.
    std::string noMirror = host(nlohmann::json::parse(R"({"info": {"ldFeatures": "0x40", "reportingFeatures": "0x40"}})"));
    expectCases(noMirror, {
        {{"-LDViewMirror", "-L0", "-a0"}, "VD does not have mirror", "01"},
        {{"-LDJoinMirror", "-DataSrc", "0", "-L0", "-a0"}, "VD does not have mirror", "01"},
    });
    EXPECT_EQ(rawLines(noMirror, "0x03110200").size() + rawLines(noMirror, "0x03110300").size(), 0u);
}

TEST_F(LdViewsE2e, BadBlockTableCleared)
{
    const char* lds = R"({"info": {"ldFeatures": "0x02"}, "lds": [
        {"targetId": 2, "name": "parity", "raidLevel": 5, "raidQualifier": 3, "drivesPerSpan": 3,
         "drives": [10, 11, 12], "spans": [{"array": 1}], "badBlocks": 1, "bbmCorrected": 7, "bbmUncorrected": 3},
        {"targetId": 0, "name": "mirror", "raidLevel": 1, "drivesPerSpan": 2, "drives": [8, 9],
         "spans": [{"array": 0}]}]})";
    std::string dir = host(nlohmann::json::parse(lds));
    expectCases(dir, {
        {{"-LDBBMClr", "-LALL", "-a0"}, "\nThere is no Bad Block to clear.\n\nSuccessfully cleared BBM Log.\n", "00"},
        {{"-LDBBMClr", "-L2", "-a0"}, "\nThere is no Bad Block to clear.\n", "00"},
        {{"-LDBBMClr", "-L4", "-a0"}, "Adapter 0: Virtual Drive 4 Does not Exist.\n", "01"},
    });
    EXPECT_EQ(rawLines(dir, "0x030e0000"),
              (std::vector<std::string>{"opcode=0x030e0000 mbox=0x00010002,0x00000000,0x00000000 len=0 status=0x00"}));
    nlohmann::json without = nlohmann::json::parse(lds);
    without["info"]["ldFeatures"] = "0x00";
    std::string unsupported = host(without);
    expectCases(unsupported, {{{"-LDBBMClr", "-L4,2", "-a0"},
                               "Adapter 0: Virtual Drive 4 Does not Exist.\n\nLDBBM Clear is not supported.\n", "01"}});
    EXPECT_EQ(rawLines(unsupported, "0x030e0000").size(), 0u);
}

TEST_F(LdViewsE2e, BadBlockTableEntries)
{
    const std::string header = "\nAdapter 0 -- Virtual Drive Information:\n";
    const std::string columns = "TargetID        Corrected Entries        UnCorrected Entries\n";
    auto row = [](const char* targetId, const char* corrected, const char* uncorrected) {
        return std::string(targetId) + " " + std::string(14, ' ') + corrected + " " + std::string(22, ' ') +
               uncorrected + " \n";
    };
    const char* lds = R"({"info": {"ldFeatures": "0x02"}, "lds": [
        {"targetId": 2, "sequence": "0x1234", "name": "parity", "raidLevel": 5, "raidQualifier": 3,
         "drivesPerSpan": 3, "drives": [10, 11, 12], "spans": [{"array": 1}], "bbmCorrected": 7,
         "bbmUncorrected": 3},
        {"targetId": 0, "name": "mirror", "raidLevel": 1, "drivesPerSpan": 2, "drives": [8, 9],
         "spans": [{"array": 0}], "bbmUncorrected": 12}]})";
    std::string dir = host(nlohmann::json::parse(lds));
    const std::string zero = "0000000000000000";
    expectCases(dir, {
        {{"-GetBbtEntries", "-L2", "-a0"}, header + columns + row("2", "0000000000000007", "0000000000000003"), "00"},
        {{"-GetBbtEntries", "-L0,2", "-a0"},
         header + columns + row("0", zero.c_str(), "0000000000000012") + columns +
             row("2", "0000000000000007", "0000000000000003"),
         "00"},
        {{"-GetBbtEntries", "-LALL", "-a0"},
         header + columns + row("0", zero.c_str(), "0000000000000012") +
             row("2", "0000000000000007", "0000000000000003"),
         "00"},
        {{"-GetBbtEntries", "-L5", "-a0"}, header + "Adapter 0: Virtual Drive 5 Does not Exist.\n", "01"},
    });
    // By reference: the sequence number 0x1234 in mailbox bytes 2-3; the list once, mailbox zero.
    EXPECT_EQ(rawLines(dir, "0x030e0100"),
              (std::vector<std::string>{"opcode=0x030e0100 mbox=0x12340002,0x00000000,0x00000000 len=32 status=0x00",
                                        "opcode=0x030e0100 mbox=0x00010000,0x00000000,0x00000000 len=32 status=0x00",
                                        "opcode=0x030e0100 mbox=0x12340002,0x00000000,0x00000000 len=32 status=0x00"}));
    EXPECT_EQ(rawLines(dir, "0x030e0200"),
              (std::vector<std::string>{"opcode=0x030e0200 mbox=0x00000000,0x00000000,0x00000000 len=2056 status=0x00"}));
    nlohmann::json disabled = nlohmann::json::parse(lds);
    disabled["info"]["ldFeatures"] = "0x00";
    std::string off = host(disabled);
    // The firmware's status ends the command, and the program describes it.
    const std::string notEnabled = header + "Adapter 0: LD bad block management is not enabled.\n" +
                                   "\nFW error description: \n The requested command is not supported at this time.  \n";
    expectCases(off, {
        {{"-GetBbtEntries", "-L2", "-a0"}, notEnabled, "01"},
        {{"-GetBbtEntries", "-LALL", "-a0"}, notEnabled, "01"},
    });
}

TEST_F(LdViewsE2e, BadBlockTableOfAnUnknownTarget)
{
    // The firmware answers the log read with status 12 (no such target): its own line, the
    // status ends the command and the program describes it.
    const char* lds = R"({"info": {"ldFeatures": "0x02"}})";
    std::string dir = host(nlohmann::json::parse(lds), {{"status", "0x030e0100", "0x0c"}});
    expectCases(dir, {{{"-GetBbtEntries", "-L2,0", "-a0"},
                       "\nAdapter 0 -- Virtual Drive Information:\nAdapter 0: TargetId is invalid.\n"
                       "\nFW error description: \n The requested command cannot be completed, as the specified "
                       "device does not exist.  \n",
                       "0c"}});
    EXPECT_EQ(rawLines(dir, "0x030e0100").size(), 1u);
}

TEST_F(LdViewsE2e, FreeSpaceOfEverySpan)
{
    // The parity drive takes blocks 0x1000 to 0x2000 of its 0x3000-block array: two free extents
    // of 0x1000 blocks on each of three drives, each holding 0x2000 blocks at RAID 5. The mirror's
    // array has no room left.
    std::string dir = host(nlohmann::json::parse(R"({
        "lds": [
          {"targetId": 2, "name": "parity", "raidLevel": 5, "raidQualifier": 3, "drivesPerSpan": 3,
           "drives": [10, 11, 12], "spans": [{"array": 1, "startBlock": 4096, "blockCount": 4096}]},
          {"targetId": 0, "name": "mirror", "raidLevel": 1, "drivesPerSpan": 2, "drives": [8, 9],
           "spans": [{"array": 0}]}],
        "arrays": [{"ref": 0, "drives": [8, 9]}, {"ref": 1, "drives": [10, 11, 12], "sizeBlocks": 12288}]})"));
    expectCases(dir, {{{"-CfgFreeSpaceinfo", "-a0"},
                       "Number of DISK GROUPS: 2\n\nDISK GROUP: 0 Number of Spans: 1\n\n"
                       "SPAN: 0 Number of Free Space Slots: 2\n"
                       "Slot: 0 Free space: 0x2000 blocks(4.0 MB)\nSlot: 1 Free space: 0x2000 blocks(4.0 MB)\n"
                       "SPAN: 0 Total Number of Free Space : 0x4000 blocks(8.0 MB)\n\n"
                       "DISK GROUP: 1 Number of Spans: 1\n\nSPAN: 0 Number of Free Space Slots: 0\n",
                       "00"}});
    EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(dir)),
              (std::vector<std::string>{"host=2 opcode=0x01010000 status=0x00", "host=2 opcode=0x01010000 status=0x00",
                                        "host=2 opcode=0x010e8481 status=0x00",
                                        "host=2 opcode=0x01010000 status=0x00"}));
    std::string empty = host(nlohmann::json::parse(R"({"lds": [], "arrays": [], "spares": []})"));
    expectCases(empty, {{{"-CfgFreeSpaceinfo", "-a0"}, "Number of DISK GROUPS: 0\n\n", "00"}});
}

TEST_F(LdViewsE2e, ReconstructionStartedAndFollowed)
{
    std::string dir = host();
    expectCases(dir, {
        {{"-LDRecon", "-ShowProg", "-L0", "-a0"}, "Reconstruction on VD #0 is not in Progress.\n", "00"},
        {{"-LDRecon", "-Start", "-r5", "-Add", "-PhysDrv[252:6]", "-L0", "-a0"},
         "Start Reconstruction of Virtual Drive Success.\n", "00"},
    });
    nlohmann::json started = ldState(dir, 0)["progress"][0];
    EXPECT_EQ(started["operation"], "reconstruction");
    EXPECT_EQ(started["newRaidLevel"], 5);
    EXPECT_EQ(started["reconstructKind"], "add");
    EXPECT_EQ(started["reconstructDrives"], nlohmann::json::array({14}));
    EXPECT_EQ(rawLines(dir, "0x03070100"),
              (std::vector<std::string>{"opcode=0x03070100 mbox=0x00010000,0x00000000,0x00000000 len=136 status=0x00"}));
    RunSpec advance;
    advance.program = QUILLSIM_BIN;
    advance.args = {"advance", dir, "60"};
    EXPECT_EQ(runProgram(advance).exitCode, 0);
    // 60 s at 656/65535 a second.
    expectCases(dir, {{{"-LDRecon", "-ShowProg", "-L0", "-a0"},
                       "Reconstruction on VD #0 (target id #0) Completed 60% in 1 Minutes.\n", "00"}});
}

TEST_F(LdViewsE2e, ReconstructionCodesAndRefusals)
{
    struct Row {
        std::vector<std::string> args;
        std::string out;
        const char* exitCode;
        size_t starts;          // reconstruction requests sent
    };
    const std::string started = "Start Reconstruction of Virtual Drive Success.\n";
    const std::string secured = "\nAtleast one drive in the disk group selected is secured by FDE.\nAny data on the "
                                "drives will be permanently lost. use -force option if you are sure to perform this "
                                "operation\n";
    const Row rows[] = {
        {{"-LDRecon", "-Start", "-r0", "-Rmv", "-PhysDrv[252:4]", "-L2", "-a0"}, started, "00", 1},
        {{"-LDRecon", "-Start", "-r6", "-L2", "-a0"}, started, "00", 1},
        {{"-LDRecon", "-Start", "-r5", "-Add", "-PhysDrv[252:9]", "-L0", "-a0"},
         "Adapter #0: Failed to Perform LD reconstruction Operation.\n", "01", 0},
        {{"-LDRecon", "-Start", "-r5", "-L1", "-a0"}, "Adapter 0: Virtual Drive 1 Does not Exist.\n", "01", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args[3]);
        std::string dir = host();
        expectCases(dir, {{row.args, row.out, row.exitCode}});
        EXPECT_EQ(rawLines(dir, "0x03070100").size(), row.starts);
    }
    std::string removed = host();
    expectCases(removed, {{{"-LDRecon", "-Start", "-r0", "-Rmv", "-PhysDrv[252:4]", "-L2", "-a0"}, started, "00"}});
    EXPECT_EQ(ldState(removed, 2)["progress"][0]["reconstructKind"], "remove");
    std::string none = host(nlohmann::json::parse(R"({"lds": [], "arrays": [], "spares": []})"));
    expectCases(none, {{{"-LDRecon", "-Start", "-r5", "-L0", "-a0"},
                        "Adapter 0: No Virtual Drive Configured.\nAdapter 0: Virtual Drive 0 Does not Exist.\n", "01"}});
    nlohmann::json drives = drivesHost()["controllers"][0]["drives"];
    drives[1]["sectorSize"] = 4096;
    std::string mismatch = host({{"drives", drives}});
    expectCases(mismatch, {{{"-LDRecon", "-Start", "-r5", "-Add", "-PhysDrv[252:6]", "-L0", "-a0"},
                            "Reconstruction operation failed due to sector size mismatch.", "01"}});
    drives[1]["sectorSize"] = 512;
    drives[1]["security"] = "0x07";
    std::string locked = host({{"drives", drives}});
    expectCases(locked, {
        {{"-LDRecon", "-Start", "-r5", "-Add", "-PhysDrv[252:6]", "-L0", "-a0"}, secured, "01"},
        {{"-LDRecon", "-Start", "-r5", "-Add", "-PhysDrv[252:6]", "-L0", "-Force", "-a0"}, started, "00"},
    });
    EXPECT_EQ(rawLines(mismatch, "0x03070100").size() + rawLines(locked, "0x03070100").size(), 1u);
}

TEST_F(LdViewsE2e, ReconstructionAddsOnlyWhatMatchesAPresentMember)
{
    // The mirror's array has lost both drives: no present member shows the sector size, so
    // the added drive is refused and nothing is sent.
    nlohmann::json edit = nlohmann::json::parse(R"({"arrays": [{"ref": 0, "drives": [65535, 65535],
        "sizeBlocks": 1952448512}, {"ref": 1, "drives": [10, 11, 12]}], "spares": []})");
    nlohmann::json drives = drivesHost()["controllers"][0]["drives"];
    for (nlohmann::json& d : drives)
        if (d["deviceId"] == 8 || d["deviceId"] == 9 || d["deviceId"] == 13)
            d["state"] = 0;
    edit["drives"] = drives;
    std::string dir = host(edit);
    expectCases(dir, {{{"-LDRecon", "-Start", "-r5", "-Add", "-PhysDrv[252:6]", "-L0", "-a0"},
                       "Reconstruction operation failed due to sector size mismatch.", "01"}});
    EXPECT_EQ(rawLines(dir, "0x03070100").size(), 0u);
}

TEST_F(LdViewsE2e, ReconstructionSpinsAddedDrivesUpFirst)
{
    // The added drive is spun down on a controller that spins drives up before a configuration
    // change: it is spun up, then the reconstruction starts with it.
    nlohmann::json drives = drivesHost()["controllers"][0]["drives"];
    drives[1]["powerState"] = "0xff";
    std::string dir = host({{"drives", drives}, {"info", {{"powerFeatures", "0x0a"}}}});
    RunResult r = run(dir, {"-LDRecon", "-Start", "-r5", "-Add", "-PhysDrv[252:6]", "-L0", "-a0"});
    EXPECT_EQ(r.out, BLANK_OUT + "\nSpin up of 1 drives is successful\n" + "Start Reconstruction of Virtual Drive Success.\n" + exitLine("00"));
    EXPECT_EQ(r.exitCode, 0);
    // The spin-up request, then the start.
    std::vector<std::string> log = rawLines(dir, "0x020d0200");
    log.push_back(rawLines(dir, "0x03070100").at(0));
    EXPECT_EQ(log, (std::vector<std::string>{"opcode=0x020d0200 mbox=0x00000000,0x00000000,0x00000000 len=12 status=0x00",
                                             "opcode=0x03070100 mbox=0x00010000,0x00000000,0x00000000 len=136 status=0x00"}));
    EXPECT_EQ(ldState(dir, 0)["progress"][0]["reconstructDrives"], nlohmann::json::array({14}));
}

TEST_F(LdViewsE2e, ReconstructionDisplayWhenNothingRuns)
{
    std::string dir = host();
    RunSpec spec;
    spec.args = {"-LDRecon", "-ProgDsply", "-L0", "-a0"};
    // A terminal the program cannot open: the display stays on the plain console.
    spec.env = {{"QUILLCLI_SIM_HOST", dir}, {"TERM", "quill-no-such-terminal"}};
    RunResult r = runProgram(spec);
    cleanup.push_back(r.workDir);
    // The display starts all the same, and ends after its first cycle.
    EXPECT_EQ(r.out, BLANK_OUT + "Reconstruction on VD #0 is not in Progress.\n  Reconstruction\n"
                                 " Progress of Virtual Drives...\n\n\r"
                                 "  Virtual Drive #              Percent Complete                       Time Elps\n\r"
                                 "          0         " +
                         std::string(23, '*') + "00 %" + std::string(23, '*') + " 00:00:00\n\r" +
                         "\n\r    Press <ESC> key to quit...\n\r" + exitLine("00"));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(rawLines(dir, "0x03080000").size(), 2u);
}
