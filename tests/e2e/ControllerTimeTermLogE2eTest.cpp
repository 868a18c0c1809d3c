// The controller clock ("-AdpGetTime", "-AdpSetTime") and the firmware terminal log
// ("-FwTermLog") through the real binary and simulated hosts: console, exit code, and the
// firmware commands each controller received, with the offsets of the log's pieces.
#include "FirmwareCaseE2e.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

using namespace e2ecase;

const char* const GET_TIME = "0x01080101";
const char* const SET_TIME = "0x01080102";
const char* const LOG_CLEAR = "0x01090100";
const char* const LOG_GET = "0x01090200";
const char* const MODE_GET = "0x010a0100";
const char* const MODE_OFF = "0x010a0200";
const char* const MODE_ON = "0x010a0300";
const char* const MODE_OFF_TEMP = "0x010a0400";

class ControllerTimeTermLogE2e : public FirmwareCaseE2e {};

const Lines DISCOVERED_2 = {sent(2, INFO)};
const Lines DISCOVERED_BOTH = {sent(2, INFO), sent(3, INFO)};

// One adapter of the "one" preset running a command that sends `own`.
Lines onAdapter0(const Lines& own)
{
    return DISCOVERED_2 + action(2, false, own);
}

nlohmann::json withLog(const std::string& text)
{
    return {{"termLog", {{"text", text}}}};
}

std::string pieceAt(unsigned offset)
{
    char word[16];
    std::snprintf(word, sizeof word, "0x%08x", offset);
    return std::string("opcode=") + LOG_GET + " mbox=" + word + ",0x00000000,0x00000000";
}

const std::string LOG_HEADER = "Firmware Term Log Information on controller 0:\n";

}  // namespace

TEST_F(ControllerTimeTermLogE2e, GetTime)
{
    expectRuns({
        {"month first", "one", {{"time", {{"year", 2013}, {"month", 5}, {"day", 28}, {"hour", 0}, {"minute", 7},
                                          {"second", 9}}}},
         {}, {"-AdpGetTime", "-a0"}, 0,
         BLANK_OUT + "\nAdapter 0:\n    Date: 05/28/2013\n    Time: 00:07:09\n" + exitLine("00"),
         onAdapter0({sent(2, GET_TIME)}), {}},
        {"a refused read passes its status on", "one", {}, {{"status", GET_TIME, "0x2d"}}, {"-AdpGetTime", "-a0"}, 0x2d,
         BLANK_OUT + "Failed to get data on Adapter 0\n" + DEVICE_BUSY + exitLine("2d"),
         onAdapter0({sent(2, GET_TIME, "0x2d")}), {}},
        {"-aALL", "two", {}, {}, {"-AdpGetTime", "-aALL"}, 0,
         BLANK_OUT + "\nAdapter 0:\n    Date: 03/03/2014\n    Time: 10:21:07\n"
                     "\nAdapter 1:\n    Date: 03/03/2014\n    Time: 10:21:07\n" + exitLine("00"),
         DISCOVERED_BOTH + action(2, false, {sent(2, GET_TIME)}) + action(3, false, {sent(3, GET_TIME)}), {}},
    }, {GET_TIME});
}

TEST_F(ControllerTimeTermLogE2e, SetTime)
{
    expectRuns({
        {"set", "one", {}, {}, {"-AdpSetTime", "20130528", "13:05:00", "-a0"}, 0,
         "::" + BLANK_OUT + "New date/time is set on Adapter 0\n" + exitLine("00"), onAdapter0({sent(2, SET_TIME)}),
         {}, nullptr,
         // Year 2013 (0x07dd, low byte first), month 5, day 28, 13:05:00, the reserved byte 0.
         {{SET_TIME, 0, {{0, "dd07051c0d050000"}}}}},
        {"a refused write passes its status on", "one", {}, {{"status", SET_TIME, "0x2d"}},
         {"-AdpSetTime", "20130528", "13:05:00", "-a0"}, 0x2d,
         "::" + BLANK_OUT + "Failed to Set data on Adapter 0\n" + DEVICE_BUSY + exitLine("2d"),
         onAdapter0({sent(2, SET_TIME, "0x2d")}), {}},
    }, {SET_TIME});
}

// The clock keeps what was set: the next read shows it.
TEST_F(ControllerTimeTermLogE2e, SetTimeThenGetTime)
{
    const std::string dir = makeSimHost("one");
    cleanup.push_back(dir.substr(0, dir.rfind('/')));
    RunSpec set;
    set.args = {"-AdpSetTime", "13:05:00", "20240229", "-a0"};
    set.env = {{"QUILLCLI_SIM_HOST", dir}};
    RunResult r = runProgram(set);
    cleanup.push_back(r.workDir);
    EXPECT_EQ(r.exitCode, 0);
    RunSpec get = set;
    get.args = {"-AdpGetTime", "-a0"};
    r = runProgram(get);
    cleanup.push_back(r.workDir);
    EXPECT_EQ(r.out, BLANK_OUT + "\nAdapter 0:\n    Date: 02/29/2024\n    Time: 13:05:00\n" + exitLine("00"));
    EXPECT_EQ(r.exitCode, 0);
}

TEST_F(ControllerTimeTermLogE2e, DisplayTermLog)
{
    const std::string full(1016, 'f');
    const std::string almost(1015, 'a');
    const std::string longer = std::string(1016, 'x') + std::string(1016, 'y') + "tail\n";
    expectRuns({
        {"an empty log: the heading only", "one", {}, {}, {"-FwTermLog", "-Dsply", "-a0"}, 0,
         BLANK_OUT + LOG_HEADER + exitLine("00"), onAdapter0({sent(2, LOG_GET)}), {pieceAt(0)}},
        {"1015 characters end the log", "one", withLog(almost), {}, {"-FwTermLog", "-Dsply", "-a0"}, 0,
         BLANK_OUT + LOG_HEADER + almost + exitLine("00"), onAdapter0({sent(2, LOG_GET)}), {pieceAt(0)}},
        {"1016 characters: a second piece at 1016", "one", withLog(full), {}, {"-FwTermLog", "-Dsply", "-a0"}, 0,
         BLANK_OUT + LOG_HEADER + full + exitLine("00"), onAdapter0({sent(2, LOG_GET), sent(2, LOG_GET)}),
         {pieceAt(0), pieceAt(1016)}},
        {"three pieces", "one", withLog(longer), {}, {"-FwTermLog", "-Dsply", "-a0"}, 0,
         BLANK_OUT + LOG_HEADER + longer + exitLine("00"),
         onAdapter0({sent(2, LOG_GET), sent(2, LOG_GET), sent(2, LOG_GET)}), {pieceAt(0), pieceAt(1016), pieceAt(2032)}},
        // A count larger than a piece holds moves on by one full piece, not by the count.
        {"a lying count", "one", withLog("short log\n"), {{"corrupt", LOG_GET, "4", "ffffffff", "--once"}},
         {"-FwTermLog", "-Dsply", "-a0"}, 0, BLANK_OUT + LOG_HEADER + "short log\n" + exitLine("00"),
         onAdapter0({sent(2, LOG_GET), sent(2, LOG_GET)}), {pieceAt(0), pieceAt(1016)}},
        {"the first read fails", "one", withLog("text"), {{"status", LOG_GET, "0x2d"}}, {"-FwTermLog", "-Dsply", "-a0"},
         0x2d, BLANK_OUT + LOG_HEADER + "Error reading firmware term log data.\n" + DEVICE_BUSY + exitLine("2d"),
         onAdapter0({sent(2, LOG_GET, "0x2d")}), {}},
        {"the second read fails: the first piece stays shown", "one", withLog(full),
         {{"status", LOG_GET, "0x2d", "--from", "2"}}, {"-FwTermLog", "-Dsply", "-a0"}, 0x2d,
         BLANK_OUT + LOG_HEADER + full + "Error reading firmware term log data.\n" + DEVICE_BUSY + exitLine("2d"),
         onAdapter0({sent(2, LOG_GET), sent(2, LOG_GET, "0x2d")}), {}},
    }, {LOG_GET});
}

// A firmware whose pieces keep claiming to be full is not followed for ever: a full piece that
// brings no text ends the log, and pieces that keep bringing text stop at the largest log a
// controller holds (1 MiB, 1033 pieces of 1016 characters) with a message and a failed result.
TEST_F(ControllerTimeTermLogE2e, PiecesThatAlwaysClaimToBeFull)
{
    const std::string stopped = "\nFirmware term log reading stopped after 1048576 bytes: the controller reports "
                                "more log data than a term log holds.\n";
    Lines reads;
    Lines offsets;
    std::string shown;
    for (unsigned piece = 0; piece < 1033; ++piece) {
        reads.push_back(sent(2, LOG_GET));
        offsets.push_back(pieceAt(piece * 1016));
        shown += "ABC\n";
    }
    expectRuns({
        {"a full piece without text ends the log", "one", withLog("short log\n"),
         {{"corrupt", LOG_GET, "4", "f8030000"}}, {"-FwTermLog", "-Dsply", "-a0"}, 0,
         BLANK_OUT + LOG_HEADER + "short log\n" + exitLine("00"), onAdapter0({sent(2, LOG_GET), sent(2, LOG_GET)}),
         {pieceAt(0), pieceAt(1016)}},
        {"full pieces with text stop at the largest log", "one", {}, {{"corrupt", LOG_GET, "4", "f80300004142430a"}},
         {"-FwTermLog", "-Dsply", "-a0"}, 1, BLANK_OUT + LOG_HEADER + shown + stopped + exitLine("01"),
         onAdapter0(reads), offsets},
    }, {LOG_GET});
}

TEST_F(ControllerTimeTermLogE2e, TermLogCommands)
{
    const nlohmann::json mode3 = {{"termLog", {{"bbuMode", 3}}}};
    const nlohmann::json mode0 = {{"termLog", {{"bbuMode", 0}}}};
    expectRuns({
        {"clear", "one", withLog("old"), {}, {"-FwTermLog", "-Clear", "-a0"}, 0,
         BLANK_OUT + "Firmware termlog is cleared on Adapter 0\n" + exitLine("00"), onAdapter0({sent(2, LOG_CLEAR)}), {}},
        {"battery on", "one", {}, {}, {"-FwTermLog", "-BBUon", "-a0"}, 0,
         BLANK_OUT + "Battery is set to ON for TTY history on Adapter 0\n" + exitLine("00"), onAdapter0({sent(2, MODE_ON)}),
         {}},
        {"battery off", "one", {}, {}, {"-FwTermLog", "-BBUoff", "-a0"}, 0,
         BLANK_OUT + "Battery is set to OFF for TTY history on Adapter 0\n" + exitLine("00"),
         onAdapter0({sent(2, MODE_OFF)}), {}},
        {"battery off for this boot", "one", {}, {}, {"-FwTermLog", "-BBUoffTemp", "-a0"}, 0,
         BLANK_OUT + "Battery is set to temporarily off for this boot for TTY history on Adapter 0\n" + exitLine("00"),
         onAdapter0({sent(2, MODE_OFF_TEMP)}), {}},
        {"mode 1", "one", {}, {}, {"-FwTermLog", "-BBUGet", "-a0"}, 0,
         BLANK_OUT + "Battery is ON for TTY history on Adapter 0\n" + exitLine("00"), onAdapter0({sent(2, MODE_GET)}), {}},
        {"mode 0", "one", mode0, {}, {"-FwTermLog", "-BBUGet", "-a0"}, 0,
         BLANK_OUT + "Battery is OFF for TTY history on Adapter 0\n" + exitLine("00"), onAdapter0({sent(2, MODE_GET)}), {}},
        {"mode 3 is unknown", "one", mode3, {}, {"-FwTermLog", "-BBUGet", "-a0"}, 0,
         BLANK_OUT + "Battery is Unknown for TTY history on Adapter 0\n" + exitLine("00"),
         onAdapter0({sent(2, MODE_GET)}), {}},
        {"a refused command passes its status on", "one", {}, {{"status", LOG_CLEAR, "0x2d"}},
         {"-FwTermLog", "-Clear", "-a0"}, 0x2d,
         BLANK_OUT + "Failed sending command to Adapter 0\n" + DEVICE_BUSY + exitLine("2d"),
         onAdapter0({sent(2, LOG_CLEAR, "0x2d")}), {}},
        {"-aALL", "two", {}, {}, {"-FwTermLog", "-BBUGet", "-aALL"}, 0,
         BLANK_OUT + "Battery is ON for TTY history on Adapter 0\nBattery is ON for TTY history on Adapter 1\n" +
             exitLine("00"),
         DISCOVERED_BOTH + action(2, false, {sent(2, MODE_GET)}) + action(3, false, {sent(3, MODE_GET)}), {}},
    }, {});
}

// A clear empties the log that the next display reads; a mode set is what the next get shows.
TEST_F(ControllerTimeTermLogE2e, ClearThenDisplayAndSetThenGet)
{
    const std::string dir = makeSimHost("one");
    cleanup.push_back(dir.substr(0, dir.rfind('/')));
    auto run = [&](const Lines& args) {
        RunSpec spec;
        spec.args = args;
        spec.env = {{"QUILLCLI_SIM_HOST", dir}};
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        return r;
    };
    EXPECT_EQ(run({"-FwTermLog", "-BBUoff", "-a0"}).exitCode, 0);
    EXPECT_EQ(run({"-FwTermLog", "-BBUGet", "-a0"}).out,
              BLANK_OUT + "Battery is OFF for TTY history on Adapter 0\n" + exitLine("00"));
    EXPECT_EQ(run({"-FwTermLog", "-Clear", "-a0"}).exitCode, 0);
    EXPECT_EQ(run({"-FwTermLog", "-Dsply", "-a0"}).out, BLANK_OUT + LOG_HEADER + exitLine("00"));
}
