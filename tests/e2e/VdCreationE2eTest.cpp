// Creating virtual drives on named drives (-CfgLdAdd, -CfgSpanAdd) through the real binary and
// simulated hosts made from tests/e2e/data/ldadd-host.json: drives 252:0-1 hold virtual drives
// 0 and 1 with a free gap between them, 252:2-7 are unconfigured, 252:8 has 4096-byte blocks,
// 252:9 is shielded, 252:10-11 are SSDs and slot 12 is empty. Each row checks the console, the
// exit code and every configuration-add buffer the controller received, byte for byte.
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

typedef std::vector<std::pair<size_t, std::string>> Patches;

const std::string CONFIGURED = "\nAdapter 0: Configured the Adapter!!\n";
const std::string FAILED = "\nAdapter 0: Configure Adapter Failed\n";
const char* const CFG_ADD = "opcode=0x04020000 ";
const char* const SPIN_UP_LIST = "opcode=0x020d0200 ";

// A buffer of `size` zero bytes with the given bytes (hex) laid over it at their offsets.
std::string buffer(size_t size, const Patches& patches)
{
    std::string hex(2 * size, '0');
    for (const auto& p : patches)
        hex.replace(2 * p.first, p.second.size(), p.second);
    return hex;
}

// The header of an add buffer of one logical drive and one or two arrays.
const Patches ONE_ARRAY = {{0, "400200000100200101000001000028"}};
const Patches TWO_ARRAYS = {{0, "600300000200200101000001000028"}};

Patches operator+(Patches a, const Patches& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct CreationRun {
    const char* what;
    nlohmann::json edit;         // merged into the host description
    Lines args;
    const char* exitCode;        // as the exit line shows it
    int status;                  // the process's exit status
    std::string out;             // after the blank-out line
    Lines buffers;               // every configuration-add buffer, in hex, in order
};

class VdCreationE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    std::string host(const nlohmann::json& edit)
    {
        nlohmann::json description =
            nlohmann::json::parse(readFile(std::string(QUILL_SOURCE_DIR) + "/tests/e2e/data/ldadd-host.json"));
        if (!edit.is_null())
            description.merge_patch(edit);
        std::string dir = makeSimHostFrom(description.dump(2));
        cleanup.push_back(dir.substr(0, dir.rfind('/')));
        return dir;
    }

    RunResult run(const std::string& dir, const Lines& args)
    {
        RunSpec spec;
        spec.args = args;
        spec.env = {{"QUILLCLI_SIM_HOST", dir}};
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        return r;
    }

    // The lines of the host's command log with the opcode.
    static Lines logged(const std::string& dir, const char* opcode)
    {
        Lines out;
        std::istringstream log(readFile(dir + "/commands.log"));
        std::string line;
        while (std::getline(log, line))
            if (line.find(opcode) != std::string::npos)
                out.push_back(line);
        return out;
    }

    static Lines buffersSent(const std::string& dir)
    {
        Lines out;
        for (const std::string& line : logged(dir, CFG_ADD)) {
            size_t at = line.find("data=");
            out.push_back(at == std::string::npos ? line : line.substr(at + 5));
        }
        return out;
    }

    void expectRuns(const std::vector<CreationRun>& runs)
    {
        for (const CreationRun& c : runs) {
            SCOPED_TRACE(c.what);
            const std::string dir = host(c.edit);
            RunResult r = run(dir, c.args);
            EXPECT_EQ(r.out, BLANK_OUT + c.out + exitLine(c.exitCode));
            EXPECT_EQ(r.exitCode, c.status);
            EXPECT_EQ(buffersSent(dir), c.buffers);
        }
    }

    static nlohmann::json state(const std::string& dir) { return nlohmann::json::parse(readFile(dir + "/state.json")); }

    Lines cleanup;
};

// The whole description of the file with the controller's edit merged (lists are replaced by
// merge_patch, so a controller edit carries the controller's whole entry).
nlohmann::json withController(const std::string& patch)
{
    nlohmann::json description =
        nlohmann::json::parse(readFile(std::string(QUILL_SOURCE_DIR) + "/tests/e2e/data/ldadd-host.json"));
    description["controllers"][0].merge_patch(nlohmann::json::parse(patch));
    return description;
}

// A RAID 1 of 252:2 and 252:3 (device ids 10, 11) as new array 1, the whole drives, VD 2.
const std::string MIRROR_2_3 =
    buffer(576, ONE_ARRAY + Patches{{34, "6074"}, {40, "020001"}, {64, "0a000100180000000b00010018"}, {320, "02"},
                                    {340, "05000005"}, {352, "01000007020103"}, {394, "6074"}, {400, "01"}});

// RAID 5 of 252:4-6 (ids 12-14) as array 1: 10 GB first, then 20 GB right after it.
const Patches RAID5_ARRAY = ONE_ARRAY + Patches{{34, "6074"}, {40, "030001"},
                                               {64, "0c000100180000000d000100180000000e00010018"},
                                               {340, "05000005"}, {352, "05030007030103"}, {400, "01"}};
const std::string RAID5_10GB = buffer(576, RAID5_ARRAY + Patches{{320, "02"}, {394, "a0"}});
const std::string RAID5_20GB_AFTER = buffer(576, RAID5_ARRAY + Patches{{320, "03"}, {386, "a0"}, {394, "4001"}});

// A 10 GB RAID 0 on array 0 (ids 8, 9) starting at the block given (hex, little-endian).
std::string raid0OnArray0(const char* targetId, const char* start, const char* blocks)
{
    return buffer(576, ONE_ARRAY + Patches{{34, "6074"}, {40, "02"}, {64, "08000100180000000900010018"},
                                           {320, targetId}, {340, "05000005"}, {355, "07020103"}, {386, start},
                                           {394, blocks}});
}

// Two new arrays (ids 10.. in order) under one spanned drive of the level byte and qualifier.
std::string spanned(const char* arrays, const char* layout)
{
    const bool three = std::string(arrays) == "3";
    return buffer(864, TWO_ARRAYS + Patches{{34, "6074"}, {40, three ? "030001" : "020001"},
                                            {64, three ? "0a000100180000000b000100180000000c00010018"
                                                       : "0a000100180000000b00010018"},
                                            {322, "6074"}, {328, three ? "030002" : "020002"},
                                            {352, three ? "0d000100180000000e000100180000000f00010018"
                                                        : "0c000100180000000d00010018"},
                                            {608, "02"}, {628, "05000005"}, {640, layout}, {682, "6074"},
                                            {688, "01"}, {706, "6074"}, {712, "02"}});
}

}  // namespace

TEST_F(VdCreationE2e, CreatesOnFreshDrivesAndFreeSpace)
{
    expectRuns({
        {"RAID 1 on two unconfigured drives", nullptr, {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-a0"}, "00", 0,
         "Adapter 0: Created VD 2\n" + CONFIGURED, {MIRROR_2_3}},
        {"two sizes: a new array, then its free space", nullptr,
         {"-CfgLdAdd", "-r5", "[252:4,252:5,252:6]", "-sz10GB", "-sz20GB", "-a0"}, "00", 0,
         "Adapter 0: Created VD 2\nAdapter 0: Created VD 3\n" + CONFIGURED, {RAID5_10GB, RAID5_20GB_AFTER}},
        {"the same with -AfterLd: the second right after the first", nullptr,
         {"-CfgLdAdd", "-r5", "[252:4,252:5,252:6]", "-sz10GB", "-sz20GB", "-AfterLd2", "-a0"}, "00", 0,
         "Adapter 0: Created VD 2\nAdapter 0: Created VD 3\n" + CONFIGURED, {RAID5_10GB, RAID5_20GB_AFTER}},
        {"free space: the first free extent, the gap after VD 0", nullptr,
         {"-CfgLdAdd", "-r0", "[252:0,252:1]", "-sz10GB", "-a0"}, "00", 0, "Adapter 0: Created VD 2\n" + CONFIGURED,
         {raid0OnArray0("02", "4001", "a0")}},
        {"-AfterLd1: after VD 1, not in the gap", nullptr,
         {"-CfgLdAdd", "-r0", "[252:0,252:1]", "-sz10GB", "-AfterLd1", "-a0"}, "00", 0,
         "Adapter 0: Created VD 2\n" + CONFIGURED, {raid0OnArray0("02", "c003", "a0")}},
        {"-AfterLd0 with two sizes: each slice follows the previous one", nullptr,
         {"-CfgLdAdd", "-r0", "[252:0,252:1]", "-sz10GB", "-sz5GB", "-AfterLd0", "-a0"}, "00", 0,
         "Adapter 0: Created VD 2\nAdapter 0: Created VD 3\n" + CONFIGURED,
         {raid0OnArray0("02", "4001", "a0"), raid0OnArray0("03", "e001", "50")}},
        {"RAID 10 over two arrays", nullptr,
         {"-CfgSpanAdd", "-r10", "-Array0[252:2,252:3]", "-Array1[252:4,252:5]", "-a0"}, "00", 0,
         "Adapter 0: Created VD 2\n" + CONFIGURED, {spanned("2", "01000007020203")}},
        {"RAID 50", nullptr,
         {"-CfgSpanAdd", "-r50", "-Array0[252:2,252:3,252:4]", "-Array1[252:5,252:6,252:7]", "-a0"}, "00", 0,
         "Adapter 0: Created VD 2\n" + CONFIGURED, {spanned("3", "05030007030203")}},
        {"RAID 60", nullptr,
         {"-CfgSpanAdd", "-r60", "-Array0[252:2,252:3,252:4]", "-Array1[252:5,252:6,252:7]", "-a0"}, "00", 0,
         "Adapter 0: Created VD 2\n" + CONFIGURED, {spanned("3", "06030007030203")}},
    });
}

TEST_F(VdCreationE2e, NewDriveIsShownAfterwards)
{
    const std::string dir = host(nullptr);
    RunResult made = run(dir, {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-a0"});
    EXPECT_EQ(made.exitCode, 0);
    RunResult shown = run(dir, {"-LDInfo", "-L2", "-a0"});
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_NE(shown.out.find("Virtual Drive: 2 (Target Id: 2)\n"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("RAID Level          : Primary-1, Secondary-0, RAID Level Qualifier-0\n"),
              std::string::npos);
    EXPECT_NE(shown.out.find("Size                : 931.0 GB\n"), std::string::npos);
    EXPECT_NE(shown.out.find("Number Of Drives    : 2\n"), std::string::npos);
    nlohmann::json drives = state(dir)["controllers"][0]["drives"];
    for (const nlohmann::json& d : drives) {
        if (d["deviceId"] == 10 || d["deviceId"] == 11) {
            EXPECT_EQ(d.value("state", std::string("0x0")), "0x18") << d.dump();
        }
    }
}

TEST_F(VdCreationE2e, DedicatedHotSpares)
{
    expectRuns({
        {"a present drive becomes a spare", nullptr, {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-Hsp[252:5]", "-a0"}, "00",
         0,
         "Adapter 0: Created VD 2\nAdapter: 0: Set Physical Drive at EnclId-252 SlotId-5 as Hot Spare Success.\n" +
             CONFIGURED,
         {MIRROR_2_3}},
        {"an absent one is reported, the rest skipped, and the command still succeeds", nullptr,
         {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-Hsp[252:12,252:5]", "-a0"}, "00", 0,
         "Adapter 0: Created VD 2\n\n\nAdapter 0: Device at Enclosure - 252, Slot - 12 is not found.\n"
         "Adapter: 0: Set Physical Drive at EnclId-252 SlotId-12 as Hot Spare Failed.\n" +
             CONFIGURED,
         {MIRROR_2_3}},
        {"another block size is refused; the virtual drive stays", nullptr,
         {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-Hsp[252:8]", "-a0"}, "01", 1,
         "Adapter 0: Created VD 2\nBlock size mismatch: Cannot set a disk with different block size as hotspare.\n" +
             FAILED,
         {MIRROR_2_3}},
    });
}

TEST_F(VdCreationE2e, RefusalsSendNoConfiguration)
{
    const std::string OEM_2 = R"({"mfcOemData": {"oemId": 2}})";
    expectRuns({
        {"a spanned level with one list", nullptr, {"-CfgLdAdd", "-r10", "[252:2,252:3]", "-a0"}, "1e", 30,
         "\nAt least two arrays must be specified to configure spanned VD.\n", {}},
        {"configured and unconfigured drives mixed", nullptr, {"-CfgLdAdd", "-r1", "[252:1,252:3]", "-a0"}, "0b", 11,
         "Mix of configured and unconfigured drives are not possible.\n", {}},
        {"an empty slot", nullptr, {"-CfgLdAdd", "-r1", "[252:2,252:12]", "-a0"}, "0c", 12,
         "\nDevice at [252 : 12] is not Disk\n" + FAILED, {}},
        {"a shielded drive", nullptr, {"-CfgLdAdd", "-r1", "[252:2,252:9]", "-a0"}, "01", 1,
         "Cannot create configuration with disks in Shielded state. \n" + FAILED, {}},
        {"arrays of unequal sizes", nullptr,
         {"-CfgSpanAdd", "-r10", "-Array0[252:2,252:3]", "-Array1[252:4,252:5,252:6]", "-a0"}, "09", 9, FAILED, {}},
        {"mixed block sizes", nullptr, {"-CfgLdAdd", "-r1", "[252:2,252:8]", "-a0"}, "01", 1,
         "Cannot create configuration with disks of different block size." + FAILED, {}},
        {"-enblPI without protection information", nullptr, {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-enblPI", "-a0"},
         "01", 1, "Adapter Doesn't support PI\n", {}},
        {"Secure on OEM 1", nullptr, {"-CfgLdAdd", "-r1", "[252:2,252:3]", "Secure", "-a0"}, "01", 1,
         "Invalid input\n", {}},
        {"FDE on OEM 2", withController(OEM_2), {"-CfgLdAdd", "-r1", "[252:2,252:3]", "FDE", "-a0"}, "01", 1,
         "Invalid input\n", {}},
        {"-Maximum on solid-state drives only", nullptr, {"-CfgLdAdd", "-r1", "[252:10,252:11]", "-Maximum", "-a0"},
         "01", 1, "Invalid power savings level input.\n", {}},
        {"a level the controller lacks (RAID 6 without bit 4)", withController(R"({"info": {"raidLevels": "0xe7"}})"),
         {"-CfgLdAdd", "-r6", "[252:2,252:3,252:4]", "-a0"}, "1e", 30, FAILED, {}},
        {"too many drives per span", nullptr, {"-CfgLdAdd", "-r1", "[252:2,252:3,252:4]", "-a0"}, "03", 3, FAILED,
         {}},
        {"a size above the maximum", nullptr, {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-sz5000GB", "-a0"}, "0d", 13,
         FAILED, {}},
        {"a strip that is no power of two", nullptr, {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-strpsz48", "-a0"}, "03", 3,
         FAILED, {}},
        {"no power savings on the controller: -Maximum", withController(R"({"info": {"ldFeatures": "0x0"}})"),
         {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-Maximum", "-a0"}, "01", 1,
         "Adapter does not support Power savings on logical drives.\n" + FAILED, {}},
        {"power saving not chosen per drive", withController(R"({"mfcDefaults": {"powerSavingOptions": "0x8"}})"),
         {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-Automatic", "-a0"}, "01", 1,
         "Power savings level cannot be selected on per logical drive basis.\n" + FAILED, {}},
        {"maximum power saving not allowed", withController(R"({"mfcDefaults": {"powerSavingOptions": "0xff"}})"),
         {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-MaximumWithoutCaching", "-a0"}, "01", 1,
         "Maximum power saving on logical drives is not allowed\n" + FAILED, {}},
        {"the manufacturing defaults cannot be read for the power-save rules: never used unfilled",
         nlohmann::json::parse(R"({"faults": [{"type": "status", "opcode": "0x010e0201", "status": "0x2d",
                                              "mode": "from", "count": 2}]})"),
         {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-a0"}, "01", 1,
         "\nFailed to read MFC default data from adapter\n" + FAILED, {}},
        {"no defaults at all: the read's status, nothing planned",
         nlohmann::json::parse(R"({"faults": [{"type": "status", "opcode": "0x010e0201", "status": "0x2d"}]})"),
         {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-a0"}, "2d", 0x2d,
         FAILED + "\nFW error description: \n The requested command has invalid arguments.  \n", {}},
        {"-AfterLd naming no drive of the group", nullptr,
         {"-CfgLdAdd", "-r0", "[252:0,252:1]", "-sz10GB", "-AfterLd5", "-a0"}, "03", 3, FAILED, {}},
        {"-AfterLd naming a drive followed by another drive", withController(R"({"lds": [
           {"targetId": 0, "drivesPerSpan": 2, "drives": [8, 9], "spans": [{"array": 0, "blockCount": 20971520}]},
           {"targetId": 1, "drivesPerSpan": 2, "drives": [8, 9],
            "spans": [{"array": 0, "startBlock": 20971520, "blockCount": 20971520}]}]})"),
         {"-CfgLdAdd", "-r0", "[252:0,252:1]", "-sz10GB", "-AfterLd0", "-a0"}, "03", 3, FAILED, {}},
        {"-AfterLd naming the last drive of the array", withController(R"({"lds": [
           {"targetId": 0, "drivesPerSpan": 2, "drives": [8, 9], "spans": [{"array": 0, "blockCount": 20971520}]},
           {"targetId": 1, "drivesPerSpan": 2, "drives": [8, 9],
            "spans": [{"array": 0, "startBlock": 41943040, "blockCount": 1910505472}]}]})"),
         {"-CfgLdAdd", "-r0", "[252:0,252:1]", "-sz10GB", "-AfterLd1", "-a0"}, "03", 3, FAILED, {}},
    });
}

TEST_F(VdCreationE2e, PowerSaveLevelSent)
{
    // Byte 26 of the logical-drive record (buffer offset 346) carries the level.
    const auto level = [](const char* value) {
        return buffer(576, ONE_ARRAY + Patches{{34, "6074"}, {40, "020001"}, {64, "0a000100180000000b00010018"},
                                               {320, "02"}, {340, "05000005"}, {346, value},
                                               {352, "01000007020103"}, {394, "6074"}, {400, "01"}});
    };
    expectRuns({
        {"-Maximum without the level that keeps the cache is sent as 6",
         withController(R"({"info": {"ldFeatures": "0x10"}})"),
         {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-Maximum", "-a0"}, "00", 0, "Adapter 0: Created VD 2\n" + CONFIGURED,
         {level("06")}},
        {"no word on a controller without power savings: NONE", withController(R"({"info": {"ldFeatures": "0x0"}})"),
         {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-a0"}, "00", 0, "Adapter 0: Created VD 2\n" + CONFIGURED,
         {level("fe")}},
        {"-Automatic", nullptr, {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-Automatic", "-a0"}, "00", 0,
         "Adapter 0: Created VD 2\n" + CONFIGURED, {level("01")}},
    });
}

TEST_F(VdCreationE2e, SpunDownDrivesSpinUpFirst)
{
    // 252:2 and 252:3 are spun down; 252:2 takes two rounds; the controller spins up before a
    // configuration (power features bit 1).
    const nlohmann::json spunDown = withController(R"({"drives": [
        {"deviceId": 252, "enclosureId": 252, "slot": 0, "type": 13, "position": 1},
        {"deviceId": 8, "enclosureId": 252, "slot": 0, "state": "0x18"},
        {"deviceId": 9, "enclosureId": 252, "slot": 1, "state": "0x18"},
        {"deviceId": 10, "enclosureId": 252, "slot": 2, "powerState": "0x1", "spinUpRounds": 2},
        {"deviceId": 11, "enclosureId": 252, "slot": 3, "powerState": "0x1"}]})");
    nlohmann::json busy = spunDown;
    busy["faults"] = nlohmann::json::parse(R"([{"type": "status", "opcode": "0x020d0200", "status": "0x56",
                                               "mode": "once"}])");
    nlohmann::json never = spunDown;
    never["faults"] = nlohmann::json::parse(R"([{"type": "status", "opcode": "0x020d0200", "status": "0x55"}])");
    const std::string started = "\nSpun Down PD's are being Spun Up for Configuration\n";
    const std::string soFar = "Out of 2 PD's Spun Down 0 PD's are Spun Up so far\n";
    const std::string done = "\nSpin up of 2 drives is successful\n";
    std::string stuck = started;
    for (int round = 0; round < 60; ++round)
        stuck += soFar;
    stuck += "\n Failed to spin up PD's\n";
    expectRuns({
        {"two rounds of 0x55, then spun up", spunDown, {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-a0"}, "00", 0,
         started + soFar + soFar + done + "Adapter 0: Created VD 2\n" + CONFIGURED, {MIRROR_2_3}},
        {"another set is spinning up first", busy, {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-a0"}, "00", 0,
         "\nAnother set of PD's is being Spun Up by Controller\n" + started + soFar + soFar + done +
             "Adapter 0: Created VD 2\n" + CONFIGURED,
         {MIRROR_2_3}},
        {"a controller that never finishes is given up after 60 rounds", never,
         {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-a0"}, "55", 0x55,
         stuck + FAILED + "\nFW error description: \n The requested power state update operation is in progress.  \n",
         {}},
    });
}

TEST_F(VdCreationE2e, SpinUpRoundsAreBoundedOnTheSimulatedClock)
{
    nlohmann::json never = withController(R"({"drives": [
        {"deviceId": 252, "enclosureId": 252, "slot": 0, "type": 13, "position": 1},
        {"deviceId": 10, "enclosureId": 252, "slot": 2, "powerState": "0x1"},
        {"deviceId": 11, "enclosureId": 252, "slot": 3}], "lds": [], "arrays": []})");
    never["faults"] = nlohmann::json::parse(R"([{"type": "status", "opcode": "0x020d0200", "status": "0x55"}])");
    const std::string dir = host(never);
    RunResult r = run(dir, {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-a0"});
    EXPECT_EQ(r.exitCode, 0x55);
    EXPECT_EQ(logged(dir, SPIN_UP_LIST).size(), 60u);
    EXPECT_EQ(state(dir)["clock"], 300) << "five seconds a round, none of them real";
}

TEST_F(VdCreationE2e, SsdCacheAssignment)
{
    const nlohmann::json withCache = withController(R"({
        "info": {"maxSscSizeGB": 512, "sscSizeGB": 372, "sscFeatures": "0x1"},
        "lds": [
          {"targetId": 0, "name": "first", "drivesPerSpan": 2, "drives": [8, 9], "sizeBlocks": 41943040,
           "spans": [{"array": 0, "blockCount": 20971520}]},
          {"targetId": 1, "name": "second", "drivesPerSpan": 2, "drives": [8, 9], "sizeBlocks": 41943040,
           "spans": [{"array": 0, "startBlock": 41943040, "blockCount": 20971520}]},
          {"targetId": 5, "name": "cache", "drives": [19], "sscCache": 1, "spans": [{"array": 1}]}],
        "arrays": [{"ref": 0, "drives": [8, 9]}, {"ref": 1, "drives": [19]}]})");
    // The cache's array is 1, so the new one is 2.
    const std::string mirrorAsArray2 = buffer(
        576, ONE_ARRAY + Patches{{34, "6074"}, {40, "020002"}, {64, "0a000100180000000b00010018"}, {320, "02"},
                                 {340, "05000005"}, {352, "01000007020103"}, {394, "6074"}, {400, "02"}});
    expectRuns({
        {"with an SSD cache", withCache, {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-Cache", "-a0"}, "00", 0,
         "Adapter 0: Created VD 2\nSuccessfully assigned VD to Cache  \n" + CONFIGURED, {mirrorAsArray2}},
        {"without one: the drive stays, the command fails", nullptr,
         {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-Cache", "-a0"}, "01", 1,
         "Adapter 0: Created VD 2\nTidewell is not supported \n", {MIRROR_2_3}},
    });
    const std::string dir = host(withCache);
    run(dir, {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-Cache", "-a0"});
    const nlohmann::json after = state(dir);
    for (const nlohmann::json& ld : after["controllers"][0]["lds"])
        EXPECT_EQ(ld.value("cacheAssociation", 0), ld["targetId"] == 2 ? 1 : 0) << ld.dump();

    // VD 0 is associated already; the list read back claims 200 entries in a block read for
    // one: only the one is taken, and the list written holds VD 0 and the new VD 2.
    nlohmann::json lying = withCache;
    lying["controllers"][0]["lds"][0]["cacheAssociation"] = 1;
    lying["faults"] = nlohmann::json::parse(R"([{"type": "corrupt", "opcode": "0x03100200", "offset": 4,
                                                "data": "c8000000", "mode": "from", "count": 2}])");
    const std::string lyingDir = host(lying);
    RunResult r = run(lyingDir, {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-Cache", "-a0"});
    EXPECT_EQ(r.exitCode, 0) << r.out;
    const Lines written = logged(lyingDir, "opcode=0x03100100 ");
    ASSERT_EQ(written.size(), 1u);
    EXPECT_NE(written[0].find(" len=24 status=0x00"), std::string::npos) << written[0];
    const nlohmann::json afterLying = state(lyingDir);
    for (const nlohmann::json& ld : afterLying["controllers"][0]["lds"])
        EXPECT_EQ(ld.value("cacheAssociation", 0), ld["targetId"] == 0 || ld["targetId"] == 2 ? 1 : 0) << ld.dump();
}

TEST_F(VdCreationE2e, OperatingSystemStepFails)
{
    const nlohmann::json noScan = withController(R"({"hostScan": false})");
    const std::string osFailed = "cli_is_path_file: stat on /sys/class/scsi_host/host2/scan failed\n"
                                 "Failed while adding the configuration to OS.\n";
    expectRuns({
        {"made but not visible: no success line", noScan, {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-a0"}, "fffffffe",
         254, osFailed, {MIRROR_2_3}},
        {"fresh drives: the spares still go to the drive's array", noScan,
         {"-CfgLdAdd", "-r1", "[252:2,252:3]", "-Hsp[252:5]", "-a0"}, "fffffffe", 254,
         osFailed + "Adapter: 0: Set Physical Drive at EnclId-252 SlotId-5 as Hot Spare Success.\n", {MIRROR_2_3}},
        {"free space: no drive handed out, so no spare is set and the result stays", noScan,
         {"-CfgLdAdd", "-r0", "[252:0,252:1]", "-sz10GB", "-Hsp[252:5]", "-a0"}, "fffffffe", 254,
         osFailed + "Adapter: 0: Set Physical Drive at EnclId-252 SlotId-5 as Hot Spare Failed.\n",
         {raid0OnArray0("02", "4001", "a0")}},
    });
}
