// "-PDClear": starts or stops the clearing of drives, reports its progress in one line per
// drive, or follows it on the progress display. Unlike the rebuild, the first drive that is not
// found or whose command fails ends the command; the drives before it keep what was done.
#ifndef PDCLRCP_H
#define PDCLRCP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class EnclSlotId;

class PdClrCp : public CpFrame<PdClrCp, TOKEN_PDCLEAR> {
public:
    PdClrCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    bool isDone() override { return true; }
    // The progress display of every drive of the list; each must be clearing.
    int showProgress(CpController* cpController, ArrayList<EnclSlotId*>* drives);
    ~PdClrCp() override {}
};

#endif
