// What the text block of a virtual drive asks beyond its own records: the sector layout of its
// member drives.
#include "RaidManager/Zpr/VdDataZpr.h"


int VdDataZpr::getMemberSectorSize(uint16_t* bytes)
{
    *bytes = 0;
    return 0;
}

int VdDataZpr::getMemberPhysicalSectorExponent(uint16_t* exponent)
{
    *exponent = 0;
    return 0;
}
