// The firmware's terminal log ("-FwTermLog"): the text the controller firmware writes to its
// console. Shows or clears it, and sets or shows whether the battery keeps its history through
// a power loss.
#ifndef ADPTTYLOGCP_H
#define ADPTTYLOGCP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class AdpTTYLogCp : public CpFrame<AdpTTYLogCp, TOKEN_ADPTERMLOG> {
public:
    AdpTTYLogCp() {}
    // The firmware status of the last command (0 success); -1 for a request of another class
    // or an action the command does not have.
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpTTYLogCp() override {}
};

// Prints the whole terminal log through the console printer, piece by piece from offset 0
// while the pieces come back full with text. A failed read prints its message and ends the log.
// Returns the status of the last read (0 when the log was read to its end), or -1 with a
// message when the pieces still come full at the largest size a log has. The diagnostic report
// prints the log with the same loop.
[[nodiscard]] int printFirmwareTermLog(CpController* cpController);

#endif
