// The plan of a virtual drive on unconfigured drives: which drives may join, which levels
// they allow, and the size the spans give.
#include "RaidManager/UnConfiguredVd.h"

#include "RaidManager/Adapter.h"
#include "RaidManager/DriveMixMatrix.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"

namespace {

// The plan defaults an adapter gives; false when one cannot be read or the adapter both slices
// spans and sizes spans apart, which no plan supports.
struct PlanDefaults {
    uint8_t stripSize = 0;
    uint8_t parameter27 = 0;
    uint8_t parameter28 = 0;
    uint8_t parameter29 = 0;
    uint8_t parameter30 = 0;

    bool read(Controller* controller)
    {
        RaidManager* manager = getRaidManager(controller);
        Adapter* adapter = nullptr;
        if (manager == nullptr || manager->getAdapter(&adapter) != 0 || adapter == nullptr)
            return false;
        uint8_t slicing = 0;
        uint8_t perSpanSizes = 0;
        if (adapter->getDefaultStripSize(&stripSize) != 0 || adapter->getDefaultVdParameter27(&parameter27) != 0 ||
            adapter->getDefaultVdParameter28(&parameter28) != 0 ||
            adapter->getDefaultVdParameter29(&parameter29) != 0 ||
            adapter->getDefaultVdParameter30(&parameter30) != 0 || adapter->isSpanSlicingSupported(&slicing) != 0 ||
            adapter->getInfoFlag5ddBit0(&perSpanSizes) != 0)
            return false;
        return slicing == 0 || perSpanSizes == 0;
    }
};

// The interface and media of a drive; false when either cannot be read.
bool readKind(PhysicalDevice* pd, uint8_t* interfaceType, uint8_t* media)
{
    return pd != nullptr && pd->getInterfaceType(interfaceType) == 0 && pd->getMediaType(media) == 0;
}

uint8_t smaller(unsigned a, unsigned b)
{
    return static_cast<uint8_t>(a < b ? a : b);
}

}  // namespace

UnCfgdVdOnFreshPd* UnCfgdVdOnFreshPd::create(Controller* controller)
{
    PlanDefaults d;
    if (!d.read(controller))
        return nullptr;
    return new (noThrowNew)
        UnCfgdVdOnFreshPd(controller, d.stripSize, d.parameter27, d.parameter29, d.parameter28, d.parameter30);
}

UnCfgdVdOnFreshPd::UnCfgdVdOnFreshPd(Controller* controller, uint8_t stripSize, uint8_t parameter27,
                                     uint8_t parameter29, uint8_t parameter28, uint8_t parameter30)
    : UnConfiguredVd(controller, stripSize, parameter27, parameter29, parameter28, parameter30), drivesPerSpan(0),
      spans(nullptr), candidates(nullptr)
{
}

UnCfgdVdOnFreshPd::~UnCfgdVdOnFreshPd()
{
    delete candidates;
}

int UnCfgdVdOnFreshPd::getCandidateDrives(ArrayList<PhysicalDevice*>** list)
{
    RaidManager* manager = getRaidManager(controller);
    if (manager == nullptr)
        return -1;
    ArrayList<PhysicalDevice*>* unused = nullptr;
    int status = manager->getUnusedPds(&unused);
    if (status != 0)
        return status;
    delete candidates;
    candidates = new (noThrowNew) ArrayList<PhysicalDevice*>(4);
    if (candidates == nullptr)
        return -1;
    bool complete = unused != nullptr;
    for (unsigned char i = 0; complete && i < unused->count(); ++i) {
        PhysicalDevice* pd = unused->get(i);
        uint8_t good = 0;
        if (pd == nullptr || (pd->isUnconfiguredGoodDisk(&good) == 0 && good != 0 && candidates->add(pd) != 0))
            complete = false;
    }
    if (!complete || candidates->count() == 0) {
        delete candidates;
        candidates = nullptr;
        return -1;
    }
    if (list != nullptr)
        *list = candidates;
    return 0;
}

int UnCfgdVdOnFreshPd::getPossibleRaidLevels(ArrayList<unsigned char>** levels)
{
    if (candidates == nullptr)
        return -1;
    unsigned sasHdd = 0, sasSsd = 0, sataHdd = 0, sataSsd = 0;
    for (unsigned char i = 0; i < candidates->count(); ++i) {
        uint8_t interfaceType = INTERFACE_SAS;
        uint8_t media = 0;
        if (!readKind(candidates->get(i), &interfaceType, &media))
            continue;
        if (interfaceType == INTERFACE_SAS)
            ++(media == 0 ? sasHdd : sasSsd);
        else if (interfaceType == INTERFACE_SATA)
            ++(media == 0 ? sataHdd : sataSsd);
    }
    DriveMixMatrix* mix = DriveMixMatrix::instance();
    Adapter* a = adapter();
    if (mix == nullptr || a == nullptr)
        return -1;
    long usable = sasHdd + sasSsd + sataHdd + sataSsd;
    unsigned ssd = sasSsd + sataSsd;
    if (!mix->allowsSsdInterfaceMix()) {
        ssd = sasSsd > sataSsd ? sasSsd : sataSsd;
        usable -= smaller(sasSsd, sataSsd);
    }
    unsigned hdd = sasHdd + sataHdd;
    if (!mix->allowsHddInterfaceMix()) {
        hdd = sasHdd > sataHdd ? sasHdd : sataHdd;
        usable -= smaller(sasHdd, sataHdd);
    }
    if (!mix->allowsMediaMix())
        usable -= smaller(ssd, hdd);
    ArrayList<unsigned char>* supported = nullptr;
    if (a->getSupportedRaidLevels(&supported) != 0 || supported == nullptr)
        return -1;
    ArrayList<unsigned char>* possible = new (noThrowNew) ArrayList<unsigned char>(4);
    for (unsigned char i = 0; possible != nullptr && i < supported->count(); ++i) {
        uint8_t level = supported->get(i);
        uint8_t minSpans = 0, minDrives = 0;
        if (a->getLevelMinSpans(&minSpans, level) != 0 || a->getLevelMinDrivesPerSpan(&minDrives, level) != 0)
            continue;
        if (usable >= static_cast<long>(minSpans) * minDrives && possible->add(level) != 0) {
            delete possible;
            possible = nullptr;
        }
    }
    delete supported;
    if (possible == nullptr || possible->count() == 0) {
        delete possible;
        return -1;
    }
    *levels = possible;
    return 0;
}

uint8_t UnCfgdVdOnFreshPd::isDriveAcceptable(PhysicalDevice* pd)
{
    return candidates != nullptr && pd != nullptr && hasEnoughMixableCandidates(pd) == 1 ? 1 : 0;
}

uint8_t UnCfgdVdOnFreshPd::hasEnoughMixableCandidates(PhysicalDevice* pd)
{
    uint8_t interfaceType = 0, media = 0;
    DriveMixMatrix* mix = DriveMixMatrix::instance();
    Adapter* a = adapter();
    if (!readKind(pd, &interfaceType, &media) || (interfaceType != INTERFACE_SAS && interfaceType != INTERFACE_SATA) ||
        mix == nullptr || a == nullptr)
        return 0;
    const bool ssd = media != 0;
    const uint8_t kind = static_cast<uint8_t>((ssd ? 2 : 0) + (interfaceType == INTERFACE_SAS ? 0 : 1));
    unsigned counts[DriveMixMatrix::KINDS] = {0, 0, 0, 0};
    long mixable = 0;
    for (unsigned char i = 0; candidates != nullptr && i < candidates->count(); ++i) {
        uint8_t candidateInterface = 0, candidateMedia = 0;
        if (!readKind(candidates->get(i), &candidateInterface, &candidateMedia))
            continue;
        const uint8_t candidateKind =
            static_cast<uint8_t>((candidateMedia != 0 ? 2 : 0) + (candidateInterface == INTERFACE_SAS ? 0 : 1));
        ++counts[candidateKind];
        if (mix->isAllowed(kind, candidateKind) == 1)
            ++mixable;
    }
    if (mix->allowsMediaMix()) {
        if (!ssd && !mix->allowsSsdInterfaceMix() && mix->allowsHddInterfaceMix())
            mixable -= smaller(counts[DriveMixMatrix::KIND_SAS_SSD], counts[DriveMixMatrix::KIND_OTHER_SSD]);
        if (ssd && !mix->allowsHddInterfaceMix() && mix->allowsSsdInterfaceMix())
            mixable -= smaller(counts[DriveMixMatrix::KIND_SAS_HDD], counts[DriveMixMatrix::KIND_OTHER_HDD]);
    }
    uint8_t minSpans = 0, minDrives = 0;
    if (a->getLevelMinSpans(&minSpans, raidLevel) != 0 || a->getLevelMinDrivesPerSpan(&minDrives, raidLevel) != 0)
        return 0;
    return mixable >= static_cast<long>(minSpans) * minDrives ? 1 : 0;
}

uint8_t UnCfgdVdOnFreshPd::canJoinLastSpan(PhysicalDevice* pd)
{
    if (candidates == nullptr || pd == nullptr || raidLevel == LEVEL_NONE)
        return 0;
    if (spans == nullptr || spans->count() == 0)
        return 1;
    RaidManager* manager = getRaidManager(controller);
    ArrayList<PhysicalDevice*>* last = spans->get(static_cast<unsigned char>(spans->count() - 1));
    if (manager == nullptr || manager->checkDriveMixList(pd, last) == 0)
        return 0;
    return hasRoomInLastSpan();
}

uint8_t UnCfgdVdOnFreshPd::hasRoomInLastSpan()
{
    Adapter* a = adapter();
    if (a == nullptr || spans == nullptr || spans->count() == 0)
        return 0;
    uint8_t limit = drivesPerSpan;
    if (a->isSpannedRaidLevel(raidLevel) == 0 && a->getLevelMaxDrivesPerSpan(&limit, raidLevel) != 0)
        return 0;
    uint8_t maxSpans = 0;
    if (a->getLevelMaxSpans(&maxSpans, raidLevel) != 0)
        return 0;
    ArrayList<PhysicalDevice*>* last = spans->get(static_cast<unsigned char>(spans->count() - 1));
    const unsigned inLast = last == nullptr ? 0 : last->count();
    return inLast < limit || spans->count() < maxSpans ? 1 : 0;
}

int UnCfgdVdOnFreshPd::setDrivesPerSpan(uint8_t count)
{
    drivesPerSpan = (raidLevel == LEVEL_RAID1 || raidLevel == LEVEL_SPANNED_RAID1) ? count & 0xFE : count;
    return 0;
}

int UnCfgdVdOnFreshPd::isSpanLayoutValid(uint8_t* answer)
{
    *answer = 0;
    Adapter* a = adapter();
    if (spans == nullptr || raidLevel == LEVEL_NONE || a == nullptr)
        return -1;
    const bool spanned = a->isSpannedRaidLevel(raidLevel) != 0;
    if (spanned && drivesPerSpan == 0)
        return 0;
    uint8_t minDrives = 0, maxDrives = 0, maxSpans = 0, minSpans = 0;
    int status = a->getLevelMinDrivesPerSpan(&minDrives, raidLevel);
    if (status == 0)
        status = a->getLevelMaxDrivesPerSpan(&maxDrives, raidLevel);
    if (status == 0)
        status = a->getLevelMaxSpans(&maxSpans, raidLevel);
    if (status == 0)
        status = a->getLevelMinSpans(&minSpans, raidLevel);
    if (status != 0)
        return status;
    if (spans->count() < minSpans || spans->count() > maxSpans)
        return -1;
    const bool mirror = raidLevel == LEVEL_RAID1 || raidLevel == LEVEL_SPANNED_RAID1;
    for (unsigned char i = 0; i < spans->count(); ++i) {
        ArrayList<PhysicalDevice*>* span = spans->get(i);
        if (span == nullptr)
            return -1;
        const uint8_t n = span->count();
        if ((mirror && n % 2 != 0) || (spanned && n != drivesPerSpan) || n < minDrives || n > maxDrives)
            return -1;
    }
    *answer = 1;
    return 0;
}

int UnCfgdVdOnFreshPd::getSmallestDriveSize(ArrayList<PhysicalDevice*>* drives, uint64_t* size)
{
    if (drives == nullptr || drives->count() == 0)
        return -1;
    uint64_t smallest = 0;
    for (unsigned char i = 0; i < drives->count(); ++i) {
        uint64_t blocks = 0;
        PhysicalDevice* pd = drives->get(i);
        if (pd == nullptr)
            return -1;
        int status = pd->getCoercedSize(&blocks);
        if (status != 0)
            return status;
        if (i == 0 || blocks < smallest)
            smallest = blocks;
    }
    *size = smallest;
    return 0;
}

int UnCfgdVdOnFreshPd::getSmallestSpanDriveSize(uint64_t* size)
{
    if (spans == nullptr || spans->count() == 0)
        return -1;
    uint64_t smallest = 0;
    for (unsigned char i = 0; i < spans->count(); ++i) {
        uint64_t blocks = 0;
        int status = getSmallestDriveSize(spans->get(i), &blocks);
        if (status != 0)
            return status;
        if (i == 0 || blocks < smallest)
            smallest = blocks;
    }
    *size = smallest;
    return 0;
}

int UnCfgdVdOnFreshPd::getMaximumSize(uint64_t* size)
{
    uint8_t valid = 0;
    int status = isSpanLayoutValid(&valid);
    if (valid == 0)
        // A layout that cannot be judged yet (no drives per span) has no maximum either.
        return status != 0 ? status : -1;
    uint64_t smallest = 0;
    status = getSmallestSpanDriveSize(&smallest);
    if (status != 0)
        return status;
    uint8_t perSpanSizes = 1;
    status = adapter()->getInfoFlag5ddBit0(&perSpanSizes);
    if (status != 0)
        return status;
    uint64_t total = 0;
    for (unsigned char i = 0; i < spans->count(); ++i) {
        ArrayList<PhysicalDevice*>* span = spans->get(i);
        uint64_t share = smallest;
        if (span == nullptr || (perSpanSizes != 0 && getSmallestDriveSize(span, &share) != 0))
            return -1;
        uint64_t blocks = 0;
        if (usableBlocks(raidLevel, share, span->count(), &blocks) != 0)
            return -1;
        total += blocks;
    }
    return out(size, total);
}

int UnCfgdVdOnFreshPd::fitSize(uint64_t requested, uint64_t* size)
{
    if (raidLevel == LEVEL_NONE)
        return -1;
    if (requested < MIN_VD_BLOCKS)
        requested = MIN_VD_BLOCKS;
    uint8_t valid = 0;
    int status = isSpanLayoutValid(&valid);
    if (valid == 0)
        return status != 0 ? status : -1;
    const uint8_t spanCount = spans->count();
    ArrayList<PhysicalDevice*>* first = spans->get(0);
    uint64_t share = 0;
    uint64_t spanSize = 0;
    if (first == nullptr || driveShareFor(raidLevel, requested / spanCount, first->count(), &share) != 0 ||
        usableBlocks(raidLevel, share, first->count(), &spanSize) != 0)
        return -1;
    return out(size, spanSize * spanCount);
}

int UnCfgdVdOnFreshPd::isSizeValid(uint8_t* answer)
{
    *answer = 0;
    uint64_t maximum = 0;
    int status = checkRequestFits(&maximum);
    if (status != 0)
        return status;
    Adapter* a = adapter();
    uint8_t slicing = 0;
    if (a == nullptr || a->isSpanSlicingSupported(&slicing) != 0)
        return -1;
    if (isSpannedLevel() && slicing == 0 && requestedSize < maximum)
        return -1;
    *answer = 1;
    return 0;
}
