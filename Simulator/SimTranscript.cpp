#include "Simulator/SimTranscript.h"

#include <cstdio>
#include <cstring>

#include "Simulator/Firmware/SimFirmware.h"
#include "Simulator/SimBytes.h"

namespace sim {

namespace {

const char* directionName(uint16_t flags)
{
    const bool in = flags & FRAME_DIR_WRITE, out = flags & FRAME_DIR_READ;
    return in && out ? "both" : in ? "write" : out ? "read" : "none";
}

std::string hexOrDash(const Bytes& data) { return data.empty() ? "-" : toHex(data); }

// A line break or other control character would end or garble the record's line.
std::string oneLine(const char* text, size_t length)
{
    std::string line;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n')
            line += "\\n";
        else if (c == '\\')
            line += "\\\\";
        else if (c < 0x20 || c == 0x7f) {
            char escaped[8];
            snprintf(escaped, sizeof escaped, "\\x%02x", c);
            line += escaped;
        } else
            line += static_cast<char>(c);
    }
    return line;
}

// "scsi add-single-device H C T L" and "scsi remove-single-device H C T L", one per line.
void procLines(const std::string& text, std::vector<std::string>& steps)
{
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find('\n', from);
        const std::string line = text.substr(from, end == std::string::npos ? std::string::npos : end - from);
        from = end == std::string::npos ? text.size() : end + 1;
        char verb[32] = {0};
        unsigned host = 0, channel = 0, target = 0, lun = 0;
        if (sscanf(line.c_str(), "scsi %31s %u %u %u %u", verb, &host, &channel, &target, &lun) != 5)
            steps.push_back("unknown via=proc text=" + oneLine(line.data(), line.size()));
        else {
            const char* step = strcmp(verb, "add-single-device") == 0      ? "add"
                               : strcmp(verb, "remove-single-device") == 0 ? "remove"
                                                                           : nullptr;
            char fields[96];
            snprintf(fields, sizeof fields, " host=%u channel=%u target=%u lun=%u via=proc", host, channel, target,
                     lun);
            steps.push_back(step ? step + std::string(fields) : "unknown via=proc text=" + oneLine(line.data(), line.size()));
        }
    }
}

std::string addressFields(unsigned host, unsigned channel, unsigned target, unsigned lun)
{
    char fields[80];
    snprintf(fields, sizeof fields, "host=%u channel=%u target=%u lun=%u", host, channel, target, lun);
    return fields;
}

} // namespace

const char* const SimTranscript::FILE_NAME = "transcript.log";

void SimTranscript::append(const std::string& line)
{
    if (state_.hostDir().empty())
        return;
    FILE* f = fopen((state_.hostDir() + "/" + FILE_NAME).c_str(), "a");
    if (!f)
        return;
    const std::string text = "t=" + std::to_string(state_.clock()) + " " + line + "\n";
    fputs(text.c_str(), f);
    fclose(f);
}

void SimTranscript::command(const std::string& head, const SimCommand& cmd, const Bytes* sent, const Bytes* returned,
                            uint8_t status)
{
    char outcome[32];
    snprintf(outcome, sizeof outcome, " status=0x%02x", status);
    std::string line = "command " + head + " dir=" + directionName(cmd.flags) + outcome;
    if (!cmd.block.empty())
        line += " block=" + toHex(cmd.block);
    line += " sent=" + (sent ? hexOrDash(*sent) : std::string("-"));
    line += " returned=" + (returned ? hexOrDash(*returned) : std::string("-"));
    append(line);
}

void SimTranscript::refused(const std::string& head, const std::string& outcome)
{
    append("command " + head + " " + outcome);
}

void SimTranscript::shell(const char* command)
{
    append("shell " + (command ? oneLine(command, strlen(command)) : std::string("(null)")));
}

void SimTranscript::controlWrite(const std::string& path, const char* data, size_t length)
{
    const std::string text(data, length);
    std::vector<std::string> steps;
    if (path == "/proc/scsi/scsi")
        procLines(text, steps);
    else {
        unsigned host = 0;
        if (sscanf(path.c_str(), "/sys/class/scsi_host/host%u/scan", &host) == 1 && text == "- - -")
            steps.push_back("add host=" + std::to_string(host) + " via=sysfs");
        else
            steps.push_back("unknown via=sysfs path=" + path + " text=" + oneLine(data, length));
    }
    for (const std::string& step : steps)
        append("visibility " + step);
}

void SimTranscript::diskLookup(unsigned host, unsigned channel, unsigned target, unsigned lun)
{
    append("visibility find " + addressFields(host, channel, target, lun) + " via=sysfs");
}

void SimTranscript::diskCommand(unsigned host, unsigned channel, unsigned target, unsigned lun,
                                const std::string& request)
{
    append("disk " + addressFields(host, channel, target, lun) + " " + request);
}

void SimTranscript::opened(const std::string& path) { append("open " + oneLine(path.data(), path.size())); }

void SimTranscript::closed(const std::string& path) { append("close " + oneLine(path.data(), path.size())); }

void SimTranscript::slept(unsigned seconds) { append("sleep " + std::to_string(seconds)); }

} // namespace sim
