// "-PDRbld": starts, stops, suspends or resumes the rebuild of drives, reports its progress in
// one line per drive, or follows it on the progress display. The drives are handled in the
// order written; a failed start, stop, suspend or resume is reported in its drive's line and
// the walk goes on, so the result is the status of the last drive handled.
#ifndef PDRBLDCP_H
#define PDRBLDCP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class PdRebuildParsedObject;

class PdRbldCp : public CpFrame<PdRbldCp, TOKEN_PDRBLD> {
public:
    PdRbldCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    // The progress display of every drive of the request.
    int showProgress(CpController* cpController, PdRebuildParsedObject* request);
    ~PdRbldCp() override {}
};

#endif
