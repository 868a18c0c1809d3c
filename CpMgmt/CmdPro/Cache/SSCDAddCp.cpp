#include "CpMgmt/CmdPro/Cache/SSCDAddCp.h"

#include <algorithm>
#include <cstdio>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/Help/AppVersionCp.h"
#include "CpMgmt/CmdPro/Cache/SsdCacheList.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/EnclosureIdText.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/ParsedObject.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmStatus.h"
#include "RaidManager/UnConfiguredVd.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"

namespace {

const uint8_t WRITE_BACK = 0;
const uint8_t MAX_CACHE_DRIVES = 32;
const int NOT_MADE = 3;

// The text of "VD : <t> is SSCD VD ..." for a drive that is itself an SSD cache.
void printIsSsdCache(uint8_t targetId)
{
    printMessage(MSG_TEXT, " VD : ");
    printMessage(MSG_DECIMAL, static_cast<int>(targetId));
    printMessage(MSG_TEXT, " is SSCD VD, Can't associate to Tidewell Pool\n");
}

bool isSsdCache(ArrayList<VirtualDisk*>* vds, uint8_t targetId)
{
    VirtualDisk* vd = findVdByTargetId(vds, targetId);
    return vd != nullptr && vd->isTidewellCache() == 1;
}

bool contains(const std::vector<uint8_t>& ids, uint8_t id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

}  // namespace

int SSCDAddCp::process(CpController* cpController, ParsedObject* parsed)
{
    CpDeferredStart<CfgSSCDAddParsedObject> start(cpController, parsed, "CfgSSCAddParsedObject *");
    if (!start)
        return start.result();
    CfgSSCDAddParsedObject* request = start.request();
    // The model is taken after the name is checked; it is read afresh and its adapter element
    // taken without messages of their own.
    if (refusesName(request->getName(), request->getAdapterNumber()) || !start.take(CP_NEEDS_MODEL))
        return -1;
    raidManager = start.manager();
    ignoreStatus(raidManager->refresh(),
                 "a failed read leaves the adapter absent, which the next step reports");
    Adapter* adapter = nullptr;
    if (raidManager->getAdapter(&adapter) != 0 || adapter == nullptr)
        return -1;
    if (int result = checkCacheRoom(adapter))
        return result;
    uint8_t piSupported = 0;
    if (int status = adapter->isPiSupported(&piSupported))
        return status;
    if (request->getEnablePi() == 1 && piSupported == 0) {
        printMessage(MSG_TEXT, "Adapter Doesn't support PI\n");
        return -1;
    }
    if (request->getCommandToken() == TOKEN_TIDEWELL)
        return updateTidewellAssociations(cpController, request, raidManager);
    return createCache(cpController, request, adapter);
}

int SSCDAddCp::checkCacheRoom(Adapter* adapter)
{
    uint16_t most = 0, used = 0;
    int status = adapter->getMaxSscCount(&most);
    if (status == 0)
        status = adapter->getSscCount(&used);
    if (status != 0)
        return status;
    if (most == 0 || used > most) {
        printMessage(MSG_TEXT, "SSC is not supported \n");
        return -1;
    }
    if (used == most) {
        printMessage(MSG_TEXT, "Maximum SSC is already configured to ");
        printMessage(MSG_DECIMAL, static_cast<int>(most));
        printMessage(MSG_NEWLINE);
        return -1;
    }
    return 0;
}

int SSCDAddCp::createCache(CpController* cpController, CfgSSCDAddParsedObject* request, Adapter* adapter)
{
    const int adapterNumber = request->getAdapterNumber();
    if (request->getDriveList() == nullptr || request->getDriveList()->count() == 0)
        return -1;
    uint8_t writeBack = 0;
    if (request->getWritePolicy() == WRITE_BACK &&
        (adapter->isSscWriteBackSupported(&writeBack) != 0 || writeBack == 0)) {
        printMessage(MSG_TEXT, "SSC is not supported WriteBack Mode \n");
        return -1;
    }
    if (int result = buildCacheDriveList(cpController, request))
        return result;
    uint64_t group = 0;
    int code = raidManager->validateSpanDrives(driveLists, &group);
    if (code != SPANS_VALID) {
        if (const unsigned message = spanCheckMessage(code))
            printMessage(message);
        return -1;
    }
    if (group == 0) {
        uint8_t possible = 0, nonPi = 0;
        if (int status = raidManager->canCreateVdOnFreshPds(&possible, &nonPi)) {
            printMessage(MSG_OPERATION_FAILED, adapterNumber, "configuration");
            return status;
        }
        if (possible == 0) {
            printMessage(MSG_CFG_NOT_POSSIBLE, adapterNumber);
            return NOT_POSSIBLE;
        }
    } else {
        // Drives of an existing disk group: the plan refuses them below.
        std::fputs("\n error in configuration \n", stdout);
        std::fflush(stdout);
    }
    int result = addTidewellVd(cpController, request, raidManager);
    if (result != 0 && result != OS_STEP_FAILED) {
        printMessage(MSG_CFG_FAILED, adapterNumber);
        return result;
    }
    if (result == OS_STEP_FAILED)
        printMessage(MSG_OS_UPDATE_FAILED);
    if (request->assignAction == CfgSSCDAddParsedObject::ASSIGN_ADD)
        return updateTidewellAssociations(cpController, request, raidManager);
    return result;
}

int SSCDAddCp::buildCacheDriveList(CpController* cpController, CfgSSCDAddParsedObject* request)
{
    const int adapterNumber = request->getAdapterNumber();
    deleteDriveLists();
    driveLists = new (noThrowNew) ArrayList<ArrayList<PhysicalDevice*>*>(4);
    ArrayList<PhysicalDevice*>* drives = new (noThrowNew) ArrayList<PhysicalDevice*>(4);
    if (driveLists == nullptr || drives == nullptr || driveLists->add(drives) != 0) {
        delete drives;
        printMessage(MSG_NO_MEMORY, "Pd List");
        return -1;
    }
    ArrayList<EnclSlotId*>* addresses = request->getDriveList();
    for (unsigned char i = 0; i < addresses->count(); ++i) {
        unsigned short enclosure = addresses->get(i)->getEnclosureId();
        const unsigned char slot = addresses->get(i)->getSlotNumber();
        if (int status = resolveEnclosureId(cpController, &enclosure))
            return status;
        EnclSlotId address(enclosure, slot);
        PhysicalDevice* pd = nullptr;
        // A drive list or drive information that cannot be read says nothing of the drive.
        if (const int unread = raidManager->findPdByEnclSlot(&address, &pd))
            return driveUnreadable(static_cast<uint8_t>(adapterNumber), enclosure, slot, unread);
        if (pd == nullptr) {
            printMessage(MSG_PD_NOT_FOUND, adapterNumber, formatEnclosureId(enclosure), static_cast<int>(slot));
            return -1;
        }
        uint8_t media = 0;
        if (const int unread = pd->getMediaType(&media))
            return driveUnreadable(static_cast<uint8_t>(adapterNumber), enclosure, slot, unread);
        if (media != MEDIA_SOLID_STATE) {
            printMessage(MSG_PD_NOT_SSD, adapterNumber, formatEnclosureId(enclosure), static_cast<int>(slot));
            return -1;
        }
        if (drives->add(pd) != 0) {
            printMessage(MSG_NO_MEMORY, "Pd List");
            return -1;
        }
    }
    return 0;
}

int SSCDAddCp::addTidewellVd(CpController* cpController, CfgSSCDAddParsedObject* request, RaidManager* manager)
{
    Adapter* adapter = nullptr;
    if (request == nullptr || driveLists == nullptr || driveLists->count() == 0 || manager == nullptr ||
        manager->getAdapter(&adapter) != 0 || adapter == nullptr)
        return -1;
    const uint8_t level = request->getRaidLevel();
    uint8_t writeBack = 0, raid5 = 0;
    ignoreStatus(adapter->isSscWriteBackSupported(&writeBack), "an unread flag keeps 0: not supported");
    ignoreStatus(adapter->isSscRaid5Supported(&raid5), "an unread flag keeps 0: not supported");
    const bool levelOk = writeBack != 1 ? level == 0 : (level == 0 || level == 1 || (level == 5 && raid5 == 1));
    if (!levelOk) {
        printMessage(MSG_TEXT, "Unsupported RAID level \n");
        return -1;
    }
    UnCfgdVdOnFreshPd* plan = UnCfgdVdOnFreshPd::create(controllerOf(cpController));
    ArrayList<ArrayList<PhysicalDevice*>*>* spans = new (noThrowNew) ArrayList<ArrayList<PhysicalDevice*>*>(1);
    ArrayList<PhysicalDevice*>* span = new (noThrowNew) ArrayList<PhysicalDevice*>(4);
    int result = plan == nullptr || spans == nullptr || span == nullptr ? -1 : 0;
    if (result == 0) {
        ArrayList<PhysicalDevice*>* candidates = nullptr;
        ignoreStatus(plan->getCandidateDrives(&candidates),
                     "fills the plan's drive lists; a failure shows in the later steps");
        ignoreStatus(plan->setRaidLevel(level), "a setter of the plan: always 0");
        ignoreStatus(plan->setParameter29(request->getWritePolicy()), "a setter of the plan: always 0");
        ignoreStatus(plan->setDrivesPerSpan(driveLists->get(0)->count()), "a setter of the plan: always 0");
        *plan->getSpans() = spans;
        result = layCacheSpan(plan, request, span);
    }
    if (result == 0) {
        if (request->getName() != nullptr)
            ignoreStatus(plan->setName(request->getName()),
                         "a name over 15 characters is refused: the drive is made without one");
        uint64_t size = 0, aligned = 0;
        ignoreStatus(plan->getMaximumSize(&size), "the add asks it again and fails with its status");
        ignoreStatus(plan->setRequestedSize(size), "a setter of the plan: always 0");
        if (plan->fitSize(size, &aligned) == 0)
            ignoreStatus(plan->setRequestedSize(aligned), "a setter of the plan: always 0");
        ignoreStatus(plan->setParameter58(1), "a setter of the plan: always 0");
        result = manager->addVdOnFreshPds(plan);
        VdId* id = plan->getVdId();
        if (id == nullptr) {
            result = NOT_MADE;
        } else {
            cacheTargetId = id->getTargetId();
            if (result == 0)
                printMessage(MSG_CFG_VD_CREATED, static_cast<int>(request->getAdapterNumber()),
                             static_cast<int>(cacheTargetId));
        }
        delete id;
    }
    delete span;
    delete spans;
    delete plan;
    return result;
}

int SSCDAddCp::layCacheSpan(UnCfgdVdOnFreshPd* plan, CfgSSCDAddParsedObject* request,
                            ArrayList<PhysicalDevice*>* span)
{
    ArrayList<PhysicalDevice*>* drives = driveLists->get(0);
    if (drives->count() > MAX_CACHE_DRIVES) {
        printMessage(MSG_TEXT, "Can't Configure more than Max Row Size =");
        printMessage(MSG_DECIMAL, static_cast<int>(MAX_CACHE_DRIVES));
        printMessage(MSG_NEWLINE);
        return -1;
    }
    for (unsigned char i = 0; i < drives->count(); ++i) {
        PhysicalDevice* pd = drives->get(i);
        if (plan->isDriveAcceptable(pd) == 0 || plan->canJoinLastSpan(pd) == 0)
            break;
        // Every drive of a drive with protection information must carry it.
        if (request->getEnablePi() == 1) {
            uint16_t eligible = 0;
            if (pd->isPiEligible(&eligible) != 0)
                return -1;
            if (eligible == 0) {
                printMessage(MSG_TEXT, "PD Doesn't support PI\n");
                return -1;
            }
        }
        if (span->add(pd) != 0)
            return -1;
    }
    if (span->count() != drives->count()) {
        printMessage(MSG_OPERATION_FAILED, static_cast<int>(request->getAdapterNumber()), "configuration");
        return NOT_MADE;
    }
    return (*plan->getSpans())->add(span);
}

int SSCDAddCp::updateTidewellAssociations(CpController* cpController, CfgSSCDAddParsedObject* request,
                                          RaidManager* manager)
{
    Adapter* adapter = nullptr;
    if (manager == nullptr || manager->getAdapter(&adapter) != 0 || adapter == nullptr)
        return -1;
    uint8_t allowed = 0;
    if (adapter->isManualSscAssociationAllowed(&allowed) != 0 || allowed == 0) {
        printMessage(MSG_TEXT, "Manual SSC Association is not allowed\n");
        return -1;
    }
    std::vector<uint8_t> working;
    if (int result = readAssociations(cpController, request, adapter, &working))
        return result;
    if (request->getLdList()->count() == 0)
        return 0;
    const uint8_t action = request->assignAction;
    const bool removeAll = action == CfgSSCDAddParsedObject::ASSIGN_REMOVE && request->getLdList()->count() == 1 &&
                           request->getLdList()->get(0) == ALL_LDS;
    const size_t before = working.size();
    if (int result = changeAssociations(request, before > 0, &working))
        return result;
    if (working.size() == before && !removeAll) {
        printMessage(MSG_TEXT, action == CfgSSCDAddParsedObject::ASSIGN_REMOVE ? "failed to remove VD from Cache\n"
                                                                              : "failed to add VD to Cache \n");
        return -1;
    }
    if (removeAll)
        working.clear();
    std::vector<uint8_t> block = makeSsdCacheList(working);
    const int status = adapter->setSsdCacheAssociation(block.data());
    const bool removing = action == CfgSSCDAddParsedObject::ASSIGN_REMOVE;
    if (status == 0)
        printMessage(MSG_TEXT, removing ? "Successfully removed VD from Cache  \n" : "Successfully assigned VD to Cache  \n");
    else
        printMessage(MSG_TEXT, removing ? "Dis-association failed ! \n" : "Association failed ! \n");
    return status & 0xFF;
}

int SSCDAddCp::readAssociations(CpController* cpController, CfgSSCDAddParsedObject* request, Adapter* adapter,
                                std::vector<uint8_t>* served)
{
    // The SSD-cache count is read from the controller information; one that cannot be read is
    // never taken as filled.
    uint8_t info[ZprControllerInfo::SIZE] = {};
    if (sendDcmd(cpController, DCMD_ADP_GET_INFO, info) != 0) {
        printMessage(MSG_OPERATION_FAILED, static_cast<int>(request->getAdapterNumber()), "get adapter info");
        return -1;
    }
    if (cacheTargetId == NO_CACHE) {
        VirtualDisk* cache = nullptr;
        if (const int unread = findFirstSsdCache(raidManager, &cache))
            return unread;
        if (cache == nullptr) {
            printMessage(MSG_TEXT, NO_SSD_CACHE);
            return -1;
        }
        cacheTargetId = targetIdOf(cache);
    }
    if (ZprControllerInfo(info, sizeof info).view().u16(ZprControllerInfo::SSC_SIZE) == 0) {
        printMessage(MSG_TEXT, request->assignAction == CfgSSCDAddParsedObject::ASSIGN_REMOVE
                                   ? "NO VD is associated with Tidewell\n"
                                   : NO_SSD_CACHE);
        return -1;
    }
    if (const int unread = readSsdCacheList(adapter, cacheTargetId, served))
        return ssdCacheListUnreadable(request->getAdapterNumber(), unread);
    return 0;
}

int SSCDAddCp::changeAssociations(CfgSSCDAddParsedObject* request, bool served, std::vector<uint8_t>* working)
{
    const int adapterNumber = request->getAdapterNumber();
    const uint8_t action = request->assignAction;
    ArrayList<unsigned char>* lds = request->getLdList();
    const bool all = lds->count() == 1 && lds->get(0) == ALL_LDS;
    uint8_t vdCount = 0;
    if (const int unread = raidManager->getVdCount(&vdCount)) {
        printMessage(MSG_OPERATION_FAILED, adapterNumber, "LD");
        return unread;
    }
    if (vdCount == 0) {
        printMessage(MSG_NO_VD_CONFIGURED, adapterNumber);
        return 0;
    }
    if (all && action == CfgSSCDAddParsedObject::ASSIGN_REMOVE)
        return 0;
    ArrayList<VirtualDisk*>* vds = nullptr;
    const int listed = sortedVds(raidManager, &vds);
    if (listed != 0)
        return listed;
    // The count of the drives walked is the list's, never more than the model holds.
    const unsigned walk = all ? std::min<unsigned>(vdCount, vds != nullptr ? vds->count() : 0) : lds->count();
    for (unsigned k = 0; k < walk; ++k) {
        uint8_t t = 0;
        if (all) {
            t = targetIdOf(vds->get(static_cast<unsigned char>(k)));
        } else {
            t = lds->get(static_cast<unsigned char>(k));
            int unread = 0;
            if (!configHoldsTargetId(raidManager, static_cast<uint8_t>(adapterNumber), t, &unread))
                return unread != 0 ? unread : -1;
        }
        if (isSsdCache(vds, t)) {
            printIsSsdCache(t);
            continue;
        }
        if (action == CfgSSCDAddParsedObject::ASSIGN_REMOVE) {
            if (!served)
                break;
            auto at = std::find(working->begin(), working->end(), t);
            if (at == working->end()) {
                printMessage(MSG_TEXT, "VD is not associated with Tidewell\n");
                return -1;
            }
            working->erase(at);
        } else if (!contains(*working, t)) {
            working->push_back(t);
        }
    }
    return 0;
}

namespace {

const CpRegistration<SSCDAddCp> registration;

}  // namespace
