#include "RaidManager/RmData.h"

#include "ControllerMgmt/Controller.h"

RmData::RmData(Controller* controller)
    : controller(controller), controllerId(controller != nullptr ? controller->controllerId() : nullptr)
{
}

RmData::~RmData() {}
