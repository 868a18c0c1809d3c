// The drive information ("-pdInfo -PhysDrv[E0:S0,E1:S1,...]"): the drives named, each shown
// with the same three blocks as in the drive list. Also the base of the processors that name
// drives the same way.
#ifndef PDINFOCP_H
#define PDINFOCP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class PdInfoCp : public CpFrame<PdInfoCp, TOKEN_PDINFO> {
public:
    PdInfoCp() {}
    // The drives named, in the order written (a drive named twice is shown twice); a drive not
    // on the adapter is reported and skipped. 0; -1 without model or for a request of another
    // class; the resolver's result when "?" names no single enclosure; the status of a
    // configuration that cannot be read (message 0x30024, before any drive), or of the drive
    // list or a drive's information that cannot be read (message 0x33006), which ends the
    // command after the drives shown before it.
    int process(CpController* cpController, ParsedObject* request) override;
    ~PdInfoCp() override {}
};

#endif
