// "-SecureErase": starts, stops and reports the firmware's overwriting secure erase of
// unconfigured drives (-PhysDrv) or of virtual drives (-L), and follows it on the progress
// display. The request names virtual drives or drives, never both: a logical-drive list selects
// the virtual-drive form. An erase runs on in the controller after the command has ended; with
// -DeleteVD the firmware deletes the virtual drive when its erase is done.
#ifndef SECUREERASECP_H
#define SECUREERASECP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdProgressBlock.h"

class RaidManager;
class SecureErasePo;

class SecureEraseCp : public CpFrame<SecureEraseCp, TOKEN_SECUREERASE> {
public:
    SecureEraseCp() {}
    // 0 after the last drive; -1 or the failing status at the first drive that is not found,
    // whose start or stop fails or whose progress cannot be read (the drives before it keep what
    // was done). Drives in the wrong state, not stoppable or not erasing are only reported; a
    // state or an allowed-operations word that cannot be read is no refusal: its line names the
    // read and the command ends with its status.
    int process(CpController* cpController, ParsedObject* request) override;
    bool isDone() override { return true; }
    // The progress display of the request's drives, or of its virtual drives when it names any.
    // It looks at the controller only through the display's own first pass.
    int showProgress(CpController* cpController, SecureErasePo* request);
    ~SecureEraseCp() override {}

private:
    int eraseDrives(CpController* cpController, RaidManager* manager, const SecureErasePo& request);
    int eraseVds(RaidManager* manager, uint8_t adapterNumber, const SecureErasePo& request);

    // The progress of the virtual drive being handled, overwritten for each drive (the display
    // reads into it too).
    LdProgressBlock progress;
};

#endif
