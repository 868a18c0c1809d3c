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
