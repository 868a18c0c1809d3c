#include "CpMgmt/CmdPro/Reports/AdpEventLogCp.h"

#include <cstring>

#include "CpMgmt/CmdPro/Events/EventRecordText.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Output/PavaneLog.h"
#include "PavUtil/FileIO.h"
#include "PavUtil/Memory.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Event/ZprEventCount.h"
#include "RaidManager/Zpr/Records/Event/ZprEventFilter.h"
#include "RaidManager/Zpr/Records/Event/ZprEventList.h"
#include "RaidManager/Zpr/Records/Event/ZprEventLogInfo.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"

namespace {

enum Action : unsigned char {
    CLEAR = 0,
    SINCE_REBOOT = 1,
    SINCE_SHUTDOWN = 2,
    LOG_INFO = 3,
    SINCE_CLEAR = 4,
    INCLUDE_DELETED = 5,
    LATEST = 6,
    CC_INCONSISTENCIES = 7,
};

// The newest-first walk gives up after this many sequence numbers in a row that brought no
// event it had not seen: a controller whose newest number lies far above its events would
// otherwise be asked once per number, up to four thousand million times.
const uint32_t MAX_NUMBERS_WITHOUT_EVENT = 1024;

// The class options: -info 0x08 (class 0), -warning 0x10 (1), -critical 0x20 (2), -fatal 0x40
// (3). Only those four classes can pass a non-zero filter.
bool passes(int8_t eventClass, uint8_t classFilter)
{
    if (classFilter == 0)
        return true;
    return eventClass >= 0 && eventClass <= 3 && (classFilter & (0x08u << eventClass)) != 0;
}

void logEventCommandFailed(uint32_t opcode, uint32_t sequence, int status, uint32_t count)
{
    debugLog(__FILE__, __LINE__, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, LOG_ID_EVENT_COMMAND_FAILED, opcode, sequence,
             status, count);
}

// The sequence number a walk starts from, raised to the oldest one the controller holds.
uint32_t startOf(unsigned char action, const ZprEventLogInfo& info)
{
    uint32_t start = action == SINCE_REBOOT     ? info.reboot()
                     : action == SINCE_SHUTDOWN ? info.shutdown()
                     : action == SINCE_CLEAR    ? info.clear()
                                                : info.oldest();
    return start < info.oldest() ? info.oldest() : start;
}

}  // namespace

int AdpEventLogCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<AdpEventLogPo> start(cpController, request, "AdpEventLogPo *", CP_NEEDS_MODEL_ADAPTER);
    if (start.request() == nullptr)
        return -1;
    AdpEventLogPo* own = start.request();
    // Without a RAID manager the adapter step is still taken: it reports the adapter unreachable.
    if (!start && start.manager() == nullptr)
        takeAdapter(nullptr, start.number());
    int result = start ? runAction(start.manager(), start.adapter(), own) : start.result();
    if (result != 0) {
        printMessage(MSG_TEXT, "AdpEventLog failed\n");
        return result;
    }
    printMessage(MSG_TEXT, "Success in AdpEventLog\n");
    return own->getClassFilter() != 0 ? noMatchingEvent : 0;
}

int AdpEventLogCp::runAction(RaidManager* manager, Adapter* adapter, AdpEventLogPo* request)
{
    const uint8_t adapterNumber = request->getAdapterNumber();
    const unsigned char action = request->getAction();
    if (action == CLEAR)
        return adapter->clearEventLog();
    if (action > CC_INCONSISTENCIES)
        return -1;
    if (action == LOG_INFO)
        return showInformation(adapter, adapterNumber);
    const uint8_t* info = nullptr;
    int status = adapter->getEventLogInfo(&info);
    if (status != 0)
        return status;
    if (action == CC_INCONSISTENCIES)
        return reportCcInconsistencies(manager, adapter, request, info);
    return action == LATEST ? walkNewestFirst(adapter, request, info) : walkFrom(adapter, request, info);
}

int AdpEventLogCp::showInformation(Adapter* adapter, uint8_t adapterNumber)
{
    const uint8_t* record = nullptr;
    int status = adapter->getEventLogInfo(&record);
    if (status != 0)
        return status;
    const ZprEventLogInfo info(record, ZprEventLogInfo::SIZE);
    printMessage(MSG_ADAPTER_HEADER, static_cast<int>(adapterNumber));
    printMessage(MSG_EVENT_LOG_INFO, static_cast<unsigned long>(info.newest()), static_cast<unsigned long>(info.oldest()),
                 static_cast<unsigned long>(info.clear()), static_cast<unsigned long>(info.shutdown()),
                 static_cast<unsigned long>(info.reboot()));
    printMessage(MSG_NEWLINE);
    return 0;
}

FileHandle* AdpEventLogCp::openOutput(AdpEventLogPo* request)
{
    FileIO* io = FileIO::instance();
    const string name = request->getFileName();
    FileHandle* file = io != nullptr ? io->open(name.c_str(), request->getFollowingAdapter() == 0 ? "w" : "a+") : nullptr;
    if (file == nullptr)
        debugLog(__FILE__, __LINE__, LOG_MODULE_VOLANT, LOGLEVEL_FATAL, LOG_ID_FILE_OPEN_FAILED, name.c_str());
    return file;
}

int AdpEventLogCp::closeOutput(FileHandle* file, int status)
{
    if (file == nullptr || FileIO::instance()->close(file) == 0 || status != 0)
        return status;
    printMessage(MSG_FILE_WRITE_FAILED);
    return -1;
}

bool AdpEventLogCp::writeBatch(const uint8_t* list, uint32_t events, uint8_t classFilter, FileHandle* file, int& status)
{
    const ZprEventList batch(list, ZprEventList::sizeFor(ZprEventList::MAX_BATCH));
    for (uint32_t i = 0; i < events; ++i) {
        const uint8_t* event = batch.event(i);
        if (!passes(ZprEventRecord(event).eventClass(), classFilter))
            continue;
        noMatchingEvent = 0;
        if (file == nullptr)
            return false;
        if (decodeEvent(event, file) != 0) {
            printMessage(MSG_FILE_WRITE_FAILED);
            status = -1;
            return false;
        }
    }
    return true;
}

int AdpEventLogCp::walkFrom(Adapter* adapter, AdpEventLogPo* request, const uint8_t* infoRecord)
{
    const ZprEventLogInfo info(infoRecord, ZprEventLogInfo::SIZE);
    uint32_t start = startOf(request->getAction(), info);
    const uint32_t bufferSize = ZprEventList::sizeFor(ZprEventList::MAX_BATCH);
    uint8_t* buffer = new (noThrowNew) uint8_t[bufferSize]();
    if (buffer == nullptr) {
        printMessage(MSG_NO_MEMORY, "getting events");
        return -1;
    }
    uint8_t countWord[ZprEventCount::SIZE] = {};
    int status = adapter->getEventCount(countWord, start, EVENT_FILTER_FROM_INFO);
    uint32_t count = status == 0 ? ZprEventCount(countWord, sizeof countWord).count() : 0;
    if (status != 0 && status != STATUS_NOT_FOUND) {
        logEventCommandFailed(DCMD_ADP_EVENT_GET_COUNT, start, status, 0);
        delete[] buffer;
        return -1;
    }
    status = 0;
    FileHandle* file = nullptr;
    if (request->getFileName().length() != 0) {
        file = openOutput(request);
        if (file == nullptr) {
            delete[] buffer;
            return -1;
        }
        if (printMessageToFile(file, MSG_NEWLINE) != 0 ||
            printMessageToFile(file, MSG_EVENT_COUNT_HEADING, static_cast<int>(request->getAdapterNumber()),
                               static_cast<unsigned long>(count)) != 0) {
            printMessage(MSG_FILE_WRITE_FAILED);
            delete[] buffer;
            return closeOutput(file, -1);
        }
    }
    // A full batch asks again from the number after its last event; a shorter one, or a next
    // number that does not move forward (the numbers wrapped), ends the walk.
    uint32_t previous = ZprEventList::MAX_BATCH;
    while (previous == ZprEventList::MAX_BATCH && info.newest() >= start) {
        int fetched = adapter->getEvents(start, buffer, bufferSize, EVENT_FILTER_FROM_INFO);
        if (fetched != 0) {
            logEventCommandFailed(DCMD_ADP_EVENT_GET, start, fetched, 0);
            status = fetched;
            break;
        }
        const ZprEventList batch(buffer, bufferSize);
        const uint32_t events = batch.eventCount(ZprEventList::MAX_BATCH);
        if (!writeBatch(buffer, events, request->getClassFilter(), file, status) || events == 0)
            break;
        previous = events;
        const uint32_t next = ZprEventRecord(batch.event(events - 1)).seqNum() + 1;
        if (next <= start)
            break;
        start = next;
    }
    delete[] buffer;
    return closeOutput(file, status);
}

// One request per sequence number, from the newest down to the oldest; the same event handed
// back for several numbers is written once. The walk takes at most as many requests as the log
// spans, stops once n events were written, and gives up (with a message, the events written so
// far kept) after a long run of numbers that brought no new event.
int AdpEventLogCp::walkNewestFirst(Adapter* adapter, AdpEventLogPo* request, const uint8_t* infoRecord)
{
    const ZprEventLogInfo info(infoRecord, ZprEventLogInfo::SIZE);
    FileHandle* file = nullptr;
    if (request->getFileName().length() != 0) {
        file = openOutput(request);
        if (file == nullptr)
            return -1;
    }
    const uint32_t bufferSize = ZprEventList::sizeFor(1);
    uint8_t* buffer = new (noThrowNew) uint8_t[bufferSize]();
    if (buffer == nullptr) {
        printMessage(MSG_NO_MEMORY, "getting events");
        return closeOutput(file, -1);
    }
    int status = walkNumbers(adapter, request, info, buffer, file);
    delete[] buffer;
    return closeOutput(file, status);
}

int AdpEventLogCp::walkNumbers(Adapter* adapter, AdpEventLogPo* request, const ZprEventLogInfo& info,
                               uint8_t* buffer, FileHandle* file)
{
    const uint32_t bufferSize = ZprEventList::sizeFor(1);
    const uint32_t wanted = request->getLatestCount();
    uint32_t printed = 0;
    uint32_t lastPrinted = 0xFFFFFFFF;
    uint32_t lastSeen = 0xFFFFFFFF;
    uint32_t withoutEvent = 0;
    uint32_t seq = info.newest();
    const uint64_t span = static_cast<uint64_t>(static_cast<uint32_t>(info.newest() - info.oldest())) + 1;
    for (uint64_t asked = 0; printed < wanted && asked < span; ++asked) {
        int fetched = adapter->getEvents(seq, buffer, bufferSize, EVENT_FILTER_FROM_DEBUG);
        if (fetched != 0) {
            logEventCommandFailed(DCMD_ADP_EVENT_GET, seq, fetched, 1);
            return fetched;
        }
        const ZprEventList reply(buffer, bufferSize);
        const bool hasEvent = reply.eventCount(1) == 1;
        const uint32_t number = hasEvent ? ZprEventRecord(reply.event(0)).seqNum() : lastSeen;
        if (hasEvent && number != lastSeen) {
            withoutEvent = 0;
            lastSeen = number;
        } else if (++withoutEvent >= MAX_NUMBERS_WITHOUT_EVENT) {
            printMessage(MSG_EVENT_WALK_STOPPED, static_cast<int>(request->getAdapterNumber()), withoutEvent,
                         static_cast<unsigned long>(seq));
            return -1;
        }
        if (hasEvent && passes(ZprEventRecord(reply.event(0)).eventClass(), request->getClassFilter())) {
            noMatchingEvent = 0;
            if (file == nullptr)
                return 0;
            if (number != lastPrinted) {
                if (decodeEvent(reply.event(0), file) != 0) {
                    printMessage(MSG_FILE_WRITE_FAILED);
                    return -1;
                }
                lastPrinted = number;
                ++printed;
            }
        }
        if (seq == info.oldest())
            break;
        --seq;
    }
    return 0;
}

// The report of the consistency checks' inconsistencies, per virtual drive: the events of the
// virtual-drive locale since this boot, collected once, then for each drive reported those that
// name it. A listed drive that is not configured is reported as missing and fails the run once
// the other drives are reported.
int AdpEventLogCp::reportCcInconsistencies(RaidManager* manager, Adapter* adapter, AdpEventLogPo* request,
                                           const uint8_t* infoRecord)
{
    const uint8_t adapterNumber = request->getAdapterNumber();
    uint8_t vdCount = 0;
    if (const int counted = manager->getVdCount(&vdCount)) {
        printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber), "VD count");
        return counted;
    }
    if (vdCount == 0) {
        printMessage(MSG_NO_VD_CONFIGURED, static_cast<int>(adapterNumber));
        return -1;
    }
    const ZprEventLogInfo info(infoRecord, ZprEventLogInfo::SIZE);
    const uint32_t start = info.reboot();
    uint8_t countWord[ZprEventCount::SIZE] = {};
    int status = adapter->getEventCount(countWord, start, EVENT_FILTER_VD_EVENTS);
    if (status != 0 && status != STATUS_NOT_FOUND) {
        logEventCommandFailed(DCMD_ADP_EVENT_GET_COUNT, start, status, 0);
        return status;
    }
    uint32_t count = status == 0 ? ZprEventCount(countWord, sizeof countWord).count() : 0;
    // The log holds no more events from the start on than the numbers up to the newest.
    const uint64_t span = static_cast<uint64_t>(static_cast<uint32_t>(info.newest() - start)) + 1;
    if (count > span)
        count = static_cast<uint32_t>(span);
    if (count == 0) {
        printMessage(MSG_NO_EVENT_LOGGED, static_cast<int>(adapterNumber), "VD");
        return 0;
    }
    uint8_t* records = nullptr;
    uint32_t collected = 0;
    status = collectEvents(adapter, start, count, &records, &collected);
    if (status != 0)
        return status;
    ArrayList<VirtualDisk*>* vds = nullptr;
    const int listed = sortedVds(manager, &vds);
    if (listed != 0) {
        delete[] records;
        return listed;
    }
    const string name = request->getFileName();
    FileHandle* file = FileIO::instance() != nullptr
                           ? FileIO::instance()->open(name.c_str(), request->getFollowingAdapter() == 0 ? "w" : "a+")
                           : nullptr;
    if (file == nullptr) {
        printMessage(MSG_FILE_OPEN_FAILED, name.c_str());
        delete[] records;
        return -1;
    }
    status = writeCcReport(manager, request, vds, vdCount, records, collected, file);
    delete[] records;
    return closeOutput(file, status);
}

// Fetches up to `count` events of the virtual-drive locale from `start` on, at most a full
// batch per request, into one array of records the caller frees.
int AdpEventLogCp::collectEvents(Adapter* adapter, uint32_t start, uint32_t count, uint8_t** records,
                                 uint32_t* collected)
{
    const uint32_t bufferSize = ZprEventList::sizeFor(ZprEventList::MAX_BATCH);
    uint8_t* buffer = new (noThrowNew) uint8_t[bufferSize]();
    const uint64_t listSize = static_cast<uint64_t>(count) * ZprEventRecord::SIZE;
    uint8_t* list = listSize <= SIZE_MAX ? new (noThrowNew) uint8_t[static_cast<size_t>(listSize)] : nullptr;
    if (buffer == nullptr || list == nullptr) {
        printMessage(MSG_NO_MEMORY, "getting events");
        delete[] buffer;
        delete[] list;
        return -1;
    }
    int status = 0;
    uint32_t held = 0;
    for (uint32_t remaining = count; remaining > 0;) {
        const uint32_t asked = remaining < ZprEventList::MAX_BATCH ? remaining : ZprEventList::MAX_BATCH;
        status = adapter->getEvents(start, buffer, ZprEventList::sizeFor(asked), EVENT_FILTER_VD_EVENTS);
        if (status != 0) {
            logEventCommandFailed(DCMD_ADP_EVENT_GET, start, status, asked);
            break;
        }
        const ZprEventList reply(buffer, ZprEventList::sizeFor(asked));
        const uint32_t events = reply.eventCount(asked);
        if (events == 0)
            break;
        memcpy(list + static_cast<size_t>(held) * ZprEventRecord::SIZE, reply.event(0), events * ZprEventRecord::SIZE);
        held += events;
        remaining -= asked;
        start = ZprEventRecord(reply.event(events - 1)).seqNum() + 1;
    }
    delete[] buffer;
    if (status != 0) {
        delete[] list;
        return status;
    }
    *records = list;
    *collected = held;
    return 0;
}

// The report's text: the adapter heading, then per drive its inconsistency events (all drives
// in target-id order, or the listed ones in list order); a note when none was written.
int AdpEventLogCp::writeCcReport(RaidManager* manager, AdpEventLogPo* request, ArrayList<VirtualDisk*>* vds,
                                 uint8_t vdCount, const uint8_t* records, uint32_t events, FileHandle* file)
{
    const int adapterNumber = request->getAdapterNumber();
    if (printMessageToFile(file, MSG_ADAPTER_HEADER, adapterNumber) != 0) {
        printMessage(MSG_FILE_WRITE_FAILED);
        return -1;
    }
    const ArrayList<unsigned char>* listed = request->getLdList();
    const bool all = listed != nullptr && listed->count() > 0 && listed->get(0) == ALL_LDS;
    const unsigned drives = all ? (vdCount < vds->count() ? vdCount : vds->count()) : listed != nullptr ? listed->count() : 0;
    int result = 0;
    bool written = false;
    for (unsigned i = 0; i < drives; ++i) {
        const unsigned char index = static_cast<unsigned char>(i);
        const uint8_t targetId = all ? targetIdOf(vds->get(index)) : listed->get(index);
        // Only a configuration that was read shows a listed drive absent.
        uint8_t inConfig = 1;
        const int read = all ? 0 : manager->findTargetIdInConfig(targetId, 0, &inConfig);
        if (read != 0)
            return vdListUnreadable(read);
        if (inConfig == 0) {
            printMessage(MSG_VD_NOT_FOUND, adapterNumber, static_cast<int>(targetId));
            if (printMessageToFile(file, MSG_VD_NOT_FOUND, adapterNumber, static_cast<int>(targetId)) != 0) {
                printMessage(MSG_FILE_WRITE_FAILED);
                return -1;
            }
            result = -1;
            continue;
        }
        for (uint32_t e = 0; e < events; ++e) {
            const uint8_t* event = records + static_cast<size_t>(e) * ZprEventRecord::SIZE;
            if (!ZprEventRecord(event).isCcInconsistencyOn(targetId))
                continue;
            if (decodeEvent(event, file) != 0) {
                printMessage(MSG_FILE_WRITE_FAILED);
                return -1;
            }
            written = true;
        }
    }
    if (!written) {
        if (printMessageToFile(file, MSG_NO_CC_ERRORS) != 0) {
            printMessage(MSG_FILE_WRITE_FAILED);
            return -1;
        }
        printMessage(MSG_NO_CC_ERRORS);
    }
    return result;
}

namespace {

const CpRegistration<AdpEventLogCp> registration;

}  // namespace
