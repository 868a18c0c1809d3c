// The controller performance monitor's results, read with DCMD_ADP_PERF_MON_GET_RESULTS into a
// buffer whose length the reader computes from its virtual drives: a header, target entries,
// SSD-cache entries, and a virtual-drive section at the offset the header gives.
#ifndef ZPRPERFMONRESULTS_H
#define ZPRPERFMONRESULTS_H

#include <cstddef>
#include <cstdint>

class ZprPerfMonResults {
public:
    // The buffer: this much, plus per virtual drive an ordinary or an SSD-cache share.
    static constexpr uint32_t BASE_SIZE = 48;
    static constexpr uint32_t PER_VD_SIZE = 224;
    static constexpr uint32_t PER_SSD_CACHE_VD_SIZE = 116;

    // The header (32-bit fields unless said).
    static constexpr size_t VD_SECTION_OFFSET = 0;
    static constexpr size_t CACHE_PERIOD = 4;          // seconds; 0: no cache metrics
    static constexpr size_t AVG_DIRTY_CACHE = 8;
    static constexpr size_t AVG_CACHE_USED = 12;
    static constexpr size_t READ_AHEAD_CACHE = 16;
    static constexpr size_t READ_AHEAD_SSC = 20;
    static constexpr size_t UNUSED_READ_AHEAD_CACHE = 24;
    static constexpr size_t UNUSED_READ_AHEAD_SSC = 28;
    static constexpr size_t FLUSH_BLOCK_TIME = 32;
    static constexpr size_t SSC_ENTRY_COUNT = 36;      // 16-bit
    static constexpr size_t TARGET_ENTRY_COUNT = 38;   // 16-bit
    static constexpr size_t TARGET_ENTRIES = 40;

    // A target entry: the target at 0, then four rows of six 32-bit counts by transfer size.
    static constexpr size_t TARGET_ENTRY_SIZE = 104;
    static constexpr size_t TARGET_ID = 0;
    static constexpr size_t TARGET_CACHE_READS = 8;
    static constexpr size_t TARGET_CACHE_WRITES = 32;
    static constexpr size_t TARGET_SSC_READS = 56;
    static constexpr size_t TARGET_SSC_WRITES = 80;
    static constexpr size_t SIZE_CLASSES = 6;

    // An SSD-cache entry (signed 32-bit counts unless said).
    static constexpr size_t SSC_ENTRY_SIZE = 116;
    static constexpr size_t SSC_TARGET_ID = 0;          // 8-bit
    static constexpr size_t SSC_WINDOWS = 4;
    static constexpr size_t SSC_NEW_WINDOWS = 8;
    static constexpr size_t SSC_CACHE_LINES = 12;       // 8-bit
    static constexpr size_t SSC_WINDOWS_WITH_LINES = 16;
    static constexpr size_t SSC_READS = 20;
    static constexpr size_t SSC_WRITES = 24;
    static constexpr size_t SSC_READ_HISTOGRAM = 28;
    static constexpr size_t SSC_WRITE_HISTOGRAM = 72;
    static constexpr size_t ACCESS_CLASSES = 11;

    // The virtual-drive section: its entries' byte length, the period, then the entries.
    static constexpr size_t VD_LENGTH = 0;
    static constexpr size_t VD_PERIOD = 4;
    static constexpr size_t VD_ENTRIES = 8;
    static constexpr size_t VD_ENTRY_SIZE = 120;
    static constexpr size_t VD_TARGET_ID = 0;           // 8-bit
    static constexpr size_t VD_IDLE_TIME = 2;           // 16-bit, seconds
    static constexpr size_t VD_MB_READ = 8;
    static constexpr size_t VD_MB_WRITTEN = 12;
    static constexpr size_t VD_READ_SIZES = 16;
    static constexpr size_t VD_WRITE_SIZES = 40;
    static constexpr size_t VD_READ_RANDOMNESS = 64;
    static constexpr size_t VD_WRITE_RANDOMNESS = 92;
    static constexpr size_t RANDOMNESS_CLASSES = 7;
};

#endif
