#include "CpMgmt/CpController.h"

#include "ControllerMgmt/Controller.h"
#include "CpMgmt/CommandProcessor.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/CpTraits.h"
#include "CpMgmt/FwErrorDescriptions.h"
#include "DataProvider/ControllerId.h"
#include "Output/VoMessage.h"
#include "Parser/ParsedObject.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"

namespace {

const int OEM_ID_DRIVE_WORDING = 2;

}  // namespace

CpController::CpController(Controller* controller, ParsedObject* request)
    : ctrl(controller), request(request), processor(nullptr)
{
}

CpController::~CpController()
{
    delete request;
    request = nullptr;
    delete processor;
    processor = nullptr;
}

int CpController::type()
{
    return 0;
}

Controller* CpController::controller()
{
    return ctrl;
}

bool CpController::isDone()
{
    return processor == nullptr ? true : processor->isDone();
}

bool CpController::checkController(int& status)
{
    int adapterNumber = request->getAdapterNumber();
    RaidManager* manager = getRaidManager(ctrl);
    if (manager == nullptr) {
        printMessage(MSG_RM_INSTANCE_FAILED, adapterNumber);
        status = -1;
        return false;
    }
    status = manager->refresh();
    if (status != 0)
        return false;
    Adapter* adapter = nullptr;
    status = manager->getAdapter(&adapter);
    if (status != 0 || adapter == nullptr) {
        printMessage(MSG_ADAPTER_COMM_FAILED, adapterNumber);
        // A missing adapter must stop the command even when the status says success.
        if (status == 0)
            status = -1;
        return false;
    }

    int32_t oemId = -1;
    useOem2FwErrorDescriptions = 0;
    if (adapter->getOemId(&oemId) == 0 && oemId == OEM_ID_DRIVE_WORDING)
        useOem2FwErrorDescriptions = 1;

    uint8_t updateNeeded = 0;
    uint16_t firmwareLevel = 0;
    uint16_t applicationLevel = 0;
    status = adapter->checkApplicationCompatibility(&updateNeeded, &firmwareLevel, &applicationLevel);
    if (status != 0)
        return false;
    if (updateNeeded == 1) {
        printMessage(MSG_UPDATE_APPLICATION, adapterNumber, static_cast<int>(firmwareLevel),
                     static_cast<int>(applicationLevel));
        status = -1;
        return false;
    }

    updateNeeded = 0;
    status = adapter->checkFirmwareCompatibility(&updateNeeded, &firmwareLevel, &applicationLevel);
    if (updateNeeded == 1) {
        printMessage(MSG_UPDATE_FIRMWARE, adapterNumber, static_cast<int>(firmwareLevel),
                     static_cast<int>(applicationLevel));
        status = -1;
        return false;
    }
    // A failed read here does not stop the command; its status is what a command without a
    // processor returns.
    return true;
}

int CpController::process()
{
    int status = -1;
    // Never hand a processor a missing request: an executor without one has nothing to run.
    if (request == nullptr)
        return status;
    if (ctrl != nullptr && commandTraits(request->getCommandToken()).checksController && !checkController(status))
        return status;
    if (processor == nullptr) {
        CpFactoryRegistry* registry = CpFactoryRegistry::instance();
        if (registry == nullptr)
            return status;
        processor = registry->find(this, request);
        if (processor == nullptr) {
            // Deliberately -1, not the status of the checks above (0 once a controller passed
            // them): a command that nothing here can carry out has failed, and a script that
            // tests the exit code must not take it as done.
            printMessage(MSG_TEXT, "Un-supported command\n");
            return -1;
        }
    }
    return processor->process(this, request);
}

OemCpController::OemCpController(Controller* controller, ParsedObject* request) : CpController(controller, request) {}
OemCpController::~OemCpController() {}
int OemCpController::type() { return 1; }

ProtocolCpController::ProtocolCpController(Controller* controller, ParsedObject* request)
    : CpController(controller, request)
{
}
ProtocolCpController::~ProtocolCpController() {}
int ProtocolCpController::type() { return 2; }

OrvaneCpController::OrvaneCpController(Controller* controller, ParsedObject* request)
    : CpController(controller, request), OemCpController(controller, request)
{
}
OrvaneCpController::~OrvaneCpController() {}
int OrvaneCpController::type() { return 4; }

SasCpController::SasCpController(Controller* controller, ParsedObject* request)
    : CpController(controller, request), ProtocolCpController(controller, request)
{
}
SasCpController::~SasCpController() {}
int SasCpController::type() { return 5; }

RAIDCpController::RAIDCpController(Controller* controller, ParsedObject* request) : CpController(controller, request) {}
RAIDCpController::~RAIDCpController() {}
int RAIDCpController::type() { return 10; }

HwrCpController::HwrCpController(Controller* controller, ParsedObject* request)
    : CpController(controller, request), RAIDCpController(controller, request)
{
}
HwrCpController::~HwrCpController() {}
int HwrCpController::type() { return 11; }

OrvaneSasHwrCpController::OrvaneSasHwrCpController(Controller* controller, ParsedObject* request)
    : CpController(controller, request),
      OrvaneCpController(controller, request),
      SasCpController(controller, request),
      HwrCpController(controller, request)
{
}
OrvaneSasHwrCpController::~OrvaneSasHwrCpController() {}
int OrvaneSasHwrCpController::type() { return TYPE_CODE; }

CpController* OrvaneSasHwrCpController::create(Controller* controller, ParsedObject* request)
{
    return new (noThrowNew) OrvaneSasHwrCpController(controller, request);
}

TidexCpController::TidexCpController(Controller* controller, ParsedObject* request)
    : CpController(controller, request), OrvaneCpController(controller, request)
{
}
TidexCpController::~TidexCpController() {}
int TidexCpController::type() { return TYPE_CODE; }

CpController* TidexCpController::create(Controller* controller, ParsedObject* request)
{
    return new (noThrowNew) TidexCpController(controller, request);
}
