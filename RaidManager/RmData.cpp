#include "RaidManager/RmData.h"

#include "ControllerMgmt/Controller.h"

RmData::RmData(Controller* controller)
    : controller(controller), controllerId(controller != nullptr ? controller->controllerId() : nullptr)
{
}

RmData::~RmData() {}

int RmData::isTargetIdInConfig(uint8_t targetId, uint8_t reread)
{
    uint8_t inConfig = 0;
    return findTargetIdInConfig(targetId, reread, &inConfig) == 0 ? inConfig : 0;
}
