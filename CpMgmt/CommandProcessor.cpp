#include "CpMgmt/CommandProcessor.h"

#include "ControllerMgmt/Controller.h"
#include "CpMgmt/CpController.h"
#include "DataProvider/ControllerId.h"
#include "Output/VoMessage.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmStatus.h"

bool CommandProcessor::isDone()
{
    return true;
}

CommandProcessor::~CommandProcessor() {}

int CommandProcessor::resolveEnclosureId(CpController* cpController, unsigned short* enclosureId)
{
    Controller* controller = cpController != nullptr ? cpController->controller() : nullptr;
    ControllerId* id = controller != nullptr ? controller->controllerId() : nullptr;
    int adapterNumber = id != nullptr ? id->getNumber() : CONTROLLER_NUMBER_UNASSIGNED;

    RaidManager* manager = controller != nullptr ? getRaidManager(controller) : nullptr;
    if (manager == nullptr) {
        printMessage(MSG_RM_INSTANCE_FAILED, adapterNumber);
        return -1;
    }
    if (enclosureId == nullptr || *enclosureId != ENCLOSURE_ID_RESOLVE)
        return 0;

    uint16_t resolved = 0;
    int status = manager->getOnlyEnclosureId(&resolved);
    if (status == 0)
        *enclosureId = resolved;
    else if (status == SEVERAL_ENCLOSURES)
        printMessage(MSG_MULTIPLE_ENCLOSURES);
    else if (status == DRIVE_WITHOUT_ENCLOSURE)
        printMessage(MSG_DIRECT_CONNECTED_DEVICE);
    return status;
}

ArrayList<unsigned short>* makeCommandIdList(const unsigned short* ids, unsigned char count)
{
    ArrayList<unsigned short>* list = new (noThrowNew) ArrayList<unsigned short>(count);
    if (list == nullptr)
        return nullptr;
    for (unsigned char i = 0; i < count; ++i) {
        if (list->add(ids[i]) != 0) {
            delete list;
            return nullptr;
        }
    }
    return list;
}
