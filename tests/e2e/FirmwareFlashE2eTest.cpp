// The controller firmware flash through the real binary against simulated hosts: the image
// checks with their messages, the download in 32 KiB pieces with its progress line, the commit
// for a reboot or online, each failing firmware command with the closes it takes, and the
// firmware commands in the host's command log (opcode, mailbox, data length, status).
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Simulator/Firmware/SimFlashImage.h"

namespace {

using sim::Bytes;
using sim::ImageHeaderSpec;

const uint32_t QR30 = 0x30335251;   // the default host's check word, "QR30"
const uint32_t QR41 = 0x31345251;   // "QR41", a word of another chip

const std::string IDENTITY = "Adapter 0: QuillRAID SAS 4080-8i\nVendor ID: 0x1E7A, Device ID: 0x0040\n\n";
const std::string TWO_PIECES = "\r5%   Completed\r5 %  Download Completed\r10%   Completed\r10 %  Download Completed"
                               "\rDownload Completed.     \n";
const std::string FLASHED = "Flashing image to adapter...\nAdapter 0: Flash Completed.\n";
const std::string REBOOT = "Please reboot the system for the changes to take effect\n";
const std::string INVALID = "ERROR: The image file is invalid and could not be flashed to the controller!!!\n";
const std::string NOT_NEWER = "ERROR: The image file has older version than or same as that on the \n"
                              "       controller. The controller is not flashed.\n\n";

std::string fwError(const char* description)
{
    return std::string("\nFW error description: \n ") + description + "  \n";
}

const std::string NO_MEMORY = fwError("There is not enough flash memory to complete the requested command.");
const std::string IN_USE = fwError("Flash is in use. Please retry the command later.");
const std::string FLASH_ERROR = fwError("The operation failed due to a flash error.");
const std::string FAILED = fwError("Please check the configuration and retry the operation.");
// 0x69 has no description of its own.
const std::string ONLINE_NOT_NOW = "\nFW error description: \n  Unknown error \n";

// One firmware command as the command log shows it (without the clock).
std::string cmd(const char* opcode, uint32_t word = 0, uint32_t length = 0, const char* status = "0x00",
                unsigned host = 2)
{
    char line[160];
    std::snprintf(line, sizeof line, "host=%u frame=5 opcode=%s mbox=0x%08x,0x00000000,0x00000000 len=%u status=%s",
                  host, opcode, word, length, status);
    return line;
}

const std::string INFO = cmd("0x01010000", 0, 2048);
const std::string CLOSE = cmd("0x010f0400");
const std::string OPEN_64K = cmd("0x010f0100", 0x10000);
const std::string PIECE_0 = cmd("0x010f0200", 0, 32768);
const std::string PIECE_1 = cmd("0x010f0200", 0x8000, 32768);
const std::string COMMIT = cmd("0x010f0300");
const std::string COMMIT_ONLINE = cmd("0x010f0300", 1);
const std::string BBU_DESIGN = cmd("0x05030000", 0, 64);

ImageHeaderSpec app(const char* version, const char* package = nullptr, uint32_t signature = QR30)
{
    ImageHeaderSpec h;
    h.signature = signature;
    h.tag = "APP ";
    h.version = version;
    if (package != nullptr)
        h.keys = {"BUILD=0042", std::string("PACKAGE=") + package};
    else
        h.keyValueOffset = sim::IMAGE_NO_KEYS;
    return h;
}

ImageHeaderSpec component(const char* tag, uint32_t at, const char* version, uint32_t length = 0x10000)
{
    ImageHeaderSpec h = app(version);
    h.tag = tag;
    h.at = at;
    h.length = length;
    return h;
}

Bytes image64k(const std::vector<ImageHeaderSpec>& headers)
{
    return sim::buildFlashImage(0x10000, headers);
}

struct Case {
    const char* what;
    std::string info;                                // the controller's "info" object in the description
    std::vector<std::vector<std::string>> faults;    // each the arguments of one "quillsim fault HOST ..."
    Bytes image;                                     // written as fw.rom; empty: no file
    std::vector<std::string> options;                // after "-AdpFwFlash -f fw.rom", before "-a0"
    int exitCode;
    std::string out;                                 // after the blank-out line
    std::vector<std::string> commands;               // after discovery's information read
};

class FirmwareFlashE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    std::string quillsim(const std::vector<std::string>& args)
    {
        RunSpec spec;
        spec.program = QUILLSIM_BIN;
        spec.args = args;
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return r.out;
    }

    // A host with one controller on SCSI host 2 (or as many as `hosts` lists).
    std::string makeHost(const std::string& info, const std::vector<unsigned>& hosts = {2})
    {
        std::string dir = makeTempDir("flash");
        cleanup.push_back(dir);
        std::string controllers;
        for (unsigned host : hosts)
            controllers += std::string(controllers.empty() ? "" : ",") + "{\"host\": " + std::to_string(host) +
                           ", \"pci\": {\"bus\": " + std::to_string(host + 1) + "}, \"info\": {" + info + "}}";
        std::ofstream(dir + "/host.json") << "{\"controllers\": [" << controllers << "]}";
        quillsim({"create", dir + "/host", "--from", dir + "/host.json"});
        return dir + "/host";
    }

    RunResult flash(const std::string& hostDir, const Bytes& image, const std::vector<std::string>& options,
                    const char* adapters = "-a0")
    {
        RunSpec spec;
        spec.workDir = makeTempDir("flashrun");
        cleanup.push_back(spec.workDir);
        if (!image.empty())
            std::ofstream(spec.workDir + "/fw.rom", std::ios::binary)
                .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
        spec.args = {"-AdpFwFlash", "-f", "fw.rom"};
        spec.args.insert(spec.args.end(), options.begin(), options.end());
        spec.args.push_back(adapters);
        spec.env = {{"QUILLCLI_SIM_HOST", hostDir}};
        return runProgram(spec);
    }

    // The host's command log without the clock field of each line.
    static std::vector<std::string> commandLog(const std::string& hostDir)
    {
        std::vector<std::string> lines;
        std::ifstream log(hostDir + "/commands.log");
        for (std::string line; std::getline(log, line);)
            lines.push_back(line.substr(line.find(' ') + 1));
        return lines;
    }

    void expectRuns(const std::vector<Case>& cases)
    {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            std::string hostDir = makeHost(c.info);
            for (const std::vector<std::string>& fault : c.faults) {
                std::vector<std::string> args = {"fault", hostDir};
                args.insert(args.end(), fault.begin(), fault.end());
                quillsim(args);
            }
            RunResult r = flash(hostDir, c.image, c.options);
            EXPECT_EQ(r.exitCode, c.exitCode);
            EXPECT_EQ(r.out, BLANK_OUT + c.out);
            EXPECT_EQ(r.err, "");
            std::vector<std::string> expected = {INFO};
            expected.insert(expected.end(), c.commands.begin(), c.commands.end());
            EXPECT_EQ(commandLog(hostDir), expected);
        }
    }

    std::vector<std::string> cleanup;
};

const std::vector<std::string> FLASH_64K = {INFO, CLOSE, OPEN_64K, PIECE_0, PIECE_1, INFO, COMMIT};

TEST_F(FirmwareFlashE2e, FlashedImageIsWhatTheControllerReportsAfterwards)
{
    std::string hostDir = makeHost("");
    Bytes image = image64k({app("4.810.00-0001", "4.81.0-0001")});
    RunResult r = flash(hostDir, image, {});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, BLANK_OUT + IDENTITY + "Package version on the controller: 4.80.0-0123 \n" +
                         "Package version of the image file: 4.81.0-0001 \n" + TWO_PIECES + FLASHED + REBOOT +
                         exitLine("00"));
    std::vector<std::string> expected = {INFO};
    expected.insert(expected.end(), FLASH_64K.begin(), FLASH_64K.end());
    EXPECT_EQ(commandLog(hostDir), expected);

    // The same image again: the controller now runs its package, so it is not newer.
    r = flash(hostDir, image, {});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, BLANK_OUT + IDENTITY + "Package version on the controller: 4.81.0-0001 \n" +
                         "Package version of the image file: 4.81.0-0001 \n" + NOT_NEWER + exitLine("01"));
    std::string shown = quillsim({"show", hostDir});
    EXPECT_NE(shown.find("\"version\": \"4.810.00-0001\""), std::string::npos) << shown;
}

TEST_F(FirmwareFlashE2e, ImageChecks)
{
    const std::string PKG = "Package version on the controller: 4.80.0-0123 \n";
    const std::string FW = "FW version on the controller: 4.800.00-1234 \n";
    ImageHeaderSpec wrongWord = app("4.810.00-0001", nullptr, QR41);
    expectRuns({
        {"wrong check word", "", {}, image64k({wrongWord}), {}, 17, IDENTITY + INVALID + exitLine("11"), {INFO}},
        {"wrong check word, not checked", "", {}, image64k({wrongWord}), {"-NoSigChk"}, 0,
         IDENTITY + FW + "FW version of the image file: 4.810.00-0001 \n" + TWO_PIECES + FLASHED + REBOOT +
             exitLine("00"),
         FLASH_64K},
        {"no header at all", "", {}, image64k({}), {}, 17, IDENTITY + INVALID + exitLine("11"), {INFO}},
        {"no header, version check only skipped", "", {}, image64k({}), {"-NoVerChk"}, 17,
         IDENTITY + INVALID + exitLine("11"), {INFO}},
        {"no header, both checks skipped: sent as it is", "", {}, image64k({}), {"-NoSigChk", "-NoVerChk"}, 0,
         IDENTITY + TWO_PIECES + FLASHED + REBOOT + exitLine("00"), FLASH_64K},
        {"equal firmware version", "", {}, image64k({app("4.800.00-1234")}), {}, 1,
         IDENTITY + FW + "FW version of the image file: 4.800.00-1234 \n" + NOT_NEWER + exitLine("01"), {INFO}},
        {"older firmware version", "", {}, image64k({app("4.800.00-1233")}), {}, 1,
         IDENTITY + FW + "FW version of the image file: 4.800.00-1233 \n" + NOT_NEWER + exitLine("01"), {INFO}},
        {"older firmware version, not checked", "", {}, image64k({app("4.800.00-1233")}), {"-NoVerChk"}, 0,
         IDENTITY + TWO_PIECES + FLASHED + REBOOT + exitLine("00"), FLASH_64K},
        {"equal package version", "", {}, image64k({app("4.900.00-0001", "4.80.0-0123")}), {}, 1,
         IDENTITY + PKG + "Package version of the image file: 4.80.0-0123 \n" + NOT_NEWER + exitLine("01"), {INFO}},
        {"older package version replaces a newer firmware version", "", {},
         image64k({app("4.900.00-0001", "4.79.9-9999")}), {}, 1,
         IDENTITY + PKG + "Package version of the image file: 4.79.9-9999 \n" + NOT_NEWER + exitLine("01"), {INFO}},
        {"no package on the controller: the firmware versions count", "\"packageBuild\": \"\"", {},
         image64k({app("4.800.00-1234", "9.99.0-0001")}), {}, 1,
         IDENTITY + FW + "FW version of the image file: 4.800.00-1234 \n" + NOT_NEWER + exitLine("01"), {INFO}},
        {"no APP component on the controller: passes", "\"images\": [{\"name\": \"BIOS\", \"version\": \"6.1\"}]", {},
         image64k({app("1.0")}), {}, 0, IDENTITY + TWO_PIECES + FLASHED + REBOOT + exitLine("00"), FLASH_64K},
    });
}

TEST_F(FirmwareFlashE2e, ComponentOrderAndModuleImages)
{
    const std::string MODULE = "FW version on the controller: 01.30.02 \n";
    const std::string FW_NOW = "FW version on the controller: 4.800.00-1234 \n";
    ImageHeaderSpec versionOutside = component("APP ", 0, "9.9");
    versionOutside.versionOffset = 5000;
    expectRuns({
        {"BIOS first, then APP: the APP version counts, the check word comes from the BIOS header", "", {},
         sim::buildFlashImage(0x20000, {component("BIOS", 0, "6.20"), component("APP ", 0x10020, "4.800.00-1234")}),
         {}, 1,
         IDENTITY + "FW version on the controller: 4.800.00-1234 \n" +
             "FW version of the image file: 4.800.00-1234 \n" + NOT_NEWER + exitLine("01"),
         {INFO}},
        {"KPRB before APP: checked as a module image; equal passes", "", {},
         image64k({component("KPRB", 0, "01.30.02", 0x8000), component("APP ", 0x8000, "1.0", 0x8000)}), {}, 0,
         IDENTITY + MODULE + "FW version of the image file: 01.30.02 \n" + TWO_PIECES + FLASHED + REBOOT +
             exitLine("00"),
         {INFO, BBU_DESIGN, CLOSE, OPEN_64K, PIECE_0, PIECE_1, INFO, COMMIT}},
        {"older KPRB: refused (6 characters count)", "", {}, image64k({component("KPRB", 0, "01.29.99")}), {}, 1,
         IDENTITY + MODULE + "FW version of the image file: 01.29.99 \n" + NOT_NEWER + exitLine("01"),
         {INFO, BBU_DESIGN}},
        {"KPRB differing after 6 characters: equal", "", {}, image64k({component("KPRB", 0, "01.30.01")}), {}, 0,
         IDENTITY + MODULE + "FW version of the image file: 01.30.01 \n" + TWO_PIECES + FLASHED + REBOOT +
             exitLine("00"),
         {INFO, BBU_DESIGN, CLOSE, OPEN_64K, PIECE_0, PIECE_1, INFO, COMMIT}},
        {"battery design read fails", "", {{"status", "0x05030000", "4"}},
         image64k({component("KPRB", 0, "01.31.00")}), {}, 1,
         IDENTITY + "Adapter 0: Get BBU Design Info Failed.\n" + exitLine("01"),
         {INFO, cmd("0x05030000", 0, 64, "0x04")}},
        {"zero length: the walk ends at the first header", "", {}, image64k({component("APP ", 0, "4.810", 0)}), {},
         0, IDENTITY + FW_NOW + "FW version of the image file: 4.810 \n" + TWO_PIECES + FLASHED + REBOOT + exitLine("00"),
         FLASH_64K},
        {"wrapping length: the walk ends at that header", "", {},
         image64k({component("BIOS", 0, "6.2", 0x8000), component("APP ", 0x8000, "4.810", 0xFFFFFFF0)}), {}, 0,
         IDENTITY + FW_NOW + "FW version of the image file: 4.810 \n" + TWO_PIECES + FLASHED + REBOOT + exitLine("00"),
         FLASH_64K},
        {"version text past the header: an empty version, not newer", "", {}, image64k({versionOutside}), {}, 1,
         IDENTITY + FW_NOW + "FW version of the image file:  \n" + NOT_NEWER + exitLine("01"), {INFO}},
    });
}

TEST_F(FirmwareFlashE2e, FlashingAndItsFirmwareFailures)
{
    const Bytes ANY = image64k({});
    const std::vector<std::string> UNCHECKED = {"-NoSigChk", "-NoVerChk"};
    const std::vector<std::string> ONLINE = {"-ResetNow", "-NoSigChk", "-NoVerChk"};
    const std::string CAPABLE = "\"firmwareFeatures\": 1";   // bit 0: online firmware update
    const std::string FLASHING = "Flashing image to adapter...\n";
    const std::string NO_INFO = "ERROR: Failed to get controller information! Stop!!!\n";
    const std::vector<std::string> DOWNLOADED = {INFO, CLOSE, OPEN_64K, PIECE_0, PIECE_1, INFO};
    auto then = [](std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    expectRuns({
        {"online update on a capable controller: no reboot note", CAPABLE, {}, ANY, ONLINE, 0,
         IDENTITY + TWO_PIECES + FLASHED + exitLine("00"), then(DOWNLOADED, {COMMIT_ONLINE})},
        {"online update on a controller without the capability", "", {}, ANY, ONLINE, 1,
         IDENTITY + TWO_PIECES + FLASHING + "Online FW update not supported" + exitLine("01"),
         then(DOWNLOADED, {CLOSE})},
        {"online update not possible now: no close", CAPABLE, {{"status", "0x010f0300", "0x69"}}, ANY, ONLINE, 0x69,
         IDENTITY + TWO_PIECES + FLASHING +
             "Online FW update is not possible.Please reboot the system for the changes to take effect\n" +
             ONLINE_NOT_NOW + exitLine("69"),
         then(DOWNLOADED, {cmd("0x010f0300", 1, 0, "0x69")})},
        {"open: no flash memory", "", {{"status", "0x010f0100", "0x0e"}}, ANY, UNCHECKED, 0x0e,
         IDENTITY + "Firmware Failed to Allocate Memory for Flash. Stop!!!\n" + NO_MEMORY + exitLine("0e"),
         {INFO, CLOSE, cmd("0x010f0100", 0x10000, 0, "0x0e")}},
        {"open: a download in progress", "", {{"status", "0x010f0100", "0x0f"}}, ANY, UNCHECKED, 0x0f,
         IDENTITY + "Flash download is already in progress. Stop!!!\n" + IN_USE + exitLine("0f"),
         {INFO, CLOSE, cmd("0x010f0100", 0x10000, 0, "0x0f")}},
        {"open: another status", "", {{"status", "0x010f0100", "0x10"}}, ANY, UNCHECKED, 0x10,
         IDENTITY + "Failed to open flash. Stop!!!\n" + FLASH_ERROR + exitLine("10"),
         {INFO, CLOSE, cmd("0x010f0100", 0x10000, 0, "0x10")}},
        {"the second piece refused", "", {{"status", "0x010f0200", "0x10", "--from", "2"}}, ANY, UNCHECKED, 0x10,
         IDENTITY + "\r5%   Completed\r5 %  Download Completed" + "ERROR: Failed to Download Flash. Stop!!!\n" +
             exitLine("10"),
         {INFO, CLOSE, OPEN_64K, PIECE_0, cmd("0x010f0200", 0x8000, 32768, "0x10"), CLOSE}},
        {"commit refused", "", {{"status", "0x010f0300", "0x10"}}, ANY, UNCHECKED, 0x10,
         IDENTITY + TWO_PIECES + FLASHING + "Firmware Failed to FLASH flash. Stop!!!\n" + exitLine("10"),
         then(DOWNLOADED, {cmd("0x010f0300", 0, 0, "0x10"), CLOSE})},
        {"first information read fails", "", {{"status", "0x01010000", "0x04", "--from", "2"}}, ANY, UNCHECKED, 4,
         NO_INFO + FAILED + exitLine("04"), {cmd("0x01010000", 0, 2048, "0x04")}},
        {"second information read fails", "", {{"status", "0x01010000", "0x04", "--from", "3"}}, ANY, UNCHECKED, 4,
         IDENTITY + TWO_PIECES + NO_INFO + exitLine("04"),
         {INFO, CLOSE, OPEN_64K, PIECE_0, PIECE_1, cmd("0x01010000", 0, 2048, "0x04"), CLOSE}},
    });
}

TEST_F(FirmwareFlashE2e, FileSizeAndTypeRules)
{
    const std::string VALIDATE = "ERROR: Failed to Validate The Image File fw.rom. Stop!!!\n";
    const std::string NO_FILE = "ERROR: Failed to open file fw.rom.\n";
    Bytes small = sim::buildFlashImage(40000, {component("APP ", 0, "4.810.00-0001", 40000)});
    const std::string LAST_PIECE = cmd("0x010f0200", 0x8000, 7232);
    const std::string OPEN_40000 = cmd("0x010f0100", 40000);
    expectRuns({
        {"65537 bytes", "", {}, sim::buildFlashImage(0x10001, {app("4.810.00-0001")}), {}, 17,
         VALIDATE + exitLine("11"), {}},
        {"no file", "", {}, {}, {}, 17, NO_FILE + VALIDATE + exitLine("11"), {}},
        {"firmware type 2", "", {}, image64k({app("4.810.00-0001")}), {"-FWTYPE", "2"}, 1,
         "Invalid FW Type\n" + exitLine("01"), {}},
        {"no file, firmware type 2", "", {}, {}, {"-FWTYPE", "2"}, 1, NO_FILE + "Invalid FW Type\n" + exitLine("01"), {}},
        {"no file, firmware type 1", "", {}, {}, {"-FWTYPE", "1"}, 1, NO_FILE + exitLine("01"), {}},
        {"firmware type 1: 40000 bytes, a short last piece", "", {}, small, {"-FWTYPE", "1"}, 0,
         IDENTITY + "FW version on the controller: 4.800.00-1234 \n" + "FW version of the image file: 4.810.00-0001 \n" +
             TWO_PIECES + FLASHED + REBOOT + exitLine("00"),
         {INFO, CLOSE, OPEN_40000, PIECE_0, LAST_PIECE, INFO, COMMIT}},
        {"firmware type 0: 40000 bytes refused", "", {}, small, {}, 17, VALIDATE + exitLine("11"), {}},
    });
}

// A file that goes on past the size it had when the download was opened is never committed:
// the bytes beyond that size are not sent, and the download is closed.
TEST_F(FirmwareFlashE2e, FileLongerThanAnnouncedIsNotCommitted)
{
    std::string hostDir = makeHost("");
    RunSpec spec;
    spec.workDir = makeTempDir("flashrun");
    cleanup.push_back(spec.workDir);
    ASSERT_EQ(symlink("/dev/zero", (spec.workDir + "/fw.rom").c_str()), 0);   // its end is at 0, its bytes go on
    spec.args = {"-AdpFwFlash", "-f", "fw.rom", "-NoSigChk", "-NoVerChk", "-a0"};
    spec.env = {{"QUILLCLI_SIM_HOST", hostDir}};
    RunResult r = runProgram(spec);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, BLANK_OUT + IDENTITY + "ERROR: Failed to Download Flash. Stop!!!\n" + exitLine("01"));
    EXPECT_EQ(commandLog(hostDir), (std::vector<std::string>{INFO, INFO, CLOSE, cmd("0x010f0100"), CLOSE}));
}

// A file that ends before the size it gave (a kernel attribute file gives a size of a page and
// holds a few bytes): what it holds is sent, the download is closed, nothing is committed.
TEST_F(FirmwareFlashE2e, FileShorterThanAnnouncedIsNotCommitted)
{
    const char* const SHORT_FILE = "/sys/devices/system/cpu/online";
    std::ifstream probe(SHORT_FILE, std::ios::binary);
    ASSERT_TRUE(probe.good()) << SHORT_FILE;
    std::string held((std::istreambuf_iterator<char>(probe)), std::istreambuf_iterator<char>());
    ASSERT_LT(held.size(), 4096u);
    std::string hostDir = makeHost("");
    RunSpec spec;
    spec.workDir = makeTempDir("flashrun");
    cleanup.push_back(spec.workDir);
    ASSERT_EQ(symlink(SHORT_FILE, (spec.workDir + "/fw.rom").c_str()), 0);
    spec.args = {"-AdpFwFlash", "-f", "fw.rom", "-NoSigChk", "-NoVerChk", "-FWTYPE", "1", "-a0"};
    spec.env = {{"QUILLCLI_SIM_HOST", hostDir}};
    RunResult r = runProgram(spec);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, BLANK_OUT + IDENTITY + "ERROR: Failed to Download Flash. Stop!!!\n" + exitLine("01"));
    EXPECT_EQ(commandLog(hostDir),
              (std::vector<std::string>{INFO, INFO, CLOSE, cmd("0x010f0100", 4096),
                                        cmd("0x010f0200", 0, static_cast<uint32_t>(held.size())), CLOSE}));
}

TEST_F(FirmwareFlashE2e, EveryAdapterNamed)
{
    Bytes image = image64k({app("4.810.00-0001")});
    const std::string FW = "FW version on the controller: 4.800.00-1234 \nFW version of the image file: 4.810.00-0001 \n";
    const std::string SECOND = "Adapter 1: QuillRAID SAS 4080-8i\nVendor ID: 0x1E7A, Device ID: 0x0040\n\n";
    auto flashed = [](unsigned host) {
        return std::vector<std::string>{cmd("0x01010000", 0, 2048, "0x00", host), cmd("0x010f0400", 0, 0, "0x00", host),
                                        cmd("0x010f0100", 0x10000, 0, "0x00", host),
                                        cmd("0x010f0200", 0, 32768, "0x00", host),
                                        cmd("0x010f0200", 0x8000, 32768, "0x00", host),
                                        cmd("0x01010000", 0, 2048, "0x00", host), cmd("0x010f0300", 0, 0, "0x00", host)};
    };
    const std::string BOTH = IDENTITY + FW + TWO_PIECES + FLASHED + REBOOT + SECOND + FW + TWO_PIECES +
                             "Flashing image to adapter...\nAdapter 1: Flash Completed.\n" + REBOOT + exitLine("00");
    for (const char* adapters : {"-a0,1", "-aALL"}) {
        SCOPED_TRACE(adapters);
        std::string hostDir = makeHost("", {2, 3});
        RunResult r = flash(hostDir, image, {}, adapters);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, (adapters[2] == '0' ? "," : "") + BLANK_OUT + BOTH);
        // -aALL numbers every controller first; a list numbers each adapter when it comes to it.
        bool all = std::string(adapters) == "-aALL";
        std::vector<std::string> expected;
        if (all)
            expected = {cmd("0x01010000", 0, 2048, "0x00", 2), cmd("0x01010000", 0, 2048, "0x00", 3)};
        for (unsigned host : {2u, 3u}) {
            if (!all)
                expected.push_back(cmd("0x01010000", 0, 2048, "0x00", host));
            std::vector<std::string> one = flashed(host);
            expected.insert(expected.end(), one.begin(), one.end());
        }
        EXPECT_EQ(commandLog(hostDir), expected);
    }
}

} // namespace
