#include "CpMgmt/EnclosureIdText.h"

#include "RaidManager/EnclosureIds.h"

#include <cstdio>

const char* formatEnclosureId(unsigned short enclosureId)
{
    static char buffer[8];
    if (enclosureId == ENCLOSURE_ID_NONE)
        snprintf(buffer, sizeof buffer, "N/A");
    else
        snprintf(buffer, sizeof buffer, "%d", static_cast<int>(enclosureId));
    return buffer;
}
