#include "RaidManager/RaidElement.h"

#include "ControllerMgmt/Controller.h"

RaidElementData::RaidElementData(Controller* controller, RaidElementId* id)
    : controller(controller), controllerId(controller != nullptr ? controller->controllerId() : nullptr), id(id)
{
}

RaidElementData::~RaidElementData()
{
    delete id;
}

RaidElement::RaidElement(RaidElementData* data, Controller* controller) : controller(controller), data(data) {}

RaidElement::~RaidElement()
{
    delete data;
}

RaidElementId* RaidElement::getId() const
{
    return data != nullptr ? data->getId() : nullptr;
}

string RaidElement::dataText() const
{
    return data != nullptr ? data->toString() : string();
}
