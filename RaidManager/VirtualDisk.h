// A virtual drive: the element and its data interface VdData. The virtual drive's operations
// join the interface as the virtual-drive commands are built.
#ifndef VIRTUALDISK_H
#define VIRTUALDISK_H

#include "RaidManager/RaidElement.h"

class VdData : public RaidElementData {
public:
    VdData(Controller* controller, RaidElementId* id) : RaidElementData(controller, id) {}
    ~VdData() override;
};

class VirtualDisk : public RaidElement {
public:
    VirtualDisk(VdData* data, Controller* controller);
    string toString() override;
    ~VirtualDisk() override;

    // The creator registered under ELEMENT_TYPE_VD; null without a data object.
    static RaidElement* create(RaidElementData* data, Controller* controller);

protected:
    VdData* vdData;  // the element's data object, seen as its interface
};

#endif
