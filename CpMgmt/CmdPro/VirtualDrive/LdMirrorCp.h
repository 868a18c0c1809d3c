// The mirror commands of a virtual drive: "-LDBreakMirror" (refused: an offline operation),
// "-LDViewMirror" (the mirror's configuration in the layout of the configuration display) and
// "-LDJoinMirror" (asks the firmware to rejoin the mirror).
#ifndef LDMIRRORCP_H
#define LDMIRRORCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class LdMirrorParsedObject;
class RaidManager;
class VirtualDisk;

class LdMirrorCp : public CpFrame<LdMirrorCp, TOKEN_LDBREAKMIRROR, TOKEN_LDVIEWMIRROR, TOKEN_LDJOINMIRROR> {
public:
    LdMirrorCp() {}
    // The status left by the last drive (0 after views and joins); a refusal or a failed view
    // or join ends the walk at once with -1 or its status, a configuration that cannot be read
    // or a failed lookup with the read's status.
    int process(CpController* cpController, ParsedObject* request) override;
    ~LdMirrorCp() override {}

    // Lists the mirror configuration in `buffer` (the configuration format) through the
    // manager, whose cached configuration it replaces: 0 or the failing status.
    static int showMirror(RaidManager* manager, const uint8_t* buffer);

private:
    // One drive: `ends` is set when the command ends with the result returned.
    static int mirrorOneVd(LdMirrorParsedObject* request, RaidManager* manager, VirtualDisk* vd, bool* ends);
};

#endif
