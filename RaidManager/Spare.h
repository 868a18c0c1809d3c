// A hot spare: the element and its data interface SpareData.
#ifndef SPARE_H
#define SPARE_H

#include "RaidManager/RaidElement.h"

class SpareData : public RaidElementData {
public:
    SpareData(Controller* controller, RaidElementId* id) : RaidElementData(controller, id) {}
    ~SpareData() override;
};

class Spare : public RaidElement {
public:
    Spare(SpareData* data, Controller* controller);
    string toString() override;
    ~Spare() override;

    // The creator registered under ELEMENT_TYPE_SPARE; null without a data object.
    static RaidElement* create(RaidElementData* data, Controller* controller);

protected:
    SpareData* spareData;  // the element's data object, seen as its interface
};

#endif
