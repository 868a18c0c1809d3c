// "-PdFwDownload": writes a firmware image file into drives or enclosure devices behind the
// controller. The controller is first told that a download is coming (the prepare command,
// retried while another update is in progress), then the image travels to the device as SCSI
// pass-through commands, in 32 KiB pieces or whole. A piece-wise download that fails is tried
// once more as a whole image (not with "-ForceActivate").
#ifndef PDRAWFWDWNLDCP_H
#define PDRAWFWDWNLDCP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class PdRawFwDwnLdCp : public CpFrame<PdRawFwDwnLdCp, TOKEN_PDFWDOWNLOAD> {
public:
    PdRawFwDwnLdCp() {}
    // 0 when every device named (and found) took the image; -1 for a failure found here; the
    // status of the failed firmware or model command otherwise. A drive that is not there is
    // only reported.
    int process(CpController* cpController, ParsedObject* request) override;
    ~PdRawFwDwnLdCp() override {}
};

#endif
