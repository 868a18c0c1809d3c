// Deleting virtual drives: "-CfgLdDel -Lx|-L0,2,5|-LALL [-Force]" deletes ordinary drives and
// "-CfgTidewellDel -Lx|-L0,2,5|-LALL" SSD-caching ones. A drive with a snapshot is never
// deleted; with SSD caching, each command refuses a drive of the other kind when it is named
// (and passes over it with -LALL), and -CfgLdDel refuses a drive that an SSD cache serves
// unless -Force is given. With -Force the drive's disk is not taken from the operating system
// first.
#ifndef LDDELCP_H
#define LDDELCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class Adapter;
class LdDelParsedObject;
class RaidManager;
class VdIdZpr;
class VirtualDisk;

class LdDelCp : public CpFrame<LdDelCp, TOKEN_LDDEL, TOKEN_CFGTIDEWELLDEL> {
public:
    LdDelCp() {}
    // The drives one after the other. The result is 0 after a clean run; -1 when a drive was
    // refused for its snapshot (unless a later association read set it again, whose status it
    // then is), or when the command was refused for a drive's kind or its SSD cache; the
    // status of the first deletion that failed, which ends the walk (the drives deleted
    // before it stay deleted). A read the walk depends on (the logical-drive list, the
    // configuration, a drive's lookup, its information, the SSD cache's association list)
    // that fails ends it the same way, after the line that names the read, with its status.
    int process(CpController* cpController, ParsedObject* request) override;
    bool isDone() override { return true; }
    ~LdDelCp() override {}

private:
    // What the walk does after one drive.
    enum class Step { NEXT, END };
    Step deleteOne(RaidManager* manager, Adapter* adapter, LdDelParsedObject* request, uint8_t adapterNumber,
                   uint8_t targetId, int* result);
    // The SSD-cache rules of the command for drive `vd` (identifier target `target`); NEXT to
    // delete it, END with `result` set to refuse, or `skip` set to pass over it.
    Step checkKind(Adapter* adapter, LdDelParsedObject* request, VirtualDisk* vd, uint8_t target, int isCache,
                   bool* skip, int* result);
};

#endif
