#include "RaidManager/UnConfiguredVd.h"

#include <cstring>

#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"

namespace {

// OEM whose controllers take no write-policy code with a new drive.
const int32_t OEM_WITHOUT_WRITE_POLICY = 2;

}  // namespace

UnConfiguredVd::UnConfiguredVd(Controller* controller, uint8_t stripSize, uint8_t parameter27, uint8_t parameter29,
                               uint8_t parameter28, uint8_t parameter30)
    : controller(controller), requestedSize(0), raidLevel(LEVEL_NONE), stripSize(stripSize), parameter26(0),
      parameter27(parameter27), parameter28(parameter28), parameter29(parameter29), parameter30(parameter30),
      parameter31(0), vdId(nullptr), parameter56(0), parameter57(0), parameter58(0)
{
    memset(name, 0, sizeof name);
    Adapter* a = adapter();
    uint8_t driveCache = 0;
    if (a != nullptr && a->getDefaultVdParameter31(&driveCache) == 0)
        parameter31 = driveCache;
}

UnConfiguredVd::~UnConfiguredVd() {}

Adapter* UnConfiguredVd::adapter() const
{
    RaidManager* manager = getRaidManager(controller);
    Adapter* a = nullptr;
    if (manager == nullptr || manager->getAdapter(&a) != 0)
        return nullptr;
    return a;
}

uint8_t UnConfiguredVd::isSpannedLevel() const
{
    Adapter* a = adapter();
    return a == nullptr ? 0 : a->isSpannedRaidLevel(raidLevel);
}

int UnConfiguredVd::setRaidLevel(uint8_t level)
{
    raidLevel = level;
    Adapter* a = adapter();
    int32_t oemId = 0;
    if (a != nullptr && a->getOemId(&oemId) == 0 && oemId == OEM_WITHOUT_WRITE_POLICY)
        parameter29 = 0;
    return 0;
}

int UnConfiguredVd::setName(const char* text)
{
    if (text == nullptr || strlen(text) >= NAME_SIZE)
        return -1;
    memset(name, 0, sizeof name);
    memcpy(name, text, strlen(text));
    return 0;
}

int UnConfiguredVd::setVdId(VdId* id)
{
    if (id == nullptr)
        return -1;
    vdId = id;
    return 0;
}

uint64_t UnConfiguredVd::getStripMask() const
{
    return stripSize >= 64 ? 0 : ~uint64_t(0) << stripSize;
}

namespace {

// The drives of a span that carry data at a level code, with mirrors counted whole (the
// caller halves); 0 for a level without a rule or a span too small for its level.
uint8_t dataDrives(uint8_t level, uint8_t drives)
{
    switch (level) {
    case UnConfiguredVd::LEVEL_RAID0:
    case UnConfiguredVd::LEVEL_RAID1:
    case UnConfiguredVd::LEVEL_SPANNED_RAID1:
        return drives;
    case UnConfiguredVd::LEVEL_RAID5:
    case UnConfiguredVd::LEVEL_SPANNED_RAID5:
        return drives > 1 ? static_cast<uint8_t>(drives - 1) : 0;
    case UnConfiguredVd::LEVEL_RAID6:
    case UnConfiguredVd::LEVEL_SPANNED_RAID6:
        return drives > 2 ? static_cast<uint8_t>(drives - 2) : 0;
    default:
        return 0;
    }
}

bool isMirror(uint8_t level)
{
    return level == UnConfiguredVd::LEVEL_RAID1 || level == UnConfiguredVd::LEVEL_SPANNED_RAID1;
}

}  // namespace

int UnConfiguredVd::usableBlocks(uint8_t level, uint64_t share, uint8_t drives, uint64_t* blocks) const
{
    uint8_t data = dataDrives(level, drives);
    if (data == 0)
        return -1;
    uint64_t aligned = share & getStripMask();
    *blocks = isMirror(level) ? (aligned * data) >> 1 : aligned * data;
    return 0;
}

int UnConfiguredVd::driveShareFor(uint8_t level, uint64_t blocks, uint8_t drives, uint64_t* share) const
{
    uint8_t data = dataDrives(level, drives);
    if (data == 0)
        return -1;
    *share = (isMirror(level) ? blocks * 2 / data : blocks / data) & getStripMask();
    return 0;
}

int UnConfiguredVd::checkRequestFits(uint64_t* maximum)
{
    int status = getMaximumSize(maximum);
    if (status != 0)
        return status;
    // A request of 0 is no request (and getVdSize refuses it).
    if (requestedSize > *maximum)
        return -1;
    uint64_t size = 0;
    status = getVdSize(&size);
    if (status != 0)
        return status;
    return size == requestedSize ? 0 : -1;
}

int UnConfiguredVd::getVdSize(uint64_t* size)
{
    if (requestedSize == 0 || raidLevel == LEVEL_NONE)
        return -1;
    uint64_t maximum = 0;
    int status = getMaximumSize(&maximum);
    if (status != 0)
        return status;
    if (requestedSize == maximum)
        return out(size, requestedSize);
    return fitSize(requestedSize, size);
}
