// A physical drive of the controller: the element and its data interface PdData. The drive's
// operations join the interface as the drive commands are built.
#ifndef PHYSICALDEVICE_H
#define PHYSICALDEVICE_H

#include "RaidManager/RaidElement.h"

class PdData : public RaidElementData {
public:
    PdData(Controller* controller, RaidElementId* id) : RaidElementData(controller, id) {}
    ~PdData() override;
};

class PhysicalDevice : public RaidElement {
public:
    PhysicalDevice(PdData* data, Controller* controller);
    string toString() override;
    ~PhysicalDevice() override;

    // The creator registered under ELEMENT_TYPE_PD; null without a data object.
    static RaidElement* create(RaidElementData* data, Controller* controller);

protected:
    PdData* pdData;  // the element's data object, seen as its interface
};

#endif
