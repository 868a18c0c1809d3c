// The second half of the adapter information display: capabilities, status, limitations,
// devices present, supported operations, error counters, cluster information and the
// manufacturing defaults. The label tables are data; each row names the bit or field it shows.
#include "CpMgmt/CmdPro/Reports/AdpAllInfoCp.h"

#include <cstdio>
#include <string>

#include "CpMgmt/CmdPro/Display/InfoLines.h"
#include "Output/VoMessage.h"
#include "Output/VtMessages.h"
#include "PavUtil/SizeFormat.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerProperties.h"

namespace {

typedef ZprControllerInfo Info;
typedef ZprControllerProperties P;
typedef ZprMfcDefaults D;

const size_t PROPS = Info::CURRENT_PROPERTIES;

struct BitLine {
    const char* label;
    size_t offset;
    unsigned bit;
};

// An item of a list text: shown when its bit is set (or, with `whenClear`, when it is clear).
struct ListItem {
    size_t offset;
    unsigned bit;
    const char* item;
    bool whenClear;
};

const ListItem RAID_LEVELS[] = {
    {Info::RAID_LEVELS, 0, "RAID0", false},          {Info::RAID_LEVELS, 1, "RAID1", false},
    {Info::RAID_LEVELS, 2, "RAID5", false},          {Info::RAID_LEVELS, 3, "RAID1E", false},
    {Info::RAID_LEVELS, 4, "RAID6", false},          {Info::RAID_LEVEL_OPTIONS, 1, "RAID00", true},
    {Info::RAID_LEVELS, 5, "RAID10", false},         {Info::RAID_LEVELS, 6, "RAID50", false},
    {Info::RAID_LEVELS, 7, "RAID60", false},         {Info::RAID_LEVEL_OPTIONS, 2, "PRL 11", false},
    {Info::RAID_LEVEL_OPTIONS, 3, "PRL 11 with spanning", false},
    {Info::RAID_LEVEL_OPTIONS, 0, "SRL 3 supported", false},
};

const ListItem MIXING[] = {
    {Info::DRIVE_MIXING, 2, "\nMix in Enclosure Allowed", false},
    {Info::DRIVE_MIXING, 3, "\nMix of SAS/SATA of HDD type in VD Allowed", false},
    {Info::DRIVE_MIXING, 5, "\nMix of SAS/SATA of SSD type in VD Allowed", false},
    {Info::DRIVE_MIXING, 6, "\nMix of SSD/HDD in VD Allowed", false},
    {Info::DRIVE_MIXING, 4, "\nSATA in Cluster Allowed", false},
};

// The adapter operations in two columns, printed down the first column, then the second.
const BitLine ADAPTER_OPERATIONS[] = {
    {"Rebuild Rate                    : ", Info::ADAPTER_OPERATIONS, 0},
    {"CC Rate                         : ", Info::ADAPTER_OPERATIONS, 1},
    {"BGI Rate                        : ", Info::ADAPTER_OPERATIONS, 2},
    {"Reconstruct Rate                : ", Info::ADAPTER_OPERATIONS, 3},
    {"Patrol Read Rate                : ", Info::ADAPTER_OPERATIONS, 4},
    {"Alarm Control                   : ", Info::ADAPTER_OPERATIONS, 5},
    {"Cluster Support                 : ", Info::ADAPTER_OPERATIONS, 6},
    {"BBU                             : ", Info::ADAPTER_OPERATIONS, 7},
    {"Spanning                        : ", Info::RAID_FEATURES, 0},
    {"Dedicated Hot Spare             : ", Info::RAID_FEATURES, 1},
    {"Revertible Hot Spares           : ", Info::RAID_FEATURES, 2},
    {"Foreign Config Import           : ", Info::RAID_FEATURES, 3},
    {"Self Diagnostic                 : ", Info::RAID_FEATURES, 4},
    {"Allow Mixed Redundancy on Array : ", Info::RAID_FEATURES, 5},
    {"Global Hot Spares               : ", Info::RAID_FEATURES, 6},
    {"Deny SCSI Passthrough           : ", Info::RAID_FEATURES, 7},
    {"Deny SMP Passthrough            : ", Info::REPORTING_FEATURES, 0},
    {"Deny STP Passthrough            : ", Info::REPORTING_FEATURES, 1},
    {"Support Security                : ", Info::STORAGE_FEATURES, 2},
    {"Snapshot Enabled                : ", Info::STORAGE_FEATURES, 6},
    {"Support the OCE without adding drives : ", Info::STORAGE_FEATURES, 4},
    {"Support PI                      : ", Info::PI_FEATURES, 0},
};

const BitLine LDPI_LINES[] = {
    {"Support LDPI Type1                      : ", Info::PI_FEATURES, 1},
    {"Support LDPI Type2                      : ", Info::PI_FEATURES, 2},
    {"Support LDPI Type3                      : ", Info::PI_FEATURES, 3},
};

const BitLine VD_OPERATIONS[] = {
    {"Read Policy          : ", Info::LD_OPERATIONS, 0},  {"Write Policy         : ", Info::LD_OPERATIONS, 1},
    {"IO Policy            : ", Info::LD_OPERATIONS, 2},  {"Access Policy        : ", Info::LD_OPERATIONS, 3},
    {"Disk Cache Policy    : ", Info::LD_OPERATIONS, 4},  {"Reconstruction       : ", Info::LD_OPERATIONS, 5},
    {"Deny Locate          : ", Info::LD_OPERATIONS, 6},  {"Deny CC              : ", Info::LD_OPERATIONS, 7},
    {"Allow Ctrl Encryption: ", Info::LD_FEATURES, 0},    {"Enable LDBBM         : ", Info::LD_FEATURES, 1},
    {"Support Breakmirror  : ", Info::LD_FEATURES, 6},    {"Power Savings        : ", Info::LD_FEATURES, 4},
};

const BitLine PD_OPERATIONS[] = {
    {"Force Online                            : ", Info::PD_OPERATIONS, 0},
    {"Force Offline                           : ", Info::PD_OPERATIONS, 1},
    {"Force Rebuild                           : ", Info::PD_OPERATIONS, 2},
    {"Deny Force Failed                       : ", Info::PD_OPERATIONS, 3},
    {"Deny Force Good/Bad                     : ", Info::PD_OPERATIONS, 4},
    {"Deny Missing Replace                    : ", Info::PD_OPERATIONS, 5},
    {"Deny Clear                              : ", Info::PD_OPERATIONS, 6},
    {"Deny Locate                             : ", Info::PD_OPERATIONS, 7},
    {"Support Temperature                     : ", Info::POWER_FEATURES, 3},
    {"Disable Copyback                        : ", PROPS + P::DRIVE_FLAGS, 0},
    {"Enable JBOD                             : ", PROPS + P::CONTROLLER_FLAGS, 5},
    {"Enable Copyback on SMART                : ", PROPS + P::DRIVE_FLAGS, 1},
    {"Enable Copyback to SSD on SMART Error   : ", PROPS + P::DRIVE_FLAGS, 5},
    {"Enable SSD Patrol Read                  : ", PROPS + P::DRIVE_FLAGS, 6},
    {"PR Correct Unconfigured Areas           : ", PROPS + P::DRIVE_FLAGS, 2},
};

void printBitLines(const LeView& v, const BitLine* lines, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        printYesNoLine(lines[i].label, v.bit(lines[i].offset, lines[i].bit));
}

// The items whose condition holds, the first alone, each later one after ", ".
template <size_t N>
std::string listText(const LeView& v, const ListItem (&items)[N], const char* separator)
{
    std::string text;
    for (const ListItem& item : items) {
        if (v.bit(item.offset, item.bit) == item.whenClear)
            continue;
        text += (text.empty() ? "" : separator);
        text += item.item;
    }
    return text;
}

// A strip size exponent: 0 is 512 bytes, n is 2^(n-1) KB.
void stripText(uint8_t exponent, char* out, size_t outSize)
{
    if (exponent == 0) {
        std::snprintf(out, outSize, "512Bytes");
        return;
    }
    char capacity[CAPACITY_TEXT_SIZE + 8] = "";
    unsigned shift = exponent - 1u;
    formatCapacity(shift < 64 ? 1ull << shift : 0, capacity);
    std::snprintf(out, outSize, "%s", capacity);
}

} // namespace

void AdpAllInfoCp::printCapabilities()
{
    LeView v(info, sizeof info);
    std::string levels = listText(v, RAID_LEVELS, ", ");
    // The two layout items: written differently when they come first.
    if (v.bit(Info::RAID_LEVEL_OPTIONS, 2))
        levels += levels.empty() ? "RLQ0 DDF layout with no span supported" : ", PRL11-RLQ0 DDF layout with no span";
    if (v.bit(Info::RAID_LEVEL_OPTIONS, 3))
        levels += levels.empty() ? "RLQ0 DDF layout with span supported" : ", PRL11-RLQ0 DDF layout with span";
    std::string drives = v.bit(Info::DRIVE_MIXING, 0) ? "SAS" : "";
    if (v.bit(Info::DRIVE_MIXING, 1))
        drives += drives.empty() ? "SATA" : ", SATA";
    std::string mixing = listText(v, MIXING, "");

    printSectionTitleMessage(MSG_ADP_INFO_CAPABILITIES_TITLE);
    printMessage(MSG_ADP_INFO_RAID_LEVELS, levels.empty() ? "NONE" : levels.c_str(),
                 drives.empty() ? "NONE" : drives.c_str());
    printMessage(MSG_TEXT, "Allowed Mixing:\n");
    printMessage(MSG_TEXT, mixing.empty() ? "NONE" : mixing.c_str());
    printMessage(MSG_NEWLINE);
    printMessage(MSG_NEWLINE);

    printSectionTitleMessage(MSG_ADP_INFO_STATUS_TITLE);
    printMessage(MSG_ADP_INFO_ECC_BUCKET_COUNT, static_cast<int>(v.u16(Info::ECC_BUCKET_COUNT)));
}

void AdpAllInfoCp::printLimitations()
{
    LeView v(info, sizeof info);
    printSectionTitle("Limitations\n");
    printNumberLine("Max Arms Per VD          : ", v.u8(Info::MAX_ARMS));
    printNumberLine("Max Spans Per VD         : ", v.u8(Info::MAX_SPANS));
    printNumberLine("Max Arrays               : ", v.u8(Info::MAX_ARRAYS));
    printNumberLine("Max Number of VDs        : ", v.u8(Info::MAX_VIRTUAL_DRIVES));
    printNumberLine("Max Parallel Commands    : ", v.u16(Info::MAX_PARALLEL_COMMANDS));
    printNumberLine("Max SGE Count            : ", v.u16(Info::MAX_SGE_COUNT));
    printNumberLine("Max Data Transfer Size   : ", static_cast<int>(v.u32(Info::MAX_TRANSFER_SECTORS)), "sectors ");
    printNumberLine("Max Strips PerIO         : ", v.u16(Info::MAX_STRIPS_PER_IO));
    printNumberLine("Max LD per array         : ", v.u8(Info::MAX_VDS_PER_ARRAY));
    char strip[32];
    stripText(v.u8(Info::MIN_STRIP_EXPONENT), strip, sizeof strip);
    printTextLine("Min Strip Size           : ", strip);
    stripText(v.u8(Info::MAX_STRIP_EXPONENT), strip, sizeof strip);
    printTextLine("Max Strip Size           : ", strip);
    uint16_t maxCache = v.u16(Info::MAX_SSC_SIZE);
    uint16_t cache = v.u16(Info::SSC_SIZE);
    printNumberLine("Max Configurable Tidewell Size: ", maxCache, "GB");
    printNumberLine("Current Size of Tidewell      : ", cache < maxCache ? cache : maxCache, "GB");
    printNumberLine("Current Size of FW Cache       : ", v.u16(Info::FW_CACHE_SIZE), "MB");
    printMessage(MSG_NEWLINE);

    static const char* const PRESENT[] = {"Virtual Drives    : ", "  Degraded        : ", "  Offline         : ",
                                          "Physical Devices  : ", "  Disks           : ", "  Critical Disks  : ",
                                          "  Failed Disks    : "};
    printSectionTitle("Device Present\n");
    for (size_t i = 0; i < 7; ++i)
        printNumberLine(PRESENT[i], v.u16(Info::DEVICE_COUNTS + 2 * i));
    printMessage(MSG_NEWLINE);
}

void AdpAllInfoCp::printOperations()
{
    LeView v(info, sizeof info);
    printSectionTitle("Supported Adapter Operations\n");
    printBitLines(v, ADAPTER_OPERATIONS, sizeof ADAPTER_OPERATIONS / sizeof ADAPTER_OPERATIONS[0]);
    if (v.bit(Info::PI_FEATURES, 0))
        printBitLines(v, LDPI_LINES, sizeof LDPI_LINES / sizeof LDPI_LINES[0]);
    printYesNoLine("Support Shield State            : ", v.bit(Info::PI_FEATURES, 5));
    printYesNoLine("Block SSD Write Disk Cache Change: ", v.bit(Info::PI_FEATURES, 6));
    if (v.bit(Info::FIRMWARE_FEATURES, 0))
        printYesNoLine("Support Online FW Update\t: ", true);
    printMessage(MSG_NEWLINE);

    printSectionTitle("Supported VD Operations\n");
    printBitLines(v, VD_OPERATIONS, sizeof VD_OPERATIONS / sizeof VD_OPERATIONS[0]);
    printMessage(MSG_NEWLINE);
}

void AdpAllInfoCp::printPdOperations()
{
    LeView v(info, sizeof info);
    printSectionTitle("Supported PD Operations\n");
    printBitLines(v, PD_OPERATIONS, sizeof PD_OPERATIONS / sizeof PD_OPERATIONS[0]);
    if (v.bit(Info::POWER_FEATURES, 0)) {
        printYesNoLine("Enable Spin Down of UnConfigured Drives : ", v.bit(PROPS + P::DRIVE_FLAGS, 7));
        printYesNoLine("Disable Spin Down of hot spares         : ", v.bit(PROPS + P::CONTROLLER_FLAGS, 4));
        printNumberLine("Spin Down time                          : ", v.u16(PROPS + P::SPIN_DOWN_TIME));
        printYesNoLine("T10 Power State                         : ", v.bit(Info::POWER_FEATURES, 2));
    }

    printSectionTitle("Error Counters\n");
    printNumberLine("Memory Correctable Errors   : ", v.u16(Info::MEMORY_CORRECTABLE_ERRORS));
    printNumberLine("Memory Uncorrectable Errors : ", v.u16(Info::MEMORY_UNCORRECTABLE_ERRORS));
    printMessage(MSG_NEWLINE);

    printSectionTitle("Cluster Information\n");
    printYesNoLine("Cluster Permitted     : ", v.u8(Info::CLUSTER_PERMITTED) != 0);
    printYesNoLine("Cluster Active        : ", v.u8(Info::CLUSTER_ACTIVE) != 0);
    printMessage(MSG_NEWLINE);
}
