// The SAS phy and PCI Express link commands: one phy's information ("-PhyInfo"), the error
// counters of every phy ("-PhyErrorCounters"), a phy's link-speed limit ("-PhySetLinkSpeed")
// and the controller's PCI Express link speed ("-PciSetLinkSpeed").
#ifndef ADPPHYCP_H
#define ADPPHYCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Zpr/Records/Sas/ZprSasPhyList.h"

class AdpPhyInfoCp : public CpFrame<AdpPhyInfoCp, TOKEN_PHYINFO> {
public:
    AdpPhyInfoCp() : phyList() {}
    // 0, -1 for a phy the list does not have, or the phy-list read's status.
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpPhyInfoCp() override {}

private:
    uint8_t phyList[ZprSasPhyList::SIZE];
};

class AdpPhyErrorCtsCp : public CpFrame<AdpPhyErrorCtsCp, TOKEN_PHYERRORCOUNTERS> {
public:
    AdpPhyErrorCtsCp() {}
    // 0 (also when the listing ends at a disabled phy), -1, or the failed read's status.
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpPhyErrorCtsCp() override {}
};

class AdpPhySetLinkSpeedCp : public CpFrame<AdpPhySetLinkSpeedCp, TOKEN_PHYSETLINKSPEED> {
public:
    AdpPhySetLinkSpeedCp() {}
    // 0, -1 for a speed the controller does not take, or the failed command's status.
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpPhySetLinkSpeedCp() override {}
};

class PciLinkSpeedCp : public CpFrame<PciLinkSpeedCp, TOKEN_PCISETLINKSPEED> {
public:
    PciLinkSpeedCp() {}
    // 0 (also at the current speed), -1 when the speed cannot be set, 1 above the highest
    // speed, or the command's status (0x59: the change waits for a reboot); the status of the
    // controller-information read, after its failure message, when that read fails.
    int process(CpController* cpController, ParsedObject* request) override;
    ~PciLinkSpeedCp() override {}
};

#endif
