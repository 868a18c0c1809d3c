// The controller event log ("-AdpEventLog"): clears the log, prints its sequence numbers, or
// writes events, decoded into text, to a file. Without a file a fetching action writes nothing
// and answers whether events of the chosen classes exist: with class options given the result
// is 1 when none was met ("no such event", not a failure).
#ifndef ADPEVENTLOGCP_H
#define ADPEVENTLOGCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class Adapter;
class AdpEventLogPo;
class FileHandle;
class RaidManager;
class VirtualDisk;
class ZprEventLogInfo;

class AdpEventLogCp : public CpFrame<AdpEventLogCp, TOKEN_ADPEVENTLOG> {
public:
    AdpEventLogCp() : noMatchingEvent(1) {}
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpEventLogCp() override {}

private:
    int runAction(RaidManager* manager, Adapter* adapter, AdpEventLogPo* request);
    int showInformation(Adapter* adapter, uint8_t adapterNumber);
    // Events from a sequence number on, in batches (since reboot, since shutdown, since the last
    // clear, including deleted ones).
    int walkFrom(Adapter* adapter, AdpEventLogPo* request, const uint8_t* info);
    // Writes one batch's passing events; false when the walk ends here (a probe met its event,
    // or a write failed, then `status` is -1).
    bool writeBatch(const uint8_t* list, uint32_t events, uint8_t classFilter, FileHandle* file, int& status);
    // The newest events first, one request per sequence number.
    int walkNewestFirst(Adapter* adapter, AdpEventLogPo* request, const uint8_t* info);
    // The requests of that walk, into a one-event buffer; events go to `file` when there is one.
    int walkNumbers(Adapter* adapter, AdpEventLogPo* request, const ZprEventLogInfo& info, uint8_t* buffer,
                    FileHandle* file);
    // The consistency checks' inconsistency events of the chosen virtual drives, written to the
    // file.
    int reportCcInconsistencies(RaidManager* manager, Adapter* adapter, AdpEventLogPo* request, const uint8_t* info);
    static int collectEvents(Adapter* adapter, uint32_t start, uint32_t count, uint8_t** records, uint32_t* collected);
    static int writeCcReport(RaidManager* manager, AdpEventLogPo* request, ArrayList<VirtualDisk*>* vds,
                             uint8_t vdCount, const uint8_t* records, uint32_t events, FileHandle* file);
    // Opens the output file: replaced by the first adapter served, appended to by the others.
    static FileHandle* openOutput(AdpEventLogPo* request);
    // Closes the output file (when one is open) and returns the action's result: `status`, or
    // -1 with the write-failure message when the action had succeeded but the text did not all
    // reach the file (a write, the flush or the close failed).
    [[nodiscard]] static int closeOutput(FileHandle* file, int status);

    int noMatchingEvent;   // 1 until an event passed the class filter
};

#endif
