// The steps that plan and add one virtual drive: on unconfigured drives as new arrays, or in a
// free extent of a disk group; and the power-save rules both apply.
#include "CpMgmt/CmdPro/Config/LdAddCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/CfgParsedObjects.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/Array.h"
#include "RaidManager/DiskGroup.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmStatus.h"
#include "RaidManager/UnConfiguredVd.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcDefaults.h"

namespace {


uint8_t encryptionOf(const CfgAddParsedObject* request)
{
    return request->encryption == ENCRYPTION_SECURE ? ENCRYPTION_FDE : request->encryption;
}

bool listHolds(const ArrayList<unsigned char>* list, uint8_t value)
{
    for (unsigned char i = 0; list != nullptr && i < list->count(); ++i)
        if (list->get(i) == value)
            return true;
    return false;
}

// A size of the request (in 512-byte blocks) in blocks of `blockSize` bytes (0: unknown).
uint64_t inBlocksOf(uint64_t size, uint16_t blockSize)
{
    return blockSize >= BASE_BLOCK_SIZE ? size / (blockSize / BASE_BLOCK_SIZE) : size;
}

uint16_t blockSizeOf(PhysicalDevice* pd)
{
    uint16_t size = 0;
    if (pd != nullptr)
        ignoreStatus(pd->getLogicalSectorSize(&size), "an unread block size keeps 0: the default strip size");
    return size;
}

// A plan of a drive on unconfigured drives with the span lists the step builds for it; both
// are deleted with the holder (the plan does not own the lists, nor the drives in them).
struct FreshPlan {
    UnCfgdVdOnFreshPd* plan = nullptr;
    ArrayList<ArrayList<PhysicalDevice*>*>* spans = nullptr;

    ~FreshPlan()
    {
        for (unsigned char i = 0; spans != nullptr && i < spans->count(); ++i)
            delete spans->get(i);
        delete spans;
        delete plan;
    }
};

// A free-space plan with the space map and the free extents it is checked against.
struct FreeSpacePlan {
    UnCfgdVdOnFreeSpOnPd* plan = nullptr;
    ArrayList<ArraySpaceInfo*>* map = nullptr;
    ArrayList<ArraySpaceInfo*>* freeExtents = nullptr;

    ~FreeSpacePlan()
    {
        delete plan;
        ConfigurationCp::deleteArraySpaceList(map);
        ConfigurationCp::deleteArraySpaceList(freeExtents);
    }
};

// The extent of the space map the new drive goes to: the first free one, or the one right
// after the virtual drive `afterLd`, which must be free. Null when there is none.
ArraySpaceInfo* chooseExtent(ArrayList<ArraySpaceInfo*>* map, uint8_t afterLd)
{
    for (unsigned char i = 0; i < map->count(); ++i) {
        ArraySpaceInfo* extent = map->get(i);
        if (extent == nullptr)
            continue;
        if (afterLd == LdAddCp::AFTER_LD_NONE) {
            if (extent->getVirtualDisk() == nullptr)
                return extent;
            continue;
        }
        if (extent->getVirtualDisk() == nullptr || targetIdOf(extent->getVirtualDisk()) != afterLd)
            continue;
        ArraySpaceInfo* next = i + 1 < map->count() ? map->get(static_cast<unsigned char>(i + 1)) : nullptr;
        return next != nullptr && next->getVirtualDisk() == nullptr ? next : nullptr;
    }
    return nullptr;
}

}  // namespace

int LdAddCp::decidePowerSavePolicy(uint8_t requested, bool supported, bool maximumWithoutCaching,
                                   uint8_t defaultsOptions, uint8_t* level, const char** refusal)
{
    const char* text = nullptr;
    const bool maximum = requested == POWER_SAVE_MAXIMUM || requested == POWER_SAVE_MAXIMUM_WITHOUT_CACHING;
    if (!supported && (requested <= POWER_SAVE_MAXIMUM_WITHOUT_CACHING || requested == POWER_SAVE_NONE))
        text = "Adapter does not support Power savings on logical drives.\n";
    else if (defaultsOptions != ZprMfcDefaults::POWER_SAVING_UNSET &&
             ((defaultsOptions >> ZprMfcDefaults::NOT_PER_DRIVE_BIT) & 1u) != 0 &&
             requested != POWER_SAVE_NOT_GIVEN)
        text = "Power savings level cannot be selected on per logical drive basis.\n";
    else if (((defaultsOptions >> ZprMfcDefaults::NO_MAXIMUM_BIT) & 1u) != 0 && maximum)
        text = "Maximum power saving on logical drives is not allowed\n";
    else if (!maximumWithoutCaching && requested == POWER_SAVE_MAXIMUM_WITHOUT_CACHING)
        text = "Invalid power savings level input.\n";
    if (text != nullptr) {
        if (refusal != nullptr)
            *refusal = text;
        return -1;
    }
    uint8_t p = requested;
    // Without the level that keeps the cache, maximum saving is the one without caching.
    if (!maximumWithoutCaching && p == POWER_SAVE_MAXIMUM)
        p = POWER_SAVE_MAXIMUM_WITHOUT_CACHING;
    if (p == POWER_SAVE_NOT_GIVEN)
        p = supported ? POWER_SAVE_DEFAULT : POWER_SAVE_NONE;
    if (level != nullptr)
        *level = p;
    return 0;
}

int LdAddCp::applyPowerSave(CpController* cpController, CfgAddParsedObject* request, UnConfiguredVd* plan)
{
    uint8_t defaults[ZprMfcDefaults::SIZE] = {};
    if (sendDcmd(cpController, DCMD_ADP_MFC_GET_DEFAULTS, defaults) != 0) {
        printMessage(MSG_TEXT, "\nFailed to read MFC default data from adapter\n");
        return -1;
    }
    // Capabilities that cannot be read are never taken from an unfilled record.
    uint8_t info[ZprControllerInfo::SIZE] = {};
    if (sendDcmd(cpController, DCMD_ADP_GET_INFO, info) != 0) {
        printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumberOf(cpController)), INFO_READ_NAME);
        return -1;
    }
    const ZprControllerInfo controller(info, sizeof info);
    uint8_t requested = POWER_SAVE_NOT_GIVEN;
    getPowerSavePolicy(request, &requested);
    uint8_t level = 0;
    const char* refusal = nullptr;
    typedef ZprControllerInfo Info;
    if (decidePowerSavePolicy(requested, controller.flag(Info::LD_FEATURES, Info::LD_POWER_SAVING_BIT) != 0,
                              controller.flag(Info::LD_FEATURES, Info::MAXIMUM_WITHOUT_CACHING_BIT) != 0,
                              ZprMfcDefaults(defaults, sizeof defaults).byteAt(ZprMfcDefaults::POWER_SAVING_OPTIONS),
                              &level, &refusal) != 0) {
        printMessage(MSG_TEXT, refusal);
        return -1;
    }
    ignoreStatus(plan->setParameter57(level), "a setter of the plan: always 0");
    return 0;
}

// The drive lists into the plan's spans (a new span list of the plan's); -1 after the block
// size message, 1 when a drive's protection cannot be read, else 0.
int LdAddCp::fillFreshSpans(CfgAddParsedObject* request, UnCfgdVdOnFreshPd* plan,
                            ArrayList<ArrayList<PhysicalDevice*>*>* spans)
{
    const uint8_t encryption = encryptionOf(request);
    for (unsigned char s = 0; s < driveLists->count(); ++s) {
        ArrayList<PhysicalDevice*>* drives = driveLists->get(s);
        ArrayList<PhysicalDevice*>* span = new (noThrowNew) ArrayList<PhysicalDevice*>(LIST_ROOM);
        if (span == nullptr)
            return -1;
        const uint16_t reference = drives->count() > 0 ? blockSizeOf(drives->get(0)) : 0;
        for (unsigned char d = 0; d < drives->count(); ++d) {
            PhysicalDevice* pd = drives->get(d);
            if (blockSizeOf(pd) != reference) {
                delete span;
                printMessage(MSG_TEXT, "Cannot create configuration with disks of different block size.");
                return -1;
            }
            if (request->getEnablePi() == 1) {
                uint16_t eligible = 0;
                if (pd->isPiEligible(&eligible) != 0) {
                    delete span;
                    return 1;
                }
                if (eligible == 0)
                    continue;
            }
            if (plan->isDriveAcceptable(pd) == 0 || plan->canJoinLastSpan(pd) == 0)
                break;
            uint16_t secured = 0;
            if (pd->isSecured(&secured) == 0 && secured == 1 && encryption != ENCRYPTION_FDE && request->force != 1) {
                printMessage(MSG_FDE_SECURED_NEEDS_FORCE);
                break;
            }
            if (span->add(pd) != 0) {
                delete span;
                return -1;
            }
        }
        if (spans->add(span) != 0) {
            delete span;
            return -1;
        }
    }
    return 0;
}

// The planning checks of a drive on unconfigured drives before any drive joins it: the
// controller's levels and protection information, the plan's levels and the drives per span.
int LdAddCp::checkFreshLevel(CfgAddParsedObject* request, Adapter* adapter, UnCfgdVdOnFreshPd* plan, uint8_t code)
{
    ArrayList<unsigned char>* levels = nullptr;
    int status = adapter->getSupportedRaidLevels(&levels);
    if (status != 0)
        return status;
    const bool supported = listHolds(levels, code);
    const bool listed = levels != nullptr;
    delete levels;
    uint8_t pi = 0;
    if (int piStatus = adapter->isPiSupported(&pi))
        return piStatus;
    if (request->getEnablePi() == 1 && pi == 0) {
        printMessage(MSG_TEXT, "Adapter Doesn't support PI\n");
        return -1;
    }
    if (!listed || !supported)
        return 30;
    if (plan == nullptr)
        return 3;
    ignoreStatus(plan->getCandidateDrives(nullptr),
                 "fills the plan's drive lists; a failure shows in the later steps");
    levels = nullptr;
    status = plan->getPossibleRaidLevels(&levels);
    const bool possible = listHolds(levels, code);
    delete levels;
    if (status != 0)
        return status;
    if (!possible)
        return 30;
    ignoreStatus(plan->setRaidLevel(code), "a setter of the plan: always 0");
    const uint8_t perSpan = driveLists->get(0)->count();
    uint8_t minimum = 0;
    uint8_t maximum = 0;
    ignoreStatus(adapter->getLevelMinDrivesPerSpan(&minimum, code),
                 "an unread limit keeps 0: the span is refused");
    ignoreStatus(adapter->getLevelMaxDrivesPerSpan(&maximum, code),
                 "an unread limit keeps 0: the span is refused");
    if (perSpan < minimum || perSpan > maximum)
        return 3;
    ignoreStatus(plan->setDrivesPerSpan(perSpan), "a setter of the plan: always 0");
    return 0;
}

// The plan's strip size, policies, drive cache and encryption once its spans are known; the
// block size is that of the drives (0: unknown).
int LdAddCp::applyCreationParameters(CfgAddParsedObject* request, Adapter* adapter, UnConfiguredVd* plan,
                                     uint16_t blockSize)
{
    if (int result = applyStripSize(plan, request, blockSize))
        return result;
    applyCachePolicies(plan, request);
    return applySsdDriveCache(adapter, plan);
}

// The requested size (size `slice` of the request, or `fallback` without one) in the drives'
// blocks, refused with 13 above `largest`, then aligned by the plan.
int LdAddCp::applySize(CfgAddParsedObject* request, UnConfiguredVd* plan, size_t slice, uint16_t blockSize,
                       uint64_t largest, bool zeroTakesLargest)
{
    ArrayList<unsigned long long*>* sizes = request->getSizeList();
    uint64_t size = 0;
    if (sizes != nullptr && slice < sizes->count() && sizes->get(static_cast<unsigned char>(slice)) != nullptr)
        size = inBlocksOf(*sizes->get(static_cast<unsigned char>(slice)), blockSize);
    if (size == 0 && (zeroTakesLargest || sizes == nullptr || sizes->count() == 0))
        size = largest;
    if (size > largest)
        return 13;
    ignoreStatus(plan->setRequestedSize(size), "a setter of the plan: always 0");
    uint64_t aligned = 0;
    if (int status = plan->getVdSize(&aligned))
        return status;
    ignoreStatus(plan->setRequestedSize(aligned), "a setter of the plan: always 0");
    return 0;
}

// Reports the drive the model made (status 0, or OS_STEP_FAILED) and assigns it
// to the SSD cache on request: the step's result, -3 when the assignment failed.
int LdAddCp::reportNewVd(CpController* cpController, CfgAddParsedObject* request, VdId* vdId, int status)
{
    if (status == 0)
        printMessage(MSG_CFG_VD_CREATED, static_cast<int>(adapterNumberOf(cpController)),
                     static_cast<int>(vdId->getTargetId()));
    if (request->cache == 1 && assignVdToCachePool(cpController, vdId->getTargetId(), request, raidManager) != 0)
        return ADDED_NOT_CACHED;
    return status;
}

int LdAddCp::addVdOnFreshDrives(CpController* cpController, CfgAddParsedObject* request, VdId** vdId)
{
    *vdId = nullptr;
    Adapter* adapter = nullptr;
    if (request == nullptr || raidManager == nullptr || raidManager->getAdapter(&adapter) != 0 || adapter == nullptr ||
        driveLists == nullptr || driveLists->count() == 0)
        return -1;
    FreshPlan fresh;
    fresh.plan = UnCfgdVdOnFreshPd::create(raidManager->getController());
    if (int result = checkFreshLevel(request, adapter, fresh.plan, planningLevel(request->raidLevel)))
        return result;
    fresh.spans = new (noThrowNew) ArrayList<ArrayList<PhysicalDevice*>*>(1);
    if (fresh.spans == nullptr)
        return -1;
    *fresh.plan->getSpans() = fresh.spans;
    if (int result = fillFreshSpans(request, fresh.plan, fresh.spans))
        return result;
    if (int result = spinUpDrives(cpController, request, driveLists))
        return result;
    ArrayList<PhysicalDevice*>* last = fresh.spans->get(static_cast<unsigned char>(fresh.spans->count() - 1));
    const uint16_t blockSize = last->count() > 0 ? blockSizeOf(last->get(0)) : 0;
    if (int result = applyCreationParameters(request, adapter, fresh.plan, blockSize))
        return result;
    ignoreStatus(fresh.plan->setParameter56(encryptionOf(request)), "a setter of the plan: always 0");
    uint64_t largest = 0;
    if (int status = fresh.plan->getMaximumSize(&largest))
        return status;
    if (int result = applySize(request, fresh.plan, 0, blockSize, largest, false))
        return result;
    if (applyPowerSave(cpController, request, fresh.plan) != 0)
        return -1;
    ignoreStatus(fresh.plan->setParameter26(request->getEnablePi() == 1 ? PI_TYPE_PROPRIETARY : 0),
                 "a setter of the plan: always 0");
    const int status = raidManager->addVdOnFreshPds(fresh.plan);
    VdId* made = fresh.plan->getVdId();
    if (made == nullptr)
        return 3;
    // A drive the controller refused is no drive: its identifier is not handed out.
    if (status != 0 && status != OS_STEP_FAILED) {
        delete made;
        return status;
    }
    *vdId = made;
    return reportNewVd(cpController, request, made, status);
}

int LdAddCp::addVdOnFreeSpace(CpController* cpController, CfgAddParsedObject* request, DiskGroup* group, VdId** vdId,
                              uint8_t slice, uint8_t afterLd)
{
    *vdId = nullptr;
    if (request == nullptr || group == nullptr || raidManager == nullptr)
        return -1;
    ArrayList<Array*>* arrays = nullptr;
    if (int status = group->getArrays(&arrays))
        return status;
    if (arrays == nullptr || arrays->count() == 0)
        return 3;
    Array* first = arrays->get(0);
    if (first == nullptr)
        return -1;
    FreeSpacePlan space;
    if (int status = first->getSpaceMap(&space.map))
        return status;
    if (space.map == nullptr)
        return 3;
    ArraySpaceInfo* chosen = chooseExtent(space.map, afterLd);
    if (chosen == nullptr)
        return 3;
    space.plan = UnCfgdVdOnFreeSpOnPd::create(raidManager->getController(), group);
    if (space.plan == nullptr)
        return 3;
    if (int status = space.plan->getFreeExtents(&space.freeExtents))
        return status;
    ArraySpaceInfo* extent = nullptr;
    for (unsigned char i = 0; space.freeExtents != nullptr && i < space.freeExtents->count(); ++i)
        if (extent == nullptr && chosen->equals(space.freeExtents->get(i)))
            extent = space.freeExtents->get(i);
    if (extent == nullptr)
        return 3;
    if (int result = planOnFreeSpace(cpController, request, space.plan, extent, first, slice))
        return result;
    const int status = raidManager->addVdOnFreeSpace(space.plan);
    VdId* made = space.plan->getVdId();
    if (status != 0) {
        delete made;
        return status;
    }
    if (made == nullptr)
        return 3;
    *vdId = made;
    return reportNewVd(cpController, request, made, status);
}

// The free-space plan filled from the request: level, encryption, power save, strip size,
// size and policies.
int LdAddCp::planOnFreeSpace(CpController* cpController, CfgAddParsedObject* request, UnCfgdVdOnFreeSpOnPd* plan,
                             ArraySpaceInfo* extent, Array* first, uint8_t slice)
{
    const uint8_t code = planningLevel(request->raidLevel);
    ArrayList<unsigned char>* levels = nullptr;
    ignoreStatus(plan->getPossibleRaidLevels(&levels), "without a list no level is possible: refused below");
    const bool possible = listHolds(levels, code);
    delete levels;
    if (!possible)
        return 30;
    ignoreStatus(plan->setExtent(extent), "the extent is not null: always 0");
    uint8_t groupEncryption = 0;
    ignoreStatus(plan->getParameter56(&groupEncryption), "a field of the plan: always 0");
    if (encryptionOf(request) != groupEncryption) {
        printMessage(MSG_CFG_ENCRYPTION_MISMATCH);
        return -1;
    }
    if (applyPowerSave(cpController, request, plan) != 0)
        return -1;
    ignoreStatus(plan->setRaidLevel(code), "a setter of the plan: always 0");
    ignoreStatus(plan->setParameter26(request->getEnablePi() == 1 ? PI_TYPE_PROPRIETARY : 0),
                 "a setter of the plan: always 0");
    ArrayList<PhysicalDevice*>* members = nullptr;
    const uint16_t blockSize =
        first->getPdList(&members) == 0 && members != nullptr && members->count() > 0 ? blockSizeOf(members->get(0)) : 0;
    Adapter* adapter = takeAdapter(raidManager, adapterNumberOf(cpController));
    if (adapter == nullptr)
        return -1;
    // The strip decides how sizes align, so it is set before the size.
    if (int result = applyCreationParameters(request, adapter, plan, blockSize))
        return result;
    uint64_t largest = 0;
    if (int status = plan->getMaximumSize(&largest))
        return status;
    return applySize(request, plan, slice, blockSize, largest, true);
}
