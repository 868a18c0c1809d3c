// The element status of an enclosure, as its SES pages report it: the configuration page (01h)
// says which element types the enclosure has and how many of each, the enclosure status page
// (02h) holds one 4-byte status element per element. Two records collect the elements that the
// two enclosure commands show: -EncStatus the slots, power supplies, fans, temperature sensors,
// alarms and SIM modules; -EncInfo the power supplies, fans, temperature and voltage sensors and
// the chassis.
//
// The records have room for a fixed number of elements (124 and 239). An enclosure that
// announces more keeps its counts, but its status page is not read: the displays then show the
// counts alone, never an element beyond the record.
#ifndef ENCLOSUREELEMENTSTATUS_H
#define ENCLOSUREELEMENTSTATUS_H

#include <cstddef>
#include <cstdint>

#include "RaidManager/Zpr/Records/Drive/ZprSesPages.h"

class CpController;
class EncInfoCp;
class PhysicalDevice;

// SES element type codes.
namespace SesElement {
const uint8_t DEVICE_SLOT = 0x01;
const uint8_t POWER_SUPPLY = 0x02;
const uint8_t COOLING = 0x03;
const uint8_t TEMPERATURE_SENSOR = 0x04;
const uint8_t AUDIBLE_ALARM = 0x06;
const uint8_t SES_ELECTRONICS = 0x07;   // enclosure services controller electronics: SIM modules
const uint8_t ENCLOSURE = 0x0E;         // shown as "Chassis"
const uint8_t VOLTAGE_SENSOR = 0x12;
const uint8_t ARRAY_DEVICE_SLOT = 0x17;
const uint8_t LAST_COUNTED = 25;        // -EncInfo counts the types 1 to 25
}  // namespace SesElement

// The configuration page as read, after four header words.
struct SesConfigBuffer {
    uint8_t bytes[ZprSesConfigBuffer::SIZE];

    ZprSesConfigPage page() const
    {
        return ZprSesConfigPage(LeView(bytes, sizeof bytes).sub(ZprSesConfigBuffer::PAGE, ZprSesConfigBuffer::PAGE_SIZE));
    }
};

// One element: its 4-byte status element as read and its status code (the low 4 bits of the
// element's first byte).
struct EnclElementEntry {
    uint8_t element[ZprSesPage::ELEMENT_SIZE];
    uint32_t statusCode;
};

// -EncStatus: the bytes needed (28 + 8 per element), the six counts, then the entries of the
// slots, power supplies, fans, temperature sensors, alarms and SIM modules in this order.
struct EnclStatusRecord {
    static const uint32_t SIZE = 1024;
    static const uint32_t HEADER_SIZE = 28;
    static const uint32_t ROOM = 124;
    enum Group { SLOTS, POWER_SUPPLIES, FANS, TEMPERATURE_SENSORS, ALARMS, SIM_MODULES, GROUPS };

    uint32_t bytesNeeded;
    uint32_t counts[GROUPS];
    EnclElementEntry entries[ROOM];

    // True when the counts fit the record, and the entries were read.
    bool holdsEntries() const { return bytesNeeded <= SIZE; }
    // The entry of the group's `index`-th element; null beyond the record.
    const EnclElementEntry* entry(Group group, uint32_t index) const;
    EnclElementEntry* entry(Group group, uint32_t index);
};

// -EncInfo: the bytes needed, the element count of each type 1-25, then the entries of all
// these types in type order, each type taking as many as its count.
struct EnclStatusExRecord {
    static const uint32_t SIZE = 2048;
    static const uint32_t HEADER_SIZE = 28;
    static const uint32_t ROOM = 239;

    uint32_t bytesNeeded;
    uint8_t counts[SesElement::LAST_COUNTED + 1];   // by element type; [0] unused
    uint32_t elements;                              // the sum of the counts
    EnclElementEntry entries[ROOM];

    bool holdsEntries() const { return elements <= ROOM; }
    const EnclElementEntry* entry(uint8_t type, uint32_t index) const;
    EnclElementEntry* entry(uint8_t type, uint32_t index);
};

// The page offset of the `index`-th status element of `type` (0: none, see ZprSesConfigPage).
uint16_t SESEnclGetElemOffset(const SesConfigBuffer& config, uint8_t type, uint32_t index);

// -EncStatus: reads the enclosure's pages and fills the record (zeroed by the caller). 0, or the
// status of a failed page read (reported on standard output too).
int GetEnclStatusFunc(EncInfoCp* processor, uint8_t adapterNumber, uint16_t deviceId, uint32_t recordSize,
                      EnclStatusRecord* record, CpController* cpController);
// -EncInfo: the same for the information record.
int GetEnclStatusExFunc(EncInfoCp* processor, uint8_t adapterNumber, uint16_t deviceId, uint32_t recordSize,
                        EnclStatusExRecord* record, CpController* cpController);
// The information record's entries from the status page; an element not found ends its type
// with a diagnostic line on standard output. 0.
int FillEnclStatus(const SesConfigBuffer& config, EnclStatusExRecord* record, const uint8_t* statusPage,
                   size_t pageSize);

#endif
