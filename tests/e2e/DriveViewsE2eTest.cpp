// The drive list, drive information and virtual-drive information through QuillCliSim, against
// hosts made from descriptions: the whole console output, the exit code and the firmware
// commands the run sent.
#include "DrivesHostTexts.h"
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace {

const std::string MIRROR_SHOWN = "Virtual Drive: 0 (Target Id: 0)\n" + MIRROR_BLOCK +
                                 "\n\nNumber of Dedicated Hot Spares: 1\n    0 : EnclId - 252 SlotId - 5 \n";
const std::string PARITY_SHOWN = "Virtual Drive: 2 (Target Id: 2)\n" + PARITY_BLOCK + "\n\n";
const std::string LD_HEADER = "\nAdapter 0 -- Virtual Drive Information:\n";

class DriveViewsE2e : public DrivesHostE2e {};

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
