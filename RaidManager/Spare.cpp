#include "RaidManager/Spare.h"

#include <cstdio>

#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Array.h"

SpareData::~SpareData() {}

Spare::Spare(SpareData* data, Controller* controller)
    : RaidElement(data, controller), spareData(data), pd(nullptr), arrays(nullptr)
{
}

Spare::~Spare()
{
    delete arrays;
}

RaidElement* Spare::create(RaidElementData* data, Controller* controller)
{
    return createElementOver<Spare, SpareData>(data, controller);
}

int Spare::setPd(PhysicalDevice* drive)
{
    pd = drive;
    return 0;
}

int Spare::addArray(Array* array)
{
    return appendToList(arrays, array);
}

int Spare::getPd(PhysicalDevice** drive)
{
    if (pd == nullptr)
        return -1;
    if (drive != nullptr)
        *drive = pd;
    return 0;
}

int Spare::getArrays(ArrayList<Array*>** list)
{
    if (arrays == nullptr)
        return -1;
    if (list != nullptr)
        *list = arrays;
    return 0;
}

int Spare::hasEnclosureAffinity(uint8_t* answer)
{
    return spareData == nullptr ? -1 : spareData->hasEnclosureAffinity(answer);
}

int Spare::isRevertible(uint8_t* answer)
{
    return spareData == nullptr ? -1 : spareData->isRevertible(answer);
}

string Spare::toString()
{
    string text("Hotspare Information: \n");
    text += "Type: ";
    text += arrays != nullptr ? "Dedicated" : "Global";
    uint8_t affinity = 0;
    uint8_t revertible = 0;
    ignoreStatus(hasEnclosureAffinity(&affinity), "an unread flag keeps 0 and is not printed");
    ignoreStatus(isRevertible(&revertible), "an unread flag keeps 0 and is not printed");
    if (affinity != 0)
        text += ", with enclosure affinity";
    if (revertible != 0)
        text += ", is revertible";
    text += "\n";
    if (arrays != nullptr) {
        text += "Array #: ";
        for (unsigned char i = 0; i < arrays->count(); ++i) {
            Array* array = arrays->get(i);
            uint16_t ref = 0;
            // An array whose number cannot be read is left out; its position still counts.
            if (array == nullptr || array->getArrayRef(&ref) != 0)
                continue;
            char number[16];
            snprintf(number, sizeof number, "%s%d", i == 0 ? "" : ", ", ref);
            text += number;
        }
    }
    text += "\n";
    return text;
}
