// The virtual-drive information ("-LDInfo -Lx|-L0,1,2|-Lall"): for each virtual drive selected,
// a title, the drive's information block and the hot spares dedicated to its arrays.
#ifndef LDINFOCP_H
#define LDINFOCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class VirtualDisk;

class LdInfoCp : public CpFrame<LdInfoCp, TOKEN_LDINFO> {
public:
    LdInfoCp() {}
    // The drives in the request's order (every drive by target id with -Lall); an id that is
    // not configured is reported and the walk goes on. The result is that of the last id: 0
    // when it was shown, -1 when it does not exist; 0 without virtual drives; -1 without model
    // or VD count. A configuration or a drive's information that cannot be read, and a failed
    // spare lookup, end the walk with the read's status after its line.
    int process(CpController* cpController, ParsedObject* request) override;
    ~LdInfoCp() override {}

private:
    // The title, the block and the dedicated spares of one drive: 0, or the failing status
    // (message 0x32105 when the drive's information cannot be read).
    static int showVd(VirtualDisk* vd, uint8_t adapterNumber, uint8_t targetId);
    static int showDedicatedSpares(VirtualDisk* vd);
};

#endif
