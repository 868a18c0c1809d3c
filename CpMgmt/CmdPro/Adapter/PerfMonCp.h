// The controller performance monitor ("-PerfMon -Start|-Stop|-GetResults"): starts the
// monitor for a collection period, stops it, or appends its results as comma-separated text to
// a file. Only controllers that announce the monitor take the command.
#ifndef PERFMONCP_H
#define PERFMONCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class FileHandle;
class PerfMonParsedObject;

class PerfMonCp : public CpFrame<PerfMonCp, TOKEN_PERFMON> {
public:
    PerfMonCp() {}
    // 0 success; -1 the processor's own failures; otherwise the firmware status.
    int process(CpController* cpController, ParsedObject* request) override;
    ~PerfMonCp() override {}

    // Appends the text of one results buffer of `length` bytes to the open file; reads nothing
    // outside the buffer, whatever counts and offsets it reports. 0, or -1 when a write into the
    // file failed (a failure the stream's buffer still holds shows when the file is closed).
    [[nodiscard]] static int writeResults(const uint8_t* results, FileHandle* file, uint32_t length);

private:
    static int fetchResults(CpController* cpController, CpDeferredStart<PerfMonParsedObject>& start);
};

#endif
