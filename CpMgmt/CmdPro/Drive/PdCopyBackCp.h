// "-PDCpyBk": starts a copyback from a source drive to a destination drive, or for one drive
// stops, suspends or resumes it, reports its progress in one line, or follows it on the
// progress display.
#ifndef PDCOPYBACKCP_H
#define PDCOPYBACKCP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class PdCopyBackParsedObject;

class PdCopyBackCp : public CpFrame<PdCopyBackCp, TOKEN_PDCPYBK> {
public:
    PdCopyBackCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    // The progress display of the request's first drive.
    int showProgress(CpController* cpController, PdCopyBackParsedObject* request);
    ~PdCopyBackCp() override {}
};

#endif
