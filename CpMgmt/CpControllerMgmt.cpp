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

// Deletes the requests from `first` on (those before it belong to executors by now), then the
// list.
void deleteRequests(ArrayList<ParsedObject*>* requests, unsigned char first)
{
    if (requests == nullptr)
        return;
    for (unsigned char i = first; i < requests->count(); ++i)
        delete requests->get(i);
    delete requests;
}

// Puts one executor without a controller, owning the request, into the empty list; on failure
// the list and the request are deleted and the result is null.
ArrayList<CpController*>* addControllerless(ArrayList<CpController*>* list, ParsedObject* request)
{
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

// Runs the executors of one request in order and deletes them, keeping those whose processor
// has not finished in `pending` (made on first need). A non-zero result ends the request's
// controller loop, unless the command's result is a count. Gives the last result (`result`
// when the list is empty).
int runOnEachController(ArrayList<CpController*>* list, const CpTraits& traits, ArrayList<CpController*>*& pending,
                        int result)
{
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
    return result;
}

// Later passes over the executors whose processors have not finished, until all are done or a
// call gives a non-zero result, which is then the result (0 when nothing fails).
int runLaterPasses(ArrayList<CpController*>* pending)
{
    int result = 0;
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
    return result;
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

CpControllerMgmt::Numbering CpControllerMgmt::numberControllersUpTo(unsigned char adapterNumber,
                                                                 unsigned short token, Controller*& found)
{
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
        return Numbering::Failed;

    ControllerMgmt* management = managementFor(token);
    if (management == nullptr) {
        printMessage(MSG_NO_CONTROLLER_MGMT);
        return Numbering::Failed;
    }
    for (int i = resume; i < controllerIds->count(); ++i) {
        ControllerId* id = controllerIds->get(static_cast<unsigned char>(i));
        if (id == nullptr)
            continue;
        Controller* controller = management->createController(id);
        if (controller == nullptr)
            continue;
        if (controllers == nullptr)
            controllers = new (noThrowNew) ArrayList<Controller*>(4);
        if (controllers == nullptr || controllers->add(controller) != 0) {
            Controller::release(controller);
            return Numbering::Failed;
        }
        if (!anyNumbered) {
            nextNumber = firstAdapterNumber(controller);
            anyNumbered = true;
        }
        id->setNumber(nextNumber);
        ++nextNumber;
        if (id->getNumber() == adapterNumber) {
            found = controller;
            return Numbering::Found;
        }
    }
    return Numbering::NotPresent;
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
        Numbering numbering = numberControllersUpTo(adapterNumber, token, found);
        if (numbering == Numbering::Failed)
            return nullptr;
        if (numbering == Numbering::NotPresent) {
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

bool CpControllerMgmt::makeAllControllers(unsigned short token)
{
    if (controllers != nullptr)
        return true;
    loadControllerIds(token);
    ControllerMgmt* management = controllerIds != nullptr ? managementFor(token) : nullptr;
    if (management != nullptr)
        controllers = management->createControllers(controllerIds);
    if (controllers == nullptr)
        return false;
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
    return true;
}

ArrayList<CpController*>* CpControllerMgmt::getAllCpControllers(ParsedObject* request)
{
    if (request == nullptr)
        return nullptr;
    unsigned short token = request->getCommandToken();
    CpTraits traits = commandTraits(token);
    bool countsControllers = traits.answer == CpAnswer::ControllerCount;
    bool haveControllers = makeAllControllers(token) && controllers->count() > 0;
    if (!haveControllers && !traits.needsController) {
        // No controller detected: such a command still runs once, without a controller.
        ArrayList<CpController*>* single = new (noThrowNew) ArrayList<CpController*>(1);
        if (single != nullptr)
            return addControllerless(single, request);
        delete request;
        return nullptr;
    }
    CpControllerFactory* factory = controllers != nullptr ? CpControllerFactory::instance() : nullptr;
    ArrayList<CpController*>* list =
        factory != nullptr ? new (noThrowNew) ArrayList<CpController*>(controllers->count()) : nullptr;
    if (list == nullptr) {
        delete request;
        return nullptr;
    }

    // A command that can run without a controller and whose request cannot be copied per
    // controller runs once, on an executor without a controller, so that no processor is ever
    // handed a missing request.
    if (!traits.needsController && controllers->count() > 0) {
        ParsedObject* probe = request->clone();
        if (probe == nullptr)
            return addControllerless(list, request);
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

int CpControllerMgmt::answerControllerCount(ParsedObject* request)
{
    ArrayList<CpController*>* all = getAllCpControllers(request);
    int count = all != nullptr ? all->count() : 0;
    deleteCpControllers(all);
    // No processor has run for this request; those of earlier requests hold RAID managers
    // that refer to the controllers, so the managers go first.
    releaseRaidManagers();
    releaseControllers();
    return count;
}

ArrayList<CpController*>* CpControllerMgmt::cpControllersFor(ParsedObject* request)
{
    if (request->getAdapterNumber() == ALL_ADAPTERS)
        return getAllCpControllers(request);
    CpController* cpController = getCpController(request);
    if (cpController == nullptr) {
        printMessage(MSG_NO_CPCONTROLLER);
        delete request;
        return nullptr;
    }
    ArrayList<CpController*>* list = new (noThrowNew) ArrayList<CpController*>(1);
    if (list == nullptr || list->add(cpController) != 0) {
        delete cpController;
        delete list;
        return nullptr;
    }
    return list;
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
            deleteCpControllers(pending);
            int count = answerControllerCount(request);
            deleteRequests(requests, next);
            printMessage(MSG_CONTROLLER_COUNT, count);
            return count;
        }
        ArrayList<CpController*>* list = cpControllersFor(request);
        if (list == nullptr) {
            result = -1;
            break;
        }
        result = runOnEachController(list, traits, pending, result);
    }

    // Requests after a dispatch failure never run; they still belong to the dispatcher.
    deleteRequests(requests, next);
    if (result == 0)
        result = runLaterPasses(pending);
    deleteCpControllers(pending);

    releaseRaidManagers();
    releaseControllers();
    return result;
}
