#include "CpMgmt/CmdPro/Config/CfgDsplyCp.h"

#include <cstring>

#include "ControllerMgmt/Controller.h"
#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/Display/TitlePrefixes.h"
#include "CpMgmt/CmdPro/Drive/PdListCp.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/ControllerId.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/PrintableText.h"
#include "RaidManager/Array.h"
#include "RaidManager/DiskGroup.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Span.h"
#include "RaidManager/VirtualDisk.h"

namespace {

const char* const SSD_VD_END = " \n";

// One run of the walk: the counters of each kind of disk group, numbered on their own, and the
// running number of SSD-caching drives shown by the SSD-cache display.
struct Walk {
    CfgWalkKind kind;
    uint8_t adapterNumber;
    uint32_t ordinaryGroups = 0;
    uint32_t spannedGroups = 0;
    uint32_t ssdGroups = 0;
    uint16_t ssdVdsShown = 0;
};

// A lookup failed: its message, and the status the walk ends with.
int failed(const char* what, int status)
{
    printMessage(MSG_GET_FAILED, what);
    return status != 0 ? status : -1;
}

// The array's virtual drives and the first of them (null for an empty list).
int arrayVds(Array* array, ArrayList<VirtualDisk*>** vds, VirtualDisk** first)
{
    if (array == nullptr)
        return failed("Array", -1);
    int status = array->getVdList(vds);
    if (status != 0 || *vds == nullptr)
        return failed("VD", status);
    *first = (*vds)->count() > 0 ? (*vds)->get(0) : nullptr;
    return 0;
}

bool isSsdCache(VirtualDisk* vd)
{
    return vd != nullptr && vd->isTidewellCache() != 0;
}

// The block of a virtual drive, whose information must be read for it: 0, or the read's status
// after message 0x32105 (the display does not go on without the block).
int showVdBlock(const Walk& walk, VirtualDisk* vd)
{
    uint64_t blocks = 0;
    if (int status = vd->getLdInfoBlock256(&blocks))
        return vdUnreadable(walk.adapterNumber, targetIdOf(vd), status);
    printMessage(MSG_TEXT, vd->toString().c_str());
    return 0;
}

int showDrives(const Walk& walk, Array* array)
{
    printMessage(MSG_PD_INFORMATION_TITLE);
    ArrayList<PhysicalDevice*>* drives = nullptr;
    int status = array->getPdList(&drives);
    if (status != 0 || drives == nullptr)
        return failed("PD", status);
    for (unsigned char k = 0; k < drives->count(); ++k) {
        if (drives->get(k) == nullptr)
            return failed("PD", -1);
        printMessage(MSG_PHYSICAL_DISK_TITLE, static_cast<int>(k));
        // The drive's blocks are made from its information: one that cannot be read ends the
        // display with the read's line rather than leave the drive without its blocks.
        uint16_t state = 0;
        if ((status = drives->get(k)->getFirmwareState(&state)) != 0)
            return driveUnreadable(walk.adapterNumber, drives->get(k), status);
        printDriveBlocks(drives->get(k));
    }
    return 0;
}

// The title line of a disk group; nothing for an ordinary one in the SSD-cache display.
int showGroupTitle(Walk& walk, ArrayList<Array*>* arrays)
{
    if (arrays->count() > 1) {
        printMessage(MSG_DISK_GROUP_TITLE, SPANNED_PREFIX, static_cast<int>(walk.spannedGroups++));
        return 0;
    }
    ArrayList<VirtualDisk*>* vds = nullptr;
    VirtualDisk* first = nullptr;
    if (int status = arrayVds(arrays->count() > 0 ? arrays->get(0) : nullptr, &vds, &first))
        return status;
    if (isSsdCache(first))
        printMessage(MSG_DISK_GROUP_TITLE, SSD_GROUP_PREFIX, static_cast<int>(walk.ssdGroups++));
    else if (walk.kind != CfgWalkKind::SsdCache)
        printMessage(MSG_DISK_GROUP_TITLE, "", static_cast<int>(walk.ordinaryGroups++));
    return 0;
}

// An SSD-caching drive heading its span in the full and mirror listings.
int showSsdSpan(const Walk& walk, Array* array, VirtualDisk* vd)
{
    printMessage(MSG_VD_INFORMATION_TITLE, SSD_VD_PREFIX);
    printMessage(MSG_VD_TITLE, SSD_VD_PREFIX, 0, static_cast<int>(targetIdOf(vd)));
    if (int status = showVdBlock(walk, vd))
        return status;
    printMessage(MSG_TEXT, SSD_VD_END);
    return walk.kind == CfgWalkKind::Mirror ? 0 : showDrives(walk, array);
}

// A span with its virtual drives and drives.
int showSpan(Walk& walk, DiskGroup* group, unsigned spanIndex, Array* array, ArrayList<VirtualDisk*>* vds)
{
    if (spanIndex == 0)
        printMessage(MSG_TEXT, group->toString().c_str());
    printMessage(MSG_SPAN_TITLE, static_cast<int>(spanIndex));
    printMessage(MSG_TEXT, array->toString().c_str());
    printMessage(MSG_VD_INFORMATION_TITLE, "");
    for (unsigned char i = 0; i < vds->count(); ++i) {
        VirtualDisk* vd = vds->get(i);
        if (vd == nullptr)
            return failed("VD", -1);
        int number = static_cast<int>(targetIdOf(vd));
        if (walk.kind == CfgWalkKind::Mirror)
            number = i;
        else if (walk.kind == CfgWalkKind::SsdCache)
            number = walk.ssdVdsShown++;
        printMessage(MSG_VD_TITLE, "", number, static_cast<int>(targetIdOf(vd)));
        ArrayList<Span*>* spans = nullptr;
        int status = vd->getSpans(&spans);
        if (status != 0)
            return failed("Span list", status);
        if ((status = showVdBlock(walk, vd)) != 0)
            return status;
    }
    return showDrives(walk, array);
}

int showGroup(Walk& walk, DiskGroup* group)
{
    ArrayList<Array*>* arrays = nullptr;
    int status = group != nullptr ? group->getArrays(&arrays) : -1;
    if (status != 0 || arrays == nullptr)
        return failed("Array List", status);
    if ((status = showGroupTitle(walk, arrays)) != 0)
        return status;
    for (unsigned char s = 0; s < arrays->count(); ++s) {
        ArrayList<VirtualDisk*>* vds = nullptr;
        VirtualDisk* first = nullptr;
        if ((status = arrayVds(arrays->get(s), &vds, &first)) != 0)
            return status;
        if (walk.kind == CfgWalkKind::SsdCache && !isSsdCache(first))
            continue;
        if (walk.kind != CfgWalkKind::SsdCache && isSsdCache(first))
            status = showSsdSpan(walk, arrays->get(s), first);
        else
            status = showSpan(walk, group, s, arrays->get(s), vds);
        if (status != 0)
            return status;
    }
    return 0;
}

} // namespace

CfgDsplyCp::CfgDsplyCp()
{
    std::memset(controllerInfo, 0, sizeof controllerInfo);
}

int CfgDsplyCp::printControllerSummary(uint8_t adapterNumber, CpController* cpController)
{
    std::memset(controllerInfo, 0, sizeof controllerInfo);
    if (sendDcmd(cpController, DCMD_ADP_GET_INFO, controllerInfo) != 0)
        return -1;
    ZprControllerInfo info(controllerInfo, sizeof controllerInfo);
    char product[ZprControllerInfo::PRODUCT_NAME_WIDTH + 1] = {};
    char serial[ZprControllerInfo::SERIAL_NUMBER_WIDTH + 1] = {};
    info.productName(product, sizeof product);
    info.serialNumber(serial, sizeof serial);
    makePrintable(product);
    makePrintable(serial);
    printMessage(MSG_RULER_LONG);
    printMessage(MSG_CONTROLLER_SUMMARY, static_cast<int>(adapterNumber), product,
                 static_cast<int>(info.memorySizeMb()), info.batteryPresent() ? "Present" : "Absent", serial);
    printMessage(MSG_RULER_LONG);
    return 0;
}

int CfgDsplyCp::showConfiguration(RaidManager* manager, CfgWalkKind kind)
{
    ArrayList<DiskGroup*>* groups = nullptr;
    int status = takeDiskGroups(manager, &groups);
    if (status != 0)
        return status;
    // The failure messages name the adapter by the number the dispatch gave its controller.
    Controller* controller = manager->getController();
    ControllerId* id = controller != nullptr ? controller->controllerId() : nullptr;
    Walk walk{kind, id != nullptr ? id->getNumber() : CONTROLLER_NUMBER_UNASSIGNED};
    if (kind != CfgWalkKind::SsdCache)
        printMessage(MSG_DISK_GROUP_COUNT, static_cast<int>(groups->count()));
    for (unsigned char g = 0; g < groups->count(); ++g)
        if ((status = showGroup(walk, groups->get(g))) != 0)
            return status;
    return 0;
}

int CfgDsplyCp::process(CpController* cpController, ParsedObject* request)
{
    CpDeferredStart<CfgDsplyParsedObject> start(cpController, request, "CfgDsplyParsedObject *");
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    if (printControllerSummary(adapterNumber, cpController) != 0) {
        printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumberOf(cpController)),
                     "get/print controller properties");
        return -1;
    }
    // The model is taken and read afresh only after the summary is printed.
    if (!start.take(CP_NEEDS_REFRESHED_MODEL))
        return -1;
    return showConfiguration(start.manager(), start.request()->getCommandToken() == TOKEN_ADPCFGDISP ? CfgWalkKind::Full
                                                                                   : CfgWalkKind::SsdCache);
}

namespace {

const CpRegistration<CfgDsplyCp> registration;

} // namespace
