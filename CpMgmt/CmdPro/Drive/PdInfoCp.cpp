#include "CpMgmt/CmdPro/Drive/PdInfoCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/Drive/PdListCp.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/EnclosureIdText.h"
#include "RaidManager/EnclSlotId.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"

int PdInfoCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<PdInfoParsedObject> start(cpController, request, "PdInfoParsedObject *", CP_NEEDS_MODEL);
    if (!start)
        return start.result();
    // Each drive's place in the disk groups comes from the configuration: one that could not be
    // read would show a configured drive as outside every disk group.
    ArrayList<DiskGroup*>* groups = nullptr;
    const int read = takeDiskGroups(start.manager(), &groups);
    if (read != 0)
        return read;
    ArrayList<EnclSlotId*>* named = start.request()->getDriveList();
    for (unsigned char i = 0; named != nullptr && i < named->count(); ++i) {
        EnclSlotId* address = named->get(i);
        if (address == nullptr)
            continue;
        unsigned short enclosure = address->getEnclosureId();
        int status = resolveEnclosureId(cpController, &enclosure);
        if (status != 0)
            return status;
        PhysicalDevice* drive = nullptr;
        status = lookUpDrive(start.manager(), start.number(), enclosure, address->getSlotNumber(), &drive);
        if (status != 0)
            return status;
        if (drive != nullptr)
            printDriveBlocks(drive);
        else
            printMessage(MSG_PD_NOT_FOUND, static_cast<int>(start.number()), formatEnclosureId(enclosure),
                         static_cast<int>(address->getSlotNumber()));
    }
    return 0;
}

namespace {

const CpRegistration<PdInfoCp> registration;

} // namespace
