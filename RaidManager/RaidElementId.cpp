#include "RaidManager/RaidElementId.h"

#include <cstdio>

RaidElementId::~RaidElementId() {}

VdId::~VdId() {}

VdIdZpr::VdIdZpr(uint16_t targetId, uint16_t sequenceNumber)
    : VdId(static_cast<uint8_t>(targetId & 0xFFu)), targetId16(targetId), sequenceNumber(sequenceNumber)
{
}

VdIdZpr::~VdIdZpr() {}

string VdIdZpr::toString()
{
    char text[32];
    snprintf(text, sizeof text, "VD %u (seq %u)", static_cast<unsigned>(targetId16),
             static_cast<unsigned>(sequenceNumber));
    return string(text);
}

bool VdIdZpr::equals(VdId* other)
{
    VdIdZpr* same = dynamic_cast<VdIdZpr*>(other);
    return same != nullptr && same->getTargetId16() == targetId16;
}

void VdIdZpr::setTargetId(uint16_t id)
{
    targetId16 = id;
    VdId::setTargetId(static_cast<uint8_t>(id & 0xFFu));
}

DiskGroupId::~DiskGroupId() {}

ArrayId::~ArrayId() {}

ArrayIdZpr::~ArrayIdZpr() {}

PhysicalDeviceId::~PhysicalDeviceId() {}

PdIdZpr::~PdIdZpr() {}

string PdIdZpr::toString()
{
    char text[48];
    snprintf(text, sizeof text, "PD %u (enclosure %u, slot %u)", static_cast<unsigned>(deviceId),
             static_cast<unsigned>(enclosureDeviceId), static_cast<unsigned>(slotNumber));
    return string(text);
}
