// The battery backup unit's status record, read with DCMD_BBU_GET_STATUS: the battery's type
// and readings, the firmware's status bits about it, the gas gauge's word and the backup charge
// time. The twelve bytes from 34 hold readings whose meaning depends on the battery type.
#ifndef ZPRBBUSTATUS_H
#define ZPRBBUSTATUS_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprBbuStatus {
public:
    static constexpr size_t SIZE = 64;

    static constexpr size_t TYPE = 0;              // 0 no battery, 1-6 the maker's packs
    static constexpr uint8_t TYPE_WITH_MODES = 5;        // a pack with learn modes to choose from
    static constexpr uint8_t TYPE_CAPACITOR_MODULE = 6;
    static constexpr size_t VARIANT = 1;
    static constexpr size_t VOLTAGE = 2;           // u16, mV
    static constexpr size_t CURRENT = 4;           // i16, mA
    static constexpr size_t TEMPERATURE = 6;       // u16, degrees Celsius
    static constexpr size_t FIRMWARE_STATUS = 8;   // u32 of status bits
    static constexpr size_t GAS_GAUGE = 32;        // u16
    static constexpr size_t READINGS = 34;         // six u16 readings of the gas-gauge batteries
    static constexpr size_t READING_COUNT = 6;
    static constexpr size_t CHARGE_TIME = 46;      // hours

    // Readings of a type-2 battery.
    static constexpr size_t RELATIVE_CHARGE = 34;
    static constexpr size_t CHARGER_STATUS = 36;
    static constexpr size_t REMAINING_CAPACITY = 38;
    static constexpr size_t FULL_CHARGE_CAPACITY = 40;
    static constexpr size_t HEALTH_GOOD = 42;      // byte

    // The cell-pack readings as the diagnostic report names them (u16 each).
    static constexpr size_t CELLPAK_RELATIVE_CHARGE = 34;
    static constexpr size_t CELLPAK_CHARGING_CURRENT = 40;
    static constexpr size_t CELLPAK_ABSOLUTE_CHARGE = 42;

    // Readings of a type-6 battery (over the gas-gauge word and the readings).
    static constexpr size_t PACK_ENERGY_LOW = 32;
    static constexpr size_t CAPACITANCE = 33;
    static constexpr size_t RESERVE_SPACE = 34;
    static constexpr size_t PACK_ENERGY_HIGH = 35;

    explicit ZprBbuStatus(const LeView& bytes) : bytes(bytes) {}
    ZprBbuStatus(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint8_t type() const { return bytes.u8(TYPE); }
    uint8_t variant() const { return bytes.u8(VARIANT); }
    uint16_t voltage() const { return bytes.u16(VOLTAGE); }
    int16_t current() const { return static_cast<int16_t>(bytes.u16(CURRENT)); }
    uint16_t temperature() const { return bytes.u16(TEMPERATURE); }
    uint32_t firmwareStatus() const { return bytes.u32(FIRMWARE_STATUS); }
    bool statusBit(unsigned bit) const { return bit < 32 && ((firmwareStatus() >> bit) & 1u) != 0; }
    uint16_t gasGauge() const { return bytes.u16(GAS_GAUGE); }
    // Reading `index` (0-5) of the gas-gauge batteries.
    uint16_t reading(size_t index) const { return index < READING_COUNT ? bytes.u16(READINGS + 2 * index) : 0; }
    uint8_t chargeTimeHours() const { return bytes.u8(CHARGE_TIME); }

    uint16_t relativeCharge() const { return bytes.u16(RELATIVE_CHARGE); }
    uint16_t chargerStatus() const { return bytes.u16(CHARGER_STATUS); }
    uint16_t remainingCapacity() const { return bytes.u16(REMAINING_CAPACITY); }
    uint16_t fullChargeCapacity() const { return bytes.u16(FULL_CHARGE_CAPACITY); }
    bool healthGood() const { return bytes.u8(HEALTH_GOOD) != 0; }

    int packEnergy() const { return bytes.u8(PACK_ENERGY_HIGH) * 256 + bytes.u8(PACK_ENERGY_LOW); }
    uint8_t capacitance() const { return bytes.u8(CAPACITANCE); }
    uint8_t reserveSpace() const { return bytes.u8(RESERVE_SPACE); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
