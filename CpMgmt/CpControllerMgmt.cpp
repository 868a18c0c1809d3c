#include "CpMgmt/CpControllerMgmt.h"

#include <cstdio>

#include "ControllerMgmt/AkIr2ControllerMgmt.h"
#include "ControllerMgmt/Controller.h"
#include "ControllerMgmt/ControllerMgmt.h"
#include "ControllerMgmt/LinuxControllerMgmt.h"
#include "CpMgmt/CpController.h"
#include "CpMgmt/CpControllerFactory.h"
#include "CpMgmt/CpTraits.h"
#include "DataProvider/ControllerId.h"
#include "Output/VoMessage.h"
#include "Parser/ParsedObject.h"
#include "PavUtil/Memory.h"
#include "RaidManager/RaidManager.h"

namespace {

// Indexed by CpManagementKind.
ControllerMgmt* managementOverride[2] = {nullptr, nullptr};

CpController* newControllerlessCpController(ParsedObject* request)
{
    return new (noThrowNew) CpController(nullptr, request);
}

void deleteCpControllers(ArrayList<CpController*>* list)
{
    if (list == nullptr)
        return;
    for (unsigned char i = 0; i < list->count(); ++i)
        delete list->get(i);
    delete list;
}

}  // namespace

CpControllerMgmt* CpControllerMgmt::instance()
{
    static CpControllerMgmt* dispatcher = new (noThrowNew) CpControllerMgmt();
    return dispatcher;
}

CpControllerMgmt::CpControllerMgmt() : controllerIds(nullptr), controllers(nullptr)
{
    registerCpControllers();
}

CpControllerMgmt::~CpControllerMgmt() {}

void CpControllerMgmt::setControllerMgmtOverride(ControllerMgmt* management)
{
    setControllerMgmtOverride(CpManagementKind::LinuxDriver, management);
    setControllerMgmtOverride(CpManagementKind::HostCacheLibrary, management);
}

void CpControllerMgmt::setControllerMgmtOverride(CpManagementKind kind, ControllerMgmt* management)
{
    managementOverride[static_cast<unsigned char>(kind)] = management;
}

ControllerMgmt* CpControllerMgmt::managementFor(unsigned short commandToken)
{
    CpManagementKind kind = commandTraits(commandToken).management;
    if (managementOverride[static_cast<unsigned char>(kind)] != nullptr)
        return managementOverride[static_cast<unsigned char>(kind)];
    if (kind == CpManagementKind::HostCacheLibrary)
        return AkIr2ControllerMgmt::instance(0);
    return LinuxControllerMgmt::instance(255);
}

unsigned char CpControllerMgmt::firstAdapterNumber(Controller* controller)
{
    return static_cast<unsigned char>(controller->adapterNumberBase() + getAdapterNumberOffset());
}

void CpControllerMgmt::loadControllerIds(unsigned short commandToken)
{
    if (controllerIds != nullptr)
        return;
    ControllerMgmt* management = managementFor(commandToken);
    if (management == nullptr) {
        printMessage(MSG_NO_CONTROLLER_MGMT);
        return;
    }
    controllerIds = management->detect();
}

Controller* CpControllerMgmt::findController(unsigned char adapterNumber, ArrayList<Controller*>* list)
{
    if (list == nullptr)
        return nullptr;
    for (unsigned char i = 0; i < list->count(); ++i) {
        Controller* controller = list->get(i);
        if (controller == nullptr)
            continue;
        ControllerId* id = controller->controllerId();
        if (id != nullptr && id->getNumber() == adapterNumber)
            return controller;
    }
    return nullptr;
}

CpController* CpControllerMgmt::getCpController(ParsedObject* request)
{
    if (request == nullptr)
        return nullptr;
    unsigned char adapterNumber = request->getAdapterNumber();
    unsigned short token = request->getCommandToken();
    bool needsController = commandTraits(token).needsController;
    if (adapterNumber == NO_ADAPTER)
        return newControllerlessCpController(request);

    Controller* found = findController(adapterNumber, controllers);
    if (found == nullptr) {
        if (controllerIds == nullptr) {
            loadControllerIds(token);
            if (controllerIds == nullptr) {
                if (!needsController)
                    return newControllerlessCpController(request);
                // Deliberately outside the message printer: neither paged nor logged.
                printf("ERROR:Could not detect controller.\n");
                printMessage(MSG_NO_CONTROLLER_ID_LIST);
                return nullptr;
            }
        }

        // Resume after the last identifier that was numbered; identifiers that yielded no
        // controller keep CONTROLLER_NUMBER_UNASSIGNED.
        int resume = 0;
        bool anyNumbered = false;
        unsigned char nextNumber = 0;
        for (int i = controllerIds->count() - 1; i >= 0; --i) {
            ControllerId* id = controllerIds->get(static_cast<unsigned char>(i));
            if (id != nullptr && id->getNumber() != CONTROLLER_NUMBER_UNASSIGNED) {
                resume = i + 1;
                anyNumbered = true;
                nextNumber = static_cast<unsigned char>(id->getNumber() + 1);
                break;
            }
        }
        if (resume >= controllerIds->count())
            return nullptr;

        ControllerMgmt* management = managementFor(token);
        if (management == nullptr) {
            printMessage(MSG_NO_CONTROLLER_MGMT);
            return nullptr;
        }
        for (int i = resume; i < controllerIds->count(); ++i) {
            ControllerId* id = controllerIds->get(static_cast<unsigned char>(i));
            if (id == nullptr)
                continue;
            Controller* controller = management->createController(id);
            if (controller == nullptr)
                continue;
            if (controllers == nullptr) {
                controllers = new (noThrowNew) ArrayList<Controller*>(4);
                if (controllers == nullptr) {
                    Controller::release(controller);
                    return nullptr;
                }
            }
            if (controllers->add(controller) != 0) {
                Controller::release(controller);
                return nullptr;
            }
            if (!anyNumbered) {
                nextNumber = firstAdapterNumber(controller);
                anyNumbered = true;
            }
            id->setNumber(nextNumber);
            ++nextNumber;
            if (id->getNumber() == adapterNumber) {
                found = controller;
                break;
            }
        }
        if (found == nullptr) {
            if (!needsController)
                return newControllerlessCpController(request);
            printMessage(MSG_CONTROLLER_NOT_PRESENT);
            return nullptr;
        }
    }

    CpControllerFactory* factory = CpControllerFactory::instance();
    if (factory == nullptr)
        return nullptr;
    CpController* cpController = factory->create(found, request);
    if (cpController == nullptr)
        printMessage(MSG_CPCONTROLLER_CREATE_FAILED);
    return cpController;
}

ArrayList<CpController*>* CpControllerMgmt::getAllCpControllers(ParsedObject* request)
{
    if (request == nullptr)
        return nullptr;
    unsigned short token = request->getCommandToken();
    CpTraits traits = commandTraits(token);
    bool countsControllers = traits.answer == CpAnswer::ControllerCount;
    if (controllers == nullptr) {
        loadControllerIds(token);
        ControllerMgmt* management = controllerIds != nullptr ? managementFor(token) : nullptr;
        if (management != nullptr)
            controllers = management->createControllers(controllerIds);
        if (controllers == nullptr) {
            delete request;
            return nullptr;
        }
        unsigned char number = 0;
        for (unsigned char i = 0; i < controllers->count(); ++i) {
            Controller* controller = controllers->get(i);
            if (i == 0)
                number = firstAdapterNumber(controller);
            ControllerId* id = controller->controllerId();
            if (id != nullptr)
                id->setNumber(number);
            ++number;
        }
    }

    CpControllerFactory* factory = CpControllerFactory::instance();
    if (factory == nullptr) {
        delete request;
        return nullptr;
    }
    ArrayList<CpController*>* list = new (noThrowNew) ArrayList<CpController*>(controllers->count());
    if (list == nullptr) {
        delete request;
        return nullptr;
    }

    // A command that can run without a controller and whose request cannot be copied per
    // controller (version, help) runs once, on an executor without a controller, so that no
    // processor is ever handed a missing request.
    if (!traits.needsController && controllers->count() > 0) {
        ParsedObject* probe = request->clone();
        if (probe == nullptr) {
            CpController* single = newControllerlessCpController(request);
            if (single == nullptr || list->add(single) != 0) {
                if (single == nullptr)
                    delete request;  // consumed in every case, as with the other failures
                delete single;
                delete list;
                return nullptr;
            }
            return list;
        }
        delete probe;
    }

    for (unsigned char i = 0; i < controllers->count(); ++i) {
        Controller* controller = controllers->get(i);
        ParsedObject* copy = request->clone();
        if (copy != nullptr) {
            ControllerId* id = controller->controllerId();
            copy->setAdapterNumber(id != nullptr ? id->getNumber() : NO_ADAPTER);
        } else if (!countsControllers) {
            // Only the controller count is made of executors without requests (it never runs
            // them); for any other command a missing copy means memory ran out.
            deleteCpControllers(list);
            list = nullptr;
            break;
        }
        CpController* cpController = factory->create(controller, copy);
        if (cpController == nullptr || list->add(cpController) != 0) {
            if (cpController != nullptr)
                delete cpController;  // owns the copy
            else
                delete copy;
            deleteCpControllers(list);
            list = nullptr;
            break;
        }
    }
    delete request;
    // Nothing to run is no success: only the controller count may come out empty.
    if (list != nullptr && list->count() == 0 && !countsControllers) {
        delete list;
        list = nullptr;
    }
    return list;
}

void CpControllerMgmt::releaseControllers()
{
    if (controllers != nullptr) {
        for (unsigned char i = 0; i < controllers->count(); ++i)
            Controller::release(controllers->get(i));
        delete controllers;
        controllers = nullptr;
    }
    if (controllerIds != nullptr) {
        for (unsigned char i = 0; i < controllerIds->count(); ++i)
            delete controllerIds->get(i);
        delete controllerIds;
        controllerIds = nullptr;
    }
}

int CpControllerMgmt::run(ArrayList<ParsedObject*>* requests)
{
    int result = 0;
    ArrayList<CpController*>* pending = nullptr;
    unsigned char next = 0;
    unsigned char requestCount = requests != nullptr ? requests->count() : 0;

    while (next < requestCount) {
        ParsedObject* request = requests->get(next);
        ++next;
        if (request == nullptr)
            continue;
        CpTraits traits = commandTraits(request->getCommandToken());

        if (traits.answer == CpAnswer::ControllerCount) {
            ArrayList<CpController*>* all = getAllCpControllers(request);
            int count = all != nullptr ? all->count() : 0;
            deleteCpControllers(all);
            releaseControllers();
            for (unsigned char i = next; i < requestCount; ++i)
                delete requests->get(i);
            delete requests;
            printMessage(MSG_CONTROLLER_COUNT, count);
            return count;
        }

        ArrayList<CpController*>* list = nullptr;
        if (request->getAdapterNumber() == ALL_ADAPTERS) {
            list = getAllCpControllers(request);
            if (list == nullptr) {
                result = -1;
                break;
            }
        } else {
            CpController* cpController = getCpController(request);
            if (cpController == nullptr) {
                printMessage(MSG_NO_CPCONTROLLER);
                delete request;
                result = -1;
                break;
            }
            list = new (noThrowNew) ArrayList<CpController*>(1);
            if (list == nullptr || list->add(cpController) != 0) {
                delete cpController;
                delete list;
                result = -1;
                break;
            }
        }

        for (unsigned char i = 0; i < list->count(); ++i) {
            CpController* cpController = list->get(i);
            result = cpController->process();
            if (result != 0 && !traits.resultIsCount) {
                // This request's later adapters are not run; the next request still is.
                for (unsigned char j = i; j < list->count(); ++j)
                    delete list->get(j);
                break;
            }
            if (cpController->isDone()) {
                delete cpController;
                continue;
            }
            if (pending == nullptr)
                pending = new (noThrowNew) ArrayList<CpController*>(4);
            if (pending == nullptr || pending->add(cpController) != 0) {
                // Cannot keep it for a later pass: it has run once, as far as it can go.
                delete cpController;
            }
        }
        delete list;
    }

    // Requests after a dispatch failure never run; they still belong to the dispatcher.
    for (unsigned char i = next; i < requestCount; ++i)
        delete requests->get(i);
    delete requests;

    // Later passes for the processors that have not finished.
    bool pendingWork = pending != nullptr && pending->count() > 0;
    while (result == 0 && pendingWork) {
        pendingWork = false;
        for (unsigned char i = 0; i < pending->count(); ++i) {
            CpController* cpController = pending->get(i);
            if (cpController->isDone())
                continue;
            result = cpController->process();
            if (result != 0)
                break;
            if (!cpController->isDone())
                pendingWork = true;
        }
    }
    deleteCpControllers(pending);

    releaseRaidManagers();
    releaseControllers();
    return result;
}
