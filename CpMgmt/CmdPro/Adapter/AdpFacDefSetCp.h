// The factory-defaults command ("-AdpFacDefSet"): the controller restores its factory
// settings at once, without asking; they take effect after a reboot.
#ifndef ADPFACDEFSETCP_H
#define ADPFACDEFSETCP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class AdpFacDefSetCp : public CpFrame<AdpFacDefSetCp, TOKEN_ADPFACDEFSET> {
public:
    AdpFacDefSetCp() {}
    // The firmware status of the command (0 success); -1 for a request of another class.
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpFacDefSetCp() override {}
};

#endif
