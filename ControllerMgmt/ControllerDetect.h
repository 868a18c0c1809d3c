// How a controller gets its class: detect data, the chain of detect functions, the factory of
// creators by type code, and the two interfaces every controller kind implements (the source of
// detect data and PCI location, and the explorer that lists the kind's controllers).
#ifndef CONTROLLERDETECT_H
#define CONTROLLERDETECT_H

#include <cstdint>

#include "ControllerMgmt/Controller.h"
#include "PavUtil/List.h"

struct ControllerPciInfo;

// The detect data of one controller: its four PCI ids.
class CddpData {
public:
    CddpData(uint16_t deviceId, uint16_t subDeviceId, uint16_t vendorId, uint16_t subVendorId)
        : deviceId(deviceId), subDeviceId(subDeviceId), vendorId(vendorId), subVendorId(subVendorId)
    {
    }
    virtual ~CddpData() {}

    uint16_t deviceId;
    uint16_t subDeviceId;
    uint16_t vendorId;
    uint16_t subVendorId;
};

// A supported PCI vendor and device id pair.
class VoVendorDeviceId {
public:
    VoVendorDeviceId(uint32_t vendorId, uint32_t deviceId) : vendorId(vendorId), deviceId(deviceId) {}
    virtual ~VoVendorDeviceId() {}

    uint32_t vendorId;
    uint32_t deviceId;
};

// Up to 32 detect functions, asked in the order added.
class ControllerDetectMethodList {
public:
    static const uint8_t CAPACITY = 32;

    ControllerDetectMethodList() : used(0) {}
    virtual ~ControllerDetectMethodList() {}

    // Appends; ignored when the list is full.
    void add(const ControllerDetectMethod& method);
    uint8_t count() const { return used; }
    // The first answer other than 255; 255 when every function answers 255 or there is none.
    uint16_t detect(CddpData* data) const;

    // Adds to a class's own list, making the list (and handing it to the container) on the
    // class's first addition.
    static void addToClassList(ControllerDetectMethodList*& list, const ControllerDetectMethod& method);

private:
    uint8_t used;
    ControllerDetectMethod methods[CAPACITY];
};

// Holds every detect-method list made in the process and deletes them at exit.
class ControllerDetectMethodListContainer {
public:
    static ControllerDetectMethodListContainer* instance();
    void add(ControllerDetectMethodList* list);
    virtual ~ControllerDetectMethodListContainer();

private:
    ControllerDetectMethodListContainer();
    ArrayList<ControllerDetectMethodList*>* lists;
};

// Creator slots indexed by type code.
class ControllerFactory {
public:
    static const uint16_t SLOTS = 32;

    static ControllerFactory* instance();
    // A code of 32 or more is ignored.
    void registerCreator(uint16_t type, const ControllerCreator& creator);
    // The new controller; null when the slot is empty, the code is 32 or more, or the creator
    // yields nothing.
    Controller* create(uint16_t type, ControllerId* id) const;
    virtual ~ControllerFactory() {}

private:
    ControllerFactory() {}
    ControllerCreator creators[SLOTS];
};

// The source of a controller kind's detect data and PCI location.
class ControllerDetectorDataProvider {
public:
    // New detect data for the identifier (the caller deletes it); null on failure.
    virtual CddpData* getCddpData(ControllerId* id) = 0;
    // Fills `out` with the identifier's PCI location; 0 on success.
    virtual uint8_t getPciLocation(ControllerId* id, ControllerPciInfo* out) = 0;
    virtual ~ControllerDetectorDataProvider() {}
};

// Lists the controllers of one kind.
class ControllerExplorer {
public:
    // A new list of new identifiers (the caller deletes both); null when nothing is found.
    virtual ArrayList<ControllerId*>* explore(ArrayList<VoVendorDeviceId*>* supported) = 0;
    virtual ~ControllerExplorer() {}
};

#endif
