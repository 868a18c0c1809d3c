// The drive list, drive information and virtual-drive information through QuillCliSim, against
// hosts made from descriptions: the whole console output, the exit code and the firmware
// commands the run sent.
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace {

const std::string BLANK_OUT = "\r" + std::string(37, ' ') + "\n";

std::string exitLine(const char* code)
{
    return std::string("\nExit Code: 0x") + code + "\n";
}

// What one drive of the described hosts shows: a 1 TB SAS disk in enclosure 252, which the
// controller reports on no connector (so the drive's own position byte, 0, is shown), with the simulated drive's inquiry texts, no ports and no diagnostics.
struct Shown {
    int deviceId;
    int slot;
    const char* state;
    const char* temperature;       // "30C (86.00 F)"
    std::string position;          // the "Drive's position" line, or empty
    std::string spare;             // the hot-spare text, or empty
};

std::string driveText(const Shown& d)
{
    return "Enclosure Device ID: 252\nSlot Number: " + std::to_string(d.slot) + "\n" + d.position +
           "Enclosure position: N/A\nDevice Id: " + std::to_string(d.deviceId) +
           "\nWWN: \nSequence Number: 1\nMedia Error Count: 0\nOther Error Count: 0\n"
           "Predictive Failure Count: 0\nLast Predictive Failure Event Seq Number: 0\nPD Type: SAS\n" +
           (d.spare.empty() ? "\n" : d.spare) +
           "Raw Size: 931.512 GB [0x74706db0 Sectors]\nNon Coerced Size: 931.512 GB [0x74706db0 Sectors]\n"
           "Coerced Size: 931.0 GB [0x74600000 Sectors]\nSector Size:  512\nFirmware state: " +
           d.state +
           "\nDevice Firmware Level: A001\nShield Counter: 0\nSuccessful diagnostics completion on :  N/A\n"
           "Connected Port Number: 0 \nInquiry Data: QUILLDSKQD1000SAS       A001                    \n"
           "FDE Capable: Not Capable\nFDE Enable: Disable\nSecured: Unsecured\nLocked: Unlocked\n"
           "Needs EKM Attention: No\nForeign State: None \nDevice Speed: 6.0Gb/s \nLink Speed: 6.0Gb/s \n"
           "Media Type: Hard Disk Device\nDrive Temperature :" +
           d.temperature +
           "\nPI Eligibility:  No \nDrive is formatted for PI information:  No\nPI: No PI\n"
           "Drive has flagged a S.M.A.R.T alert : No\n\n\n\n";
}

std::string position(int group, int span, int arm)
{
    return "Drive's position: DiskGroup: " + std::to_string(group) + ", Span: " + std::to_string(span) +
           ", Arm: " + std::to_string(arm) + "\n";
}

// The drives of tests/e2e/data/drives-host.json, by slot.
const std::vector<Shown>& describedDrives()
{
    static const std::vector<Shown> drives = {
        {8, 0, "Online, Spun Up", "30C (86.00 F)", position(1, 0, 0), ""},
        {9, 1, "Online, Spun Up", "31C (87.80 F)", position(1, 0, 1), ""},
        {10, 2, "Online, Spun Up", "30C (86.00 F)", position(0, 0, 0), ""},
        {11, 3, "Online, Spun Up", "30C (86.00 F)", position(0, 0, 1), ""},
        {12, 4, "Online, Spun Up", "30C (86.00 F)", position(0, 0, 2), ""},
        {13, 5, "Hotspare, Spun Up", "29C (84.20 F)", "", "Hotspare Information: \nType: Dedicated\nArray #: 0\n"},
        {14, 6, "Unconfigured(good), Spun Up", "33C (91.40 F)", "", ""},
    };
    return drives;
}

const std::string MIRROR_BLOCK = "Name                :mirror\n"
                                 "RAID Level          : Primary-1, Secondary-0, RAID Level Qualifier-0\n"
                                 "Size                : 931.0 GB\n"
                                 "Sector Size         : 512\n"
                                 "Mirror Data         : 931.0 GB\n"
                                 "State               : Optimal\n"
                                 "Strip Size          : 64 KB\n"
                                 "Number Of Drives    : 2\n"
                                 "Span Depth          : 1\n"
                                 "Default Cache Policy: WriteBack, ReadAhead, Direct, No Write Cache if Bad BBU\n"
                                 "Current Cache Policy: WriteBack, ReadAhead, Direct, No Write Cache if Bad BBU\n"
                                 "Default Access Policy: Read/Write\n"
                                 "Current Access Policy: Read/Write\n"
                                 "Disk Cache Policy   : Disk's Default\n"
                                 "Encryption Type     : None\n"
                                 "Is VD Cached: No\n";

const std::string PARITY_BLOCK = "Name                :parity\n"
                                 "RAID Level          : Primary-5, Secondary-0, RAID Level Qualifier-3\n"
                                 "Size                : 1.818 TB\n"
                                 "Sector Size         : 512\n"
                                 "Parity Size         : 931.0 GB\n"
                                 "State               : Optimal\n"
                                 "Strip Size          : 64 KB\n"
                                 "Number Of Drives    : 3\n"
                                 "Span Depth          : 1\n"
                                 "Default Cache Policy: WriteBack, ReadAhead, Direct, No Write Cache if Bad BBU\n"
                                 "Current Cache Policy: WriteBack, ReadAhead, Direct, No Write Cache if Bad BBU\n"
                                 "Default Access Policy: Read/Write\n"
                                 "Current Access Policy: Read/Write\n"
                                 "Disk Cache Policy   : Disk's Default\n"
                                 "Encryption Type     : None\n"
                                 "Is VD Cached: No\n";

const std::string MIRROR_SHOWN = "Virtual Drive: 0 (Target Id: 0)\n" + MIRROR_BLOCK +
                                 "\n\nNumber of Dedicated Hot Spares: 1\n    0 : EnclId - 252 SlotId - 5 \n";
const std::string PARITY_SHOWN = "Virtual Drive: 2 (Target Id: 2)\n" + PARITY_BLOCK + "\n\n";
const std::string LD_HEADER = "\nAdapter 0 -- Virtual Drive Information:\n";

class DriveViewsE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    // A host made with "quillsim create --from" from the description, its first controller's
    // keys changed by `edit`.
    std::string host(const nlohmann::json& edit = nlohmann::json::object(),
                     const std::vector<std::vector<std::string>>& faults = {})
    {
        nlohmann::json description =
            nlohmann::json::parse(readFile(std::string(QUILL_SOURCE_DIR) + "/tests/e2e/data/drives-host.json"));
        description["controllers"][0].merge_patch(edit);
        std::string base = makeTempDir("quillviews");
        cleanup.push_back(base);
        std::ofstream(base + "/description.json") << description.dump(2);
        RunSpec spec;
        spec.program = QUILLSIM_BIN;
        spec.args = {"create", base + "/host", "--from", base + "/description.json"};
        RunResult made = runProgram(spec);
        cleanup.push_back(made.workDir);
        EXPECT_EQ(made.exitCode, 0) << made.err;
        for (const std::vector<std::string>& fault : faults)
            EXPECT_EQ(addSimFault(base + "/host", fault), "");
        return base + "/host";
    }

    RunResult run(const std::string& hostDir, const std::vector<std::string>& args)
    {
        RunSpec spec;
        spec.args = args;
        spec.env = {{"QUILLCLI_SIM_HOST", hostDir}};
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        EXPECT_EQ(r.err, "");
        return r;
    }

    std::vector<std::string> cleanup;
};

// How many of the logged commands carry the opcode.
size_t sent(const std::vector<std::string>& log, const std::string& opcode)
{
    return static_cast<size_t>(std::count_if(log.begin(), log.end(), [&](const std::string& line) {
        return line.find("opcode=" + opcode + " ") != std::string::npos;
    }));
}

} // namespace

TEST_F(DriveViewsE2e, DriveListShowsEveryDiskByEnclosureAndSlot)
{
    std::string dir = host();
    RunResult r = run(dir, {"-PDList", "-aALL"});
    std::string expected = BLANK_OUT + "Adapter #0\n\n";
    for (const Shown& d : describedDrives())
        expected += driveText(d);
    EXPECT_EQ(r.out, expected + exitLine("00"));
    EXPECT_EQ(r.exitCode, 0);
    std::vector<std::string> log = loggedFirmwareCommands(dir);
    // Two refreshes (the controller check's and the command's own), each reading the drive list
    // for the drive cache and for the drives in no array, and the configuration's header and
    // then all of it.
    EXPECT_EQ(sent(log, "0x02010000"), 4u);
    EXPECT_EQ(sent(log, "0x04010000"), 4u);
    EXPECT_EQ(sent(log, "0x00000012"), 7u) << "each disk's inquiry data, asked for its FRU text";
    EXPECT_EQ(sent(log, "0x0000004d"), 0u) << "temperatures come from the drive records";
    for (const std::string& line : log)
        EXPECT_NE(line.find("status=0x00"), std::string::npos) << line;
}

TEST_F(DriveViewsE2e, DriveListOfAHostWithoutDrivesIsItsHeader)
{
    std::string dir = host(nlohmann::json::parse(R"({"drives": [], "lds": [], "arrays": [], "spares": [],
        "enclosures": []})"));
    RunResult r = run(dir, {"-PDList", "-a0"});
    EXPECT_EQ(r.out, BLANK_OUT + "Adapter #0\n\n" + exitLine("00"));
    EXPECT_EQ(r.exitCode, 0);
}

TEST_F(DriveViewsE2e, DriveListFailsWithTheFirmwareStatus)
{
    std::string dir = host(nlohmann::json::object(), {{"status", "0x02010000", "0x2d", "--from", "2"}});
    RunResult r = run(dir, {"-PDList", "-a0"});
    EXPECT_EQ(r.exitCode, 0x2d);
    EXPECT_NE(r.out.find("Adapter #0: Failed to Perform get PD list Operation.\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("Enclosure Device ID"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.substr(r.out.size() - exitLine("2d").size()), exitLine("2d"));
}

TEST_F(DriveViewsE2e, DriveInformationOfNamedDrives)
{
    std::string dir = host();
    const Shown& slot2 = describedDrives()[2];
    const Shown& slot5 = describedDrives()[5];
    struct Case {
        std::vector<std::string> args;
        std::string out;
        int exitCode;
    };
    const Case cases[] = {
        {{"-pdInfo", "-PhysDrv[252:2,252:14]", "-a0"},
         driveText(slot2) + "Adapter 0: Device at Enclosure - 252, Slot - 14 is not found.\n" + exitLine("00"), 0},
        {{"-pdInfo", "-PhysDrv[252:5,252:2,252:5]", "-a0"},
         driveText(slot5) + driveText(slot2) + driveText(slot5) + exitLine("00"), 0},
        {{"-pdInfo", "-PhysDrv[?:2]", "-a0"}, driveText(slot2) + exitLine("00"), 0},
        {{"-pdInfo", "-PhysDrv[:3]", "-a0"},
         "Adapter 0: Device at Enclosure - N/A, Slot - 3 is not found.\n" + exitLine("00"), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1]);
        RunResult r = run(dir, c.args);
        EXPECT_EQ(r.out, BLANK_OUT + c.out);
        EXPECT_EQ(r.exitCode, c.exitCode);
    }
}

TEST_F(DriveViewsE2e, UnresolvedEnclosureEndsTheDriveInformation)
{
    std::string dir = host(nlohmann::json::parse(R"({"enclosures": [{"deviceId": 252}, {"deviceId": 17}]})"));
    RunResult r = run(dir, {"-pdInfo", "-PhysDrv[252:2,?:3,252:4]", "-a0"});
    EXPECT_EQ(r.out, BLANK_OUT + driveText(describedDrives()[2]) +
                         "Enclosure ID could not be resolved. \nMultiple enclosures detected.\n" + exitLine("01"));
    EXPECT_EQ(r.exitCode, 1);
}

TEST_F(DriveViewsE2e, VirtualDriveInformation)
{
    std::string dir = host();
    struct Case {
        std::vector<std::string> args;
        std::string out;
        const char* exitCode;
    };
    const std::string missing1 = "Adapter 0: Virtual Drive 1 Does not Exist.\n";
    const Case cases[] = {
        {{"-LDInfo", "-Lall", "-a0"}, LD_HEADER + MIRROR_SHOWN + PARITY_SHOWN, "00"},
        {{"-LDInfo", "-L2,0,2", "-a0"}, LD_HEADER + PARITY_SHOWN + MIRROR_SHOWN + PARITY_SHOWN, "00"},
        {{"-LDInfo", "-L1", "-a0"}, LD_HEADER + missing1, "01"},
        {{"-LDInfo", "-L1,2", "-a0"}, LD_HEADER + missing1 + PARITY_SHOWN, "00"},
        {{"-LDInfo", "-L2,1", "-a0"}, LD_HEADER + PARITY_SHOWN + missing1, "01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1]);
        RunResult r = run(dir, c.args);
        // The scanner's line starts with one comma for each comma of the drive list.
        std::string commas(static_cast<size_t>(std::count(c.args[1].begin(), c.args[1].end(), ',')), ',');
        EXPECT_EQ(r.out, commas + BLANK_OUT + c.out + exitLine(c.exitCode));
        EXPECT_EQ(r.exitCode, std::stoi(c.exitCode, nullptr, 16));
    }
}

TEST_F(DriveViewsE2e, VirtualDriveInformationWithoutVirtualDrives)
{
    std::string dir = host(nlohmann::json::parse(R"({"lds": [], "arrays": [], "spares": []})"));
    RunResult r = run(dir, {"-LDInfo", "-L0", "-a0"});
    EXPECT_EQ(r.out, BLANK_OUT + LD_HEADER + "Adapter 0: No Virtual Drive Configured.\n" + exitLine("00"));
    EXPECT_EQ(r.exitCode, 0);
}
