#include "RaidManager/Adapter.h"

#include "PavUtil/Memory.h"

Adapter::Adapter(AdapterData* data, Controller* controller) : RaidElement(data, controller), adapterData(data) {}

Adapter::~Adapter() {}

string Adapter::toString()
{
    return adapterData != nullptr ? adapterData->toString() : string();
}

RaidElement* Adapter::create(RaidElementData* data, Controller* controller)
{
    AdapterData* adapterData = dynamic_cast<AdapterData*>(data);
    if (adapterData == nullptr)
        return nullptr;
    return new (noThrowNew) Adapter(adapterData, controller);
}

int Adapter::getBootVirtualDrive(VirtualDisk** vd)
{
    (void)vd;
    return -1;
}

int Adapter::getBootPhysicalDrive(PhysicalDevice** pd)
{
    (void)pd;
    return -1;
}
