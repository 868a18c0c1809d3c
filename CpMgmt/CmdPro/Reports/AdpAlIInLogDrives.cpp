// The all-in-one report's logical-drive section: per logical drive its list entry, its
// properties and parameters, spans, size, progress and owner, its redundant space and the
// device ids of its drives.
#include "CpMgmt/CmdPro/Reports/AdpAlIInLogCp.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "DataProvider/DcmdOpcodes.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/PrintableText.h"
#include "RaidManager/Array.h"
#include "RaidManager/DiskGroup.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdInfo.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdList.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdProperties.h"
#include "RaidManager/Zpr/Records/Config/ZprLdRecord.h"

namespace {

// The drive list of one logical drive holds this many drives at most.
const unsigned char LD_DRIVE_ROOM = 32;
const unsigned DRIVE_IDS_PER_LINE = 16;

// A value's text: the first row whose masked value matches; the last row (mask 0) for the rest.
struct PolicyText {
    uint8_t mask;
    uint8_t value;
    const char* text;
};
const PolicyText DEFAULT_READ[] = {{0x0C, 0x0C, "Adaptive Read Ahead"}, {0x0C, 0x04, "Read Ahead"}, {0, 0, "No Read Ahead"}};
const PolicyText CURRENT_READ[] = {{0x0C, 0x0C, "Adaptive Read Ahead"}, {0x0C, 0x04, "Read Ahead"}, {0, 0, "No Read Ahead "}};
const PolicyText DEFAULT_WRITE[] = {{0x11, 0x11, "Write caching ok if bad BBU"}, {0x01, 0x01, "WriteBack "}, {0, 0, "Write through"}};
const PolicyText CURRENT_WRITE[] = {{0x11, 0x11, "Write caching ok if bad BBU\n"}, {0x01, 0x01, "Write Back"}, {0, 0, "Write through"}};
const PolicyText CACHE_IO[] = {{0x60, 0x60, "Cached IO"}, {0, 0, "Direct IO"}};
const PolicyText DISK_CACHE[] = {{0xFF, 0, "UNCHANGED"}, {0xFF, 1, "ENABLED"}, {0, 0, "DISABLED"}};
const PolicyText ACCESS[] = {{0xFF, 3, "Blocked"}, {0xFF, 2, "Read Only"}, {0, 0, "Read/Write"}};

template <size_t N>
const char* policyText(uint8_t value, const PolicyText (&rows)[N])
{
    for (const PolicyText& row : rows)
        if ((value & row.mask) == row.value)
            return row.text;
    return rows[N - 1].text;
}

// "format" of one value appended to `text`.
void append(std::string& text, const char* format, const char* value)
{
    char line[160];
    snprintf(line, sizeof line, format, value);
    text += line;
}

void appendNumber(std::string& text, const char* format, long long value)
{
    char line[160];
    snprintf(line, sizeof line, format, value);
    text += line;
}

// A state's word, or the formatted text of a value without one.
struct StateWord {
    int value;
    const char* text;
};
const StateWord INIT_STATES[] = {{0, "No init in progress"}, {1, "Quick init in progress"}, {2, "Full init in progress"}};
const StateWord LD_STATES[] = {{0, "OFFLINE"}, {1, "PARTIALLY DEGRADED"}, {2, "DEGRADED"}, {3, "OPTIMAL"}};
const StateWord CONSISTENCY[] = {{0, "Not Consistent or Not Applicable"}, {1, "Consistent"}};

template <size_t N>
std::string stateWord(int value, const StateWord (&rows)[N], const char* otherFormat)
{
    for (const StateWord& row : rows)
        if (row.value == value)
            return row.text;
    char text[64];
    snprintf(text, sizeof text, otherFormat, value);
    return text;
}

// The logical drive's operations with their progress entries, in the order shown.
struct LdOperation {
    unsigned bit;
    size_t entry;
    const char* format;
};
const LdOperation LD_OPERATIONS[] = {
    {0, 0, "\tCheck Consistency in progress : Progress = %d; Elapsed Secs = %d\n"},
    {1, 1, "\tBackground Initialization in progress : Progress = %d; Elapsed Secs = %d\n"},
    {2, 2, "\tForeground Initialization in progress : Progress = %d; Elapsed Secs = %d\n"},
    {3, 3, "\tReconstruction in progress : Progress = %d; Elapsed Secs = %d\n"},
};
const uint32_t LD_OPERATION_BITS = 0x0F;

void printLdProgress(const ZprLdInfo& info)
{
    const uint32_t running = info.runningOperations();
    if ((running & LD_OPERATION_BITS) == 0)
        return;
    printMessage(MSG_TEXT, "Progress Information\n");
    for (const LdOperation& op : LD_OPERATIONS) {
        if (((running >> op.bit) & 1u) == 0)
            continue;
        char line[128];
        snprintf(line, sizeof line, op.format, static_cast<int>(info.progress(op.entry) * 100u / 65535u),
                 static_cast<int>(info.elapsedSeconds(op.entry)));
        printMessage(MSG_TEXT, line);
    }
}

} // namespace

uint16_t AdpAlIInLogCp::ldSectorSize(uint8_t targetId)
{
    if (raidManager == nullptr)
        return BASE_BLOCK_SIZE;
    ArrayList<PhysicalDevice*> drives(LD_DRIVE_ROOM);
    uint16_t size = BASE_BLOCK_SIZE;
    if (raidManager->getVdPds(&drives, targetId) == 0 && drives.count() > 0 && drives.get(0) != nullptr &&
        drives.get(0)->getLogicalSectorSize(&size) != 0)
        size = BASE_BLOCK_SIZE;
    return size;
}

int AdpAlIInLogCp::printLogicalDrives(CpController* cpController)
{
    uint8_t list[ZprLdList::SIZE] = {};
    int status = sendDcmd(cpController, DCMD_LD_GET_LIST, list);
    if (status != 0)
        return status;
    // No more entries than the list has room for (64).
    const uint32_t count = ZprLdList(list, sizeof list).entryCount();
    printMessage(MSG_TEXT, "\n\n# of Logical Drives :");
    printMessage(MSG_DECIMAL, static_cast<int>(count));
    printMessage(MSG_NEWLINE);
    for (uint32_t i = 0; i < count; ++i) {
        status = printLogicalDrive(cpController, list, sizeof list, i);
        if (status != 0)
            return status;
    }
    return 0;
}

int AdpAlIInLogCp::printLogicalDrive(CpController* cpController, const uint8_t* ldList, size_t listSize, uint32_t index)
{
    const ZprLdList list(ldList, listSize);
    const uint8_t targetId = list.targetId(index);
    printMessage(MSG_TEXT, "\nLogical Drive# ");
    printMessage(MSG_DECIMAL, static_cast<int>(index));
    printMessage(MSG_TEXT, "\n================");
    printMessage(MSG_TEXT, "\n        Target ID            : ");
    printMessage(MSG_DECIMAL, static_cast<int>(targetId));
    printMessage(MSG_TEXT, "\n        Sequence Number      : ");
    printMessage(MSG_DECIMAL, static_cast<int>(list.sequenceNumber(index)));
    const uint16_t sectorSize = ldSectorSize(targetId);
    std::string text;
    appendNumber(text, "\n        Size                 : %lld MB",
                 static_cast<long long>(blocksToMb(list.sizeBlocks(index), sectorSize)));
    printMessage(MSG_TEXT, text.c_str());
    uint8_t record[ZprLdInfo::SIZE] = {};
    int status = sendDcmdWithWord(cpController, DCMD_LD_GET_INFO, targetId, record, 0);
    if (status != 0) {
        // The size line above has no line end of its own.
        printMessage(MSG_NEWLINE);
        return vdUnreadable(adapterNumberOf(cpController), targetId, status);
    }
    const ZprLdInfo info(record, sizeof record);
    const ZprLdRecord ld(info.view().sub(0, ZprLdRecord::SIZE));
    printMessage(MSG_TEXT, "\n\nDetail Logical Drive Information");
    printMessage(MSG_TEXT, "\n--------------------------------");
    printMessage(MSG_NEWLINE);
    printMessage(MSG_TEXT, "\nTarget ID                      : ");
    printMessage(MSG_DECIMAL, static_cast<int>(ld.targetId()));
    printMessage(MSG_TEXT, "\nSequence Number                : ");
    printMessage(MSG_DECIMAL, static_cast<int>(ld.sequenceNumber()));
    char name[ZprLdRecord::NAME_SIZE + 1];
    ld.name(name, sizeof name);
    printMessage(MSG_TEXT, "\nLogical Drive name             : ");
    printMessage(MSG_TEXT, makePrintable(name));
    printRedundantSpace(cpController, record, sizeof record);
    printLdBlocks(record, sizeof record);
    for (uint32_t s = 0; s < ld.spanEntryCount(); ++s) {
        const ZprSpanRecord span = ld.span(s);
        text.clear();
        appendNumber(text, "\nSpan# %lld                        :", s);
        appendNumber(text, "\n Start Block     : %lldMB", static_cast<long long>(blocksToMb(span.startBlock(), sectorSize)));
        appendNumber(text, "\n # blocks        : %lldMB", static_cast<long long>(blocksToMb(span.blockCount(), sectorSize)));
        appendNumber(text, "\n Array Index     : %lld", span.arrayRef());
        printMessage(MSG_TEXT, text.c_str());
    }
    text.clear();
    appendNumber(text, "\n\nTotal size of the logical drive: %lldMB",
                 static_cast<long long>(blocksToMb(info.sizeBlocks(), sectorSize)));
    printMessage(MSG_TEXT, text.c_str());
    printLdProgress(info);
    char owner[96];
    snprintf(owner, sizeof owner, "\n%-30s: %d\n", "Logical Drive owner's Device ID", static_cast<int>(info.ownerDeviceId()));
    printMessage(MSG_TEXT, owner);
    status = printLdDrives(cpController, targetId);
    if (status != 0)
        return status;
    printMessage(MSG_NEWLINE);
    printMessage(MSG_NEWLINE);
    return 0;
}

void AdpAlIInLogCp::printLdBlocks(const uint8_t* ldInfo, size_t size)
{
    const ZprLdRecord ld(LeView(ldInfo, size).sub(0, ZprLdRecord::SIZE));
    const LeView& bytes = ld.view();
    std::string policy;
    append(policy, "\nDefault Read Policy            : %s", policyText(ld.defaultCachePolicy(), DEFAULT_READ));
    append(policy, "\nDefault Write Policy           : %s", policyText(ld.defaultCachePolicy(), DEFAULT_WRITE));
    append(policy, "\nDefault Cache Policy           : %s", policyText(ld.defaultCachePolicy(), CACHE_IO));
    append(policy, "\nCurrent Read Policy            : %s", policyText(ld.currentCachePolicy(), CURRENT_READ));
    append(policy, "\nCurrent Write Policy           : %s", policyText(ld.currentCachePolicy(), CURRENT_WRITE));
    append(policy, "\nCurrent Cache Policy           : %s", policyText(ld.currentCachePolicy(), CACHE_IO));
    append(policy, "\nPD Cache Policy                : %s", policyText(ld.diskCachePolicy(), DISK_CACHE));
    append(policy, "\nAccess Policy                  : %s", policyText(ld.accessPolicy(), ACCESS));
    printMessage(MSG_TEXT, policy.c_str());
    std::string parameters;
    append(parameters, "\nBackground Initialization      : %s",
           bytes.u8(ZprLdProperties::BGI_DISABLED) != 0 ? "Disabled" : "Enabled");
    appendNumber(parameters, "\nPrimary RAID Level             : %lld", ld.primaryRaidLevel());
    appendNumber(parameters, "\nRAID Level Qualifier           : %lld", ld.raidQualifier());
    appendNumber(parameters, "\nSecondary RAID Level           : %lld", ld.secondaryRaidLevel());
    // The strip is 2^e / 2 KB; an exponent past the word's width shows 0 KB.
    const uint8_t exponent = ld.stripExponent();
    const long long strip = exponent < 40 ? (1ll << exponent) / 2 : 0;
    char line[96];
    snprintf(line, sizeof line, "\nStrip Size per DDF            : %d (%lldK)", static_cast<int>(exponent), strip);
    parameters += line;
    appendNumber(parameters, "\n# of drivers per span          : %lld", ld.drivesPerSpan());
    appendNumber(parameters, "\n# of spans                     : %lld", ld.spanCount());
    if (bytes.u8(ZprLdRecord::PRESERVED_CACHE) != 0)
        parameters += "\nPreserved Cache Data\t\t   : Yes";
    append(parameters, "\nInit Progress State            : %s",
           stateWord(bytes.u8(ZprLdRecord::INIT_STATE), INIT_STATES, "Unknown Init State : %d").c_str());
    append(parameters, "\nState                          : %s",
           stateWord(ld.state(), LD_STATES, "Undefined; val = 0x%X\n").c_str());
    append(parameters, "\nConsistentcy                   : %s",
           stateWord(bytes.u8(ZprLdRecord::CONSISTENT), CONSISTENCY, "Unknown State : %d").c_str());
    printMessage(MSG_TEXT, parameters.c_str());
}

int AdpAlIInLogCp::printRedundantSpace(CpController*, const uint8_t* ldInfo, size_t size)
{
    const ZprLdInfo info(ldInfo, size);
    const ZprLdRecord ld(info.view().sub(0, ZprLdRecord::SIZE));
    const uint64_t blocks = info.sizeBlocks();
    const uint64_t spans = ld.spanCount();
    const uint64_t perSpan = ld.drivesPerSpan();
    // A RAID 5 span of one drive or a RAID 6 span of two or fewer has no room for parity to
    // divide by: it shows 0.
    uint64_t redundant = 0;
    switch (ld.primaryRaidLevel()) {
    case 1:
    case 17:
        redundant = blocks * spans;
        break;
    case 5:
        redundant = perSpan > 1 ? blocks / (perSpan - 1) * spans : 0;
        break;
    case 6:
        redundant = perSpan > 2 ? blocks / (perSpan - 2) * spans * 2 : 0;
        break;
    default:
        break;
    }
    char line[96];
    snprintf(line, sizeof line, "\n%s %u\n", "Total Redundant space(MB)       :",
             static_cast<unsigned>(blocksToMb(redundant, ldSectorSize(ld.targetId()))));
    printMessage(MSG_TEXT, line);
    return 0;
}

int AdpAlIInLogCp::printLdDrives(CpController* cpController, uint8_t targetId)
{
    if (raidManager == nullptr)
        return -1;
    if (int status = refreshModel(raidManager, adapterNumberOf(cpController)))
        return status;
    ArrayList<DiskGroup*>* groups = nullptr;
    int status = raidManager->getDiskGroups(&groups);
    if (status != 0 || groups == nullptr) {
        printMessage(MSG_DISK_GROUP_LIST_FAILED);
        return status != 0 ? status : -1;
    }
    for (unsigned char g = 0; g < groups->count(); ++g) {
        ArrayList<Array*>* arrays = nullptr;
        DiskGroup* group = groups->get(g);
        status = group != nullptr ? group->getArrays(&arrays) : -1;
        if (status != 0 || arrays == nullptr) {
            printMessage(MSG_GET_FAILED, "Array List");
            return status != 0 ? status : -1;
        }
        for (unsigned char a = 0; a < arrays->count(); ++a) {
            status = printArrayDrives(arrays->get(a), targetId);
            if (status != 0)
                return status;
        }
    }
    return 0;
}

int AdpAlIInLogCp::printArrayDrives(Array* array, uint8_t targetId)
{
    if (array == nullptr) {
        printMessage(MSG_GET_FAILED, "Array");
        return -1;
    }
    ArrayList<VirtualDisk*>* vds = nullptr;
    int status = array->getVdList(&vds);
    if (status != 0 || vds == nullptr) {
        printMessage(MSG_GET_FAILED, "VD");
        return status != 0 ? status : -1;
    }
    for (unsigned char v = 0; v < vds->count(); ++v) {
        VdId* id = vds->get(v) != nullptr ? dynamic_cast<VdId*>(vds->get(v)->getId()) : nullptr;
        if (id == nullptr || id->getTargetId() != targetId)
            continue;
        ArrayList<PhysicalDevice*>* drives = nullptr;
        status = array->getPdList(&drives);
        if (status != 0 || drives == nullptr) {
            printMessage(MSG_GET_FAILED, "PD");
            return status != 0 ? status : -1;
        }
        printMessage(MSG_TEXT, "Number of Physical Devices  : ");
        printMessage(MSG_DECIMAL, static_cast<int>(drives->count()));
        printMessage(MSG_NEWLINE);
        for (unsigned char j = 0; j < drives->count(); ++j) {
            uint16_t deviceId = 0;
            if (drives->get(j) != nullptr)
                ignoreStatus(drives->get(j)->getDeviceId(&deviceId),
                             "an unread id keeps 0 and is printed as such");
            if (j % DRIVE_IDS_PER_LINE != 0)
                printMessage(MSG_NEWLINE);
            printMessage(MSG_TEXT, "Device IDs:     ");
            printMessage(MSG_DECIMAL, static_cast<int>(deviceId));
        }
        // The array's other logical drives are not looked at.
        return 0;
    }
    return 0;
}
