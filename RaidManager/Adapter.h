// The Adapter element: the model object of one controller. It holds no state of its own: each
// operation forwards to the same-named operation of its AdapterData object, which reads the
// controller's records on first use and keeps them for the life of the object.
//
// Operations return an int status (0 success, -1 refused or not possible, any other value a
// firmware status passed through); values travel through out-parameters written on success
// only. The operations are listed once, in AdapterOperations.def, in the order of the data
// interface's slots.
#ifndef ADAPTER_H
#define ADAPTER_H

#include <cstdint>
#include <ctime>

#include "PavUtil/List.h"
#include "RaidManager/RaidElement.h"

class PhysicalDevice;
class VirtualDisk;
class VdIdZpr;

class AdapterData : public RaidElementData {
public:
    AdapterData(Controller* controller, RaidElementId* id) : RaidElementData(controller, id) {}
    ~AdapterData() override {}

#define ADAPTER_OP(ret, name, params, args) [[nodiscard]] virtual ret name params = 0;
#define ADAPTER_OP_PENDING ADAPTER_OP
#define ADAPTER_OP_ELEMENT ADAPTER_OP
#include "RaidManager/AdapterOperations.def"
#undef ADAPTER_OP
#undef ADAPTER_OP_PENDING
#undef ADAPTER_OP_ELEMENT
};

class Adapter : public RaidElement {
public:
    Adapter(AdapterData* data, Controller* controller);
    string toString() override;
    ~Adapter() override;

    // The creator registered under ELEMENT_TYPE_ADAPTER; null without a data object (or when
    // the data object is not adapter data).
    static RaidElement* create(RaidElementData* data, Controller* controller);

#define ADAPTER_OP(ret, name, params, args) \
    [[nodiscard]] ret name params { return adapterData->name args; }
#define ADAPTER_OP_PENDING ADAPTER_OP
#define ADAPTER_OP_ELEMENT(ret, name, params, args)
#include "RaidManager/AdapterOperations.def"
#undef ADAPTER_OP
#undef ADAPTER_OP_PENDING
#undef ADAPTER_OP_ELEMENT

    // The boot device as a model element of this controller: the data object hands out its
    // id, which the element looks up in its RAID manager's lists. 0 with `*vd` / `*pd` left
    // alone when there is none (or it matches no element); a failure of the data part passes
    // through; -1 when the manager or its list cannot be had.
    [[nodiscard]] int getBootVirtualDrive(VirtualDisk** vd);
    [[nodiscard]] int getBootPhysicalDrive(PhysicalDevice** pd);

private:
    AdapterData* adapterData;  // the same object as the element's data, seen as adapter data
};

#endif
