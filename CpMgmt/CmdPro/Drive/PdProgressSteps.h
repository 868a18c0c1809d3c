// The steps the drive commands of the long operations (rebuild, copyback, clear) take alike:
// the drive addresses of their request, and finding one of those drives on the adapter.
#ifndef PDPROGRESSSTEPS_H
#define PDPROGRESSSTEPS_H

#include <cstdint>
#include <vector>

#include "CpMgmt/CmdPro/Display/ProgressDisplay.h"
#include "PavUtil/List.h"

class CpController;
class EnclSlotId;
class PdIdListObject;
class PhysicalDevice;
class RaidManager;

// The addresses of a request's drive list, in order (null entries and a null list give none).
std::vector<DriveAddress> driveAddressesOf(const ArrayList<PdIdListObject*>* drives);
std::vector<DriveAddress> driveAddressesOf(const ArrayList<EnclSlotId*>* drives);

// A drive of the request found on the adapter.
struct DriveInRequest {
    PhysicalDevice* pd = nullptr;   // the model's
    uint16_t enclosureId = 0;       // resolved
    uint8_t slot = 0;
};

// Resolves the address's enclosure and looks the drive up: 0 with the drive; the resolver's
// result (it printed the reason); the status of the drive list or of the drive's information
// after message 0x33006 when either cannot be read (checkDriveLookup); -1 after message 0x33005
// when the drive list read has no such drive, naming the resolved enclosure, or the one written
// when namesWrittenEnclosure (unless it was "?").
int findRequestedDrive(CpController* cpController, RaidManager* manager, const DriveAddress& address,
                       DriveInRequest* drive, bool namesWrittenEnclosure = false);

// A suspend or resume of a drive's operation: the query whether the drive allows it now, the
// command, and the texts of its line.
struct DriveSuspendResume {
    int (PhysicalDevice::*allowedNow)(uint8_t*);
    int (PhysicalDevice::*command)();
    const char* queryFailed;
    const char* notAllowed;
    const char* failed;
    const char* succeeded;
};

// Asks the drive, sends the command when allowed, and prints the one line (message 0x1, no line
// end) with the device id and, for a failure, its status. The command's result is not changed
// by it: the line alone reports the outcome.
void suspendOrResumeDrive(PhysicalDevice* pd, uint16_t deviceId, const DriveSuspendResume& step);

#endif
