// The drive state changes of "-PhysDrv[E:S,...]": offline ("-PDOffline"), unconfigured good
// ("-PDMakeGood", "-Force" for a JBOD drive) and JBOD ("-PDMakeJBOD"). The drives change one
// after the other in the order written; the first failure ends the command, and the drives
// before it keep their new state.
#ifndef PDSTATECHANGECP_H
#define PDSTATECHANGECP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class PdOfLnCp : public CpFrame<PdOfLnCp, TOKEN_PDOFFLINE> {
public:
    PdOfLnCp() {}
    // 0 when every drive changed; -1, 0x5F or the enclosure resolver's result otherwise, or the
    // status of the drive list or of a drive's information that cannot be read (message 0x33006).
    int process(CpController* cpController, ParsedObject* request) override;
    bool isDone() override { return true; }
    ~PdOfLnCp() override {}
};

class PdMakeGoodCp : public CpFrame<PdMakeGoodCp, TOKEN_PDMAKEGOOD> {
public:
    PdMakeGoodCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    bool isDone() override { return true; }
    ~PdMakeGoodCp() override {}
};

class PdMakeSystemCp : public CpFrame<PdMakeSystemCp, TOKEN_PDMAKESYSTEM> {
public:
    PdMakeSystemCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    bool isDone() override { return true; }
    ~PdMakeSystemCp() override {}
};

#endif
