#include "CpMgmt/CmdPro/VirtualDrive/LdReconstructCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/Config/DriveSpinUp.h"
#include "CpMgmt/CmdPro/Display/ProgressDisplay.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"

namespace {

const uint8_t ADD_DRIVES = 1;
const uint8_t REMOVE_DRIVES = 2;
const unsigned char DRIVE_LIST_ROOM = 4;
const unsigned char MEMBER_LIST_ROOM = 32;
const unsigned PERCENT = 100;
const unsigned FULL_PROGRESS = 65535;
const unsigned SECONDS_PER_MINUTE = 60;

const VdProgressMember RECONSTRUCTION_DISPLAY = {
    LdProgressBlock::RUNNING_RECONSTRUCTION, LdProgressBlock::RECONSTRUCTION, 0, nullptr, MSG_RECON_NOT_RUNNING,
    {MSG_VD_PROGRESS_TITLE, MSG_VD_PROGRESS_COLUMNS, '*', true, ElapsedRule::ALWAYS, true, false}};

// The one drive of the display: its entry is copied at every refresh, running or not; only the
// end of the display follows the running bit.
class ReconstructionItem : public ProgressItems {
public:
    ReconstructionItem(RaidManager* manager, LdProgressBlock* block, uint8_t targetId)
        : manager(manager), block(block), targetId(targetId), shown{0, 0}
    {
    }

    size_t count() const override { return 1; }
    ProgressRecord& record(size_t) override { return shown; }
    // A configuration that cannot be read again does not show the drive gone: its progress
    // read decides.
    bool present(size_t) override
    {
        uint8_t inConfig = 0;
        return manager->findTargetIdInConfig(targetId, 1, &inConfig) != 0 || inConfig != 0;
    }
    void prefix(size_t, char* out, size_t size) override { formatVdPrefix(targetId, out, size); }

    int refresh(size_t, ReadOutcome* outcome) override
    {
        VdLookup lookup;
        int status = lookup.lookUp(manager, targetId);
        if (status != 0) {
            *outcome = ReadOutcome::NOT_SHOWN;
            return status;
        }
        // A failed read leaves the block as it stands; its status becomes the result.
        status = lookup.get()->getProgress(block);
        const ProgressEntry entry = block->entry(RECONSTRUCTION_DISPLAY.entry);
        shown.progress = entry.progress;
        shown.elapsedSeconds = entry.elapsedSeconds;
        *outcome = (block->running() & RECONSTRUCTION_DISPLAY.runningBit) != 0 ? ReadOutcome::RUNNING
                                                                              : ReadOutcome::ENDED;
        return status;
    }

private:
    RaidManager* manager;
    LdProgressBlock* block;
    uint8_t targetId;
    ProgressRecord shown;
};

// The drive the request names: 0 with it in `lookup`; -1 after message 0x32005 when the
// configuration, read, does not hold it; the read's status after message 0x30025 when the
// configuration cannot be read, or after "Failed to get VD object" when the lookup fails.
int lookUpNamedVd(RaidManager* manager, uint8_t adapterNumber, uint8_t targetId, VdLookup* lookup)
{
    int unread = 0;
    if (!configHoldsTargetId(manager, adapterNumber, targetId, &unread))
        return unread != 0 ? unread : -1;
    if (const int looked = lookup->lookUp(manager, targetId)) {
        printMessage(MSG_GET_FAILED, "VD object");
        return looked;
    }
    return 0;
}

} // namespace

int LdReconstructCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<LdReconstructParsedObject> opening(cpController, request, "LdRecnPoPtr", CP_NEEDS_MODEL);
    if (!opening)
        return opening.result();
    LdReconstructParsedObject* own = opening.request();
    const uint8_t adapterNumber = opening.number();
    RaidManager* manager = opening.manager();
    if (own->getAction() == TOKEN_PROGDSPLY)
        return showProgress(own, manager, adapterNumber);
    uint8_t vdCount = 0;
    if (const int counted = readVdCount(manager, adapterNumber, &vdCount))
        return counted;
    if (vdCount == 0)
        printMessage(MSG_NO_VD_CONFIGURED, static_cast<int>(adapterNumber));
    const uint8_t targetId = own->getLd();
    VdLookup lookup;
    if (const int found = lookUpNamedVd(manager, adapterNumberOf(cpController), targetId, &lookup))
        return found;
    if (own->getAction() == TOKEN_SHOWPROG)
        return showProgressOnce(lookup.get(), targetId);
    if (own->getAction() == TOKEN_START)
        return start(cpController, own, manager, lookup.get());
    return 0;
}

int LdReconstructCp::showProgressOnce(VirtualDisk* vd, uint8_t targetId)
{
    int status = vd->getProgress(&progress);
    if (status != 0) {
        printMessage(MSG_VD_PROGRESS_READ_FAILED, static_cast<int>(targetId));
        return status;
    }
    if ((progress.running() & LdProgressBlock::RUNNING_RECONSTRUCTION) == 0) {
        printMessage(MSG_RECON_NOT_RUNNING, static_cast<int>(targetId));
        return 0;
    }
    const ProgressEntry entry = progress.entry(LdProgressBlock::RECONSTRUCTION);
    printMessage(MSG_RECON_PROGRESS, static_cast<int>(targetId), static_cast<int>(targetId),
                 static_cast<int>(entry.progress * PERCENT / FULL_PROGRESS),
                 static_cast<int>(entry.elapsedSeconds / SECONDS_PER_MINUTE));
    return 0;
}

int LdReconstructCp::collectDrives(CpController* cpController, LdReconstructParsedObject* request,
                                   RaidManager* manager, VirtualDisk* vd, ArrayList<PhysicalDevice*>* drives)
{
    ArrayList<EnclSlotId*>* named = request->getDriveList();
    const bool adding = request->getDriveAction() == TOKEN_ADD;
    for (unsigned char i = 0; named != nullptr && i < named->count(); ++i) {
        unsigned short enclosureId = named->get(i)->getEnclosureId();
        if (int status = resolveEnclosureId(cpController, &enclosureId))
            return status;
        const uint8_t slot = named->get(i)->getSlotNumber();
        EnclSlotId address(enclosureId, slot);
        PhysicalDevice* pd = nullptr;
        if (const int read = manager->findPdByEnclSlot(&address, &pd))
            return driveUnreadable(request->getAdapterNumber(), enclosureId, slot, read);
        if (pd == nullptr) {
            printMessage(MSG_OPERATION_FAILED, static_cast<int>(request->getAdapterNumber()), "LD reconstruction");
            return -1;
        }
        if (adding) {
            if (int result = checkSectorSize(manager, request, pd, enclosureId, slot))
                return result;
            uint8_t encryption = 0;
            uint16_t secured = 0;
            ignoreStatus(vd->getEncryptionType(&encryption), "an unread type keeps 0: not encrypted");
            ignoreStatus(pd->isSecured(&secured), "an unread flag keeps 0: not secured");
            if (encryption != ENCRYPTION_FDE && secured == 1 && request->force != 1) {
                printMessage(MSG_FDE_SECURED_NEEDS_FORCE);
                return -1;
            }
        }
        if (drives->add(pd) != 0) {
            printMessage(MSG_NO_MEMORY, "pdListPtr");
            return -1;
        }
    }
    return 0;
}

int LdReconstructCp::checkSectorSize(RaidManager* manager, LdReconstructParsedObject* request, PhysicalDevice* pd,
                                     uint16_t enclosureId, uint8_t slot)
{
    // The drive's first present member gives the sector size. Without one nothing shows that
    // the sizes match: the drive is refused. A size that cannot be read is unknown, not a
    // mismatch: the read that failed is reported.
    const int adapterNumber = static_cast<int>(request->getAdapterNumber());
    ArrayList<PhysicalDevice*> members(MEMBER_LIST_ROOM);
    uint16_t memberSize = 0;
    uint16_t newSize = 0;
    int status = manager->getVdPds(&members, request->getLd());
    if (status == 0 && members.count() > 0 && members.get(0) != nullptr)
        status = members.get(0)->getLogicalSectorSize(&memberSize);
    if (status != 0) {
        printMessage(MSG_OPERATION_FAILED, adapterNumber, "to get PD list");
        return status;
    }
    if (members.count() > 0 && members.get(0) != nullptr && (status = pd->getLogicalSectorSize(&newSize)) != 0)
        return driveUnreadable(request->getAdapterNumber(), enclosureId, slot, status);
    if (members.count() == 0 || members.get(0) == nullptr || newSize != memberSize) {
        printMessage(MSG_TEXT, "Reconstruction operation failed due to sector size mismatch.");
        return -1;
    }
    return 0;
}

int LdReconstructCp::start(CpController* cpController, LdReconstructParsedObject* request, RaidManager* manager,
                           VirtualDisk* vd)
{
    ArrayList<PhysicalDevice*> drives(DRIVE_LIST_ROOM);
    const uint16_t driveAction = request->getDriveAction();
    if (driveAction == TOKEN_ADD || driveAction == TOKEN_RMV) {
        if (int result = collectDrives(cpController, request, manager, vd, &drives))
            return result;
    }
    const uint8_t mode = driveAction == TOKEN_ADD ? ADD_DRIVES : driveAction == TOKEN_RMV ? REMOVE_DRIVES : 0;
    if (mode == ADD_DRIVES) {
        ArrayList<ArrayList<PhysicalDevice*>*> driveLists(DRIVE_LIST_ROOM);
        if (driveLists.add(&drives) != 0) {
            printMessage(MSG_NO_MEMORY, "pdListListPtr");
            return -1;
        }
        if (int result = spinUpDriveLists(manager, &driveLists))
            return result;
    }
    int status = vd->startReconstruction(request->getRaidLevel(), mode, &drives, 0);
    printMessage(status != 0 ? MSG_RECON_START_FAILED : MSG_RECON_STARTED);
    return status;
}

int LdReconstructCp::showProgress(LdReconstructParsedObject* request, RaidManager* manager, uint8_t adapterNumber)
{
    uint8_t vdCount = 0;
    int status = manager->getVdCount(&vdCount);
    if (status != 0) {
        printMessage(MSG_VD_COUNT_FAILED, static_cast<int>(adapterNumber));
        return status;
    }
    if (vdCount == 0) {
        printMessage(MSG_NO_VD_CONFIGURED, static_cast<int>(adapterNumber));
        return -1;
    }
    const uint8_t targetId = request->getLd();
    VdLookup lookup;
    if (const int found = lookUpNamedVd(manager, adapterNumber, targetId, &lookup))
        return found;
    // A reconstruction that does not run is reported, and the display starts all the same.
    if (lookup.get()->getProgress(&progress) != 0 || (progress.running() & RECONSTRUCTION_DISPLAY.runningBit) == 0) {
        printMessage(RECONSTRUCTION_DISPLAY.notRunningMessage, static_cast<int>(targetId));
        pauseAfterNotRunningLines();
    }
    ReconstructionItem item(manager, &progress, targetId);
    printMessage(MSG_RECON_TITLE);
    return runProgressDisplay(item, RECONSTRUCTION_DISPLAY.style, FirstReadClears::AT_ANY_REFRESH);
}

namespace {

const CpRegistration<LdReconstructCp> registration;

} // namespace
