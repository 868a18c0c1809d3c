#include "CpMgmt/CmdPro/Drive/EnclosureElementStatus.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/Drive/EncInfoCp.h"
#include "CpMgmt/CmdPro/ScsiPassThrough.h"
#include "DataProvider/DpParams.h"

namespace {

// The status page is read into a buffer as large as the record it fills.
const uint16_t STATUS_PAGE_SIZE = 1024;
const uint16_t STATUS_PAGE_SIZE_EX = 2048;

// A diagnostic line that goes straight to standard output, past the printer (not paged, not in
// the console log); what the printer wrote before it is flushed first.
void printToStdout(const char* format, ...) __attribute__((format(printf, 1, 2)));
void printToStdout(const char* format, ...)
{
    std::fflush(stdout);
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

// The status element of `type`'s `index`-th element into `entry`; false when the configuration
// page has no such element or the status page does not hold it.
bool copyElement(const SesConfigBuffer& config, const ZprSesStatusPage& page, uint8_t type, uint32_t index,
                 EnclElementEntry* entry)
{
    uint8_t element[ZprSesPage::ELEMENT_SIZE];
    if (!page.element(SESEnclGetElemOffset(config, type, index), element))
        return false;
    memcpy(entry->element, element, sizeof element);
    entry->statusCode = element[ZprSesStatusPage::STATUS_CODE] & ZprSesStatusPage::STATUS_CODE_MASK;
    return true;
}

// The -EncStatus groups and the element type each is filled from (the slots come last, from
// two types).
struct GroupType {
    EnclStatusRecord::Group group;
    uint8_t type;
};
const GroupType STATUS_FILL_ORDER[] = {
    {EnclStatusRecord::POWER_SUPPLIES, SesElement::POWER_SUPPLY},
    {EnclStatusRecord::FANS, SesElement::COOLING},
    {EnclStatusRecord::TEMPERATURE_SENSORS, SesElement::TEMPERATURE_SENSOR},
    {EnclStatusRecord::ALARMS, SesElement::AUDIBLE_ALARM},
    {EnclStatusRecord::SIM_MODULES, SesElement::SES_ELECTRONICS},
    {EnclStatusRecord::SLOTS, SesElement::ARRAY_DEVICE_SLOT},
    {EnclStatusRecord::SLOTS, SesElement::DEVICE_SLOT},
};

// The -EncInfo types in fill order, with the diagnostic of an element not found (none for the
// voltage sensors).
struct FilledType {
    uint8_t type;
    const char* missing;
};
const FilledType INFO_FILL_ORDER[] = {
    {SesElement::POWER_SUPPLY, "FillEnclStatus: SESEnclGetElemOffset returned 0 for PowerSupply %d!!!\n"},
    {SesElement::COOLING, "FillEnclStatus: SESEnclGetElemOffset returned 0 for Cooling fans %d!!!\n"},
    {SesElement::TEMPERATURE_SENSOR, "FillEnclStatus: SESEnclGetElemOffset returned 0 for temp sensor %d!!!\n"},
    {SesElement::VOLTAGE_SENSOR, nullptr},
    {SesElement::ENCLOSURE, "FillEnclStatus: SESEnclGetElemOffset returned 0 for SES Ctrl Electronics %d!!!\n"},
};

// The -EncStatus group an element type counts in; GROUPS for the types it does not show.
EnclStatusRecord::Group groupOf(uint8_t type)
{
    switch (type) {
    case SesElement::DEVICE_SLOT:
    case SesElement::ARRAY_DEVICE_SLOT:
        return EnclStatusRecord::SLOTS;
    case SesElement::POWER_SUPPLY:
        return EnclStatusRecord::POWER_SUPPLIES;
    case SesElement::COOLING:
        return EnclStatusRecord::FANS;
    case SesElement::TEMPERATURE_SENSOR:
        return EnclStatusRecord::TEMPERATURE_SENSORS;
    case SesElement::AUDIBLE_ALARM:
        return EnclStatusRecord::ALARMS;
    case SesElement::SES_ELECTRONICS:
        return EnclStatusRecord::SIM_MODULES;
    default:
        return EnclStatusRecord::GROUPS;
    }
}

// A zeroed page buffer; null when it cannot be had.
std::unique_ptr<uint8_t[]> newPage(size_t size)
{
    std::unique_ptr<uint8_t[]> page(new (std::nothrow) uint8_t[size]);
    if (page)
        memset(page.get(), 0, size);
    return page;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The records.

EnclElementEntry* EnclStatusRecord::entry(Group group, uint32_t index)
{
    uint32_t at = index;
    for (int g = SLOTS; g < group; ++g)
        at += counts[g];
    return group < GROUPS && index < counts[group] && at < ROOM ? &entries[at] : nullptr;
}

const EnclElementEntry* EnclStatusRecord::entry(Group group, uint32_t index) const
{
    return const_cast<EnclStatusRecord*>(this)->entry(group, index);
}

EnclElementEntry* EnclStatusExRecord::entry(uint8_t type, uint32_t index)
{
    if (type == 0 || type > SesElement::LAST_COUNTED || index >= counts[type])
        return nullptr;
    uint32_t at = index;
    for (uint8_t t = 1; t < type; ++t)
        at += counts[t];
    return at < ROOM ? &entries[at] : nullptr;
}

const EnclElementEntry* EnclStatusExRecord::entry(uint8_t type, uint32_t index) const
{
    return const_cast<EnclStatusExRecord*>(this)->entry(type, index);
}

// ---------------------------------------------------------------------------------------------
// Reading the pages.

uint16_t SESEnclGetElemOffset(const SesConfigBuffer& config, uint8_t type, uint32_t index)
{
    return config.page().elementOffset(type, index);
}

int EncInfoCp::receiveDiagnostic(CpController* cpController, uint16_t deviceId, uint8_t pageCode, uint8_t* buffer,
                                 uint16_t allocation)
{
    std::unique_ptr<uint8_t[]> data = newPage(allocation);
    if (!data)
        return -1;
    uint8_t cdb[ZprReceiveDiagnosticCdb::SIZE];
    ZprReceiveDiagnosticCdb::build(cdb, pageCode, allocation);
    const int status = sendScsiPassThrough(cpController, static_cast<uint8_t>(deviceId), DP_DIRECTION_READ, cdb,
                                           sizeof cdb, data.get(), allocation);
    if (status == 0)
        memcpy(buffer, data.get(), allocation);
    return status;
}

int EncInfoCp::readConfigurationPage(uint8_t /*adapterNumber*/, uint16_t deviceId, SesConfigBuffer* buffer,
                                     CpController* cpController)
{
    memset(buffer->bytes, 0, sizeof buffer->bytes);
    const int status = receiveDiagnostic(cpController, deviceId, ZprSesConfigPage::CODE,
                                         buffer->bytes + ZprSesConfigBuffer::PAGE, ZprSesConfigBuffer::PAGE_SIZE);
    if (status != 0) {
        printMessage(MSG_SES_PAGE_READ_FAILED, ZprSesConfigPage::CODE, static_cast<int>(deviceId), status);
        return status;
    }
    LeView words(buffer->bytes, ZprSesConfigBuffer::PAGE);
    const ZprSesConfigPage page = buffer->page();
    words.setU32(ZprSesConfigBuffer::TYPE_HEADERS_OFFSET, static_cast<uint32_t>(page.typeHeadersOffset()));
    words.setU32(ZprSesConfigBuffer::TYPE_HEADERS, page.typeHeaderCount());
    return 0;
}

int EncInfoCp::fillEnclStatusRecord(const SesConfigBuffer& config, EnclStatusRecord* record,
                                    const uint8_t* statusPage, size_t pageSize)
{
    const ZprSesStatusPage page(LeView(statusPage, pageSize));
    for (const GroupType& g : STATUS_FILL_ORDER)
        for (uint32_t i = 0; i < record->counts[g.group]; ++i) {
            EnclElementEntry* entry = record->entry(g.group, i);
            if (entry == nullptr || !copyElement(config, page, g.type, i, entry))
                break;
        }
    return 0;
}

int FillEnclStatus(const SesConfigBuffer& config, EnclStatusExRecord* record, const uint8_t* statusPage,
                   size_t pageSize)
{
    const ZprSesStatusPage page(LeView(statusPage, pageSize));
    for (const FilledType& f : INFO_FILL_ORDER)
        for (uint32_t i = 0; i < record->counts[f.type]; ++i) {
            EnclElementEntry* entry = record->entry(f.type, i);
            if (entry == nullptr || !copyElement(config, page, f.type, i, entry)) {
                if (f.missing != nullptr)
                    printToStdout(f.missing, static_cast<int>(i));
                break;
            }
        }
    return 0;
}

int GetEnclStatusFunc(EncInfoCp*, uint8_t adapterNumber, uint16_t deviceId, uint32_t recordSize,
                      EnclStatusRecord* record, CpController* cpController)
{
    const char* const failed = "GetEnclStatusFunc: Receive Diagnostic for page code %d failed!!! Encl Dev Id %d, "
                               "rval 0x%X\n";
    SesConfigBuffer config;
    int status = EncInfoCp::readConfigurationPage(adapterNumber, deviceId, &config, cpController);
    if (status != 0) {
        printToStdout(failed, ZprSesConfigPage::CODE, static_cast<int>(deviceId), static_cast<unsigned>(status));
        return status;
    }
    const ZprSesConfigPage page = config.page();
    const uint32_t headers = page.typeHeaderCount();
    for (uint32_t t = 0; t < headers; ++t) {
        const EnclStatusRecord::Group group = groupOf(page.elementType(t));
        if (group != EnclStatusRecord::GROUPS)
            record->counts[group] = page.elementCount(t);
    }
    uint32_t elements = 0;
    for (uint32_t count : record->counts)
        elements += count;
    record->bytesNeeded = EnclStatusRecord::HEADER_SIZE + 8 * elements;
    if (record->bytesNeeded > recordSize || !record->holdsEntries())
        return 0;

    std::unique_ptr<uint8_t[]> statusPage = newPage(STATUS_PAGE_SIZE);
    if (!statusPage)
        return -1;
    status = EncInfoCp::receiveDiagnostic(cpController, deviceId, ZprSesStatusPage::CODE, statusPage.get(),
                                          STATUS_PAGE_SIZE);
    if (status != 0) {
        printToStdout(failed, ZprSesStatusPage::CODE, static_cast<int>(deviceId), static_cast<unsigned>(status));
        return status;
    }
    return EncInfoCp::fillEnclStatusRecord(config, record, statusPage.get(), STATUS_PAGE_SIZE);
}

int GetEnclStatusExFunc(EncInfoCp*, uint8_t adapterNumber, uint16_t deviceId, uint32_t recordSize,
                        EnclStatusExRecord* record, CpController* cpController)
{
    SesConfigBuffer config;
    int status = EncInfoCp::readConfigurationPage(adapterNumber, deviceId, &config, cpController);
    if (status != 0) {
        printMessage(MSG_SES_PAGE_READ_FAILED, ZprSesConfigPage::CODE, static_cast<int>(deviceId), status);
        return status;
    }
    const ZprSesConfigPage page = config.page();
    const uint32_t headers = page.typeHeaderCount();
    for (uint32_t t = 0; t < headers; ++t) {
        const uint8_t type = page.elementType(t);
        if (type >= 1 && type <= SesElement::LAST_COUNTED)
            record->counts[type] = page.elementCount(t);
    }
    record->elements = 0;
    for (uint8_t type = 1; type <= SesElement::LAST_COUNTED; ++type)
        record->elements += record->counts[type];
    record->bytesNeeded = EnclStatusExRecord::HEADER_SIZE + 8 * record->elements;
    if (!record->holdsEntries() || record->bytesNeeded > recordSize)
        return 0;

    std::unique_ptr<uint8_t[]> statusPage = newPage(STATUS_PAGE_SIZE_EX);
    if (!statusPage) {
        printMessage(MSG_TEXT, "GetEnclExStatusFunc : Memory Alloc failed\n");
        return -1;
    }
    status = EncInfoCp::receiveDiagnostic(cpController, deviceId, ZprSesStatusPage::CODE, statusPage.get(),
                                          STATUS_PAGE_SIZE_EX);
    if (status != 0) {
        printMessage(MSG_SES_PAGE_READ_FAILED, ZprSesStatusPage::CODE, static_cast<int>(deviceId), status);
        return status;
    }
    return FillEnclStatus(config, record, statusPage.get(), STATUS_PAGE_SIZE_EX);
}
