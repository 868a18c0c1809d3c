#include "CpMgmt/CmdPro/Config/CfgEachDiskCp.h"

#include <cstdio>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/Help/AppVersionCp.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/EnclosureIdText.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmStatus.h"
#include "RaidManager/UnConfiguredVd.h"
#include "RaidManager/Zpr/Records/Drive/ZprDeviceList.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"
#include "System/OsBoundary.h"

namespace {

const int DRIVE_NOT_ACCEPTED = 38;

const char* const NO_DRIVE_TEXT = "\nThere is no configurable physical drive available on adapter %d.\n";
const char* const NO_MORE_TEXT = "\nNo More Configuration is allowed on adapter %d.\n";
const char* const SUMMARY_TEXT = "\n%d physical devices are Configured on adapter %d.\n";
const char* const POWER_SAVE_TEXT = "Invalid power savings level input for physical device at Encl-%d:Slot-%d.\n";
const char* const FAILED_TEXT = "Failed to configure physical device at Encl-%d:Slot-%d.\n";
const char* const CONFIGURED_TEXT = "Configured physical device at Encl-%d:Slot-%d.\n";

// A text with up to two numbers, through the console printer.
void printFormatted(const char* format, int first, int second = 0)
{
    char line[160];
    std::snprintf(line, sizeof line, format, first, second);
    printText(string(line));
}

// A drive line: the enclosure as a number (65535 for a drive without one) and the slot.
void printDriveLine(const char* format, PhysicalDevice* pd)
{
    uint16_t enclosure = 0;
    uint8_t slot = 0;
    ignoreStatus(pd->getEnclosureDeviceId(&enclosure), "an unread address keeps 0 and is printed as such");
    ignoreStatus(pd->getSlotNumber(&slot), "an unread address keeps 0 and is printed as such");
    printFormatted(format, enclosure, slot);
}

// The plan's pieces that the step owns: the span, the span list and the new drive's id.
struct PlanParts {
    UnCfgdVdOnFreshPd* plan = nullptr;
    ArrayList<PhysicalDevice*>* span = nullptr;
    ArrayList<ArrayList<PhysicalDevice*>*>* spans = nullptr;
    ~PlanParts()
    {
        if (plan != nullptr)
            delete plan->getVdId();
        delete spans;
        delete span;
        delete plan;
    }
};

}  // namespace

int CfgEachDiskCp::process(CpController* cpController, ParsedObject* parsed)
{
    CpStart<CfgAddParsedObject> start(cpController, parsed, "CfgAddParsedObject *", CP_NEEDS_MODEL);
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    CfgAddParsedObject* request = start.request();
    raidManager = start.manager();
    // The model is read afresh without a message of its own: a failed read ends the command
    // with -1 before the adapter element is taken.
    if (raidManager->refresh() != 0)
        return -1;
    Adapter* adapter = takeAdapter(raidManager, adapterNumber);
    if (adapter == nullptr)
        return -1;
    if (int result = checkBeforeWalk(request, adapterNumber, adapter))
        return result;
    unsigned configured = 0;
    bool ended = false;
    const int result = walkDrives(cpController, request, adapterNumber, &configured, &ended);
    if (!ended)
        printFormatted(SUMMARY_TEXT, static_cast<int>(configured), adapterNumber);
    return result;
}

int CfgEachDiskCp::checkBeforeWalk(CfgAddParsedObject* request, uint8_t adapterNumber, Adapter* adapter)
{
    if (checkEncryptionForOem(adapter, request->encryption) != 0)
        return -1;
    ArrayList<PhysicalDevice*>* unused = nullptr;
    int status = raidManager->getUnusedPds(&unused);
    if (status != 0) {
        printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber), UNUSED_DRIVES_READ);
        return status;
    }
    if (unused == nullptr) {
        printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber), "creating pdListPtr");
        return NO_DRIVE_FOUND;
    }
    if (unused->count() == 0) {
        printFormatted(NO_DRIVE_TEXT, adapterNumber);
        return NO_DRIVE_FOUND;
    }
    uint8_t possible = 0, nonPi = 0;
    status = raidManager->canCreateVdOnFreshPds(&possible, &nonPi);
    if (status != 0) {
        printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber), "configuration");
        return status;
    }
    if (possible == 0) {
        printMessage(MSG_CFG_NOT_POSSIBLE, static_cast<int>(adapterNumber));
        return NOT_POSSIBLE;
    }
    uint8_t piSupported = 0;
    status = adapter->isPiSupported(&piSupported);
    if (status != 0)
        return status;
    if (request->getEnablePi() == 1 && piSupported == 0) {
        printMessage(MSG_TEXT, "Adapter Doesn't support PI\n");
        return -1;
    }
    return 0;
}

int CfgEachDiskCp::walkDrives(CpController* cpController, CfgAddParsedObject* request, uint8_t adapterNumber,
                              unsigned* configured, bool* ended)
{
    ArrayList<PhysicalDevice*>* drives = nullptr;
    if (raidManager->getUnusedPds(&drives) != 0 || drives == nullptr)
        return -1;
    // Each success takes one drive out of the list; no walk configures more drives than the
    // list had, whatever the firmware's lists say afterwards.
    const unsigned mostDrives = drives->count();
    int result = 0;
    unsigned char i = 0;
    while (drives != nullptr && i < drives->count()) {
        int status = 0;
        const Outcome outcome = tryDrive(cpController, request, drives->get(i), &status);
        if (outcome == Outcome::ENDS_COMMAND) {
            *ended = true;
            return status;
        }
        ++i;
        if (outcome == Outcome::PASSED_OVER)
            continue;
        result = status;
        if (outcome == Outcome::FAILED)
            continue;
        if (++*configured >= mostDrives)
            break;
        if (int failed = rereadDrives(adapterNumber, &drives)) {
            *ended = true;
            return failed;
        }
        i = 0;
    }
    return result;
}

int CfgEachDiskCp::rereadDrives(uint8_t adapterNumber, ArrayList<PhysicalDevice*>** drives)
{
    ignoreStatus(raidManager->refresh(), "a failed read shows when the unused drives are asked next");
    *drives = nullptr;
    int status = raidManager->getUnusedPds(drives);
    if (status != 0) {
        printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber), UNUSED_DRIVES_READ);
        return status;
    }
    if (*drives == nullptr || (*drives)->count() == 0)
        return 0;
    uint8_t possible = 0, nonPi = 0;
    status = raidManager->canCreateVdOnFreshPds(&possible, &nonPi);
    // The controller's room is full, or no drive left is unconfigured good: the walk is over.
    if (status == NO_ROOM || status == NOT_POSSIBLE) {
        *drives = nullptr;
        return 0;
    }
    if (status != 0) {
        printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber), "configuration");
        return status;
    }
    if (possible == 0) {
        printFormatted(NO_MORE_TEXT, adapterNumber);
        *drives = nullptr;
    }
    return 0;
}

CfgEachDiskCp::Outcome CfgEachDiskCp::tryDrive(CpController* cpController, CfgAddParsedObject* request,
                                               PhysicalDevice* pd, int* status)
{
    uint8_t good = 0;
    const int read = pd != nullptr ? pd->isUnconfiguredGoodDisk(&good) : STATUS_NO_DEVICE;
    // A drive the controller no longer has is passed over; one whose information cannot be read
    // may be a good one, so the walk cannot tell what is left to configure and ends there.
    if (read != 0 && read != STATUS_NO_DEVICE) {
        *status = driveUnreadable(adapterNumberOf(cpController), pd, read);
        return Outcome::ENDS_COMMAND;
    }
    if (read != 0 || good == 0)
        return Outcome::PASSED_OVER;
    if (request->getEnablePi() == 1) {
        uint16_t eligible = 0;
        if (pd->isPiEligible(&eligible) != 0) {
            *status = -1;
            return Outcome::ENDS_COMMAND;
        }
        if (eligible == 0) {
            printMessage(MSG_TEXT, "PD Doesn't support PI\n");
            *status = -1;
            return Outcome::ENDS_COMMAND;
        }
    }
    uint8_t media = 0;
    ignoreStatus(pd->getMediaType(&media), "an unread media type keeps 0: not solid state");
    const uint8_t powerSave = request->getPowerSavePolicy();
    if (media == MEDIA_SOLID_STATE &&
        (powerSave == POWER_SAVE_MAXIMUM || powerSave == POWER_SAVE_MAXIMUM_WITHOUT_CACHING)) {
        printDriveLine(POWER_SAVE_TEXT, pd);
        return Outcome::PASSED_OVER;
    }
    *status = addRaid0Vd(cpController, request, raidManager, pd);
    if (*status != 0 && *status != OS_STEP_FAILED) {
        printDriveLine(FAILED_TEXT, pd);
        return Outcome::FAILED;
    }
    printDriveLine(CONFIGURED_TEXT, pd);
    if (*status == OS_STEP_FAILED)
        printMessage(MSG_OS_UPDATE_FAILED);
    return Outcome::CONFIGURED;
}

int CfgEachDiskCp::addRaid0Vd(CpController* cpController, CfgAddParsedObject* request, RaidManager* manager,
                              PhysicalDevice* pd)
{
    const uint8_t adapterNumber = adapterNumberOf(cpController);
    PlanParts parts;
    parts.plan = UnCfgdVdOnFreshPd::create(controllerOf(cpController));
    if (parts.plan == nullptr)
        return -1;
    UnCfgdVdOnFreshPd* plan = parts.plan;
    ignoreStatus(plan->setRaidLevel(UnConfiguredVd::LEVEL_RAID0), "a setter of the plan: always 0");
    ArrayList<PhysicalDevice*>* candidates = nullptr;
    ignoreStatus(plan->getCandidateDrives(&candidates),
                 "fills the plan's drive lists; a failure shows in the later steps");
    parts.span = new (noThrowNew) ArrayList<PhysicalDevice*>(4);
    if (parts.span == nullptr)
        return -1;
    if (plan->isDriveAcceptable(pd) == 0 || plan->canJoinLastSpan(pd) == 0)
        return DRIVE_NOT_ACCEPTED;
    parts.span->add(pd);
    Adapter* adapter = takeAdapter(manager, adapterNumber);
    if (adapter == nullptr)
        return -1;
    uint8_t spinUpFirst = 0;
    if (adapter->getCapabilityFlag5edBit1(&spinUpFirst) == 0 && spinUpFirst == 1) {
        if (int status = spinUpDrive(pd))
            return status;
    }
    uint16_t blockSize = 0;
    ignoreStatus(pd->getLogicalSectorSize(&blockSize),
                 "an unread block size keeps 0: the default strip size");
    if (int status = applyStripSize(plan, request, blockSize))
        return status;
    parts.spans = new (noThrowNew) ArrayList<ArrayList<PhysicalDevice*>*>(4);
    if (parts.spans == nullptr || parts.spans->add(parts.span) != 0)
        return -1;
    *plan->getSpans() = parts.spans;
    applyCachePolicies(plan, request);
    if (request->encryption != POLICY_NOT_GIVEN)
        ignoreStatus(plan->setParameter56(request->encryption == ENCRYPTION_SECURE ? ENCRYPTION_FDE : request->encryption),
                     "a setter of the plan: always 0");
    uint8_t media = 0;
    ignoreStatus(pd->getMediaType(&media), "an unread media type keeps 0: not solid state");
    someSolidState = media == MEDIA_SOLID_STATE ? 1 : 0;
    if (int status = applySsdDriveCache(adapter, plan))
        return status;
    ignoreStatus(plan->setParameter26(request->getEnablePi() == 1 ? PI_TYPE_PROPRIETARY : 0),
                 "a setter of the plan: always 0");
    uint64_t size = 0, aligned = 0;
    ignoreStatus(pd->getCoercedSize(&size), "an unread size keeps 0, which the add refuses");
    ignoreStatus(plan->setRequestedSize(size), "a setter of the plan: always 0");
    if (plan->fitSize(size, &aligned) == 0)
        ignoreStatus(plan->setRequestedSize(aligned), "a setter of the plan: always 0");
    const int status = manager->addVdOnFreshPds(plan);
    VdId* id = plan->getVdId();
    if (id != nullptr && status == 0)
        printMessage(MSG_CFG_VD_CREATED, static_cast<int>(adapterNumber), static_cast<int>(id->getTargetId()));
    // Only a drive that was made can join the SSD cache; the assignment's result is its own.
    if (id != nullptr && request->cache == 1 && (status == 0 || status == OS_STEP_FAILED))
        assignVdToCachePool(cpController, id->getTargetId(), request, manager);
    return status;
}

int CfgEachDiskCp::spinUpDrive(PhysicalDevice* pd)
{
    uint16_t powerState = 0;
    if (int status = pd->getPowerState(&powerState))
        return status;
    if (powerState == 0)
        return 0;
    uint16_t enclosure = 0;
    uint8_t slot = 0;
    ignoreStatus(pd->getEnclosureDeviceId(&enclosure), "an unread address keeps 0 and is printed as such");
    ignoreStatus(pd->getSlotNumber(&slot), "an unread address keeps 0 and is printed as such");
    printMessage(MSG_SPINUP_ONE_STARTED, formatEnclosureId(enclosure), static_cast<int>(slot));
    const int status = pd->spinUp();
    // The spin-up of one drive is given one round before the drive is configured.
    osBoundary().system(SPIN_UP_PAUSE);
    if (status != 0) {
        printMessage(MSG_SPINUP_ONE_FAILED, formatEnclosureId(enclosure), static_cast<int>(slot));
        return status;
    }
    printMessage(MSG_SPINUP_ONE_DONE, formatEnclosureId(enclosure), static_cast<int>(slot));
    return 0;
}

namespace {

const CpRegistration<CfgEachDiskCp> registration;

}  // namespace
