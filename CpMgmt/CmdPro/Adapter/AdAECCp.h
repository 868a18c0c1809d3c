// The advanced event capture command ("-AdpAEC"): starts, stops and disables the controller's
// capture of events, sets its mode and filter masks, shows its settings, and copies the
// captured buffer (32 KiB segments, in order, as the controller returns them) into a file.
#ifndef ADAECCP_H
#define ADAECCP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class AdAECPo;
class Adapter;

class AdAECCp : public CpFrame<AdAECCp, TOKEN_ADPAEC> {
public:
    AdAECCp() {}
    // 0 success; -1 for every failure (the controller's refusals included).
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdAECCp() override {}

private:
    static int copyToFile(Adapter* adapter, AdAECPo* request);
    static int showSettings(Adapter* adapter);
};

#endif
