#include "RaidManager/Zpr/SpareDataZpr.h"

SpareDataZpr::~SpareDataZpr() {}

int SpareDataZpr::hasEnclosureAffinity(uint8_t* answer)
{
    if (!record.isPresent())
        return -1;
    if (answer != nullptr)
        *answer = record.hasEnclosureAffinity() ? 1 : 0;
    return 0;
}

int SpareDataZpr::isRevertible(uint8_t* answer)
{
    if (!record.isPresent())
        return -1;
    if (answer != nullptr)
        *answer = record.isRevertible() ? 1 : 0;
    return 0;
}
