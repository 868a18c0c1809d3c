#include "ControllerMgmt/ControllerMgmt.h"

#include "PavUtil/Memory.h"

namespace {

ArrayList<VoVendorDeviceId*>* supportedDevices = nullptr;
bool typesRegistered = false;

} // namespace

ControllerMgmt::ControllerMgmt()
{
    if (!typesRegistered) {
        typesRegistered = true;
        registerControllerTypes();
    }
}

ControllerMgmt::~ControllerMgmt() { releaseVendorDeviceIds(); }

void ControllerMgmt::registerControllerTypes()
{
    { OemControllerRegistration<OrvaneController, Controller> orvane; }
    { OemProtocolRaidBaseControllerRegistration<OrvaneSasHwrController, OrvaneController> sasHwr; }
    // The library's controllers are built by their own management: no creator for them.
    { OemControllerRegistration<AkIr2Controller, Controller> akIr2; }
}

ArrayList<Controller*>* ControllerMgmt::createControllers(ArrayList<ControllerId*>* ids)
{
    if (ids == nullptr || ids->count() == 0) {
        return nullptr;
    }
    ArrayList<Controller*>* controllers = new (noThrowNew) ArrayList<Controller*>(ids->count());
    if (controllers == nullptr) {
        return nullptr;
    }
    for (unsigned char i = 0; i < ids->count(); ++i) {
        Controller* controller = createController(ids->get(i));
        if (controller == nullptr) {
            continue;
        }
        if (controllers->add(controller) != 0) {
            controller->release();
        }
    }
    return controllers;
}

void ControllerMgmt::addVendorDeviceIds(ArrayList<VoVendorDeviceId*>* ids)
{
    if (ids == nullptr) {
        return;
    }
    for (unsigned char i = 0; i < ids->count(); ++i) {
        VoVendorDeviceId* pair = ids->get(i);
        if (supportedDevices == nullptr) {
            supportedDevices = new (noThrowNew) ArrayList<VoVendorDeviceId*>(4);
        }
        if (supportedDevices == nullptr || supportedDevices->add(pair) != 0) {
            // Nobody else holds the element any more: the caller deletes only its list.
            delete pair;
        }
    }
}

void ControllerMgmt::releaseVendorDeviceIds()
{
    if (supportedDevices == nullptr) {
        return;
    }
    for (unsigned char i = 0; i < supportedDevices->count(); ++i) {
        delete supportedDevices->get(i);
    }
    delete supportedDevices;
    supportedDevices = nullptr;
}

ArrayList<VoVendorDeviceId*>* ControllerMgmt::vendorDeviceIds() { return supportedDevices; }
