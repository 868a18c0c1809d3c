// The steps that every adapter command processor takes in the same way, in the order its
// process runs them: the adapter number, the request's class, the controller's RAID manager
// and its adapter element. Each failing step prints its standard message; the processor then
// returns -1.
//
// The processors of the configuration and drive commands take the same steps, and also read
// the model afresh where they show or change the configuration (refreshRaidManager).
//
// Result convention of every processor: 0 success, -1 a failure the processor found itself,
// any other value the status of a firmware command or model operation, passed on unchanged.
#ifndef ADPCPSTEPS_H
#define ADPCPSTEPS_H

#include <cstdint>

#include "PavUtil/List.h"

#include "Output/VoMessage.h"
#include "Output/VtMessages.h"
#include "PavUtil/List.h"

class Adapter;
class DiskGroup;
class CpController;
class Controller;
class ParsedObject;
class RaidManager;

// The number that the dispatch gave the executor's controller (255 when it has none).
uint8_t adapterNumberOf(CpController* cpController);
// The executor's controller, or null.
Controller* controllerOf(CpController* cpController);

// The request as the processor's own request class; null after message 0x11 with the class's
// request text (e.g. "AdpFacDefSetPo *") when it is of another class or missing.
template <class Request>
Request* requestAs(ParsedObject* request, uint8_t adapterNumber, const char* requestText)
{
    Request* own = dynamic_cast<Request*>(request);
    if (own == nullptr)
        printMessage(MSG_DYNAMIC_CAST_FAILED, static_cast<int>(adapterNumber), requestText);
    return own;
}

// The controller's RAID manager; null after message 0x30021.
RaidManager* takeRaidManager(CpController* cpController, uint8_t adapterNumber);
// Reads the controller's model afresh; false after message 0x30022 when it cannot.
bool refreshRaidManager(RaidManager* manager, uint8_t adapterNumber);
// The RAID manager's adapter element; null after message 0x30023.
Adapter* takeAdapter(RaidManager* manager, uint8_t adapterNumber);
// The controller's RAID manager (into `manager`) and its adapter element; null after the
// message of the step that failed.
Adapter* takeModelAdapter(CpController* cpController, uint8_t adapterNumber, RaidManager** manager);
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
