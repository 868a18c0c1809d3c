// A detected RAID controller.
//
// A Controller carries the controller's identifier, the chain of type codes of its class, the
// data providers that carry its firmware commands and its PCI location. Every firmware command
// reaches the controller through Controller::execute, which hands it to the first provider that
// carries the request's kind.
//
// Controller is the virtual base of the whole class tree (see ControllerClasses.h): a class that
// inherits several levels holds one Controller part, and while an object is built each level
// pushes its own type code into the type list, the virtual base first.
#ifndef CONTROLLER_H
#define CONTROLLER_H

#include <cstdint>

#include "PavUtil/Functor.h"
#include "PavUtil/List.h"
#include "PavUtil/apstring.h"

class CddpData;
class Controller;
class ControllerId;
class DataProvider;
class DpParams;

// A detect function: the detect data of one controller -> a type code (255: not claimed).
typedef CBFunctor1wRet<CddpData*, uint16_t> ControllerDetectMethod;
// A creator: builds the controller of a class for an identifier.
typedef CBFunctor1wRet<ControllerId*, Controller*> ControllerCreator;

// Type codes of the controller classes. A command-side controller reports the code of its
// controller's class.
const uint16_t CONTROLLER_TYPE_CONTROLLER = 0;
const uint16_t CONTROLLER_TYPE_OEM = 1;
const uint16_t CONTROLLER_TYPE_PROTOCOL = 2;
const uint16_t CONTROLLER_TYPE_ORVANE = 4;
const uint16_t CONTROLLER_TYPE_SAS = 5;
const uint16_t CONTROLLER_TYPE_ORVANE_SAS_HWR = 7;   // every controller of the Linux driver
const uint16_t CONTROLLER_TYPE_RAID_BASE = 10;
const uint16_t CONTROLLER_TYPE_HWR = 11;
const uint16_t CONTROLLER_TYPE_AK_IR2 = 14;          // every controller of the integrated-RAID library
// Answer of a detect function or a type query that finds nothing.
const uint16_t CONTROLLER_TYPE_NONE = 255;

// A bounded list of type codes.
class ControllerTypeList {
public:
    explicit ControllerTypeList(uint16_t capacity);
    virtual ~ControllerTypeList();

    // Appends a code; ignored when the list is full.
    void push(uint16_t code);
    uint16_t count() const { return used; }
    // The code at index; 255 when the index is not below the count.
    uint16_t get(uint16_t index) const;

private:
    ControllerTypeList(const ControllerTypeList&) = delete;
    ControllerTypeList& operator=(const ControllerTypeList&) = delete;

    uint16_t capacity;
    uint16_t used;
    uint16_t* codes;
};

// PCI location of a controller: bus, device and function; the rest stays zero.
struct ControllerPciInfo {
    uint32_t busNumber;
    uint8_t deviceNumber;
    uint8_t functionNumber;
    uint8_t reserved[106];
};
static_assert(sizeof(ControllerPciInfo) == 112, "the PCI information record is 112 bytes");

class Controller {
public:
    // Capacity of every controller's type list.
    static const uint16_t TYPE_LIST_CAPACITY = 32;

    virtual uint16_t type() const { return CONTROLLER_TYPE_CONTROLLER; }
    virtual ControllerTypeList* typeList() { return &types; }
    virtual const string& name() const = 0;
    virtual ControllerId* controllerId() const { return ctrlId; }
    // Deletes the controller.
    virtual void release() { delete this; }
    // The first adapter number of this controller kind.
    virtual uint8_t adapterNumberBase() const = 0;
    virtual string vendorName() const = 0;
    virtual ~Controller();

    // Deletes a controller; null does nothing.
    static void release(Controller* controller);

    // Hands the request to the first provider that supports its kind, after storing this
    // controller's identifier in it: the provider's result unchanged, -1 when no provider
    // accepts the request (or there is no request).
    [[nodiscard]] int execute(DpParams* request);

    // Appends a provider (process-wide objects: the controller never deletes them). A null
    // provider is not added.
    void addDataProvider(DataProvider* provider);

    // Fills `out` with the controller's PCI location as the Linux discovery recorded it: 0, 255
    // when the detect-data provider is missing (or `out` is null), or that provider's nonzero
    // status; `out` is untouched on failure.
    uint8_t getPciInfo(ControllerPciInfo* out);

    // The detect chain: functions that map detect data to a type code, asked in order.
    static void addDetectMethod(const ControllerDetectMethod& method);
    static uint16_t detectType(CddpData* data);

protected:
    explicit Controller(ControllerId* id = nullptr);

    // Each level of the class tree pushes its own code while the object is built.
    void pushType(uint16_t code) { types.push(code); }

private:
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;

    ControllerTypeList types;
    ControllerId* ctrlId;                    // not owned
    ArrayList<DataProvider*>* providers;     // owned list; providers not owned
    ControllerPciInfo pciInfo;
};

// Offset added to the first adapter number of every controller kind; always 0.
uint8_t getAdapterNumberOffset();

#endif
