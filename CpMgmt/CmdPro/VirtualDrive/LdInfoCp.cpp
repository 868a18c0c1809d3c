#include "CpMgmt/CmdPro/VirtualDrive/LdInfoCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/Display/TitlePrefixes.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/EnclosureIdText.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Spare.h"
#include "RaidManager/VirtualDisk.h"

namespace {

const char* const SPARE_INDENT = "    ";
const char* const SPARE_SEPARATOR = ": ";

} // namespace

int LdInfoCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<LdInfoParsedObject> start(cpController, request, "LdInfoParsedObject *...", CP_NEEDS_MODEL);
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    LdInfoParsedObject* own = start.request();
    unsigned n = own->getLdCount();
    RaidManager* manager = start.manager();
    uint8_t vdCount = 0;
    if (const int counted = readVdCount(manager, adapterNumber, &vdCount))
        return counted;
    bool all = selectsAllVds(own);
    if (all)
        n = vdCount;
    printMessage(MSG_VD_INFO_HEADER, static_cast<int>(adapterNumber));
    if (vdCount == 0) {
        printMessage(MSG_NO_VD_CONFIGURED, static_cast<int>(adapterNumber));
        return 0;
    }
    ArrayList<VirtualDisk*>* vds = nullptr;
    const int listed = sortedVds(manager, &vds);
    if (listed != 0)
        return listed;
    int result = 0;
    for (unsigned i = 0; i < n; ++i) {
        VirtualDisk* vd = nullptr;
        uint8_t targetId = 0;
        if (all) {
            vd = i < vds->count() ? vds->get(static_cast<unsigned char>(i)) : nullptr;
            targetId = targetIdOf(vd);
        } else {
            targetId = own->getLd(static_cast<unsigned char>(i));
            int unread = 0;
            if (!configHoldsTargetId(manager, adapterNumber, targetId, &unread)) {
                if (unread != 0)
                    return unread;
                result = -1;
                continue;
            }
            vd = findVdByTargetId(vds, targetId);
        }
        // The configuration and the list of drives are two views of the model: an id that one
        // confirms and the other lacks is reported as missing rather than shown from nothing.
        if (vd == nullptr) {
            printMessage(MSG_VD_NOT_FOUND, static_cast<int>(adapterNumber), static_cast<int>(targetId));
            result = -1;
            continue;
        }
        result = showVd(vd, adapterNumber, targetId);
        if (result != 0)
            return result;
    }
    return result;
}

int LdInfoCp::showVd(VirtualDisk* vd, uint8_t adapterNumber, uint8_t targetId)
{
    // The block is the drive's information: one that cannot be read is reported, not shown
    // as an empty block. The read is the one the title's first question would send.
    uint64_t blocks = 0;
    const int read = vd->getLdInfoBlock256(&blocks);
    if (read != 0)
        return vdUnreadable(adapterNumber, targetId, read);
    printMessage(MSG_VD_TITLE, vd->isTidewellCache() != 0 ? SSD_VD_PREFIX : "", static_cast<int>(targetId),
                 static_cast<int>(targetId));
    printMessage(MSG_TEXT, vd->toString().c_str());
    printMessage(MSG_NEWLINE);
    printMessage(MSG_NEWLINE);
    return showDedicatedSpares(vd);
}

int LdInfoCp::showDedicatedSpares(VirtualDisk* vd)
{
    ArrayList<Spare*>* spares = nullptr;
    int status = vd->getDedicatedSpares(&spares);
    if (status != 0) {
        printMessage(MSG_GET_FAILED, "Hot Spare");
        return status;
    }
    if (spares == nullptr || spares->count() == 0)
        return 0;
    printMessage(MSG_DEDICATED_SPARE_COUNT, static_cast<int>(spares->count()));
    for (unsigned char j = 0; j < spares->count(); ++j) {
        PhysicalDevice* drive = nullptr;
        if (spares->get(j) == nullptr || (status = spares->get(j)->getPd(&drive)) != 0 || drive == nullptr) {
            printMessage(MSG_GET_FAILED, "PD object");
            return status != 0 ? status : -1;
        }
        uint16_t enclosure = 0;
        uint8_t slot = 0;
        if ((status = drive->getEnclosureDeviceId(&enclosure)) != 0 || (status = drive->getSlotNumber(&slot)) != 0) {
            printMessage(MSG_GET_FAILED, "PD ID");
            return status;
        }
        printMessage(MSG_TEXT, SPARE_INDENT);
        printMessage(MSG_DECIMAL, static_cast<int>(j));
        printMessage(MSG_TEXT, SPARE_SEPARATOR);
        printMessage(MSG_SPARE_ADDRESS, formatEnclosureId(enclosure), static_cast<int>(slot));
    }
    return 0;
}

namespace {

const CpRegistration<LdInfoCp> registration;

} // namespace
