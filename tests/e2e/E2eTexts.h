// Fragments of expected console text and command lists that most end-to-end tests build from:
// the line the scanner leaves before a command's own output, the closing exit-code line, and a
// list of lines (firmware commands, shell commands, ...) that rows join with +.
#ifndef E2ETEXTS_H
#define E2ETEXTS_H

#include <cstdio>
#include <string>
#include <vector>

// What every accepted line prints first: it overwrites the characters the scanner echoed.
inline const std::string BLANK_OUT = "\r" + std::string(37, ' ') + "\n";

// What the console shows when the firmware answers that the device is busy (status 0x2d).
inline const std::string DEVICE_BUSY =
    "\nFW error description: \n The requested operation could not be completed as device is busy or unexpected error occurred.  \n";

// What the console shows when the firmware answers that the command's arguments are invalid
// (status 0x03).
inline const std::string INVALID_ARGUMENTS = "\nFW error description: \n The requested command has invalid arguments.  \n";

// What a parsed command prints when no processor on the controller carries it out.
inline const std::string UNSUPPORTED = "Un-supported command\n";

// What a line the grammar does not accept prints.
inline const std::string PARSE_FAILED = "Failed to parse command. Use -h option for usage.\n";

// The closing line of every run, from the code as the program prints it ("00", "2d", "fffffffe").
inline std::string exitLine(const char* code)
{
    return std::string("\nExit Code: 0x") + code + "\n";
}

// The same from the exit code as a number: two hex digits at least, lower case.
inline std::string exitLine(int code)
{
    char text[32];
    snprintf(text, sizeof text, "\nExit Code: 0x%02x\n", static_cast<unsigned>(code));
    return text;
}

// Lines in order (the commands a host logs, the shell commands run, ...).
typedef std::vector<std::string> Lines;

// `a`, then `b`.
inline Lines operator+(Lines a, const Lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

#endif
