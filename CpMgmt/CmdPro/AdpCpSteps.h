// The steps that processors take in the same way in the middle of their commands, once the
// frame (CpFrame.h) has opened the command and taken the controller's RAID manager: the
// executor's controller and its number, the model's adapter element, the model read afresh,
// the configuration's disk groups, and two checks several commands make. A failing step prints
// its standard message; the processor then returns -1 or the status the step gives.
//
// The controller's RAID manager and the request's class are not taken here: the frame's
// openings (CpStart, CpDeferredStart, CpModelSteps, ...) are the one way to take them.
//
// Result convention of every processor: 0 success, -1 a failure the processor found itself,
// any other value the status of a firmware command or model operation, passed on unchanged.
#ifndef ADPCPSTEPS_H
#define ADPCPSTEPS_H

#include <cstdint>

#include "Output/VoMessage.h"
#include "Output/VtMessages.h"
#include "PavUtil/List.h"

class Adapter;
class DiskGroup;
class CpController;
class Controller;
class RaidManager;

// The number that the dispatch gave the executor's controller (255 when it has none).
uint8_t adapterNumberOf(CpController* cpController);
// The executor's controller, or null.
Controller* controllerOf(CpController* cpController);

// The RAID manager's adapter element; null after message 0x30023.
Adapter* takeAdapter(RaidManager* manager, uint8_t adapterNumber);
// Reads the controller's model afresh: 0, or the refresh's status after message 0x30022.
int refreshModel(RaidManager* manager, uint8_t adapterNumber);
// The configuration's disk groups (the model's list): 0, or the read's status (-1 without a
// list) after message 0x30024.
int takeDiskGroups(RaidManager* manager, ArrayList<DiskGroup*>** groups);

// Whether the firmware can suspend and resume background operations: 0 when it can; the status
// of a failed read (no message); -1 after "FW Not Allowed Suspend-Resume on BG Operations.\n"
// when it cannot.
int checkBackgroundSuspendResume(Adapter* adapter);

// A logical-drive name the user gave is written into the controller and shown later on every
// terminal that lists the drive: true, after message 0x3200c, when it holds a control character
// (nothing is sent then); false for a null name.
bool refusesName(const char* name, uint8_t adapterNumber);

#endif
