#include "RaidManager/DiskGroup.h"

#include <cstdio>

#include "RaidManager/Array.h"

DgData::~DgData() {}

DiskGroup::DiskGroup(DgData* data, Controller* controller) : RaidElement(data, controller), dgData(data), arrays(nullptr)
{
}

DiskGroup::~DiskGroup()
{
    delete arrays;
}

string DiskGroup::toString()
{
    if (arrays == nullptr)
        return string();
    char text[40];
    snprintf(text, sizeof text, "Number of Spans: %d\n", arrays->count());
    return string(text);
}

RaidElement* DiskGroup::create(RaidElementData* data, Controller* controller)
{
    // A data object of another kind is not taken over: the group is built without one.
    return new (noThrowNew) DiskGroup(dynamic_cast<DgData*>(data), controller);
}

int DiskGroup::addArray(Array* array)
{
    return appendToList(arrays, array);
}

int DiskGroup::getArrays(ArrayList<Array*>** list)
{
    if (arrays == nullptr)
        return -1;
    if (list != nullptr)
        *list = arrays;
    return 0;
}

int DiskGroup::hasForeignPd(uint8_t* answer)
{
    if (arrays == nullptr)
        return -1;
    return findAnswerOne(arrays, answer, &Array::hasForeignPdIfRecorded);
}
