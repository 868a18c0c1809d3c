// Spinning up the spun-down drives of drive lists before they are configured, as the
// configuration and reconstruction processors do: the model sends the list and waits 5 seconds
// per round; the controller answers that the drives are still spinning up (0x55) or that it is
// busy with another set (0x56) until they run. The rounds are bounded, so that a controller
// that never finishes does not hold the command for ever.
#ifndef DRIVESPINUP_H
#define DRIVESPINUP_H

#include "PavUtil/List.h"
#include "RaidManager/Zpr/Records/Drive/ZprDeviceList.h"

class PhysicalDevice;
class RaidManager;

// At most MAX_SPIN_UP_ROUNDS rounds. 0 when nothing was spun down or every drive spun up (then
// its line); -1 when only some spun up or the rounds ran out ("Failed to spin up PD's" after the
// partial count); else the firmware's status after "Failed to spin up PD's".
int spinUpDriveLists(RaidManager* manager, ArrayList<ArrayList<PhysicalDevice*>*>* lists);

#endif
