// The host-cache commands ("HK ...") through the real binary and the integrated-RAID library
// stand-in of a simulated host made from tests/e2e/data/hostcache-host.json: the console text,
// the exit code, the library commands in the host's command log, and the devices the driver
// keeps configured for the next run.
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

// A library command in the log: type, code, controller, data length and status.
std::string lib(int type, int code, int controller, int length, const char* status = "0x0")
{
    return "ir2 type=" + std::to_string(type) + " code=" + std::to_string(code) + " controller=" +
           std::to_string(controller) + " length=" + std::to_string(length) + " status=" + status;
}

const std::string PAGE = lib(11, 3, 0, 426320);
const std::string NO_PAGE = lib(11, 3, 0, 426320, "0x6002");
const std::string CDEV_LIST = lib(11, 1, 0, 213016);
const std::string VD_LIST = lib(11, 2, 0, 213016);

struct Device {
    const char* vendor;
    const char* model;
    const char* node;
    const char* secondNode;
    const char* scsiId;
    const char* capacity;
    const char* state;
    const char* path;
};

const Device SSD_A1 = {"ATA", "QS-400", "/dev/sdb", "/dev/sg1", "SSD_A1", "372.611 GB", "Online", "/dev/disk/by-id/ssd-a1"};
const Device VD_0 = {"QUILL", "VD RAID1", "/dev/sdd", "/dev/sg3", "VD_0", "931.0 GB", "Online", "/dev/disk/by-id/vd0"};
const Device VD_1 = {"QUILL", "VD RAID5", "/dev/sde", "/dev/sg4", "VD_1", "1.818 TB", "Ready For Online",
                     "/dev/disk/by-id/vd1"};
const Device VD_2 = {"QUILL", "VD RAID0", "/dev/sdg", "/dev/sg6", "VD_2", "465.5 GB", "Online", "/dev/disk/by-id/vd2"};

std::string shown(const Device& d, const char* configured = nullptr)
{
    std::string out = std::string("\n Vendor: ") + d.vendor + "\n Model: " + d.model + "\n Device Node: " + d.node +
                      " [" + d.secondNode + "]\n SCSI ID: " + d.scsiId + "\n Capacity: " + d.capacity +
                      "\n Device state: " + d.state + "\n";
    if (configured != nullptr)
        out += std::string(" Configured: ") + configured + "\n";
    return out + " Mapped Path: " + d.path + "\n";
}

const std::string DRIVER_NOT_LOADED = "\n CorvelHK driver not loaded. \n";

struct Case {
    const char* what;
    nlohmann::json edit;     // merged into the description's library section
    Lines args;
    int exitCode;
    std::string out;         // between the blank-out line and the exit line
    Lines library;           // the library commands after the bridge's initialization and discovery
};

class HostCacheE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    std::string host(const nlohmann::json& edit = nlohmann::json())
    {
        nlohmann::json description =
            nlohmann::json::parse(readFile(std::string(QUILL_SOURCE_DIR) + "/tests/e2e/data/hostcache-host.json"));
        if (!edit.is_null())
            description["ir2Library"].merge_patch(edit);
        const std::string base = makeTempDir("quillhk");
        cleanup.push_back(base);
        std::ofstream(base + "/description.json") << description.dump(2);
        RunSpec spec;
        spec.program = QUILLSIM_BIN;
        spec.args = {"create", base + "/host", "--from", base + "/description.json"};
        RunResult made = runProgram(spec);
        cleanup.push_back(made.workDir);
        EXPECT_EQ(made.exitCode, 0) << made.err;
        return base + "/host";
    }

    RunResult run(const std::string& dir, const Lines& args)
    {
        RunSpec spec;
        spec.args = args;
        spec.env = {{"QUILLCLI_SIM_HOST", dir}};
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        EXPECT_EQ(r.err, "");
        return r;
    }

    // The library commands logged since the last call, without the bridge's initialization and
    // discovery that open every run.
    Lines libraryCommands(const std::string& dir)
    {
        Lines out;
        std::istringstream log(readFile(dir + "/commands.log"));
        std::string line;
        while (std::getline(log, line)) {
            if (line.rfind("ir2 ", 0) == 0 && line != lib(0, 0, 0, 68) && line != lib(0, 10, 0, 68))
                out.push_back(line);
        }
        std::ofstream(dir + "/commands.log", std::ios::trunc);
        return out;
    }

    void expectRuns(const std::vector<Case>& cases)
    {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            const std::string dir = host(c.edit);
            RunResult r = run(dir, c.args);
            EXPECT_EQ(r.exitCode, c.exitCode);
            EXPECT_EQ(r.out, BLANK_OUT + c.out + exitLine(c.exitCode == 0 ? "00" : "01"));
            EXPECT_EQ(libraryCommands(dir), c.library);
        }
    }

    std::vector<std::string> cleanup;
};

} // namespace

TEST_F(HostCacheE2e, ConfigurationStatisticsAndLists)
{
    const nlohmann::json noCommands = nlohmann::json();
    expectRuns({
        {"configuration information", noCommands, {"HK", "-ConfigInfo"}, 0,
         "\n CorvelHK Version Number             : 3.2\n Name of the Cache Group            : cg-web\n"
         " Number of configured VDs           : 1\n Number of configured Cache Devices : 1\n",
         {PAGE}},
        {"statistics: sizes as capacities of half the block counts", noCommands, {"HK", "-PerfStats"}, 0,
         "\n Name of the Cache Group : cg-web\n Number of VDs           : 1\n Number of Cache Devices : 1\n"
         " Queue Depth             : 128\n Total Cache Size        : 372.611 GB\n Cache Size in use       : 1.0 GB\n"
         " Cache Line Size         : 128 blocks\n Cache Window Size       : 2048 blocks\n"
         " Number of reads         : 1000\n Number of writes        : 250\n Number of Cache Hits    : 900\n"
         " Number of Cache Misses  : 100\n",
         {PAGE, lib(11, 10, 0, 368)}},
        {"configured cache devices come from the page: no list is read", noCommands, {"HK", "-CdevList", "-Configured"},
         0, shown(SSD_A1), {PAGE}},
        {"every virtual drive with its own configured mark", noCommands, {"HK", "-VdList"}, 0,
         shown(VD_0, "YES") + shown(VD_1, "NO") + shown(VD_2, "NO"), {PAGE, VD_LIST}},
        {"unconfigured: those not on the page", noCommands, {"HK", "-VdList", "-Unconfigured"}, 0,
         shown(VD_1) + shown(VD_2), {PAGE, VD_LIST}},
        {"a list that counts fewer than it holds: only those counted", {{"hostCache", {{"vdListCount", 2}}}},
         {"HK", "-VdList"}, 0, shown(VD_0, "YES") + shown(VD_1, "NO"), {PAGE, VD_LIST}},
    });
}

TEST_F(HostCacheE2e, NoConfigurationAndNoDriver)
{
    const nlohmann::json nothingConfigured = {
        {"hostCache", {{"cacheDevices", {{{"scsiId", "SSD_A1"}}}}, {"vds", nlohmann::json::array()}}}};
    const nlohmann::json noDriver = {{"commands", {{{"type", 11}, {"code", 3}, {"status", "0x6001"}}}}};
    const nlohmann::json noDriverAtStart = {{"commands", {{{"type", 11}, {"code", 3}, {"status", "0x800a"}}}}};
    const nlohmann::json brokenList = {{"commands", {{{"type", 11}, {"code", 2}, {"status", "0x6001"}}}}};
    const nlohmann::json otherFailure = {{"commands", {{{"type", 11}, {"code", 3}, {"status", "0x6004"}}}}};
    expectRuns({
        {"information without a configuration", nothingConfigured, {"HK", "-ConfigInfo"}, 0, "", {NO_PAGE}},
        {"statistics without a configuration", nothingConfigured, {"HK", "-PerfStats"}, 0, "", {NO_PAGE}},
        {"configured list without a configuration", nothingConfigured, {"HK", "-CdevList", "-Configured"}, 0, "",
         {NO_PAGE}},
        {"driver not loaded", noDriver, {"HK", "-ConfigInfo"}, 1, DRIVER_NOT_LOADED, {lib(11, 3, 0, 426320, "0x6001")}},
        {"driver not loaded, first read's own status", noDriverAtStart, {"HK", "-VdList"}, 1, DRIVER_NOT_LOADED,
         {lib(11, 3, 0, 426320, "0x800a")}},
        {"the list's driver status", brokenList, {"HK", "-VdList"}, 1, DRIVER_NOT_LOADED,
         {PAGE, lib(11, 2, 0, 213016, "0x6001")}},
        {"any other status", otherFailure, {"HK", "-PerfStats"}, 1, "\n Internal Error. \n",
         {lib(11, 3, 0, 426320, "0x6004")}},
    });
}

TEST_F(HostCacheE2e, AddingRemovingAndOnlining)
{
    const nlohmann::json asGiven = nlohmann::json();
    expectRuns({
        {"data found without -force: warned, the next name is still added", asGiven,
         {"HK", "-AddCdev", "SSD_B2:SSD_C3"}, 1,
         "\n Cache device \"SSD_B2\" has filesystem / MBR / LVM / root / swap. \n All the data in the cache device will"
         " be permanently erased. \n Use 'force' option, if you still want to proceed. \n"
         "\n Device \"SSD_C3\" added successfully. \n",
         {PAGE, CDEV_LIST, lib(11, 6, 0, 832)}},
        {"-force adds it", asGiven, {"HK", "-AddCdev", "SSD_B2", "-force"}, 0,
         "\n Device \"SSD_B2\" added successfully. \n", {PAGE, CDEV_LIST, lib(11, 6, 0, 832)}},
        {"a name not listed: nothing sent for it", asGiven, {"HK", "-AddCdev", "NOPE"}, 1,
         "\n Device \"NOPE\" is not valid. \n", {PAGE, CDEV_LIST}},
        {"already configured", asGiven, {"HK", "-AddCdev", "SSD_A1"}, 1,
         "\n Device \"SSD_A1\" is already configured. \n", {PAGE, CDEV_LIST, lib(11, 6, 0, 832, "0x6008")}},
        {"the last cache device while drives are cached: the names after it are not tried", asGiven,
         {"HK", "-RemCdev", "SSD_A1:SSD_C3"}, 1,
         "\n VDs configured, unable to remove cache device \"SSD_A1\". \n Remove all VDs before removing the last"
         " cache device. \n",
         {PAGE, CDEV_LIST, lib(11, 7, 0, 832, "0x600f")}},
        {"removing one not configured", asGiven, {"HK", "-RemCdev", "SSD_C3"}, 1,
         "\n Device SSD_C3 not configured. \n", {PAGE, CDEV_LIST, lib(11, 7, 0, 832, "0x600e")}},
        {"a busy virtual drive", asGiven, {"HK", "-AddVd", "VD_2"}, 1, "\n Device VD_2 Busy. \n",
         {PAGE, VD_LIST, lib(11, 8, 0, 832, "0x600b")}},
        {"removing a drive not cached", asGiven, {"HK", "-RemVd", "VD_1"}, 1, "\n Device VD_1 not configured. \n",
         {PAGE, VD_LIST, lib(11, 9, 0, 832, "0x6007")}},
        {"onlining a drive not cached", asGiven, {"HK", "-OnlineVd", "VD_1"}, 1, "\n Device VD_1 not configured. \n",
         {PAGE, VD_LIST, lib(11, 12, 0, 832, "0x600e")}},
    });
}

TEST_F(HostCacheE2e, ChangesStayForTheNextRun)
{
    const std::string dir = host();
    const struct {
        Lines args;
        std::string out;
    } steps[] = {
        {{"HK", "-AddVd", "VD_1"}, "\n Device \"VD_1\" added successfully. \n"},
        {{"HK", "-OnlineVd", "VD_1"}, "\n Device \"VD_1\" Onlined successfully. \n"},
        {{"HK", "-RemVd", "VD_0"}, "\n Device \"VD_0\" removed successfully. \n"},
    };
    for (const auto& step : steps) {
        RunResult r = run(dir, step.args);
        EXPECT_EQ(r.out, BLANK_OUT + step.out + exitLine("00"));
    }
    Device online = VD_1;
    online.state = "Online";
    RunResult listed = run(dir, {"HK", "-VdList", "-Configured"});
    EXPECT_EQ(listed.out, BLANK_OUT + shown(online) + exitLine("00"));

    // Clearing sends the page the first read filled, and leaves no configuration behind.
    libraryCommands(dir);
    RunResult cleared = run(dir, {"HK", "-TidewellOhclConfiguration"});
    EXPECT_EQ(cleared.out, BLANK_OUT + "\n Clear configuration succeeded. \n" + exitLine("00"));
    EXPECT_EQ(libraryCommands(dir), (Lines{PAGE, lib(11, 5, 0, 426320)}));
    RunResult info = run(dir, {"HK", "-ConfigInfo"});
    EXPECT_EQ(info.out, BLANK_OUT + exitLine("00"));
    RunResult noCache = run(dir, {"HK", "-AddVd", "VD_1"});
    EXPECT_EQ(noCache.exitCode, 1);
    EXPECT_EQ(noCache.out, BLANK_OUT + "\n No cache device configured. Configure cache device before configuring VD. \n" +
                               exitLine("01"));
}

namespace {

const std::string CARD_7 =
    "Blazecard Index #%N \n\n"
    "==============================================================================\n\n"
    "                General Properties:\n                ================\n"
    "Controller ID         : 0x0007 \nProduct Name          : QuillRAID Flash 400\n"
    "Serial Number         : FC0007\nVendor ID             : 0x1e7a \nSub-Vendor ID         : 0x1e7a \n"
    "Device ID             : 0x00b0 \nSAS Address           : 500605b000000700 \nDevice Port Count     : 2 \n"
    "Host Interface        : SAS-3G\nMetadata Size         : 256 MB\nAlarm Present         : Present\n"
    "Cache Flush Interval  : NA\nCoercion Mode         : Zero Coercion\nBBU Present           : Present\n"
    "NVRAM Present         : Yes\nNVRAM Size            : NA\nNVDATA Version        : 3.4\n"
    "NVDATA Version        : 3.5\nBIOS Version          : 6.1\nNative Command Queuing: Disabled\n"
    "Flash Size            : NA\nShield State Supported: Yes\n\n\n"
    "                Blazecard Properties: \n                ================\n"
    "SSD Life Left    : 80 %\nController Status: Warning\nLife Curve Status: 2 \n"
    "Auxiliary Power  : Not Supported\n\n\n"
    "                Firmware Properties: \n                ================\n"
    "Firmware Package Version: 12.0.1-0007\nFirmware Version        : 2.0.1\n"
    "Firmware Build Time     : Jan 10 2015 08:00\nBackend SAS Address 0   : 5000000000000001 \n"
    "Backend SAS Address 1   : 5000000000000002 \nCluster Enable          : Yes\nCluster Active          : No\n"
    "SSD Gaurd               : Enabled\nSSD Disk Cache Setting  : Disabled\n\n\n"
    "                Drive Security Properties: \n                ================\n"
    "Drive Security Capable  : Yes\n\n";

std::string card7(int number)
{
    std::string text = CARD_7;
    text.replace(text.find("%N"), 2, std::to_string(number));
    return text;
}

std::string info(int controller) { return lib(1, 0, controller, 2048); }
std::string health(int controller) { return lib(10, 2, controller, 22); }

} // namespace

TEST_F(HostCacheE2e, FlashCards)
{
    const std::string cardList = lib(0, 3, 0, 68);
    expectRuns({
        {"the second card by index is shown as number 0", nlohmann::json(), {"HK", "-BlazecardInfo", "-i1"}, 0,
         card7(0), {cardList, info(0), info(5), info(7), info(7), health(7)}},
        {"an index beyond the cards", nlohmann::json(), {"HK", "-BlazecardInfo", "-i5"}, 1,
         "No Blazecard at this index", {cardList, info(0), info(5), info(7)}},
        {"no controllers in the card list: nothing", {{"cardCount", 0}}, {"HK", "-BlazecardInfo", "-iALL"}, 0, "",
         {cardList}},
        {"a failed health read", {{"commands", {{{"type", 10}, {"code", 2}, {"status", "0x1"}}}}},
         {"HK", "-BlazecardInfo", "-i0"}, 1, "\n Internal Error. \n",
         {cardList, info(0), info(5), info(5), lib(10, 2, 5, 22, "0x1")}},
    });
}

TEST_F(HostCacheE2e, EveryCardWithItsNumberAndAtMostSixteenPorts)
{
    nlohmann::json edit = {{"controllerInfo", nlohmann::json::parse(readFile(std::string(QUILL_SOURCE_DIR) +
                                                                             "/tests/e2e/data/hostcache-host.json"))
                                                  ["ir2Library"]["controllerInfo"]}};
    edit["controllerInfo"][1]["portCount"] = 20;
    for (int port = 0; port < 16; ++port)
        edit["controllerInfo"][1]["backendAddresses"].push_back(0x5000000000000100ULL + port);
    const std::string dir = host(edit);
    RunResult r = run(dir, {"HK", "-BlazecardInfo", "-iALL"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("Blazecard Index #0 \n"), std::string::npos);
    EXPECT_NE(r.out.find(card7(1)), std::string::npos);
    EXPECT_NE(r.out.find("Device Port Count     : 20 \n"), std::string::npos);
    EXPECT_NE(r.out.find("Backend SAS Address 15   : 500000000000010f \n"), std::string::npos);
    EXPECT_EQ(r.out.find("Backend SAS Address 16"), std::string::npos);
    EXPECT_EQ(r.out.find("QuillRAID SAS 4080-8i"), std::string::npos);   // controller 0 is no card
}
