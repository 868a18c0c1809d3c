#include "RaidManager/PhysicalDevice.h"

#include "RaidManager/Spare.h"

PdData::~PdData() {}

PhysicalDevice::PhysicalDevice(PdData* data, Controller* controller)
    : RaidElement(data, controller), pdData(data), array(nullptr), spare(nullptr)
{
}

PhysicalDevice::~PhysicalDevice() {}

string PhysicalDevice::toString()
{
    string text = dataText();
    if (spare != nullptr)
        text += spare->toString();
    else
        text += "\n";
    return text;
}

string PhysicalDevice::formatStateDetails()
{
    string text = pdData != nullptr ? pdData->formatStateDetails() : string();
    text += "\n";
    return text;
}

string PhysicalDevice::formatSecurityDetails()
{
    string text = pdData != nullptr ? pdData->formatSecurityDetails() : string();
    text += "\n";
    return text;
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
