// A disk group: the arrays that one logical drive brought into the configuration first. Its
// data class DgData is concrete and holds nothing but the group's identifier. The group owns
// its array-list container, not the arrays.
#ifndef DISKGROUP_H
#define DISKGROUP_H

#include <cstdint>

#include "PavUtil/List.h"
#include "RaidManager/RaidElement.h"

class Array;

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
    // "Number of Spans: %d\n", or empty without arrays.
    string toString() override;
    ~DiskGroup() override;

    // The creator registered under ELEMENT_TYPE_DISK_GROUP. Unlike the other creators it
    // always builds its element, also without a data object.
    static RaidElement* create(RaidElementData* data, Controller* controller);

    [[nodiscard]] int addArray(Array* array);
    // -1 when there is no list.
    [[nodiscard]] int getArrays(ArrayList<Array*>** list);
    // 1 when a drive of an array of the group is foreign.
    [[nodiscard]] int hasForeignPd(uint8_t* answer);

protected:
    DgData* dgData;             // the element's data object, or null
    ArrayList<Array*>* arrays;  // null until the first array is added
};

#endif
