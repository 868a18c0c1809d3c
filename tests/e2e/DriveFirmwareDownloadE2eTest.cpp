// Drive and enclosure firmware downloads through the real QuillCli binary and a host written as
// a description (tests/e2e/data/enclosure-host.json): the console text, the exit code, and the
// prepare block and every transfer's command block as the simulated controller logged them.
#include "E2eHarness.h"
#include "TranscriptReaders.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

std::string flashing(const char* size, const char* b6, const char* b7, const char* b8)
{
    return std::string("Flashing firmware image size ") + size + " (" + b6 + " " + b7 + " " + b8 +
           "). Please wait...\n";
}

std::string prepared(const char* transfers, const char* size, const char* device, const char* status = "0x00")
{
    return std::string("prepare ") + device + " " + status + " transfers=" + transfers + " size=" + size;
}

std::string piece(unsigned target, const char* cdb, unsigned length, const char* status = "0x00")
{
    return "transfer " + std::to_string(target) + " len=" + std::to_string(length) + " " + status + " cdb=" + cdb;
}

// A command that an injected fault answered: it never reached the firmware, which notes nothing.
std::string refusedPrepare(const char* status)
{
    return std::string("prepare 10 ") + status + " transfers= size=";
}

std::string refusedPiece(unsigned length, const char* status)
{
    return "transfer  len=" + std::to_string(length) + " " + status + " cdb=";
}

const std::string NOT_FOUND_7 = "Adapter 0: Device at Enclosure - 252, Slot - 7 is not found.\n";

struct Case {
    const char* what;
    nlohmann::json edit;             // merged into the description's controller
    Lines faults;                    // one "quillsim fault" line, split into words
    Lines args;
    int exitCode;
    std::string out;
    Lines log;                       // prepare and transfers, in order
    bool outIsHead = false;          // the output only begins with `out`
    Lines blocks = {};                   // the transfers' whole command blocks, in order, when given
    std::vector<WrittenData> written = {};   // the image bytes the transfers carried
};

class DriveFirmwareDownloadE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    // The prepare commands and transfers of the command log, without times and mailboxes.
    static Lines downloadLog(const std::string& dir)
    {
        Lines out;
        std::istringstream log(readFile(dir + "/commands.log"));
        std::string line;
        while (std::getline(log, line)) {
            const auto field = [&](const std::string& key) { return commandLogField(line, key); };
            const std::string opcode = field("opcode");
            if (opcode == "0x01130200")
                out.push_back("prepare " + std::to_string(std::stoul(field("mbox"), nullptr, 16)) + " " +
                              field("status") + " transfers=" + field("transfers") + " size=" + field("size"));
            else if (opcode == "0x0000003b" || opcode == "0x000000a1")
                out.push_back("transfer " + field("target") + " len=" + field("len") + " " + field("status") +
                              " cdb=" + field("cdb"));
        }
        return out;
    }

    void expectRuns(const std::vector<Case>& runs)
    {
        for (const Case& c : runs) {
            SCOPED_TRACE(c.what);
            nlohmann::json d =
                nlohmann::json::parse(readFile(std::string(QUILL_SOURCE_DIR) + "/tests/e2e/data/enclosure-host.json"));
            if (!c.edit.is_null())
                d["controllers"][0].merge_patch(c.edit);
            const std::string dir = makeSimHostFrom(d.dump(2));
            cleanup.push_back(dir.substr(0, dir.rfind('/')));
            if (!c.faults.empty()) {
                EXPECT_EQ(addSimFault(dir, c.faults), "");
            }
            const std::string work = makeTempDir("quillfw");
            cleanup.push_back(work);
            std::ofstream(work + "/fw.bin", std::ios::binary) << std::string(70000, '\x5a');
            std::ofstream(work + "/img.dfw", std::ios::binary) << std::string(65536, '\x11');
            std::ofstream(work + "/encl.bin", std::ios::binary) << std::string(4096, '\x22');
            std::ofstream(work + "/sata.bin", std::ios::binary) << std::string(1024, '\x33');
            std::ofstream(work + "/empty.bin", std::ios::binary);
            std::ofstream(work + "/big.bin", std::ios::binary) << std::string(255 * 32768 + 1, '\0');
            RunSpec spec;
            spec.args = c.args;
            spec.env = {{"QUILLCLI_SIM_HOST", dir}};
            spec.workDir = work;
            RunResult r = runProgram(spec);
            EXPECT_EQ(r.exitCode, c.exitCode);
            EXPECT_EQ(c.outIsHead ? r.out.substr(0, c.out.size()) : r.out, c.out);
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(downloadLog(dir), c.log);
            if (!c.blocks.empty()) {
                Lines blocks;
                for (const LoggedCommand& command : loggedCommandData(dir))
                    if (!command.block.empty())
                        blocks.push_back(command.block);
                EXPECT_EQ(blocks, c.blocks);
            }
            for (const WrittenData& data : c.written)
                EXPECT_EQ(writtenDataMismatches(dir, data), "");
        }
    }

    std::vector<std::string> cleanup;
};

TEST_F(DriveFirmwareDownloadE2e, SasDrivesInPiecesOrWhole)
{
    const Lines pieces = {piece(10, "3b070000000000800000", 32768), piece(10, "3b070000800000800000", 32768),
                          piece(10, "3b070001000000117000", 4464)};
    expectRuns({
        {"a 70,000-byte image in three pieces", nullptr, {}, {"-PdFwDownload", "-PhysDrv[252:2]", "-f", "fw.bin", "-a0"},
         0,
         BLANK_OUT + "\n" + flashing("0x8000", "0x0", "0x80", "0x0") + flashing("0x8000", "0x0", "0x80", "0x0") +
             flashing("0x1170", "0x0", "0x11", "0x70") + exitLine("00"),
         Lines{prepared("3", "70000", "10")} + pieces, false,
         // WRITE BUFFER, mode 7 (download with offsets, save), the offset and length in bytes
         // 3-5 and 6-8; each piece carries its part of the image.
         {"3b070000000000800000", "3b070000800000800000", "3b070001000000117000"},
         {{"0x0000003b", 0, {{0, "5a5a5a5a"}, {32764, "5a5a5a5a"}}},
          {"0x0000003b", 2, {{0, "5a5a"}, {4462, "5a5a"}}}}},
        {"-Mode 5: the whole image in one command", nullptr, {},
         {"-PdFwDownload", "-PhysDrv[252:2]", "-f", "fw.bin", "-Mode", "5", "-a0"}, 0,
         BLANK_OUT + "\n" + flashing("0x11170", "0x1", "0x11", "0x70") + exitLine("00"),
         {prepared("1", "70000", "10"), piece(10, "3b050000000001117000", 70000)}},
        {"a failing piece: the whole image once more", nullptr, {"status", "0x3b", "0x2d", "--from", "2"},
         {"-PdFwDownload", "-PhysDrv[252:2]", "-f", "fw.bin", "-a0"}, 0x2d,
         BLANK_OUT + "\n" + flashing("0x8000", "0x0", "0x80", "0x0") + flashing("0x8000", "0x0", "0x80", "0x0") +
             flashing("0x11170", "0x1", "0x11", "0x70") + "\nFW error description: \n",
         {prepared("3", "70000", "10"), piece(10, "3b070000000000800000", 32768), refusedPiece(32768, "0x2d"),
          refusedPiece(70000, "0x2d")},
         true},
        {"a drive not there is reported, the next one downloaded", nullptr, {},
         {"-PdFwDownload", "-PhysDrv[252:7,252:2]", "-f", "fw.bin", "-Mode", "5", "-a0"}, 0,
         BLANK_OUT + NOT_FOUND_7 + "\n" + flashing("0x11170", "0x1", "0x11", "0x70") + exitLine("00"),
         {prepared("1", "70000", "10"), piece(10, "3b050000000001117000", 70000)}},
    });
}

TEST_F(DriveFirmwareDownloadE2e, SataBridgeAndEnclosureDevices)
{
    expectRuns({
        {"a SATA drive: DOWNLOAD MICROCODE by sectors", nullptr, {},
         {"-PdFwDownload", "-PhysDrv[252:3]", "-f", "img.dfw", "-a0"}, 0,
         BLANK_OUT + "\n" + flashing("0x8000", "0x0", "0x0", "0xa0") + flashing("0x8000", "0x0", "0x0", "0xa0") +
             exitLine("00"),
         {prepared("2", "65536", "11"), piece(11, "a10a060740000000a0920000", 32768),
          piece(11, "a10a060740000000a0920000", 32768)}, false,
         // ATA PASS-THROUGH(12) carrying DOWNLOAD MICROCODE (0x92): 64 sectors a piece.
         {"a10a060740000000a0920000", "a10a060740000000a0920000"},
         {{"0x000000a1", 0, {{0, "11111111"}, {32764, "11111111"}}}, {"0x000000a1", 1, {{32766, "1111"}}}}},
        {"a SATA drive and an image of part of a sector", nullptr, {},
         {"-PdFwDownload", "-PhysDrv[252:3]", "-f", "fw.bin", "-a0"}, 1,
         BLANK_OUT + "Firmware image fw.bin cannot be downloaded: a SATA device takes whole 512-byte sectors.\n" +
             exitLine("01"),
         {}},
        {"a bridge drive: the file type is the buffer id", nullptr, {},
         {"-PdFwDownload", "-SataBridge", "-PhysDrv[252:4]", "-f", "img.dfw", "-a0"}, 0,
         BLANK_OUT + "\n" + flashing("0x8000", "0x0", "0x80", "0x0") + flashing("0x8000", "0x0", "0x80", "0x0") +
             exitLine("00"),
         {prepared("2", "65536", "12"), piece(12, "3b070100000000800000", 32768),
          piece(12, "3b070100800000800000", 32768)}},
        {"a bridge drive and a file of another type", nullptr, {},
         {"-PdFwDownload", "-SataBridge", "-PhysDrv[252:4]", "-f", "fw.bin", "-a0"}, 1,
         BLANK_OUT + "Invalid firmware type for Vesk device -- valid Vesk firmware required\n" + exitLine("01"), {}},
        {"-SataBridge on a drive without a bridge", nullptr, {},
         {"-PdFwDownload", "-SataBridge", "-PhysDrv[252:2]", "-f", "img.dfw", "-a0"}, 1,
         BLANK_OUT + "Adapter 0: Device at Enclosure - 252, Slot - 2 is not SAS SATA Bridge .\n" + exitLine("01"), {}},
        {"an enclosure device, activated after the pieces", nullptr, {},
         {"-PdFwDownload", "-ForceActivate", "-EncdevId[252]", "-f", "encl.bin", "-a0"}, 0,
         BLANK_OUT + "\n" + flashing("0x1000", "0x0", "0x10", "0x0") + flashing("0x0", "0x0", "0x0", "0x0") +
             exitLine("00"),
         {prepared("2", "4096", "252"), piece(252, "3b0e0000000000100000", 4096), piece(252, "3b0f0000000000000000", 0)},
         false, {"3b0e0000000000100000", "3b0f0000000000000000"},
         {{"0x0000003b", 0, {{0, "22222222"}, {4092, "22222222"}}}}},
        {"an -EncdevId that names a disk", nullptr, {},
         {"-PdFwDownload", "-EncdevId[9]", "-f", "encl.bin", "-a0"}, 1,
         BLANK_OUT + "Adapter 0: Device at Enclosure - 9, Slot - 0 is not found.\n" + exitLine("01"), {}},
    });
}

TEST_F(DriveFirmwareDownloadE2e, PrepareAnswers)
{
    const Lines args = {"-PdFwDownload", "-PhysDrv[252:2]", "-f", "encl.bin", "-a0"};
    const std::string failed = "Firmware Download on Device at Enclosure - 252, Slot - 2 in Adapter 0 Failed \n";
    const std::string busy = "\nMicroCode Update is already in progress. Please wait...";
    std::vector<Case> runs = {
        {"busy twice, then ready", nullptr, {"status", "0x01130200", "0x32", "--times", "2"}, args, 0,
         BLANK_OUT + busy + busy + "\n" + flashing("0x1000", "0x0", "0x10", "0x0") + exitLine("00"),
         {refusedPrepare("0x32"), refusedPrepare("0x32"), prepared("1", "4096", "10"),
          piece(10, "3b070000000000100000", 4096)}},
        {"busy seven times", nullptr, {"status", "0x01130200", "0x32"}, args, 0x32,
         BLANK_OUT + busy + busy + busy + busy + busy + busy + busy +
             "\nMicroCode Update is already in progress. try again later\n" + failed +
             "\nFW error description: \n The specified device is in a state that doesn't support the requested "
             "command.  \n" +
             exitLine("32"),
         Lines(7, refusedPrepare("0x32"))},
    };
    struct Refusal {
        const char* status;
        const char* text;
        const char* exit;
    };
    for (const Refusal& r : std::vector<Refusal>{
             {"0x0c", "\ninvalid device ID\n", "0c"},
             {"0x20", "\nFW can't allocate sufficient memory - try again later\n", "20"},
             {"0x40", "\nOnly one PD can be updated within an array, at one time\n", "40"},
             {"0x03", "\nOne or more input Parameters is invalid\n", "03"},
             {"0x01", "\nFw doesnt support microcode update to multiple PDs\n", "01"},
             {"0x04", "\nExecution of KW_DCMD_CTRL_PD_FW_DOWNLOAD_PREPARE command failed\n ", "01"}}) {
        // The firmware's own description of the refusal follows: only the lines before it are pinned.
        runs.push_back({r.status, nullptr, {"status", "0x01130200", r.status}, args, std::stoi(r.exit, nullptr, 16),
                        BLANK_OUT + r.text + failed, {refusedPrepare(r.status)}, true});
    }
    expectRuns(runs);
}

TEST_F(DriveFirmwareDownloadE2e, RefusedDevicesAndImages)
{
    expectRuns({
        {"a drive whose download is not allowed", nlohmann::json::parse(R"({"info": {"reportingFeatures": "0x40"}})"),
         {}, {"-PdFwDownload", "-PhysDrv[252:5]", "-f", "fw.bin", "-a0"}, 1,
         BLANK_OUT + "Firmware Download on Device at Enclosure - 252, Slot - 5 in Adapter 0 is not allowed\n" +
             exitLine("01"),
         {}},
        {"a device id beyond the 8-bit target", nullptr, {}, {"-PdFwDownload", "-PhysDrv[252:6]", "-f", "fw.bin", "-a0"},
         1, BLANK_OUT + "Firmware Download on Device at Enclosure - 252, Slot - 6 in Adapter 0 Failed \n" + exitLine("01"),
         {}},
        {"a file that is not there", nullptr, {}, {"-PdFwDownload", "-PhysDrv[252:2]", "-f", "none.bin", "-a0"}, 1,
         BLANK_OUT + "ERROR: Failed to open file none.bin.\n" +
             "Firmware Download on Device at Enclosure - 252, Slot - 2 in Adapter 0 Failed \n" + exitLine("01"),
         {}},
        {"an empty file", nullptr, {}, {"-PdFwDownload", "-PhysDrv[252:2]", "-f", "empty.bin", "-a0"}, 1,
         BLANK_OUT + "Firmware image empty.bin cannot be downloaded: the file is empty.\n" + exitLine("01"), {}},
        {"more pieces than the prepare block counts", nullptr, {},
         {"-PdFwDownload", "-PhysDrv[252:2]", "-f", "big.bin", "-a0"}, 1,
         BLANK_OUT + "Firmware image big.bin cannot be downloaded: it takes more than 255 transfers.\n" + exitLine("01"),
         {}},
        {"the same image goes whole in one command", nullptr, {},
         {"-PdFwDownload", "-PhysDrv[252:2]", "-f", "big.bin", "-Mode", "5", "-a0"}, 0,
         BLANK_OUT + "\n" + flashing("0x7f8001", "0x7f", "0x80", "0x1") + exitLine("00"),
         {prepared("1", "8355841", "10"), piece(10, "3b05000000007f800100", 8355841)}},
    });
}

}  // namespace
