// "-CfgEachDskRaid0": every unconfigured good drive of the controller becomes a RAID-0 virtual
// drive of its own, one after the other, with the same policies.
//
// The drives are walked over the list of drives in no array. A drive that fails is reported and
// passed over; after each drive that is configured the model is read again and the walk starts
// over at the head of the new list, so a drive that failed earlier is tried again. A drive
// whose information cannot be read, or a list of unused drives that cannot be read again after
// a drive is made, ends the walk with the read's line and status: what is left to configure is
// then unknown. Nothing made is undone when a later drive fails.
#ifndef CFGEACHDISKCP_H
#define CFGEACHDISKCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/Config/ConfigurationCp.h"
#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class CfgAddParsedObject;
class PhysicalDevice;

class CfgEachDiskCp : public CpFrameOver<ConfigurationCp, CfgEachDiskCp, TOKEN_ADPCFGEACHDSKRAID0> {
public:
    CfgEachDiskCp() {}
    // The status of the last drive tried (0 after a final success); NO_DRIVE_FOUND without a
    // drive to configure, NOT_POSSIBLE when no configuration is possible, -1 for the refusals
    // before the walk; the status of a read that failed, after its line.
    int process(CpController* cpController, ParsedObject* request) override;
    ~CfgEachDiskCp() override {}

protected:
    // One RAID-0 virtual drive on the drive alone: 0, OS_STEP_FAILED when it was made but the
    // operating system could not be told, 38 when the plan refuses the drive, else the failing
    // status.
    int addRaid0Vd(CpController* cpController, CfgAddParsedObject* request, RaidManager* manager, PhysicalDevice* pd);
    // Spins a spun-down drive up before it is configured: 0 when it runs (nothing printed when
    // it already ran), else the failing status after its message.
    int spinUpDrive(PhysicalDevice* pd);

private:
    // What became of one drive of the walk.
    enum class Outcome { CONFIGURED, FAILED, PASSED_OVER, ENDS_COMMAND };

    // The checks before the walk: 0 to walk, else the command's result after its message.
    int checkBeforeWalk(CfgAddParsedObject* request, uint8_t adapterNumber, Adapter* adapter);
    // The walk over the drives: the status of the last drive tried; `configured` counts the
    // drives made, `ended` is set when a drive ended the command before its summary.
    int walkDrives(CpController* cpController, CfgAddParsedObject* request, uint8_t adapterNumber,
                   unsigned* configured, bool* ended);
    // The unused drives read again after a drive is made: 0 with the list to walk on (null when
    // the walk is over: no room for another drive, or no drive left to configure), else the
    // status of the read that failed after its message.
    int rereadDrives(uint8_t adapterNumber, ArrayList<PhysicalDevice*>** drives);
    // One drive of the walk, its status in `status` (0 or -2 for a drive configured).
    Outcome tryDrive(CpController* cpController, CfgAddParsedObject* request, PhysicalDevice* pd, int* status);
};

#endif
