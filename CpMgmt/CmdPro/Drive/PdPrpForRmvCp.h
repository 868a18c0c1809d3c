// "-PdPrpRmv [-UnDo]": asks the controller to prepare each drive named for removal (spin it
// down), or to take that back. The drives are handled in the order written; the first drive
// not found or refused ends the command, and those before it stay prepared.
#ifndef PDPRPFORRMVCP_H
#define PDPRPFORRMVCP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class PdPrpForRmvCp : public CpFrame<PdPrpForRmvCp, TOKEN_PDPRPRMV> {
public:
    PdPrpForRmvCp() {}
    // 0; -1 for a missing model or a drive not found; the firmware status of a refusal; the
    // enclosure resolver's result; the status of the drive list or of a drive's information
    // that cannot be read (message 0x33006).
    int process(CpController* cpController, ParsedObject* request) override;
    bool isDone() override { return true; }
    ~PdPrpForRmvCp() override {}
};

#endif
