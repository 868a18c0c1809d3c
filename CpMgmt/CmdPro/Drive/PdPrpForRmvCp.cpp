#include "CpMgmt/CmdPro/Drive/PdPrpForRmvCp.h"

#include <cstdint>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmData.h"

namespace {

// One drive of the list: 0 when prepared (or undone), else the result that ends the command.
int prepareDrive(CpController* cpController, RmData* rmData, int adapter, bool undo, EnclSlotId* entry)
{
    unsigned short enclosureId = entry->getEnclosureId();
    int status = CommandProcessor::resolveEnclosureId(cpController, &enclosureId);
    if (status != 0)
        return status;
    PhysicalDevice* pd = nullptr;
    status = lookUpDrive(rmData, static_cast<uint8_t>(adapter), enclosureId, entry->getSlotNumber(), &pd);
    if (status != 0)
        return status;
    if (pd == nullptr) {
        printMessage(MSG_OPERATION_FAILED, adapter, "prepare for removal");
        return -1;
    }
    status = undo ? pd->undoPrepareForRemoval() : pd->prepareForRemoval();
    const char* prefix = undo ? "Undo " : "";
    if (status != 0) {
        printMessage(MSG_PD_PREPARE_REMOVAL_FAILED, adapter, prefix);
        return status;
    }
    printMessage(MSG_PD_PREPARE_REMOVAL_DONE, prefix);
    return 0;
}

}  // namespace

int PdPrpForRmvCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<PdPrpRmvParsedObject> start(cpController, request, "PdPrpRmvParsedObject *", CP_NEEDS_MODEL);
    if (!start)
        return start.result();
    // The list is shared by the requests of every adapter: it is only read.
    ArrayList<EnclSlotId*>* drives = start.request()->getDriveList();
    for (unsigned char i = 0; drives != nullptr && i < drives->count(); ++i) {
        EnclSlotId* entry = drives->get(i);
        if (entry == nullptr)
            return -1;
        const int status =
            prepareDrive(cpController, start.manager()->getRmData(), start.number(), start.request()->undo == 1, entry);
        if (status != 0)
            return status;
    }
    return 0;
}

namespace {
const CpRegistration<PdPrpForRmvCp> registration;
}  // namespace
