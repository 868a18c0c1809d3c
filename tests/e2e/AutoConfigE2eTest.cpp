// The configurations the program builds by itself: one RAID-0 virtual drive per free drive
// (-CfgEachDskRaid0), one virtual drive over all free drives (-CfgAllFreeDrv) and the SSD cache
// (-CfgTidewellAdd, -Tidewell), through the real binary and hosts made from descriptions:
// console, exit code, the configuration commands in the host's log and the configuration the
// controller holds afterwards.
#include "FirmwareCaseE2e.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

using namespace e2ecase;

const std::string FAILED = "\nAdapter 0: Configure Adapter Failed\n";
const char* const CFG_ADD = "0x04020000";
const char* const SPIN_UP = "0x020d0200";
const char* const MAKE_SPARE = "0x04040000";
const char* const SET_ASSOCIATIONS = "0x03100100";

// One run: the host's controller edit (a description of its drives and configuration), the
// faults, the command line, and what it must leave.
struct Row {
    const char* what;
    const char* controller;           // JSON merged into the controller of the preset host
    std::vector<Lines> faults;
    Lines args;
    int exitCode;
    std::string out;
    Lines changes;                    // the log's commands of `changeOpcodes`, in order
    Lines lds;                        // "target: drives" of the controller's logical drives after the run
    Lines spares;                     // device ids of its hot spares after the run
};

class AutoConfigE2e : public FirmwareCaseE2e {
protected:
    // The logged commands with one of the opcodes.
    static Lines only(const Lines& log, const Lines& opcodes)
    {
        Lines kept;
        for (const std::string& line : log)
            for (const std::string& op : opcodes)
                if (line.find(" opcode=" + op + " ") != std::string::npos)
                    kept.push_back(line);
        return kept;
    }

    static Lines vdsOf(const nlohmann::json& controller)
    {
        Lines out;
        for (const nlohmann::json& ld : controller.value("lds", nlohmann::json::array())) {
            std::string line = std::to_string(ld["targetId"].get<int>()) + ":";
            for (const nlohmann::json& d : ld.value("drives", nlohmann::json::array()))
                line += " " + std::to_string(d.get<int>());
            if (ld.value("sscCache", 0) == 1)
                line += " (SSD cache)";
            if (ld.value("cacheAssociation", 0) == 1)
                line += " (cached)";
            out.push_back(line);
        }
        return out;
    }

    static Lines sparesOf(const nlohmann::json& controller)
    {
        Lines out;
        for (const nlohmann::json& s : controller.value("spares", nlohmann::json::array()))
            out.push_back(std::to_string(s["deviceId"].get<int>()) + (s.value("dedicated", false) ? " dedicated" : ""));
        return out;
    }

    void expectRows(const std::vector<Row>& rows, const Lines& changeOpcodes)
    {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.what);
            Case run{row.what, "one", nlohmann::json::parse(row.controller), row.faults, row.args, row.exitCode,
                     "", {}, {}};
            std::string dir;
            RunResult r = runCase(run, &dir);
            EXPECT_EQ(r.exitCode, row.exitCode);
            EXPECT_EQ(r.out, row.out);
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(only(loggedFirmwareCommands(dir), changeOpcodes), row.changes);
            nlohmann::json state = nlohmann::json::parse(readFile(dir + "/state.json"));
            EXPECT_EQ(vdsOf(state["controllers"][0]), row.lds);
            EXPECT_EQ(sparesOf(state["controllers"][0]), row.spares);
        }
    }
};

// The enclosure and its own entry; the drives of each row follow in the row's edit.
#define ENCLOSURE                                                 \
    R"("enclosures": [{"deviceId": 252, "slots": 12}], "lds": [], "arrays": [], "spares": [],)" \
    R"("drives": [{"deviceId": 252, "enclosureId": 252, "slot": 0, "type": 13, "position": 1},)"

const char* const THREE_DISKS = "{" ENCLOSURE R"(
    {"deviceId": 10, "enclosureId": 252, "slot": 2},
    {"deviceId": 11, "enclosureId": 252, "slot": 3},
    {"deviceId": 20, "slot": 0}]})";

const char* const DISK_AND_SSD = "{" ENCLOSURE R"(
    {"deviceId": 10, "enclosureId": 252, "slot": 2},
    {"deviceId": 14, "enclosureId": 252, "slot": 4, "media": "SSD"},
    {"deviceId": 11, "enclosureId": 252, "slot": 3}]})";

const char* const SPUN_DOWN = "{" ENCLOSURE R"(
    {"deviceId": 10, "enclosureId": 252, "slot": 2, "powerState": 1},
    {"deviceId": 11, "enclosureId": 252, "slot": 3}],
    "info": {"powerFeatures": "0x02"}})";

// Every drive is in an array and no enclosure entry is listed: nothing is outside the arrays.
const char* const ALL_CONFIGURED = R"({"enclosures": [{"deviceId": 252, "slots": 8}],
    "drives": [{"deviceId": 8, "enclosureId": 252, "slot": 0, "state": "0x18"}],
    "arrays": [{"ref": 0, "drives": [8]}], "spares": [],
    "lds": [{"targetId": 0, "drives": [8], "spans": [{"array": 0}]}]})";

std::string configured(int slot, int enclosure = 252)
{
    return "Configured physical device at Encl-" + std::to_string(enclosure) + ":Slot-" + std::to_string(slot) + ".\n";
}

std::string created(int target)
{
    return "Adapter 0: Created VD " + std::to_string(target) + "\n";
}

std::string summary(int count)
{
    return "\n" + std::to_string(count) + " physical devices are Configured on adapter 0.\n";
}

std::string addSent(const char* status = "0x00")
{
    return sent(2, CFG_ADD, status);
}

}  // namespace

TEST_F(AutoConfigE2e, EachDiskRaid0)
{
    const std::string ssdLine = "Invalid power savings level input for physical device at Encl-252:Slot-4.\n";
    expectRows({
        {"a refused drive is tried again after each later success", THREE_DISKS,
         {{"status", CFG_ADD, "0x32", "--once"}}, {"-CfgEachDskRaid0", "WB", "RA", "Cached", "-a0"}, 0,
         BLANK_OUT + "Failed to configure physical device at Encl-252:Slot-2.\n" + created(0) + configured(3) +
             created(1) + configured(2) + created(2) + configured(0, 65535) + summary(3) + exitLine("00"),
         {addSent("0x32"), addSent(), addSent(), addSent()}, {"0: 11", "1: 10", "2: 20"}, {}},
        {"an SSD with -Maximum is passed over at every walk; the disks are configured", DISK_AND_SSD, {},
         {"-CfgEachDskRaid0", "-Maximum", "-a0"}, 0,
         BLANK_OUT + created(0) + configured(2) + ssdLine + created(1) + configured(3) + ssdLine + summary(2) +
             exitLine("00"),
         {addSent(), addSent()}, {"0: 10", "1: 11"}, {}},
        {"a spun-down drive is spun up first where the controller asks for it", SPUN_DOWN, {},
         {"-CfgEachDskRaid0", "-a0"}, 0,
         BLANK_OUT + "\n Device at Enclosure - 252, Slot - 2 is being Spin Up for Configuration" +
             "\n Device at Enclosure - 252, Slot - 2 Spun Up for Configuration Creation\n" + created(0) +
             configured(2) + created(1) + configured(3) + summary(2) + exitLine("00"),
         {sent(2, SPIN_UP), addSent(), addSent()}, {"0: 10", "1: 11"}, {}},
        {"no drive outside the arrays", ALL_CONFIGURED, {}, {"-CfgEachDskRaid0", "-a0"}, 12,
         BLANK_OUT + "\nThere is no configurable physical drive available on adapter 0.\n" + exitLine("0c"), {},
         {"0: 8"}, {}},
    }, {CFG_ADD, SPIN_UP});
}

namespace {

// Six free drives of distinct sizes, SAS and SATA (smallest first: 15, 16, 10, 12, 11, 13).
#define SIX_SIZED_DRIVES                                                                                   \
    R"({"deviceId": 10, "enclosureId": 252, "slot": 2, "coercedBlocks": 1952448512},)"                    \
    R"({"deviceId": 11, "enclosureId": 252, "slot": 3, "coercedBlocks": 3904897024, "rawBlocks": 3907029168},)" \
    R"({"deviceId": 12, "enclosureId": 252, "slot": 4, "coercedBlocks": 1953497088, "interface": "SATA"},)" \
    R"({"deviceId": 13, "enclosureId": 252, "slot": 5, "coercedBlocks": 7809794048, "rawBlocks": 7814037168, "interface": "SATA"},)" \
    R"({"deviceId": 15, "enclosureId": 252, "slot": 7, "coercedBlocks": 975175680, "rawBlocks": 976773168},)" \
    R"({"deviceId": 16, "enclosureId": 252, "slot": 8, "coercedBlocks": 976224256, "rawBlocks": 976773168, "interface": "SATA"})"

const char* const SIX_DRIVES = "{" ENCLOSURE SIX_SIZED_DRIVES "]}";
const char* const SEVEN_DRIVES = "{" ENCLOSURE SIX_SIZED_DRIVES R"(,
    {"deviceId": 17, "enclosureId": 252, "slot": 9}]})";
// The same sizes, all SAS: drives of one kind can be spanned.
const char* const SIX_SAS = "{" ENCLOSURE R"(
    {"deviceId": 10, "enclosureId": 252, "slot": 2, "coercedBlocks": 1952448512},
    {"deviceId": 11, "enclosureId": 252, "slot": 3, "coercedBlocks": 3904897024, "rawBlocks": 3907029168},
    {"deviceId": 12, "enclosureId": 252, "slot": 4, "coercedBlocks": 1953497088},
    {"deviceId": 13, "enclosureId": 252, "slot": 5, "coercedBlocks": 7809794048, "rawBlocks": 7814037168},
    {"deviceId": 15, "enclosureId": 252, "slot": 7, "coercedBlocks": 975175680, "rawBlocks": 976773168},
    {"deviceId": 16, "enclosureId": 252, "slot": 8, "coercedBlocks": 976224256, "rawBlocks": 976773168}]})";
const char* const SAS_ONLY = "{" ENCLOSURE R"(
    {"deviceId": 10, "enclosureId": 252, "slot": 2},
    {"deviceId": 11, "enclosureId": 252, "slot": 3}]})";

const std::string NO_FREE_DRIVE = "\nNo Configurable Disk Available for Configuraiton on Adapter 0.\n";

}  // namespace

TEST_F(AutoConfigE2e, AllFreeDrivesRefusals)
{
    expectRows({
        {"no free drive", ALL_CONFIGURED, {}, {"-CfgAllFreeDrv", "-r5", "-a0"}, 12,
         BLANK_OUT + NO_FREE_DRIVE + exitLine("0c"), {}, {"0: 8"}, {}},
        {"-SATAOnly without a SATA drive", SAS_ONLY, {}, {"-CfgAllFreeDrv", "-r1", "-SATAOnly", "-a0"}, 12,
         BLANK_OUT + NO_FREE_DRIVE + exitLine("0c"), {}, {}, {}},
        {"a span count of 0 divides nothing", SIX_DRIVES, {}, {"-CfgAllFreeDrv", "-r5", "-SpanCount", "0", "-a0"}, 1,
         BLANK_OUT + FAILED + exitLine("01"), {}, {}, {}},
        {"spares that leave no drive for the virtual drive", SIX_DRIVES, {},
         {"-CfgAllFreeDrv", "-r0", "-HspCount", "6", "-a0"}, 1, BLANK_OUT + FAILED + exitLine("01"), {}, {},
         {}},
        {"RAID 10 in one span", SIX_DRIVES, {}, {"-CfgAllFreeDrv", "-r10", "-a0"}, 30,
         BLANK_OUT + "\nAt least two arrays must be specified to configure spanned VD.\n" + exitLine("1e"), {}, {}, {}},
        {"seven drives do not divide into two spans, and fewer than two are not tried", SEVEN_DRIVES, {},
         {"-CfgAllFreeDrv", "-r5", "-SpanCount", "2", "-a0"}, 1, BLANK_OUT + FAILED + exitLine("01"), {}, {},
         {}},
    }, {CFG_ADD, MAKE_SPARE});
}

namespace {

// Two mirrored disks (virtual drive 0), one disk (1), a free disk and two free solid-state
// drives; room for one SSD cache, associations by command allowed.
#define SSD_CACHE_HOST_DRIVES                                                                  \
    R"({"deviceId": 8, "enclosureId": 252, "slot": 0, "state": "0x18"},)"                      \
    R"({"deviceId": 9, "enclosureId": 252, "slot": 1, "state": "0x18"},)"                      \
    R"({"deviceId": 10, "enclosureId": 252, "slot": 2, "state": "0x18"},)"                     \
    R"({"deviceId": 11, "enclosureId": 252, "slot": 3},)"                                      \
    R"({"deviceId": 14, "enclosureId": 252, "slot": 6, "media": "SSD"},)"                      \
    R"({"deviceId": 15, "enclosureId": 252, "slot": 7, "media": "SSD"}])"
#define TWO_VDS                                                                                \
    R"("arrays": [{"ref": 0, "drives": [8, 9]}, {"ref": 1, "drives": [10]}],)"                 \
    R"("lds": [{"targetId": 0, "raidLevel": 1, "drivesPerSpan": 2, "drives": [8, 9], "spans": [{"array": 0}]},)" \
    R"({"targetId": 1, "drives": [10], "spans": [{"array": 1}]})"

const char* const NO_CACHE_YET = R"({"info": {"maxSscSizeGB": 1, "sscFeatures": "0x01"},
    "enclosures": [{"deviceId": 252, "slots": 8}], "spares": [], "drives": [)" SSD_CACHE_HOST_DRIVES ","
    TWO_VDS "]}";
const char* const NO_SSD_CACHING = R"({"info": {"maxSscSizeGB": 0, "sscFeatures": "0x01"},
    "enclosures": [{"deviceId": 252, "slots": 8}], "spares": [], "drives": [)" SSD_CACHE_HOST_DRIVES ","
    TWO_VDS "]}";
// The SSD cache 2 on the solid-state drives serves virtual drive 0; room for one more cache.
const char* const CACHE_SERVES_0 = R"({"info": {"maxSscSizeGB": 2, "sscSizeGB": 1, "sscFeatures": "0x01"},
    "enclosures": [{"deviceId": 252, "slots": 8}], "spares": [], "drives": [)" SSD_CACHE_HOST_DRIVES R"(,
    "arrays": [{"ref": 0, "drives": [8, 9]}, {"ref": 1, "drives": [10]}, {"ref": 2, "drives": [14, 15]}],
    "lds": [{"targetId": 0, "raidLevel": 1, "drivesPerSpan": 2, "drives": [8, 9], "spans": [{"array": 0}],
             "cacheAssociation": 1},
            {"targetId": 1, "drives": [10], "spans": [{"array": 1}]},
            {"targetId": 2, "name": "cache0", "drivesPerSpan": 2, "drives": [14, 15], "spans": [{"array": 2}],
             "sscCache": 1}]})";

const Lines UNCHANGED = {"0: 8 9", "1: 10"};
const Lines SERVING_0 = {"0: 8 9 (cached)", "1: 10", "2: 14 15 (SSD cache)"};

}  // namespace

TEST_F(AutoConfigE2e, SsdCacheCreation)
{
    expectRows({
        {"the cache drive on two SSDs, then virtual drive 0 associated with it", NO_CACHE_YET, {},
         {"-CfgTidewellAdd", "-r0", "-Physdrv[252:6,252:7]", "-Name", "cache0", "WT", "-assign", "-L0", "-a0"}, 0,
         BLANK_OUT + "Adapter 0: Created VD 2\n" + "Successfully assigned VD to Cache  \n" + exitLine("00"),
         {addSent(), sent(2, SET_ASSOCIATIONS)}, SERVING_0, {}},
        {"a hard disk in the list", NO_CACHE_YET, {}, {"-CfgTidewellAdd", "-Physdrv[252:6,252:3]", "-a0"}, 1,
         BLANK_OUT + "Adapter 0: Device at Enclosure - 252, Slot - 3 is not Solid State Device.\n" + exitLine("01"),
         {}, UNCHANGED, {}},
        {"write back where SSD caches cannot write back", NO_CACHE_YET, {},
         {"-CfgTidewellAdd", "-Physdrv[252:6,252:7]", "WB", "-a0"}, 1,
         BLANK_OUT + "SSC is not supported WriteBack Mode \n" + exitLine("01"), {}, UNCHANGED, {}},
        {"RAID 1 where SSD caches cannot write back", NO_CACHE_YET, {},
         {"-CfgTidewellAdd", "-r1", "-Physdrv[252:6,252:7]", "-a0"}, 1,
         BLANK_OUT + "Unsupported RAID level \n" + FAILED + exitLine("01"), {}, UNCHANGED, {}},
        {"no SSD caching", NO_SSD_CACHING, {}, {"-CfgTidewellAdd", "-Physdrv[252:6,252:7]", "-a0"}, 1,
         BLANK_OUT + "SSC is not supported \n" + exitLine("01"), {}, UNCHANGED, {}},
    }, {CFG_ADD, SET_ASSOCIATIONS});
}

namespace {

const char* const AT_MAXIMUM = R"({"info": {"maxSscSizeGB": 1, "sscSizeGB": 1, "sscFeatures": "0x01"},
    "enclosures": [{"deviceId": 252, "slots": 8}], "spares": [], "drives": [)" SSD_CACHE_HOST_DRIVES ","
    TWO_VDS "]}";

}  // namespace

TEST_F(AutoConfigE2e, SsdCacheAssociations)
{
    const std::string sscdLine = " VD : 2  is SSCD VD, Can't associate to Tidewell Pool\n";
    expectRows({
        {"virtual drive 1 joins 0", CACHE_SERVES_0, {}, {"-Tidewell", "-assign", "-L1", "-a0"}, 0,
         BLANK_OUT + "Successfully assigned VD to Cache  \n" + exitLine("00"), {sent(2, SET_ASSOCIATIONS)},
         {"0: 8 9 (cached)", "1: 10 (cached)", "2: 14 15 (SSD cache)"}, {}},
        {"every drive but the cache itself", CACHE_SERVES_0, {}, {"-Tidewell", "-assign", "-LALL", "-a0"}, 0,
         BLANK_OUT + sscdLine + "Successfully assigned VD to Cache  \n" + exitLine("00"), {sent(2, SET_ASSOCIATIONS)},
         {"0: 8 9 (cached)", "1: 10 (cached)", "2: 14 15 (SSD cache)"}, {}},
        {"removing every drive writes one empty list", CACHE_SERVES_0, {}, {"-Tidewell", "-remove", "-LALL", "-a0"}, 0,
         BLANK_OUT + "Successfully removed VD from Cache  \n" + exitLine("00"), {sent(2, SET_ASSOCIATIONS)},
         {"0: 8 9", "1: 10", "2: 14 15 (SSD cache)"}, {}},
        {"a drive already served: nothing to change", CACHE_SERVES_0, {}, {"-Tidewell", "-assign", "-L0", "-a0"}, 1,
         BLANK_OUT + "failed to add VD to Cache \n" + exitLine("01"), {}, SERVING_0, {}},
        {"removing a drive that is not served", CACHE_SERVES_0, {}, {"-Tidewell", "-remove", "-L1", "-a0"}, 1,
         BLANK_OUT + "VD is not associated with Tidewell\n" + exitLine("01"), {}, SERVING_0, {}},
        {"a drive that does not exist", CACHE_SERVES_0, {}, {"-Tidewell", "-assign", "-L5", "-a0"}, 1,
         BLANK_OUT + "Adapter 0: Virtual Drive 5 Does not Exist.\n" + exitLine("01"), {}, SERVING_0, {}},
        {"the controller information of the association step cannot be read: nothing is written",
         CACHE_SERVES_0, {{"status", INFO, "0x03", "--from", "4"}}, {"-Tidewell", "-assign", "-L1", "-a0"}, 1,
         BLANK_OUT + "Adapter #0: Failed to Perform get adapter info Operation.\n" + exitLine("01"), {}, SERVING_0, {}},
        {"no SSD cache to serve the drive", NO_CACHE_YET, {}, {"-Tidewell", "-assign", "-L1", "-a0"}, 1,
         BLANK_OUT + "Failed to associate the VD as there is no Tidewell\n" + exitLine("01"), {}, UNCHANGED, {}},
        {"the room for SSD caches is checked for an association too", AT_MAXIMUM, {},
         {"-Tidewell", "-assign", "-L1", "-a0"}, 1, BLANK_OUT + "Maximum SSC is already configured to 1 \n" + exitLine("01"),
         {}, UNCHANGED, {}},
    }, {CFG_ADD, SET_ASSOCIATIONS});
}

TEST_F(AutoConfigE2e, AllFreeDrives)
{
    const std::string done = "Adapter 0: Created VD 0\n\nAdapter 0: Configured the Adapter!!\n";
    expectRows({
        {"RAID 5 on the four smallest drives, largest first; the two largest become global spares", SIX_DRIVES, {},
         {"-CfgAllFreeDrv", "-r5", "-HspCount", "2", "-a0"}, 0, BLANK_OUT + done + exitLine("00"),
         {addSent(), sent(2, MAKE_SPARE), sent(2, MAKE_SPARE)}, {"0: 12 10 16 15"}, {"11", "13"}},
        {"two spans of three: six drives divide", SIX_SAS, {}, {"-CfgAllFreeDrv", "-r5", "-SpanCount", "2", "-a0"}, 0,
         BLANK_OUT + done + exitLine("00"), {addSent()}, {"0: 13 11 12 10 16 15"}, {}},
        {"three spans of two are refused for RAID 50: tried again with two spans", SIX_SAS, {},
         {"-CfgAllFreeDrv", "-r5", "-SpanCount", "3", "-a0"}, 0, BLANK_OUT + done + exitLine("00"), {addSent()},
         {"0: 13 11 12 10 16 15"}, {}},
        {"RAID 1 on the SATA drives alone; the SATA drive left becomes the spare", SIX_DRIVES, {},
         {"-CfgAllFreeDrv", "-r1", "-SATAOnly", "-HspCount", "1", "-a0"}, 0, BLANK_OUT + done + exitLine("00"),
         {addSent(), sent(2, MAKE_SPARE)}, {"0: 12 16"}, {"13"}},
        {"dedicated spares serve the new drive's array", SIX_DRIVES, {},
         {"-CfgAllFreeDrv", "-r5", "-HspCount", "2", "-HspType", "-Dedicated", "-a0"}, 0,
         BLANK_OUT + done + exitLine("00"), {addSent(), sent(2, MAKE_SPARE), sent(2, MAKE_SPARE)},
         {"0: 12 10 16 15"}, {"11 dedicated", "13 dedicated"}},
    }, {CFG_ADD, MAKE_SPARE});
}

// The lines that reached dispatch before these commands had their processors, on the preset
// host (a mirror on drives 8 and 9, free drives 10 and 11, no SSD caching).
TEST_F(AutoConfigE2e, ParsedLinesOnThePresetHost)
{
    expectRows({
        {"each disk on every adapter, with a strip size", "{}", {}, {"-CfgEachDskRaid0", "WT", "-strpsz", "64", "-aALL"},
         0, BLANK_OUT + created(1) + configured(2) + created(2) + configured(3) + summary(2) + exitLine("00"),
         {addSent(), addSent()}, {"0: 8 9", "1: 10", "2: 11"}, {}},
        {"one drive left after the spare does not divide into two spans", "{}", {},
         {"-CfgAllFreeDrv", "-r5", "-SpanCount", "2", "-HspCount", "1", "-a0"}, 1, BLANK_OUT + FAILED + exitLine("01"),
         {}, {"0: 8 9"}, {}},
        {"an SSD cache without SSD caching", "{}", {},
         {"-CfgTidewellAdd", "-PhysDrv[252:2]", "-Name", "fast", "WB", "-a0"}, 1,
         BLANK_OUT + "SSC is not supported \n" + exitLine("01"), {}, {"0: 8 9"}, {}},
        {"an association without SSD caching", "{}", {}, {"-Tidewell", "-Assign", "-L0", "-a0"}, 1,
         BLANK_OUT + "SSC is not supported \n" + exitLine("01"), {}, {"0: 8 9"}, {}},
    }, {CFG_ADD, MAKE_SPARE, SET_ASSOCIATIONS});
}
