// The two displays of an enclosure's element status: -EncStatus (slots, power supplies, fans,
// temperature sensors, alarms, SIM modules) and the status part of -EncInfo (voltage sensors,
// power supplies, fans, temperature sensors, chassis). Numbers go through message 3 ("%d "),
// texts through message 1.
#include "CpMgmt/CmdPro/Drive/EncInfoCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"

namespace {

// Status element bytes that the displays decode.
const size_t BYTE_1 = 1;
const size_t BYTE_2 = 2;
const size_t BYTE_3 = 3;
const uint8_t FAN_SPEED_MASK = 0x07;
const int TEMPERATURE_OFFSET = 20;     // the byte holds degrees Celsius + 20
const uint32_t STATUS_NOT_INSTALLED = 5;

const char* const STATUS_TEXTS[] = {
    "Unsupported\n", "OK\n", "Critical\n", "Non Critical\n", "Unrecoverable\n", "Not Installed\n", "Unknown\n",
    "Not Available\n",
};
const char* const INVALID_STATUS = "INVALID STATUS VALUE\n";

// A line shown when one bit of the status element is set.
struct BitLine {
    size_t byte;
    unsigned bit;
    const char* text;
};

const BitLine POWER_SUPPLY_LINES[] = {
    {BYTE_3, 0, "Power Supply           : DC Failed \n"},
    {BYTE_3, 1, "Power Supply           : AC Failed \n"},
    {BYTE_3, 4, "Power Supply           : Device is Off \n"},
    {BYTE_3, 3, "Power Supply           : Over Temperature Failed \n"},
    {BYTE_2, 1, "Power Supply           : DC Over Current \n"},
    {BYTE_2, 2, "Power Supply           : DC Under Voltage \n"},
    {BYTE_2, 3, "Power Supply           : DC Over Voltage \n"},
};
const BitLine ALARM_LINES[] = {
    {BYTE_3, 6, "Alarm Status             :Alarm Muted\n"},
    {BYTE_3, 1, "Alarm Status             :Critical Sound if Alarm Not Muted\n"},
    {BYTE_3, 2, "Alarm Status             :Non Critical Sound if Alarm Not Muted\n"},
};
const BitLine SIM_LINES[] = {
    {BYTE_2, 0, "SIM                          :Report set\n"},
};
const BitLine VOLTAGE_LINES[] = {
    {BYTE_1, 1, "Voltage Sensor                :Crit Over\n"},
    {BYTE_1, 0, "Voltage Sensor                :Crit Under\n"},
    {BYTE_1, 3, "voltage Sensor                :Warn Over\n"},
    {BYTE_1, 2, "Voltage Sensor                :Warn Under\n"},
};

// Fan speed codes (byte 3 bits 0-2) that have a line; other codes have none.
struct FanSpeed {
    uint8_t code;
    const char* text;
};
const FanSpeed FAN_SPEEDS[] = {
    {1, "Fan Speed              :Low Speed\n"},
    {4, "Fan Speed              :Medium Speed\n"},
    {7, "Fan Speed              :High Speed\n"},
};

enum class Decoding { NONE, POWER_SUPPLY, FAN, TEMPERATURE, ALARM, SIM };

struct GroupText {
    const char* countLabel;
    const char* itemLabel;
    const char* statusLabel;
    Decoding decoding;
};

// In the order of EnclStatusRecord::Group.
const GroupText GROUPS[] = {
    {"Number of Slots              : ", "Slot                         : ", "Slot Status                  : ",
     Decoding::NONE},
    {"Number of Power Supplies     : ", "Power Supply                 : ", "Power Supply Status          : ",
     Decoding::POWER_SUPPLY},
    {"Number of Fans               : ", "Fan                          : ", "Fan Status                   : ",
     Decoding::FAN},
    {"Number of Temperature Sensors : ", "Temp Sensor                  : ", "Temperature Sensor Status    : ",
     Decoding::TEMPERATURE},
    {"Number of Alarms             : ", "Alarm                        : ", "Alarm Status                 : ",
     Decoding::ALARM},
    {"Number of SIM Modules        : ", "SIM Module                   : ", "SIM Module Status            :",
     Decoding::SIM},
};

void text(const char* t) { printMessage(MSG_TEXT, t); }
void number(long n) { printMessage(MSG_DECIMAL, static_cast<int>(n)); }

template <size_t N>
void showBitLines(const BitLine (&lines)[N], const EnclElementEntry& entry)
{
    for (const BitLine& line : lines)
        if ((entry.element[line.byte] >> line.bit) & 1u)
            text(line.text);
}

void decode(Decoding decoding, const EnclElementEntry& entry)
{
    switch (decoding) {
    case Decoding::POWER_SUPPLY:
        showBitLines(POWER_SUPPLY_LINES, entry);
        break;
    case Decoding::FAN:
        for (const FanSpeed& speed : FAN_SPEEDS)
            if ((entry.element[BYTE_3] & FAN_SPEED_MASK) == speed.code)
                text(speed.text);
        break;
    case Decoding::TEMPERATURE: {
        // The value stays in 8 bits; "not installed" shows the raw byte.
        const uint8_t raw = entry.element[BYTE_2];
        const uint8_t shown =
            entry.statusCode == STATUS_NOT_INSTALLED ? raw : static_cast<uint8_t>(raw - TEMPERATURE_OFFSET);
        text("Temperature                  : ");
        number(shown);
        text("\n");
        break;
    }
    case Decoding::ALARM:
        showBitLines(ALARM_LINES, entry);
        break;
    case Decoding::SIM:
        showBitLines(SIM_LINES, entry);
        break;
    case Decoding::NONE:
        break;
    }
}

// A group: its count line, then each element when the record holds them (`first` is the
// group's first entry, null when the record holds none).
void showGroup(const GroupText& group, uint32_t count, const EnclElementEntry* first)
{
    text(group.countLabel);
    number(count);
    text("\n\n");
    if (first == nullptr)
        return;
    for (uint32_t i = 0; i < count; ++i) {
        text(group.itemLabel);
        number(i);
        text("\n");
        decode(group.decoding, first[i]);
        text(group.statusLabel);
        EncInfoCp::showElementStatus(first[i].statusCode);
        text("\n");
    }
}

// The record's first entry of a type, or null when the record holds no entries of it.
const EnclElementEntry* firstOf(const EnclStatusExRecord& record, uint8_t type)
{
    return record.holdsEntries() ? record.entry(type, 0) : nullptr;
}

void showVoltageSensors(const EnclStatusExRecord& record)
{
    const uint32_t count = record.counts[SesElement::VOLTAGE_SENSOR];
    printMessage(MSG_SES_VOLTAGE_COUNT, static_cast<int>(count));
    const EnclElementEntry* first = firstOf(record, SesElement::VOLTAGE_SENSOR);
    if (first == nullptr)
        return;
    for (uint32_t i = 0; i < count; ++i) {
        const EnclElementEntry& entry = first[i];
        printMessage(MSG_SES_VOLTAGE_SENSOR, static_cast<int>(i));
        showBitLines(VOLTAGE_LINES, entry);
        text("Voltage Sensor Status             :");
        EncInfoCp::showElementStatus(entry.statusCode);
        // Bytes 2-3: a big-endian signed voltage in units of 10 mV.
        const int16_t value = static_cast<int16_t>((entry.element[BYTE_2] << 8) | entry.element[BYTE_3]);
        if (value >= 0)
            printMessage(MSG_SES_VOLTAGE_VALUE, static_cast<unsigned>(value) * 10u);
        else
            printMessage(MSG_SES_VOLTAGE_NEGATIVE, static_cast<unsigned>(-static_cast<int>(value)) * 10u);
    }
}

void showChassis(const EnclStatusExRecord& record)
{
    const uint32_t count = record.counts[SesElement::ENCLOSURE];
    text("Number of Chassis             : ");
    number(count);
    const EnclElementEntry* first = firstOf(record, SesElement::ENCLOSURE);
    if (first == nullptr)
        return;
    for (uint32_t i = 0; i < count; ++i) {
        text("Chassis                      : ");
        number(i);
        text("\n");
        text("Chassis Status               : ");
        EncInfoCp::showElementStatus(first[i].statusCode);
        text("\n");
    }
}

}  // namespace

void EncInfoCp::showElementStatus(uint32_t code)
{
    text(code < sizeof STATUS_TEXTS / sizeof STATUS_TEXTS[0] ? STATUS_TEXTS[code] : INVALID_STATUS);
}

void EncInfoCp::printEnclStatus(const EnclStatusRecord& record)
{
    text("\n\n");
    for (int g = EnclStatusRecord::SLOTS; g < EnclStatusRecord::GROUPS; ++g) {
        const EnclStatusRecord::Group group = static_cast<EnclStatusRecord::Group>(g);
        showGroup(GROUPS[g], record.counts[g], record.holdsEntries() ? record.entry(group, 0) : nullptr);
    }
}

void EncInfoCp::printEnclStatusEx(const EnclStatusExRecord& record)
{
    showVoltageSensors(record);
    showGroup(GROUPS[EnclStatusRecord::POWER_SUPPLIES], record.counts[SesElement::POWER_SUPPLY],
              firstOf(record, SesElement::POWER_SUPPLY));
    showGroup(GROUPS[EnclStatusRecord::FANS], record.counts[SesElement::COOLING], firstOf(record, SesElement::COOLING));
    showGroup(GROUPS[EnclStatusRecord::TEMPERATURE_SENSORS], record.counts[SesElement::TEMPERATURE_SENSOR],
              firstOf(record, SesElement::TEMPERATURE_SENSOR));
    showChassis(record);
}
