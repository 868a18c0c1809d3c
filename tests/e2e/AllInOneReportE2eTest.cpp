// The all-in-one diagnostic report ("-AdpAlILog") through the real binary and simulated hosts:
// the whole report against a checked-in expected text, the banner, the host lines, the defect
// counts a drive refuses, the event history's batches, and the failures that end the report.
#include "FirmwareCaseE2e.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

using namespace e2ecase;

class AllInOneReportE2e : public FirmwareCaseE2e {
protected:
    // The report's host: the checked-in description, with `edit` merged into the description
    // and `controllerEdit` into its controller.
    std::string reportHost(const nlohmann::json& edit = nullptr, const nlohmann::json& controllerEdit = nullptr)
    {
        nlohmann::json state = nlohmann::json::parse(readFile(dataFile("allinone-host.json")));
        if (!edit.is_null())
            state.merge_patch(edit);
        if (!controllerEdit.is_null())
            state["controllers"][0].merge_patch(controllerEdit);
        const std::string dir = makeSimHostFrom(state.dump(2));
        cleanup.push_back(dir.substr(0, dir.rfind('/')));
        return dir;
    }

    static std::string dataFile(const char* name) { return std::string(QUILL_SOURCE_DIR) + "/tests/e2e/data/" + name; }

    // The command on a host, in UTC.
    RunResult run(const std::string& hostDir, const Lines& args)
    {
        RunSpec spec;
        spec.args = args;
        spec.env = {{"QUILLCLI_SIM_HOST", hostDir}, {"TZ", "UTC"}};
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        return r;
    }

    // "status target cdb" of every pass-through the host received.
    static Lines passThroughs(const std::string& hostDir)
    {
        Lines out;
        std::istringstream log(readFile(hostDir + "/commands.log"));
        std::string line;
        while (std::getline(log, line)) {
            if (line.find(" frame=4 ") == std::string::npos)
                continue;
            const size_t status = line.find("status=");
            out.push_back(line.substr(status));
        }
        return out;
    }

    // The "opcode=... mbox=... len=..." of the log's commands with that opcode.
    static Lines withLength(const std::string& hostDir, const std::string& opcode)
    {
        Lines out;
        std::istringstream log(readFile(hostDir + "/commands.log"));
        std::string line;
        while (std::getline(log, line)) {
            const size_t at = line.find("opcode=" + opcode + " ");
            if (at != std::string::npos)
                out.push_back(line.substr(at, line.find(" status=") - at));
        }
        return out;
    }
};

std::string between(const std::string& text, const std::string& from, const std::string& to)
{
    const size_t start = text.find(from);
    if (start == std::string::npos)
        return "<" + from + " missing>";
    const size_t end = text.find(to, start + from.size());
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

// Drives in and outside an enclosure, two logical drives (one of two spans on two arrays), a
// battery, events of three kinds and terminal-log text: the whole report, then the commands it
// sent to the drives themselves (drive 9 refuses its grown list, drive 20 its primary one).
TEST_F(AllInOneReportE2e, WholeReport)
{
    const std::string dir = reportHost();
    RunResult r = run(dir, {"-AdpAlILog", "-a0"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, BLANK_OUT + readFile(dataFile("allinone-report.txt")) + exitLine("00"));
    EXPECT_EQ(passThroughs(dir), (Lines{
                                     "status=0x00 target=8 cdb=b71500",
                                     "status=0x00 target=8 cdb=b70d00",
                                     "status=0x00 target=9 cdb=b71500",
                                     "status=0x2d target=9 cdb=b70d00",
                                     "status=0x00 target=10 cdb=b71500",
                                     "status=0x00 target=10 cdb=b70d00",
                                     "status=0x00 target=11 cdb=b71500",
                                     "status=0x00 target=11 cdb=b70d00",
                                     "status=0x2d target=20 cdb=b71500",
                                 }));
    // The temporary file of the host pipelines is gone.
    EXPECT_EQ(readFile(dir + "/..rdlog.tmp.tmp"), "");
    std::ifstream left(dir + "/..rdlog.tmp.tmp");
    EXPECT_FALSE(left.good());
}

// -aALL and -a0,1: one complete report per controller, each with its banner and its own number.
TEST_F(AllInOneReportE2e, OneReportPerController)
{
    nlohmann::json state = nlohmann::json::parse(readFile(dataFile("allinone-host.json")));
    nlohmann::json second = state["controllers"][0];
    second["host"] = 3;
    second["pci"] = {{"bus", 4}};
    state["controllers"].push_back(second);
    const std::string dir = makeSimHostFrom(state.dump(2));
    cleanup.push_back(dir.substr(0, dir.rfind('/')));
    RunResult r = run(dir, {"-AdpAlILog", "-aALL"});
    EXPECT_EQ(r.exitCode, 0);
    std::string report = readFile(dataFile("allinone-report.txt"));
    std::string second1 = report;
    second1.replace(second1.find("Adapter #0"), 10, "Adapter #1");
    second1.replace(second1.find("controller 0:"), 13, "controller 1:");
    EXPECT_EQ(r.out, BLANK_OUT + report + second1 + exitLine("00"));
    // Two adapters named one by one (the scanner echoes the list's comma).
    r = run(dir, {"-AdpAlILog", "-a0,1"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "," + BLANK_OUT + report + second1 + exitLine("00"));
}

// The banner follows the controller's PCI vendor id.
TEST_F(AllInOneReportE2e, BannerByVendorId)
{
    const std::string kolvex = reportHost(nullptr, {{"info", {{"vendorId", "0x1c5a"}}}});
    RunResult r = run(kolvex, {"-AdpAlILog", "-a0"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find("Date/Time:")),
              BLANK_OUT +
                  "\n     Kolvex(R) RAID Command Line Utilities Version "
                  "     =========================================================================\n\nAdapter #0\n\n");
    const std::string other = reportHost(nullptr, {{"info", {{"vendorId", "0x1c5b"}}}});
    r = run(other, {"-AdpAlILog", "-a0"});
    EXPECT_EQ(r.out.substr(0, r.out.find("Date/Time:")),
              BLANK_OUT + "\n      SAS RAID Management Tool Command Line Utilities \n"
                          "     ===================================================\n\nAdapter #0\n\n");
}

// The host date in local time with AM/PM: both date lines of the report.
TEST_F(AllInOneReportE2e, HostDateAndTime)
{
    struct Row {
        uint64_t time;
        const char* line;
    };
    const Row rows[] = {
        {1781051400, "Date/Time:          Wed Jun 10 12:30:00 AM\n"},   // 00:30
        {1781094600, "Date/Time:          Wed Jun 10 12:30:00 PM\n"},   // 12:30
        {1781096705, "Date/Time:          Wed Jun 10 01:05:05 PM\n"},   // 13:05
        {1781135999, "Date/Time:          Wed Jun 10 11:59:59 PM\n"},   // 23:59
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        RunResult r = run(reportHost({{"hostTime", row.time}}), {"-AdpAlILog", "-a0"});
        const size_t first = r.out.find(row.line);
        ASSERT_NE(first, std::string::npos);
        EXPECT_NE(r.out.find(row.line, first + 1), std::string::npos);
    }
}

// The host lines when the host's files say otherwise: a kernel text without "(", no driver
// version file, a version line without its newline, no processor model line, and a stale
// temporary file left by an earlier run.
TEST_F(AllInOneReportE2e, HostLines)
{
    const std::string head = "Adapter #0\n\nDate/Time:          Wed Jun 10 11:50:05 AM\n";
    struct Row {
        const char* what;
        nlohmann::json edit;
        std::string lines;
    };
    const Row rows[] = {
        {"a kernel text without an opening parenthesis is shown whole", {{"procVersion", "Linux 6.1 quill\n"}},
         "Operating System:   Linux 6.1 quill\n\nPhysical Memory:    8041236 \nOperating Version:  Linux 6.1 quill\n\n"
         "Driver Name:        quillraid_sas\nDriver Version:     06.803.01.00\n"
         "Processor:          Quill Virtual CPU @ 2.40GHz\n"},
        {"without the driver version file: no driver lines, the newline stays", {{"driverVersionFile", ""}},
         "Operating System:   Linux version 3.10.0-quill \nPhysical Memory:    8041236 \n"
         "Operating Version:  Linux version 3.10.0-quill \n\nProcessor:          Quill Virtual CPU @ 2.40GHz\n"},
        {"a version line without a newline keeps its last character", {{"driverVersionFile", "07.1"}},
         "Operating System:   Linux version 3.10.0-quill \nPhysical Memory:    8041236 \n"
         "Operating Version:  Linux version 3.10.0-quill \nDriver Name:        quillraid_sas\n"
         "Driver Version:     07.1\nProcessor:          Quill Virtual CPU @ 2.40GHz\n"},
        {"the first processor's model only; memory as the line gives it",
         {{"procCpuinfo", "processor\t: 0\nmodel name\t: Quill A\nprocessor\t: 1\nmodel name\t: Quill B\n"},
          {"procMeminfo", "MemTotal:       16318596 kB\n"}},
         "Operating System:   Linux version 3.10.0-quill \nPhysical Memory:    16318596 \n"
         "Operating Version:  Linux version 3.10.0-quill \nDriver Name:        quillraid_sas\n"
         "Driver Version:     06.803.01.00\nProcessor:          Quill A\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        RunResult r = run(reportHost(row.edit), {"-AdpAlILog", "-a0"});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(between(r.out, head, "\n\n     RAID Controller"), head + row.lines);
    }
}

TEST_F(AllInOneReportE2e, StaleTemporaryFileIsReplaced)
{
    const std::string dir = reportHost();
    {
        std::ofstream(dir + "/..rdlog.tmp.tmp") << "MemTotal:  stale stale stale\n";
    }
    RunResult r = run(dir, {"-AdpAlILog", "-a0"});
    EXPECT_NE(r.out.find("Physical Memory:    8041236 \n"), std::string::npos);
    std::ifstream left(dir + "/..rdlog.tmp.tmp");
    EXPECT_FALSE(left.good());
}

// The event history reads at most 32 events a request, numbering each reply's events from its
// first record; a log whose newest number is below its oldest shows no event.
TEST_F(AllInOneReportE2e, EventHistoryBatches)
{
    nlohmann::json events = nlohmann::json::array();
    for (int seq = 101; seq <= 140; ++seq)
        events.push_back({{"seq", seq}, {"time", 86400 * (seq - 100)}, {"class", 0}, {"description", "tick"}});
    const std::string dir = reportHost(nullptr, {{"eventLog", {{"newest", 140}, {"oldest", 101}, {"events", events}}}});
    RunResult r = run(dir, {"-AdpAlILog", "-a0"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(withLength(dir, "0x01040300"),
              (Lines{"opcode=0x01040300 mbox=0x00000065,0x0000ffff,0x00000000 len=8200",
                     "opcode=0x01040300 mbox=0x00000085,0x0000ffff,0x00000000 len=2056"}));
    EXPECT_NE(r.out.find("------------\n101: 00-01-02,00:00:00 Info:tick\n102: 00-01-03,00:00:00 Info:tick\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("132: 00-02-02,00:00:00 Info:tick\n133: 00-02-03,00:00:00 Info:tick\n"), std::string::npos);
    EXPECT_NE(r.out.find("140: 00-02-10,00:00:00 Info:tick\n\n\n                              Online History"),
              std::string::npos);

    const std::string backwards = reportHost(nullptr, {{"eventLog", {{"newest", 3}, {"oldest", 9}}}});
    r = run(backwards, {"-AdpAlILog", "-a0"});
    EXPECT_EQ(withLength(backwards, "0x01040300"), Lines{});
    EXPECT_NE(r.out.find("EVENT DETAILS\n------------\n\n\n                              Online History"),
              std::string::npos);
}

// Failures: the controller information read ends the command with only its message; a failed
// read of a section ends the report there with its status; a failed battery read or terminal
// log read leaves the rest of the report.
TEST_F(AllInOneReportE2e, Failures)
{
    const std::string busy =
        "\nFW error description: \n The requested operation could not be completed as device is busy or "
        "unexpected error occurred.  \n";
    std::string dir = reportHost();
    EXPECT_EQ(addSimFault(dir, {"status", INFO, "0x2d", "--from", "3"}), "");
    RunResult r = run(dir, {"-AdpAlILog", "-a0"});
    EXPECT_EQ(r.exitCode, 0x2d);
    EXPECT_EQ(r.out, BLANK_OUT + "Adapter #0: Failed to Perform AdpAll information Operation.\n" + busy + exitLine("2d"));

    struct Row {
        const char* what;
        const char* opcode;
        const char* endsWith;
    };
    const Row rows[] = {
        {"drive list", "0x02010000", "learnCycleTimeout:                            No        \n\n\n\n"},
        {"logical-drive list", "0x03010000", "Slot Number          5 \n\n\n"},
        {"event-log information", "0x01040100", "Device IDs:     11 \n\n\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        dir = reportHost();
        // The refresh before the command reads the drive list itself: only the report's reads fail.
        EXPECT_EQ(addSimFault(dir, {"status", row.opcode, "0x2d", "--from", row.opcode == std::string("0x02010000") ? "3" : "1"}), "");
        r = run(dir, {"-AdpAlILog", "-a0"});
        EXPECT_EQ(r.exitCode, 0x2d);
        const std::string tail = std::string(row.endsWith) + busy + exitLine("2d");
        ASSERT_GE(r.out.size(), tail.size());
        EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);
        EXPECT_EQ(r.out.find("Online History"), std::string::npos);
    }

    dir = reportHost();
    EXPECT_EQ(addSimFault(dir, {"status", "0x01090200", "0x2d"}), "");
    EXPECT_EQ(addSimFault(dir, {"status", "0x05010000", "0x2d"}), "");
    r = run(dir, {"-AdpAlILog", "-a0"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("BBU Battery Type:                             No Battery\n\n\n\n\n"), std::string::npos);
    EXPECT_NE(r.out.find("Firmware Term Log Information on controller 0:\n\nError reading firmware term log data.\n\n\n"
                         "Date/Time:"),
              std::string::npos);
}

// Counts that lie are clamped to the room of their record: a logical-drive list claiming 200
// drives walks its 64 entries, a span count of 200 its 8 spans, an event reply claiming 200
// events the 3 its buffer holds.
TEST_F(AllInOneReportE2e, LyingCounts)
{
    std::string dir = reportHost();
    EXPECT_EQ(addSimFault(dir, {"corrupt", "0x01040300", "0", "c8000000"}), "");
    RunResult r = run(dir, {"-AdpAlILog", "-a0"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("3: 04-02-29,00:00:00 WARNING:"), std::string::npos);
    EXPECT_EQ(r.out.find("\n4: "), std::string::npos);

    dir = reportHost();
    EXPECT_EQ(addSimFault(dir, {"corrupt", "0x03020000", "37", "c8"}), "");
    r = run(dir, {"-AdpAlILog", "-a0"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("# of spans                     : 200"), std::string::npos);
    EXPECT_NE(r.out.find("Span# 7 "), std::string::npos);
    EXPECT_EQ(r.out.find("Span# 8 "), std::string::npos);

    dir = reportHost();
    EXPECT_EQ(addSimFault(dir, {"corrupt", "0x03010000", "0", "c8000000"}), "");
    r = run(dir, {"-AdpAlILog", "-a0"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("# of Logical Drives :64 \n"), std::string::npos);
    EXPECT_NE(r.out.find("\nLogical Drive# 63 \n"), std::string::npos);
    EXPECT_EQ(r.out.find("\nLogical Drive# 64 \n"), std::string::npos);
}

// The redundant space of the second logical drive (4,000,000 blocks of 512 bytes on two spans)
// by its RAID level and drives per span; layouts without room for parity show 0.
TEST_F(AllInOneReportE2e, RedundantSpace)
{
    struct Row {
        int level;
        int perSpan;
        const char* line;
    };
    const Row rows[] = {
        {5, 2, "Total Redundant space(MB)       : 3906"},    // 4,000,000 / 1 x 2 spans
        {5, 3, "Total Redundant space(MB)       : 1953"},    // 4,000,000 / 2 x 2
        {5, 1, "Total Redundant space(MB)       : 0"},
        {6, 4, "Total Redundant space(MB)       : 3906"},    // 4,000,000 / 2 x 2 x 2
        {6, 2, "Total Redundant space(MB)       : 0"},
        {6, 1, "Total Redundant space(MB)       : 0"},
        {17, 3, "Total Redundant space(MB)       : 3906"},   // 4,000,000 x 2
        {0, 2, "Total Redundant space(MB)       : 0"},
    };
    nlohmann::json state = nlohmann::json::parse(readFile(dataFile("allinone-host.json")));
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.level) + "/" + std::to_string(row.perSpan));
        nlohmann::json lds = state["controllers"][0]["lds"];
        lds[1]["raidLevel"] = row.level;
        lds[1]["drivesPerSpan"] = row.perSpan;
        RunResult r = run(reportHost(nullptr, {{"lds", lds}}), {"-AdpAlILog", "-a0"});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(between(r.out, "Logical Drive name             : striped\n", "\n\nDefault Read"),
                  std::string("Logical Drive name             : striped\n") + row.line);
    }
}
