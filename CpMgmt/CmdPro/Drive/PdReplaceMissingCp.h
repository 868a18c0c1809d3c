// "-PdReplaceMissing -physdrv[E:S] -arrayA -rowB": puts a drive into the place of the missing
// drive at row B of array A. Before the replace command goes out, the drive, the array and the
// row are checked against the firmware's own drive list and configuration, read by this
// command: the drive exists, the row's drive is missing, and the new drive has the sector size
// of the configured drives. Only the first drive of the list is used.
#ifndef PDREPLACEMISSINGCP_H
#define PDREPLACEMISSINGCP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "CpMgmt/CmdPro/Drive/PdInfoCp.h"
#include "Parser/TokenIds.h"

class PdReplaceMissingCp : public CpFrameOver<PdInfoCp, PdReplaceMissingCp, TOKEN_PDREPLACEMISSING> {
public:
    PdReplaceMissingCp() {}
    // 0 replaced; -1 for a failed check; the firmware status of a failed read or of the
    // replace command; the enclosure resolver's result.
    int process(CpController* cpController, ParsedObject* request) override;
    ~PdReplaceMissingCp() override {}
};

#endif
