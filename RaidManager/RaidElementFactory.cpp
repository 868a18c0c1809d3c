#include "RaidManager/RaidElementFactory.h"

#include "PavUtil/Memory.h"

RaidElementFactory* RaidElementFactory::instance()
{
    static RaidElementFactory factory;
    return &factory;
}

RaidElementFactory::RaidElementFactory()
{
    for (unsigned char i = 0; i < TYPE_COUNT; ++i)
        creators[i] = nullptr;
}

RaidElementFactory::~RaidElementFactory()
{
    for (unsigned char i = 0; i < TYPE_COUNT; ++i) {
        delete creators[i];
        creators[i] = nullptr;
    }
}

int RaidElementFactory::registerCreator(unsigned char typeCode, RaidElementCreator creator)
{
    if (typeCode >= TYPE_COUNT)
        return -1;
    if (creators[typeCode] == nullptr) {
        creators[typeCode] = new (noThrowNew) ArrayList<RaidElementCreator>(4);
        if (creators[typeCode] == nullptr)
            return -1;
    }
    return creators[typeCode]->add(creator);
}

RaidElement* RaidElementFactory::create(unsigned char typeCode, RaidElementData* data, Controller* controller)
{
    if (typeCode >= TYPE_COUNT || creators[typeCode] == nullptr)
        return nullptr;
    ArrayList<RaidElementCreator>* list = creators[typeCode];
    for (unsigned char i = 0; i < list->count(); ++i) {
        RaidElement* element = list->get(i).call(data, controller);
        if (element != nullptr)
            return element;
    }
    return nullptr;
}

RmDataFactory* RmDataFactory::instance()
{
    static RmDataFactory factory;
    return &factory;
}

RmDataFactory::RmDataFactory() : creators(4) {}

RmDataFactory::~RmDataFactory() {}

void RmDataFactory::registerCreator(RmDataCreator creator)
{
    creators.add(creator);
}

RmData* RmDataFactory::create(Controller* controller)
{
    for (unsigned char i = 0; i < creators.count(); ++i) {
        RmData* data = creators.get(i).call(controller);
        if (data != nullptr)
            return data;
    }
    return nullptr;
}
