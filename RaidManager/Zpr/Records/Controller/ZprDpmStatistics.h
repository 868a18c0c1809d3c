// The drive performance-monitor statistics read with DCMD_DPM_GET_STATISTICS (mailbox bytes
// 0-3 the drive's device reference, 4-7 the statistics type): blocks whose length depends on
// the form of the read. Type 4 is the drive statistics, type 2 the longest commands, type 3 the
// response-time histogram.
#ifndef ZPRDPMSTATISTICS_H
#define ZPRDPMSTATISTICS_H

#include <cstddef>
#include <cstdint>

class ZprDpmStatistics {
public:
    static constexpr size_t STATISTICS_SIZE = 56;        // the plain read, any type
    static constexpr size_t EXTENDED_SIZE = 400;         // the extended read of type 2
    static constexpr size_t EXTENDED_SHORT_SIZE = 40;    // the extended read of any other type
    static constexpr size_t COUNTERS_SIZE = 152;         // the counters, type 3

    static constexpr uint32_t TYPE_EXTENDED_LONG = 2;    // the longest commands
    static constexpr uint32_t TYPE_COUNTERS = 3;         // the histogram
    static constexpr uint32_t TYPE_DRIVE = 4;

    // The drive statistics (type 4, the plain read).
    static constexpr size_t IOPS = 0;                    // 32-bit
    static constexpr size_t TRANSFER_RATE = 4;           // 32-bit, KB/s
    static constexpr size_t RESPONSE_TIME = 8;           // 32-bit, timer ticks
    static constexpr size_t QUEUE_DEPTH = 12;            // 32-bit
    static constexpr size_t SECTORS_READ = 16;           // 64-bit
    static constexpr size_t SECTORS_WRITTEN = 24;        // 64-bit
    static constexpr size_t SECTORS_WRITTEN_FUA = 32;    // 64-bit
    static constexpr size_t READ_COMMANDS = 40;          // 32-bit each; NOT_AVAILABLE: unknown
    static constexpr size_t WRITE_COMMANDS = 44;
    static constexpr size_t FUA_WRITE_COMMANDS = 48;
    static constexpr size_t FLUSH_COMMANDS = 52;
    static constexpr uint32_t NOT_AVAILABLE = 0xFFFFFFFF;

    // The longest commands (type 2, the extended read): entries of 40 bytes.
    static constexpr size_t LONGEST_ENTRIES = 10;
    static constexpr size_t LONGEST_ENTRY_SIZE = 40;
    static constexpr size_t LONGEST_START = 12;          // 32-bit, timer ticks
    static constexpr size_t LONGEST_END = 16;            // 32-bit, timer ticks
    static constexpr size_t LONGEST_TIMESTAMP = 20;      // 32-bit; 0: the entry is empty
    static constexpr size_t LONGEST_COMMAND = 24;        // command block or ATA task file
    static constexpr size_t LONGEST_COMMAND_SIZE = 16;

    // The histogram (type 3, the counters read): 32-bit command counts per response-time bin.
    static constexpr size_t HISTOGRAM_BINS = 38;
};

#endif
