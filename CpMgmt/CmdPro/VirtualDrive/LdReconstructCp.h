// The reconstruction of a virtual drive ("-LDRecon"): starts it, to a new RAID level and
// optionally with drives added or removed, reports its progress once, or shows it on the full
// screen. The firmware decides whether the change is possible; the processor checks that the
// named drives exist, that added drives match the drive's sector size and that secured drives
// are added only with -force, and spins up added drives that are spun down.
#ifndef LDRECONSTRUCTCP_H
#define LDRECONSTRUCTCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdProgressBlock.h"

class LdReconstructParsedObject;
class PhysicalDevice;
class RaidManager;
class VirtualDisk;

class LdReconstructCp : public CpFrame<LdReconstructCp, TOKEN_LDRECON> {
public:
    LdReconstructCp() {}
    // 0; -1 for a check the processor makes; the status of the firmware's start, of a progress
    // read, of the enclosure resolution or of the spin-up; the status of a read the checks
    // needed (the configuration, the drive list, a drive's information) after its line.
    int process(CpController* cpController, ParsedObject* request) override;
    ~LdReconstructCp() override {}

    // The full-screen progress of the request's drive on the controller's model; the display's
    // result.
    int showProgress(LdReconstructParsedObject* request, RaidManager* manager, uint8_t adapterNumber);

private:
    int showProgressOnce(VirtualDisk* vd, uint8_t targetId);
    int start(CpController* cpController, LdReconstructParsedObject* request, RaidManager* manager,
              VirtualDisk* vd);
    // 0 when the added drive `pd` (at the enclosure and slot) has the sector size of the
    // request's drive; else the result that ends the command after its line: -1 for a
    // mismatch or a drive without members, the status of a read that failed.
    static int checkSectorSize(RaidManager* manager, LdReconstructParsedObject* request, PhysicalDevice* pd,
                               uint16_t enclosureId, uint8_t slot);
    // The drives of the request's list, checked, appended to `drives`: 0, or the result that
    // ends the command.
    int collectDrives(CpController* cpController, LdReconstructParsedObject* request, RaidManager* manager,
                      VirtualDisk* vd, ArrayList<PhysicalDevice*>* drives);

    LdProgressBlock progress;   // the last progress read
};

#endif
