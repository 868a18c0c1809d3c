#include "RaidManager/Array.h"

ArrayData::~ArrayData() {}

Array::Array(ArrayData* data, Controller* controller) : RaidElement(data, controller), arrayData(data) {}

Array::~Array() {}

string Array::toString()
{
    return dataText();
}

ArrayHmg::ArrayHmg(ArrayData* data, Controller* controller) : Array(data, controller) {}

ArrayHmg::~ArrayHmg() {}

RaidElement* ArrayHmg::create(RaidElementData* data, Controller* controller)
{
    return createElementOver<ArrayHmg, ArrayData>(data, controller);
}
