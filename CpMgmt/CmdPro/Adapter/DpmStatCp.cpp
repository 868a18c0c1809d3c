#include "CpMgmt/CmdPro/Adapter/DpmStatCp.h"

#include <cstdio>
#include <cstring>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/EnclosureIdText.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/EnclosureIds.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Controller/ZprDpmConfiguration.h"
#include "RaidManager/Zpr/Records/Controller/ZprDpmStatistics.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"
#include "RaidManager/Zpr/Records/ZprTimeStamp.h"

namespace {

typedef ZprDpmStatistics S;

// setDpmConfiguration's action that clears the statistics named by its mask.
const uint8_t DPM_CLEAR = 2;

const uint16_t NO_ENCLOSURE = 0xFFFF;
const size_t LINE_SIZE = 256;

// What each statistics word selects: the mask of its clear and the texts of the clear's outcome.
struct StatKind {
    unsigned short token;
    uint8_t clearMask;
    const char* cleared;
    const char* notCleared;
};

const StatKind KINDS[] = {
    {TOKEN_DPM_LCT, 2, "Successfully cleared DPM Logest command statistics\n", "failed to Clear LCT"},
    {TOKEN_DPM_HIST, 4, "Successfully cleared DPM Histogram\n", "failed to Clear HIST"},
    {TOKEN_RA, 8, "Successfully cleared DPM Running average statistics\n", "failed to Clear RA"},
    {TOKEN_DPM_EXT, 16, "Successfully cleared DPM Extended drive statistics\n", "failed to Clear EXT"},
};
const StatKind ALL_KINDS = {0, 30, "Successfully cleared DPM", "failed to Clear all logs"};

const StatKind& kindOf(unsigned short token)
{
    for (const StatKind& kind : KINDS)
        if (kind.token == token)
            return kind;
    return ALL_KINDS;
}

// The response-time bound of histogram bins 1 to 36: nine bins per decade from 1 ms.
int binBound(int bin)
{
    int step = 1;
    for (int decade = (bin - 1) / 9; decade > 0; --decade)
        step *= 10;
    return step * ((bin - 1) % 9 + 1);
}

// Milliseconds of `ticks` at `ticksPerSecond`; a monitor that reports no tick rate gives 0
// rather than an infinite time.
double milliseconds(uint32_t ticks, uint32_t ticksPerSecond)
{
    return ticksPerSecond == 0 ? 0.0 : ticks * 1000.0 / ticksPerSecond;
}

void printText(const char* text)
{
    printMessage(MSG_TEXT, text);
}

// A rule of `width` '-' followed by `tail`.
void printRule(size_t width, const char* tail)
{
    char line[LINE_SIZE];
    if (width >= sizeof line)
        width = sizeof line - 1;
    std::memset(line, '-', width);
    std::snprintf(line + width, sizeof line - width, "%s", tail);
    printText(line);
}

int compareEntries(const void* a, const void* b)
{
    return DpmStatCp::compareDrives(const_cast<PhysicalDevice**>(static_cast<PhysicalDevice* const*>(a)),
                                    const_cast<PhysicalDevice**>(static_cast<PhysicalDevice* const*>(b)));
}

// The drives named with -PhysDrv, in order, into `drives`: an address with no drive, by a drive
// list that was read, is reported and passed over. 0, or the status of the enclosure's
// resolution or, after message 0x33006, of the drive list that could not be read.
int namedDrives(CpController* cpController, RaidManager* manager, ArrayList<EnclSlotId*>* named, uint8_t adapterNumber,
                ArrayList<PhysicalDevice*>* drives)
{
    for (unsigned char i = 0; i < named->count(); ++i) {
        EnclSlotId* address = named->get(i);
        if (address == nullptr)
            continue;
        unsigned short enclosure = address->getEnclosureId();
        int status = CommandProcessor::resolveEnclosureId(cpController, &enclosure);
        if (status != 0)
            return status;
        EnclSlotId lookup(enclosure, address->getSlotNumber());
        PhysicalDevice* drive = nullptr;
        status = manager->findPdByEnclSlot(&lookup, &drive);
        if (status != 0)
            return driveUnreadable(adapterNumber, enclosure, address->getSlotNumber(), status);
        if (drive == nullptr) {
            printMessage(MSG_PD_NOT_FOUND, static_cast<int>(adapterNumber), formatEnclosureId(enclosure),
                         static_cast<int>(address->getSlotNumber()));
            continue;
        }
        if (drives->add(drive) != 0)
            return -1;
    }
    return 0;
}

} // namespace

int DpmStatCp::process(CpController* cpController, ParsedObject* request)
{
    CpPlainStart start(cpController, request, CP_NEEDS_REFRESHED_ADAPTER);
    if (!start)
        return -1;
    Adapter* adapter = start.adapter();
    // The request's class is checked after the model is read, with the command's own message.
    DpmStatParsedObject* own = dynamic_cast<DpmStatParsedObject*>(request);
    if (own == nullptr)
        return start.failed(" Dpm stat", -1);
    if (own->getAction() == TOKEN_DISPLAY)
        return display(cpController, start.manager(), adapter, own, start.number());
    if (own->getAction() == TOKEN_CLEAR)
        return clear(adapter, own->getStatType());
    return 0;
}

int DpmStatCp::clear(Adapter* adapter, unsigned short statType)
{
    const StatKind& kind = kindOf(statType);
    int status = adapter->setDpmConfiguration(DPM_CLEAR, kind.clearMask);
    printText(status == 0 ? kind.cleared : kind.notCleared);
    return status;
}

int DpmStatCp::display(CpController* cpController, RaidManager* manager, Adapter* adapter,
                       DpmStatParsedObject* request, uint8_t adapterNumber)
{
    uint8_t record[ZprDpmConfiguration::SIZE] = {};
    if (adapter->getDpmConfiguration(nullptr, record) != 0) {
        printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber),
                     "get DPM performance monitoring configuration");
        return -1;
    }
    const ZprDpmConfiguration config(record, sizeof record);
    char line[LINE_SIZE];
    std::snprintf(line, sizeof line,
                  "Drive Performance Monitor Configuration for %d\nPerformance Monitor: %s\n"
                  "Max commands for averaging: %d\nMax latency commands to save: %d\n",
                  static_cast<int>(adapterNumber), config.configuration() != 0 ? "ON" : "OFF",
                  static_cast<int>(config.maxAveragingCommands()), static_cast<int>(config.maxLatencyCommands()));
    printText(line);
    printMessage(MSG_NEWLINE);
    const unsigned short statType = request->getStatType();
    if (statType == TOKEN_RA) {
        printText("Requested data: Running Average Drive Statistics\n");
        printText("\n");
        printText("Enclosure   Slot                           Queue      Xfer       Resp\n");
        printText("Device ID | Number | Device Id |  IOPs  |  Depth  |   Rate    |  Time\n");
        printText("          |        |           |        |         |   (MB/s)  |  (ms)\n");
        printText("\n");
    }

    ArrayList<PhysicalDevice*> drives(4);
    ArrayList<EnclSlotId*>* named = request->getDriveList();
    if (named != nullptr) {
        if (int status = namedDrives(cpController, manager, named, adapterNumber, &drives))
            return status;
    } else {
        ArrayList<PhysicalDevice*>* all = nullptr;
        int status = manager->getAllPds(&all);
        if (status != 0) {
            printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber), "get PD list");
            return status;
        }
        // The model's list keeps its order; the display sorts a list of its own.
        for (unsigned char i = 0; all != nullptr && i < all->count(); ++i)
            if (all->get(i) != nullptr && drives.add(all->get(i)) != 0)
                return -1;
        drives.sort(compareEntries);
    }
    for (unsigned char i = 0; i < drives.count(); ++i) {
        // A drive the controller no longer has is passed over; one whose information cannot be
        // read ends the display with the read's line, not without its block.
        uint16_t enclosure = 0;
        const int read = drives.get(i)->getEnclosureDeviceId(&enclosure);
        if (read != 0 && read != STATUS_NO_DEVICE)
            return driveUnreadable(adapterNumber, drives.get(i), read);
        if (showDrive(drives.get(i), statType, config.ticksPerSecond()) < 0) {
            printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber), "get DPM data");
            return -1;
        }
    }
    return 0;
}

int DpmStatCp::showDrive(PhysicalDevice* drive, unsigned short statType, uint32_t ticksPerSecond)
{
    uint16_t enclosure = 0;
    if (drive->getEnclosureDeviceId(&enclosure) != 0)
        return 0;
    if (statType != TOKEN_RA) {
        uint8_t slot = 0;
        uint16_t deviceId = 0;
        if (drive->getSlotNumber(&slot) != 0)
            return 0;
        char line[LINE_SIZE];
        if (enclosure == NO_ENCLOSURE)
            std::snprintf(line, sizeof line, "Enclosure Device ID: %s\n", "N/A");
        else
            std::snprintf(line, sizeof line, "Enclosure Device ID: %d\n", static_cast<int>(enclosure));
        printText(line);
        std::snprintf(line, sizeof line, "Slot Number: %d\n", static_cast<int>(slot));
        printText(line);
        if (drive->getDeviceId(&deviceId) != 0)
            return 0;
        std::snprintf(line, sizeof line, "Device Id: %d\n", static_cast<int>(deviceId));
        printText(line);
    }
    int status = 0;
    switch (statType) {
    case TOKEN_RA: status = showRunningAverage(drive, ticksPerSecond); break;
    case TOKEN_DPM_LCT: status = showLongestCommands(drive, ticksPerSecond); break;
    case TOKEN_DPM_HIST: status = showHistogram(drive); break;
    case TOKEN_DPM_EXT: status = showExtended(drive); break;
    default: printText("Invalid Option"); return 1;
    }
    return status != 0 ? -1 : 1;
}

int DpmStatCp::compareDrives(PhysicalDevice** a, PhysicalDevice** b)
{
    uint16_t enclosureA = 0;
    uint16_t enclosureB = 0;
    uint8_t slotA = 0;
    uint8_t slotB = 0;
    if (a == nullptr || b == nullptr || *a == nullptr || *b == nullptr || (*a)->getEnclosureDeviceId(&enclosureA) != 0 ||
        (*b)->getEnclosureDeviceId(&enclosureB) != 0 || (*a)->getSlotNumber(&slotA) != 0 ||
        (*b)->getSlotNumber(&slotB) != 0)
        return 0;
    if (enclosureA != enclosureB)
        return enclosureA < enclosureB ? -1 : 1;
    return static_cast<int>(slotA) - static_cast<int>(slotB);
}

int DpmStatCp::showRunningAverage(PhysicalDevice* drive, uint32_t ticksPerSecond)
{
    uint16_t enclosure = 0;
    uint8_t slot = 0;
    uint16_t deviceId = 0;
    ignoreStatus(drive->getEnclosureDeviceId(&enclosure), "an unread address keeps 0 and is printed as such");
    ignoreStatus(drive->getSlotNumber(&slot), "an unread address keeps 0 and is printed as such");
    char line[LINE_SIZE];
    int used = enclosure == NO_ENCLOSURE ? std::snprintf(line, sizeof line, "%12s", "N/A")
                                         : std::snprintf(line, sizeof line, "%-12d", static_cast<int>(enclosure));
    used += std::snprintf(line + used, sizeof line - used, "%-9d", static_cast<int>(slot));
    if (drive->getDeviceId(&deviceId) != 0) {
        printText(line);
        return 0;
    }
    used += std::snprintf(line + used, sizeof line - used, "%-11d", static_cast<int>(deviceId));
    uint8_t stats[S::STATISTICS_SIZE] = {};
    uint8_t extended[S::EXTENDED_SHORT_SIZE] = {};
    if (drive->getDpmStatistics(S::TYPE_DRIVE, stats) != 0 || drive->getDpmStatisticsEx(S::TYPE_DRIVE, extended) != 0) {
        printText(line);
        return -1;
    }
    const LeView v(static_cast<const uint8_t*>(stats), sizeof stats);
    std::snprintf(line + used, sizeof line - used, "%-9d%-10d%-12.4f %-10.4f \n", static_cast<int>(v.u32(S::IOPS)),
                  static_cast<int>(v.u32(S::QUEUE_DEPTH)), v.u32(S::TRANSFER_RATE) / 1024.0,
                  milliseconds(v.u32(S::RESPONSE_TIME), ticksPerSecond));
    printText(line);
    return 0;
}

void DpmStatCp::formatTimestamp(uint32_t stamp, char* out)
{
    if (out == nullptr)
        return;
    if (isSinceBootStamp(stamp)) {
        // Seconds since the controller started: hours, minutes and seconds of that time.
        const uint32_t seconds = secondsSinceBoot(stamp);
        std::snprintf(out, TIMESTAMP_SIZE, "%d:%d:%d ", static_cast<int>(seconds / 3600),
                      static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
        return;
    }
    uint32_t days = stamp / 86400;
    const uint32_t secondOfDay = stamp % 86400;
    unsigned year = STAMP_EPOCH_YEAR;
    for (;;) {
        const bool leap = (year % 400 == 0) || (year % 4 == 0 && year % 100 != 0);
        const uint32_t yearDays = leap ? 366 : 365;
        if (days < yearDays)
            break;
        days -= yearDays;
        ++year;
    }
    static const uint8_t MONTH_DAYS[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 400 == 0) || (year % 4 == 0 && year % 100 != 0);
    unsigned month = 0;
    while (month < 11) {
        const uint32_t monthDays = MONTH_DAYS[month] + (month == 1 && leap ? 1 : 0);
        if (days < monthDays)
            break;
        days -= monthDays;
        ++month;
    }
    std::snprintf(out, TIMESTAMP_SIZE, "%02d-%02d-%02d,%02d:%02d:%02d ", static_cast<int>(year % 100),
                  static_cast<int>(month + 1), static_cast<int>(days + 1), static_cast<int>(secondOfDay / 3600),
                  static_cast<int>(secondOfDay / 60 % 60), static_cast<int>(secondOfDay % 60));
}

int DpmStatCp::showLongestCommands(PhysicalDevice* drive, uint32_t ticksPerSecond)
{
    uint8_t stats[S::STATISTICS_SIZE] = {};
    uint8_t longest[S::EXTENDED_SIZE] = {};
    if (drive->getDpmStatistics(S::TYPE_EXTENDED_LONG, stats) != 0 ||
        drive->getDpmStatisticsEx(S::TYPE_EXTENDED_LONG, longest) != 0)
        return -1;
    printText("                    Resp \n");
    printText("Date    |   Time  | Time(ms) | CDB/ATA Task File(hex)\n");
    printRule(77, "\n");
    printText("\n");
    const LeView v(static_cast<const uint8_t*>(longest), sizeof longest);
    for (size_t i = 0; i < S::LONGEST_ENTRIES; ++i) {
        const size_t at = i * S::LONGEST_ENTRY_SIZE;
        char line[LINE_SIZE];
        int used = 0;
        const uint32_t stamp = v.u32(at + S::LONGEST_TIMESTAMP);
        if (stamp != 0) {
            char text[TIMESTAMP_SIZE] = {};
            formatTimestamp(stamp, text);
            const char* time = std::strlen(text) > 9 ? text + 9 : "";
            text[8] = '\0';
            used = std::snprintf(line, sizeof line, "%-9s %-9s", text, time);
        } else {
            used = std::snprintf(line, sizeof line, "%-9d %-9d", 0, 0);
        }
        const uint32_t elapsed = v.u32(at + S::LONGEST_END) - v.u32(at + S::LONGEST_START);
        used += std::snprintf(line + used, sizeof line - used, " %-10.4f", milliseconds(elapsed, ticksPerSecond));
        for (size_t b = 0; b < S::LONGEST_COMMAND_SIZE; ++b)
            used += std::snprintf(line + used, sizeof line - used, "%02x ", v.u8(at + S::LONGEST_COMMAND + b));
        std::snprintf(line + used, sizeof line - used, "\n");
        printText(line);
    }
    printText("\n");
    return 0;
}

int DpmStatCp::showHistogram(PhysicalDevice* drive)
{
    uint8_t counts[S::COUNTERS_SIZE] = {};
    uint8_t extended[S::EXTENDED_SHORT_SIZE] = {};
    if (drive->getDpmCounters(counts) != 0 || drive->getDpmStatisticsEx(S::TYPE_COUNTERS, extended) != 0)
        return -1;
    const char* const RULE = "------------------------------------------  \n";
    printText("\n");
    printText(RULE);
    printText("Bin       Respose Time (ms)   IO Count \n");
    printText(RULE);
    const LeView v(static_cast<const uint8_t*>(counts), sizeof counts);
    for (int bin = 1; bin <= static_cast<int>(S::HISTOGRAM_BINS); ++bin) {
        char line[LINE_SIZE];
        int used = std::snprintf(line, sizeof line, "%-4d     ", bin);
        if (bin <= 36)
            used += std::snprintf(line + used, sizeof line - used, " %-10d   ", binBound(bin));
        else
            used += std::snprintf(line + used, sizeof line - used, bin == 37 ? " %d  %-6s" : " %d+ %-6s", 10000, " ");
        std::snprintf(line + used, sizeof line - used, "       %d\n", static_cast<int>(v.u32(4 * (bin - 1))));
        printText(line);
    }
    printText(RULE);
    for (int i = 0; i < 3; ++i)
        printText("\n");
    return 0;
}

int DpmStatCp::showExtended(PhysicalDevice* drive)
{
    uint8_t stats[S::STATISTICS_SIZE] = {};
    uint8_t extended[S::EXTENDED_SHORT_SIZE] = {};
    if (drive->getDpmStatistics(S::TYPE_DRIVE, stats) != 0 || drive->getDpmStatisticsEx(S::TYPE_DRIVE, extended) != 0)
        return -1;
    printText("  Sectors                                      Commands\n");
    printRule(79, "\n");
    printText("Read        Write       Write-FUA      Read        Write       Write-FUA  Flush \n");
    printRule(79, " \n");
    const LeView v(static_cast<const uint8_t*>(stats), sizeof stats);
    char line[LINE_SIZE];
    int used = std::snprintf(line, sizeof line, "%-12llu%-12llu%-15llu",
                             static_cast<unsigned long long>(v.u64(S::SECTORS_READ)),
                             static_cast<unsigned long long>(v.u64(S::SECTORS_WRITTEN)),
                             static_cast<unsigned long long>(v.u64(S::SECTORS_WRITTEN_FUA)));
    for (size_t offset : {S::READ_COMMANDS, S::WRITE_COMMANDS, S::FUA_WRITE_COMMANDS}) {
        const uint32_t count = v.u32(offset);
        if (count == S::NOT_AVAILABLE)
            used += std::snprintf(line + used, sizeof line - used, "%-12s", "########");
        else
            used += std::snprintf(line + used, sizeof line - used, "%-12d", static_cast<int>(count));
    }
    std::snprintf(line + used, sizeof line - used, "%-10d\n", static_cast<int>(v.u32(S::FLUSH_COMMANDS)));
    printText(line);
    printText("\n");
    return 0;
}

namespace {

const CpRegistration<DpmStatCp> registration;

} // namespace
