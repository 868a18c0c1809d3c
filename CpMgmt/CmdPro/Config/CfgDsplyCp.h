// The configuration display ("-CfgDsply") and its SSD-cache form ("-CfgTidewellDsply"): a short
// controller summary, then the adapter's configuration disk group by disk group and span by
// span, with the virtual drives and the drives of each span. The walk is also the listing of a
// virtual drive's mirror configuration.
#ifndef CFGDSPLYCP_H
#define CFGDSPLYCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"

class Array;
class DiskGroup;
class RaidManager;

// Which configuration the walk lists and how.
enum class CfgWalkKind {
    Full,      // every disk group, span, virtual drive and drive
    SsdCache,  // only the spans whose first virtual drive is an SSD-caching drive
    Mirror,    // the full listing of a mirror's configuration: virtual drives numbered within
               // their span, no drive list under an SSD-caching drive
};

class CfgDsplyCp : public CpFrame<CfgDsplyCp, TOKEN_ADPCFGDISP, TOKEN_TIDEWELLDSPLY> {
public:
    CfgDsplyCp();
    // The summary, then the walk of the configuration read afresh. 0; -1 for a missing request,
    // an unreadable controller, a missing model or a failed refresh; a failing status inside
    // the walk ends it with that status (the output so far stays).
    int process(CpController* cpController, ParsedObject* request) override;
    ~CfgDsplyCp() override {}

    // The controller summary between two rules; -1, nothing printed, when the controller
    // information cannot be read.
    int printControllerSummary(uint8_t adapterNumber, CpController* cpController);

    // Lists the manager's configuration: 0, or the status of the first failing lookup after
    // its message (-1 for a missing element). A virtual drive or drive whose information
    // cannot be read ends the walk after its title with message 0x32105 or 0x33006 (0x36017
    // for a drive the configuration knows by its device id alone).
    static int showConfiguration(RaidManager* manager, CfgWalkKind kind);

private:
    uint8_t controllerInfo[ZprControllerInfo::SIZE];
};

#endif
