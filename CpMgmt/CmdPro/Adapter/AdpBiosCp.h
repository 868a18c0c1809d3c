// The controller's BIOS and rebuild settings: "-AdpBIOS" (the BIOS on or off, what it does on
// an error, whether it selects the boot drive itself, or a display of the three) and
// "-AdpAutoRbld" (automatic rebuild on, off or shown).
//
// Results: 0 success (also when a setting already had the wanted value), -1 a failure the
// processor found itself, else the firmware status of a failed read.
#ifndef ADPBIOSCP_H
#define ADPBIOSCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Zpr/Records/Controller/ZprBiosData.h"

class AdpBiosCp : public CpFrame<AdpBiosCp, TOKEN_ADPBIOS> {
public:
    AdpBiosCp();
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpBiosCp() override {}

private:
    void display(uint8_t adapterNumber);
    // One setting: the already-set test, the permission test, the write and its message.
    int change(CpController* cpController, unsigned short action, uint8_t adapterNumber, bool headlessAllowed);

    uint8_t biosData[ZprBiosData::SIZE];
};

class AdpAutoRbldCp : public CpFrame<AdpAutoRbldCp, TOKEN_ADPAUTORBLD> {
public:
    AdpAutoRbldCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpAutoRbldCp() override {}
};

#endif
