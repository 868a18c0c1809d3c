// The SSD cache: "-CfgTidewellAdd" makes the SSD-caching virtual drive on solid-state drives
// (and with -assign associates virtual drives with it), "-Tidewell -assign|-remove" changes
// which virtual drives it serves.
//
// Both commands first check the controller's room for SSD caches. The cache drive takes RAID 0,
// or 1 and 5 where the controller lets SSD caches write back (5 only where it allows RAID 5 for
// them), on at most 32 drives, all solid-state. The association list written to the controller
// is whole: the drives already served, with those added or without those removed; removing
// every drive writes one empty list.
#ifndef SSCDADDCP_H
#define SSCDADDCP_H

#include <cstdint>
#include <vector>

#include "CpMgmt/CmdPro/Config/LdAddCp.h"
#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class CfgSSCDAddParsedObject;
class UnCfgdVdOnFreshPd;

class SSCDAddCp : public CpFrameOver<LdAddCp, SSCDAddCp, TOKEN_CFGTIDEWELLADD, TOKEN_TIDEWELL> {
public:
    SSCDAddCp() : cacheTargetId(NO_CACHE) {}
    // 0, -1 for the refusals, 11 when no configuration is possible; else the status of the step
    // that failed, a read among them (the drive list, a drive's information, the configuration,
    // the logical-drive list, the association list), each after the line that names it.
    int process(CpController* cpController, ParsedObject* request) override;
    ~SSCDAddCp() override {}

protected:
    // Plans and makes the SSD-caching drive on the drive list: 0 (its target id kept), 3 when
    // the drives cannot make it, -1 for the refusals, else the status of the add.
    int addTidewellVd(CpController* cpController, CfgSSCDAddParsedObject* request, RaidManager* manager);
    // Associates the request's virtual drives with the SSD cache (action 1) or removes them
    // (action 2) and writes the whole list: its status, or -1 after a refusal's text.
    int updateTidewellAssociations(CpController* cpController, CfgSSCDAddParsedObject* request,
                                   RaidManager* manager);

private:
    static const uint8_t NO_CACHE = 255;

    // The controller's room for SSD caches: 0, or -1 after its text (or a read's status).
    static int checkCacheRoom(Adapter* adapter);
    // The create command after the common checks.
    int createCache(CpController* cpController, CfgSSCDAddParsedObject* request, Adapter* adapter);
    // The request's drives into the drive lists (one list): 0, or the result after its message.
    int buildCacheDriveList(CpController* cpController, CfgSSCDAddParsedObject* request);
    // The drive list into the plan's one span: 0, or the result after its message.
    int layCacheSpan(UnCfgdVdOnFreshPd* plan, CfgSSCDAddParsedObject* request, ArrayList<PhysicalDevice*>* span);
    // The target id of the SSD cache (kept) and the drives it serves: 0, or the result after
    // its message.
    int readAssociations(CpController* cpController, CfgSSCDAddParsedObject* request, Adapter* adapter,
                         std::vector<uint8_t>* served);
    // The walk over the request's drives, changing `working`: 0 to write the list, else the
    // result after its message.
    int changeAssociations(CfgSSCDAddParsedObject* request, bool served, std::vector<uint8_t>* working);

    uint8_t cacheTargetId;   // the SSD-caching drive made or found; NO_CACHE before
};

#endif
