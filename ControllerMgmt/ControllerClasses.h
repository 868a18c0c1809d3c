// The controller class tree.
//
//   Controller (virtual base, 0)
//   +- OemController (1) ------------- OrvaneController (4) --+
//   +- ProtocolController (2) -------- SasController (5) -----+- OrvaneSasHwrController (7)
//   +- RaidBaseController (10) ------- HwrController (11) ----+
//   +- OemController (1) ------------- AkIr2Controller (14)
//
// Every controller of the Linux driver is an OrvaneSasHwrController; every controller that the
// integrated-RAID library presents is an AkIr2Controller. Each level pushes its own type code
// while the object is built, so the type list of an OrvaneSasHwrController reads
// 0, 1, 4, 2, 5, 10, 11, 7 and that of an AkIr2Controller 0, 1, 14.
//
// Each level declares matchType: given a list of wanted codes it answers a code of its own that
// the caller wants; it is pure wherever a level gives it no body.
#ifndef CONTROLLERCLASSES_H
#define CONTROLLERCLASSES_H

#include "ControllerMgmt/Controller.h"
#include "ControllerMgmt/ControllerDetect.h"

class OemController : public virtual Controller {
public:
    static const uint16_t TYPE_CODE = CONTROLLER_TYPE_OEM;
    uint16_t type() const override { return TYPE_CODE; }
    virtual uint16_t matchType(ControllerTypeList* wanted) = 0;
    ~OemController() override {}

protected:
    OemController() { pushType(TYPE_CODE); }
};

class ProtocolController : public virtual Controller {
public:
    static const uint16_t TYPE_CODE = CONTROLLER_TYPE_PROTOCOL;
    uint16_t type() const override { return TYPE_CODE; }
    virtual uint16_t matchType(ControllerTypeList* wanted) = 0;
    ~ProtocolController() override {}

protected:
    ProtocolController() { pushType(TYPE_CODE); }
};

class RaidBaseController : public virtual Controller {
public:
    static const uint16_t TYPE_CODE = CONTROLLER_TYPE_RAID_BASE;
    uint16_t type() const override { return TYPE_CODE; }
    virtual uint16_t matchType(ControllerTypeList* wanted) = 0;
    ~RaidBaseController() override {}

protected:
    RaidBaseController() { pushType(TYPE_CODE); }
};

class OrvaneController : public OemController {
public:
    static const uint16_t TYPE_CODE = CONTROLLER_TYPE_ORVANE;
    uint16_t type() const override { return TYPE_CODE; }
    uint8_t adapterNumberBase() const override { return 0; }
    string vendorName() const override { return string("Orvane"); }
    ~OrvaneController() override {}

    // Its own list's answer when that list holds a function, else 4.
    static uint16_t detect(CddpData* data);
    static void addDetectMethod(const ControllerDetectMethod& method);

protected:
    OrvaneController() { pushType(TYPE_CODE); }
};

class SasController : public ProtocolController {
public:
    static const uint16_t TYPE_CODE = CONTROLLER_TYPE_SAS;
    uint16_t type() const override { return TYPE_CODE; }
    ~SasController() override {}

protected:
    SasController() { pushType(TYPE_CODE); }
};

class HwrController : public RaidBaseController {
public:
    static const uint16_t TYPE_CODE = CONTROLLER_TYPE_HWR;
    uint16_t type() const override { return TYPE_CODE; }
    ~HwrController() override {}

protected:
    HwrController() { pushType(TYPE_CODE); }
};

// A SAS hardware-RAID controller served by the Linux driver.
class OrvaneSasHwrController : public OrvaneController, public SasController, public HwrController {
public:
    static const uint16_t TYPE_CODE = CONTROLLER_TYPE_ORVANE_SAS_HWR;

    explicit OrvaneSasHwrController(ControllerId* id);
    ~OrvaneSasHwrController() override {}

    uint16_t type() const override { return TYPE_CODE; }
    // The controller's own codes from the last pushed back to the first: the first that also
    // occurs in `wanted`; 255 when none does (or there is no list).
    uint16_t matchType(ControllerTypeList* wanted) override;
    const string& name() const override;

    static uint16_t detect(CddpData* data);
    static void addDetectMethod(const ControllerDetectMethod& method);
    static Controller* create(ControllerId* id);
    // A new list of the supported PCI vendor and device pairs (the caller deletes the list; the
    // elements go to whoever takes them over).
    static ArrayList<VoVendorDeviceId*>* supportedIds();
};

// A controller presented by the integrated-RAID library.
class AkIr2Controller : public OemController {
public:
    static const uint16_t TYPE_CODE = CONTROLLER_TYPE_AK_IR2;

    explicit AkIr2Controller(ControllerId* id);
    ~AkIr2Controller() override {}

    uint16_t type() const override { return TYPE_CODE; }
    uint16_t matchType(ControllerTypeList*) override { return 0; }
    const string& name() const override;
    uint8_t adapterNumberBase() const override { return 0; }
    string vendorName() const override { return string("Orvane"); }

    static uint16_t detect(CddpData* data);
    static void addDetectMethod(const ControllerDetectMethod& method);
    static Controller* create(ControllerId* id);
};

#endif
