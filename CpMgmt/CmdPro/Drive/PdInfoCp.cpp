#include "CpMgmt/CmdPro/Drive/PdInfoCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/Drive/PdListCp.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/EnclosureIdText.h"
#include "RaidManager/EnclSlotId.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"

CommandProcessor* PdInfoCp::create(unsigned short kind)
{
    return createCommandProcessor<PdInfoCp>(kind);
}

ArrayList<unsigned short>* PdInfoCp::commandIds()
{
    static const unsigned short ids[] = {TOKEN_PDINFO};
    return makeCommandIdList(ids, 1);
}

int PdInfoCp::process(CpController* cpController, ParsedObject* request)
{
    uint8_t adapterNumber = request != nullptr ? request->getAdapterNumber() : adapterNumberOf(cpController);
    PdInfoParsedObject* own = requestAs<PdInfoParsedObject>(request, adapterNumber, "PdInfoParsedObject *");
    if (own == nullptr)
        return -1;
    RaidManager* manager = takeRaidManager(cpController, adapterNumber);
    if (manager == nullptr)
        return -1;
    ArrayList<EnclSlotId*>* named = own->getDriveList();
    for (unsigned char i = 0; named != nullptr && i < named->count(); ++i) {
        EnclSlotId* address = named->get(i);
        if (address == nullptr)
            continue;
        unsigned short enclosure = address->getEnclosureId();
        int status = resolveEnclosureId(cpController, &enclosure);
        if (status != 0)
            return status;
        EnclSlotId lookup(enclosure, address->getSlotNumber());
        PhysicalDevice* drive = manager->getPdByEnclSlot(&lookup);
        if (drive != nullptr)
            printDriveBlocks(drive);
        else
            printMessage(MSG_PD_NOT_FOUND, static_cast<int>(adapterNumber), formatEnclosureId(enclosure),
                         static_cast<int>(address->getSlotNumber()));
    }
    return 0;
}

namespace {

const CpRegistration<PdInfoCp> registration;

} // namespace
