// An array of drives: the element Array with its kind in use, ArrayHmg, and the data
// interface ArrayData. The array's operations join the interface as the configuration
// commands are built.
#ifndef ARRAY_H
#define ARRAY_H

#include "RaidManager/RaidElement.h"

class ArrayData : public RaidElementData {
public:
    ArrayData(Controller* controller, RaidElementId* id) : RaidElementData(controller, id) {}
    ~ArrayData() override;
};

class Array : public RaidElement {
public:
    Array(ArrayData* data, Controller* controller);
    string toString() override;
    ~Array() override;

protected:
    ArrayData* arrayData;  // the element's data object, seen as its interface
};

// The array of the controllers in use: the one kind of Array the model builds.
class ArrayHmg : public Array {
public:
    ArrayHmg(ArrayData* data, Controller* controller);
    ~ArrayHmg() override;

    // The creator registered under ELEMENT_TYPE_ARRAY; null without a data object.
    static RaidElement* create(RaidElementData* data, Controller* controller);
};

#endif
