// "-PDInstantSecureErase": erases self-encrypting drives at once through the controller's
// reprovisioning commands, drive by drive in the order given. A drive the firmware marks as
// reprovisionable is erased with the reprovisioning start; a drive locked by a foreign key on
// an adapter with encryption enabled with the reprovisioning check. Either needs -Force; any
// other drive is reported as not allowed and the walk goes on. "-PDReprovision" is the older
// word of the command and only prints a note that it is deprecated.
#ifndef PDREPROVISIONCP_H
#define PDREPROVISIONCP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class PdReprovisionCp : public CpFrame<PdReprovisionCp, TOKEN_PDINSTANTSECUREERASE, TOKEN_PDREPROVISION> {
public:
    PdReprovisionCp() {}
    // 0 after the last drive, also when no drive could be erased; -1 when a drive is not found,
    // needs -Force or its erase failed (the drives before it stay erased).
    int process(CpController* cpController, ParsedObject* request) override;
    bool isDone() override { return true; }
    ~PdReprovisionCp() override {}
};

#endif
