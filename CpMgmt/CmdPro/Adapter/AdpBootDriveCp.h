// The controller's boot device: "-AdpBootDrive" shows it, or makes a virtual drive ("-Lx") or a
// drive of JBOD kind ("-physdrv[E:S]") the boot device, or takes that away ("-Unset"). The
// change goes into the adapter element's kept copy of the BIOS data, written once.
//
// Results: 0 success, -1 a failure the processor found itself or a failed change, else the
// status of a failed lookup or of a read it needed (the configuration, the drive list, a
// drive's or the virtual drive's information), after the line that names the read.
#ifndef ADPBOOTDRIVECP_H
#define ADPBOOTDRIVECP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class Adapter;
class AdpBootDriveParsedObject;
class RaidManager;

class AdpBootDriveCp : public CpFrame<AdpBootDriveCp, TOKEN_ADPBOOTDRV> {
public:
    AdpBootDriveCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpBootDriveCp() override {}

private:
    static int show(Adapter* adapter, uint8_t adapterNumber);
    static int changeDrive(CpController* cpController, RaidManager* manager, Adapter* adapter,
                           AdpBootDriveParsedObject* request, uint8_t adapterNumber);
    static int changeVirtualDrive(RaidManager* manager, Adapter* adapter, AdpBootDriveParsedObject* request,
                                  uint8_t adapterNumber);
};

#endif
