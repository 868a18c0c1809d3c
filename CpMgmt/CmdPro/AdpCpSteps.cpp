#include "CpMgmt/CmdPro/AdpCpSteps.h"

#include "ControllerMgmt/Controller.h"
#include "CpMgmt/CpController.h"
#include "DataProvider/ControllerId.h"
#include "PavUtil/PrintableText.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"

Controller* controllerOf(CpController* cpController)
{
    return cpController != nullptr ? cpController->controller() : nullptr;
}

uint8_t adapterNumberOf(CpController* cpController)
{
    Controller* controller = controllerOf(cpController);
    ControllerId* id = controller != nullptr ? controller->controllerId() : nullptr;
    return id != nullptr ? id->getNumber() : CONTROLLER_NUMBER_UNASSIGNED;
}

Adapter* takeAdapter(RaidManager* manager, uint8_t adapterNumber)
{
    Adapter* adapter = nullptr;
    if (manager == nullptr || manager->getAdapter(&adapter) != 0 || adapter == nullptr) {
        printMessage(MSG_ADAPTER_COMM_FAILED, static_cast<int>(adapterNumber));
        return nullptr;
    }
    return adapter;
}

int refreshModel(RaidManager* manager, uint8_t adapterNumber)
{
    int status = manager != nullptr ? manager->refresh() : -1;
    if (status != 0)
        printMessage(MSG_RM_INIT_FAILED, static_cast<int>(adapterNumber));
    return status;
}

int takeDiskGroups(RaidManager* manager, ArrayList<DiskGroup*>** groups)
{
    int status = manager != nullptr ? manager->getDiskGroups(groups) : -1;
    if (status == 0 && *groups != nullptr)
        return 0;
    printMessage(MSG_DISK_GROUP_LIST_FAILED);
    return status != 0 ? status : -1;
}

int checkBackgroundSuspendResume(Adapter* adapter)
{
    uint8_t allowed = 0;
    const int status = adapter != nullptr ? adapter->getAllowedOperations(&allowed) : -1;
    if (status != 0)
        return status;
    if (allowed == 0) {
        printMessage(MSG_TEXT, "FW Not Allowed Suspend-Resume on BG Operations.\n");
        return -1;
    }
    return 0;
}

bool refusesName(const char* name, uint8_t adapterNumber)
{
    if (!holdsControlByte(name))
        return false;
    printMessage(MSG_NAME_HOLDS_CONTROL, static_cast<int>(adapterNumber));
    return true;
}
