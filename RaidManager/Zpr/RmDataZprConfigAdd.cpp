// Adding logical drives: the capacity answers of the controller family and the config-add
// buffers built from a plan.
#include "RaidManager/Zpr/RmDataZpr.h"

int RmDataZpr::canCreateVdOnFreshPds(uint8_t* answer)
{
    if (answer != nullptr)
        *answer = 1;
    return 0;
}

int RmDataZpr::canCreateVdOnFreeSpace(DiskGroup*, uint8_t* answer)
{
    if (answer != nullptr)
        *answer = 1;
    return 0;
}
