#include "RaidManager/Spare.h"

SpareData::~SpareData() {}

Spare::Spare(SpareData* data, Controller* controller) : RaidElement(data, controller), spareData(data) {}

Spare::~Spare() {}

string Spare::toString()
{
    return dataText();
}

RaidElement* Spare::create(RaidElementData* data, Controller* controller)
{
    return createElementOver<Spare, SpareData>(data, controller);
}
