#include "RaidManager/DiskGroup.h"

DgData::~DgData() {}

DiskGroup::DiskGroup(DgData* data, Controller* controller) : RaidElement(data, controller), dgData(data) {}

DiskGroup::~DiskGroup() {}

string DiskGroup::toString()
{
    return dataText();
}

RaidElement* DiskGroup::create(RaidElementData* data, Controller* controller)
{
    // A data object of another kind is not taken over: the group is built without one.
    return new (noThrowNew) DiskGroup(dynamic_cast<DgData*>(data), controller);
}
