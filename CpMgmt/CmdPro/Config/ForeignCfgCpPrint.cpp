// The walk of a foreign configuration that ForeignCfgCp prints (as it is, or with the warnings
// of an import) and that it checks before an import: disk groups, each with one array per span,
// each array with its virtual drives and drives.
#include "CpMgmt/CmdPro/Config/ForeignCfgCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/Display/TitlePrefixes.h"
#include "CpMgmt/CmdPro/Drive/PdListCp.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/Array.h"
#include "RaidManager/DiskGroup.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmCfg.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"

namespace {

const char* const MISSING_SPAN = "(Missing Span)\n";
const char* const PI_NOT_IMPORTABLE = "Controller is unable to import PI enable foreign configuration \n";
const uint8_t NO_TARGET_ID = 255;

// One walk: printing (with or without the import warnings) or the check before an import.
struct Walk {
    bool print;
    bool warnings;
    bool overLimit = false;
    uint8_t piSupported = 0;
    uint8_t piMet = 0;
    uint32_t plainGroups = 0;
    uint32_t spannedGroups = 0;
    uint32_t cacheGroups = 0;
};

int failed(const char* what, int status)
{
    printMessage(MSG_GET_FAILED, what);
    return status != 0 ? status : -1;
}

const char* vdPrefix(VirtualDisk* vd)
{
    return vd != nullptr && vd->isTidewellCache() != 0 ? SSD_VD_PREFIX : "";
}

// The missing-drive warning of a span: for its first drive that is missing, by the virtual
// drive's RAID level. -1 when a drive cannot be asked.
int warnMissingDrive(ArrayList<PhysicalDevice*>* drives, uint8_t raidLevel)
{
    for (unsigned char l = 0; drives != nullptr && l < drives->count(); ++l) {
        uint8_t unavailable = 0;
        if (drives->get(l) == nullptr || drives->get(l)->isInfoUnavailable(&unavailable) != 0)
            return -1;
        if (unavailable == 1) {
            printMessage(raidLevel == LEVEL_RAID1 ? MSG_FOREIGN_POSSIBLY_OUTDATED : MSG_FOREIGN_DRIVES_MISSING);
            return 0;
        }
    }
    return 0;
}

// The import warnings of one virtual drive of a span (printer, mode 1).
int warnVd(const Walk& walk, VirtualDisk* vd, ArrayList<PhysicalDevice*>* drives)
{
    uint8_t level = 0;
    if (!walk.overLimit && targetIdOf(vd) == NO_TARGET_ID) {
        uint8_t state = 0;
        if (vd->getState(&state) != 0)
            return -1;
        if (state != 0)
            printMessage(MSG_FOREIGN_UNSUPPORTED_LEVEL);
    }
    if (vd->getPrimaryRaidLevel(&level) != 0)
        return -1;
    return drives != nullptr ? warnMissingDrive(drives, level) : 0;
}

// The check's part of one virtual drive: protection information the controller cannot take,
// then the missing-drive warning.
int checkVd(Walk& walk, VirtualDisk* vd, ArrayList<PhysicalDevice*>* drives)
{
    uint8_t piType = 0;
    uint8_t level = 0;
    if (vd->getPiType(&piType) != 0 || vd->getPrimaryRaidLevel(&level) != 0)
        return -1;
    if (piType != 0 && walk.piSupported == 0) {
        printMessage(MSG_TEXT, PI_NOT_IMPORTABLE);
        walk.piMet = 1;
    }
    return drives != nullptr ? warnMissingDrive(drives, level) : 0;
}

int printVds(Walk& walk, ArrayList<VirtualDisk*>* vds, ArrayList<PhysicalDevice*>* drives)
{
    for (unsigned char j = 0; j < vds->count(); ++j) {
        VirtualDisk* vd = vds->get(j);
        if (vd == nullptr)
            return failed("VD", -1);
        if (j == 0)
            printMessage(MSG_VD_INFORMATION_TITLE, vdPrefix(vd));
        printMessage(MSG_VD_TITLE, vdPrefix(vd), static_cast<int>(j), static_cast<int>(targetIdOf(vd)));
        printMessage(MSG_TEXT, vd->toString().c_str());
        if (walk.warnings)
            if (int status = warnVd(walk, vd, drives))
                return status;
    }
    return 0;
}

int printDrives(const Walk& walk, ArrayList<PhysicalDevice*>* drives)
{
    printMessage(MSG_PD_INFORMATION_TITLE);
    for (unsigned char l = 0; l < drives->count(); ++l) {
        PhysicalDevice* pd = drives->get(l);
        printMessage(MSG_PHYSICAL_DISK_TITLE, static_cast<int>(l));
        uint8_t unavailable = 0;
        if (pd == nullptr || pd->isInfoUnavailable(&unavailable) != 0)
            return -1;
        if (unavailable == 1) {
            printMessage(MSG_PHYSICAL_DISK_MISSING);
            continue;
        }
        printDriveBlocks(pd);
        if (walk.warnings && pd->isOutdated() == 1)
            printMessage(MSG_FOREIGN_OUTDATED);
    }
    return 0;
}

// Every drive of a span the check walks must be askable.
int checkDrives(ArrayList<PhysicalDevice*>* drives)
{
    for (unsigned char l = 0; l < drives->count(); ++l) {
        uint8_t unavailable = 0;
        if (drives->get(l) == nullptr || drives->get(l)->isInfoUnavailable(&unavailable) != 0)
            return -1;
    }
    return 0;
}

int walkSpan(Walk& walk, unsigned k, Array* array)
{
    if (walk.print)
        printMessage(MSG_SPAN_TITLE, static_cast<int>(k));
    if (array == nullptr)
        return failed("Array", -1);
    uint8_t missing = 0;
    int status = array->hasNoRecord(&missing);
    if (status != 0)
        return status;
    if (missing == 1)
        printMessage(MSG_TEXT, MISSING_SPAN);
    ArrayList<PhysicalDevice*>* drives = nullptr;
    if (missing != 1 && ((status = array->getPdList(&drives)) != 0 || drives == nullptr))
        return failed("PD", status);
    ArrayList<VirtualDisk*>* vds = nullptr;
    if ((status = array->getVdList(&vds)) != 0 || vds == nullptr)
        return failed("VD", status);
    if (walk.print) {
        if ((status = printVds(walk, vds, drives)) != 0)
            return status;
        return drives != nullptr ? printDrives(walk, drives) : 0;
    }
    if (drives != nullptr && (status = checkDrives(drives)) != 0)
        return status;
    for (unsigned char j = 0; j < vds->count(); ++j)
        if (vds->get(j) == nullptr || (status = checkVd(walk, vds->get(j), drives)) != 0)
            return vds->get(j) == nullptr ? failed("VD", -1) : status;
    return 0;
}

// The heading of a disk group: spanned, SSD cache or plain, each numbered on its own.
int groupHeading(Walk& walk, DiskGroup* group, ArrayList<Array*>* arrays)
{
    const char* prefix = SPANNED_PREFIX;
    uint32_t* counter = &walk.spannedGroups;
    if (arrays->count() <= 1) {
        Array* first = arrays->count() > 0 ? arrays->get(0) : nullptr;
        if (first == nullptr)
            return failed("Array", -1);
        ArrayList<VirtualDisk*>* vds = nullptr;
        int status = first->getVdList(&vds);
        if (status != 0 || vds == nullptr)
            return failed("VD", status);
        const bool cache = vds->count() > 0 && vds->get(0) != nullptr && vds->get(0)->isTidewellCache() != 0;
        prefix = cache ? SSD_GROUP_PREFIX : "";
        counter = cache ? &walk.cacheGroups : &walk.plainGroups;
    }
    const uint32_t number = (*counter)++;
    if (walk.print) {
        printMessage(MSG_DISK_GROUP_TITLE, prefix, static_cast<int>(number));
        printMessage(MSG_TEXT, group->toString().c_str());
    }
    return 0;
}

int walkGroup(Walk& walk, DiskGroup* group)
{
    ArrayList<Array*>* arrays = nullptr;
    int status = group != nullptr ? group->getArrays(&arrays) : -1;
    if (status != 0 || arrays == nullptr)
        return failed("Array List", status);
    if ((status = groupHeading(walk, group, arrays)) != 0)
        return status;
    for (unsigned char k = 0; k < arrays->count(); ++k)
        if ((status = walkSpan(walk, k, arrays->get(k))) != 0)
            return status;
    return 0;
}

// Steps before the groups: the lists, the model, and with the warnings the virtual-drive limit.
int startWalk(Walk& walk, RmCfg* config, CpController* cpController, ArrayList<DiskGroup*>** groups)
{
    if (config == nullptr)
        return -1;
    if ((*groups = config->getDiskGroups()) == nullptr) {
        printMessage(MSG_DISK_GROUP_LIST_FAILED);
        return -1;
    }
    CpModelSteps model(cpController, adapterNumberOf(cpController), CP_NEEDS_MODEL_ADAPTER);
    if (!model)
        return model.result();
    Adapter* adapter = model.adapter();
    if (!walk.print)
        ignoreStatus(adapter->isPiSupported(&walk.piSupported), "an unread flag keeps 0: not supported");
    if (!walk.warnings)
        return 0;
    if (config->getVds() == nullptr) {
        printMessage(MSG_VD_LIST_FAILED);
        return -1;
    }
    uint8_t maximum = 0;
    if (adapter->getMaxVirtualDrives(&maximum) == 0 && config->getVds()->count() > maximum) {
        printMessage(MSG_FOREIGN_TOO_MANY_VDS);
        walk.overLimit = true;
    }
    return 0;
}

int runWalk(Walk& walk, RmCfg* config, CpController* cpController)
{
    ArrayList<DiskGroup*>* groups = nullptr;
    int status = startWalk(walk, config, cpController, &groups);
    if (status != 0)
        return status;
    if (walk.print)
        printMessage(MSG_DISK_GROUP_COUNT, static_cast<int>(groups->count()));
    for (unsigned char g = 0; g < groups->count(); ++g)
        if ((status = walkGroup(walk, groups->get(g))) != 0)
            return status;
    return 0;
}

} // namespace

int ForeignCfgCp::printForeignConfig(RmCfg* config, CpController* cpController, uint8_t mode)
{
    Walk walk{true, mode == 1};
    return runWalk(walk, config, cpController);
}

int ForeignCfgCp::checkForeignConfigForImport(RmCfg* config, CpController* cpController, uint8_t* flag)
{
    Walk walk{false, flag != nullptr && *flag == 1};
    const int status = runWalk(walk, config, cpController);
    if (flag != nullptr)
        *flag = walk.piMet;
    return status;
}
