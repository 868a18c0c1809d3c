// The adapter information display ("-AdpAllInfo") through the real QuillCli binary: described
// controllers whose fields carry distinct values, the text of each section, the exit code, and
// the firmware commands sent (each record read once per run, in the display's order).
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace {

const char* const INFO = "0x01010000";
const char* const OEM = "0x010e8481";
const char* const MFG = "0x010e0301";
const char* const KEYS = "0x010b0100";
const char* const DEFAULTS = "0x010e0201";
const char* const BIOS = "0x010c0100";
const char* const TIME = "0x01080101";
const char* const FRU = "0x010e0302";

std::string sent(unsigned host, const char* opcode, const char* outcome = "status=0x00")
{
    return "host=" + std::to_string(host) + " opcode=" + opcode + " " + outcome;
}

std::string title(const std::string& text)
{
    return std::string(16, ' ') + text + std::string(16, ' ') + "================\n";
}

class AdpAllInfoE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    // A host of the preset whose first controller's description is changed by `edit`, with the
    // faults given (each the arguments of one "quillsim fault HOST ...").
    std::string host(const char* preset, const nlohmann::json& controllerEdit,
                     const std::vector<std::vector<std::string>>& faults = {})
    {
        std::string dir = makeSimHost(preset);
        cleanup.push_back(dir.substr(0, dir.rfind('/')));
        std::string path = dir + "/state.json";
        nlohmann::json state = nlohmann::json::parse(readFile(path));
        state["controllers"][0].merge_patch(controllerEdit);
        std::ofstream(path) << state.dump(2);
        for (const std::vector<std::string>& fault : faults)
            EXPECT_EQ(addSimFault(dir, fault), "");
        return dir;
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

    // The commands of one -AdpAllInfo run on the one controller of host 2: discovery, the
    // model's refresh, check, then the eight reads (with the statuses given where a read fails).
    static std::vector<std::string> reads(std::vector<std::string> own)
    {
        std::vector<std::string> all = {sent(2, INFO)};
        for (const std::string& refresh : refreshReads(2))
            all.push_back(refresh);
        all.push_back(sent(2, OEM));
        all.insert(all.end(), own.begin(), own.end());
        return all;
    }

    std::vector<std::string> cleanup;
};

const nlohmann::json DESCRIBED = nlohmann::json::parse(R"({
  "info": {"controllerId": 17, "hostInterface": "0x3", "deviceInterface": "0x12", "sasAddress": "0x500605b0000b1c00",
           "backendPorts": 10, "productName": "QuillRAID SAS 9999-16e", "packageBuild": "12.15.0-0239",
           "devicesPresent": "0x85", "sensorsPresent": "0x0c", "rocTemperature": 61, "controllerTemperature": 48,
           "memoryMB": 512, "raidLevels": "0x07", "raidLevelOptions": "0x06", "driveMixing": "0x25",
           "minStripExponent": 0, "maxStripExponent": 8, "maxSscSizeGB": 512, "sscSizeGB": 700,
           "images": [{"name": "APP", "version": "3.400.05-4567"}, {"name": "BIOS", "version": "5.50.03.0"},
                      {"name": "XYZW", "version": "9.9"}],
           "chipRevision": "B1", "linkSpeed": 6, "frontendPorts": ["0x5000000000000001", "0x5000000000000002"],
           "pendingImages": [{"name": "APP"}, {"name": "BIOS"}], "expanderVersion": "EXP01.234.56",
           "maxParallelCommands": 1004, "maxSgeCount": 60, "maxTransferSectors": 2048, "fwCacheMB": 512},
  "mfgData": {"mfgYear": 12, "mfgMonth": 5, "mfgDay": 7, "reworkYear": 13, "reworkMonth": 10, "reworkDay": 31,
              "serialNumber": "SV12345678", "revision": "04B"},
  "fruData": {"batteryFru": "L3-25034"},
  "keyValues": [{"key": "a", "value": "1"}, {"key": "xdelaySODy", "value": "30"}, {"key": "b", "value": "2"}],
  "time": {"year": 2012, "month": 5, "day": 7, "hour": 9, "minute": 5, "second": 30},
  "mfcDefaults": {"stripExponent": 5, "writePolicy": 2, "readPolicy": 0, "powerSavingOptions": "0x80",
                  "patch": {"0x08": "03", "0x3e": "48", "0x40": "8d", "0x44": "05"}},
  "bios": {"errorHandling": 3}
})");

TEST_F(AdpAllInfoE2e, DescribedControllerShowsEachFieldWhereThePartPutsIt)
{
    std::string dir = host("one", DESCRIBED);
    RunResult r = run(dir, {"-AdpAllInfo", "-a0"});
    EXPECT_EQ(r.exitCode, 0);
    const std::string& out = r.out;
    auto has = [&](const std::string& text) {
        EXPECT_NE(out.find(text), std::string::npos) << "missing:\n" << text << "\nin:\n" << out;
    };
    has(BLANK_OUT + "Adapter #0\n\n" + std::string(78, '=') + "\n" + title("    Versions\n") +
        "Product Name    : QuillRAID SAS 9999-16e\nSerial No       : SV12345678\nFW Package Build: 12.15.0-0239\n\n" +
        title("    Mfg. Data\n") +
        "Mfg. Date       : 05/07/12\nRework Date     : 10/31/13\nRevision No     : 04B\nBattery FRU     : L3-25034\n\n" +
        title("Image Versions in Flash:\n") + "FW Version         : 3.400.05-4567\nBIOS Version       : 5.50.03.0\n\n" +
        title("Pending Images in Flash\n") + "APPBIOS\n" + title("PCI Info\n") +
        "Controller Id\t: 0011\nVendor Id       : 1e7a\nDevice Id       : 0040\nSubVendorId     : 1e7a\nSubDeviceId     : 4080\n\n"
        "Host Interface  : PCIX\n\nChipRevision    : B1\n\nLink Speed \t     : 6 \nNumber of Frontend Port: 2 \n"
        "Port  :  Address\n0        5000000000000001 \n1        5000000000000002 \n"
        "Device Interface  : SAS-3G\n\nNumber of Backend Port: 10 \nPort  :  Address\n");
    has("7        500605b0000b1c07 \n8        500605b0000b1c08 \n9        500605b0000b1c09 \n\n" + title("HW Configuration\n") +
        "SAS Address      : 0\nBBU              : Present\nAlarm            : Absent\nNVRAM            : Present\n"
        "Serial Debugger  : Absent\nMemory           : Absent\nFlash            : Absent\nMemory Size      : 512MB\n"
        "TPM              : Absent\nOn board Expander: Present\nTemperature sensor for ROC    : Present\n"
        "Temperature sensor for controller    : Present\n\nOn board Expander FW version : EXP01.234.56\n"
        "ROC temperature : 61  degree Celsius\nController temperature : 48  degree Celcius\n\n" + title("Settings\n") +
        "Current Time                     : 9:5:30 5/7, 2012\n");
    has("POST delay\t\t\t : 30 seconds\nBIOS Error Handling          \t : Safe Mode on Errors\n"
        "Current Boot Mode \t\t  :Normal\n" + title("Capabilities\n") +
        "RAID Level Supported             : RAID0, RAID1, RAID5, PRL 11, PRL11-RLQ0 DDF layout with no span\n"
        "Supported Drives                 : SAS\n\nAllowed Mixing:\n\nMix in Enclosure Allowed\n"
        "Mix of SAS/SATA of SSD type in VD Allowed\n\n");
    has("Max Parallel Commands    : 1004 \nMax SGE Count            : 60 \nMax Data Transfer Size   : 2048 sectors \n");
    has("Min Strip Size           : 512Bytes\n");
    has("Max Configurable Tidewell Size: 512 GB\nCurrent Size of Tidewell      : 512 GB\n"
        "Current Size of FW Cache       : 512 MB\n\n");
    has("Phy Polarity                     : 3 \n");
    has("Strip Size                       : 16kB\n");
    has("Write Policy                     : Adaptive\nRead Policy                      : None\n");
    // Bit 7 alone: the label stands without text and without line end.
    has("Power Saving option              : Default spin down time in minutes: 30 \nEnable JBOD                      : No\n"
        "TTY Log In Flash                 : Yes\nAuto Enhanced Import             : No\nBreakMirror RAID Support         : Yes\n"
        "Disable Join Mirror              : No\nEnable Shield State              : Yes\nTime taken to detect CME         : 5s\n"
        "\nExit Code: 0x00\n");
    EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(dir)), reads({sent(2, MFG), sent(2, KEYS), sent(2, OEM), sent(2, DEFAULTS),
                                                  sent(2, BIOS), sent(2, INFO), sent(2, TIME), sent(2, FRU)}));
}

// Texts that fill their fields carry no NUL: each is shown within its field, never running on
// into the field after it.
TEST_F(AdpAllInfoE2e, TextsThatFillTheirFieldsEndAtTheField)
{
    nlohmann::json full = nlohmann::json::parse(R"({
      "mfgData": {"serialNumber": "ABCDEFGHIJKLMNOP", "reworkYear": 13, "reworkMonth": 10, "reworkDay": 31,
                  "revision": "REV12345"},
      "fruData": {"batteryFru": "FRU12345", "cacheModuleFru": "CACHEMODULE"}
    })");
    RunResult r = run(host("one", full), {"-AdpAllInfo", "-a0"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("Serial No       : ABCDEFGHIJKLMNOP\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Revision No     : REV12345\nBattery FRU     : FRU12345\n"), std::string::npos) << r.out;
}

// Each read failing alone: what is printed, which reads follow, the exit code.
TEST_F(AdpAllInfoE2e, EachReadFailingAlone)
{
    const std::string failed = "Adapter #0: Failed to Perform AdpAll information Operation.\n";
    const std::string busy =
        "\nFW error description: \n The requested operation could not be completed as device is busy or unexpected error occurred.  \n";
    struct Case {
        const char* opcode;
        int exitCode;
        std::string shownFirst;   // the output begins with this
        std::string shownLast;    // and ends with this
        std::vector<std::string> own;
    };
    const std::string complete = "Time taken to detect CME         : 60s\n";
    const std::vector<Case> cases = {
        {MFG, 0, BLANK_OUT + failed + "Adapter #0\n\n", complete + "\nExit Code: 0x00\n",
         {sent(2, MFG, "status=0x2d"), sent(2, KEYS), sent(2, OEM), sent(2, DEFAULTS), sent(2, BIOS), sent(2, INFO),
          sent(2, TIME), sent(2, FRU)}},
        {KEYS, 0, BLANK_OUT + "Adapter #0\n\n", complete + "\nExit Code: 0x00\n",
         {sent(2, MFG), sent(2, KEYS, "status=0x2d"), sent(2, OEM), sent(2, DEFAULTS), sent(2, BIOS), sent(2, INFO),
          sent(2, TIME), sent(2, FRU)}},
        {DEFAULTS, 0x2d, BLANK_OUT + failed + busy + "\nExit Code: 0x2d\n", "",
         {sent(2, MFG), sent(2, KEYS), sent(2, OEM), sent(2, DEFAULTS, "status=0x2d")}},
        {BIOS, 0x2d, BLANK_OUT + busy + "\nExit Code: 0x2d\n", "",
         {sent(2, MFG), sent(2, KEYS), sent(2, OEM), sent(2, DEFAULTS), sent(2, BIOS, "status=0x2d")}},
        {TIME, 0, BLANK_OUT + "Adapter #0\n\n", complete + "\nExit Code: 0x00\n",
         {sent(2, MFG), sent(2, KEYS), sent(2, OEM), sent(2, DEFAULTS), sent(2, BIOS), sent(2, INFO),
          sent(2, TIME, "status=0x2d"), sent(2, FRU)}},
        {FRU, 0, BLANK_OUT + "Adapter #0\n\n", complete + "\nExit Code: 0x00\n",
         {sent(2, MFG), sent(2, KEYS), sent(2, OEM), sent(2, DEFAULTS), sent(2, BIOS), sent(2, INFO), sent(2, TIME),
          sent(2, FRU, "status=0x2d")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.opcode);
        std::string dir = host("one", nlohmann::json::object(), {{"status", c.opcode, "0x2d"}});
        RunResult r = run(dir, {"-AdpAllInfo", "-a0"});
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out.substr(0, c.shownFirst.size()), c.shownFirst) << r.out;
        if (!c.shownLast.empty()) {
            ASSERT_GE(r.out.size(), c.shownLast.size());
            EXPECT_EQ(r.out.substr(r.out.size() - c.shownLast.size()), c.shownLast);
        }
        EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(dir)), reads(c.own));
    }
}

// Without OEM data the cluster counts as disabled and SAS as enabled; the check's own OEM read
// fails too and does not stop the command.
TEST_F(AdpAllInfoE2e, FailedOemDataReadShowsClusterDisabled)
{
    nlohmann::json oem = {{"mfcOemData", {{"clusterDisable", 0}, {"disableSAS", 1}}}};
    RunResult described = run(host("one", oem), {"-AdpAllInfo", "-a0"});
    EXPECT_NE(described.out.find("Cluster Disable                  : No\nSAS Disable                      : Yes\n"),
              std::string::npos);
    RunResult failed = run(host("one", oem, {{"status", OEM, "0x03"}}), {"-AdpAllInfo", "-a0"});
    EXPECT_EQ(failed.exitCode, 0);
    EXPECT_NE(failed.out.find("Cluster Disable                  : Yes\nSAS Disable                      : No\n"),
              std::string::npos);
}

TEST_F(AdpAllInfoE2e, FailedInformationReadEndsTheCommandAfterItsMessage)
{
    // The check's own information reads pass; the display's (the fourth) fails.
    std::string dir = host("one", nlohmann::json::object(), {{"status", INFO, "0x2d", "--from", "3"}});
    RunResult r = run(dir, {"-AdpAllInfo", "-a0"});
    EXPECT_EQ(r.exitCode, 0x2d);
    EXPECT_EQ(r.out, BLANK_OUT + "Adapter #0: Failed to Perform AdpAll information Operation.\n"
                     "\nFW error description: \n The requested operation could not be completed as device is busy or "
                     "unexpected error occurred.  \n\nExit Code: 0x2d\n");
    EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(dir)), reads({sent(2, MFG), sent(2, KEYS), sent(2, OEM), sent(2, DEFAULTS),
                                                  sent(2, BIOS), sent(2, INFO, "status=0x2d")}));
}

// The command's result is the time read's status, whose description is printed; the exit code
// is the last firmware status of the run (the FRU read's), as for every command.
TEST_F(AdpAllInfoE2e, TimeAndFruFailingTogetherGiveTheTimeReadsStatus)
{
    std::string dir = host("one", nlohmann::json::object(), {{"status", TIME, "0x2d"}, {"status", FRU, "0x0c"}});
    RunResult r = run(dir, {"-AdpAllInfo", "-a0"});
    EXPECT_EQ(r.exitCode, 0x0c);
    const std::string end = "\nFW error description: \n The requested operation could not be completed as device is busy or "
                            "unexpected error occurred.  \n\nExit Code: 0x0c\n";
    ASSERT_GE(r.out.size(), end.size());
    EXPECT_EQ(r.out.substr(r.out.size() - end.size()), end);
    EXPECT_NE(r.out.find("Current Time                     : Not Set\n"), std::string::npos);
    EXPECT_NE(r.out.find("Battery FRU     : N/A\n"), std::string::npos);
}

TEST_F(AdpAllInfoE2e, EveryAdapterGetsItsDisplayInAdapterOrder)
{
    std::string dir = host("two", nlohmann::json::object());
    for (const char* adapters : {"-aALL", "-a0,1"}) {
        SCOPED_TRACE(adapters);
        RunResult r = run(dir, {"-AdpAllInfo", adapters});
        EXPECT_EQ(r.exitCode, 0);
        size_t first = r.out.find("Adapter #0\n\n");
        size_t second = r.out.find("Adapter #1\n\n");
        EXPECT_NE(first, std::string::npos);
        EXPECT_NE(second, std::string::npos);
        EXPECT_LT(first, second);
    }
}

} // namespace
