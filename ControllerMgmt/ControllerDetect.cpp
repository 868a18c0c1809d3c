#include "ControllerMgmt/ControllerDetect.h"

#include "PavUtil/Memory.h"

void ControllerDetectMethodList::add(const ControllerDetectMethod& method)
{
    if (used >= CAPACITY) {
        return;
    }
    methods[used] = method;
    ++used;
}

uint16_t ControllerDetectMethodList::detect(CddpData* data) const
{
    for (uint8_t i = 0; i < used; ++i) {
        uint16_t answer = methods[i].call(data);
        if (answer != CONTROLLER_TYPE_NONE) {
            return answer;
        }
    }
    return CONTROLLER_TYPE_NONE;
}

void ControllerDetectMethodList::addToClassList(ControllerDetectMethodList*& list,
                                                const ControllerDetectMethod& method)
{
    if (list == nullptr) {
        list = new (noThrowNew) ControllerDetectMethodList();
        if (list == nullptr) {
            return;
        }
        ControllerDetectMethodListContainer::instance()->add(list);
    }
    list->add(method);
}

ControllerDetectMethodListContainer::ControllerDetectMethodListContainer()
    : lists(new (noThrowNew) ArrayList<ControllerDetectMethodList*>(4))
{
}

ControllerDetectMethodListContainer* ControllerDetectMethodListContainer::instance()
{
    static ControllerDetectMethodListContainer container;
    return &container;
}

void ControllerDetectMethodListContainer::add(ControllerDetectMethodList* list)
{
    if (lists == nullptr || list == nullptr) {
        return;
    }
    lists->add(list);
}

ControllerDetectMethodListContainer::~ControllerDetectMethodListContainer()
{
    if (lists == nullptr) {
        return;
    }
    for (unsigned char i = 0; i < lists->count(); ++i) {
        delete lists->get(i);
    }
    delete lists;
}

ControllerFactory* ControllerFactory::instance()
{
    static ControllerFactory factory;
    return &factory;
}

void ControllerFactory::registerCreator(uint16_t type, const ControllerCreator& creator)
{
    if (type >= SLOTS) {
        return;
    }
    creators[type] = creator;
}

Controller* ControllerFactory::create(uint16_t type, ControllerId* id) const
{
    if (type >= SLOTS || creators[type].isEmpty()) {
        return nullptr;
    }
    return creators[type].call(id);
}
