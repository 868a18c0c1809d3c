#include "RaidManager/Zpr/RmDataZpr.h"

#include "ControllerMgmt/Controller.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidElementFactory.h"
#include "RaidManager/Zpr/AdapterDataZpr.h"
#include "RaidManager/Zpr/ZprData.h"
#include "RaidManager/Zpr/ZprEnclosureList.h"

RmDataZpr::RmDataZpr(Controller* controller)
    : RmData(controller), zprData(ZprData::instance(controller)), enclosureList(nullptr)
{
}

RmDataZpr::~RmDataZpr()
{
    if (zprData != nullptr)
        ZprData::release(controller);
    delete[] enclosureList;
}

int RmDataZpr::loadEnclosureList()
{
    if (enclosureList != nullptr)
        return 0;
    if (zprData == nullptr)
        return -1;
    return zprData->getEnclosureList(&enclosureList);
}

int RmDataZpr::getEnclosureCount(uint32_t* count)
{
    int status = loadEnclosureList();
    if (status == 0 && count != nullptr)
        *count = ZprEnclosureList(enclosureList, ZprEnclosureList::SIZE).count();
    return status;
}

int RmDataZpr::getEnclosureId(uint32_t index, uint16_t* enclosureId)
{
    int status = loadEnclosureList();
    if (status != 0)
        return status;
    ZprEnclosureList list(enclosureList, ZprEnclosureList::SIZE);
    // An index past the entries the list can hold (or past its count) names no enclosure.
    if (index >= list.entryCount())
        return -1;
    if (enclosureId != nullptr)
        *enclosureId = list.entry(index).deviceId();
    return 0;
}

RmData* RmDataZpr::create(Controller* controller)
{
    return new (noThrowNew) RmDataZpr(controller);
}

int RmDataZpr::resetCaches()
{
    // The enclosure list is deliberately not dropped here: once read, it is kept until this
    // object dies. The adapter's records live in its own data object, which a refresh replaces.
    if (zprData != nullptr)
        zprData->resetCaches();
    return 0;
}

int RmDataZpr::getAdapter(Adapter** adapter)
{
    if (adapter == nullptr)
        return -1;
    AdapterDataZpr* data = new (noThrowNew) AdapterDataZpr(controller, nullptr);
    if (data == nullptr)
        return -1;
    RaidElementFactory* factory = RaidElementFactory::instance();
    RaidElement* element = factory != nullptr ? factory->create(ELEMENT_TYPE_ADAPTER, data, controller) : nullptr;
    Adapter* built = dynamic_cast<Adapter*>(element);
    if (built == nullptr) {
        // No element took the data object over.
        delete element;
        if (element == nullptr)
            delete data;
        return -1;
    }
    *adapter = built;
    return 0;
}
