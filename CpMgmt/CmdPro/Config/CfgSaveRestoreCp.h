// "-CfgSave -f file -aN" writes the adapter's configuration (arrays, virtual drives, spares)
// and its adjustable properties into a file; "-CfgRestore -f file -aN" writes such a file back
// into the adapter. The file, its checks and the firmware commands are the RAID model's; this
// processor reads the model afresh, asks for the operation and reports its outcome.
#ifndef CFGSAVERESTORECP_H
#define CFGSAVERESTORECP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class CfgSaveRestorePo;
class CpController;
class RaidManager;

class CfgSaveRestoreCp : public CpFrame<CfgSaveRestoreCp, TOKEN_ADPCFGSAVE, TOKEN_ADPCFGRESTORE> {
public:
    CfgSaveRestoreCp() {}
    // The operation of the request's command id on the model read afresh (0 for any other id).
    int process(CpController* cpController, ParsedObject* request) override;
    ~CfgSaveRestoreCp() override {}

    // 0 after the saved line; the model's status after the failure line.
    static int saveConfig(RaidManager* manager, CfgSaveRestorePo* request);
    // 0 after the restored line; -1 after the failure line, whatever the model's status was (the
    // last firmware status stays in the last-error word).
    static int restoreConfig(RaidManager* manager, CfgSaveRestorePo* request);
};

#endif
