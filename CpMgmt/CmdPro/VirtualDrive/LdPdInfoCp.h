// The virtual-drive layout ("-LdPdInfo"): every virtual drive by target id with its
// information block, its spans and the drives of each span.
#ifndef LDPDINFOCP_H
#define LDPDINFOCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class VirtualDisk;

class LdPdInfoCp : public CpFrame<LdPdInfoCp, TOKEN_LDPDINFO> {
public:
    LdPdInfoCp() {}
    // The request is not read. 0; -1 without model or for a missing element; the status of a
    // failed refresh, drive-list read, drive-information read (message 0x32105) or lookup (the
    // output so far stays).
    int process(CpController* cpController, ParsedObject* request) override;
    ~LdPdInfoCp() override {}

private:
    static int showVd(uint8_t adapterNumber, VirtualDisk* vd);
};

#endif
