// The all-in-one report's event history: the controller's event-log sequence numbers, then
// every event from the oldest to the newest in the report's own short line, read in batches.
#include "CpMgmt/CmdPro/Reports/AdpAlIInLogCp.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "PavUtil/PrintableText.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Event/ZprEventFilter.h"
#include "RaidManager/Zpr/Records/Event/ZprEventList.h"
#include "RaidManager/Zpr/Records/Event/ZprEventLogInfo.h"
#include "RaidManager/Zpr/Records/Event/ZprEventRecord.h"
#include "RaidManager/Zpr/Records/ZprTimeStamp.h"

namespace {

// Events asked for in one request.
const uint32_t EVENT_BATCH = 32;
const uint32_t SECONDS_PER_DAY = 86400;
const char* const SENSE_MARK = "Sense:";
// The description keeps "Sense:" and the character after it.
const size_t SENSE_MARK_KEPT = 7;

const char* const CLASS_NAMES[] = {"DEBUG", "BG Work", "Info", "WARNING", "CRITICAL", "FATAL", "DEAD"};
const int FIRST_CLASS = -2;

const int DAYS_IN_MONTH[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

std::string classText(int8_t eventClass)
{
    char text[32];
    const int index = eventClass - FIRST_CLASS;
    if (index >= 0 && index < static_cast<int>(sizeof CLASS_NAMES / sizeof CLASS_NAMES[0]))
        snprintf(text, sizeof text, "%s:", CLASS_NAMES[index]);
    else
        snprintf(text, sizeof text, "%s %-2X:", "UNDEF-", static_cast<unsigned>(static_cast<int>(eventClass)));
    return text;
}

// One event's line: number, time, class, description (with the sense bytes of an event that
// carries a command block and its sense data).
std::string eventLine(const uint8_t* record, uint32_t number)
{
    const ZprEventRecord event(record);
    const LeView& bytes = event.view();
    char text[ZprEventRecord::DESCRIPTION_SIZE + 1];
    snprintf(text, sizeof text, "%u: ", number);
    std::string line = text;
    AdpAlIInLogCp::formatEventTime(event.timeStamp(), text, sizeof text);
    line += text;
    line += classText(event.eventClass());
    bytes.readText(ZprEventRecord::DESCRIPTION, ZprEventRecord::DESCRIPTION_SIZE, text, sizeof text);
    makePrintable(text);
    if (event.argType() != ZprEventRecord::ARG_TYPE_CDB_SENSE) {
        line += text;
        line += "\n";
        return line;
    }
    const char* mark = std::strstr(text, SENSE_MARK);
    if (mark != nullptr && static_cast<size_t>(mark - text) + SENSE_MARK_KEPT < std::strlen(text))
        text[(mark - text) + SENSE_MARK_KEPT] = '\0';
    line += text;
    uint32_t senseLength = bytes.u8(ZprEventRecord::SENSE_LENGTH);
    if (senseLength > ZprEventRecord::SENSE_DATA_SIZE)
        senseLength = ZprEventRecord::SENSE_DATA_SIZE;
    for (uint32_t i = 0; i < senseLength; ++i) {
        char hex[8];
        snprintf(hex, sizeof hex, "%02X ", bytes.u8(ZprEventRecord::SENSE_DATA + i));
        line += hex;
    }
    line += "\n";
    return line;
}

void printSequenceLine(const char* label, uint32_t value)
{
    char text[96];
    snprintf(text, sizeof text, "\n%-40s : %lu", label, static_cast<unsigned long>(value));
    printMessage(MSG_TEXT, text);
}

} // namespace

int isLeapYear(int year)
{
    return (year % 400 == 0 || (year % 4 == 0 && year % 100 != 0)) ? 1 : 0;
}

int AdpAlIInLogCp::formatEventTime(uint32_t stamp, char* text, size_t size)
{
    if (isSinceBootStamp(stamp)) {
        const uint32_t seconds = secondsSinceBoot(stamp);
        snprintf(text, size, "%d:%d:%d ", static_cast<int>(seconds / SECONDS_PER_DAY),
                 static_cast<int>(seconds % SECONDS_PER_DAY / 3600), static_cast<int>(seconds % 3600 / 60));
        return 0;
    }
    uint32_t days = stamp / SECONDS_PER_DAY;
    const uint32_t rest = stamp % SECONDS_PER_DAY;
    int year = STAMP_EPOCH_YEAR;
    while (days >= static_cast<uint32_t>(365 + isLeapYear(year))) {
        days -= 365 + isLeapYear(year);
        ++year;
    }
    int month = 0;
    for (; month < 11; ++month) {
        const uint32_t inMonth = DAYS_IN_MONTH[month] + (month == 1 ? isLeapYear(year) : 0);
        if (days < inMonth)
            break;
        days -= inMonth;
    }
    snprintf(text, size, "%02d-%02d-%02d,%02d:%02d:%02d ", year - STAMP_EPOCH_YEAR, month + 1, static_cast<int>(days) + 1,
             static_cast<int>(rest / 3600), static_cast<int>(rest % 3600 / 60), static_cast<int>(rest % 60));
    return 0;
}

int AdpAlIInLogCp::printEventHistory(CpController* cpController)
{
    const int n = adapterNumberOf(cpController);
    if (raidManager == nullptr) {
        printMessage(MSG_RM_INSTANCE_FAILED, n);
        return -1;
    }
    if (refreshModel(raidManager, static_cast<uint8_t>(n)) != 0)
        return -1;
    Adapter* adapter = takeAdapter(raidManager, static_cast<uint8_t>(n));
    if (adapter == nullptr)
        return -1;
    const uint8_t* record = nullptr;
    int status = adapter->getEventLogInfo(&record);
    if (status != 0)
        return status;
    const ZprEventLogInfo info(record, ZprEventLogInfo::SIZE);
    printMessage(MSG_TEXT, "                            NVRAM Event History");
    printMessage(MSG_TEXT, "\n                           ===================");
    printMessage(MSG_NEWLINE);
    printMessage(MSG_NEWLINE);
    printMessage(MSG_TEXT, "EVENT SEQUENCE INFORMATION");
    printMessage(MSG_TEXT, "\n--------------------------");
    printSequenceLine("Sequence # of newest event in the log", info.newest());
    printSequenceLine("Sequence # of oldest event in the log", info.oldest());
    printSequenceLine("Sequence # of last log clear", info.clear());
    printSequenceLine("Sequence # of last clean shutdown", info.shutdown());
    printSequenceLine("Sequence # of this session boot", info.reboot());
    printMessage(MSG_NEWLINE);
    printMessage(MSG_TEXT, "EVENT DETAILS");
    printMessage(MSG_TEXT, "\n------------\n");
    uint32_t start = info.oldest();
    int32_t remaining = static_cast<int32_t>(info.newest() - info.oldest() + 1);
    while (remaining > 0) {
        const uint32_t asked = remaining > static_cast<int32_t>(EVENT_BATCH) ? EVENT_BATCH : static_cast<uint32_t>(remaining);
        const uint32_t size = ZprEventList::sizeFor(asked);
        uint8_t* buffer = new (std::nothrow) uint8_t[size]();
        if (buffer == nullptr)
            return -1;
        status = adapter->getEvents(start, buffer, size, EVENT_FILTER_FROM_INFO);
        if (status != 0) {
            delete[] buffer;
            return status;
        }
        const ZprEventList batch(buffer, size);
        const uint32_t count = batch.eventCount(asked);
        const uint32_t first = count > 0 ? ZprEventRecord(batch.event(0)).seqNum() : 0;
        for (uint32_t i = 0; i < count; ++i)
            printMessage(MSG_TEXT, eventLine(batch.event(i), first + i).c_str());
        delete[] buffer;
        if (count < EVENT_BATCH)
            break;
        remaining -= static_cast<int32_t>(count);
        start += count;
    }
    return 0;
}
