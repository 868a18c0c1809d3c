// Secure virtual drives and security-key identifiers: "-LDMakeSecure" turns virtual drives into
// secure ones, one after the other; "-GetKeyID" shows the key identifier of the adapter or of
// drives and "-SetKeyID" sets the adapter's.
#ifndef LDMAKESECURECP_H
#define LDMAKESECURECP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class LdMakeSecureCp : public CpFrame<LdMakeSecureCp, TOKEN_LDMAKESECURE> {
public:
    LdMakeSecureCp() {}
    // The status of the last make-secure command sent: 0 when each succeeded, -1 when none ran;
    // the first failure ends the walk with its status, as does a configuration that cannot be
    // read, after its line.
    int process(CpController* cpController, ParsedObject* request) override;
    bool isDone() override { return true; }
    ~LdMakeSecureCp() override {}
};

class AdpPdKeyIDSetGetCp : public CpFrame<AdpPdKeyIDSetGetCp, TOKEN_GET_KEYID, TOKEN_SET_KEYID> {
public:
    AdpPdKeyIDSetGetCp() {}
    // 0, or -1 after the failure's message (a firmware status stays in the last-error word); a
    // drive list that cannot be read ends the drives' key ids with the read's status after
    // message 0x33006.
    int process(CpController* cpController, ParsedObject* request) override;
    bool isDone() override { return true; }
    ~AdpPdKeyIDSetGetCp() override {}
};

#endif
