#include "RaidManager/DriveMixMatrix.h"

#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/Memory.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"

namespace {

bool isSolidState(uint8_t kind)
{
    return kind >= DriveMixMatrix::KIND_SAS_SSD;
}

}  // namespace

DriveMixMatrix* DriveMixMatrix::instance()
{
    static DriveMixMatrix* matrix = new (noThrowNew) DriveMixMatrix();
    return matrix;
}

DriveMixMatrix::DriveMixMatrix() : flags{0, 0, 0}, cells{}, built(0) {}

void DriveMixMatrix::build(uint8_t mediaMix, uint8_t ssdInterfaceMix, uint8_t hddInterfaceMix)
{
    if (built != 0)
        return;
    flags[0] = mediaMix;
    flags[1] = ssdInterfaceMix;
    flags[2] = hddInterfaceMix;
    for (uint8_t i = 0; i < KINDS; ++i)
        for (uint8_t j = 0; j < KINDS; ++j) {
            uint8_t cell;
            if (i == j)
                cell = 1;
            else if (isSolidState(i) != isSolidState(j))
                cell = mediaMix == 1 ? 1 : 0;
            else
                cell = (isSolidState(i) ? ssdInterfaceMix : hddInterfaceMix) != 0 ? 1 : 0;
            cells[i * KINDS + j] = cell;
        }
    built = 1;
}

uint8_t DriveMixMatrix::isAllowed(uint8_t kind, uint8_t otherKind) const
{
    if (kind >= KINDS || otherKind >= KINDS)
        return 0;
    return cells[kind * KINDS + otherKind];
}

uint8_t DriveMixMatrix::kindOf(PhysicalDevice* pd)
{
    uint8_t media = 255;
    uint8_t interface = 255;
    if (pd != nullptr) {
        ignoreStatus(pd->getMediaType(&media), "an unread code keeps 255 and the drive is classed by it");
        ignoreStatus(pd->getInterfaceType(&interface),
                     "an unread code keeps 255 and the drive is classed by it");
    }
    return static_cast<uint8_t>((media != 0 ? KIND_SAS_SSD : KIND_SAS_HDD) + (interface == INTERFACE_SAS ? 0 : 1));
}
