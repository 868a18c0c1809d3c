#include "CpMgmt/CmdPro/Adapter/PerfMonCp.h"

#include <cstring>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Output/PavaneLog.h"
#include "PavUtil/FileIO.h"
#include "PavUtil/LeView.h"
#include "PavUtil/Memory.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/Controller/ZprPerfMonResults.h"

namespace {

typedef ZprPerfMonResults R;

enum Action : unsigned char { ACTION_START = 0, ACTION_STOP = 1, ACTION_RESULTS = 2 };

// The collection period of a start without an interval.
const uint16_t DEFAULT_PERIOD = 5;

const char* const SIZE_RANGE = ",,,Range,<=512Bytes,<=4KB,<=16KB,<=64KB,<=256KB,>256KB\n";
const char* const ACCESS_RANGE =
    ",,,Range,No accesses,<=100,<=500,<=1K,<=5K,<=10K,<=50K,<=100K, <=500K, <=1M, >1Million\n,,,";

// A label, then `count` 32-bit values from `offset`, each as ",%u", then a line end.
void writeRow(FileIO* io, FileHandle* file, const char* label, const LeView& v, size_t offset, size_t count)
{
    io->printf(file, "%s", label);
    for (size_t i = 0; i < count; ++i)
        io->printf(file, ",%u", v.u32(offset + 4 * i));
    io->printf(file, "\n");
}

void writeCacheMetrics(FileIO* io, FileHandle* file, const LeView& v)
{
    io->printf(file, "CACHE METRICS\n");
    io->printf(file, ",Collection Period (sec),%u\n", v.u32(R::CACHE_PERIOD));
    io->printf(file, ",Avg Dirty Cache (pct cache size),%u\n", v.u32(R::AVG_DIRTY_CACHE));
    io->printf(file, ",Avg Cache Used (pct cache size),%u\n", v.u32(R::AVG_CACHE_USED));
    io->printf(file, ",Read Ahead Cache (MB),%u\n", v.u32(R::READ_AHEAD_CACHE));
    io->printf(file, ",Unused Read Ahead Cache (MB),%u\n", v.u32(R::UNUSED_READ_AHEAD_CACHE));
    io->printf(file, ",Read Ahead SSC (MB),%u\n", v.u32(R::READ_AHEAD_SSC));
    io->printf(file, ",Unused Read Ahead SSC (MB),%u\n", v.u32(R::UNUSED_READ_AHEAD_SSC));
    io->printf(file, ",Flush Block Time (ms),%u\n", v.u32(R::FLUSH_BLOCK_TIME));

    const size_t targets = v.room(R::TARGET_ENTRIES, R::TARGET_ENTRY_SIZE, v.u16(R::TARGET_ENTRY_COUNT));
    for (size_t i = 0; i < targets; ++i) {
        const LeView e = v.sub(R::TARGET_ENTRIES + i * R::TARGET_ENTRY_SIZE, R::TARGET_ENTRY_SIZE);
        io->printf(file, ",Target LD,%u\n", static_cast<unsigned>(e.u8(R::TARGET_ID)));
        io->printf(file, ",,,Histogram,Size\n");
        io->printf(file, "%s", SIZE_RANGE);
        writeRow(io, file, ",,,Cache Read Count", e, R::TARGET_CACHE_READS, R::SIZE_CLASSES);
        writeRow(io, file, ",,,Cache Write Count", e, R::TARGET_CACHE_WRITES, R::SIZE_CLASSES);
        writeRow(io, file, ",,,SSC Read Count", e, R::TARGET_SSC_READS, R::SIZE_CLASSES);
        writeRow(io, file, ",,,SSC Write Count", e, R::TARGET_SSC_WRITES, R::SIZE_CLASSES);
    }
    // The SSD-cache entries follow the target entries the controller reported.
    const size_t sscStart = R::TARGET_ENTRIES + R::TARGET_ENTRY_SIZE * static_cast<size_t>(v.u16(R::TARGET_ENTRY_COUNT));
    const size_t sscs = v.room(sscStart, R::SSC_ENTRY_SIZE, v.u16(R::SSC_ENTRY_COUNT));
    for (size_t i = 0; i < sscs; ++i) {
        const LeView e = v.sub(sscStart + i * R::SSC_ENTRY_SIZE, R::SSC_ENTRY_SIZE);
        io->printf(file, ",Target ID,%u\n", static_cast<unsigned>(e.u8(R::SSC_TARGET_ID)));
        io->printf(file, ",Number of SSC windows currently allocated for LD,%d\n", static_cast<int>(e.u32(R::SSC_WINDOWS)));
        io->printf(file, ",Number of new SSCD windows allocated for LD in this collection period,%d\n",
                   static_cast<int>(e.u32(R::SSC_NEW_WINDOWS)));
        io->printf(file, ",Number of cache lines in use,%u\n", static_cast<unsigned>(e.u8(R::SSC_CACHE_LINES)));
        io->printf(file, ", Number of windows with numCacheLines in use,%d\n",
                   static_cast<int>(e.u32(R::SSC_WINDOWS_WITH_LINES)));
        io->printf(file, ", Number of reads,%d\n", static_cast<int>(e.u32(R::SSC_READS)));
        io->printf(file, ", Number of writes,%d\n", static_cast<int>(e.u32(R::SSC_WRITES)));
        io->printf(file, ",,,Histogram,Read Access\n%s", ACCESS_RANGE);
        for (size_t k = 0; k < R::ACCESS_CLASSES; ++k)
            io->printf(file, " ,%d", static_cast<int>(e.u32(R::SSC_READ_HISTOGRAM + 4 * k)));
        io->printf(file, "\n,,,Histogram,Write Access\n%s", ACCESS_RANGE);
        for (size_t k = 0; k < R::ACCESS_CLASSES; ++k)
            io->printf(file, " ,%d", static_cast<int>(e.u32(R::SSC_WRITE_HISTOGRAM + 4 * k)));
        io->printf(file, "\n");
    }
}

void writeVdRow(FileIO* io, FileHandle* file, const char* label, const LeView& e, size_t sizes, size_t randomness)
{
    io->printf(file, ",,,%s", label);
    for (size_t k = 0; k < R::SIZE_CLASSES; ++k)
        io->printf(file, ",%u", e.u32(sizes + 4 * k));
    for (size_t k = 0; k < R::RANDOMNESS_CLASSES; ++k)
        io->printf(file, ",%u", e.u32(randomness + 4 * k));
    io->printf(file, "\n");
}

// True when the section was written (it exists, has a period and entries).
bool writeVdMetrics(FileIO* io, FileHandle* file, const LeView& v, uint32_t length)
{
    const uint32_t offset = v.u32(R::VD_SECTION_OFFSET);
    if (offset >= length)
        return false;
    const LeView section = v.sub(offset, length - offset);
    const uint32_t period = section.u32(R::VD_PERIOD);
    const size_t entries = section.room(R::VD_ENTRIES, R::VD_ENTRY_SIZE, section.u32(R::VD_LENGTH) / R::VD_ENTRY_SIZE);
    if (period == 0 || section.u32(R::VD_LENGTH) / R::VD_ENTRY_SIZE == 0)
        return false;
    io->printf(file, "LD OVERALL METRICS\n");
    io->printf(file, ",Collection Period (sec),%u\n", period);
    for (size_t i = 0; i < entries; ++i) {
        const LeView e = section.sub(R::VD_ENTRIES + i * R::VD_ENTRY_SIZE, R::VD_ENTRY_SIZE);
        io->printf(file, ",Target LD,%u\n", static_cast<unsigned>(e.u8(R::VD_TARGET_ID)));
        io->printf(file, ",,,Idle Time (sec),%u\n", static_cast<unsigned>(e.u16(R::VD_IDLE_TIME)));
        io->printf(file, ",,,Read MB,%u\n", e.u32(R::VD_MB_READ));
        io->printf(file, ",,,Write MB,%u\n", e.u32(R::VD_MB_WRITTEN));
        io->printf(file, ",,,Histogram,Size,,,,,,Randomness\n");
        io->printf(file, ",,,Range,<=512Bytes,<=4KB,<=16KB,<=64KB,<=256KB,>256KB,Sequential,<=64K,<=512K,<=16M,"
                         "<=256MB,<=1GB,>1GB\n");
        writeVdRow(io, file, "Read Count", e, R::VD_READ_SIZES, R::VD_READ_RANDOMNESS);
        writeVdRow(io, file, "Write Count", e, R::VD_WRITE_SIZES, R::VD_WRITE_RANDOMNESS);
    }
    return true;
}

} // namespace

int PerfMonCp::process(CpController* cpController, ParsedObject* request)
{
    CpDeferredStart<PerfMonParsedObject> start(cpController, request, "PerfMonParsedObject *");
    if (!start)
        return start.result();
    PerfMonParsedObject* own = start.request();
    uint8_t info[ZprControllerInfo::SIZE] = {};
    int status = sendDcmd(cpController, DCMD_ADP_GET_INFO, info);
    if (status != 0)
        return start.failed("PerfMon", status);
    if (!LeView(static_cast<const uint8_t*>(info), sizeof info)
             .bit(ZprControllerInfo::LD_FEATURES, ZprControllerInfo::PERF_MONITOR_BIT)) {
        printMessage(MSG_TEXT, "Performance Monitor is not supported\n");
        return -1;
    }
    switch (own->getAction()) {
    case ACTION_START: {
        const uint16_t period = own->getInterval() != 0 ? own->getInterval() : DEFAULT_PERIOD;
        status = sendDcmdWithWord(cpController, DCMD_ADP_PERF_MON_START, period, nullptr, 0);
        break;
    }
    case ACTION_STOP:
        status = sendDcmd(cpController, DCMD_ADP_PERF_MON_START, nullptr);
        break;
    case ACTION_RESULTS:
        status = fetchResults(cpController, start);
        if (status == -1)
            return -1;
        break;
    default:
        printMessage(MSG_TEXT, "Invalid sub-option");
        status = -1;
        break;
    }
    if (status != 0)
        return start.failed("PerfMonCp", status);
    return status;
}

// -1 after its own messages; otherwise the status of the results command.
int PerfMonCp::fetchResults(CpController* cpController, CpDeferredStart<PerfMonParsedObject>& start)
{
    const string fileName = start.request()->getFileName();
    FileIO* io = FileIO::instance();
    FileHandle* file = io->open(fileName.c_str(), "a+");
    if (file == nullptr) {
        debugLog(__FILE__, __LINE__, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, LOG_ID_FILE_OPEN_FAILED, fileName.c_str());
        printMessage(MSG_FILE_OPEN_FAILED, fileName.c_str());
        return -1;
    }
    // The model is taken once the results file is open.
    if (!start.take(CP_NEEDS_MODEL)) {
        io->close(file);
        return -1;
    }
    RaidManager* manager = start.manager();
    uint8_t vds = 0;
    uint8_t sscVds = 0;
    if (manager->getVdCount(&vds) != 0)
        vds = 0;
    if (manager->getSsdCacheVdCount(&sscVds) != 0)
        sscVds = 0;
    // The SSD caches are among the virtual drives: never more of them than drives.
    if (sscVds > vds)
        sscVds = vds;
    const uint32_t length =
        R::BASE_SIZE + R::PER_VD_SIZE * static_cast<uint32_t>(vds - sscVds) + R::PER_SSD_CACHE_VD_SIZE * sscVds;
    uint8_t* results = new (noThrowNew) uint8_t[length];
    if (results == nullptr) {
        printMessage(MSG_TEXT, "PerfMon GetResults : Memory Alloc failed\n");
        io->close(file);
        return -1;
    }
    std::memset(results, 0, length);
    const int status = sendDcmdWithWord(cpController, DCMD_ADP_PERF_MON_GET_RESULTS, 0, results, length);
    const int written = writeResults(results, file, length);
    delete[] results;
    // A results file that did not take the whole text fails the command, whatever the read gave.
    if (io->close(file) != 0 || written != 0) {
        printMessage(MSG_FILE_WRITE_FAILED);
        return -1;
    }
    return status;
}

int PerfMonCp::writeResults(const uint8_t* results, FileHandle* file, uint32_t length)
{
    FileIO* io = FileIO::instance();
    const LeView v(results, results != nullptr ? length : 0);
    if (v.u32(R::CACHE_PERIOD) == 0)
        io->printf(file, "CACHE METRICS,None to Report\n");
    else
        writeCacheMetrics(io, file, v);
    if (!writeVdMetrics(io, file, v, length))
        io->printf(file, "LD OVERALL METRICS,None to Report\n");
    io->printf(file, "\n\n\n");
    return io->error(file) != 0 ? -1 : 0;
}

namespace {

const CpRegistration<PerfMonCp> registration;

} // namespace
