// The first half of the adapter information display: opening, versions, manufacturing data,
// flash images, PCI information, hardware and settings. Every value comes from the records
// that AdpAllInfoCp::process read; every text field is read within its field.
#include "CpMgmt/CmdPro/Reports/AdpAllInfoCp.h"

#include <cstdio>
#include <cstring>

#include "CpMgmt/CmdPro/Display/InfoLines.h"
#include "CpMgmt/CmdPro/Display/InterfaceNames.h"
#include "Output/VoMessage.h"
#include "Output/VtMessages.h"
#include "PavUtil/PrintableText.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerProperties.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"

namespace {

typedef ZprControllerInfo Info;

// A bit of a byte: its offset and its number.
struct BitRef {
    size_t offset;
    unsigned bit;
};

// The image tags with their version lines; "APP" is compared on 3 characters, the others on 4.
struct ImageLine {
    const char* tag;
    const char* format;
};

const ImageLine IMAGE_LINES[] = {
    {"APP", "FW Version         : "},  {"BIOS", "BIOS Version       : "}, {"CTLR", "Ctrl-R Version     : "},
    {"CTLM", "Ctrl-M Version     : "}, {"BTBL", "Boot Block Version : "}, {"KVL1", "KVL Version        : "},
    {"BCON", "Ventana Version    : "}, {"PCLI", "Preboot CLI Version: "}, {"NVDT", "NVDATA Version     : "},
    {"BOOT", "BOOT Version       : "},
};

const char* presence(const LeView& v, size_t offset, unsigned bit)
{
    return v.bit(offset, bit) ? "Present" : "Absent";
}

const char* enabledIfSet(uint8_t value)
{
    return value != 0 ? "Enabled" : "Disabled";
}

const char* disabledIfSet(uint8_t value)
{
    return value != 0 ? "Disabled" : "Enabled";
}

// The port list of a port count: index, 7 blanks, the 16-digit address.
void printPorts(const LeView& v, unsigned count, unsigned limit, size_t (*addressOf)(unsigned))
{
    if (count != 0)
        printMessage(MSG_TEXT, "Port  :  Address\n");
    for (unsigned i = 0; i < count && i < limit; ++i) {
        printMessage(MSG_DECIMAL, static_cast<int>(i));
        printMessage(MSG_TEXT, "       ");
        printMessage(MSG_HEX64, static_cast<unsigned long long>(v.u64(addressOf(i))));
        printMessage(MSG_NEWLINE);
    }
}

size_t frontendPort(unsigned i)
{
    return Info::FRONTEND_PORTS + 8 * i;
}

size_t backendPort(unsigned i)
{
    return i < 8 ? Info::BACKEND_PORTS + 8 * i : Info::BACKEND_PORTS_HIGH + 8 * (i - 8);
}

void printPackedDate(unsigned int message, uint16_t date)
{
    printMessage(message, static_cast<int>(ZprMfcMfgData::monthOf(date)), static_cast<int>(ZprMfcMfgData::dayOf(date)),
                 static_cast<int>(ZprMfcMfgData::yearOf(date)));
}

} // namespace

void AdpAllInfoCp::printAdapterInfo(uint8_t adapterNumber, int featureLevel)
{
    printMessage(MSG_ADAPTER_HEADER, static_cast<int>(adapterNumber));
    printMessage(MSG_RULER_LONG);
    printIdentity();
    printImages();
    printPciInfo();
    printHardware();
    printSettings();
    printSettingsFlags();
    printCapabilities();
    printLimitations();
    printOperations();
    printPdOperations();
    printDefaults(featureLevel);
}

void AdpAllInfoCp::printIdentity()
{
    LeView v(info, sizeof info);
    ZprMfcMfgData mfgData(mfg, sizeof mfg);
    char product[Info::PRODUCT_NAME_WIDTH + 1];
    char serial[ZprMfcMfgData::SERIAL_NUMBER_WIDTH + 1];
    char package[Info::PACKAGE_BUILD_WIDTH + 1];
    v.readText(Info::PRODUCT_NAME, Info::PRODUCT_NAME_WIDTH, product, sizeof product);
    mfgData.serialNumber(serial, sizeof serial);
    v.readText(Info::PACKAGE_BUILD, Info::PACKAGE_BUILD_WIDTH, package, sizeof package);

    printSectionTitleMessage(MSG_ADP_INFO_VERSIONS_TITLE);
    printMessage(MSG_ADP_INFO_PRODUCT, makePrintable(product), makePrintable(serial));
    printMessage(MSG_ADP_INFO_PACKAGE, makePrintable(package));
    printMessage(MSG_NEWLINE);

    char revision[ZprMfcMfgData::REVISION_WIDTH + 1];
    char batteryFru[ZprMfcFruData::BATTERY_FRU_WIDTH + 1] = "N/A";
    mfgData.revision(revision, sizeof revision);
    ZprMfcFruData fruData(fru, sizeof fru);
    if (fruStatus == 0 && fruData.hasBatteryFru())
        fruData.batteryFru(batteryFru, sizeof batteryFru);

    printSectionTitleMessage(MSG_ADP_INFO_MFG_TITLE);
    printPackedDate(MSG_ADP_INFO_MFG_DATE, mfgData.mfgDate());
    printPackedDate(MSG_ADP_INFO_REWORK_DATE, mfgData.reworkDate());
    printMessage(MSG_ADP_INFO_REVISION, makePrintable(revision));
    printMessage(MSG_ADP_INFO_BATTERY_FRU, makePrintable(batteryFru));
    printMessage(MSG_NEWLINE);
}

void AdpAllInfoCp::printImages()
{
    LeView v(info, sizeof info);
    char tag[Info::IMAGE_NAME_WIDTH + 1];
    char version[Info::IMAGE_VERSION_WIDTH + 1];

    printSectionTitle("Image Versions in Flash:\n");
    uint32_t count = clampCount(v.u32(Info::IMAGE_COUNT), Info::MAX_IMAGES);
    for (uint32_t i = 0; i < count; ++i) {
        size_t entry = Info::IMAGES + Info::IMAGE_ENTRY_SIZE * i;
        v.readText(entry + Info::IMAGE_NAME, Info::IMAGE_NAME_WIDTH, tag, sizeof tag);
        for (const ImageLine& line : IMAGE_LINES) {
            size_t compared = std::strcmp(line.tag, "APP") == 0 ? 3 : 4;
            if (std::strncmp(tag, line.tag, compared) != 0)
                continue;
            v.readText(entry + Info::IMAGE_VERSION, Info::IMAGE_VERSION_WIDTH, version, sizeof version);
            printTextLine(line.format, makePrintable(version));
            break;
        }
    }
    printMessage(MSG_NEWLINE);

    printSectionTitle("Pending Images in Flash\n");
    uint32_t pending = clampCount(v.u32(Info::PENDING_IMAGE_COUNT), Info::MAX_IMAGES);
    if (pending == 0)
        printMessage(MSG_TEXT, "None\n");
    for (uint32_t i = 0; i < pending; ++i) {
        v.readText(Info::PENDING_IMAGES + Info::IMAGE_ENTRY_SIZE * i + Info::IMAGE_NAME, Info::IMAGE_NAME_WIDTH, tag,
                   sizeof tag);
        printMessage(MSG_TEXT, makePrintable(tag));
    }
    printMessage(MSG_NEWLINE);
}

void AdpAllInfoCp::printPciInfo()
{
    LeView v(info, sizeof info);
    printSectionTitleMessage(MSG_ADP_INFO_PCI_TITLE);
    printMessage(MSG_ADP_INFO_PCI_IDS, static_cast<unsigned>(v.u16(Info::CONTROLLER_ID)),
                 static_cast<unsigned>(v.u16(Info::PCI_VENDOR_ID)), static_cast<unsigned>(v.u16(Info::PCI_DEVICE_ID)),
                 static_cast<unsigned>(v.u16(Info::PCI_SUBVENDOR_ID)),
                 static_cast<unsigned>(v.u16(Info::PCI_SUBDEVICE_ID)));
    printMessage(MSG_ADP_INFO_HOST_INTERFACE, hostInterfaceName(v.u8(Info::HOST_INTERFACE)));
    if (v.u8(Info::CHIP_REVISION) != 0) {
        printMessage(MSG_TEXT, "ChipRevision    : ");
        char chip[3] = {static_cast<char>(v.u8(Info::CHIP_REVISION)), static_cast<char>(v.u8(Info::CHIP_REVISION + 1)),
                        '\0'};
        makePrintable(chip);
        printMessage(MSG_CHARACTER, static_cast<int>(static_cast<unsigned char>(chip[0])));
        printMessage(MSG_CHARACTER, static_cast<int>(static_cast<unsigned char>(chip[1])));
        printMessage(MSG_NEWLINE);
        printMessage(MSG_NEWLINE);
    }
    printNumberLine("Link Speed \t     : ", v.u8(Info::LINK_SPEED));
    printNumberLine("Number of Frontend Port: ", v.u8(Info::FRONTEND_PORT_COUNT));
    printPorts(v, v.u8(Info::FRONTEND_PORT_COUNT), 8, frontendPort);
    printMessage(MSG_ADP_INFO_DEVICE_INTERFACE, deviceInterfaceName(v.u8(Info::DEVICE_INTERFACE)));
    printNumberLine("Number of Backend Port: ", v.u8(Info::BACKEND_PORT_COUNT));
    printPorts(v, v.u8(Info::BACKEND_PORT_COUNT), 16, backendPort);
    printMessage(MSG_NEWLINE);
}

void AdpAllInfoCp::printHardware()
{
    LeView v(info, sizeof info);
    const size_t present = Info::DEVICES_PRESENT;
    const size_t sensors = Info::SENSORS_PRESENT;
    printSectionTitleMessage(MSG_ADP_INFO_HW_TITLE);
    printMessage(MSG_ADP_INFO_SAS_ADDRESS,
                 static_cast<unsigned long long>(LeView(defaults, sizeof defaults).u64(ZprMfcDefaults::SAS_ADDRESS)));
    printMessage(MSG_ADP_INFO_HW_PRESENT, presence(v, present, 0), presence(v, present, 1), presence(v, present, 2),
                 presence(v, present, 3), presence(v, present, 4), presence(v, present, 5),
                 static_cast<int>(v.u16(Info::MEMORY_SIZE)), presence(v, present, 6), presence(v, present, 7),
                 presence(v, sensors, 2), presence(v, sensors, 3));
    if (v.bit(present, 7)) {
        char expander[Info::EXPANDER_VERSION_WIDTH + 1];
        v.readText(Info::EXPANDER_VERSION, Info::EXPANDER_VERSION_WIDTH, expander, sizeof expander);
        printTextLine("On board Expander FW version : ", makePrintable(expander));
    }
    if (v.bit(sensors, 2))
        printNumberLine("ROC temperature : ", v.u8(Info::ROC_TEMPERATURE), " degree Celsius");
    if (v.bit(sensors, 3))
        printNumberLine("Controller temperature : ", v.u8(Info::CONTROLLER_TEMPERATURE), " degree Celcius");
    printMessage(MSG_NEWLINE);
}

void AdpAllInfoCp::printSettings()
{
    typedef ZprControllerProperties P;
    LeView v(info, sizeof info);
    LeView p = v.sub(Info::CURRENT_PROPERTIES, P::SIZE);
    ZprControllerTime clock(time, sizeof time);
    char now[64] = "Not Set";
    if (!clock.isUnset())
        std::snprintf(now, sizeof now, "%d:%d:%d %d/%d, %d", clock.hour(), clock.minute(), clock.second(),
                      clock.month(), clock.day(), clock.year());

    printSectionTitleMessage(MSG_ADP_INFO_SETTINGS_TITLE);
    printMessage(MSG_ADP_INFO_CURRENT_TIME, now);
    printMessage(MSG_ADP_INFO_SETTINGS_RATES, static_cast<int>(p.u16(P::PREDICTIVE_FAIL_POLL)),
                 static_cast<int>(p.u16(P::INTERRUPT_THROTTLE_COUNT)), static_cast<int>(p.u16(P::INTERRUPT_THROTTLE_TIME)),
                 static_cast<int>(p.u8(P::REBUILD_RATE)), static_cast<int>(p.u8(P::PATROL_READ_RATE)),
                 static_cast<int>(p.u8(P::BGI_RATE)), static_cast<int>(p.u8(P::CC_RATE)));
    uint8_t coercion = p.u8(P::COERCION_MODE);
    printMessage(MSG_ADP_INFO_SETTINGS_SPINUP, static_cast<int>(p.u8(P::RECONSTRUCTION_RATE)),
                 static_cast<int>(p.u8(P::CACHE_FLUSH_INTERVAL)), static_cast<int>(p.u8(P::SPINUP_DRIVE_COUNT)),
                 static_cast<int>(p.u8(P::SPINUP_DELAY)), coercion == 0 ? "Disabled" : coercion == 2 ? "1GB" : "128MB",
                 enabledIfSet(p.u8(P::CLUSTER_ENABLE)), enabledIfSet(p.u8(P::ALARM_ENABLED)),
                 disabledIfSet(p.u8(P::AUTO_REBUILD_DISABLED)), disabledIfSet(p.u8(P::BATTERY_WARNING_DISABLED)));
    printMessage(MSG_ADP_INFO_SETTINGS_ECC, static_cast<int>(p.u8(P::ECC_BUCKET_SIZE)),
                 static_cast<int>(p.u16(P::ECC_BUCKET_LEAK_RATE)), enabledIfSet(p.u8(P::RESTORE_HOT_SPARE)),
                 enabledIfSet(p.u8(P::EXPOSE_ENCLOSURE_DEVICES)), enabledIfSet(p.u8(P::MAINTAIN_PD_FAIL_HISTORY)),
                 disabledIfSet(p.u8(P::REORDERING_DISABLED)));
    static const char* const BACKPLANE[] = {"SGPIO/i2c SEP", "i2c SEP", "SGPIO", "None"};
    uint8_t backplane = p.u8(P::AUTO_DETECT_BACKPLANE_DISABLED);
    printMessage(MSG_ADP_INFO_BACKPLANE, BACKPLANE[backplane <= 3 ? backplane : 0]);
    printMessage(MSG_ADP_INFO_LOAD_BALANCE, p.u8(P::LOAD_BALANCE_MODE) != 0 ? "Disabled" : "Auto");
}

void AdpAllInfoCp::printSettingsFlags()
{
    typedef ZprControllerProperties P;
    LeView v(info, sizeof info);
    LeView p = v.sub(Info::CURRENT_PROPERTIES, P::SIZE);
    const size_t security = Info::SECURITY_STATE;
    printMessage(MSG_ADP_INFO_SECURITY, yesNo(p.bit(P::DRIVE_FLAGS, 3)), yesNo(v.bit(security, 1)),
                 yesNo(v.bit(security, 2)), yesNo(v.bit(security, 3)));

    uint8_t policy = p.u8(P::DEFAULT_LD_POWER_SAVING);
    const char* policyText = "Controller Defined";
    if (policy == 1 || policy == 5)
        policyText = "Automatic";
    else if (policy == POWER_SAVE_MAXIMUM)
        policyText = "Maximum with caching";
    else if (policy == POWER_SAVE_MAXIMUM_WITHOUT_CACHING)
        policyText = v.bit(Info::LD_FEATURES, Info::MAXIMUM_WITHOUT_CACHING_BIT) ? "Maximum without caching" : "Maximum";
    else if (policy == 255)
        policyText = "None";
    printTextLine("Default LD PowerSave Policy      : ", policyText);
    printNumberLine("Maximum number of direct attached drives to spin up in 1 min : ", v.u8(Info::SPINUP_PER_MINUTE));
    printYesNoLine("Auto Enhanced Import             : ", p.bit(P::CONTROLLER_FLAGS, 0));
    printMessage(MSG_ADP_INFO_OFFLINE_CACHE, yesNo(v.bit(security, 5)));
    printMessage(MSG_ADP_INFO_BOOT_PRESERVED, yesNo(p.bit(P::CONTROLLER_FLAGS, 3)));
    printMessage(MSG_ADP_INFO_ONLINE_RESET, yesNo(p.bit(P::CONTROLLER_FLAGS, 2)));
    printMessage(MSG_ADP_INFO_LOCATE_ACTIVITY, yesNo(p.bit(P::CONTROLLER_FLAGS, 7)));
    printNumberLine("POST delay\t\t\t : ", postDelaySeconds, "seconds");

    static const char* const ERROR_HANDLING[] = {"Stop On Errors", "Pause on Errors", "Ignore Errors",
                                                 "Safe Mode on Errors"};
    uint8_t handling = bios[ZprBiosData::ERROR_HANDLING];
    printTextLine("BIOS Error Handling          \t : ", handling <= 3 ? ERROR_HANDLING[handling] : "");
    printTextLine("Current Boot Mode \t\t  :", v.bit(Info::SSC_AND_BOOT_STATE, 2) ? "Safe Mode" : "Normal");
}
