// The monitors through the real binary on described hosts: drive performance monitor
// statistics ("-DpmStat"), advanced event capture ("-AdpAEC") and the controller performance
// monitor ("-PerfMon"): console, exit code, the firmware commands (with the mailboxes of the
// monitors' own), the files written and the state the controller keeps.
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

const char* const INFO = "0x01010000";
const char* const OEM = "0x010e8481";
const char* const DPM_GET = "0x0a010000";
const char* const DPM_STATS = "0x0a020000";
const char* const DPM_SET = "0x0a030000";
const char* const AEC_CONTROL = "0x01180100";
const char* const AEC_DUMP = "0x01180200";
const char* const AEC_SETTINGS = "0x01180300";
const char* const PERF_START = "0x01170100";
const char* const PERF_RESULTS = "0x01170200";
const char* const LD_INFO = "0x03020000";

std::string sent(const char* opcode, const char* status = "0x00")
{
    return std::string("host=2 opcode=") + opcode + " status=" + status;
}

Lines repeat(const std::string& line, size_t n)
{
    return Lines(n, line);
}

// Discovery, the model's refresh and the controller check of adapter 0; then, with `refreshed`,
// the processor's own refresh; then its own commands.
Lines after(bool refreshed, const Lines& own)
{
    return Lines{sent(INFO)} + refreshReads(2) + Lines{sent(OEM)} + (refreshed ? refreshReads(2) : Lines()) + own;
}

std::string configHead(const char* onOff = "ON", int averaging = 0, int latency = 0)
{
    return std::string("Drive Performance Monitor Configuration for 0\nPerformance Monitor: ") + onOff +
           "\nMax commands for averaging: " + std::to_string(averaging) + "\nMax latency commands to save: " +
           std::to_string(latency) + "\n\n";
}

struct Case {
    const char* what;
    nlohmann::json edit;            // merged into the controller
    std::vector<Lines> faults;
    Lines args;
    int exitCode;
    std::string out;                // after the blank-out line
    Lines commands;
    Lines mailboxes;                // "opcode=... mbox=..." of the monitors' own commands, when given
};

class MonitorsE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    std::string host(const Case& run)
    {
        std::string dir = makeSimHost("one");
        cleanup.push_back(dir.substr(0, dir.rfind('/')));
        const std::string path = dir + "/state.json";
        nlohmann::json state = nlohmann::json::parse(readFile(path));
        if (!run.edit.is_null())
            state["controllers"][0].merge_patch(run.edit);
        std::ofstream(path) << state.dump(2);
        for (const Lines& fault : run.faults)
            EXPECT_EQ(addSimFault(dir, fault), "");
        return dir;
    }

    static Lines mailboxes(const std::string& hostDir)
    {
        Lines out;
        std::istringstream log(readFile(hostDir + "/commands.log"));
        std::string line;
        while (std::getline(log, line))
            for (const char* op : {DPM_STATS, DPM_SET, AEC_CONTROL, AEC_DUMP, PERF_START, PERF_RESULTS}) {
                size_t at = line.find(std::string("opcode=") + op + " ");
                if (at == std::string::npos)
                    continue;
                // The data length where the command moves data.
                size_t end = line.find(op == DPM_SET || op == AEC_CONTROL || op == PERF_START ? " len=" : " status=");
                out.push_back(line.substr(at, end - at));
            }
        return out;
    }

    // Runs each case; returns the last run (its files) and leaves its host in lastHost.
    RunResult expectRuns(const std::vector<Case>& runs, const std::string& workDir = "")
    {
        RunResult last;
        for (const Case& run : runs) {
            SCOPED_TRACE(run.what);
            lastHost = host(run);
            RunSpec spec;
            spec.args = run.args;
            spec.env = {{"QUILLCLI_SIM_HOST", lastHost}};
            spec.workDir = workDir;
            last = runProgram(spec);
            if (workDir.empty())
                cleanup.push_back(last.workDir);
            EXPECT_EQ(last.exitCode, run.exitCode);
            EXPECT_EQ(last.out, BLANK_OUT + run.out);
            EXPECT_EQ(last.err, "");
            EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(lastHost)), run.commands);
            if (!run.mailboxes.empty()) {
                EXPECT_EQ(mailboxes(lastHost), run.mailboxes);
            }
        }
        return last;
    }

    nlohmann::json controllerState() const
    {
        return nlohmann::json::parse(readFile(lastHost + "/state.json"))["controllers"][0];
    }

    Lines cleanup;
    std::string lastHost;
};

// Four drives: two in enclosure 8 (slots 1 and 0), one in enclosure 9, one without enclosure;
// drive 22's statistics given, the others answer the simulator's marker (type, device id).
nlohmann::json fourDrives(const nlohmann::json& dpm)
{
    return {
        {"enclosures", {{{"deviceId", 8}}, {{"deviceId", 9}}}},
        {"drives",
         {{{"deviceId", 20}, {"enclosureId", 9}},
          {{"deviceId", 21}, {"enclosureId", 8}, {"slot", 1}},
          {{"deviceId", 22}, {"enclosureId", 8}, {"dpmStatistics", "64000000" "00080000" "f4010000" "03000000"}},
          {{"deviceId", 23}}}},
        {"lds", nlohmann::json::array()},
        {"arrays", nlohmann::json::array()},
        {"dpm", dpm},
    };
}

const std::string RA_HEAD =
    "Requested data: Running Average Drive Statistics\n\n"
    "Enclosure   Slot                           Queue      Xfer       Resp\n"
    "Device ID | Number | Device Id |  IOPs  |  Depth  |   Rate    |  Time\n"
    "          |        |           |        |         |   (MB/s)  |  (ms)\n\n";

}  // namespace

TEST_F(MonitorsE2e, DpmRunningAverageOfEveryDrive)
{
    const nlohmann::json dpm = {{"configuration", 1}, {"maxAveragingCommands", 16}, {"maxLatencyCommands", 10},
                                {"ticksPerSecond", 1000}};
    expectRuns({
        {"enclosure 8 by slot, then 9, then the drive without enclosure", fourDrives(dpm), {},
         {"-DpmStat", "-Dsply", "-Ra", "-a0"}, 0,
         configHead("ON", 16, 10) + RA_HEAD +
             "8           0        22         100      3         2.0000       500.0000   \n"
             "8           1        21         4        0         0.0205       0.0000     \n"
             "9           0        20         4        0         0.0195       0.0000     \n"
             "         N/A0        23         4        0         0.0225       0.0000     \n" + exitLine("00"),
         after(true, Lines{sent(DPM_GET)} + repeat(sent(DPM_STATS), 8)), {}},
        {"a failed statistics read ends the display", fourDrives(dpm), {{"status", DPM_STATS, "0x2d", "--from", "3"}},
         {"-DpmStat", "-Dsply", "-Ra", "-a0"}, 1,
         configHead("ON", 16, 10) + RA_HEAD + "8           0        22         100      3         2.0000       500.0000   \n"
             "8           1        21         Adapter #0: Failed to Perform get DPM data Operation.\n" + exitLine("01"),
         after(true, {sent(DPM_GET), sent(DPM_STATS), sent(DPM_STATS), sent(DPM_STATS, "0x2d")}), {}},
        {"the configuration cannot be read", fourDrives(dpm), {{"status", DPM_GET, "0x2d"}},
         {"-DpmStat", "-Dsply", "-Ra", "-a0"}, 1,
         "Adapter #0: Failed to Perform get DPM performance monitoring configuration Operation.\n" + exitLine("01"),
         after(true, {sent(DPM_GET, "0x2d")}), {}},
    });
}

TEST_F(MonitorsE2e, DpmLongestCommandsHistogramAndExtended)
{
    const nlohmann::json dpm = {{"configuration", 1}, {"ticksPerSecond", 1000}};
    // Entry 0: start 100, end 600 ticks, stamped 86400 (2000-01-02 00:00:00), a READ(10) block.
    nlohmann::json lct = fourDrives(dpm);
    lct["drives"][2]["dpmStatistics"] = std::string(24, '0') + "64000000" "58020000" "80510100" "28000000001000000008000000000000";
    const std::string zeroRow = "0         0         0.0000    " + [] {
        std::string s;
        for (int i = 0; i < 16; ++i)
            s += "00 ";
        return s;
    }() + "\n";
    std::string zeroRows;
    for (int i = 0; i < 9; ++i)
        zeroRows += zeroRow;
    const std::string drive22 = "Enclosure Device ID: 8\nSlot Number: 0\nDevice Id: 22\n";
    expectRuns({
        {"longest commands", lct, {}, {"-DpmStat", "-Dsply", "-Lct", "-PhysDrv[8:0]", "-a0"}, 0,
         configHead() + drive22 + "                    Resp \nDate    |   Time  | Time(ms) | CDB/ATA Task File(hex)\n" +
             std::string(77, '-') + "\n\n" +
             "00-01-02  00:00:00  500.0000  28 00 00 00 00 10 00 00 00 08 00 00 00 00 00 00 \n" + zeroRows + "\n" +
             exitLine("00"),
         after(true, {sent(DPM_GET), sent(DPM_STATS), sent(DPM_STATS)}),
         {"opcode=0x0a020000 mbox=0x00010016,0x00000002,0x00000000 len=56",
          "opcode=0x0a020000 mbox=0x00010016,0x00000002,0x00000000 len=400"}},
    });

    nlohmann::json hist = fourDrives(dpm);
    hist["drives"][2]["dpmStatistics"] = "07000000" + std::string(36 * 8, '0') + "2a000000";
    std::string bins;
    const int bounds[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 30, 40, 50, 60, 70, 80, 90,
                          100, 200, 300, 400, 500, 600, 700, 800, 900, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000};
    for (int bin = 1; bin <= 36; ++bin) {
        char line[80];
        snprintf(line, sizeof line, "%-4d      %-10d          %d\n", bin, bounds[bin - 1], bin == 1 ? 7 : 0);
        bins += line;
    }
    bins += "37        10000               0\n38        10000+              42\n";
    const std::string rule = "------------------------------------------  \n";
    expectRuns({
        {"histogram: 36 bounds, then 10000 and 10000+", hist, {}, {"-DpmStat", "-Dsply", "-Hist", "-PhysDrv[8:0]", "-a0"},
         0, configHead() + drive22 + "\n" + rule + "Bin       Respose Time (ms)   IO Count \n" + rule + bins + rule + "\n\n\n" +
             exitLine("00"),
         after(true, {sent(DPM_GET), sent(DPM_STATS), sent(DPM_STATS)}),
         {"opcode=0x0a020000 mbox=0x00010016,0x00000003,0x00000000 len=152",
          "opcode=0x0a020000 mbox=0x00010016,0x00000003,0x00000000 len=40"}},
    });
}

TEST_F(MonitorsE2e, DpmExtendedAndClear)
{
    const nlohmann::json dpm = {{"configuration", 1}, {"ticksPerSecond", 1000}};
    nlohmann::json ext = fourDrives(dpm);
    ext["drives"][2]["dpmStatistics"] = std::string(32, '0') + "0a00000000000000" "1400000000000000" "0100000000000000"
                                        "ffffffff" "05000000" "ffffffff" "09000000";
    expectRuns({
        {"extended statistics", ext, {}, {"-DpmStat", "-Dsply", "-Ext", "-PhysDrv[8:0]", "-a0"}, 0,
         configHead() + "Enclosure Device ID: 8\nSlot Number: 0\nDevice Id: 22\n" +
             "  Sectors                                      Commands\n" + std::string(79, '-') + "\n" +
             "Read        Write       Write-FUA      Read        Write       Write-FUA  Flush \n" + std::string(79, '-') +
             " \n" + "10          20          1              ########    5           ########    9         \n\n" +
             exitLine("00"),
         after(true, {sent(DPM_GET), sent(DPM_STATS), sent(DPM_STATS)}), {}},
        {"clearing the extended statistics: action 2, mask 16", ext, {}, {"-DpmStat", "-Clear", "-Ext", "-a0"}, 0,
         "Successfully cleared DPM Extended drive statistics\n" + exitLine("00"), after(true, {sent(DPM_SET)}),
         {"opcode=0x0a030000 mbox=0x00000002,0x00000010,0x00000000"}},
    });
    EXPECT_EQ(controllerState()["dpm"]["cleared"], "0x10");
    expectRuns({
        {"a refused clear passes the status on", ext, {{"status", DPM_SET, "0x2d"}}, {"-DpmStat", "-Clear", "-Lct", "-a0"},
         0x2d, "failed to Clear LCT" + DEVICE_BUSY + exitLine("2d"), after(true, {sent(DPM_SET, "0x2d")}),
         {"opcode=0x0a030000 mbox=0x00000002,0x00000002,0x00000000"}},
    });
}

// ---------------------------------------------------------------------------------------------

namespace {

const std::string AEC_SETTINGS_OFF =
    "Advanced Event Capture Settings: \n\nAEC enabled : Yes \nAdvanced Event Capture : Stopped \n"
    "Capture Mode : Continuous \nNumber of events to capture : 500 \nNumber of events captured in buffer : 77 \n"
    "Number of segments in buffer : 3 \nHost filter mask : 12 \nFirmware filter mask : 0 \n";

const nlohmann::json STOPPED = {
    {"eventCapture", {{"state", 1}, {"startValue", 500}, {"captured", 77}, {"segments", 3}, {"filterMask", 12}}}};

}  // namespace

TEST_F(MonitorsE2e, EventCaptureControlAndSettings)
{
    expectRuns({
        {"show: mode 0 is continuous", STOPPED, {}, {"-AdpAEC", "-Show", "-a0"}, 0, AEC_SETTINGS_OFF + exitLine("00"),
         after(true, {sent(AEC_SETTINGS)}), {}},
        {"start with a number of events", STOPPED, {}, {"-AdpAEC", "-Start", "-NumEvents", "250", "-a0"}, 0,
         "Advanced Event Capture is started.\n" + exitLine("00"), after(true, {sent(AEC_CONTROL)}),
         {"opcode=0x01180100 mbox=0x00000002,0x000000fa,0x00000000"}},
    });
    EXPECT_EQ(controllerState()["eventCapture"]["state"], 2);
    expectRuns({
        {"stop", STOPPED, {}, {"-AdpAEC", "-Stop", "-a0"}, 0, "Advanced Event Capture is stopped.\n" + exitLine("00"),
         after(true, {sent(AEC_CONTROL)}), {"opcode=0x01180100 mbox=0x00000001,0x00000000,0x00000000"}},
        {"disable", STOPPED, {}, {"-AdpAEC", "-Disable", "-a0"}, 0, "Advanced Event Capture is disabled.\n" + exitLine("00"),
         after(true, {sent(AEC_CONTROL)}), {"opcode=0x01180100 mbox=0x00000000,0x00000000,0x00000000"}},
        {"full capture mode", STOPPED, {}, {"-AdpAEC", "-CaptureMode", "-Full", "-a0"}, 0,
         "Advanced Event Capture mode is set.\n" + exitLine("00"), after(true, {sent(AEC_CONTROL)}),
         {"opcode=0x01180100 mbox=0x00000003,0x00000001,0x00000000"}},
        {"filter mask set: action 4, group, mask", STOPPED, {}, {"-AdpAEC", "-Filter", "3", "-Group", "5", "-a0"}, 0,
         "Advanced Event Capture filter mask is set. \n" + exitLine("00"), after(true, {sent(AEC_CONTROL)}),
         {"opcode=0x01180100 mbox=0x00000004,0x00000005,0x00000003"}},
    });
    EXPECT_EQ(controllerState()["eventCapture"]["filterMask"], "0xf");
    expectRuns({
        {"filter mask cleared", STOPPED, {}, {"-AdpAEC", "-Clear", "4", "-Group", "5", "-a0"}, 0,
         "Advanced Event Capture mode filter mask is cleared. \n" + exitLine("00"), after(true, {sent(AEC_CONTROL)}),
         {"opcode=0x01180100 mbox=0x00000005,0x00000005,0x00000004"}},
        {"a refused control command: -1, nothing printed", STOPPED, {{"status", AEC_CONTROL, "0x2d"}},
         {"-AdpAEC", "-Stop", "-a0"}, 1, exitLine("01"), after(true, {sent(AEC_CONTROL, "0x2d")}), {}},
    });
    EXPECT_EQ(controllerState()["eventCapture"]["filterMask"], "0xc");
}

TEST_F(MonitorsE2e, EventCaptureCopiedToAFile)
{
    RunResult r = expectRuns({
        {"three segments, in order, 32 KiB each", STOPPED, {}, {"-AdpAEC", "-Get", "-f", "cap.dat", "-a0"}, 0,
         "Events are captured in the file cap.dat\n" + exitLine("00"),
         after(true, Lines{sent(AEC_SETTINGS)} + repeat(sent(AEC_DUMP), 3)),
         {"opcode=0x01180200 mbox=0x00000000,0x00000000,0x00000000 len=32768",
          "opcode=0x01180200 mbox=0x00000001,0x00000000,0x00000000 len=32768",
          "opcode=0x01180200 mbox=0x00000002,0x00000000,0x00000000 len=32768"}},
    });
    ASSERT_EQ(r.files["cap.dat"].size(), 3u * 32768u);
    EXPECT_EQ(r.files["cap.dat"][32768], '\x01');
    EXPECT_EQ(r.files["cap.dat"][65536], '\x02');

    r = expectRuns({
        {"no segments: an empty file, the default name", {{"eventCapture", {{"state", 1}}}}, {}, {"-AdpAEC", "-Get", "-a0"},
         0, "Events are captured in the file KWAEC.dat\n" + exitLine("00"), after(true, {sent(AEC_SETTINGS)}), {}},
    });
    ASSERT_EQ(r.files.count("KWAEC.dat"), 1u);
    EXPECT_EQ(r.files["KWAEC.dat"], "");

    r = expectRuns({
        {"while the capture runs: refused, the file left empty", {{"eventCapture", {{"state", 2}, {"segments", 2}}}}, {},
         {"-AdpAEC", "-Get", "-a0"}, 1, "Advanced Event Capture is not stopped.\n" + exitLine("01"),
         after(true, {sent(AEC_SETTINGS), sent(AEC_DUMP, "0x61")}), {}},
    });
    EXPECT_EQ(r.files["KWAEC.dat"], "");

    expectRuns({
        {"a file that cannot be created", STOPPED, {}, {"-AdpAEC", "-Get", "-f", "no/such/dir/cap.dat", "-a0"}, 1,
         "ERROR: Failed to open file no/such/dir/cap.dat.\n" + exitLine("01"), after(true, {}), {}},
    });
}

// ---------------------------------------------------------------------------------------------

namespace {

const nlohmann::json MONITORED = {{"info", {{"ldFeatures", 8}}}};

// A results buffer of the described controller (one ordinary virtual drive: 272 bytes): cache
// metrics, one target entry, and the virtual-drive section at 144 with one entry.
std::string fullResults()
{
    auto u32 = [](unsigned v) {
        char b[9];
        snprintf(b, sizeof b, "%02x%02x%02x%02x", v & 0xff, (v >> 8) & 0xff, (v >> 16) & 0xff, v >> 24);
        return std::string(b);
    };
    std::string h = u32(144) + u32(60) + u32(10) + u32(20) + u32(30) + u32(40) + u32(50) + u32(60) + u32(70) +
                    "0000" "0100";                                   // no SSD-cache entries, one target
    std::string target = "05" + std::string(14, '0');               // target 5
    for (unsigned row = 0; row < 4; ++row)
        for (unsigned k = 0; k < 6; ++k)
            target += u32(100 * (row + 1) + k);
    std::string vd = u32(120) + u32(60) + "07" "00" "0900" + std::string(8, '0') + u32(11) + u32(12);
    for (unsigned k = 0; k < 26; ++k)
        vd += u32(k + 1);
    return h + target + vd;
}

const std::string NONE_BLOCK = "CACHE METRICS,None to Report\nLD OVERALL METRICS,None to Report\n\n\n\n";

}  // namespace

TEST_F(MonitorsE2e, PerformanceMonitorStartAndStop)
{
    expectRuns({
        {"start without an interval: 5 seconds", MONITORED, {}, {"-PerfMon", "-Start", "-a0"}, 0, exitLine("00"),
         after(false, {sent(INFO), sent(PERF_START)}), {"opcode=0x01170100 mbox=0x00000005,0x00000000,0x00000000"}},
    });
    EXPECT_EQ(controllerState()["perfMon"]["interval"], 5);
    expectRuns({
        {"start with an interval", MONITORED, {}, {"-PerfMon", "-Start", "-Interval", "1440", "-a0"}, 0, exitLine("00"),
         after(false, {sent(INFO), sent(PERF_START)}), {"opcode=0x01170100 mbox=0x000005a0,0x00000000,0x00000000"}},
        {"stop: the start opcode with a zero mailbox", MONITORED, {}, {"-PerfMon", "-Stop", "-a0"}, 0, exitLine("00"),
         after(false, {sent(INFO), sent(PERF_START)}), {"opcode=0x01170100 mbox=0x00000000,0x00000000,0x00000000"}},
        {"a refused start", MONITORED, {{"status", PERF_START, "0x2d"}}, {"-PerfMon", "-Stop", "-a0"}, 0x2d,
         "Adapter #0: Failed to Perform PerfMonCp Operation.\n" + DEVICE_BUSY + exitLine("2d"),
         after(false, {sent(INFO), sent(PERF_START, "0x2d")}), {}},
        {"not announced", {}, {}, {"-PerfMon", "-Stop", "-a0"}, 1, "Performance Monitor is not supported\n" + exitLine("01"),
         after(false, {sent(INFO)}), {}},
        {"the information cannot be read", MONITORED, {{"status", INFO, "0x2d", "--from", "3"}},
         {"-PerfMon", "-Stop", "-a0"}, 0x2d, "Adapter #0: Failed to Perform PerfMon Operation.\n" + DEVICE_BUSY + exitLine("2d"),
         after(false, {sent(INFO, "0x2d")}), {}},
    });
}

TEST_F(MonitorsE2e, PerformanceMonitorResults)
{
    const std::string dir = makeTempDir("quillperf");
    cleanup.push_back(dir);
    const Lines results = {"-PerfMon", "-GetResults", "-f", "perf.csv", "-a0"};
    // One ordinary drive: 48 + 224 bytes.
    RunResult r = expectRuns({
        {"an empty buffer, fetched twice: appended", MONITORED, {}, results, 0, exitLine("00"),
         after(false, {sent(INFO), sent(LD_INFO), sent(PERF_RESULTS)}), {"opcode=0x01170200 mbox=0x00000000,0x00000000,0x00000000 len=272"}},
        {"", MONITORED, {}, results, 0, exitLine("00"), after(false, {sent(INFO), sent(LD_INFO), sent(PERF_RESULTS)}), {}},
    }, dir);
    EXPECT_EQ(r.files["perf.csv"], NONE_BLOCK + NONE_BLOCK);

    nlohmann::json full = MONITORED;
    full["perfMon"] = {{"results", fullResults()}};
    std::remove((dir + "/perf.csv").c_str());
    r = expectRuns({{"cache metrics, a target and a virtual drive", full, {}, results, 0, exitLine("00"),
                     after(false, {sent(INFO), sent(LD_INFO), sent(PERF_RESULTS)}), {}}},
                   dir);
    EXPECT_EQ(r.files["perf.csv"],
              "CACHE METRICS\n,Collection Period (sec),60\n,Avg Dirty Cache (pct cache size),10\n"
              ",Avg Cache Used (pct cache size),20\n,Read Ahead Cache (MB),30\n,Unused Read Ahead Cache (MB),50\n"
              ",Read Ahead SSC (MB),40\n,Unused Read Ahead SSC (MB),60\n,Flush Block Time (ms),70\n"
              ",Target LD,5\n,,,Histogram,Size\n,,,Range,<=512Bytes,<=4KB,<=16KB,<=64KB,<=256KB,>256KB\n"
              ",,,Cache Read Count,100,101,102,103,104,105\n,,,Cache Write Count,200,201,202,203,204,205\n"
              ",,,SSC Read Count,300,301,302,303,304,305\n,,,SSC Write Count,400,401,402,403,404,405\n"
              "LD OVERALL METRICS\n,Collection Period (sec),60\n,Target LD,7\n,,,Idle Time (sec),9\n,,,Read MB,11\n"
              ",,,Write MB,12\n,,,Histogram,Size,,,,,,Randomness\n"
              ",,,Range,<=512Bytes,<=4KB,<=16KB,<=64KB,<=256KB,>256KB,Sequential,<=64K,<=512K,<=16M,<=256MB,<=1GB,>1GB\n"
              ",,,Read Count,1,2,3,4,5,6,13,14,15,16,17,18,19\n"
              ",,,Write Count,7,8,9,10,11,12,20,21,22,23,24,25,26\n\n\n\n");

    // Three ordinary drives and one SSD cache: 48 + 3 x 224 + 116 bytes.
    nlohmann::json four = MONITORED;
    four["lds"] = {{{"targetId", 0}}, {{"targetId", 1}}, {{"targetId", 2}}, {{"targetId", 3}, {"sscCache", 1}}};
    four["arrays"] = nlohmann::json::array();
    four["drives"] = nlohmann::json::array();
    std::remove((dir + "/perf.csv").c_str());
    expectRuns({
        {"the length follows the virtual drives", four, {}, results, 0, exitLine("00"),
         after(false, Lines{sent(INFO)} + repeat(sent(LD_INFO), 4) + Lines{sent(PERF_RESULTS)}), {"opcode=0x01170200 mbox=0x00000000,0x00000000,0x00000000 len=836"}},
        {"a failed read still appends the empty text", MONITORED, {{"status", PERF_RESULTS, "0x2d"}}, results, 0x2d,
         "Adapter #0: Failed to Perform PerfMonCp Operation.\n" + DEVICE_BUSY + exitLine("2d"),
         after(false, {sent(INFO), sent(LD_INFO), sent(PERF_RESULTS, "0x2d")}), {}},
    }, dir);
    EXPECT_EQ(readFile(dir + "/perf.csv"), NONE_BLOCK + NONE_BLOCK);
}

// A results file that does not take the text (the disk is full; the close fails) fails the
// command with the write-failure message, as every other writer of a named file does.
TEST_F(MonitorsE2e, PerformanceMonitorResultsFileThatFails)
{
    const Lines results = {"-PerfMon", "-GetResults", "-f", "perf.csv", "-a0"};
    const Lines commands = after(false, {sent(INFO), sent(LD_INFO), sent(PERF_RESULTS)});
    expectRuns({
        {"every write fails", MONITORED, {{"file", "perf.csv", "write", "no-space"}}, results, 1,
         "\n File write failed \n" + exitLine("01"), commands, {}},
        {"the close fails", MONITORED, {{"file", "perf.csv", "close", "io"}}, results, 1,
         "\n File write failed \n" + exitLine("01"), commands, {}},
    });
}
