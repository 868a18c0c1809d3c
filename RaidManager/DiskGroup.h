// A disk group: the arrays that one logical drive brought into the configuration first. Its
// data class DgData is concrete and holds nothing but the group's identifier.
#ifndef DISKGROUP_H
#define DISKGROUP_H

#include "RaidManager/RaidElement.h"

class DgData : public RaidElementData {
public:
    DgData(Controller* controller, RaidElementId* id) : RaidElementData(controller, id) {}
    ~DgData() override;
    // Empty: a disk group has no text of its own.
    string toString() override { return string(); }
};

class DiskGroup : public RaidElement {
public:
    DiskGroup(DgData* data, Controller* controller);
    string toString() override;
    ~DiskGroup() override;

    // The creator registered under ELEMENT_TYPE_DISK_GROUP. Unlike the other creators it
    // always builds its element, also without a data object.
    static RaidElement* create(RaidElementData* data, Controller* controller);

protected:
    DgData* dgData;  // the element's data object, or null
};

#endif
