// The quillsim tool: creates and manages simulated host directories.
//
//   quillsim create DIR [--preset NAME]        a new host (default preset "one")
//   quillsim create DIR --from FILE.json       a new host from a host description
//   quillsim show DIR                          the host's description (the same format)
//   quillsim fault DIR TYPE ARGS [FILTERS] [MODE]
//       status OPCODE STATUS                   the firmware answers STATUS to OPCODE
//       ioctl [RETURN] [--errno N]             the ioctl returns RETURN (default -1)
//       short OPCODE BYTES                     the record comes back with BYTES bytes only
//       corrupt OPCODE OFFSET HEXBYTES         the record's bytes from OFFSET are replaced
//       missing-driver                         the driver node cannot be opened
//       json '{...}'                           a fault as the state holds it
//       clear                                  removes every fault
//     FILTERS: --opcode OP  --host N  --driver KIND
//     MODE:    --once  --times N  --from N     (default: every matching command)
//   quillsim advance DIR SECONDS               moves the simulated clock
#ifndef QUILLSIM_H
#define QUILLSIM_H

#include <string>
#include <vector>

// Runs the tool with the arguments after the program name; returns the exit code (0 success,
// 1 failure, 2 wrong usage).
int runQuillSim(const std::vector<std::string>& args);

#endif
