#include "CpMgmt/CmdPro/Drive/PdStateChangeCp.h"

#include <cstdint>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/EnclosureIdText.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmData.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"

namespace {

// What one of the three commands does to each drive.
struct StateChange {
    uint8_t target;
    unsigned int changedMessage;
    bool guardsJbod;   // a JBOD drive changes only with "-Force"
};

const StateChange OFFLINE = {PD_STATE_OFFLINE, MSG_PD_STATE_OFFLINE, false};
const StateChange MAKE_GOOD = {PD_STATE_UNCONFIGURED_GOOD, MSG_PD_STATE_UNCONFIGURED_GOOD, true};
const StateChange MAKE_JBOD = {PD_STATE_JBOD, MSG_PD_STATE_JBOD, false};

// One drive of the list: 0 when it changed, else the result that ends the command.
int changeDrive(CpController* cpController, RmData* rmData, const PdOffLineParsedObject& request, EnclSlotId* entry,
                const StateChange& change)
{
    const int adapter = request.getAdapterNumber();
    unsigned short enclosureId = entry->getEnclosureId();
    int status = CommandProcessor::resolveEnclosureId(cpController, &enclosureId);
    if (status != 0)
        return status;
    const int slot = entry->getSlotNumber();
    PhysicalDevice* pd = nullptr;
    status = lookUpDrive(rmData, static_cast<uint8_t>(adapter), enclosureId, entry->getSlotNumber(), &pd);
    if (status != 0)
        return status;
    if (pd == nullptr) {
        printMessage(MSG_PD_NOT_FOUND, adapter, formatEnclosureId(enclosureId), slot);
        return -1;
    }
    uint16_t state = 0;
    if (change.guardsJbod && pd->getFirmwareState(&state) == 0 && state == PD_STATE_JBOD && request.force != 1) {
        printMessage(MSG_PD_JBOD_NEEDS_FORCE);
        return -1;
    }
    status = pd->setFirmwareState(change.target);
    if (status == 0) {
        printMessage(change.changedMessage, adapter, formatEnclosureId(enclosureId), slot);
        return 0;
    }
    if (change.guardsJbod && status == STATUS_CONVERSION_LIMIT)
        printMessage(MSG_PD_JBOD_CONVERSION_LIMIT);
    else
        printMessage(MSG_PD_STATE_CHANGE_FAILED, adapter, formatEnclosureId(enclosureId), slot);
    return status;
}

int changeDrives(CpController* cpController, ParsedObject* request, const StateChange& change)
{
    CpStart<PdOffLineParsedObject> start(cpController, request, "PdOffLineParsedObject *", CP_NEEDS_MODEL);
    if (!start)
        return start.result();
    ArrayList<EnclSlotId*>* drives = start.request()->getDriveList();
    for (unsigned char i = 0; drives != nullptr && i < drives->count(); ++i) {
        EnclSlotId* entry = drives->get(i);
        if (entry == nullptr)
            return -1;
        int status = changeDrive(cpController, start.manager()->getRmData(), *start.request(), entry, change);
        if (status != 0)
            return status;
    }
    return 0;
}

}  // namespace

int PdOfLnCp::process(CpController* cpController, ParsedObject* request)
{
    return changeDrives(cpController, request, OFFLINE);
}

int PdMakeGoodCp::process(CpController* cpController, ParsedObject* request)
{
    return changeDrives(cpController, request, MAKE_GOOD);
}

int PdMakeSystemCp::process(CpController* cpController, ParsedObject* request)
{
    return changeDrives(cpController, request, MAKE_JBOD);
}

namespace {

const CpRegistration<PdOfLnCp> offlineRegistration;
const CpRegistration<PdMakeGoodCp> makeGoodRegistration;
const CpRegistration<PdMakeSystemCp> makeSystemRegistration;

}  // namespace
