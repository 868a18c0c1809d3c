// The all-in-one report's controller sections: the controller information, its properties and
// its battery, all from the records read before the report began, and the firmware terminal
// log ("Online History").
#include "CpMgmt/CmdPro/Reports/AdpAlIInLogCp.h"

#include <cstdio>
#include <string>

#include "CpMgmt/CmdPro/Adapter/AdpBbuCp.h"
#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/Reports/AdpTTYLogCp.h"
#include "CpMgmt/CmdPro/Display/InterfaceNames.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/PrintableText.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerProperties.h"

namespace {

// The OEM's boards by PCI sub-vendor id: their model name stands for the product name.
struct BoardName {
    uint16_t subVendorId;
    const char* name;
};
const BoardName OEM_BOARD_NAMES[] = {
    {0x1c5b, "Kolvex RC-810"}, {0x1c5c, "Kolvex RC-820"}, {0x1c5d, "Kolvex RC-840"},
    {0x1c5e, "Kolvex RC-840"}, {0x1c5f, "Kolvex RC-840"},
};

// The RAID levels the controller supports, in the order shown. "00" is shown when its bit is
// clear: the bit says that RAID 00 is not supported.
struct LevelItem {
    size_t byte;      // 0 the first RAID-level byte, 1 the second
    unsigned bit;
    bool whenClear;
    const char* text;
};
const LevelItem RAID_LEVEL_ITEMS[] = {
    {0, 0, false, "0"},  {0, 1, false, "1"},  {0, 2, false, "5"},      {0, 3, false, "1E"},
    {0, 4, false, "6"},  {1, 1, true, "00"},  {0, 5, false, "10"},     {0, 6, false, "50"},
    {0, 7, false, "60"}, {1, 2, false, "PRL 11"}, {1, 3, false, "PRL 11 with spanning"},
    {1, 0, false, "SRL 3 supported"},
};

std::string raidLevelText(uint8_t first, uint8_t second)
{
    std::string text;
    for (const LevelItem& item : RAID_LEVEL_ITEMS) {
        const bool set = (((item.byte == 0 ? first : second) >> item.bit) & 1u) != 0;
        if (set == item.whenClear)
            continue;
        if (!text.empty())
            text += ' ';
        text += item.text;
    }
    return text.empty() ? "NONE" : text;
}

void printColumn(unsigned int column, const char* format, int value)
{
    char text[64];
    snprintf(text, sizeof text, format, value);
    printMessage(column, text);
}

const char* yesNo(uint8_t value, const char* yes, const char* no)
{
    return value != 0 ? yes : no;
}

} // namespace

void AdpAlIInLogCp::printControllerInformation()
{
    const ZprControllerInfo info(controllerInfo, sizeof controllerInfo);
    char product[ZprControllerInfo::PRODUCT_NAME_WIDTH + 1];
    info.productName(product, sizeof product);
    makePrintable(product);
    printMessage(MSG_NEWLINE);
    printMessage(MSG_NEWLINE);
    printMessage(MSG_TEXT, "     RAID Controller ");
    printMessage(MSG_TEXT, product);
    printMessage(MSG_TEXT, " Information \n");
    printMessage(MSG_TEXT, "     =======================================================\n\n");
    const char* type = product;
    for (const BoardName& board : OEM_BOARD_NAMES)
        if (board.subVendorId == info.pciSubvendorId())
            type = board.name;
    char padded[ZprControllerInfo::PRODUCT_NAME_WIDTH + 32];
    snprintf(padded, sizeof padded, "%-25s", type);
    printMessage(MSG_COLUMN_20, "RAID Type:");
    printMessage(MSG_TEXT, padded);
    printMessage(MSG_NEWLINE);
    printMessage(MSG_COLUMN_20, "Host Intr:");
    printMessage(MSG_COLUMN_25, hostInterfaceName(info.byteAt(ZprControllerInfo::HOST_INTERFACE)));
    printMessage(MSG_TEXT, "Link Speed \t     : ");
    printMessage(MSG_DECIMAL, static_cast<int>(info.byteAt(ZprControllerInfo::LINK_SPEED)));
    printMessage(MSG_NEWLINE);
    printMessage(MSG_COLUMN_20, "Device Intr:");
    printMessage(MSG_TEXT, deviceInterfaceName(info.byteAt(ZprControllerInfo::DEVICE_INTERFACE)));
    printMessage(MSG_NEWLINE);
    printMessage(MSG_COLUMN_20, "Port Count:");
    printColumn(MSG_COLUMN_25, "%-25d", info.byteAt(ZprControllerInfo::BACKEND_PORT_COUNT));
    // The serial number as far as the report's column goes: at most 16 characters.
    char serial[17];
    info.serialNumber(serial, sizeof serial);
    printMessage(MSG_COLUMN_20, "Serial #");
    printMessage(MSG_COLUMN, makePrintable(serial));
    const uint32_t images = info.imageCount();
    for (uint32_t i = 0; i < images;) {
        char name[ZprControllerInfo::IMAGE_NAME_WIDTH + 1];
        char version[ZprControllerInfo::IMAGE_VERSION_WIDTH + 1];
        char line[ZprControllerInfo::IMAGE_NAME_WIDTH + ZprControllerInfo::IMAGE_VERSION_WIDTH + 64];
        printMessage(MSG_NEWLINE);
        info.imageName(i, name, sizeof name);
        info.imageVersion(i, version, sizeof version);
        snprintf(line, sizeof line, "%-4s %-15s%-25s", makePrintable(name), "Version:", makePrintable(version));
        printMessage(MSG_COLUMN_25, line);
        if (++i == images)
            break;
        info.imageName(i, name, sizeof name);
        info.imageVersion(i, version, sizeof version);
        snprintf(line, sizeof line, "%-4s %-15s%s", makePrintable(name), "Version:", makePrintable(version));
        printMessage(MSG_COLUMN_25, line);
        ++i;
    }
    printMessage(MSG_NEWLINE);
    printMessage(MSG_COLUMN_20, "NVRAM Size:");
    printColumn(MSG_COLUMN_25, "%d KB", info.wordAt(ZprControllerInfo::NVRAM_SIZE));
    printMessage(MSG_COLUMN_20, "RAID Level:");
    printMessage(MSG_TEXT, raidLevelText(info.byteAt(ZprControllerInfo::RAID_LEVELS),
                                         info.byteAt(ZprControllerInfo::RAID_LEVEL_OPTIONS)).c_str());
    printMessage(MSG_NEWLINE);
    printMessage(MSG_COLUMN_20, "Cache Size:");
    printColumn(MSG_COLUMN_25, "%d MB", info.wordAt(ZprControllerInfo::MEMORY_SIZE));
    printMessage(MSG_COLUMN_20, "Flash Size:");
    printColumn(MSG_COLUMN_20, "%d MB", info.wordAt(ZprControllerInfo::FLASH_SIZE));
    printMessage(MSG_NEWLINE);
    char errors[80];
    snprintf(errors, sizeof errors, "%-20s%-25d", "RCV Error:", info.wordAt(ZprControllerInfo::MEMORY_CORRECTABLE_ERRORS));
    printMessage(MSG_COLUMN_25, errors);
    snprintf(errors, sizeof errors, "%-20s%d\n", "Un-RCV Error:", info.wordAt(ZprControllerInfo::MEMORY_UNCORRECTABLE_ERRORS));
    printMessage(MSG_COLUMN_20, errors);
    printMessage(MSG_COLUMN_20, "Support Cluster:");
    printMessage(MSG_COLUMN_25, yesNo(info.byteAt(ZprControllerInfo::CLUSTER_PERMITTED), "Yes", "No"));
    printMessage(MSG_COLUMN_20, "Cluster Mode:");
    printMessage(MSG_COLUMN_20, yesNo(info.byteAt(ZprControllerInfo::CLUSTER_ACTIVE), "Active", "Inactive"));
}

namespace {

// The properties lines: a label and the value's kind.
enum PropertyKind { RATE, TRUE_FALSE, YES_NO, COERCION };
struct PropertyLine {
    const char* label;
    size_t offset;  // within the properties record
    PropertyKind kind;
};
const PropertyLine PROPERTY_LINES[] = {
    {"Rebuild Rate                                  : ", ZprControllerProperties::REBUILD_RATE, RATE},
    {"\nPatrol Read Rate                              : ", ZprControllerProperties::PATROL_READ_RATE, RATE},
    {"\nBack Ground Initialization(BGI) Rate          : ", ZprControllerProperties::BGI_RATE, RATE},
    {"\nConsistency Check(CC) Rate                    : ", ZprControllerProperties::CC_RATE, RATE},
    {"\nReconstruction Rate                           : ", ZprControllerProperties::RECONSTRUCTION_RATE, RATE},
    {"\nMaximum # of drives to spin up at one time    : ", ZprControllerProperties::SPINUP_DRIVE_COUNT, RATE},
    {"\n# of seconds to delay among spinup groups     : ", ZprControllerProperties::SPINUP_DELAY, RATE},
    {"\nCluster Enable                                : ", ZprControllerProperties::CLUSTER_ENABLE, TRUE_FALSE},
    {"\nDrive capacity coercion mode                  : ", ZprControllerProperties::COERCION_MODE, COERCION},
    {"\nAlarm Enable                                  : ", ZprControllerProperties::ALARM_ENABLED, TRUE_FALSE},
    {"\nDisable AutoRebuild                           : ", ZprControllerProperties::AUTO_REBUILD_DISABLED, TRUE_FALSE},
    {"\nDisable Battery Warning                       : ", ZprControllerProperties::BATTERY_WARNING_DISABLED,
     TRUE_FALSE},
    {"\nRestore Hotspare on Insertion                 : ", ZprControllerProperties::RESTORE_HOT_SPARE, YES_NO},
    {"\nExpose Enclosure Devices                      : ", ZprControllerProperties::EXPOSE_ENCLOSURE_DEVICES, YES_NO},
};

const char* coercionName(uint8_t mode)
{
    return mode == 0 ? "None" : mode == 2 ? "1GB" : "128MB";
}

} // namespace

void AdpAlIInLogCp::printControllerProperties()
{
    const ZprControllerInfo info(controllerInfo, sizeof controllerInfo);
    printMessage(MSG_NEWLINE);
    printMessage(MSG_NEWLINE);
    printMessage(MSG_TEXT, "Controller Properties\n");
    printMessage(MSG_TEXT, "---------------------\n");
    for (const PropertyLine& line : PROPERTY_LINES) {
        const uint8_t value = info.byteAt(ZprControllerInfo::CURRENT_PROPERTIES + line.offset);
        printMessage(MSG_TEXT, line.label);
        if (line.kind == RATE)
            printMessage(MSG_DECIMAL, static_cast<int>(value));
        else if (line.kind == TRUE_FALSE)
            printMessage(MSG_TEXT, yesNo(value, "TRUE", "FALSE"));
        else if (line.kind == YES_NO)
            printMessage(MSG_TEXT, yesNo(value, "YES", "NO"));
        else
            printMessage(MSG_TEXT, coercionName(value));
    }
}

namespace {

// The battery's firmware status lines: bit of the status word, label, set and clear words.
struct StatusLine {
    unsigned bit;
    const char* label;
    const char* set;
    const char* clear;
};
const StatusLine BATTERY_STATUS_LINES[] = {
    {1, "\nvoltageLow:                                   ", "Low", "OK"},
    {2, "\ntemperatureHigh                               ", "High", "OK"},
    {5, "\nlearnCycleRequested:                          ", "Yes", "No"},
    {6, "\nlearnCycleActive:                             ", "Yes", "No"},
    {7, "\nlearnCycleFailed                              ", "Failed", "OK"},
    {8, "\nlearnCycleTimeout:                            ", "Yes", "No"},
};

void printReading(const char* label, const char* format, int value)
{
    char text[32];
    snprintf(text, sizeof text, format, value);
    printMessage(MSG_TEXT, label);
    printMessage(MSG_TEXT, text);
}

} // namespace

void AdpAlIInLogCp::printBattery()
{
    const ZprBbuStatus status(bbuStatus, sizeof bbuStatus);
    char deviceName[BATTERY_DEVICE_NAME_SIZE];
    printMessage(MSG_NEWLINE);
    printMessage(MSG_NEWLINE);
    printMessage(MSG_TEXT, "BBU Properties\n");
    printMessage(MSG_TEXT, "--------------");
    printMessage(MSG_TEXT, "\nBBU Battery Type:                             ");
    printMessage(MSG_TEXT, batteryTypeName(status, ZprBbuDesignInfo(bbuDesignInfo, sizeof bbuDesignInfo), deviceName));
    if (status.type() != 0) {
        const LeView& bytes = status.view();
        printReading("\nBBU Voltage:                                  ", "%d mV", status.voltage());
        printReading("\nBBU Current:                                  ", "%d mA", status.current());
        printReading("\nBBU Temperature:                              ", "%d C", status.temperature());
        printReading("\nCELLPAK Relative State Of Charge:                ", "%d ",
                     bytes.u16(ZprBbuStatus::CELLPAK_RELATIVE_CHARGE));
        printReading("\nCELLPAK Charging Current:                        ", "%d mA",
                     bytes.u16(ZprBbuStatus::CELLPAK_CHARGING_CURRENT));
        printReading("\nCELLPAK Absolute State Of Charge:                ", "%d", bytes.u16(ZprBbuStatus::CELLPAK_ABSOLUTE_CHARGE));
        printMessage(MSG_NEWLINE);
        printMessage(MSG_NEWLINE);
        printMessage(MSG_TEXT, "BBU Firmware Status\n");
        printMessage(MSG_TEXT, "-------------------");
        for (const StatusLine& line : BATTERY_STATUS_LINES) {
            printMessage(MSG_TEXT, line.label);
            printMessage(MSG_COLUMN_10, status.statusBit(line.bit) ? line.set : line.clear);
        }
    }
    printMessage(MSG_NEWLINE);
    printMessage(MSG_NEWLINE);
}

void AdpAlIInLogCp::printTermLog(CpController* cpController, uint8_t adapterNumber)
{
    printMessage(MSG_NEWLINE);
    printMessage(MSG_NEWLINE);
    printMessage(MSG_TEXT, "                              Online History");
    printMessage(MSG_TEXT, "\n                            ===============");
    for (int i = 0; i < 4; ++i)
        printMessage(MSG_NEWLINE);
    printMessage(MSG_TTY_LOG_HEADER, static_cast<int>(adapterNumber));
    printMessage(MSG_NEWLINE);
    ignoreStatus(printFirmwareTermLog(cpController),
                 "a failed read has printed its message; the report finishes whatever the log section returns");
}
