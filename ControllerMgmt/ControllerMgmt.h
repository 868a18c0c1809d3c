// Controller management: turns the identifiers that a discovery finds into Controller objects.
//
// Each controller kind has its own management (LinuxControllerMgmt for the Linux driver,
// AkIr2ControllerMgmt for the integrated-RAID library). The first management object of the
// process registers the controller types: the detect chain, the factory's creators and the
// process-wide list of supported PCI vendor and device pairs.
#ifndef CONTROLLERMGMT_H
#define CONTROLLERMGMT_H

#include "ControllerMgmt/ControllerClasses.h"
#include "ControllerMgmt/ControllerDetect.h"
#include "PavUtil/List.h"

class ControllerMgmt {
public:
    // A new list of new identifiers (the caller deletes both), or null.
    virtual ArrayList<ControllerId*>* detect() = 0;
    // A new list with one controller per identifier that yields one, in identifier order; null
    // when there is no identifier at all. The caller releases the controllers and the list.
    virtual ArrayList<Controller*>* createControllers(ArrayList<ControllerId*>* ids);
    // The controller of one identifier, or null.
    virtual Controller* createController(ControllerId* id) = 0;
    // Releases the supported-device list.
    virtual ~ControllerMgmt();

    // Appends every element to the process-wide supported-device list, which takes them over
    // (the list is made on the first addition).
    static void addVendorDeviceIds(ArrayList<VoVendorDeviceId*>* ids);
    // Deletes the supported-device list and its elements; afterwards there is no list.
    static void releaseVendorDeviceIds();
    // The process-wide supported-device list; null when it does not exist.
    static ArrayList<VoVendorDeviceId*>* vendorDeviceIds();

protected:
    // Registers the controller types on the first construction in the process.
    ControllerMgmt();

private:
    ControllerMgmt(const ControllerMgmt&) = delete;
    ControllerMgmt& operator=(const ControllerMgmt&) = delete;

    static void registerControllerTypes();
};

// Registers an OEM class's detect function in its base class's detect list.
template <class T, class Base>
class OemControllerRegistration {
public:
    OemControllerRegistration() { Base::addDetectMethod(makeFunctor(&T::detect)); }
};

// Registers a concrete Linux-driver class: its supported devices, its detect function in its
// base class's detect list and its creator in the factory under its type code.
template <class T, class Base>
class OemProtocolRaidBaseControllerRegistration {
public:
    OemProtocolRaidBaseControllerRegistration()
    {
        ArrayList<VoVendorDeviceId*>* ids = T::supportedIds();
        ControllerMgmt::addVendorDeviceIds(ids);
        delete ids;
        Base::addDetectMethod(makeFunctor(&T::detect));
        ControllerFactory::instance()->registerCreator(T::TYPE_CODE, makeFunctor(&T::create));
    }
};

#endif
