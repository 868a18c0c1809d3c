// The information block of a virtual drive: a short form for an SSD-caching drive, the full
// form for every other drive. The block is built whole and returned as one string; it is
// empty when the drive's records, the manufacturing feature data or (where the controller
// relies on it) the association list cannot be read, and for a RAID level it cannot describe.
#include "RaidManager/Zpr/VdDataZpr.h"

#include <cstring>

#include "ControllerMgmt/Controller.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "Output/VoMessage.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/PrintableText.h"
#include "PavUtil/SizeFormat.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdIdList.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdInfo.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdParameters.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdProperties.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcOemData.h"

namespace {

typedef ZprLdParameters Params;
typedef ZprLdProperties Props;

const size_t OEM_FEATURE_CACHE_ASSOCIATIONS = 11;

// The capacity text of a block count on drives of `sectorSize` bytes per sector.
void capacityText(uint64_t blocks, uint16_t sectorSize, char* text)
{
    unsigned long long kb =
        sectorSize == 0 || sectorSize == 512 ? blocks >> 1 : static_cast<unsigned long long>(sectorSize / 1024) * blocks;
    formatCapacity(kb, text);
}

const char* stateWord(uint8_t state)
{
    switch (state) {
    case 0: return "Offline";
    case 1: return "Partially Degraded";
    case 2: return "Degraded";
    default: return "Optimal";
    }
}

// The four words of a cache policy byte, joined.
string cachePolicyText(uint8_t policy)
{
    string text((policy & 0x01) != 0 ? "WriteBack, " : "WriteThrough, ");
    uint8_t read = (policy >> 2) & 0x03;
    text += read == 3 ? "ReadAdaptive, " : read == 1 ? "ReadAhead, " : "ReadAheadNone, ";
    text += (policy & 0x60) == 0x60 ? "Cached, " : "Direct, ";
    text += (policy & 0x10) != 0 ? "Write Cache OK if Bad BBU" : "No Write Cache if Bad BBU";
    return text;
}

const char* accessWord(uint8_t policy, const char* otherwise)
{
    return policy == 3 ? "Blocked" : policy == 2 ? "Read Only" : policy == 0 ? "Read/Write" : otherwise;
}

const char* powerWord(uint8_t policy, bool withoutCaching)
{
    switch (policy) {
    case 0: return "Controller Defined";
    case 1:
    case 5: return "Automatic";
    case 2: return "Maximum";
    case 6: return withoutCaching ? "Maximum without caching" : "Maximum";
    case 254: return "None";
    default: return "";
    }
}

const char* piWord(uint8_t type)
{
    static const char* const words[] = {"No PI\n",          "PI with type 1\n", "PI with type 2\n",
                                        "PI with type 3\n", "PI with type 4\n", "PI with type 5\n",
                                        "PI with type 6\n", "PI with type 7\n", " Proprietary type\n"};
    return type < sizeof words / sizeof words[0] ? words[type] : "PI Unknown \n";
}

const char* encryptionWord(uint8_t type)
{
    static const char* const words[] = {"None", "FDE", "Controller Based"};
    // A type the controllers do not define shows as unknown rather than as a wrong word.
    return type < 3 ? words[type] : "Unknown";
}

const char* yesNo(bool yes)
{
    return yes ? "Yes" : "No";
}

// The adapter's answer to a yes/no question; 0 without adapter or answer.
template <typename Ask>
uint8_t adapterFlag(Adapter* adapter, Ask ask)
{
    uint8_t flag = 0;
    if (adapter == nullptr || ask(adapter, &flag) != 0)
        return 0;
    return flag;
}

// The association list's target ids (none when the list is null).
struct Associations {
    const uint8_t* list = nullptr;
    uint32_t count = 0;
    uint8_t id(uint32_t i) const { return ZprLdIdList(list, ZprLdIdList::IDS + count).targetId(i); }
};

} // namespace

string VdDataZpr::toString()
{
    string text;
    if (loadLdInfo() != 0 || loadProperties() != 0 || loadParameters() != 0 || controller == nullptr)
        return text;
    uint8_t oem[ZprMfcOemData::SIZE];
    memset(oem, 0, sizeof oem);
    DcmdZprDpPrvParams oemRead(DCMD_ADP_MFC_GET_OEM_DATA, 0u, 0u, 0u, oem, 0, 0, 0);
    if (controller->execute(&oemRead) != 0)
        return text;
    RaidManager* manager = getRaidManager(controller);
    if (manager == nullptr)
        return text;
    uint8_t* list = nullptr;
    Associations associations;
    if (getTidewellAssociations(&list) == 0 && list != nullptr) {
        ZprLdIdList header(list, ZprLdIdList::UNIT);
        uint32_t size = ZprLdIdList::UNIT;
        ZprLdIdList::sizeForCount(header.count(), &size);
        associations.list = list;
        associations.count = ZprLdIdList(list, size).entryCount();
    } else if (oem[OEM_FEATURE_CACHE_ASSOCIATIONS] != 0) {
        delete[] list;
        return text;
    }
    Adapter* adapter = nullptr;
    if (manager->getAdapter(&adapter) != 0)
        adapter = nullptr;
    if (parameters[Params::SSD_CACHE] == SSD_CACHE_DRIVE)
        appendSsdCacheText(text, associations.list, associations.count);
    else
        appendFullText(text, adapter, associations.list, associations.count);
    delete[] list;
    return text;
}

void VdDataZpr::appendSsdCacheText(string& text, const uint8_t* list, uint32_t count)
{
    Associations associations;
    associations.list = list;
    associations.count = count;
    char name[Props::NAME_SIZE + 1];
    ignoreStatus(getName(name, sizeof name), "the properties were read above: always 0");
    uint8_t level = 0;
    ignoreStatus(getPrimaryRaidLevel(&level), "the parameters were read above: always 0");
    appendMessage(text, MSG_VD_SSC_TYPE);
    appendMessage(text, MSG_VD_SSC_NAME, makePrintable(name));
    appendMessage(text, MSG_VD_SSC_RAID_LEVEL, static_cast<int>(level));
    appendMessage(text, MSG_VD_SSC_SECONDARY, static_cast<int>(parameters[Params::SECONDARY_RAID_LEVEL]));
    appendMessage(text, MSG_VD_SSC_STATE);
    appendMessage(text, MSG_VD_SSC_STATE_WORD, stateWord(parameters[Params::STATE]));
    uint16_t sectorSize = 0;
    ignoreStatus(getMemberSectorSize(&sectorSize), "always 0; without an answering member the size stays 0");
    char capacity[CAPACITY_TEXT_SIZE];
    capacityText(ZprLdInfo(ldInfo, ZprLdInfo::SIZE).sizeBlocks(), sectorSize, capacity);
    appendMessage(text, MSG_VD_SSC_SIZE, capacity);
    // The ids each followed by a comma, or "None "; the last character becomes the line end.
    string ids;
    appendMessage(ids, MSG_VD_SSC_ASSOCIATED);
    if (associations.list == nullptr || associations.count == 0)
        appendMessage(ids, MSG_VD_SSC_ASSOCIATED_NONE);
    for (uint32_t i = 0; associations.list != nullptr && i < associations.count; ++i)
        appendMessage(ids, MSG_VD_SSC_ASSOCIATED_ID, static_cast<int>(associations.id(i)));
    ids[ids.length() - 1] = '\n';
    text += ids;
    appendMessage(text, MSG_VD_SSC_DEFAULT_CACHE);
    appendMessage(text, MSG_VD_LINE_END, cachePolicyText(properties[Props::DEFAULT_CACHE_POLICY]).c_str());
    appendMessage(text, MSG_VD_SSC_CURRENT_CACHE);
    appendMessage(text, MSG_VD_LINE_END, cachePolicyText(properties[Props::CURRENT_CACHE_POLICY]).c_str());
}

// Steps up to the strip size: name, level, sizes, sector size, emulation, redundancy, state,
// strip. False when the level has no size rule: the whole block is then empty.
bool VdDataZpr::appendFullHead(string& text, Adapter* adapter)
{
    ZprLdInfo info(ldInfo, ZprLdInfo::SIZE);
    char name[Props::NAME_SIZE + 1];
    ignoreStatus(getName(name, sizeof name), "the properties were read above: always 0");
    uint8_t level = 0;
    ignoreStatus(getPrimaryRaidLevel(&level), "the parameters were read above: always 0");
    appendMessage(text, MSG_VD_NAME, makePrintable(name));
    appendMessage(text, MSG_VD_RAID_LEVEL, static_cast<int>(level));
    appendMessage(text, MSG_VD_SECONDARY, static_cast<int>(parameters[Params::SECONDARY_RAID_LEVEL]),
                  static_cast<int>(parameters[Params::RAID_QUALIFIER]));
    bool sizeIsDrives = info.sizeIsDriveSize();
    uint64_t dataBlocks = 0;
    uint64_t redundancyBlocks = 0;
    if (sizeIsDrives)
        dataBlocks = info.sizeBlocks();
    else if (getSizes(&dataBlocks, &redundancyBlocks) != 0)
        dataBlocks = redundancyBlocks = 0;
    uint16_t sectorSize = 0;
    uint16_t exponent = 0;
    ignoreStatus(getMemberSectorSize(&sectorSize), "always 0; without an answering member the size stays 0");
    ignoreStatus(getMemberPhysicalSectorExponent(&exponent),
                 "always 0; without an answering member the exponent stays 0");
    char strip[CAPACITY_TEXT_SIZE] = "512Bytes";
    uint8_t stripExponent = parameters[Params::STRIP_EXPONENT];
    if (stripExponent != 0) {
        if (sectorSize == 0)
            sectorSize = 512;
        // An exponent beyond the width of the size would shift past it; such a strip is cut
        // to the largest the text can show.
        unsigned shift = stripExponent - 1u < 48u ? stripExponent - 1u : 48u;
        formatCapacity(static_cast<unsigned long long>(sectorSize / 512) << shift, strip);
    }
    char capacity[CAPACITY_TEXT_SIZE];
    capacityText(dataBlocks, sectorSize, capacity);
    appendMessage(text, MSG_VD_SIZE, capacity);
    appendMessage(text, MSG_VD_SECTOR_SIZE, static_cast<int>(sectorSize));
    if (adapterFlag(adapter, [](Adapter* a, uint8_t* f) { return a->getInfoFlag7a6Bit1(f); }) != 0)
        appendMessage(text, exponent != 0 ? MSG_VD_EMULATED : MSG_VD_NOT_EMULATED);
    if (!sizeIsDrives) {
        capacityText(redundancyBlocks, sectorSize, capacity);
        if (level == 0)
            appendMessage(text, MSG_VD_PARITY_NONE);
        else if (level == 1)
            appendMessage(text, MSG_VD_MIRROR_DATA, capacity);
        else if (level == 5 || level == 6)
            appendMessage(text, MSG_VD_PARITY_SIZE, capacity);
        else
            return false;
    }
    appendMessage(text, MSG_VD_STATE, stateWord(parameters[Params::STATE]));
    appendMessage(text, MSG_VD_STRIP_SIZE, strip);
    return true;
}

void VdDataZpr::appendFullText(string& text, Adapter* adapter, const uint8_t* list, uint32_t count)
{
    if (!appendFullHead(text, adapter)) {
        text = string();
        return;
    }
    uint8_t depth = parameters[Params::SPAN_DEPTH];
    appendMessage(text, depth > 1 ? MSG_VD_DRIVES_PER_SPAN : MSG_VD_DRIVES, static_cast<int>(parameters[Params::DRIVES_PER_SPAN]));
    appendMessage(text, MSG_VD_SPAN_DEPTH, static_cast<int>(depth));
    appendMessage(text, MSG_VD_DEFAULT_CACHE);
    appendMessage(text, MSG_VD_LINE_END, cachePolicyText(properties[Props::DEFAULT_CACHE_POLICY]).c_str());
    appendMessage(text, MSG_VD_CURRENT_CACHE);
    appendMessage(text, MSG_VD_LINE_END, cachePolicyText(properties[Props::CURRENT_CACHE_POLICY]).c_str());
    uint8_t defaultAccess = properties[Props::ACCESS_POLICY];
    uint8_t currentAccess = parameters[Params::CURRENT_ACCESS_POLICY];
    appendMessage(text, MSG_VD_DEFAULT_ACCESS, accessWord(defaultAccess, "Read/Write"));
    appendMessage(text, MSG_VD_CURRENT_ACCESS, accessWord(currentAccess, " "));
    if (parameters[Params::SSD_CACHE] == 0 && currentAccess == ACCESS_BLOCKED && defaultAccess != ACCESS_BLOCKED &&
        parameters[Params::CACHE_ASSOCIATION] == CACHE_ASSOCIATED)
        appendMessage(text, MSG_VD_ACCESS_REASON);
    uint8_t diskCache = properties[Props::DISK_CACHE_POLICY];
    appendMessage(text, MSG_VD_DISK_CACHE, diskCache == 0 ? "Disk's Default" : diskCache == 1 ? "Enabled" : "Disabled");
    if (parameters[Params::PRESERVED_CACHE] != 0)
        appendMessage(text, MSG_VD_PRESERVED_CACHE);
    appendProgressLines(text);
    appendMessage(text, MSG_VD_ENCRYPTION, encryptionWord(parameters[Params::ENCRYPTION]));
    appendFullTail(text, adapter, list, count);
}

void VdDataZpr::appendProgressLines(string& text)
{
    static const unsigned int lines[] = {MSG_VD_PROGRESS_CC, MSG_VD_PROGRESS_BGI, MSG_VD_PROGRESS_FGI,
                                         MSG_VD_PROGRESS_RECON};
    ZprLdInfo info(ldInfo, ZprLdInfo::SIZE);
    uint32_t running = info.runningOperations();
    if ((running & 0x0F) == 0)
        return;
    appendMessage(text, MSG_VD_PROGRESSES);
    for (unsigned i = 0; i < 4; ++i) {
        if (((running >> i) & 1u) == 0)
            continue;
        appendMessage(text, lines[i], static_cast<int>(info.progress(i) * 100u / 65535u),
                      static_cast<int>(info.elapsedSeconds(i) / 60u));
    }
}

// Power savings, bad blocks, protection information and the SSD-cache line.
void VdDataZpr::appendFullTail(string& text, Adapter* adapter, const uint8_t* list, uint32_t count)
{
    if (adapterFlag(adapter, [](Adapter* a, uint8_t* f) { return a->isLdPowerSavingSupported(f); }) != 0) {
        bool withoutCaching =
            adapterFlag(adapter, [](Adapter* a, uint8_t* f) { return a->isMaxPowerSavingWithoutCacheSupported(f); }) != 0;
        uint8_t conditions = parameters[Params::POWER_CONDITIONS];
        appendMessage(text, MSG_VD_DEFAULT_POWER, powerWord(properties[Props::DEFAULT_POWER_SAVINGS], withoutCaching));
        appendMessage(text, MSG_VD_CURRENT_POWER, powerWord(properties[Props::CURRENT_POWER_SAVINGS], withoutCaching));
        appendMessage(text, MSG_VD_SPIN_UP, yesNo((conditions & 0x01) != 0));
        appendMessage(text, MSG_VD_T10_POWER, yesNo((conditions & 0x02) != 0));
        appendMessage(text, MSG_VD_MAX_POWER_CACHED, yesNo((conditions & 0x04) != 0));
    }
    if (adapterFlag(adapter, [](Adapter* a, uint8_t* f) { return a->isBadBlockManagementSupported(f); }) != 0)
        appendMessage(text, MSG_VD_BAD_BLOCKS, yesNo(parameters[Params::BAD_BLOCKS] != 0));
    if (adapterFlag(adapter, [](Adapter* a, uint8_t* f) { return a->isPiSupported(f); }) != 0)
        appendMessage(text, MSG_VD_PI_TYPE, piWord(parameters[Params::PI_TYPE]));
    Associations associations;
    associations.list = list;
    associations.count = count;
    uint8_t ownId = vdId != nullptr ? static_cast<uint8_t>(vdId->getTargetId() & 0xFF) : 0;
    bool cached = false;
    for (uint32_t i = 0; list != nullptr && i < count && !cached; ++i)
        cached = associations.id(i) == ownId;
    if (!cached) {
        appendMessage(text, MSG_VD_CACHED, "No");
        return;
    }
    appendMessage(text, MSG_VD_CACHED, "Yes\n");
    uint8_t info[ZprControllerInfo::SIZE];
    memset(info, 0, sizeof info);
    DcmdZprDpParams infoRead(DCMD_ADP_GET_INFO, 0u, 0u, 0u, info, 0, 0, 0);
    if (controller->execute(&infoRead) != 0)
        return;
    bool readWrite = ZprControllerInfo(info, sizeof info).view().bit(ZprControllerInfo::SSC_AND_BOOT_STATE, 1);
    appendMessage(text, readWrite ? MSG_VD_SSC_READ_WRITE : MSG_VD_SSC_READ_ONLY);
}
