// The drive counts ("-LDGetNum", "-PDGetNum"): the number of virtual drives, or of disk and
// tape drives, of the adapter. The count is the command's result, so it becomes the exit code
// and a non-zero result does not stop the adapters after it.
#ifndef OBJNUMBERCP_H
#define OBJNUMBERCP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class ObjNumberCp : public CpFrame<ObjNumberCp, TOKEN_LDNUMBER, TOKEN_PDNUMBER> {
public:
    ObjNumberCp() {}
    // The count printed; -1 without model; the status of the read that failed (message 0x32001
    // or 0x33001 first) when the count cannot be read; 0 for a command the class does not serve.
    int process(CpController* cpController, ParsedObject* request) override;
    ~ObjNumberCp() override {}
};

#endif
