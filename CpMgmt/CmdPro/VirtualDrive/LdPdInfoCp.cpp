#include "CpMgmt/CmdPro/VirtualDrive/LdPdInfoCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/Display/TitlePrefixes.h"
#include "CpMgmt/CmdPro/Drive/PdListCp.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Array.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Span.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"

namespace {

const char* const LAYOUT_OPERATION = "to get LD/PD information";

// A member the array records as missing has no drive to read and shows as an empty block; any
// other member whose information cannot be read is unknown: its read is named and ends the
// display. 0 when the member may be shown.
int checkMemberReadable(uint8_t adapterNumber, PhysicalDevice* drive)
{
    // The id the element was made with: the drive's own record is what may not be readable.
    const PdIdZpr* id = dynamic_cast<const PdIdZpr*>(drive->getId());
    if (id == nullptr || id->getDeviceId() == MISSING_DEVICE_ID)
        return 0;
    uint16_t state = 0;
    const int status = drive->getFirmwareState(&state);
    return status != 0 ? driveUnreadable(adapterNumber, drive, status) : 0;
}

int layoutFailed(uint8_t adapterNumber, const char* operation, int status)
{
    printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber), operation);
    return status != 0 ? status : -1;
}

} // namespace

int LdPdInfoCp::process(CpController* cpController, ParsedObject* request)
{
    CpPlainStart start(cpController, request, CP_NEEDS_REFRESHED_MODEL);
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    RaidManager* manager = start.manager();
    ArrayList<VirtualDisk*>* vds = nullptr;
    int status = manager->getVds(&vds);
    if (status != 0 || vds == nullptr) {
        printMessage(MSG_GET_FAILED, "Disk Group list");
        return status != 0 ? status : -1;
    }
    ignoreStatus(manager->sortVdsByTargetId(vds), "an unsorted list is still printed whole");
    printMessage(MSG_ADAPTER_HEADER, static_cast<int>(adapterNumber));
    printMessage(MSG_VD_COUNT_LINE, static_cast<int>(vds->count()));
    for (unsigned char i = 0; i < vds->count(); ++i)
        if ((status = showVd(adapterNumber, vds->get(i))) != 0)
            return status;
    return 0;
}

int LdPdInfoCp::showVd(uint8_t adapterNumber, VirtualDisk* vd)
{
    if (vd == nullptr)
        return layoutFailed(adapterNumber, LAYOUT_OPERATION, -1);
    ArrayList<Span*>* spans = nullptr;
    int status = vd->getSpans(&spans);
    if (status != 0 || spans == nullptr)
        return layoutFailed(adapterNumber, LAYOUT_OPERATION, status);
    // The block is the drive's information: one that cannot be read ends the layout rather
    // than standing as an empty block. The read is the one the title's first question sends.
    uint64_t blocks = 0;
    if ((status = vd->getLdInfoBlock256(&blocks)) != 0)
        return vdUnreadable(adapterNumber, targetIdOf(vd), status);
    int targetId = static_cast<int>(targetIdOf(vd));
    printMessage(MSG_VD_TITLE, vd->isTidewellCache() != 0 ? SSD_VD_PREFIX : "", targetId, targetId);
    printMessage(MSG_TEXT, vd->toString().c_str());
    printMessage(MSG_SPAN_COUNT, static_cast<int>(spans->count()));
    for (unsigned char j = 0; j < spans->count(); ++j) {
        Array* array = nullptr;
        if (spans->get(j) == nullptr || (status = spans->get(j)->getArray(&array)) != 0 || array == nullptr)
            return layoutFailed(adapterNumber, LAYOUT_OPERATION, status);
        ArrayList<PhysicalDevice*>* drives = nullptr;
        if ((status = array->getPdList(&drives)) != 0 || drives == nullptr)
            return layoutFailed(adapterNumber, "to get PD list", status);
        printMessage(MSG_SPAN_PD_COUNT, static_cast<int>(j), static_cast<int>(drives->count()));
        for (unsigned char k = 0; k < drives->count(); ++k) {
            if (drives->get(k) == nullptr)
                return layoutFailed(adapterNumber, "to get PD list", -1);
            if ((status = checkMemberReadable(adapterNumber, drives->get(k))) != 0)
                return status;
            printMessage(MSG_NEWLINE);
            printMessage(MSG_PD_INFORMATION, static_cast<int>(k));
            printDriveBlocks(drives->get(k));
        }
    }
    return 0;
}

namespace {

const CpRegistration<LdPdInfoCp> registration;

} // namespace
