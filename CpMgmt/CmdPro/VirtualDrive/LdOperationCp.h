// "-LDCC", "-LDInit" and "-LDBI": the background operations of virtual drives (consistency
// check, initialization, background initialization). Each request names one operation word and
// a list of virtual drives (or all of them); the operation is applied to each drive in turn:
// start, abort, suspend, resume, a one-line progress report, the progress display, and for the
// background initialization enable, disable and the setting. A failure on one drive is reported
// and the walk goes on; the result is the status of the last drive handled, unless a read of a
// drive failed (its lookup, information, progress or allowed operations): the walk then ends
// with the first such status, since nothing was done or shown on that drive. A configuration
// that cannot be read ends the walk at once.
#ifndef LDOPERATIONCP_H
#define LDOPERATIONCP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdProgressBlock.h"

class LdOperationParsedObject;

class LdOperationCp : public CpFrame<LdOperationCp, TOKEN_LDCC, TOKEN_LDINIT, TOKEN_LDBI> {
public:
    LdOperationCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    // The progress display of the request's operation on its virtual drives.
    int showProgress(CpController* cpController, LdOperationParsedObject* request);
    ~LdOperationCp() override {}

private:
    // The progress of the drive being handled, overwritten for each drive (the display reads
    // into it too).
    LdProgressBlock progress;
};

#endif
