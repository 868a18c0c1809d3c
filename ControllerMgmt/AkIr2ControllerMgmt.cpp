#include "ControllerMgmt/AkIr2ControllerMgmt.h"

#include <cstdio>
#include <cstring>

#include "DataProvider/ArraykitIr2Dp.h"
#include "DataProvider/ControllerId.h"
#include "Output/VoMessage.h"
#include "PavUtil/Memory.h"

AkIr2Cddp* AkIr2Cddp::instance()
{
    static AkIr2Cddp cddp;
    return &cddp;
}

CddpData* AkIr2Cddp::getCddpData(ControllerId* id)
{
    if (id == nullptr || ArraykitIr2Dp::instance() == nullptr) {
        return nullptr;
    }
    return new (noThrowNew) CddpData(0, 0, 0, 0);
}

uint8_t AkIr2Cddp::getPciLocation(ControllerId*, ControllerPciInfo*) { return 0; }

AkIr2ControllerExplorer* AkIr2ControllerExplorer::instance()
{
    static AkIr2ControllerExplorer explorer;
    return &explorer;
}

ArrayList<ControllerId*>* AkIr2ControllerExplorer::explore(ArrayList<VoVendorDeviceId*>*)
{
    ArraykitIr2Dp* bridge = ArraykitIr2Dp::instance();
    if (bridge == nullptr) {
        return nullptr;
    }
    uint8_t answer[AK_LIB_CONTROLLER_LIST_SIZE];
    memset(answer, 0, sizeof answer);
    if (bridge->callGeneral(AK_LIB_CMD_CODE_LIST_CONTROLLERS, answer, sizeof answer) != 0) {
        printMessage(MSG_INTERNAL_ERROR);
        return nullptr;
    }
    uint16_t count = 0;
    memcpy(&count, answer, sizeof count);
    if (count == 0) {
        return nullptr;
    }
    // The answer has room for 16 ids; a larger count cannot be believed beyond that.
    if (count > AK_LIB_CONTROLLER_LIST_IDS) {
        count = AK_LIB_CONTROLLER_LIST_IDS;
    }
    uint32_t ids[AK_LIB_CONTROLLER_LIST_IDS];
    memcpy(ids, answer + 4, sizeof ids);
    bridge->setCurrentId(ids[0]);

    ArrayList<ControllerId*>* list = new (noThrowNew) ArrayList<ControllerId*>(static_cast<unsigned char>(count));
    if (list == nullptr) {
        return nullptr;
    }
    for (uint16_t i = 0; i < count; ++i) {
        AkIr2CtrlId* id = new (noThrowNew) AkIr2CtrlId(ids[i], CONTROLLER_NUMBER_UNASSIGNED);
        if (id != nullptr && list->add(id) != 0) {
            delete id;
        }
    }
    return list;
}

AkIr2ControllerMgmt* AkIr2ControllerMgmt::instance(int flag)
{
    static AkIr2ControllerMgmt management(flag);
    return &management;
}

ArrayList<ControllerId*>* AkIr2ControllerMgmt::detect()
{
    if (flag != 0) {
        printf("Error getting akIr2ctrlexpl instance\n");
        return nullptr;
    }
    return AkIr2ControllerExplorer::instance()->explore(vendorDeviceIds());
}

Controller* AkIr2ControllerMgmt::createController(ControllerId* id)
{
    AkIr2Cddp* cddp = AkIr2Cddp::instance();
    if (flag != 0 || cddp == nullptr) {
        return nullptr;
    }
    CddpData* data = cddp->getCddpData(id);
    if (data == nullptr) {
        return nullptr;
    }
    uint16_t type = AkIr2Controller::detect(data);
    delete data;
    if (type == CONTROLLER_TYPE_NONE) {
        return nullptr;
    }
    Controller* controller = AkIr2Controller::create(id);
    if (controller == nullptr) {
        return nullptr;
    }
    controller->addDataProvider(ArraykitIr2Dp::instance());
    return controller;
}
