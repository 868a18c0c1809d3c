// The power-saving policy of virtual drives ("-LDSetPowerPolicy"): sets the policy of each
// selected drive after checking that the controller allows per-drive power saving at the level
// asked for.
#ifndef LDPOWERPOLICYCP_H
#define LDPOWERPOLICYCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class LdPowerPolicyCp : public CpFrame<LdPowerPolicyCp, TOKEN_LDSETPOWERPOLICY> {
public:
    LdPowerPolicyCp() {}
    // The status of the last property write (0 when none was written); -1 for a controller
    // refusal before any drive is touched, and for a failed property load or refused level,
    // which end the walk; a configuration that cannot be read or a failed lookup ends it with
    // the read's status.
    int process(CpController* cpController, ParsedObject* request) override;
    ~LdPowerPolicyCp() override {}
};

#endif
