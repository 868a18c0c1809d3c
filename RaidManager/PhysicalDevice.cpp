#include "RaidManager/PhysicalDevice.h"

PdData::~PdData() {}

PhysicalDevice::PhysicalDevice(PdData* data, Controller* controller) : RaidElement(data, controller), pdData(data) {}

PhysicalDevice::~PhysicalDevice() {}

string PhysicalDevice::toString()
{
    return dataText();
}

RaidElement* PhysicalDevice::create(RaidElementData* data, Controller* controller)
{
    return createElementOver<PhysicalDevice, PdData>(data, controller);
}
