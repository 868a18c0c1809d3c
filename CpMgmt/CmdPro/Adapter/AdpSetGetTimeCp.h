// The controller clock: "-AdpGetTime" shows the controller's date and time, "-AdpSetTime" sets
// them from the date and time of the command line.
#ifndef ADPSETGETTIMECP_H
#define ADPSETGETTIMECP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class AdpSetGetTimeCp : public CpFrame<AdpSetGetTimeCp, TOKEN_SETTIME, TOKEN_GETTIME> {
public:
    AdpSetGetTimeCp() {}
    // The firmware status of the read or write (0 success); -1 for a request of another class.
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpSetGetTimeCp() override {}
};

#endif
