// The growth of virtual drives into free space of their arrays (-getLdExpansionInfo,
// -LdExpansion) through QuillCliSim, against hosts made from tests/e2e/data/drives-host.json:
// the console output, the exit code, the firmware commands the run sent and what the simulated
// controller holds afterwards (the array size written, the expansion request as the firmware
// decoded it, the drive grown on the clock).
#include "DrivesHostTexts.h"
#include "E2eHarness.h"
#include "LongOperationRuns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const SET_ARRAY = "0x04060000";
const char* const RECONSTRUCT_START = "0x03070100";
const char* const ALLOWED_OPS = "0x030b0000";

const std::string EXPANSION = "Expansion                                                     : ";
const std::string IN_ARRAY = "Size available to grow within Array                           : ";
const std::string IN_DISKS = "Size available to grow within Disks that belong to the Array  : ";

std::string possible(int vd, const std::string& inArray, const std::string& inDisks)
{
    const std::string id = std::to_string(vd);
    return "\nVirtual Disk: " + id + " (Target Id: " + id + ")\n" + EXPANSION + "Possible\n" + IN_ARRAY + inArray +
           "\n" + IN_DISKS + inDisks + "\n";
}

std::string notPossible(int vd)
{
    const std::string id = std::to_string(vd);
    return "\nVirtual Disk: " + id + " (Target Id: " + id + ")\n" + EXPANSION + "Not Possible\n";
}

// The mirror (target id 1, RAID 1 on slots 0 and 1) uses the first 4 GiB of its 8 GiB array;
// the parity drive (target id 2, RAID 5 on slots 2 to 4) the first 2 GiB of an array as large
// as its 1952448512-block drives. The controller expands without new drives.
nlohmann::json expandable()
{
    return nlohmann::json::parse(R"({
        "info": {"serialNumber": "QR408000101", "powerFeatures": "0x08", "storageFeatures": "0x10"},
        "arrays": [{"ref": 0, "drives": [8, 9], "sizeBlocks": 16777216}, {"ref": 1, "drives": [10, 11, 12]}],
        "lds": [
          {"targetId": 2, "name": "parity", "raidLevel": 5, "raidQualifier": 3, "drivesPerSpan": 3,
           "drives": [10, 11, 12], "spans": [{"array": 1, "blockCount": 4194304}]},
          {"targetId": 1, "name": "mirror", "raidLevel": 1, "drivesPerSpan": 2, "drives": [8, 9],
           "spans": [{"array": 0, "blockCount": 8388608}]}]})");
}

class VdExpansionE2e : public DrivesHostE2e {
protected:
    // One run: output after the blank-out line, exit code, and the firmware commands after the
    // controller check (model reads left out).
    void expectRun(const std::string& hostDir, const Lines& args, const std::string& out, int exitCode,
                   const Lines& commands)
    {
        std::string line;
        for (const std::string& a : args)
            line += " " + a;
        SCOPED_TRACE(line);
        remove((hostDir + "/commands.log").c_str());
        RunResult r = run(hostDir, args);
        const std::string commas(static_cast<size_t>(std::count(line.begin(), line.end(), ',')), ',');
        char code[8];
        snprintf(code, sizeof code, "%.2x", exitCode);
        EXPECT_EQ(r.out, commas + BLANK_OUT + out + exitLine(code));
        EXPECT_EQ(r.exitCode, exitCode);
        Lines checked = {"host=2 opcode=0x01010000 status=0x00", "host=2 opcode=0x01010000 status=0x00",
                         "host=2 opcode=0x010e8481 status=0x00"};
        checked.insert(checked.end(), commands.begin(), commands.end());
        EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(hostDir)), checked);
    }

    static nlohmann::json controllerState(const std::string& hostDir)
    {
        return nlohmann::json::parse(readFile(hostDir + "/state.json"))["controllers"][0];
    }

    static nlohmann::json ldOf(const nlohmann::json& controller, int targetId)
    {
        for (const nlohmann::json& ld : controller["lds"])
            if (ld["targetId"] == targetId)
                return ld;
        return nlohmann::json();
    }

    void advance(const std::string& hostDir, const char* seconds)
    {
        RunSpec spec;
        spec.program = QUILLSIM_BIN;
        spec.args = {"advance", hostDir, seconds};
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        EXPECT_EQ(r.exitCode, 0) << r.err;
    }
};

} // namespace

TEST_F(VdExpansionE2e, InfoForEveryDrive)
{
    const std::string dir = host(expandable());
    // Mirror: 8388608 free blocks on each of 2 drives at RAID 1 = 4 GiB; its drives hold 931 GiB
    // at RAID 1, of which it uses 4. Parity: (1952448512 - 4194304) x 2 blocks = 1.814 TB; its
    // array is as large as its drives already.
    expectRun(dir, {"-getLdExpansionInfo", "-Lall", "-a0"},
              possible(1, "4.0 GB", "927.0 GB") + possible(2, "1.814 TB", "0 KB"), 0, {});
    expectRun(dir, {"-getLdExpansionInfo", "-L2,5", "-a0"},
              possible(2, "1.814 TB", "0 KB") + "Adapter 0: Virtual Drive 5 Does not Exist.\n", 1, {});
}

TEST_F(VdExpansionE2e, InfoWhereNothingCanGrow)
{
    // The parity drive fills its array; the mirror may not grow now (bit 4 of its word clear).
    nlohmann::json edit = expandable();
    edit["info"]["reportingFeatures"] = "0x40";
    edit["lds"][0]["spans"][0].erase("blockCount");
    edit["lds"][1]["allowedOperations"] = "0xffffffef";
    const std::string dir = host(edit);
    expectRun(dir, {"-getLdExpansionInfo", "-LALL", "-a0"}, notPossible(1) + notPossible(2), 0,
              {"host=2 opcode=" + std::string(ALLOWED_OPS) + " status=0x00",
               "host=2 opcode=" + std::string(ALLOWED_OPS) + " status=0x00"});
}

TEST_F(VdExpansionE2e, RoomWithinDisksNeverWraps)
{
    // A drive of two RAID 1 spans of 2^30 blocks each on arrays of 1610612736 blocks: it holds
    // 2^31 blocks, more than the 1952448512 its level leaves on two of its drives, so the drives
    // have no room left for it (rather than a wrapped, enormous size). On its first array a small
    // mirror follows it and leaves 2^28 free blocks per drive: 128 GiB at RAID 1; the second array
    // is its alone, and the model gives a spanned drive's own array no free extent.
    nlohmann::json drives = drivesHost()["controllers"][0]["drives"];
    for (nlohmann::json& d : drives)
        if (d["deviceId"] == 13 || d["deviceId"] == 14)
            d["state"] = "0x18";
    nlohmann::json edit = expandable();
    edit["drives"] = drives;
    edit["spares"] = nlohmann::json::array();
    edit["arrays"] = nlohmann::json::parse(R"([{"ref": 0, "drives": [8, 9], "sizeBlocks": 1610612736},
        {"ref": 1, "drives": [10, 11, 12]}, {"ref": 2, "drives": [13, 14], "sizeBlocks": 1610612736}])");
    edit["lds"][1] = nlohmann::json::parse(R"({"targetId": 3, "name": "spanned", "raidLevel": 1,
        "secondaryRaidLevel": 3, "drivesPerSpan": 2, "spanDepth": 2, "drives": [8, 9, 13, 14],
        "spans": [{"array": 0, "blockCount": 1073741824}, {"array": 2, "blockCount": 1073741824}]})");
    edit["lds"][2] = nlohmann::json::parse(R"({"targetId": 4, "name": "small", "raidLevel": 1, "drivesPerSpan": 2,
        "drives": [8, 9], "spans": [{"array": 0, "startBlock": 1073741824, "blockCount": 268435456}]})");
    const std::string dir = host(edit);
    expectRun(dir, {"-getLdExpansionInfo", "-L3", "-a0"}, possible(3, "128.0 GB", "0 KB") + notPossible(3), 0, {});
}

TEST_F(VdExpansionE2e, ExpansionGrowsTheArrayFirst)
{
    const std::string dir = host(expandable());
    expectRun(dir, {"-LdExpansion", "-p20", "-L1", "-a0"}, "Expansion of Virtual Drive 1 on Adapter 0 Success.\n", 0,
              {"host=2 opcode=" + std::string(SET_ARRAY) + " status=0x00",
               "host=2 opcode=" + std::string(RECONSTRUCT_START) + " status=0x00"});
    EXPECT_EQ(longops::mailboxes(dir, RECONSTRUCT_START), (Lines{"0x00010001,0x00000000,0x00000000"}));
    nlohmann::json controller = controllerState(dir);
    // The array takes its smallest drive's size; the request as the firmware read it: the
    // drive's own level, no drive change, the array's drives, 20 %.
    EXPECT_EQ(controller["arrays"][0]["sizeBlocks"], 1952448512u);
    EXPECT_EQ(ldOf(controller, 1)["progress"],
              nlohmann::json::parse(R"([{"operation": "reconstruction", "newRaidLevel": 1,
                                         "reconstructDrives": [8, 9], "expansionPercent": 20}])"));
    // At its end the mirror's span holds 20 % of the 1944059904 blocks that followed it.
    advance(dir, "100");
    controller = controllerState(dir);
    EXPECT_EQ(ldOf(controller, 1)["spans"][0]["blockCount"], 397200588u);
    EXPECT_EQ(ldOf(controller, 1)["sizeBlocks"], 397200588u);
}

TEST_F(VdExpansionE2e, ExpansionWithoutGrowingTheArray)
{
    const std::string dir = host(expandable());
    expectRun(dir, {"-LdExpansion", "-p20", "-dontExpandArray", "-L1", "-a0"},
              "Expansion of Virtual Drive 1 on Adapter 0 Success.\n", 0,
              {"host=2 opcode=" + std::string(RECONSTRUCT_START) + " status=0x00"});
    nlohmann::json controller = controllerState(dir);
    EXPECT_EQ(controller["arrays"][0]["sizeBlocks"], 16777216u);
    EXPECT_EQ(ldOf(controller, 1)["progress"][0]["expansionPercent"], 20);
    advance(dir, "100");
    // 20 % of the 8388608 free blocks of the 8 GiB array.
    EXPECT_EQ(ldOf(controllerState(dir), 1)["spans"][0]["blockCount"], 10066329u);
}

TEST_F(VdExpansionE2e, ExpansionRefusals)
{
    nlohmann::json edit = expandable();
    edit["lds"][0]["spans"][0].erase("blockCount");
    edit["lds"][1]["progress"] = nlohmann::json::parse(R"([{"operation": "consistencyCheck"}])");
    const std::string dir = host(edit);
    // Checked before any drive is looked up.
    expectRun(dir, {"-LdExpansion", "-p150", "-L0", "-a0"},
              "Invalid input, Percentage of expansion cannot be more than 100 \n", 0, {});
    // The mirror runs a check: the firmware refuses and its status is the result; the parity
    // drive fills its array (written all the same).
    expectRun(dir, {"-LdExpansion", "-p10", "-L1", "-a0"},
              "Failed to Expand Virtual Drive 1 on adapter 0.\n\nFW error description: \n The requested virtual disk "
              "operation cannot be performed because consistency check is in progress.  \n",
              0x17,
              {"host=2 opcode=" + std::string(SET_ARRAY) + " status=0x00",
               "host=2 opcode=" + std::string(RECONSTRUCT_START) + " status=0x17"});
    expectRun(dir, {"-LdExpansion", "-p10", "-L2,1", "-a0"},
              "Expansion of Virtual Drive 2 on Adapter 0 is not possible due to space limitation.\n"
              "Failed to Expand Virtual Drive 1 on adapter 0.\n\nFW error description: \n The requested virtual "
              "disk operation cannot be performed because consistency check is in progress.  \n",
              0x17,
              {"host=2 opcode=" + std::string(SET_ARRAY) + " status=0x00",
               "host=2 opcode=" + std::string(SET_ARRAY) + " status=0x00",
               "host=2 opcode=" + std::string(RECONSTRUCT_START) + " status=0x17"});
    // A drive that may not grow now is passed over without a command.
    edit["info"]["reportingFeatures"] = "0x40";
    edit["lds"][1]["allowedOperations"] = "0xffffffef";
    edit["lds"][1].erase("progress");
    const std::string locked = host(edit);
    expectRun(locked, {"-LdExpansion", "-p10", "-LALL", "-a0"},
              "Expansion of Virtual Drive 1 on Adapter 0 is not Allowed.\n"
              "Expansion of Virtual Drive 2 on Adapter 0 is not possible due to space limitation.\n",
              0,
              {"host=2 opcode=" + std::string(ALLOWED_OPS) + " status=0x00",
               "host=2 opcode=" + std::string(ALLOWED_OPS) + " status=0x00",
               "host=2 opcode=" + std::string(SET_ARRAY) + " status=0x00"});
}

TEST_F(VdExpansionE2e, ControllerWithoutExpansionOrDrives)
{
    nlohmann::json edit = expandable();
    edit["info"]["storageFeatures"] = "0x00";
    const std::string unsupported = host(edit);
    const std::string refused = "Online Capacity Expansion without adding drives is not supported\n";
    expectRun(unsupported, {"-getLdExpansionInfo", "-Lall", "-a0"}, refused, 0, {});
    expectRun(unsupported, {"-LdExpansion", "-p20", "-L1", "-a0"}, refused, 0, {});
    const std::string none = host(nlohmann::json::parse(
        R"({"info": {"storageFeatures": "0x10"}, "lds": [], "arrays": [], "spares": []})"));
    expectRun(none, {"-LdExpansion", "-p10", "-LALL", "-a0"}, "Adapter 0: No Virtual Drive Configured.\n", 0, {});
    expectRun(none, {"-getLdExpansionInfo", "-L0", "-a0"}, "Adapter 0: No Virtual Drive Configured.\n", 0, {});
}
