// The battery information displays of AdpBbuCp.
#include "CpMgmt/CmdPro/Adapter/AdpBbuCp.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/AdpParsedObjects.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/PrintableText.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuCapacityInfo.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuDesignInfo.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuGasGaugeRead.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuModeList.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuProperties.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuStatus.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcFruData.h"

namespace {

// Battery kinds by type; rows 1 to 6 are this maker's battery packs.
const char* const BATTERY_TYPE_NAMES[] = {
    "No Battery", "QBU-Li100", "QBU-Li200", "QBU-NiMH300", "QBU-Li400", "QBU-Li500", "QBU-Cap600", "Unknown",
};
// The status display names types 0 to 5 from the table; others by the design record's name.
const uint8_t LAST_NAMED_TYPE = 5;

const char* const CHARGER_STATUS_NAMES[] = {"Off", "Complete", "In Progress", "Unknown"};
const uint16_t LAST_CHARGER_STATUS = 3;

const int OEM_ID_NO_FULL_CHARGE_TIME = 6;
const uint8_t MAX_CHARGE_HOURS = 48;

// Firmware status bits.
enum StatusBit : unsigned {
    PACK_MISSING = 0,
    VOLTAGE_LOW = 1,
    TEMPERATURE_HIGH = 2,
    CHARGING = 3,
    DISCHARGING = 4,
    LEARN_REQUESTED = 5,
    LEARN_ACTIVE = 6,
    LEARN_FAILED = 7,
    LEARN_TIMED_OUT = 8,
    I2C_ERRORS = 9,
    REPLACE_PACK = 10,
    CAPACITY_LOW = 11,
    PERIODIC_LEARN = 12,
    TRANSPARENT_LEARN = 13,
    NO_OFFLOAD_SPACE = 14,
    ABOUT_TO_FAIL = 15,
    MICROCODE_UPDATE = 17,
};

// The status bits that move each battery type out of the optimal state. Types 3 and above 6
// are not settled by the firmware's documentation: type 3 is a smart-battery pack like types 1
// and 4 and takes their mask; a type this program does not know takes every bit that a later
// test of batteryState looks at, so that nothing worth attention is shown as optimal.
struct TypeMask {
    uint8_t type;
    uint32_t mask;
};
const TypeMask STATE_MASKS[] = {
    {1, 0xc73}, {2, 0xc01}, {3, 0xc73}, {4, 0xc73}, {5, 0xc03}, {6, 0x24a43},
};
const uint32_t UNKNOWN_TYPE_MASK = 0x2ce63;

const char* const STATE_TEXTS[] = {
    "Battery State: Missing\n",
    "Battery State: Optimal\n",
    "Battery State: Failed\n",
    "Battery State: Learning\n",
    "Battery State: Degraded(Need Attention) \n\t\tA manual learn is required.\n",
    "Battery State: Degraded(Need Attention) \n\t\tBattery FW is corrupted and needs to be updated.\n",
    "Battery State: Degraded(Need Attention) \n\t\tBattery is about to fail, replace the pack.\t\n",
    "Battery State: Degraded(Charging)\n",
    "Battery State: Degraded(Communication Failure)\n",
    "Battery State: Unknown\n",
};

// The gas gauge's flags shown for the smart-battery types, in display order.
const unsigned GAS_GAUGE_FLAG_BITS[] = {4, 5, 6, 7, 8, 9, 11, 12, 14, 15};

const char* yesNo(bool value)
{
    return value ? "Yes" : "No";
}

bool hasBit(uint32_t word, unsigned bit)
{
    return ((word >> bit) & 1u) != 0;
}

// Types 5 and 6, and type 2 in its second form, report a status word instead of the flags.
bool showsGasGaugeWord(const ZprBbuStatus& status)
{
    uint8_t type = status.type();
    return type == 5 || type == 6 || (type == 2 && status.variant() != 0);
}

bool showsGasGaugeFlags(const ZprBbuStatus& status)
{
    uint8_t type = status.type();
    return type == 1 || type == 3 || type == 4 || (type == 2 && status.variant() == 0);
}

void printFormatted(const char* format, const char* text, int value)
{
    char line[AdpBbuCp::TEXT_SIZE];
    std::snprintf(line, sizeof line, format, text, value);
    printMessage(MSG_TEXT, line);
}

} // namespace

AdpBbuCp::BatteryState AdpBbuCp::batteryState(const ZprBbuStatus& status) const
{
    uint32_t bits = status.firmwareStatus();
    if (hasBit(bits, PACK_MISSING) || status.type() == 0 || batteryBackupPresent == 0)
        return BatteryState::MISSING;
    uint32_t mask = UNKNOWN_TYPE_MASK;
    for (const TypeMask& row : STATE_MASKS) {
        if (row.type == status.type())
            mask = row.mask;
    }
    if ((bits & mask) == 0)
        return BatteryState::OPTIMAL;
    if ((hasBit(bits, REPLACE_PACK) && !hasBit(bits, LEARN_REQUESTED)) || hasBit(bits, NO_OFFLOAD_SPACE) ||
        (hasBit(bits, VOLTAGE_LOW) && !hasBit(bits, LEARN_ACTIVE) && !hasBit(bits, CHARGING)))
        return BatteryState::FAILED;
    if (hasBit(bits, LEARN_ACTIVE))
        return hasBit(bits, TRANSPARENT_LEARN) ? BatteryState::OPTIMAL : BatteryState::LEARNING;
    if (hasBit(bits, LEARN_REQUESTED))
        return BatteryState::NEEDS_MANUAL_LEARN;
    if (hasBit(bits, MICROCODE_UPDATE))
        return BatteryState::FIRMWARE_CORRUPTED;
    if (hasBit(bits, ABOUT_TO_FAIL))
        return BatteryState::ABOUT_TO_FAIL;
    if (hasBit(bits, CHARGING) && hasBit(bits, CAPACITY_LOW))
        return BatteryState::DEGRADED_CHARGING;
    if (hasBit(bits, I2C_ERRORS))
        return BatteryState::COMMUNICATION_FAILURE;
    return BatteryState::UNKNOWN;
}

int AdpBbuCp::showStatus(CpController* cpController, AdpBbuPo*)
{
    uint8_t status[ZprBbuStatus::SIZE];
    int result = readRecord(cpController, DCMD_BBU_GET_STATUS, status, sizeof status, "Get BBU Status Failed.");
    if (result != 0)
        return result;
    uint8_t design[ZprBbuDesignInfo::SIZE];
    result = readRecord(cpController, DCMD_BBU_GET_DESIGN_INFO, design, sizeof design, "Get BBU Design Info Failed.");
    if (result != 0)
        return result;
    printStatus(cpController, ZprBbuStatus(status, sizeof status), ZprBbuDesignInfo(design, sizeof design));
    return 0;
}

const char* batteryTypeName(const ZprBbuStatus& status, const ZprBbuDesignInfo& design,
                            char (&deviceName)[BATTERY_DEVICE_NAME_SIZE])
{
    const uint8_t type = status.type();
    if (type < LAST_NAMED_TYPE || (type == LAST_NAMED_TYPE && status.variant() == 0))
        return BATTERY_TYPE_NAMES[type];
    design.deviceName(deviceName, sizeof deviceName);
    return makePrintable(deviceName);
}

void AdpBbuCp::printStatus(CpController* cpController, const ZprBbuStatus& status, const ZprBbuDesignInfo& design)
{
    printMessage(MSG_BBU_STATUS_TITLE, static_cast<int>(adapterNumber));
    uint8_t type = status.type();
    char deviceName[BATTERY_DEVICE_NAME_SIZE];
    printMessage(MSG_BBU_TYPE, batteryTypeName(status, design, deviceName));

    if (type == 0 || batteryBackupPresent == 0) {
        printMessage(MSG_TEXT, STATE_TEXTS[static_cast<int>(BatteryState::MISSING)]);
        return;
    }
    BatteryState state = batteryState(status);
    if (state == BatteryState::MISSING || state == BatteryState::UNKNOWN) {
        printMessage(MSG_TEXT, STATE_TEXTS[static_cast<int>(state)]);
        return;
    }
    printMessage(MSG_BBU_READINGS, static_cast<int>(status.voltage()), static_cast<int>(status.current()),
                 static_cast<int>(status.temperature()));
    printMessage(MSG_TEXT, STATE_TEXTS[static_cast<int>(state)]);
    printDesignMode(cpController);
    printStatusDetails(status);
}

// The charging line, the firmware's flags, the gas gauge and the readings of the type.
void AdpBbuCp::printStatusDetails(const ZprBbuStatus& status)
{
    uint32_t bits = status.firmwareStatus();
    if (hasBit(bits, CHARGING))
        printMessage(MSG_TEXT, "BBU Firmware Status:\n\n  Charging Status              : Charging\n");
    else if (hasBit(bits, DISCHARGING))
        printMessage(MSG_TEXT, "BBU Firmware Status:\n\n  Charging Status              : Discharging\n");
    else
        printMessage(MSG_TEXT, "BBU Firmware Status:\n\n  Charging Status              : None\n");

    printMessage(MSG_BBU_FIRMWARE_FLAGS, hasBit(bits, VOLTAGE_LOW) ? "Low" : "OK",
                 hasBit(bits, TEMPERATURE_HIGH) ? "High" : "OK", yesNo(hasBit(bits, LEARN_REQUESTED)),
                 yesNo(hasBit(bits, LEARN_ACTIVE)), hasBit(bits, LEARN_FAILED) ? "Failed" : "OK",
                 yesNo(hasBit(bits, LEARN_TIMED_OUT)), yesNo(hasBit(bits, I2C_ERRORS)),
                 yesNo(hasBit(bits, PACK_MISSING)), yesNo(hasBit(bits, REPLACE_PACK)),
                 yesNo(hasBit(bits, CAPACITY_LOW)), yesNo(hasBit(bits, PERIODIC_LEARN)),
                 yesNo(hasBit(bits, TRANSPARENT_LEARN)), yesNo(hasBit(bits, NO_OFFLOAD_SPACE)),
                 yesNo(hasBit(bits, ABOUT_TO_FAIL)), yesNo(hasBit(bits, MICROCODE_UPDATE)));

    uint16_t gauge = status.gasGauge();
    if (showsGasGaugeWord(status)) {
        printMessage(MSG_TEXT, "\nBBU GasGauge Status: 0x");
        printMessage(MSG_HEX16, static_cast<unsigned>(gauge));
        printMessage(MSG_NEWLINE);
    } else if (showsGasGaugeFlags(status)) {
        const unsigned* b = GAS_GAUGE_FLAG_BITS;
        printMessage(MSG_NEWLINE);
        printMessage(MSG_NEWLINE);
        printMessage(MSG_BBU_GAS_GAUGE_FLAGS, yesNo(hasBit(gauge, b[0])), yesNo(hasBit(gauge, b[1])),
                     yesNo(hasBit(gauge, b[2])), yesNo(hasBit(gauge, b[3])), yesNo(hasBit(gauge, b[4])),
                     yesNo(hasBit(gauge, b[5])), yesNo(hasBit(gauge, b[6])), yesNo(hasBit(gauge, b[7])),
                     yesNo(hasBit(gauge, b[8])), yesNo(hasBit(gauge, b[9])));
    }

    uint8_t type = status.type();
    if (type == 1 || type == 3 || type == 4 || type == 5) {
        printMessage(MSG_BBU_GAS_GAUGE_READINGS, static_cast<int>(status.reading(0)),
                     static_cast<int>(status.reading(1)), static_cast<int>(status.reading(2)),
                     static_cast<int>(status.reading(3)), static_cast<int>(status.reading(4)),
                     static_cast<int>(status.reading(5)));
    } else if (type == 2) {
        uint16_t charger = status.chargerStatus() > LAST_CHARGER_STATUS ? LAST_CHARGER_STATUS : status.chargerStatus();
        printMessage(MSG_BBU_TYPE2_READINGS, static_cast<int>(status.relativeCharge()), CHARGER_STATUS_NAMES[charger],
                     static_cast<int>(status.remainingCapacity()), static_cast<int>(status.fullChargeCapacity()),
                     yesNo(status.healthGood()));
    } else if (type == 6) {
        printMessage(MSG_BBU_TYPE6_READINGS, status.packEnergy(), static_cast<int>(status.capacitance()),
                     static_cast<int>(status.reserveSpace()));
    }
}

// The mode the battery runs in, when it has one and the list describes it.
void AdpBbuCp::printDesignMode(CpController* cpController)
{
    uint8_t properties[ZprBbuProperties::SIZE];
    if (readRecord(cpController, DCMD_BBU_GET_PROPERTIES, properties, sizeof properties,
                   "Get BBU Properties Failed.") != 0)
        return;
    ModeList list;
    uint8_t result = getModeList(cpController, &list);
    uint8_t mode = ZprBbuProperties(properties, sizeof properties).bbuMode();
    if (mode == 0 || result != 0)
        return;
    ZprBbuModeList modes(list.bytes.get(), list.size);
    for (size_t i = 0; i < modes.count(); ++i) {
        if (modes.modeId(i) != mode)
            continue;
        char line[TEXT_SIZE];
        std::snprintf(line, sizeof line, "Design Mode  : %s retention with a %s learn cycle and %s service life.\n\n",
                      retentionText(modes.retentionHours(i), "24+ Hrs", "48+ Hrs", "12+ Hrs"),
                      modes.transparentLearn(i) ? "transparent" : "non-transparent",
                      serviceLifeText(modes.serviceLife(i)));
        printMessage(MSG_TEXT, line);
        return;
    }
}

int AdpBbuCp::showCapacityInfo(CpController* cpController, AdpBbuPo*)
{
    uint8_t capacity[ZprBbuCapacityInfo::SIZE];
    int result = readRecord(cpController, DCMD_BBU_GET_CAPACITY_INFO, capacity, sizeof capacity,
                            "Get BBU Capacity Info Failed.");
    if (result != 0)
        return result;
    uint8_t status[ZprBbuStatus::SIZE];
    result = readRecord(cpController, DCMD_BBU_GET_STATUS, status, sizeof status, "Get BBU Status Failed.");
    if (result != 0)
        return result;
    ZprBbuCapacityInfo info(capacity, sizeof capacity);
    printCapacityInfo(cpController, info);
    if (ZprBbuStatus(status, sizeof status).type() != 5) {
        printFormatted("%s = %d %%\n", "Max Error", info.maxError());
        printFormatted("%s = %d mAh\n", "Remaining Capacity Alarm", info.remainingCapacityAlarm());
        printFormatted("%s = %d Min\n", "Remining Time Alarm", info.remainingTimeAlarm());
    }
    return 0;
}

void AdpBbuCp::printCapacityInfo(CpController* cpController, const ZprBbuCapacityInfo& capacity)
{
    Adapter* adapter = refreshedAdapter(cpController);
    if (adapter == nullptr)
        return;
    int32_t oemId = 0;
    ignoreStatus(adapter->getOemId(&oemId), "an unread OEM id keeps 0: the common texts");

    const char* const notCharged = "Battery is not being charged. ";
    char runTime[TEXT_SIZE];
    char averageEmpty[TEXT_SIZE];
    char averageFull[TEXT_SIZE];
    const uint16_t none = ZprBbuCapacityInfo::TIME_NOT_APPLICABLE;
    std::snprintf(runTime, sizeof runTime, "%s", notCharged);
    std::snprintf(averageEmpty, sizeof averageEmpty, "%s", notCharged);
    std::snprintf(averageFull, sizeof averageFull, "%s", notCharged);
    if (capacity.runTimeToEmpty() != none)
        formatMinutes(capacity.runTimeToEmpty(), runTime, sizeof runTime);
    if (capacity.averageTimeToEmpty() != none)
        formatMinutes(capacity.averageTimeToEmpty(), averageEmpty, sizeof averageEmpty);
    if (capacity.averageTimeToFull() == 0 && oemId == OEM_ID_NO_FULL_CHARGE_TIME)
        std::snprintf(averageFull, sizeof averageFull, "%s", "N/A ");
    else if (capacity.averageTimeToFull() != none)
        formatMinutes(capacity.averageTimeToFull(), averageFull, sizeof averageFull);

    printMessage(MSG_BBU_CAPACITY_INFO, static_cast<int>(adapterNumber), static_cast<int>(capacity.relativeCharge()),
                 static_cast<int>(capacity.absoluteCharge()), static_cast<int>(capacity.remainingCapacity()),
                 static_cast<int>(capacity.fullChargeCapacity()), runTime, averageEmpty, averageFull,
                 static_cast<int>(capacity.cycleCount()));
}

int AdpBbuCp::showDesignInfo(CpController* cpController, AdpBbuPo*)
{
    uint8_t type = 0;
    if (getBatteryType(cpController, &type) != 0) {
        printAdapterText("Get BBU Status Info Failed.");
        return -1;
    }
    uint8_t fru[ZprMfcFruData::SIZE] = {};
    bool fruRead = sendDcmd(cpController, DCMD_ADP_MFC_GET_FRU_DATA, fru) == 0;
    uint8_t design[ZprBbuDesignInfo::SIZE];
    if (readRecord(cpController, DCMD_BBU_GET_DESIGN_INFO, design, sizeof design, "Get BBU Design Info Failed.") != 0)
        return -1;
    ZprMfcFruData fruData(fru, sizeof fru);
    printDesignInfo(ZprBbuDesignInfo(design, sizeof design), fruRead ? &fruData : nullptr, type);
    return 0;
}

void AdpBbuCp::printDesignInfo(const ZprBbuDesignInfo& design, const ZprMfcFruData* fru, uint8_t batteryType)
{
    char manufacturer[ZprBbuDesignInfo::MANUFACTURER_NAME_WIDTH + 1];
    char firmware[ZprBbuDesignInfo::MODULE_FW_VERSION_WIDTH + 1];
    char device[ZprBbuDesignInfo::DEVICE_NAME_WIDTH + 1];
    char chemistry[ZprBbuDesignInfo::DEVICE_CHEMISTRY_WIDTH + 1];
    char batteryFru[ZprMfcFruData::BATTERY_FRU_WIDTH + 1];
    char moduleFru[ZprMfcFruData::CACHE_MODULE_FRU_WIDTH + 1];
    design.manufacturerName(manufacturer, sizeof manufacturer);
    design.moduleFwVersion(firmware, sizeof firmware);
    design.deviceName(device, sizeof device);
    design.deviceChemistry(chemistry, sizeof chemistry);
    std::snprintf(batteryFru, sizeof batteryFru, "%s", "N/A");
    std::snprintf(moduleFru, sizeof moduleFru, "%s", "N/A");
    if (fru != nullptr && fru->hasBatteryFru())
        fru->batteryFru(batteryFru, sizeof batteryFru);
    if (fru != nullptr && fru->hasCacheModuleFru())
        fru->cacheModuleFru(moduleFru, sizeof moduleFru);
    for (char* shown : {manufacturer, firmware, device, chemistry, batteryFru, moduleFru})
        makePrintable(shown);

    int adapter = static_cast<int>(adapterNumber);
    if (batteryType == 6)
        printMessage(MSG_BBU_TYPE6_DESIGN_INFO, adapter, design.manufactureMonth(), design.manufactureDay(),
                     design.manufactureYear(), static_cast<int>(design.designCapacity()),
                     static_cast<int>(design.designVoltage()), static_cast<int>(design.serialNumber()), manufacturer,
                     firmware, device, chemistry, batteryFru, moduleFru);
    else
        printMessage(MSG_BBU_DESIGN_INFO, adapter, design.manufactureMonth(), design.manufactureDay(),
                     design.manufactureYear(), static_cast<int>(design.designCapacity()),
                     static_cast<int>(design.designVoltage()), static_cast<int>(design.specificationInfo()),
                     static_cast<int>(design.serialNumber()), static_cast<unsigned>(design.packStatConfig()),
                     manufacturer, firmware, device, chemistry, batteryFru);
    if (firmware[0] != '\0') {
        char line[TEXT_SIZE];
        std::snprintf(line, sizeof line, "Module Version = %s\n", firmware);
        printMessage(MSG_TEXT, line);
    }
    printFormatted("%s = %d\n", "  Transparent Learn", design.transparentLearn());
    printFormatted("%s = %d\n", "  App Data", design.appData());
}

int AdpBbuCp::readSettingsRecords(CpController* cpController, uint8_t* properties, uint8_t* status, uint8_t* design)
{
    if (readRecord(cpController, DCMD_BBU_GET_PROPERTIES, properties, ZprBbuProperties::SIZE,
                   "Get BBU Properties Failed.") != 0 ||
        readRecord(cpController, DCMD_BBU_GET_STATUS, status, ZprBbuStatus::SIZE, "Get BBU Status Failed.") != 0 ||
        readRecord(cpController, DCMD_BBU_GET_DESIGN_INFO, design, ZprBbuDesignInfo::SIZE, "Get BBU Design Info Failed.") != 0)
        return -1;
    return 0;
}

int AdpBbuCp::showProperties(CpController* cpController, AdpBbuPo*)
{
    uint8_t properties[ZprBbuProperties::SIZE];
    uint8_t status[ZprBbuStatus::SIZE];
    uint8_t design[ZprBbuDesignInfo::SIZE];
    if (readSettingsRecords(cpController, properties, status, design) != 0)
        return -1;
    ZprBbuDesignInfo designInfo(design, sizeof design);
    printProperties(ZprBbuProperties(properties, sizeof properties), ZprBbuStatus(status, sizeof status).type(),
                    designInfo.transparentLearn(), designInfo.modesSupported());
    return 0;
}

void AdpBbuCp::printProperties(const ZprBbuProperties& properties, uint8_t batteryType, uint8_t transparentLearn,
                               bool modesSupported)
{
    char nextLearn[TEXT_SIZE];
    if (properties.autoLearnMode() == ZprBbuProperties::AUTO_LEARN_ENABLED)
        formatControllerTime(properties.nextLearnTime(), nextLearn, sizeof nextLearn);
    else
        std::snprintf(nextLearn, sizeof nextLearn, "%s", "None");
    printMessage(MSG_BBU_PROPERTIES, static_cast<int>(adapterNumber),
                 static_cast<unsigned long>(properties.autoLearnPeriod() / 86400u), nextLearn,
                 static_cast<int>(properties.learnDelayInterval()),
                 learnModeText(properties.autoLearnMode(), transparentLearn));
    if (batteryType == 5 && modesSupported)
        printFormatted("%s%d\n", "  BBU Mode = ", properties.bbuMode());
}

int AdpBbuCp::showChargeTime(CpController* cpController, AdpBbuPo*)
{
    Adapter* adapter = refreshedAdapter(cpController);
    if (adapter == nullptr)
        return -1;
    int32_t oemId = 0;
    ignoreStatus(adapter->getOemId(&oemId), "an unread OEM id keeps 0: the common texts");
    uint8_t status[ZprBbuStatus::SIZE];
    if (readRecord(cpController, DCMD_BBU_GET_STATUS, status, sizeof status, "Get BBU ChargeTime Failed.") != 0) {
        printMessage(MSG_NEWLINE);
        return -1;
    }
    uint8_t hours = ZprBbuStatus(status, sizeof status).chargeTimeHours();
    if (oemId == OEM_ID_NO_FULL_CHARGE_TIME && hours == 0)
        printMessage(MSG_TEXT, "  Battery backup charge time : N/A");
    else if (hours <= MAX_CHARGE_HOURS)
        printFormatted("%s%d hours", "  Battery backup charge time : ", hours);
    else
        printMessage(MSG_TEXT, "  Battery backup charge time : 48 hours +");
    printMessage(MSG_NEWLINE);
    return 0;
}

int AdpBbuCp::showGasGaugeData(CpController* cpController, AdpBbuPo* request)
{
    const uint32_t mailbox[3] = {ZprBbuGasGaugeRead::MAILBOX_READ,
                                 request->getOffset() & ZprBbuGasGaugeRead::MAILBOX_OFFSET_MASK,
                                 request->getByteCount()};
    uint8_t reply[ZprBbuGasGaugeRead::REPLY_SIZE] = {};
    int status = sendPrivateDcmdWithMailbox(cpController, DCMD_ADP_BBU_RAW_READ, mailbox, reply, sizeof reply);
    printMessage(MSG_ADAPTER_HEADER, static_cast<int>(adapterNumber));
    printMessage(MSG_TEXT, "Data Received (in decimal) = ");
    printMessage(MSG_DECIMAL, static_cast<int>(ZprBbuGasGaugeRead(reply, sizeof reply).value()));
    printMessage(MSG_NEWLINE);
    return status;
}
