// What the end-to-end tests of the long operations (drive rebuild, copyback and clear, and the
// virtual drives' background operations) share: the texts around every run, the firmware
// commands the host logs, and a host of preset "one" changed for the test.
#ifndef LONGOPERATIONRUNS_H
#define LONGOPERATIONRUNS_H

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "E2eHarness.h"

namespace longops {

typedef std::vector<std::string> Lines;

const std::string BLANK_OUT = "\r" + std::string(37, ' ') + "\n";
const std::string PRESS_ESC = "\n\r    Press <ESC> key to quit...\n\r";
// A terminal the program cannot open: the display stays on the plain console.
const char* const NO_TERMINAL = "quill-no-such-terminal";

inline std::string exitLine(const char* code) { return std::string("\nExit Code: 0x") + code + "\n"; }

inline std::string sent(const char* opcode, const char* status = "0x00")
{
    return std::string("host=2 opcode=") + opcode + " status=" + status;
}

inline Lines operator+(Lines a, const Lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Discovery, the refresh before the command and the controller check, without the model's reads.
inline Lines checked()
{
    return Lines{sent("0x01010000")} + refreshReads(2) + Lines{sent("0x010e8481")};
}

inline std::string repeat(char c, int n) { return std::string(static_cast<size_t>(n), c); }

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
