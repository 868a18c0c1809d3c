// What the end-to-end tests of the long operations (drive rebuild, copyback, clear and secure
// erase, and the virtual drives' background operations) share: the texts around every run, the
// screens of the drive displays, the firmware commands the host logs, and a host of preset "one"
// changed for the test.
#ifndef LONGOPERATIONRUNS_H
#define LONGOPERATIONRUNS_H

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "E2eHarness.h"

namespace longops {

const std::string PRESS_ESC = "\n\r    Press <ESC> key to quit...\n\r";
// A terminal the program cannot open: the display stays on the plain console.
const char* const NO_TERMINAL = "quill-no-such-terminal";

inline std::string sent(const char* opcode, const char* status = "0x00")
{
    return std::string("host=2 opcode=") + opcode + " status=" + status;
}

// Discovery, the refresh before the command and the controller check, without the model's reads.
inline Lines checked()
{
    return Lines{sent("0x01010000")} + refreshReads(2) + Lines{sent("0x010e8481")};
}

inline std::string repeat(char c, int n) { return std::string(static_cast<size_t>(n), c); }

const std::string PD_COLUMNS = "  Enclosure:Slot               Percent Complete                       Time Elps\n\r";

// The bars of the drive displays at a few percentages, fill '*'.
const std::string BAR_0 = repeat('*', 22) + "*00 %" + repeat('*', 23);
const std::string BAR_74 = repeat('#', 22) + "#74 %" + repeat('#', 10) + repeat('*', 13);
const std::string BAR_100 = repeat('#', 22) + "100 %" + repeat('#', 23);

// The elapsed time of an item line, with its line end.
inline std::string elapsed(int seconds)
{
    char text[64];
    snprintf(text, sizeof text, " %.2d:%.2d:%.2d\n\r", seconds / 3600, seconds % 3600 / 60, seconds % 60);
    return text;
}

// One screen of a drive display with one line per entry (prefix, bar, elapsed seconds).
struct ItemLine {
    std::string prefix;
    std::string bar;
    int seconds;
};
inline std::string screen(const std::string& title, const std::vector<ItemLine>& items)
{
    std::string text = title + PD_COLUMNS;
    for (const ItemLine& item : items)
        text += item.prefix + item.bar + elapsed(item.seconds);
    return text + PRESS_ESC;
}

// The whole display of one drive whose 20-second operation started just before: read at cycle 0
// (0 %), counted up to cycle 14, read at cycle 15 (74 %, 15 s), counted up to cycle 29, and read
// at cycle 30, where it has ended: 100 % with the time counted last.
inline std::string wholeDisplay(const std::string& title, const std::string& prefix)
{
    std::string text;
    for (int cycle = 0; cycle <= 30; ++cycle) {
        const std::string& bar = cycle < 15 ? BAR_0 : cycle < 30 ? BAR_74 : BAR_100;
        text += screen(title, {{prefix, bar, cycle < 30 ? cycle : 29}});
    }
    return text;
}

// A host of preset "one" with the edit merged into its controller; its folder's parent goes
// into `cleanup`.
inline std::string hostOfPresetOne(const nlohmann::json& edit, std::vector<std::string>& cleanup)
{
    const std::string dir = makeSimHost("one");
    cleanup.push_back(dir.substr(0, dir.rfind('/')));
    const std::string path = dir + "/state.json";
    nlohmann::json state = nlohmann::json::parse(readFile(path));
    state["controllers"][0].merge_patch(edit);
    std::ofstream(path) << state.dump(2);
    return dir;
}

// Moves the host's clock on ("quillsim advance").
inline void advanceClock(const std::string& dir, int seconds)
{
    RunSpec advance;
    advance.program = QUILLSIM_BIN;
    advance.args = {"advance", dir, std::to_string(seconds)};
    EXPECT_EQ(runProgram(advance).exitCode, 0);
}

// The mailboxes of the commands with the opcode in the host's command log.
inline Lines mailboxes(const std::string& dir, const char* opcode)
{
    Lines out;
    std::istringstream log(readFile(dir + "/commands.log"));
    std::string line;
    while (std::getline(log, line)) {
        const size_t at = line.find("mbox=");
        if (line.find(std::string("opcode=") + opcode) != std::string::npos)
            out.push_back(line.substr(at + 5, line.find(" len=") - at - 5));
    }
    return out;
}

}  // namespace longops

#endif
