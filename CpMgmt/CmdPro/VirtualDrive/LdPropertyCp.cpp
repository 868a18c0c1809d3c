#include "CpMgmt/CmdPro/VirtualDrive/LdPropertyCp.h"

#include <cstdio>
#include <cstring>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "CpMgmt/CmdPro/VirtualDrive/WriteBackCheck.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/CfgParsedObjects.h"
#include "Output/PavaneLog.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/PrintableText.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuStatus.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdProgressBlock.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"

namespace {

const unsigned char DRIVE_LIST_ROOM = 32;

struct ValueText {
    uint8_t value;
    const char* text;
};

const ValueText DEFAULT_ACCESS_TEXTS[] = {
    {ACCESS_READ_WRITE, "Read/Write\n"}, {ACCESS_READ_ONLY, "ReadOnly\n"}, {ACCESS_BLOCKED, "Blocked\n"}};
const ValueText CURRENT_ACCESS_TEXTS[] = {{ACCESS_READ_WRITE, "Current Access Policy: Read/Write\n"},
                                          {ACCESS_READ_ONLY, "Current Access Policy: ReadOnly\n"},
                                          {ACCESS_BLOCKED, "Current Access Policy: Blocked\n"}};
const ValueText DISK_CACHE_TEXTS[] = {{0, "Disk's Default\n"}, {1, "Enabled\n"}, {2, "Disabled\n"}};
const ValueText POWER_SAVING_TEXTS[] = {{1, "Automatic"}, {5, "Automatic"}, {2, "Maximum"},
                                        {POWER_SAVE_MAXIMUM_WITHOUT_CACHING, "Maximum without caching"},
                                        {254, "None"}, {0, "Controller Defined"}};
const char* const PI_TYPE_TEXTS[] = {" Yes,PI with type 1\n", " Yes,PI with type 2\n", " Yes,PI with type 3\n",
                                     " Yes,PI with type 4\n", " Yes,PI with type 5\n", " Yes,PI with type 6\n",
                                     " Yes,PI with type 7\n"};

template <size_t N>
const char* textOf(const ValueText (&table)[N], uint8_t value)
{
    for (const ValueText& row : table)
        if (row.value == value)
            return row.text;
    return nullptr;
}

void printIfAny(const char* text)
{
    if (text != nullptr)
        printMessage(MSG_TEXT, text);
}

// The changes of the default cache-policy byte: bits cleared, then bits set.
struct CacheChange {
    unsigned short property;
    uint8_t clear;
    uint8_t set;
    const char* text;
};

const CacheChange CACHE_CHANGES[] = {
    {TOKEN_FORCED_WB, 0, CACHE_POLICY_WRITE_BACK | CACHE_POLICY_BAD_BBU, "Write Policy to Forced WriteBack"},
    {TOKEN_WT, CACHE_POLICY_WRITE_BACK, 0, "Write Policy to WriteThrough"},
    {TOKEN_RA, CACHE_POLICY_READ_MASK, CACHE_POLICY_READ_AHEAD, "Read Policy to ReadAhead"},
    {TOKEN_RAN, CACHE_POLICY_READ_MASK, 0, "Read Policy to NoReadAhead"},
    {TOKEN_RAA, 0, CACHE_POLICY_READ_MASK, "Read Policy to Adaptive ReadAhead"},
    {TOKEN_CIO, 0, CACHE_POLICY_CACHED_IO, "Cache Policy to Cached"},
    {TOKEN_DIO, CACHE_POLICY_CACHED_IO, 0, "Cache Policy to Direct"},
    {TOKEN_CACHE_BADBBU, 0, CACHE_POLICY_BAD_BBU, "Write Cache OK if bad BBU"},
    {TOKEN_CACHE_BADBBU_NO, CACHE_POLICY_BAD_BBU, 0, "No Write Cache if bad BBU"},
};

// The changes made through one setter with a fixed value.
enum class Setter { Access, DiskCache, Consistency };
struct ValueChange {
    unsigned short property;
    Setter setter;
    uint8_t value;
    const char* text;
};

const ValueChange VALUE_CHANGES[] = {
    {TOKEN_ACCESS_RW, Setter::Access, ACCESS_READ_WRITE, "Access Policy to Read/Write"},
    {TOKEN_ACCESS_RO, Setter::Access, ACCESS_READ_ONLY, "Access Policy to Read Only"},
    {TOKEN_ACCESS_BLK, Setter::Access, ACCESS_BLOCKED, "Access Policy to Blocked"},
    {TOKEN_DSKCACHE_EN, Setter::DiskCache, DISK_CACHE_ENABLED, "Disk Cache Policy to Enabled"},
    {TOKEN_DSKCACHE_DIS, Setter::DiskCache, DISK_CACHE_DISABLED, "Disk Cache Policy to Disabled"},
    {TOKEN_CONSISTENT, Setter::Consistency, 1, "target Consistent"},
    {TOKEN_INCONSISTENT, Setter::Consistency, 0, "target Inconsistent"},
};

int applyValue(VirtualDisk* vd, const ValueChange& change)
{
    switch (change.setter) {
    case Setter::Access:
        return vd->setAccessPolicy(change.value);
    case Setter::DiskCache:
        return vd->setDiskCachePolicy(change.value);
    case Setter::Consistency:
        return vd->setConsistent(change.value);
    }
    return -1;
}

void copyText(char* out, size_t size, const char* text)
{
    std::snprintf(out, size, "%s", text);
}

void printCachePolicy(uint8_t policy)
{
    printMessage(MSG_TEXT, (policy & CACHE_POLICY_WRITE_BACK) != 0 ? "WriteBack, " : "WriteThrough, ");
    uint8_t read = policy & CACHE_POLICY_READ_MASK;
    printMessage(MSG_TEXT, read == CACHE_POLICY_READ_MASK    ? "ReadAdaptive, "
                           : read == CACHE_POLICY_READ_AHEAD ? "ReadAhead, "
                                                      : "ReadAheadNone, ");
    printMessage(MSG_TEXT, (policy & CACHE_POLICY_CACHED_IO) == CACHE_POLICY_CACHED_IO ? "Cached, " : "Direct, ");
    printMessage(MSG_TEXT, (policy & CACHE_POLICY_BAD_BBU) != 0 ? "Write Cache OK if bad BBU" : "No Write Cache if bad BBU");
    printMessage(MSG_NEWLINE);
}

void printNotSupportedOnAdapter()
{
    printMessage(MSG_NEWLINE);
    printMessage(MSG_TEXT, "This feature is not supported on Adapter");
    printMessage(MSG_NEWLINE);
}

void printAccessPolicy(VirtualDisk* vd)
{
    uint8_t defaultPolicy = 0xFF;
    uint8_t currentPolicy = 0xFF;
    uint8_t association = 0;
    ignoreStatus(vd->getAccessPolicy(&defaultPolicy), "an unread policy keeps 0xFF: no text");
    ignoreStatus(vd->getCurrentAccessPolicy(&currentPolicy), "an unread policy keeps 0xFF: no text");
    ignoreStatus(vd->getCacheAssociation(&association), "an unread association keeps 0");
    printIfAny(textOf(DEFAULT_ACCESS_TEXTS, defaultPolicy));
    printIfAny(textOf(CURRENT_ACCESS_TEXTS, currentPolicy));
    if (vd->isTidewellCache() == 0 && currentPolicy == ACCESS_BLOCKED && defaultPolicy != ACCESS_BLOCKED &&
        association == 1)
        printMessage(MSG_TEXT, "Reason for difference in Access Policy: Associated Tidewell - SSD Caching virtual "
                               "drive is offline\n");
    printMessage(MSG_NEWLINE);
}

// The power-saving policies of the drive; -1 when the adapter does not support them.
int printPowerSavingPolicy(Adapter* adapter, VirtualDisk* vd, uint8_t targetId)
{
    uint8_t supported = 0;
    uint8_t withoutCache = 0;
    ignoreStatus(adapter->isLdPowerSavingSupported(&supported), "an unread flag keeps 0: not supported");
    if (supported != 1) {
        printMessage(MSG_TEXT, "Adapter does not support Power savings on logical drives.\n");
        return -1;
    }
    ignoreStatus(adapter->isMaxPowerSavingWithoutCacheSupported(&withoutCache),
                 "an unread flag keeps 0: not supported");
    uint8_t policies[2] = {0xFF, 0xFF};
    ignoreStatus(vd->getPowerSavingsPolicy(&policies[0]), "an unread policy keeps 0xFF: no text");
    ignoreStatus(vd->getCurrentPowerSavingsPolicy(&policies[1]), "an unread policy keeps 0xFF: no text");
    printMessage(MSG_NEWLINE);
    printMessage(MSG_VD_CONSISTENCY, static_cast<int>(targetId), static_cast<int>(targetId), " ");
    printMessage(MSG_TEXT, "\n\n");
    const char* const labels[2] = {"Default power saving policy : ", "Current power saving policy : "};
    for (int i = 0; i < 2; ++i) {
        printMessage(MSG_TEXT, labels[i]);
        if (policies[i] == POWER_SAVE_MAXIMUM_WITHOUT_CACHING && withoutCache != 1)
            printMessage(MSG_TEXT, "Maximum");
        else
            printIfAny(textOf(POWER_SAVING_TEXTS, policies[i]));
        printMessage(MSG_TEXT, i == 0 ? "\n" : "\n\n");
    }
    return 0;
}

int printPiType(RaidManager* manager, uint8_t adapterNumber, VirtualDisk* vd, uint8_t targetId)
{
    Adapter* adapter = takeAdapter(manager, adapterNumber);
    if (adapter == nullptr)
        return -1;
    uint8_t supported = 0;
    ignoreStatus(adapter->isPiSupported(&supported), "an unread flag keeps 0: not supported");
    if (supported != 1) {
        printNotSupportedOnAdapter();
        return -1;
    }
    uint8_t type = 0xFF;
    ignoreStatus(vd->getPiType(&type), "an unread type keeps 0xFF: printed as unknown");
    printMessage(MSG_VD_CONSISTENCY, static_cast<int>(targetId), static_cast<int>(targetId), "");
    printMessage(MSG_TEXT, "PI Enabled : ");
    if (type == 0)
        printMessage(MSG_TEXT, " No \n ");
    else if (type <= sizeof PI_TYPE_TEXTS / sizeof PI_TYPE_TEXTS[0])
        printMessage(MSG_TEXT, PI_TYPE_TEXTS[type - 1]);
    else
        printMessage(MSG_TEXT, type == PI_TYPE_PROPRIETARY ? " Yes,Proprietary type\n" : " Unknown \n");
    return 0;
}

} // namespace

int LdPropertyCp::process(CpController* cpController, ParsedObject* request)
{
    CpDeferredStart<LdPropParsedObject> start(cpController, request, "ldPropPoPtr");
    if (!start)
        return start.result();
    Step step = {cpController, start.request(), nullptr, nullptr, start.number(), false, false};
    const int a = static_cast<int>(step.adapterNumber);
    const unsigned short property = step.request->getProperty();
    unsigned n = step.request->getLdCount();
    if (step.request->getCommandToken() == TOKEN_SET_LDPROPERTY && property == TOKEN_NAME &&
        refusesName(step.request->getName(), step.adapterNumber))
        return -1;
    // The model is taken after the name is checked.
    if (!start.take(CP_NEEDS_MODEL_ADAPTER))
        return -1;
    step.manager = start.manager();
    step.adapter = start.adapter();
    if (property == TOKEN_DSKCACHE_EN || property == TOKEN_DSKCACHE_DIS) {
        uint8_t supported = 0;
        if (step.adapter->isDiskCachePolicyChangeSupported(&supported) != 0) {
            printMessage(MSG_OPERATION_FAILED, a, "LD properties");
            return -1;
        }
        if (supported != 1) {
            printMessage(MSG_LDPROP_NOT_SUPPORTED, "DiskCache Policy", a);
            return -1;
        }
    }
    uint8_t vdCount = 0;
    if (const int counted = readVdCount(step.manager, step.adapterNumber, &vdCount))
        return counted;
    step.all = selectsAllVds(step.request);
    if (step.all)
        n = vdCount;
    if (vdCount == 0) {
        printMessage(MSG_TEXT, "No Logical drive configured.\n");
        return -1;
    }
    ArrayList<VirtualDisk*>* vds = nullptr;
    const int listed = sortedVds(step.manager, &vds);
    if (listed != 0)
        return listed;
    int result = 0;
    for (unsigned i = 0; i < n; ++i) {
        uint8_t targetId = 0;
        int failure = 0;
        if (!walkTargetId(step.request, vds, step.all, i, step.manager, step.adapterNumber, &targetId, &failure)) {
            if (failure != 0)
                return failure;
            continue;
        }
        // A drive the configuration holds whose lookup fails is unknown, not absent: the
        // lookup's status (a read's) ends the command.
        VdLookup lookup;
        if (const int looked = lookup.lookUp(step.manager, targetId)) {
            printMessage(MSG_GET_FAILED, "VD object");
            return looked;
        }
        VirtualDisk* vd = lookup.get();
        step.lastDrive = i + 1 == n;
        bool ends = false;
        int status = step.request->getCommandToken() == TOKEN_GET_LDPROPERTY ? showProperty(step, vd, targetId, &ends)
                                                                            : changeProperty(step, vd, targetId, &ends);
        if (ends)
            return status;
        result = status;
    }
    return result;
}

int LdPropertyCp::showProperty(const Step& step, VirtualDisk* vd, uint8_t targetId, bool* ends)
{
    const int a = static_cast<int>(step.adapterNumber);
    const int t = static_cast<int>(targetId);
    uint8_t value = 0;
    char name[16] = {};
    switch (step.request->getProperty()) {
    case TOKEN_CACHE:
        if (vd->getCurrentCachePolicy(&value) == 0) {
            printMessage(MSG_LDPROP_CACHE, a, t, t);
            printCachePolicy(value);
        }
        return 0;
    case TOKEN_ACCESS:
        printMessage(MSG_LDPROP_ACCESS, a, t, t);
        printAccessPolicy(vd);
        return 0;
    case TOKEN_DSKCACHE:
        if (vd->getDiskCachePolicy(&value) == 0) {
            printMessage(MSG_LDPROP_DISK_CACHE, a, t, t);
            printIfAny(textOf(DISK_CACHE_TEXTS, value));
        }
        return 0;
    case TOKEN_NAME:
        if (vd->getName(name, sizeof name) == 0)
            printMessage(MSG_LDPROP_NAME, a, t, t, makePrintable(name));
        return 0;
    case TOKEN_CONSISTENCY:
        if (vd->isInitialized(&value) == 0)
            printMessage(MSG_VD_CONSISTENCY, t, t, value != 0 ? "Consistent" : "Inconsistent");
        return 0;
    case TOKEN_PSPOLICY:
        *ends = printPowerSavingPolicy(step.adapter, vd, targetId) != 0;
        return *ends ? -1 : 0;
    case TOKEN_DSBLPI:
        *ends = printPiType(step.manager, step.adapterNumber, vd, targetId) != 0;
        return *ends ? -1 : 0;
    default:
        printMessage(MSG_INVALID_OPTION);
        *ends = true;
        return -1;
    }
}

int LdPropertyCp::checkDiskCacheChange(const Step& step, uint8_t targetId, bool* ends)
{
    const int a = static_cast<int>(step.adapterNumber);
    uint8_t blocked = 0;
    int status = step.adapter->getBlockSsdWriteCacheChange(&blocked);
    if (status != 0) {
        printMessage(MSG_TEXT, "Fail To Get Adapter blockSSDWriteCacheChange bit. AdpID = ");
        printMessage(MSG_DECIMAL, a);
        printMessage(MSG_NEWLINE);
        *ends = true;
        return status;
    }
    if (blocked == 0)
        return 0;
    ArrayList<PhysicalDevice*> drives(DRIVE_LIST_ROOM);
    status = step.manager->getVdPds(&drives, targetId);
    for (unsigned char k = 0; status == 0 && k < drives.count(); ++k) {
        uint8_t media = 0;
        if (drives.get(k) == nullptr)
            continue;
        // A member whose information cannot be read may be a solid-state drive: its media is
        // unknown, which refuses the change as a list that cannot be read does.
        if ((status = drives.get(k)->getMediaType(&media)) != 0)
            break;
        if (media == MEDIA_SOLID_STATE) {
            printMessage(MSG_TEXT, "Not Allowed To Change Disk Cache Policy. AdpID =");
            printMessage(MSG_DECIMAL, a);
            printMessage(MSG_TEXT, "\n");
            *ends = true;
            return -1;
        }
    }
    if (status != 0) {
        printMessage(MSG_TEXT, "Fail To Get Pd List in LD. AdpID =");
        printMessage(MSG_DECIMAL, a);
        printMessage(MSG_TEXT, "\n");
        *ends = true;
    }
    return status;
}

int LdPropertyCp::removeBlockedAccess(const Step& step, VirtualDisk* vd, uint8_t targetId, bool* ends)
{
    const int a = static_cast<int>(step.adapterNumber);
    const int t = static_cast<int>(targetId);
    uint8_t defaultPolicy = 0;
    uint8_t currentPolicy = 0;
    uint8_t association = 0;
    ignoreStatus(vd->getAccessPolicy(&defaultPolicy), "an unread policy keeps 0: not blocked");
    ignoreStatus(vd->getCurrentAccessPolicy(&currentPolicy), "an unread policy keeps 0: not blocked");
    ignoreStatus(vd->getCacheAssociation(&association), "an unread association keeps 0: not blocked");
    if (defaultPolicy != ACCESS_BLOCKED && currentPolicy == ACCESS_BLOCKED && association == 1) {
        int status = vd->removeBlockedAccess(step.all ? 1 : 0);
        if (status != 0)
            printMessage(MSG_LDPROP_SET_ERROR, "Remove Blocked access ", a, t);
        else if (step.all)
            printMessage(MSG_ADAPTER_TEXT, a, "Remove Blocked access is Success");
        else
            printMessage(MSG_LDPROP_SET_SUCCESS, "Remove Blocked access ", a, t, t);
        *ends = true;
        return status;
    }
    if (step.lastDrive) {
        printMessage(MSG_TEXT, "Access Policy is not Blocked on Vd object or SSCD is not Offline \n");
        *ends = true;
    }
    return 0;
}

int LdPropertyCp::changeProperty(const Step& step, VirtualDisk* vd, uint8_t targetId, bool* ends)
{
    const int a = static_cast<int>(step.adapterNumber);
    const int t = static_cast<int>(targetId);
    const unsigned short property = step.request->getProperty();
    if (property == TOKEN_DSKCACHE_EN || property == TOKEN_DSKCACHE_DIS) {
        int status = checkDiskCacheChange(step, targetId, ends);
        if (*ends)
            return status;
    }
    if (property == TOKEN_REMOVE_BLKACCESS)
        return removeBlockedAccess(step, vd, targetId, ends);
    if (vd->beginUpdate() != 0) {
        printMessage(MSG_TEXT, "\nbeginUpdate() failed on Vd object\n");
        *ends = true;
        return -1;
    }
    char text[64] = {};
    int status = applyChange(step, vd, text, sizeof text, ends);
    if (*ends)
        return status;
    if (status != 0) {
        printMessage(MSG_LDPROP_SET_FAILED, a);
        *ends = true;
        return -1;
    }
    int written = vd->endUpdate();
    if (written == 0)
        printMessage(MSG_LDPROP_SET_SUCCESS, text, a, t, t);
    else
        printMessage(MSG_LDPROP_SET_ERROR, text, a, t);
    return written;
}

int LdPropertyCp::applyChange(const Step& step, VirtualDisk* vd, char* text, size_t textSize, bool* ends)
{
    const unsigned short property = step.request->getProperty();
    uint8_t policy = 0;
    ignoreStatus(vd->getDefaultCachePolicy(&policy), "read after the update began: the properties are there");
    for (const CacheChange& change : CACHE_CHANGES) {
        if (change.property == property) {
            copyText(text, textSize, change.text);
            return vd->setDefaultCachePolicy(static_cast<uint8_t>((policy & ~change.clear) | change.set));
        }
    }
    for (const ValueChange& change : VALUE_CHANGES) {
        if (change.property == property) {
            copyText(text, textSize, change.text);
            return applyValue(vd, change);
        }
    }
    if (property == TOKEN_WB) {
        copyText(text, textSize, "Write Policy to WriteBack");
        if (step.request->immediate != 0 && checkBatteryForWriteBack(vd, step.cpController) != 0)
            return -1;
        int status = vd->setDefaultCachePolicy(static_cast<uint8_t>(policy | CACHE_POLICY_WRITE_BACK));
        if (status == 0 && step.request->immediate == 0 && checkBatteryForWriteBack(vd, step.cpController) != 0)
            printMessage(MSG_WB_NOT_IMMEDIATE);
        return status;
    }
    if (property == TOKEN_NAME) {
        // The name field holds 15 characters and the NUL: a longer name is refused by the
        // setter (nothing is copied), and the outcome text is cut to its buffer.
        const char* name = step.request->getName() != nullptr ? step.request->getName() : "";
        std::snprintf(text, textSize, "name to %s", name);
        return vd->setName(name);
    }
    if (property == TOKEN_DSBLPI) {
        copyText(text, textSize, "PI Disabled");
        return disablePi(step, vd, ends);
    }
    printMessage(MSG_INVALID_OPTION);
    *ends = true;
    return -1;
}

int LdPropertyCp::disablePi(const Step& step, VirtualDisk* vd, bool* ends)
{
    const int a = static_cast<int>(step.adapterNumber);
    Adapter* adapter = takeAdapter(step.manager, step.adapterNumber);
    uint8_t supported = 0;
    if (adapter == nullptr || (ignoreStatus(adapter->isPiSupported(&supported), "an unread flag keeps 0: not supported"),
                                 supported != 1)) {
        if (adapter != nullptr)
            printNotSupportedOnAdapter();
        *ends = true;
        return -1;
    }
    int status = vd->disablePi();
    if (status == 0)
        return 0;
    if (status == STATUS_NOT_SUPPORTED) {
        printMessage(MSG_ADAPTER_TEXT, a, "PI is not enabled on LD.");
    } else if (status == STATUS_NO_DEVICE) {
        printMessage(MSG_ADAPTER_TEXT, a, "TargetId is invalid.");
    } else {
        appLog(__FILE__, __LINE__, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, LOG_ID_FIRMWARE_FAILED, DCMD_BBU_GET_STATUS,
               static_cast<uint32_t>(status));
        printMessage(MSG_ADAPTER_TEXT, a, "Set PI Disable Failed.");
    }
    *ends = true;
    return status;
}

int LdPropertyCp::checkBatteryForWriteBack(VirtualDisk*, CpController* cpController)
{
    return checkWriteBackPossible(cpController);
}

namespace {

const CpRegistration<LdPropertyCp> registration;

} // namespace
