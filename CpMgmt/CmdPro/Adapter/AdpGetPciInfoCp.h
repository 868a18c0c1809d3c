// The PCI location display ("-AdpGetPciInfo"): bus, device and function number of each
// addressed controller, as the controller discovery found them. No firmware command is sent.
#ifndef ADPGETPCIINFOCP_H
#define ADPGETPCIINFOCP_H

#include "ControllerMgmt/Controller.h"
#include "CpMgmt/CommandProcessor.h"

class AdpGetPciInfoCp : public CommandProcessor {
public:
    static CommandProcessor* create(unsigned short kind);
    static ArrayList<unsigned short>* commandIds();

    AdpGetPciInfoCp();
    // 0 success; otherwise the 8-bit result of the location lookup.
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpGetPciInfoCp() override {}

private:
    ControllerPciInfo pciInfo;
};

#endif
