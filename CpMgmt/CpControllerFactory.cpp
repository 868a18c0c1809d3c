#include "CpMgmt/CpControllerFactory.h"

#include "ControllerMgmt/Controller.h"
#include "CpMgmt/CpController.h"
#include "PavUtil/Memory.h"

CpControllerFactory* CpControllerFactory::instance()
{
    static CpControllerFactory* factory = new (noThrowNew) CpControllerFactory();
    return factory;
}

CpControllerFactory::CpControllerFactory() {}

CpControllerFactory::~CpControllerFactory() {}

void CpControllerFactory::registerCreator(unsigned short typeCode, CpControllerCreator creator)
{
    if (typeCode >= SLOT_COUNT)
        return;
    slots[typeCode] = creator;
}

CpController* CpControllerFactory::create(Controller* controller, ParsedObject* request)
{
    if (controller == nullptr)
        return nullptr;
    unsigned short typeCode = controller->type();
    if (typeCode >= SLOT_COUNT)
        return nullptr;
    CpControllerCreator creator = slots[typeCode];
    if (creator == CpControllerCreator())
        return nullptr;
    return creator.call(controller, request);
}

bool CpControllerFactory::hasCreator(unsigned short typeCode) const
{
    return typeCode < SLOT_COUNT && !(slots[typeCode] == CpControllerCreator());
}

void registerCpControllers()
{
    static unsigned char pending = 1;
    if (pending != 1)
        return;
    pending = 0;
    CpControllerRegistration<OrvaneSasHwrCpController> sasHardwareRaid;
    CpControllerRegistration<TidexCpController> hostCache;
}
