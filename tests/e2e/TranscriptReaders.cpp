#include "TranscriptReaders.h"

#include <cctype>
#include <cstdio>

#include "E2eHarness.h"
#include "SimHostFixture.h"

namespace {

std::string fieldOf(const std::string& line, const std::string& key)
{
    const std::string value = commandLogField(line, key);
    return value == "-" ? std::string() : value;
}

} // namespace

std::vector<LoggedCommand> loggedCommandData(const std::string& hostDir, const std::string& opcode)
{
    std::vector<LoggedCommand> commands;
    for (const std::string& line : simhost::transcriptLines(hostDir)) {
        if (line.rfind("command ", 0) != 0)
            continue;
        LoggedCommand c;
        c.host = fieldOf(line, "host");
        c.opcode = fieldOf(line, "opcode");
        if (!opcode.empty() && c.opcode != opcode)
            continue;
        c.mbox = fieldOf(line, "mbox");
        c.dir = fieldOf(line, "dir");
        c.status = fieldOf(line, "status");
        c.block = fieldOf(line, "block");
        c.sent = fieldOf(line, "sent");
        c.returned = fieldOf(line, "returned");
        commands.push_back(c);
    }
    return commands;
}

std::vector<std::string> loggedShellCommands(const std::string& hostDir)
{
    return simhost::transcriptLines(hostDir, "shell");
}

std::vector<std::string> loggedVisibilitySteps(const std::string& hostDir)
{
    return simhost::transcriptLines(hostDir, "visibility");
}

std::vector<std::string> transcriptOutline(const std::string& hostDir)
{
    std::vector<std::string> outline;
    for (const std::string& line : simhost::transcriptLines(hostDir)) {
        if (line.rfind("command ", 0) == 0) {
            const std::string status = fieldOf(line, "status");
            outline.push_back("command opcode=" + fieldOf(line, "opcode") +
                              (status.empty() ? " refused" : " status=" + status));
        } else
            outline.push_back(line);
    }
    return outline;
}

std::string hexBytesAt(const std::string& hex, size_t offset, size_t count)
{
    if (2 * offset >= hex.size())
        return std::string();
    return hex.substr(2 * offset, 2 * count);
}

std::string hexFieldMismatches(const std::string& hex, const std::vector<std::pair<size_t, std::string>>& fields)
{
    std::string mismatches;
    for (const auto& field : fields) {
        std::string expected = field.second;
        for (char& c : expected)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        const std::string found = hexBytesAt(hex, field.first, expected.size() / 2);
        if (found == expected)
            continue;
        char at[32];
        snprintf(at, sizeof at, "at 0x%zx: ", field.first);
        mismatches += at + expected + " expected, " + (found.empty() ? "nothing" : found) + " found\n";
    }
    return mismatches;
}

std::string writtenDataMismatches(const std::string& hostDir, const WrittenData& expected)
{
    const std::vector<LoggedCommand> commands = loggedCommandData(hostDir, expected.opcode);
    const std::string which = std::string(expected.opcode) + " #" + std::to_string(expected.index) + ": ";
    if (expected.index >= commands.size())
        return which + "not sent (" + std::to_string(commands.size()) + " sent)";
    const std::string mismatches = hexFieldMismatches(commands[expected.index].sent, expected.fields);
    return mismatches.empty() ? std::string() : which + mismatches;
}
