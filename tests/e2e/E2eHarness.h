// Runs the real programs in a fresh temporary folder and captures what they leave behind.
#ifndef E2EHARNESS_H
#define E2EHARNESS_H

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "E2eTexts.h"

struct RunSpec {
    std::vector<std::string> args;                           // without the program name
    std::vector<std::pair<std::string, std::string>> env;    // added to a cleaned environment (replacing)
    std::string stdinText;                                   // then end of input
    std::string program;                                     // default: QuillCliSim
    std::string workDir;                                     // default: a fresh temporary folder
};

struct RunResult {
    std::string out;
    std::string err;
    int exitCode = -1;                            // the exit status, or 128 + signal
    std::string workDir;                          // where the program ran
    std::map<std::string, std::string> files;     // regular files left in workDir, by name
};

RunResult runProgram(const RunSpec& spec);

// A fresh temporary folder (removed by removeTree or left for inspection).
std::string makeTempDir(const char* tag = "quill");
void removeTree(const std::string& dir);
std::string readFile(const std::string& path);

// A fresh simulated host from a quillsim preset; returns its folder.
std::string makeSimHost(const std::string& preset);
// A fresh simulated host from a description's text ("quillsim create --from"); returns its
// folder, inside a temporary folder that removeTree of the folder's parent removes.
std::string makeSimHostFrom(const std::string& description);
// Adds a fault to a simulated host ("quillsim fault HOST ARGS..."); "" when it was taken, else
// the tool's complaint.
std::string addSimFault(const std::string& hostDir, const std::vector<std::string>& faultArgs);

// The firmware commands in the host's command log, in the order sent, each as
// "host=N opcode=0x... OUTCOME" (OUTCOME: the status, or how the driver refused the frame).
// Empty when the log does not exist: nothing was sent.
std::vector<std::string> loggedFirmwareCommands(const std::string& hostDir);

// The value of `key` ("target", "cdb", "len", ...) in one line of the host's command log; empty
// when the line has none.
std::string commandLogField(const std::string& line, const std::string& key);

// The log without the reads by which the RAID manager's refresh before a command builds its
// model (drive lists, drive information, configuration, logical-drive and enclosure lists):
// their number follows the host's drives, and the rows that use this pin other commands.
std::vector<std::string> withoutModelReads(const std::vector<std::string>& log);

// What else that refresh sends to the controller on SCSI host `host` when it succeeds: the
// controller information, for the drive-mix flags (the check before the command then uses it).
std::vector<std::string> refreshReads(unsigned host);

#endif
