#include "RaidManager/PhysicalDevice.h"

PdData::~PdData() {}

PhysicalDevice::PhysicalDevice(PdData* data, Controller* controller)
    : RaidElement(data, controller), pdData(data), array(nullptr), spare(nullptr)
{
}

PhysicalDevice::~PhysicalDevice() {}

string PhysicalDevice::toString()
{
    return dataText();
}

RaidElement* PhysicalDevice::create(RaidElementData* data, Controller* controller)
{
    return createElementOver<PhysicalDevice, PdData>(data, controller);
}

int PhysicalDevice::setArray(Array* memberOf)
{
    array = memberOf;
    return 0;
}

int PhysicalDevice::getArray(Array** memberOf)
{
    if (memberOf != nullptr)
        *memberOf = array;
    return 0;
}

int PhysicalDevice::setSpare(Spare* spareOf)
{
    spare = spareOf;
    return 0;
}
