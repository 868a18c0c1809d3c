// A hot spare: the element and its data interface SpareData. A spare names its drive (not
// owned) and, when dedicated, the arrays it serves (the container owned, not the arrays); a
// spare without an array list is global.
#ifndef SPARE_H
#define SPARE_H

#include <cstdint>

#include "PavUtil/List.h"
#include "RaidManager/RaidElement.h"

class Array;
class PhysicalDevice;

class SpareData : public RaidElementData {
public:
    SpareData(Controller* controller, RaidElementId* id) : RaidElementData(controller, id) {}
    ~SpareData() override;

    [[nodiscard]] virtual int hasEnclosureAffinity(uint8_t* answer) = 0;
    [[nodiscard]] virtual int isRevertible(uint8_t* answer) = 0;
};

class Spare : public RaidElement {
public:
    Spare(SpareData* data, Controller* controller);
    // "Hotspare Information: " with its type, flags and, when dedicated, the arrays it serves.
    string toString() override;
    // Deletes the array-list container; the drive is left alone.
    ~Spare() override;

    // The creator registered under ELEMENT_TYPE_SPARE; null without a data object.
    static RaidElement* create(RaidElementData* data, Controller* controller);

    [[nodiscard]] int setPd(PhysicalDevice* drive);
    [[nodiscard]] int addArray(Array* array);
    // -1 when there is no drive.
    [[nodiscard]] int getPd(PhysicalDevice** drive);
    // -1 for a global spare (no array list).
    [[nodiscard]] int getArrays(ArrayList<Array*>** list);
    [[nodiscard]] int hasEnclosureAffinity(uint8_t* answer);
    [[nodiscard]] int isRevertible(uint8_t* answer);

protected:
    SpareData* spareData;       // the element's data object, seen as its interface
    PhysicalDevice* pd;         // not owned: the drive element of the drive cache
    ArrayList<Array*>* arrays;  // null for a global spare
};

#endif
