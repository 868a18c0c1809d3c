// The drive commands that share one request: bring drives online ("-PDOnline"), mark them
// missing ("-PdMarkMissing"), start or stop their locate indication ("-PdLocate"), and list the
// array rows whose drive is missing ("-PdGetMissing"). The drive commands walk the list in the
// order written and stop at the first drive not found or failing; drives handled before keep
// their new state.
#ifndef PDONLNCP_H
#define PDONLNCP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class PdOnLnCp : public CpFrame<PdOnLnCp, TOKEN_PDONLINE> {
public:
    PdOnLnCp() {}
    // 0 when every drive was handled (or the missing rows were listed); -1 for a missing model,
    // a drive not found or already online; the status of the drive list or of a drive's
    // information that cannot be read (message 0x33006), or of the configuration read of
    // "-PdGetMissing" (message 0x36017); otherwise the firmware status of the failed command,
    // or the enclosure resolver's result.
    int process(CpController* cpController, ParsedObject* request) override;
    ~PdOnLnCp() override {}

private:
    // The "-PdGetMissing" display: one line per array row whose drive is missing.
    static int showMissingDrives(CpController* cpController);
};

#endif
