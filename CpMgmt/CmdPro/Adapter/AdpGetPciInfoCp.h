// The PCI location display ("-AdpGetPciInfo"): bus, device and function number of each
// addressed controller, as the controller discovery found them. No firmware command is sent.
#ifndef ADPGETPCIINFOCP_H
#define ADPGETPCIINFOCP_H

#include "ControllerMgmt/Controller.h"
#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class AdpGetPciInfoCp : public CpFrame<AdpGetPciInfoCp, TOKEN_ADPGETPCIINFO> {
public:
    AdpGetPciInfoCp();
    // 0 success; otherwise the 8-bit result of the location lookup.
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpGetPciInfoCp() override {}

private:
    ControllerPciInfo pciInfo;
};

#endif
