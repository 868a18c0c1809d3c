#include "RaidManager/VirtualDisk.h"

VdData::~VdData() {}

VirtualDisk::VirtualDisk(VdData* data, Controller* controller) : RaidElement(data, controller), vdData(data) {}

VirtualDisk::~VirtualDisk() {}

string VirtualDisk::toString()
{
    return dataText();
}

RaidElement* VirtualDisk::create(RaidElementData* data, Controller* controller)
{
    return createElementOver<VirtualDisk, VdData>(data, controller);
}
