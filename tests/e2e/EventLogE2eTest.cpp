// The controller event log (-AdpEventLog) through the real binary and simulated hosts holding
// events of several classes, locales, argument types and both time forms: console, exit code,
// the file written, and the event commands the controller received (with their mailboxes).
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

const std::string SUCCESS = "Success in AdpEventLog\n";
const char* const DST_ZONE = "EST5EDT,M3.2.0,M11.1.0";

std::string repeat(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

// The log: oldest 0x20, last clear 0x21, last shutdown 0x22, this boot 0x24; newest 0x27.
const char* const EVENT_LOG = R"({
  "oldest": "0x20", "clear": "0x21", "shutdown": "0x22", "boot": "0x24",
  "events": [
    {"seq": "0x20", "time": "0xff00003c", "code": "0x1", "class": 0, "locale": "0x1", "argType": 0,
     "description": "Firmware initialization started"},
    {"seq": "0x21", "time": "0xf099c0", "code": "0x71", "class": 1, "locale": "0x2", "argType": 1,
     "args": "080001020612000012000000240000000000000000000000700005", "description": "Unexpected sense"},
    {"seq": "0x22", "time": 0, "code": "0x33", "class": 0, "locale": "0x1", "argType": 21,
     "args": "05000000000000006f6c6400000000000000000000000000010002030100000000000000000000006e6577000000000000000000000000000502000400",
     "description": "VD properties changed"},
    {"seq": "0x23", "time": "0x3c", "code": "0x10e", "class": 2, "locale": "0x2", "argType": 22,
     "args": "09000003000000000200000201000400", "description": "Global hot spare created"},
    {"seq": "0x24", "time": "0x15180", "code": "0x200", "class": -1, "locale": "0x2", "argType": 29,
     "args": "0a00fc00010400007856341200c500507956341200c50050", "description": "Device inserted"},
    {"seq": "0x25", "time": "0x15180", "code": "0x7f", "class": 3, "argType": 14, "description": "Fatal firmware error"},
    {"seq": "0x26", "time": "0x15180", "code": "0x300", "class": 0, "argType": 35, "description": "Unknown arguments"},
    {"seq": "0x27", "time": "0x15180", "code": "0x3f", "class": 1, "locale": "0x1", "argType": 9,
     "args": "07000000000000000200", "description": "Consistency check found inconsistent parity"}
  ]
})";

// Each event as the file shows it (the time line of the controller's wall clock).
std::string eventText(const char* seq, const std::string& time, const char* code, const char* cls, const char* locale,
                      const char* description, const std::string& data)
{
    return std::string("\n\nseqNum: 0x000000") + seq + "\n" + time + "Code: 0x" + code + "\nClass: " + cls +
           "\nLocale: 0x" + locale + "\nEvent Description: " + description + "\nEvent Data:\n===========\n" + data;
}

const std::string JAN2 = "Time: Sun Jan  2 00:00:00 2000\n\n";

const std::string EV_20 = eventText("20", "Seconds since last reboot: 60\n", "00000001", "0", "01",
                                    "Firmware initialization started", "None\n");
const std::string EV_21 =
    eventText("21", "Time: Sat Jul  1 12:00:00 2000\n\n", "00000071", "1", "02", "Unexpected sense",
              "Device ID: 8\nEnclosure Index: 1\nSlot Number: 2\nCDB Length: 6\nCDB Data:\n"
              "0012 0000 0000 0000 0024 0000 " + repeat("0000 ", 10) + "Sense Length: 18\nSense Data:\n0070 0000 0005 " +
                  repeat("0000 ", 61));
const std::string EV_22 = eventText(
    "22", "Time: Sat Jan  1 00:00:00 2000\n\n", "00000033", "0", "01", "VD properties changed",
    "Target Id: 5\nPrevious LD Properties\nAccess Policy: 0\nCurrent Cache Policy: 3\nDefault Cache Policy: 1\n"
    "Disk Cache Policy: 2\nName: old\nNoBgi: 1\nNew LD Properties\nAccess Policy: 2\nCurrent Cache Policy: 4\n"
    "Default Cache Policy: 5\nDisk Cache Policy: 0\nName: new\nNoBgi: 0\n");
const std::string EV_23 = eventText("23", "Time: Sat Jan  1 00:01:00 2000\n\n", "0000010e", "2", "02",
                                    "Global hot spare created",
                                    "Device ID: 9\nEnclosure Index: 0\nSlot Number: 3\nSpare Type:  Revertible \n"
                                    "Arrays Dedicated to:1 4 \n");
const std::string EV_24 = eventText("24", JAN2, "00000200", "-1", "02", "Device inserted",
                                    "Device ID: 10\nEnclosure Device ID: 252\nEnclosure Index: 1\nSlot Number: 4\n"
                                    "SAS Address 1: 5000c50012345678\nSAS Address 2: 5000c50012345679\n");
const std::string EV_25 = eventText("25", JAN2, "0000007f", "3", "00", "Fatal firmware error", "");
const std::string EV_26 = eventText("26", JAN2, "00000300", "0", "00", "Unknown arguments", "None\n");
const std::string EV_27 = eventText("27", JAN2, "0000003f", "1", "01", "Consistency check found inconsistent parity",
                                    "Target Id: 2\nStrip: 7\n");

std::string heading(int adapter, int count)
{
    return "\nAdapter: " + std::to_string(adapter) + " - Number of Events : " + std::to_string(count) + "\n\n";
}

const char* const INFO_READ = "opcode=0x01040100 mbox=0x00000000,0x00000000,0x00000000";

std::string countFrom(const char* seq)
{
    return std::string("opcode=0x01040400 mbox=0x000000") + seq + ",0x0000ffff,0x00000000";
}

std::string fetchFrom(const char* seq, const char* filter = "0x0000ffff")
{
    return std::string("opcode=0x01040300 mbox=0x000000") + seq + "," + filter + ",0x00000000";
}

struct Case {
    const char* what;
    Lines args;
    int exitCode;
    std::string out;
    std::string file;         // the content of out.txt; "-" when no file may be left
    Lines eventCommands;      // "opcode=... mbox=..." of the event commands of host 2
};

class EventLogE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    // A host of `preset` whose controllers hold `log`, with `faults`.
    std::string host(const char* preset, const nlohmann::json& log, const std::vector<Lines>& faults = {})
    {
        std::string dir = makeSimHost(preset);
        cleanup.push_back(dir.substr(0, dir.rfind('/')));
        const std::string path = dir + "/state.json";
        nlohmann::json state = nlohmann::json::parse(readFile(path));
        for (nlohmann::json& c : state["controllers"])
            c["eventLog"] = log;
        std::ofstream(path) << state.dump(2);
        for (const Lines& fault : faults)
            EXPECT_EQ(addSimFault(dir, fault), "");
        return dir;
    }

    RunResult run(const std::string& dir, const Lines& args, const char* tz = "UTC")
    {
        RunSpec spec;
        spec.args = args;
        spec.env = {{"QUILLCLI_SIM_HOST", dir}, {"TZ", tz}};
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        EXPECT_EQ(r.err, "");
        return r;
    }

    // The event commands (opcodes 0x0104....) of the host on SCSI host `scsiHost`.
    static Lines eventCommands(const std::string& dir, unsigned scsiHost = 2)
    {
        Lines out;
        std::istringstream log(readFile(dir + "/commands.log"));
        std::string line;
        const std::string hostWord = " host=" + std::to_string(scsiHost) + " ";
        while (std::getline(log, line)) {
            size_t at = line.find("opcode=0x0104");
            if (at != std::string::npos && line.find(hostWord) != std::string::npos)
                out.push_back(line.substr(at, line.find(" len=") - at));
        }
        return out;
    }

    void expectRuns(const std::vector<Case>& runs, const char* tz = "UTC")
    {
        for (const Case& c : runs) {
            SCOPED_TRACE(c.what);
            expectRun(host("one", nlohmann::json::parse(EVENT_LOG)), c, tz);
        }
    }

    // One run of `c` on the host in `dir`.
    void expectRun(const std::string& dir, const Case& c, const char* tz = "UTC")
    {
        RunResult r = run(dir, c.args, tz);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out, c.out);
        if (c.file == "-") {
            EXPECT_EQ(r.files.count("out.txt"), 0u);
        } else {
            EXPECT_EQ(r.files["out.txt"], c.file);
        }
        EXPECT_EQ(eventCommands(dir), c.eventCommands);
    }

    Lines cleanup;
};

const std::string DONE = BLANK_OUT + SUCCESS + exitLine("00");
const std::string NONE_MET = BLANK_OUT + SUCCESS + exitLine("01");

}  // namespace

TEST_F(EventLogE2e, InformationAndClear)
{
    expectRuns({
        {"the five numbers", {"-AdpEventLog", "-GetEventLogInfo", "-a0"}, 0,
         BLANK_OUT + "Adapter #0\n\nNewest Seqnum: 0x00000027\nOldest Seqnum: 0x00000020\nClear Seqnum: 0x00000021\n"
                     "Shutdown Seqnum: 0x00000022\nReboot Seqnum: 0x00000024\n\n" + SUCCESS + exitLine("00"),
         "-", {INFO_READ}},
        {"clear", {"-AdpEventLog", "-Clear", "-a0"}, 0, DONE, "-",
         {"opcode=0x01040200 mbox=0x00000000,0x00000000,0x00000000"}},
    });
    // The clear is in the next run's answers.
    const std::string dir = host("one", nlohmann::json::parse(EVENT_LOG));
    EXPECT_EQ(run(dir, {"-AdpEventLog", "-Clear", "-a0"}).exitCode, 0);
    RunResult after = run(dir, {"-AdpEventLog", "-GetEventLogInfo", "-a0"});
    EXPECT_NE(after.out.find("Clear Seqnum: 0x00000028\n"), std::string::npos) << after.out;
}

TEST_F(EventLogE2e, WalksFromASequenceNumberWriteEveryArgumentForm)
{
    const std::string sinceClear = heading(0, 6) + EV_21 + EV_22 + EV_23 + EV_25 + EV_26 + EV_27;
    expectRuns({
        {"since the last clear: the firmware leaves out class -1",
         {"-AdpEventLog", "-GetEvents", "-f", "out.txt", "-a0"}, 0, DONE, sinceClear,
         {INFO_READ, countFrom("21"), fetchFrom("21")}},
        {"including deleted: from the oldest", {"-AdpEventLog", "-IncludeDeleted", "-f", "out.txt", "-a0"}, 0, DONE,
         heading(0, 7) + EV_20 + EV_21 + EV_22 + EV_23 + EV_25 + EV_26 + EV_27,
         {INFO_READ, countFrom("20"), fetchFrom("20")}},
        {"since reboot, fatal and warning only", {"-AdpEventLog", "-GetSinceReboot", "-fatal", "-warning", "-f", "out.txt",
                                                   "-a0"},
         0, DONE, heading(0, 3) + EV_25 + EV_27, {INFO_READ, countFrom("24"), fetchFrom("24")}},
        {"since shutdown", {"-AdpEventLog", "-GetSinceShutdown", "-critical", "-f", "out.txt", "-a0"}, 0, DONE,
         heading(0, 5) + EV_23, {INFO_READ, countFrom("22"), fetchFrom("22")}},
        {"no event of the class: result 1, the heading still written",
         {"-AdpEventLog", "-GetSinceReboot", "-critical", "-f", "out.txt", "-a0"}, 1, NONE_MET, heading(0, 3),
         {INFO_READ, countFrom("24"), fetchFrom("24")}},
    });
}

// A summer-time stamp is shown as the controller's wall clock, the same as in a zone without
// daylight saving.
TEST_F(EventLogE2e, TimesInAZoneWithDaylightSaving)
{
    expectRuns({
        {"summer and winter stamps", {"-AdpEventLog", "-GetEvents", "-f", "out.txt", "-a0"}, 0, DONE,
         heading(0, 6) + EV_21 + EV_22 + EV_23 + EV_25 + EV_26 + EV_27, {INFO_READ, countFrom("21"), fetchFrom("21")}},
    }, DST_ZONE);
}

TEST_F(EventLogE2e, ProbesWithoutAFile)
{
    expectRuns({
        {"a warning exists since the clear", {"-AdpEventLog", "-GetEvents", "-warning", "-a0"}, 0, DONE, "-",
         {INFO_READ, countFrom("21"), fetchFrom("21")}},
        {"no critical event since reboot", {"-AdpEventLog", "-GetSinceReboot", "-critical", "-a0"}, 1, NONE_MET, "-",
         {INFO_READ, countFrom("24"), fetchFrom("24")}},
        {"without a class: 0", {"-AdpEventLog", "-GetSinceReboot", "-a0"}, 0, DONE, "-",
         {INFO_READ, countFrom("24"), fetchFrom("24")}},
        {"the newest-first probe stops at the first event that passes", {"-AdpEventLog", "-GetLatest", "9", "-fatal", "-a0"},
         0, DONE, "-", {INFO_READ, fetchFrom("27", "0xfe00ffff"), fetchFrom("26", "0xfe00ffff"),
                        fetchFrom("25", "0xfe00ffff")}},
    });
}

TEST_F(EventLogE2e, NewestFirst)
{
    const Lines down = {fetchFrom("27", "0xfe00ffff"), fetchFrom("26", "0xfe00ffff"), fetchFrom("25", "0xfe00ffff"),
                        fetchFrom("24", "0xfe00ffff"), fetchFrom("23", "0xfe00ffff"), fetchFrom("22", "0xfe00ffff"),
                        fetchFrom("21", "0xfe00ffff"), fetchFrom("20", "0xfe00ffff")};
    expectRuns({
        {"fewer than the log holds", {"-AdpEventLog", "-GetLatest", "3", "-f", "out.txt", "-a0"}, 0, DONE,
         EV_27 + EV_26 + EV_25, Lines{INFO_READ} + Lines(down.begin(), down.begin() + 3)},
        {"more than the log holds: down to the oldest, class -1 included",
         {"-AdpEventLog", "-GetLatest", "20", "-f", "out.txt", "-a0"}, 0, DONE,
         EV_27 + EV_26 + EV_25 + EV_24 + EV_23 + EV_22 + EV_21 + EV_20, Lines{INFO_READ} + down},
    });
}

// A newest number far above the events would make the walk ask once per number: it gives up
// after 1024 numbers in a row that brought no new event, with a message, keeping what it wrote.
TEST_F(EventLogE2e, NewestFirstGivesUpOnALyingNewestNumber)
{
    const std::string stopped = "Adapter #0: No new event in 1024 sequence numbers down to 0x";
    const std::string tail = "; the newest event number is not believed and the search stops.\n";
    const std::string failed = "AdpEventLog failed\n" + exitLine("01");

    nlohmann::json lying = nlohmann::json::parse(EVENT_LOG);
    lying["newest"] = "0xffffffff";
    const std::string dir = host("one", lying);
    RunResult r = run(dir, {"-AdpEventLog", "-GetLatest", "3", "-f", "out.txt", "-a0"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, BLANK_OUT + stopped + "fffffc00" + tail + failed);
    EXPECT_EQ(r.files["out.txt"], "");
    const Lines sentToLying = eventCommands(dir);
    ASSERT_EQ(sentToLying.size(), 1025u);
    EXPECT_EQ(sentToLying[1], "opcode=0x01040300 mbox=0xffffffff,0xfe00ffff,0x00000000");
    EXPECT_EQ(sentToLying[1024], "opcode=0x01040300 mbox=0xfffffc00,0xfe00ffff,0x00000000");

    // The event far above the others is written; the numbers below it hand it back again until
    // the walk gives up, before it reaches the older events.
    nlohmann::json gap = nlohmann::json::parse(EVENT_LOG);
    gap["events"].push_back(nlohmann::json::parse(
        R"({"seq": "0x1000", "time": "0xff00003c", "code": "0x1", "class": 0, "locale": "0x1", "argType": 0,
            "description": "Firmware initialization started"})"));
    const std::string gapDir = host("one", gap);
    RunResult g = run(gapDir, {"-AdpEventLog", "-GetLatest", "3", "-f", "out.txt", "-a0"});
    EXPECT_EQ(g.exitCode, 1);
    EXPECT_EQ(g.out, BLANK_OUT + stopped + "00000c00" + tail + failed);
    EXPECT_EQ(g.files["out.txt"], "\n\nseqNum: 0x00001000\nSeconds since last reboot: 60\nCode: 0x00000001\nClass: 0\n"
                                  "Locale: 0x01\nEvent Description: Firmware initialization started\nEvent Data:\n"
                                  "===========\nNone\n");
    EXPECT_EQ(eventCommands(gapDir).size(), 1026u);
}

TEST_F(EventLogE2e, FirmwareFailures)
{
    const std::string dir = host("one", nlohmann::json::parse(EVENT_LOG), {{"status", "0x01040300", "0x2d"}});
    RunResult r = run(dir, {"-AdpEventLog", "-GetEvents", "-f", "out.txt", "-a0"});
    EXPECT_EQ(r.exitCode, 0x2d);
    EXPECT_EQ(r.out, BLANK_OUT + "AdpEventLog failed\n" + DEVICE_BUSY + exitLine("2d"));
    EXPECT_EQ(r.files["out.txt"], heading(0, 6));

    // An empty selection is an empty log: the heading shows 0 and the walk still runs.
    const std::string empty = host("one", nlohmann::json::parse(R"({"newest": "0xc", "oldest": "0x5", "clear": "0x9"})"));
    RunResult e = run(empty, {"-AdpEventLog", "-GetEvents", "-f", "out.txt", "-a0"});
    EXPECT_EQ(e.exitCode, 0);
    EXPECT_EQ(e.out, DONE);
    EXPECT_EQ(e.files["out.txt"], heading(0, 0));
    EXPECT_EQ(eventCommands(empty), (Lines{INFO_READ, countFrom("09"), fetchFrom("09")}));
}

// -a0,1 and -aALL with a file: the first adapter replaces it, the later ones append.
TEST_F(EventLogE2e, SeveralAdaptersShareTheFile)
{
    for (const char* adapters : {"-a0,1", "-aALL"}) {
        SCOPED_TRACE(adapters);
        const std::string dir = host("two", nlohmann::json::parse(EVENT_LOG));
        RunSpec spec;
        spec.args = {"-AdpEventLog", "-GetEvents", "-warning", "-f", "out.txt", adapters};
        spec.env = {{"QUILLCLI_SIM_HOST", dir}, {"TZ", "UTC"}};
        spec.workDir = makeTempDir("evlog");
        cleanup.push_back(spec.workDir);
        std::ofstream(spec.workDir + "/out.txt") << "stale\n";
        RunResult r = runProgram(spec);
        EXPECT_EQ(r.exitCode, 0);
        const std::string one = heading(0, 6) + EV_21 + EV_27;
        EXPECT_EQ(readFile(spec.workDir + "/out.txt"), one + heading(1, 6) + EV_21 + EV_27);
        EXPECT_EQ(eventCommands(dir, 3), (Lines{INFO_READ, countFrom("21"), fetchFrom("21")}));
    }
}

// A batch of 128 events asks again from the number after its last; a shorter one ends the walk.
TEST_F(EventLogE2e, FullBatchAsksAgain)
{
    nlohmann::json log = {{"oldest", 1}, {"events", nlohmann::json::array()}};
    for (int seq = 1; seq <= 130; ++seq)
        log["events"].push_back({{"seq", seq}, {"time", 0}, {"class", 0}});
    const std::string dir = host("one", log);
    RunResult r = run(dir, {"-AdpEventLog", "-IncludeDeleted", "-f", "out.txt", "-a0"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.files["out.txt"].substr(0, heading(0, 130).size()), heading(0, 130));
    EXPECT_NE(r.files["out.txt"].find("seqNum: 0x00000082\n"), std::string::npos);
    EXPECT_EQ(eventCommands(dir), (Lines{INFO_READ, "opcode=0x01040400 mbox=0x00000001,0x0000ffff,0x00000000",
                                         "opcode=0x01040300 mbox=0x00000001,0x0000ffff,0x00000000",
                                         "opcode=0x01040300 mbox=0x00000081,0x0000ffff,0x00000000"}));
}

namespace {

// Three virtual drives, listed in the configuration as target ids 5, 0 and 2, and a log whose
// virtual-drive events since this boot (0x21) are inconsistencies of drives 5 and 2 and events
// that differ from one in a single field each (code, argument type, locale); 0x20 is older.
const char* const CC_VDS = R"({
  "arrays": [{"ref": 0, "drives": [8, 9]}, {"ref": 1, "drives": [10]}, {"ref": 2, "drives": [11]}],
  "lds": [{"targetId": 5, "drives": [11], "spans": [{"array": 2}], "sizeBlocks": 1952448512},
          {"targetId": 0, "raidLevel": 1, "drivesPerSpan": 2, "sizeBlocks": 1952448512, "drives": [8, 9],
           "spans": [{"array": 0}]},
          {"targetId": 2, "drives": [10], "spans": [{"array": 1}], "sizeBlocks": 1952448512}]
})";

const char* const CC_LOG = R"({
  "boot": "0x21",
  "events": [
    {"seq": "0x20", "code": "0x3f", "locale": "0x1", "argType": 9, "args": "07000000000000000200",
     "description": "Inconsistency before the boot"},
    {"seq": "0x21", "code": "0x3f", "locale": "0x1", "argType": 9, "args": "07000000000000000500",
     "description": "Inconsistency on 5"},
    {"seq": "0x22", "code": "0x3f", "locale": "0x1", "argType": 9, "args": "08000000000000000200",
     "description": "Inconsistency on 2"},
    {"seq": "0x23", "code": "0x3e", "locale": "0x1", "argType": 9, "args": "08000000000000000200",
     "description": "Another code"},
    {"seq": "0x24", "code": "0x3f", "locale": "0x1", "argType": 8, "args": "08000000000000000200",
     "description": "Another argument type"},
    {"seq": "0x25", "code": "0x3f", "locale": "0x2", "argType": 9, "args": "08000000000000000200",
     "description": "Another locale"},
    {"seq": "0x26", "code": "0x3f", "locale": "0x1", "argType": 9, "args": "09000000000000000500",
     "description": "Inconsistency on 5 again"}
  ]
})";

const std::string JAN1 = "Time: Sat Jan  1 00:00:00 2000\n\n";
const std::string CC_ON_5 =
    eventText("21", JAN1, "0000003f", "0", "01", "Inconsistency on 5", "Target Id: 5\nStrip: 7\n");
const std::string CC_ON_2 =
    eventText("22", JAN1, "0000003f", "0", "01", "Inconsistency on 2", "Target Id: 2\nStrip: 8\n");
const std::string CC_ON_5_AGAIN =
    eventText("26", JAN1, "0000003f", "0", "01", "Inconsistency on 5 again", "Target Id: 5\nStrip: 9\n");
const std::string NO_CC_ERRORS = "There are no CC errors logged. \n\n";
const Lines CC_COMMANDS = {INFO_READ, "opcode=0x01040400 mbox=0x00000021,0x00000001,0x00000000",
                           "opcode=0x01040300 mbox=0x00000021,0x00000001,0x00000000"};

struct CcCase {
    const char* what;
    const char* lds;          // the -L option
    const char* vds;          // the configuration (arrays and lds of the controller)
    const char* log;
    int exitCode;
    std::string out;
    std::string file;         // "-" when no file may be left
    Lines eventCommands;
};

}  // namespace

TEST_F(EventLogE2e, ConsistencyCheckReport)
{
    const std::vector<CcCase> cases = {
        {"every drive, in target-id order", "-LALL", CC_VDS, CC_LOG, 0, DONE,
         "Adapter #0\n\n" + CC_ON_2 + CC_ON_5 + CC_ON_5_AGAIN, CC_COMMANDS},
        {"listed drives in list order", "-L5,2", CC_VDS, CC_LOG, 0, "," + DONE,
         "Adapter #0\n\n" + CC_ON_5 + CC_ON_5_AGAIN + CC_ON_2, CC_COMMANDS},
        {"a listed drive that does not exist, between two that do", "-L2,3,5", CC_VDS, CC_LOG, 1,
         ",," + BLANK_OUT + "Adapter 0: Virtual Drive 3 Does not Exist.\nAdpEventLog failed\n" + exitLine("01"),
         "Adapter #0\n\n" + CC_ON_2 + "Adapter 0: Virtual Drive 3 Does not Exist.\n" + CC_ON_5 + CC_ON_5_AGAIN,
         CC_COMMANDS},
        {"only a drive that does not exist", "-L3", CC_VDS, CC_LOG, 1,
         BLANK_OUT + "Adapter 0: Virtual Drive 3 Does not Exist.\n" + NO_CC_ERRORS + "AdpEventLog failed\n" +
             exitLine("01"),
         "Adapter #0\n\nAdapter 0: Virtual Drive 3 Does not Exist.\n" + NO_CC_ERRORS, CC_COMMANDS},
        {"a drive without inconsistencies", "-L0", CC_VDS, CC_LOG, 0, BLANK_OUT + NO_CC_ERRORS + SUCCESS + exitLine("00"),
         "Adapter #0\n\n" + NO_CC_ERRORS, CC_COMMANDS},
        {"no virtual-drive event since the boot: no file", "-LALL", CC_VDS, R"({"boot": "0x30", "events": [
           {"seq": "0x20", "code": "0x3f", "locale": "0x1", "argType": 9, "args": "07000000000000000500"},
           {"seq": "0x30", "code": "0x3f", "locale": "0x2", "argType": 9, "args": "07000000000000000500"}]})",
         0, BLANK_OUT + "Adapter 0: No VD related event logged.\n" + SUCCESS + exitLine("00"), "-",
         {INFO_READ, "opcode=0x01040400 mbox=0x00000030,0x00000001,0x00000000"}},
        {"no virtual drive configured", "-LALL", R"({"arrays": [], "lds": []})", CC_LOG, 1,
         BLANK_OUT + "Adapter 0: No Virtual Drive Configured.\nAdpEventLog failed\n" + exitLine("01"), "-",
         {INFO_READ}},
    };
    for (const CcCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string dir = host("one", nlohmann::json::parse(c.log));
        const std::string path = dir + "/state.json";
        nlohmann::json state = nlohmann::json::parse(readFile(path));
        const nlohmann::json vds = nlohmann::json::parse(c.vds);
        state["controllers"][0]["arrays"] = vds["arrays"];
        state["controllers"][0]["lds"] = vds["lds"];
        std::ofstream(path) << state.dump(2);
        expectRun(dir, Case{c.what, {"-AdpEventLog", "-GetCCIncon", "-f", "out.txt", c.lds, "-a0"}, c.exitCode, c.out,
                            c.file, c.eventCommands});
    }
}

// The events since the boot come at most 128 a time: the second request starts after the last
// event of the first.
TEST_F(EventLogE2e, ConsistencyCheckReportFetchesInBatches)
{
    nlohmann::json log = {{"boot", 1}, {"events", nlohmann::json::array()}};
    for (int seq = 1; seq <= 130; ++seq)
        log["events"].push_back({{"seq", seq}, {"code", 0x3f}, {"locale", 1}, {"argType", 9}});
    const std::string dir = host("one", log);
    RunResult r = run(dir, {"-AdpEventLog", "-GetCCIncon", "-f", "out.txt", "-L0", "-a0"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, DONE);
    // Every one names target id 0 (its arguments are zeros).
    EXPECT_EQ(r.files["out.txt"].substr(0, 12), "Adapter #0\n\n");
    EXPECT_NE(r.files["out.txt"].find("seqNum: 0x00000082\n"), std::string::npos);
    EXPECT_EQ(eventCommands(dir), (Lines{INFO_READ, "opcode=0x01040400 mbox=0x00000001,0x00000001,0x00000000",
                                         "opcode=0x01040300 mbox=0x00000001,0x00000001,0x00000000",
                                         "opcode=0x01040300 mbox=0x00000081,0x00000001,0x00000000"}));
    const std::string commands = readFile(dir + "/commands.log");
    EXPECT_NE(commands.find("mbox=0x00000001,0x00000001,0x00000000 len=32776"), std::string::npos) << commands;
    EXPECT_NE(commands.find("mbox=0x00000081,0x00000001,0x00000000 len=520"), std::string::npos) << commands;
}
