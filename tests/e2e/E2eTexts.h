// The pieces of expected console text and command lists that most end-to-end tests build from:
// the line the scanner leaves before a command's own output, the closing exit-code line, and a
// list of lines (firmware commands, shell commands, ...) that rows join with +.
#ifndef E2ETEXTS_H
#define E2ETEXTS_H

#include <string>

// What every accepted line prints first: it overwrites the characters the scanner echoed.
inline const std::string BLANK_OUT = "\r" + std::string(37, ' ') + "\n";

#endif
