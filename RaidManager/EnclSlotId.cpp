#include "RaidManager/EnclSlotId.h"

EnclSlotId::EnclSlotId(unsigned short enclosureId, unsigned char slotNumber)
    : enclosureId(enclosureId), slotNumber(slotNumber)
{
}

EnclSlotId::~EnclSlotId()
{
}

bool EnclSlotId::isTypedAddressValid(long enclosureId, long slotNumber)
{
    if (enclosureId < 0 || enclosureId > 0xFFFF || slotNumber < 0 || slotNumber > 0xFF)
        return false;
    return enclosureId != ENCLOSURE_ID_NONE && enclosureId != ENCLOSURE_ID_RESOLVE;
}
