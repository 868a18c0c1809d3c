// Readers of the simulated host's transcript (transcript.log beside commands.log): each
// firmware command with its data, the shell commands and the visibility steps, in the order
// they happened.
#ifndef TRANSCRIPTREADERS_H
#define TRANSCRIPTREADERS_H

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// One firmware command of the transcript.
struct LoggedCommand {
    std::string host;       // "2"
    std::string opcode;     // "0x01010000" (a pass-through: its CDB's operation code)
    std::string mbox;       // "0x00000000,0x00000000,0x00000000"
    std::string dir;        // "none", "read", "write", "both"
    std::string status;     // "0x00"; empty when the driver refused the frame
    std::string block;      // a pass-through's whole command block (hex); empty for others
    std::string sent;       // the data written to the firmware (hex; empty: none)
    std::string returned;   // the data the firmware answered (hex; empty: none)
};

// The firmware commands of the transcript, in the order sent; with `opcode` ("0x01010000"),
// only those.
std::vector<LoggedCommand> loggedCommandData(const std::string& hostDir, const std::string& opcode = "");

// The shell commands the program ran, in order, as it passed them.
std::vector<std::string> loggedShellCommands(const std::string& hostDir);

// The operating-system visibility steps, in order: "add host=2 via=sysfs",
// "add host=2 channel=2 target=0 lun=0 via=proc", "remove ... via=proc", "find ... via=sysfs".
std::vector<std::string> loggedVisibilitySteps(const std::string& hostDir);

// Everything in order, one line each: "command opcode=0x... status=0x..", "shell TEXT",
// "visibility STEP".
std::vector<std::string> transcriptOutline(const std::string& hostDir);

// The bytes of `hex` at `offset` (`count` of them, as hex); shorter when the data ends first.
std::string hexBytesAt(const std::string& hex, size_t offset, size_t count);

// Where `hex` differs from the expected field map (offset, expected bytes as hex), one line
// per field ("at 0x12: 0a00 expected, 0b00 found"); empty when every field holds.
std::string hexFieldMismatches(const std::string& hex, const std::vector<std::pair<size_t, std::string>>& fields);

// What a row expects of the data the `index`-th command of `opcode` (counted from 0) wrote to
// the firmware: the bytes at the given offsets (hex, from the record's layout).
struct WrittenData {
    const char* opcode;
    size_t index;
    std::vector<std::pair<size_t, std::string>> fields;
};

// Where the host's transcript differs from `expected`: "" when it holds.
std::string writtenDataMismatches(const std::string& hostDir, const WrittenData& expected);

#endif
