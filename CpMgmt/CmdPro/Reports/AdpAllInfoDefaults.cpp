// The last section of the adapter information display: the manufacturing defaults, one row
// per field in display order, each with the rule that turns the field into its text.
#include "CpMgmt/CmdPro/Reports/AdpAllInfoCp.h"

#include <cstdio>

#include "CpMgmt/CmdPro/Display/InfoLines.h"
#include "Output/VoMessage.h"
#include "Output/VtMessages.h"

namespace {

typedef ZprMfcDefaults D;

enum class Rule : unsigned char {
    Number,       // number line
    YesNo,        // "Yes" when not 0
    YesWhenZero,  // "Yes" when 0
    Choice,       // choices[value], or the last choice for any value past them
    Strip,        // 0 "512Bytes", else "%dkB" of 2^(n-1)
    Seconds,      // the number with one blank, then "seconds"
    Cluster,      // the OEM data's cluster-disable byte
    Sas,          // the OEM data's SAS-disable byte
    PowerSaving,  // the power-saving rule
    Features,     // the feature-level lines
    CmeTime,      // 0 "60s", else the number and "s"
};

struct DefaultLine {
    const char* label;
    size_t offset;
    Rule rule;
    const char* const* choices;   // Choice: the texts of 0, 1, ..., the last for any value after
    unsigned choiceCount;
};

const char* const WRITE_POLICY[] = {"WT", "WB", "Adaptive", "WB"};
const char* const READ_POLICY[] = {"None", "RA", "Adaptive", "RA"};
const char* const CACHE_WHEN_BAD[] = {"Disabled", "Enabled"};
const char* const SMART_MODE[] = {"Mode 6", "Disabled", "Mode 2", "Disabled"};
const char* const COERCION[] = {"None", "128MB", "1GB", "128MB"};
const char* const ZCR[] = {"Unknown", "RADIOS", "IDSEL"};
const char* const SPIN_DOWN[] = {"None", "Internal Only", "External Only", "Internal & External", "None"};
const char* const DEVICE_TYPE[] = {"SAS/SATA Mix", "SAS Only", "SATA Only", "SAS Only"};
const char* const BACKPLANE[] = {"SGPIO/i2c SEP", "i2c SEP", "SGPIO", "None", "SGPIO/i2c SEP"};
const char* const UNCERTIFIED[] = {"Block", "Allow", "Warn & allow", "Not Defined"};
const char* const MAX_LDS[] = {"16", "64", "Not Defined"};

#define CHOICES(table) table, sizeof table / sizeof table[0]

const DefaultLine DEFAULT_LINES[] = {
    {"Phy Polarity                     : ", D::PHY_POLARITY, Rule::Number, nullptr, 0},
    {"Phy PolaritySplit                : ", D::PHY_POLARITY_SPLIT, Rule::Number, nullptr, 0},
    {"Background Rate                  : ", D::BACKGROUND_RATE, Rule::Number, nullptr, 0},
    {"Strip Size                       : ", D::STRIP_EXPONENT, Rule::Strip, nullptr, 0},
    {"Flush Time                       : ", D::FLUSH_TIME, Rule::Seconds, nullptr, 0},
    {"Write Policy                     : ", D::WRITE_POLICY, Rule::Choice, CHOICES(WRITE_POLICY)},
    {"Read Policy                      : ", D::READ_POLICY, Rule::Choice, CHOICES(READ_POLICY)},
    {"Cache When BBU Bad               : ", D::CACHE_WHEN_BBU_BAD, Rule::Choice, CHOICES(CACHE_WHEN_BAD)},
    {"Cached IO                        : ", D::CACHED_IO, Rule::YesNo, nullptr, 0},
    {"SMART Mode                       : ", D::SMART_MODE, Rule::Choice, CHOICES(SMART_MODE)},
    {"Alarm Disable                    : ", D::ALARM, Rule::YesWhenZero, nullptr, 0},
    {"Coercion Mode                    : ", D::COERCION, Rule::Choice, CHOICES(COERCION)},
    {"ZCR Config                       : ", D::ZCR_CONFIGURATION, Rule::Choice, CHOICES(ZCR)},
    {"Dirty LED Shows Drive Activity   : ", D::DIRTY_LED, Rule::YesNo, nullptr, 0},
    {"BIOS Continue on Error           : ", D::BIOS_CONTINUE_ON_ERROR, Rule::Number, nullptr, 0},
    {"Spin Down Mode                   : ", D::SPIN_DOWN_MODE, Rule::Choice, CHOICES(SPIN_DOWN)},
    {"Allowed Device Type              : ", D::ALLOWED_DEVICE_TYPE, Rule::Choice, CHOICES(DEVICE_TYPE)},
    {"Allow Mix in Enclosure           : ", D::ALLOW_MIX_IN_ENCLOSURE, Rule::YesNo, nullptr, 0},
    {"Allow HDD SAS/SATA Mix in VD     : ", D::ALLOW_SAS_SATA_HDD_MIX, Rule::YesNo, nullptr, 0},
    {"Allow SSD SAS/SATA Mix in VD     : ", D::ALLOW_SAS_SATA_SSD_MIX, Rule::YesNo, nullptr, 0},
    {"Allow HDD/SSD Mix in VD          : ", D::ALLOW_HDD_SSD_MIX, Rule::YesNo, nullptr, 0},
    {"Allow SATA in Cluster            : ", D::ALLOW_SATA_IN_CLUSTER, Rule::YesNo, nullptr, 0},
    {"Max Chained Enclosures           : ", D::MAX_CHAINED_ENCLOSURES, Rule::Number, nullptr, 0},
    {"Disable Ctrl-R                   : ", D::CTRL_R_DISABLED, Rule::YesNo, nullptr, 0},
    {"Enable Ventana                  : ", D::PREBOOT_UTILITY_ENABLED, Rule::YesNo, nullptr, 0},
    {"Direct PD Mapping                : ", D::DIRECT_PD_MAPPING, Rule::YesNo, nullptr, 0},
    {"BIOS Enumerate VDs               : ", D::BIOS_ENUMERATES_VDS, Rule::YesNo, nullptr, 0},
    {"Restore Hot Spare on Insertion   : ", D::RESTORE_HOT_SPARE, Rule::YesNo, nullptr, 0},
    {"Expose Enclosure Devices         : ", D::EXPOSE_ENCLOSURE_DEVICES, Rule::YesNo, nullptr, 0},
    {"Maintain PD Fail History         : ", D::MAINTAIN_PD_FAIL_HISTORY, Rule::YesNo, nullptr, 0},
    {"Disable Puncturing               : ", D::PUNCTURING_DISABLED, Rule::YesNo, nullptr, 0},
    {"Zero Based Enclosure Enumeration : ", D::ZERO_BASED_ENCLOSURES, Rule::YesNo, nullptr, 0},
    {"PreBoot CLI Enabled              : ", D::PREBOOT_CLI_DISABLED, Rule::YesWhenZero, nullptr, 0},
    {"LED Show Drive Activity          : ", D::LED_SHOWS_ACTIVITY, Rule::YesNo, nullptr, 0},
    {"Cluster Disable                  : ", 0, Rule::Cluster, nullptr, 0},
    {"SAS Disable                      : ", 0, Rule::Sas, nullptr, 0},
    {"Auto Detect BackPlane Enable     : ", D::BACKPLANE_DETECTION_DISABLED, Rule::Choice, CHOICES(BACKPLANE)},
    {"Use FDE Only                     : ", D::USE_FDE_ONLY, Rule::YesNo, nullptr, 0},
    {"Enable Led Header                : ", D::LED_HEADER_ENABLED, Rule::YesNo, nullptr, 0},
    {"Delay during POST                : ", D::POST_DELAY, Rule::Number, nullptr, 0},
    {"EnableCrashDump                  : ", D::CRASH_DUMP_ENABLED, Rule::YesNo, nullptr, 0},
    {"Disable Online Controller Reset  : ", D::ONLINE_RESET_DISABLED, Rule::YesNo, nullptr, 0},
    {"EnableLDBBM                      : ", D::LD_BBM_ENABLED, Rule::YesNo, nullptr, 0},
    {"Un-Certified Hard Disk Drives    : ", D::UNCERTIFIED_DRIVES, Rule::Choice, CHOICES(UNCERTIFIED)},
    {"Treat Single span R1E as R10     : ", D::TREAT_R1E_AS_R10, Rule::YesNo, nullptr, 0},
    {"Max LD per array                 : ", D::MAX_VDS_PER_ARRAY, Rule::Choice, CHOICES(MAX_LDS)},
    {"Power Saving option              : ", D::POWER_SAVING_OPTIONS, Rule::PowerSaving, nullptr, 0},
    {"Default spin down time in minutes: ", D::SPIN_DOWN_TIME, Rule::Number, nullptr, 0},
    {"Enable JBOD                      : ", D::JBOD_ENABLED, Rule::YesNo, nullptr, 0},
    {nullptr, D::FEATURES, Rule::Features, nullptr, 0},
    {"Time taken to detect CME         : ", D::CME_DETECT_TIME, Rule::CmeTime, nullptr, 0},
};

#undef CHOICES

const char* const POWER_SAVING_BITS[] = {
    "Don't spin down unconfigured drives",
    "Don't spin down Hot spares",
    "Don't Auto spin down Configured Drives",
    "Power settings apply to all drives - individual PD/LD power settings cannot be set",
    "Max power savings option is  not allowed for LDs. Only T10 power conditions are to be used.",
    "Cached writes are not used for spun down VDs",
    "Can schedule disable power savings at controller level",
};

// Value 0 and 255 name all options; any other value lists its bits 0-6, one per line (a value
// with none of them set prints nothing, not even the line end).
void printPowerSaving(uint8_t value)
{
    if (value == 0 || value == 255) {
        printMessage(MSG_TEXT, value == 0 ? "All power saving options are enabled" : "All power saving options are disabled");
        printMessage(MSG_NEWLINE);
        return;
    }
    for (unsigned bit = 0; bit < 7; ++bit) {
        if (((value >> bit) & 1u) == 0)
            continue;
        printMessage(MSG_TEXT, POWER_SAVING_BITS[bit]);
        printMessage(MSG_NEWLINE);
    }
}

// The feature bits, shown only by controllers whose feature level is above 64.
void printFeatures(uint8_t bits)
{
    printYesNoLine("TTY Log In Flash                 : ", (bits & 0x01) != 0);
    printYesNoLine("Auto Enhanced Import             : ", (bits & 0x02) != 0);
    printYesNoLine("BreakMirror RAID Support         : ", (bits & 0x0C) != 0);
    printYesNoLine("Disable Join Mirror              : ", (bits & 0x10) != 0);
    printYesNoLine("Enable Shield State              : ", (bits & 0x80) != 0);
}

} // namespace

void AdpAllInfoCp::printDefaults(int featureLevel)
{
    LeView d(defaults, sizeof defaults);
    char text[32];
    printSectionTitle("Default Settings\n");
    for (const DefaultLine& line : DEFAULT_LINES) {
        uint8_t value = d.u8(line.offset);
        switch (line.rule) {
        case Rule::Number:
            printNumberLine(line.label, line.offset == D::SPIN_DOWN_TIME ? d.u16(line.offset) : value);
            break;
        case Rule::YesNo:
            printYesNoLine(line.label, value != 0);
            break;
        case Rule::YesWhenZero:
            printYesNoLine(line.label, value == 0);
            break;
        case Rule::Choice:
            printTextLine(line.label, line.choices[value < line.choiceCount ? value : line.choiceCount - 1]);
            break;
        case Rule::Strip:
            if (value == 0)
                std::snprintf(text, sizeof text, "512Bytes");
            else
                std::snprintf(text, sizeof text, "%llukB", value - 1u < 64 ? 1ull << (value - 1u) : 0ull);
            printTextLine(line.label, text);
            break;
        case Rule::Seconds:
            printNumberLine(line.label, value, "seconds");
            break;
        case Rule::Cluster:
            printYesNoLine(line.label, clusterDisable != 0);
            break;
        case Rule::Sas:
            printYesNoLine(line.label, sasDisable != 0);
            break;
        case Rule::PowerSaving:
            printMessage(MSG_TEXT, line.label);
            printPowerSaving(value);
            break;
        case Rule::Features:
            if (featureLevel > 64)
                printFeatures(value);
            break;
        case Rule::CmeTime:
            std::snprintf(text, sizeof text, "%ds", value == 0 ? 60 : static_cast<int>(value));
            printTextLine(line.label, text);
            break;
        }
    }
}
